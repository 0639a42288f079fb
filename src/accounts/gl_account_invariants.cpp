#include "accounts/gl_account_invariants.h"

#include <string_view>
#include <unordered_set>

#include "accounts/gl_account_type.h"

namespace tallymoor {

std::vector<AccountFinding> checkAccountInvariants(const std::vector<GlAccountRecord>& accounts) {
  std::vector<AccountFinding> findings;
  std::unordered_set<std::string_view> numbers;
  numbers.reserve(accounts.size());
  bool profitSeen = false;
  bool transferSeen = false;
  for (std::size_t i = 0; i < accounts.size(); ++i) {
    const GlAccountRecord& account = accounts[i];
    auto report = [&](AccountFault fault) { findings.push_back({fault, i}); };
    if (account.number.empty())
      report(AccountFault::EmptyNumber);
    else if (account.number.front() == ' ')
      report(AccountFault::LeadingBlank);
    if (!numbers.insert(account.number).second) report(AccountFault::DuplicateNumber);
    if (account.category.empty()) report(AccountFault::EmptyCategory);
    if (i == kAccountLimit) report(AccountFault::TooManyAccounts);
    switch (accountType(account)) {
      case GlAccountType::Profit:
        if (profitSeen) report(AccountFault::SecondProfitAccount);
        profitSeen = true;
        break;
      case GlAccountType::Transfer:
        if (transferSeen) report(AccountFault::SecondTransferAccount);
        transferSeen = true;
        break;
      default:
        break;
    }
  }
  return findings;
}

}  // namespace tallymoor
