#include "accounts/gl_category_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallymoor {
namespace {

constexpr CategoryKind kBalance = CategoryKind::BalanceSheet;
constexpr CategoryKind kProfitLoss = CategoryKind::ProfitAndLoss;

GlCategoryRow stored(CategoryKind kind, const std::string& name) {
  return {kind, name, "SYSTEM", "03-04-2023 09:08:07"};
}

std::vector<GlCategoryRow> manyRows(std::size_t count) {
  std::vector<GlCategoryRow> rows;
  for (std::size_t i = 0; i < count; ++i) rows.push_back(stored(kBalance, "C" + std::to_string(i)));
  return rows;
}

TEST(GlCategoryList, AStoredKindReadsAsBalanceSheetOnlyWhenItIsExactlyThatText) {
  struct Case {
    const char* name;
    const char* stored;
    CategoryKind kind;
  };
  const std::vector<Case> cases = {
      {"balance sheet", "Balance sheet account", kBalance},
      {"profit and loss", "Profit and Loss account", kProfitLoss},
      {"other letter case", "BALANCE SHEET ACCOUNT", kProfitLoss},
      {"the screen caption", "Balance account", kProfitLoss},
      {"empty", "", kProfitLoss},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GlCategoryRow row = categoryRowFromRecord({c.stored, "Debtors", "U", "T"});
    EXPECT_EQ(row, (GlCategoryRow{c.kind, "Debtors", "U", "T"}));
  }
}

TEST(GlCategoryList, ANewCategoryIsCheckedAgainstKindAndExactName) {
  const std::vector<GlCategoryRow> rows = {stored(kProfitLoss, "Debtors"),
                                           stored(kBalance, "Fixed assets")};
  struct Case {
    const char* name;
    CategoryKind kind;
    const char* categoryName;
    NewCategoryCheck expected;
  };
  const std::vector<Case> cases = {
      {"same name under the other kind", kBalance, "Debtors", NewCategoryCheck::Valid},
      {"same name and kind", kProfitLoss, "Debtors", NewCategoryCheck::Duplicate},
      {"same kind, other letter case", kProfitLoss, "debtors", NewCategoryCheck::Valid},
      {"same kind, a trailing blank", kProfitLoss, "Debtors ", NewCategoryCheck::Valid},
      {"second row, same kind", kBalance, "Fixed assets", NewCategoryCheck::Duplicate},
      {"a new name", kBalance, "Stock", NewCategoryCheck::Valid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(checkNewCategory(rows, c.kind, c.categoryName), c.expected);
  }
}

TEST(GlCategoryList, TheHundredFiftiethCategoryIsTheLast) {
  EXPECT_EQ(checkNewCategory(manyRows(149), kBalance, "New"), NewCategoryCheck::Valid);
  EXPECT_EQ(checkNewCategory(manyRows(150), kBalance, "New"), NewCategoryCheck::ListFull);
  // A full list refuses before it looks for the name.
  EXPECT_EQ(checkNewCategory(manyRows(150), kBalance, "C0"), NewCategoryCheck::ListFull);
}

TEST(GlCategoryList, RecordsKeepTheirStampsAndNewRowsGetTheSavingUserAndTime) {
  const std::vector<GlCategoryRow> rows = {
      stored(kBalance, "Fixed assets"),
      {kProfitLoss, "Turnover", "", ""},
      {kBalance, "Half stamped", "OLDUSER", ""},
  };
  const std::vector<GlCategoryRecord> records =
      categoryRecordsFromRows(rows, "CHIEFACCOUNTANT", "05-06-2024 07:08:09 and more");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].kind, "Balance sheet account");
  EXPECT_EQ(records[0].name, "Fixed assets");
  EXPECT_EQ(records[0].user, "SYSTEM");
  EXPECT_EQ(records[0].timestamp, "03-04-2023 09:08:07");
  EXPECT_EQ(records[1].kind, "Profit and Loss account");
  EXPECT_EQ(records[1].user, "CHIEFACCOU");
  EXPECT_EQ(records[1].timestamp, "05-06-2024 07:08:09 ");
  EXPECT_EQ(records[2].user, "OLDUSER");
  EXPECT_EQ(records[2].timestamp, "05-06-2024 07:08:09 ");
}

}  // namespace
}  // namespace tallymoor
