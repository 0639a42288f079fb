#pragma once
// Default-account designations: an account may carry one of fourteen fixed English keys
// saying which default it supplies to new customers and suppliers. The keys sit in a
// table of sixteen slots; slot 0 and slot 15 are the empty designation.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/gl_account_record.h"

namespace tallymoor {

inline constexpr std::size_t kAccountDirectiveSlots = 16;

// The slots of the keys, in table order.
enum AccountDirectiveSlot : std::size_t {
  kNoDirective = 0,
  kCustomerGroup = 1,
  kSalesAccount1 = 2,
  kSalesAccount2 = 3,
  kSalesAccount3 = 4,
  kVatSalesAccount1 = 5,
  kVatSalesAccount2 = 6,
  kCashDiscountSales = 7,
  kSupplierGroup = 8,
  kPurchaseAccount1 = 9,
  kPurchaseAccount2 = 10,
  kPurchaseAccount3 = 11,
  kVatPurchaseAccount1 = 12,
  kVatPurchaseAccount2 = 13,
  kCashDiscountPurchase = 14,
  kUnusedDirectiveSlot = 15,
};

// The stored text of each slot; "" for slots 0 and 15.
const std::array<std::string_view, kAccountDirectiveSlots>& accountDirectiveKeys();

// The key of a slot; "" for the empty slots and for a slot outside the table.
std::string_view accountDirectiveKey(std::size_t slot);

// The slot whose key equals `stored` exactly (1 to 14); 0 for an empty text and for a text
// that is none of the keys, which therefore reads, and is written back, as no designation.
std::size_t accountDirectiveSlot(std::string_view stored);

// For each slot the number of the account that carries its key; when several do, the last
// one in file order. Empty where no account carries the key, and always for slots 0, 15.
std::array<std::string, kAccountDirectiveSlots> defaultAccountNumbers(
    const std::vector<GlAccountRecord>& accounts);

}  // namespace tallymoor
