#include "records/gl_category_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tallymoor {
namespace {

std::string textAt(const Bytes& bytes, std::size_t offset) {
  return std::string(bytes.begin() + static_cast<long>(offset) + 1,
                     bytes.begin() + static_cast<long>(offset) + 1 + bytes[offset]);
}

TEST(GlCategoryRecord, FieldsLieAtTheirOffsetsWithZerosAfterEachText) {
  GlCategoryRecord c{kProfitAndLossKind, "Turnover", "ADMIN1", "05-06-2024 07:08:09"};
  Bytes bytes = c.encode();
  ASSERT_EQ(bytes.size(), 134u);
  struct Field {
    std::size_t offset;
    std::size_t capacity;
    std::string text;
  };
  for (const Field& f : {Field{0, 50, kProfitAndLossKind}, Field{51, 50, "Turnover"},
                         Field{102, 10, "ADMIN1"}, Field{113, 20, "05-06-2024 07:08:09"}}) {
    SCOPED_TRACE(f.text);
    EXPECT_EQ(bytes[f.offset], f.text.size());
    EXPECT_EQ(textAt(bytes, f.offset), f.text);
    for (std::size_t i = f.offset + 1 + f.text.size(); i <= f.offset + f.capacity; ++i)
      EXPECT_EQ(bytes[i], 0) << "byte " << i;
  }
  EXPECT_EQ(bytes[133], 0);
}

TEST(GlCategoryRecord, LongTextsAreCutToTheirFieldsAndReadBack) {
  GlCategoryRecord c{kBalanceSheetKind, std::string(60, 'n'), "CHIEFACCOUNTANT",
                     "05-06-2024 07:08:09 and more"};
  GlCategoryRecord back = GlCategoryRecord::decode(c.encode());
  EXPECT_EQ(back.kind, kBalanceSheetKind);
  EXPECT_EQ(back.name, std::string(50, 'n'));
  EXPECT_EQ(back.user, "CHIEFACCOU");
  EXPECT_EQ(back.timestamp, "05-06-2024 07:08:09 ");
}

TEST(GlCategoryRecord, BytesAfterAStoredTextAreIgnored) {
  Bytes stored = GlCategoryRecord{kBalanceSheetKind, "Debtors", "", ""}.encode();
  for (std::size_t i = 51 + 1 + 7; i < 102; ++i) stored[i] = 'x';  // old text beyond the end
  EXPECT_EQ(GlCategoryRecord::decode(stored).name, "Debtors");
}

TEST(GlCategoryRecord, OnlyTheExactBalanceSheetTextIsABalanceSheetKind) {
  struct Case {
    const char* stored;
    bool balanceSheet;
  };
  for (const Case& c : {Case{"Balance sheet account", true}, Case{"Profit and Loss account", false},
                        Case{"balance sheet account", false}, Case{"Balance sheet account ", false},
                        Case{"Balance account", false}, Case{"", false}}) {
    SCOPED_TRACE(c.stored);
    GlCategoryRecord record =
        GlCategoryRecord::decode(GlCategoryRecord{c.stored, "X", "", ""}.encode());
    EXPECT_EQ(record.isBalanceSheet(), c.balanceSheet);
  }
}

}  // namespace
}  // namespace tallymoor
