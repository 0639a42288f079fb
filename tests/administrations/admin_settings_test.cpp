#include "administrations/admin_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "administrations/fiscal_periods.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/gl_account_record.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::fileExists;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

constexpr const char* kLoginUser = "CHIEFACCOUNTANT";  // 15 characters, stored as 10
constexpr const char* kNow = "05-06-2024 07:08:09 and more";
constexpr const char* kStoredUser = "CHIEFACCOU";
constexpr const char* kStoredStamp = "05-06-2024 07:08:09 ";

std::string contentsOf(const std::vector<AdminSettingsRecord>& records) {
  std::string contents;
  for (const AdminSettingsRecord& record : records) {
    Bytes bytes = record.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

// Settings of a company in its second book year, as a save leaves them.
AdminSettingsRecord storedSettings() {
  AdminSettingsRecord s = defaultSettings();
  s.reservedText = "old name";
  s.companyName = "Acme Ltd";
  s.startDate = "20090701";
  s.endDate = "20100630";
  s.periodCount = 12;
  recomputePeriods(s);
  s.approvedYear = "0809";
  s.currentYear = "0910";
  s.lastClosedPeriod = "02/12";
  s.currentPeriod = "03/12";
  s.creator = "FOUNDER";
  s.creationStamp = "01-07-2008 09:00:00";
  s.lastSavedStamp = "02-02-2010 10:00:00";
  s.lastSavedUser = "CLERK";
  return s;
}

// A start directory with one administration directory, its record store pointed there.
class AdminSettingsTest : public ::testing::Test {
 protected:
  AdminSettingsTest() : store_(dir_.path()) {
    std::filesystem::create_directories(directory());
    store_.administrationDirectory = directory();
    resetCurrentSettings();
  }
  ~AdminSettingsTest() override {
    setDataFileConversion({});
    resetCurrentSettings();
  }

  std::string directory() const { return store_.baseDataDirectory + "ACME/"; }
  std::string settingsFile() const { return directory() + "adminset.vlt"; }
  std::string settingsContents() const { return readFile(settingsFile()); }
  void writeSettings(const std::vector<AdminSettingsRecord>& records) {
    writeFile(settingsFile(), contentsOf(records));
  }

  TempDirectory dir_;
  RecordStore store_;
};

// --- defaults ------------------------------------------------------------------------------

TEST(DefaultSettings, BookYear2008AsOnePeriodInEuro) {
  const AdminSettingsRecord s = defaultSettings();
  EXPECT_EQ(s.startDate, "20080101");
  EXPECT_EQ(s.endDate, "20081231");
  EXPECT_EQ(s.periodCount, 1);
  EXPECT_EQ(s.periodStarts[0], "20080101");
  EXPECT_EQ(s.periodStarts[1], "20090101");
  EXPECT_EQ(s.currencyCode, "EUR");
  EXPECT_EQ(s.currentYear, "2008");
  EXPECT_EQ(s.fiscalYear, "2008");
  EXPECT_EQ(s.currentPeriod, "00/00");
  EXPECT_EQ(s.approvedYear, "");
  EXPECT_EQ(s.lastClosedPeriod, "");
  EXPECT_EQ(s.profitAccountNumber, "");
  EXPECT_EQ(s.profitAccountCaption, "");
  EXPECT_FALSE(s.noSalesTaxAccounts);
  EXPECT_EQ(s.journalNames,
            (std::array<std::string, 6>{"Sales Book", "Purchase Book", "Daybook", "", "", ""}));
  EXPECT_EQ(s.journalTypeFlags,
            (std::array<std::string, 6>{"false", "false", "false", "false", "false", "false"}));
  EXPECT_EQ(s.splitJournals, "false");
  EXPECT_EQ(s.companyName, "");
  EXPECT_EQ(s.reservedText, "");
  EXPECT_EQ(periodTableProblem(s), "");
}

// --- load ------------------------------------------------------------------------------------

TEST_F(AdminSettingsTest, AnEmptyFileGetsTheDefaultsStampedAndWritten) {
  for (bool fileThere : {true, false}) {
    SCOPED_TRACE(fileThere ? "empty file" : "no file yet");
    std::filesystem::remove(settingsFile());
    if (fileThere) writeFile(settingsFile(), "");
    resetCurrentSettings();
    SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
    ASSERT_TRUE(load.ok()) << load.message;
    EXPECT_TRUE(load.defaultsWritten);
    AdminSettingsRecord expected = defaultSettings();
    expected.lastSavedStamp = kStoredStamp;
    expected.lastSavedUser = kStoredUser;
    EXPECT_EQ(load.settings, expected);
    EXPECT_EQ(currentSettings(), expected);
    EXPECT_EQ(settingsContents(), contentsOf({expected}));
    EXPECT_FALSE(store_.isSetOpen());
  }
}

TEST_F(AdminSettingsTest, AStoredRecordIsReadAndLeftAsItIs) {
  const AdminSettingsRecord first = storedSettings();
  AdminSettingsRecord second = storedSettings();
  second.companyName = "Second record";
  writeSettings({first, second});
  const std::string before = settingsContents();
  SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
  ASSERT_TRUE(load.ok()) << load.message;
  EXPECT_FALSE(load.defaultsWritten);
  EXPECT_EQ(load.settings, first);
  EXPECT_EQ(currentSettings(), first);
  EXPECT_EQ(settingsContents(), before);
}

TEST_F(AdminSettingsTest, AFileShorterThanOneRecordHoldsNoRecordAndIsReplaced) {
  writeFile(settingsFile(), std::string(100, 'x'));
  SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
  ASSERT_TRUE(load.ok()) << load.message;
  EXPECT_TRUE(load.defaultsWritten);
  EXPECT_EQ(settingsContents().size(), AdminSettingsRecord::kSize);
}

TEST_F(AdminSettingsTest, AFailedOpenReadsAndWritesNothing) {
  currentSettings() = storedSettings();
  store_.administrationDirectory = store_.baseDataDirectory + "MISSING/";
  SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
  EXPECT_FALSE(load.opened);
  EXPECT_EQ(load.message, systemErrorText(kPathNotFound));
  EXPECT_EQ(currentSettings(), storedSettings());
  EXPECT_FALSE(std::filesystem::exists(store_.baseDataDirectory + "MISSING"));
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdminSettingsTest, AnUnreadableFileIsAnOpenFailureWithTheSystemText) {
  writeSettings({storedSettings()});
  ::chmod(settingsFile().c_str(), 0);
  SettingsLoad load;
  {
    AsUnprivilegedUser unprivileged;
    load = loadSettings(store_, kLoginUser, kNow);
  }
  EXPECT_FALSE(load.opened);
  EXPECT_EQ(load.message, systemErrorText(kAccessDenied));
  EXPECT_EQ(currentSettings(), AdminSettingsRecord{});
}

TEST_F(AdminSettingsTest, TheConversionRunsInsideTheLoadBeforeTheFileIsRead) {
  writeSettings({});
  int runs = 0;
  setDataFileConversion([&](RecordStore& store) {
    ++runs;
    EXPECT_TRUE(store.isOpen(FileCode::ADS));
    // A conversion that left a record behind: the load must read it, not write defaults.
    store.file(FileCode::ADS).writeAt(0, storedSettings().encode());
  });
  SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
  ASSERT_TRUE(load.ok()) << load.message;
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(load.defaultsWritten);
  EXPECT_EQ(load.settings, storedSettings());
}

TEST_F(AdminSettingsTest, InsideAnOpenSetTheLoadUsesItAndLeavesItOpen) {
  ASSERT_EQ(store_.OpenFileSet("ADS;FLG;GLA"), RecordStore::kOk);
  SettingsLoad load = loadSettings(store_, kLoginUser, kNow);
  ASSERT_TRUE(load.ok()) << load.message;
  EXPECT_TRUE(load.defaultsWritten);
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_EQ(store_.nestingDepth(), 0);
  store_.CloseFileSet();
  EXPECT_EQ(settingsContents().size(), AdminSettingsRecord::kSize);
}

// --- store -----------------------------------------------------------------------------------

TEST_F(AdminSettingsTest, StoreWritesRecordZeroStampedAndCutsTheFileAfterIt) {
  writeSettings({storedSettings(), storedSettings(), storedSettings()});
  AdminSettingsRecord changed = storedSettings();
  changed.companyName = "Acme Holding";
  SettingsStore stored = storeSettings(store_, changed, kLoginUser, kNow);
  ASSERT_TRUE(stored.ok()) << stored.message;
  changed.lastSavedStamp = kStoredStamp;
  changed.lastSavedUser = kStoredUser;
  EXPECT_EQ(stored.stored, changed);
  EXPECT_EQ(currentSettings(), changed);
  EXPECT_EQ(settingsContents(), contentsOf({changed}));
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdminSettingsTest, AnInconsistentPeriodTableIsNeverWritten) {
  writeSettings({storedSettings()});
  const std::string before = settingsContents();
  currentSettings() = storedSettings();
  AdminSettingsRecord spoiled = storedSettings();
  spoiled.periodStarts[5] = spoiled.periodStarts[3];
  SettingsStore stored = storeSettings(store_, spoiled, kLoginUser, kNow);
  EXPECT_TRUE(stored.refused);
  EXPECT_TRUE(stored.opened);
  EXPECT_EQ(stored.message.rfind("The settings were not saved: Period 6", 0), 0u) << stored.message;
  EXPECT_EQ(settingsContents(), before);
  EXPECT_EQ(currentSettings(), storedSettings());
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdminSettingsTest, AFailedOpenOnStoreGivesBothTextsAndWritesNothing) {
  writeSettings({storedSettings()});
  const std::string before = settingsContents();
  ::chmod(settingsFile().c_str(), 0444);
  SettingsStore stored;
  {
    AsUnprivilegedUser unprivileged;
    stored = storeSettings(store_, defaultSettings(), kLoginUser, kNow);
  }
  EXPECT_FALSE(stored.opened);
  EXPECT_EQ(stored.message, "IO errorcode: ads5  " + systemErrorText(kAccessDenied));
  EXPECT_EQ(settingsContents(), before);
  EXPECT_EQ(currentSettings(), AdminSettingsRecord{});
}

// --- profit account --------------------------------------------------------------------------

TEST(ProfitAccount, SplitsAnEntryIntoNumberAndCaption) {
  struct Case {
    const char* entry;
    ProfitAccount account;
  };
  for (const Case& c : std::vector<Case>{{"8000{Result}", {"8000", "Result"}},
                                         {"", {"", ""}},
                                         {"8000", {"8000", ""}},
                                         {"8000{Result", {"8000", "Result"}},
                                         {"80{a}b{c}", {"80", "a"}},
                                         {"{Only caption}", {"", "Only caption"}},
                                         {"8000{}", {"8000", ""}}}) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(splitAccountEntry(c.entry), c.account);
  }
}

TEST_F(AdminSettingsTest, ProfitAccountEntriesFollowTheFileOrder) {
  std::string ledger;
  for (auto [number, caption] : std::vector<std::pair<const char*, const char*>>{
           {"1000", "Cash"}, {"8000", "Result"}, {"0800", "Equity"}, {"8000", "Again"}}) {
    GlAccountRecord account;
    account.number = number;
    account.caption = caption;
    Bytes bytes = account.encode();
    ledger.append(bytes.begin(), bytes.end());
  }
  writeFile(directory() + "ledger.vlt", ledger);

  ProfitAccountEntries found = readProfitAccountEntries(store_, "8000");
  ASSERT_TRUE(found.ok()) << found.message;
  EXPECT_EQ(found.entries, (std::vector<std::string>{"1000{Cash}", "8000{Result}", "0800{Equity}",
                                                     "8000{Again}"}));
  EXPECT_EQ(found.storedIndex, 1);
  EXPECT_EQ(readProfitAccountEntries(store_, "800").storedIndex, -1);
  EXPECT_EQ(readProfitAccountEntries(store_, "").storedIndex, -1);
  EXPECT_FALSE(store_.isSetOpen());
}

TEST(FiscalYear, EmptyOrFrom1990On) {
  struct Case {
    const char* text;
    bool acceptable;
  };
  for (const Case& c : std::vector<Case>{{"", true},
                                         {"1990", true},
                                         {"2008", true},
                                         {"1989", false},
                                         {"209", false},
                                         {"0", false},
                                         {"-2008", false},
                                         {"-", false},
                                         {"20a9", false}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(isAcceptableFiscalYear(c.text), c.acceptable);
  }
}

}  // namespace
}  // namespace tallymoor
