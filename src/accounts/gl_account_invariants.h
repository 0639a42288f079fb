#pragma once
// What every writer of the GL account file keeps true: each account has a number of its
// own that does not begin with a blank, each names a category, there are at most 150
// accounts, and at most one profit and one transfer account.

#include <cstddef>
#include <vector>

#include "records/gl_account_record.h"

namespace tallymoor {

inline constexpr std::size_t kAccountLimit = 150;

enum class AccountFault {
  EmptyNumber,
  LeadingBlank,
  DuplicateNumber,  // the number of an account earlier in the list
  EmptyCategory,
  TooManyAccounts,        // the first account beyond the limit
  SecondProfitAccount,    // a P account after the first one
  SecondTransferAccount,  // a T account after the first one
};

struct AccountFinding {
  AccountFault fault;
  std::size_t index;  // of the account at fault, in list order

  bool operator==(const AccountFinding&) const = default;
};

// Every breach, in list order (one account may show several), in one pass; empty for a
// valid chart.
std::vector<AccountFinding> checkAccountInvariants(const std::vector<GlAccountRecord>& accounts);

}  // namespace tallymoor
