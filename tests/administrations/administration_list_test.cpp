#include "administrations/administration_list.h"

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
using testing::fileExists;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

AdministrationRow stored(const std::string& code, const std::string& name = "") {
  return {code, name.empty() ? "Books of " + code : name, "memo of " + code, "SYSTEM",
          "03-04-2023 09:08:07"};
}

AdministrationRow added(const std::string& code) {
  return {code, "New " + code, "fresh memo", "", ""};
}

std::string fileOf(const std::vector<AdministrationRow>& rows) {
  std::string contents;
  for (const AdministrationRow& row : rows) {
    Bytes bytes =
        AdministrationRecord{row.code, row.name, row.memo, row.creator, row.creationStamp}.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

std::vector<std::string> codesOf(const std::vector<AdministrationRow>& rows) {
  std::vector<std::string> codes;
  for (const AdministrationRow& row : rows) codes.push_back(row.code);
  return codes;
}

constexpr const char* kCreator = "ADMINISTRATOR";  // 13 characters, stored as 10
constexpr const char* kNow = "05-06-2024 07:08:09 and more";

// A start directory whose base data directory holds "admin.vlt", and its record store.
class AdministrationListTest : public ::testing::Test {
 protected:
  AdministrationListTest() : store_(dir_.path()) { std::filesystem::create_directories(base()); }

  std::string base() const { return store_.baseDataDirectory; }
  std::string listFile() const { return base() + "admin.vlt"; }
  void writeList(const std::vector<AdministrationRow>& rows) {
    writeFile(listFile(), fileOf(rows));
  }
  bool isDirectory(const std::string& path) const { return std::filesystem::is_directory(path); }

  // What a later run of the program reads back.
  std::vector<AdministrationRow> readBack() {
    RecordStore fresh(dir_.path());
    AdministrationList list = loadAdministrations(fresh);
    EXPECT_TRUE(list.opened) << list.message;
    return list.rows;
  }

  AdministrationSave save(const std::vector<AdministrationRow>& rows) {
    return saveAdministrations(store_, rows, kCreator, kNow);
  }

  TempDirectory dir_;
  RecordStore store_;
};

// --- load --------------------------------------------------------------------------------

TEST_F(AdministrationListTest, LoadGivesEveryRecordInFileOrder) {
  const std::vector<AdministrationRow> rows = {stored("ZETA"), stored("alpha"), stored("Mid")};
  writeList(rows);
  AdministrationList list = loadAdministrations(store_);
  ASSERT_TRUE(list.opened);
  EXPECT_EQ(list.rows, rows);
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdministrationListTest, AMissingOrEmptyListLoadsEmpty) {
  struct Case {
    const char* name;
    bool fileExists;
  };
  for (const Case& c : {Case{"no admin.vlt yet", false}, Case{"empty admin.vlt", true}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(listFile());
    if (c.fileExists) writeList({});
    AdministrationList list = loadAdministrations(store_);
    EXPECT_TRUE(list.opened);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(fileExists(listFile()));
  }
}

TEST_F(AdministrationListTest, LoadInsideAnOpenSetReadsThatSetAndLeavesItOpen) {
  writeList({stored("ONE"), stored("TWO")});
  ASSERT_EQ(store_.OpenFileSet("USE;SYS;ADM;LAN;INS"), RecordStore::kOk);
  AdministrationList list = loadAdministrations(store_);
  EXPECT_EQ(codesOf(list.rows), (std::vector<std::string>{"ONE", "TWO"}));
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_EQ(store_.nestingDepth(), 0);
  EXPECT_TRUE(store_.isOpen(FileCode::USE));
  store_.CloseFileSet();
}

TEST_F(AdministrationListTest, ALoadThatCannotOpenTheListSaysWhy) {
  writeList({stored("ONE")});
  ::chmod(listFile().c_str(), 0444);
  AdministrationList list;
  {
    AsUnprivilegedUser unprivileged;
    list = loadAdministrations(store_);
  }
  EXPECT_FALSE(list.opened);
  EXPECT_EQ(list.message, "IO errorcode: adm5  " + systemErrorText(kAccessDenied));
  EXPECT_TRUE(list.rows.empty());
  EXPECT_FALSE(store_.isSetOpen());
}

// --- checks of a new entry ---------------------------------------------------------------

TEST(NewAdministrationCheckTest, ACodeIsCutToTenThenMustNameOneDirectoryAndBeNew) {
  const std::vector<std::string> codes = {"DEMO", "ABCDEFGHIJ", "Shop"};
  struct Case {
    const char* name;
    std::string typed;
    NewAdministrationCheck expected;
  };
  const std::vector<Case> cases = {
      {"plain new code", "NEWCO", NewAdministrationCheck::Valid},
      {"empty", "", NewAdministrationCheck::CodeMissing},
      {"exact duplicate", "DEMO", NewAdministrationCheck::Duplicate},
      {"other letter case is another code", "demo", NewAdministrationCheck::Valid},
      {"duplicate once cut to 10", "ABCDEFGHIJKLM", NewAdministrationCheck::Duplicate},
      {"new once cut to 10", "ABCDEFGHIKLM", NewAdministrationCheck::Valid},
      {"current directory", ".", NewAdministrationCheck::UnusableCode},
      {"parent directory", "..", NewAdministrationCheck::UnusableCode},
      {"path into the parent", "../escape", NewAdministrationCheck::UnusableCode},
      {"nested path", "a/b", NewAdministrationCheck::UnusableCode},
      {"slash alone", "/", NewAdministrationCheck::UnusableCode},
      {"slash as the tenth character", "ABCDEFGHI/", NewAdministrationCheck::UnusableCode},
      {"slash cut away", "ABCDEFGHIX/", NewAdministrationCheck::Valid},
      {"NUL character", std::string("A\0B", 3), NewAdministrationCheck::UnusableCode},
      {"dots in a longer name", "...", NewAdministrationCheck::Valid},
      {"leading dot", ".hidden", NewAdministrationCheck::Valid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(checkNewAdministration(codes, c.typed), c.expected);
  }
  EXPECT_EQ(storedAdministrationCode("ABCDEFGHIJKLM"), "ABCDEFGHIJ");
  EXPECT_EQ(storedAdministrationCode("SHORT"), "SHORT");
}

TEST(NewAdministrationCheckTest, TheRefusalNamesTheCodeReadably) {
  EXPECT_EQ(unusableCodeMessage(".."),
            "The short name \"..\" cannot be the name of the administration's directory: it must "
            "not be empty, \".\" or \"..\", nor contain \"/\" or a NUL character.");
  EXPECT_NE(unusableCodeMessage(std::string("A\0B", 3)).find("\"A?B\""), std::string::npos);
}

// --- save --------------------------------------------------------------------------------

TEST_F(AdministrationListTest, SaveWritesTheListInItsOrderAndStampsOnlyNewEntries) {
  writeList({stored("ONE"), stored("TWO"), stored("THREE")});
  // The third row moved to the top, a new entry in the middle.
  const std::vector<AdministrationRow> rows = {stored("THREE"), stored("ONE"), added("NEWCO"),
                                               stored("TWO")};
  AdministrationSave result = save(rows);
  ASSERT_TRUE(result.opened);
  ASSERT_FALSE(result.refused);
  EXPECT_FALSE(store_.isSetOpen());

  AdministrationRow newco = added("NEWCO");
  newco.creator = "ADMINISTRA";
  newco.creationStamp = "05-06-2024 07:08:09 ";
  const std::vector<AdministrationRow> expected = {stored("THREE"), stored("ONE"), newco,
                                                   stored("TWO")};
  EXPECT_EQ(result.rows, expected);
  EXPECT_EQ(readBack(), expected);
  EXPECT_EQ(readFile(listFile()), fileOf(expected));

  // Only the new entry gets a directory; the stored ones are left as they are.
  EXPECT_TRUE(isDirectory(base() + "NEWCO"));
  for (const char* code : {"ONE", "TWO", "THREE"}) EXPECT_FALSE(fileExists(base() + code)) << code;
}

TEST_F(AdministrationListTest, ALongCodeIsStoredCutAndItsDirectoryGetsTheCutName) {
  AdministrationRow longCode = added("LONGCOMPANYNAME");
  longCode.name = std::string(40, 'n');
  longCode.memo = std::string(250, 'm');
  AdministrationSave result = save({longCode});
  ASSERT_TRUE(result.opened);
  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].code, "LONGCOMPAN");
  EXPECT_EQ(back[0].name, std::string(30, 'n'));
  EXPECT_EQ(back[0].memo, std::string(200, 'm'));
  EXPECT_EQ(result.rows, back);
  EXPECT_TRUE(isDirectory(base() + "LONGCOMPAN"));
  EXPECT_FALSE(fileExists(base() + "LONGCOMPANYNAME"));
}

TEST_F(AdministrationListTest, AnExistingDirectoryKeepsItsFiles) {
  std::filesystem::create_directories(base() + "OLDCO");
  writeFile(base() + "OLDCO/ledger.vlt", "accounts as they were");
  writeFile(base() + "OLDCO/notes.txt", "kept");
  ::chmod((base() + "OLDCO").c_str(), 0750);

  AdministrationSave result = save({added("OLDCO")});
  ASSERT_TRUE(result.opened);
  EXPECT_EQ(readFile(base() + "OLDCO/ledger.vlt"), "accounts as they were");
  EXPECT_EQ(readFile(base() + "OLDCO/notes.txt"), "kept");
  struct stat info {};
  ASSERT_EQ(::stat((base() + "OLDCO").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0750u);
  EXPECT_EQ(codesOf(readBack()), std::vector<std::string>{"OLDCO"});
}

TEST_F(AdministrationListTest, ACodeDifferingOnlyInCaseGetsItsOwnDirectory) {
  writeList({stored("Demo")});
  std::filesystem::create_directories(base() + "Demo");
  AdministrationSave result = save({stored("Demo"), added("DEMO")});
  ASSERT_TRUE(result.opened);
  EXPECT_TRUE(isDirectory(base() + "Demo"));
  EXPECT_TRUE(isDirectory(base() + "DEMO"));
  EXPECT_EQ(codesOf(readBack()), (std::vector<std::string>{"Demo", "DEMO"}));
}

TEST_F(AdministrationListTest, ANewEntryWhoseCodeCannotNameADirectoryIsRefused) {
  const std::vector<AdministrationRow> before = {stored("ONE")};
  writeList(before);
  struct Case {
    const char* name;
    std::string code;
  };
  const std::vector<Case> cases = {
      {"parent directory", ".."},
      {"current directory", "."},
      {"path outside", "../outside"},
      {"nested path", "sub/dir"},
      {"empty", ""},
      {"NUL character", std::string("X\0Y", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AdministrationSave result = save({stored("ONE"), added(c.code)});
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.message, unusableCodeMessage(c.code));
    EXPECT_EQ(readFile(listFile()), fileOf(before));
    EXPECT_FALSE(store_.isSetOpen());
  }
  EXPECT_FALSE(fileExists(dir_ / "outside"));
  EXPECT_FALSE(fileExists(base() + "sub"));
}

TEST_F(AdministrationListTest, AStoredEntryWithAStrangeCodeIsKeptWithoutADirectory) {
  // Written by some other tool: the entry is not lost, and nothing is made for it.
  const std::vector<AdministrationRow> rows = {stored("../odd"), added("NEWCO")};
  AdministrationSave result = save(rows);
  ASSERT_TRUE(result.opened);
  ASSERT_FALSE(result.refused);
  EXPECT_EQ(codesOf(readBack()), (std::vector<std::string>{"../odd", "NEWCO"}));
  EXPECT_FALSE(fileExists(dir_ / "odd"));
  EXPECT_TRUE(isDirectory(base() + "NEWCO"));
}

TEST_F(AdministrationListTest, ASaveThatCannotOpenTheListWritesAndMakesNothing) {
  const std::vector<AdministrationRow> before = {stored("ONE")};
  writeList(before);
  ::chmod(listFile().c_str(), 0444);
  AdministrationSave result;
  {
    AsUnprivilegedUser unprivileged;
    result = save({stored("ONE"), added("NEWCO")});
  }
  EXPECT_FALSE(result.opened);
  EXPECT_EQ(result.message, "IO errorcode: adm5  " + systemErrorText(kAccessDenied));
  EXPECT_EQ(readFile(listFile()), fileOf(before));
  EXPECT_FALSE(fileExists(base() + "NEWCO"));
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdministrationListTest, ADirectoryThatCannotBeMadeEndsTheSaveWithTheListUntouched) {
  const std::vector<AdministrationRow> before = {stored("ONE"), stored("TWO")};
  writeList(before);
  writeFile(base() + "CLASH", "a file where the directory would go");
  try {
    (void)save({stored("ONE"), added("FIRST"), added("CLASH"), stored("TWO")});
    FAIL() << "no IoError";
  } catch (const IoError& e) {
    EXPECT_EQ(e.code(), kOtherErrorBase + EEXIST);
    EXPECT_NE(std::string(e.what()).find(base() + "CLASH"), std::string::npos) << e.what();
  }
  EXPECT_EQ(readFile(listFile()), fileOf(before));
  EXPECT_EQ(readFile(base() + "CLASH"), "a file where the directory would go");
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(AdministrationListTest, DirectoriesGoBesideTheListInTheStoresBaseDataDirectory) {
  // The system settings name another base data directory than the default one.
  store_.baseDataDirectory = dir_ / "books/";
  ASSERT_FALSE(fileExists(store_.baseDataDirectory));
  AdministrationSave result = save({added("NEWCO")});
  ASSERT_TRUE(result.opened);
  EXPECT_TRUE(isDirectory(dir_ / "books/NEWCO"));
  EXPECT_EQ(readFile(dir_ / "books/admin.vlt"), fileOf(result.rows));
}

TEST_F(AdministrationListTest, AnEmptyListEmptiesTheFile) {
  writeList({stored("ONE")});
  std::filesystem::create_directories(base() + "ONE");
  AdministrationSave result = save({});
  ASSERT_TRUE(result.opened);
  EXPECT_EQ(readFile(listFile()), "");
  EXPECT_TRUE(isDirectory(base() + "ONE")) << "a dropped entry's directory stays on disk";
}

TEST_F(AdministrationListTest, ALongListKeepsEveryEntryInOrder) {
  std::vector<AdministrationRow> rows;
  for (int i = 0; i < 130; ++i)
    rows.push_back(i % 2 ? stored("CO" + std::to_string(i)) : added("CO" + std::to_string(i)));
  AdministrationSave result = save(rows);
  ASSERT_TRUE(result.opened);
  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 130u);
  for (std::size_t i = 0; i < back.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back[i].code, "CO" + std::to_string(i));
    EXPECT_EQ(back[i].creator, i % 2 ? "SYSTEM" : "ADMINISTRA");
  }
  EXPECT_TRUE(isDirectory(base() + "CO128"));
}

TEST_F(AdministrationListTest, SaveInsideAnOpenSetWritesThroughThatSet) {
  writeList({stored("ONE")});
  ASSERT_EQ(store_.OpenFileSet("USE;SYS;ADM;LAN;INS"), RecordStore::kOk);
  AdministrationSave result = save({stored("ONE"), added("NEWCO")});
  ASSERT_TRUE(result.opened);
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_EQ(store_.nestingDepth(), 0);
  store_.CloseFileSet();
  EXPECT_EQ(codesOf(readBack()), (std::vector<std::string>{"ONE", "NEWCO"}));
}

}  // namespace
}  // namespace tallymoor
