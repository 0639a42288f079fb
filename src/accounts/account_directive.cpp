#include "accounts/account_directive.h"

namespace tallymoor {

const std::array<std::string_view, kAccountDirectiveSlots>& accountDirectiveKeys() {
  static constexpr std::array<std::string_view, kAccountDirectiveSlots> keys = {
      "",
      "Customer group",
      "Sales account 1",
      "Sales account 2",
      "Sales account 3",
      "VAT Sales account 1",
      "VAT Sales account 2",
      "Cash discount sales",
      "Supplier group",
      "Purchase account 1",
      "Purchase account 2",
      "Purchase account 3",
      "VAT Purchase account 1",
      "VAT Purchase account 2",
      "Cash discount purchase",
      "",
  };
  return keys;
}

std::string_view accountDirectiveKey(std::size_t slot) {
  return slot < kAccountDirectiveSlots ? accountDirectiveKeys()[slot] : std::string_view();
}

std::size_t accountDirectiveSlot(std::string_view stored) {
  if (stored.empty()) return kNoDirective;
  for (std::size_t slot = kCustomerGroup; slot <= kCashDiscountPurchase; ++slot)
    if (accountDirectiveKeys()[slot] == stored) return slot;
  return kNoDirective;
}

std::array<std::string, kAccountDirectiveSlots> defaultAccountNumbers(
    const std::vector<GlAccountRecord>& accounts) {
  std::array<std::string, kAccountDirectiveSlots> numbers;
  for (const GlAccountRecord& account : accounts)
    if (std::size_t slot = accountDirectiveSlot(account.accountDirective); slot != kNoDirective)
      numbers[slot] = account.number;
  return numbers;
}

}  // namespace tallymoor
