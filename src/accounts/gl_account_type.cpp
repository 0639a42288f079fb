#include "accounts/gl_account_type.h"

namespace tallymoor {

GlAccountType accountTypeFromStored(std::string_view stored) {
  if (stored == "P") return GlAccountType::Profit;
  if (stored == "T") return GlAccountType::Transfer;
  if (stored == "D") return GlAccountType::Debit;
  return GlAccountType::Credit;
}

GlAccountType accountType(const GlAccountRecord& account) {
  return accountTypeFromStored(account.type);
}

char accountTypeLetter(GlAccountType type) {
  switch (type) {
    case GlAccountType::Profit:
      return 'P';
    case GlAccountType::Transfer:
      return 'T';
    case GlAccountType::Debit:
      return 'D';
    case GlAccountType::Credit:
      break;
  }
  return 'C';
}

}  // namespace tallymoor
