#include "accounts/account_directive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallymoor {
namespace {

GlAccountRecord account(const std::string& number, const std::string& directive) {
  GlAccountRecord a;
  a.number = number;
  a.accountDirective = directive;
  return a;
}

TEST(AccountDirective, SixteenSlotsWithTheKeysBetweenTwoEmptyOnes) {
  const std::vector<std::string_view> expected = {"",
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
                                                  ""};
  const auto& keys = accountDirectiveKeys();
  EXPECT_EQ(std::vector<std::string_view>(keys.begin(), keys.end()), expected);
  EXPECT_EQ(accountDirectiveKey(kSupplierGroup), "Supplier group");
  EXPECT_EQ(accountDirectiveKey(kUnusedDirectiveSlot), "");
  EXPECT_EQ(accountDirectiveKey(16), "");
}

TEST(AccountDirective, EachKeyFindsItsSlotAndAnythingElseIsNoDesignation) {
  for (std::size_t slot = kCustomerGroup; slot <= kCashDiscountPurchase; ++slot)
    EXPECT_EQ(accountDirectiveSlot(accountDirectiveKeys()[slot]), slot) << slot;
  struct Case {
    const char* name;
    const char* stored;
  };
  const std::vector<Case> unknown = {
      {"empty", ""},
      {"other letter case", "customer group"},
      {"a trailing blank", "Sales account 1 "},
      {"a caption of another language", "Debiteuren"},
      {"a key that does not exist", "Sales account 4"},
  };
  for (const Case& c : unknown) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(accountDirectiveSlot(c.stored), kNoDirective);
  }
}

TEST(AccountDirective, WhenSeveralAccountsCarryAKeyTheLastInFileOrderWins) {
  const std::vector<GlAccountRecord> accounts = {
      account("1300", "Customer group"),  account("1310", "Customer group"),
      account("1600", "Supplier group"),  account("1700", "Not a key"),
      account("8000", "Sales account 1"), account("8100", "")};
  const auto numbers = defaultAccountNumbers(accounts);
  EXPECT_EQ(numbers[kCustomerGroup], "1310");
  EXPECT_EQ(numbers[kSupplierGroup], "1600");
  EXPECT_EQ(numbers[kSalesAccount1], "8000");
  for (std::size_t slot :
       {kNoDirective, kSalesAccount2, kCashDiscountPurchase, kUnusedDirectiveSlot})
    EXPECT_EQ(numbers[slot], "") << slot;
}

}  // namespace
}  // namespace tallymoor
