#include "accounts/gl_account_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

GlAccountRecord account(const std::string& number, const std::string& type = "D") {
  GlAccountRecord a;
  a.number = number;
  a.caption = "Account " + number;
  a.type = type;
  a.category = "Current assets";
  a.lead = "L" + number;
  a.startDate = "20240101";
  a.startAmount = 1250.75;
  a.cashBankBook = number == "1000";
  a.cashBankBookName = a.cashBankBook ? "Cash book" : "";
  a.accountDirective = "Customer group";
  a.vatGroup = "High";
  a.user = "SYSTEM";
  a.timestamp = "03-04-2023 09:08:07";
  return a;
}

std::string fileOf(const std::vector<GlAccountRecord>& accounts) {
  std::string contents;
  for (const GlAccountRecord& a : accounts) {
    Bytes bytes = a.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

class GlAccountFileTest : public ::testing::Test {
 protected:
  GlAccountFileTest() : store_(dir_.path()) {
    store_.administrationDirectory = dir_ / "data/ACME/";
    std::filesystem::create_directories(store_.administrationDirectory);
  }
  std::string accountFile() const { return store_.administrationDirectory + "ledger.vlt"; }
  std::string accessDenied() const {
    return "IO errorcode: GLA5  " + systemErrorText(kAccessDenied);
  }

  TempDirectory dir_;
  RecordStore store_;
};

TEST_F(GlAccountFileTest, ReadAllGivesEveryAccountInFileOrderWithItsFields) {
  const std::vector<GlAccountRecord> accounts = {account("100"), account("1000", "P"),
                                                 account("20", "X")};
  writeFile(accountFile(), fileOf(accounts));
  AccountList list = readAllAccounts(store_);
  ASSERT_TRUE(list.opened);
  ASSERT_EQ(list.accounts.size(), 3u);
  EXPECT_FALSE(store_.isSetOpen());
  for (std::size_t i = 0; i < accounts.size(); ++i) {
    SCOPED_TRACE(accounts[i].number);
    EXPECT_EQ(list.accounts[i].encode(), accounts[i].encode());
  }
  EXPECT_EQ(list.accounts[1].cashBankBookName, "Cash book");
  EXPECT_EQ(list.accounts[2].startAmount, 1250.75);
}

TEST_F(GlAccountFileTest, ReadAllInsideAHandedOverSetLeavesTheSetToItsOwner) {
  writeFile(accountFile(), fileOf({account("1000")}));
  ASSERT_EQ(store_.OpenFileSet("FRZ;GLA;GLC"), RecordStore::kOk);
  AccountList list = readAllAccounts(store_);
  EXPECT_EQ(list.accounts.size(), 1u);
  EXPECT_TRUE(store_.isOpen(FileCode::GLA));
  EXPECT_EQ(store_.nestingDepth(), 0);
  store_.CloseFileSet();
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(GlAccountFileTest, RewriteAllReplacesTheFileAndZeroesWhatTheOldRecordsHeld) {
  // An old file with more records, and junk in the reserved and padding bytes.
  std::string old = fileOf({account("1"), account("2"), account("3")});
  for (std::size_t record = 0; record < 3; ++record)
    for (std::size_t offset : {69u, 77u, 189u, 191u, 209u, 215u, 372u, 375u})
      old[record * GlAccountRecord::kSize + offset] = '\xAA';
  writeFile(accountFile(), old);

  const std::vector<GlAccountRecord> chart = {account("100"), account("1000", "T")};
  AccountFileOutcome outcome = rewriteAllAccounts(store_, chart);
  ASSERT_TRUE(outcome.opened);
  EXPECT_FALSE(store_.isSetOpen());
  const std::string written = readFile(accountFile());
  EXPECT_EQ(written, fileOf(chart));
  ASSERT_EQ(written.size(), 2 * GlAccountRecord::kSize);
  for (std::size_t record = 0; record < 2; ++record)
    for (std::size_t offset : {69u, 77u, 189u, 191u, 209u, 215u, 372u, 375u})
      EXPECT_EQ(written[record * GlAccountRecord::kSize + offset], 0)
          << "record " << record << " byte " << offset;
}

TEST_F(GlAccountFileTest, RewritingAnEmptyChartLeavesAnEmptyFile) {
  writeFile(accountFile(), fileOf({account("1"), account("2")}));
  ASSERT_TRUE(rewriteAllAccounts(store_, {}).opened);
  EXPECT_EQ(std::filesystem::file_size(accountFile()), 0u);
}

TEST_F(GlAccountFileTest, OpenFailuresReadAndWriteNothing) {
  const std::string before = fileOf({account("1000")});
  writeFile(accountFile(), before);
  ::chmod(accountFile().c_str(), 0444);
  AccountList list;
  AccountFileOutcome outcome;
  {
    AsUnprivilegedUser unprivileged;
    list = readAllAccounts(store_);
    outcome = rewriteAllAccounts(store_, {account("2000")});
  }
  EXPECT_FALSE(list.opened);
  EXPECT_EQ(list.message, accessDenied());
  EXPECT_TRUE(list.accounts.empty());
  EXPECT_FALSE(outcome.opened);
  EXPECT_EQ(outcome.message, accessDenied());
  EXPECT_EQ(readFile(accountFile()), before);
  EXPECT_FALSE(store_.isSetOpen());
}

}  // namespace
}  // namespace tallymoor
