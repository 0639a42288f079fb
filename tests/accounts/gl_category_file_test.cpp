#include "accounts/gl_category_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/gl_account_record.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

constexpr CategoryKind kBalance = CategoryKind::BalanceSheet;
constexpr CategoryKind kProfitLoss = CategoryKind::ProfitAndLoss;

GlCategoryRecord storedRecord(const char* kind, const std::string& name) {
  return {kind, name, "SYSTEM", "03-04-2023 09:08:07"};
}

template <typename Record>
std::string fileOf(const std::vector<Record>& records) {
  std::string contents;
  for (const Record& record : records) {
    Bytes bytes = record.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

GlAccountRecord account(const std::string& number, const std::string& category) {
  GlAccountRecord a;
  a.number = number;
  a.caption = "Account " + number;
  a.type = "D";
  a.category = category;
  return a;
}

constexpr const char* kUser = "CHIEFACCOUNTANT";  // stored as CHIEFACCOU
constexpr const char* kNow = "05-06-2024 07:08:09";

// An administration directory with its category and account files, and a record store
// pointed at it.
class GlCategoryFileTest : public ::testing::Test {
 protected:
  GlCategoryFileTest() : store_(dir_.path()) {
    store_.administrationDirectory = dir_ / "data/ACME/";
    std::filesystem::create_directories(store_.administrationDirectory);
  }

  std::string categoryFile() const { return store_.administrationDirectory + "ledgerct.vlt"; }
  std::string accountFile() const { return store_.administrationDirectory + "ledger.vlt"; }
  void writeCategories(const std::vector<GlCategoryRecord>& records) {
    writeFile(categoryFile(), fileOf(records));
  }
  void writeAccounts(const std::vector<GlAccountRecord>& accounts) {
    writeFile(accountFile(), fileOf(accounts));
  }
  std::string accessDenied(const char* code) const {
    return std::string("IO errorcode: ") + code + "5  " + systemErrorText(kAccessDenied);
  }

  TempDirectory dir_;
  RecordStore store_;
};

// --- load --------------------------------------------------------------------------------

TEST_F(GlCategoryFileTest, LoadGivesEveryCategoryInFileOrder) {
  writeCategories({storedRecord(kProfitAndLossKind, "Turnover"),
                   storedRecord(kBalanceSheetKind, "Fixed assets"),
                   {"Something else", "Odd kind", "", ""}});
  CategoryList list = loadCategories(store_);
  ASSERT_TRUE(list.opened);
  const std::vector<GlCategoryRow> expected = {
      {kProfitLoss, "Turnover", "SYSTEM", "03-04-2023 09:08:07"},
      {kBalance, "Fixed assets", "SYSTEM", "03-04-2023 09:08:07"},
      {kProfitLoss, "Odd kind", "", ""},
  };
  EXPECT_EQ(list.rows, expected);
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(GlCategoryFileTest, AMissingOrEmptyFileLoadsAsAnEmptyList) {
  for (bool exists : {false, true}) {
    SCOPED_TRACE(exists ? "empty file" : "no file yet");
    std::filesystem::remove(categoryFile());
    if (exists) writeCategories({});
    CategoryList list = loadCategories(store_);
    EXPECT_TRUE(list.opened);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(std::filesystem::exists(categoryFile()));
  }
}

TEST_F(GlCategoryFileTest, LoadTakesOverTheSetTheMenuHandedOverAndClosesIt) {
  writeCategories({storedRecord(kBalanceSheetKind, "Debtors")});
  ASSERT_EQ(store_.OpenFileSet("GLC;"), RecordStore::kOk);
  CategoryList list = loadCategories(store_);
  ASSERT_TRUE(list.opened);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].name, "Debtors");
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(GlCategoryFileTest, ALoadThatCannotOpenTheFileSaysWhyAndReadsNothing) {
  writeCategories({storedRecord(kBalanceSheetKind, "Debtors")});
  ::chmod(categoryFile().c_str(), 0444);
  CategoryList list;
  {
    AsUnprivilegedUser unprivileged;
    list = loadCategories(store_);
  }
  EXPECT_FALSE(list.opened);
  EXPECT_EQ(list.message, accessDenied("GLC"));
  EXPECT_TRUE(list.rows.empty());
  EXPECT_FALSE(store_.isSetOpen());
}

// --- save --------------------------------------------------------------------------------

TEST_F(GlCategoryFileTest, SaveWritesTheListInItsOrderStampingOnlyNewRows) {
  writeCategories({storedRecord(kBalanceSheetKind, "Fixed assets"),
                   storedRecord(kProfitAndLossKind, "Turnover"),
                   {"Other text", "Costs", "OLD", "X"}});
  CategoryList list = loadCategories(store_);
  ASSERT_TRUE(list.opened);
  // Moved up one place, a row added in the middle.
  std::swap(list.rows[0], list.rows[1]);
  list.rows.insert(list.rows.begin() + 1, {kBalance, "Stock", "", ""});

  CategoryFileOutcome outcome = saveCategories(store_, list.rows, kUser, kNow);
  ASSERT_TRUE(outcome.opened);
  EXPECT_FALSE(store_.isSetOpen());
  EXPECT_EQ(readFile(categoryFile()),
            fileOf<GlCategoryRecord>({storedRecord(kProfitAndLossKind, "Turnover"),
                                      {kBalanceSheetKind, "Stock", "CHIEFACCOU", kNow},
                                      storedRecord(kBalanceSheetKind, "Fixed assets"),
                                      {kProfitAndLossKind, "Costs", "OLD", "X"}}));
}

TEST_F(GlCategoryFileTest, SavingAShorterListCutsTheFile) {
  writeCategories({storedRecord(kBalanceSheetKind, "A"), storedRecord(kBalanceSheetKind, "B"),
                   storedRecord(kBalanceSheetKind, "C")});
  ASSERT_TRUE(
      saveCategories(store_, {{kBalance, "B", "SYSTEM", "03-04-2023 09:08:07"}}, kUser, kNow)
          .opened);
  EXPECT_EQ(readFile(categoryFile()),
            fileOf<GlCategoryRecord>({storedRecord(kBalanceSheetKind, "B")}));
  ASSERT_TRUE(saveCategories(store_, {}, kUser, kNow).opened);
  EXPECT_EQ(std::filesystem::file_size(categoryFile()), 0u);
}

TEST_F(GlCategoryFileTest, ASaveThatCannotOpenTheFileWritesNothing) {
  const std::string before = fileOf<GlCategoryRecord>({storedRecord(kBalanceSheetKind, "Debtors")});
  writeFile(categoryFile(), before);
  ::chmod(categoryFile().c_str(), 0444);
  CategoryFileOutcome outcome;
  {
    AsUnprivilegedUser unprivileged;
    outcome = saveCategories(store_, {{kProfitLoss, "Other", "", ""}}, kUser, kNow);
  }
  EXPECT_FALSE(outcome.opened);
  EXPECT_EQ(outcome.message, accessDenied("GLC"));
  EXPECT_EQ(readFile(categoryFile()), before);
  EXPECT_FALSE(store_.isSetOpen());
}

// --- in use ------------------------------------------------------------------------------

TEST_F(GlCategoryFileTest, ACategoryIsInUseWhenAnAccountNamesItExactly) {
  writeAccounts(
      {account("1000", "Fixed assets"), account("8000", "Turnover"), account("9000", "")});
  struct Case {
    const char* name;
    const char* category;
    bool inUse;
  };
  const std::vector<Case> cases = {
      {"named by the first account", "Fixed assets", true},
      {"named by the last account with a category", "Turnover", true},
      {"other letter case", "turnover", false},
      {"a trailing blank", "Turnover ", false},
      {"named by no account", "Stock", false},
      {"the empty place of the list", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CategoryUse use = findCategoryUse(store_, c.category);
    EXPECT_TRUE(use.opened);
    EXPECT_EQ(use.inUse, c.inUse);
    EXPECT_FALSE(store_.isSetOpen());
  }
}

TEST_F(GlCategoryFileTest, TheInUseTestReadsInsideTheSelectSetAndLeavesItOpen) {
  writeAccounts({account("1000", "Debtors")});
  ASSERT_EQ(store_.OpenFileSet(kCategorySelectSet), RecordStore::kOk);
  CategoryUse use = findCategoryUse(store_, "Debtors");
  EXPECT_TRUE(use.inUse);
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_EQ(store_.nestingDepth(), 0);
  EXPECT_TRUE(store_.isOpen(FileCode::GLC));
  store_.CloseFileSet();
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(GlCategoryFileTest, WithoutAnAccountFileNoCategoryIsInUse) {
  CategoryUse use = findCategoryUse(store_, "Debtors");
  EXPECT_TRUE(use.opened);
  EXPECT_FALSE(use.inUse);
}

TEST_F(GlCategoryFileTest, AnInUseTestThatCannotOpenTheAccountsSaysWhy) {
  writeAccounts({account("1000", "Debtors")});
  ::chmod(accountFile().c_str(), 0444);
  CategoryUse use;
  {
    AsUnprivilegedUser unprivileged;
    use = findCategoryUse(store_, "Debtors");
  }
  EXPECT_FALSE(use.opened);
  EXPECT_FALSE(use.inUse);
  EXPECT_EQ(use.message, accessDenied("GLA"));
}

}  // namespace
}  // namespace tallymoor
