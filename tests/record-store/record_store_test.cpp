#include "record-store/record_store.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "record-store/system_error.h"
#include "records/administration_record.h"
#include "records/system_parameters_record.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::fileExists;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

// A start directory with its record store; the administration directory "ADM1/" below the
// base data directory exists.
class RecordStoreTest : public ::testing::Test {
 protected:
  RecordStoreTest() : store(start.path()) {
    std::filesystem::create_directories(start / "data/ADM1");
    store.administrationDirectory = start / "data/ADM1/";
  }

  std::vector<FileCode> openCodes() const {
    std::vector<FileCode> result;
    for (const auto& spec : fileRegistry())
      if (store.isOpen(spec.code)) result.push_back(spec.code);
    return result;
  }

  TempDirectory start;
  RecordStore store;
};

TEST_F(RecordStoreTest, OpenSetsNameTheirCodesWithAnySeparator) {
  writeFile(start / "data/ADM1/report.rtf", "{\\rtf1 x}");
  store.TextFileName = "report.rtf";
  using enum FileCode;
  struct Case {
    const char* name;
    const char* set;
    std::vector<FileCode> opened;
  };
  const Case cases[] = {
      {"mixed separators", "FRZ;RAP;JVO;GLA,GLC", {GLA, GLC, JVO, FRZ, RAP}},
      {"unknown code is ignored", "XYZ;GLA", {GLA}},
      {"trailing separator is optional", "SYS;LAN;INS;", {SYS, INS, LAN}},
      {"no trailing separator", "SYS;LAN;INS", {SYS, INS, LAN}},
      {"lower case is no code", "gla;GLC", {GLC}},
      {"empty set still opens a set", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(store.OpenFileSet(c.set), RecordStore::kOk) << store.FileErrorText;
    EXPECT_TRUE(store.isSetOpen());
    EXPECT_EQ(openCodes(), c.opened);
    store.CloseFileSet();
    EXPECT_FALSE(store.isSetOpen());
    EXPECT_TRUE(openCodes().empty());
    store.administrationDirectory = start / "data/ADM1/";
  }
}

TEST_F(RecordStoreTest, MissingRecordFilesAreCreatedEmpty) {
  ASSERT_EQ(store.OpenFileSet("GLA;USE"), RecordStore::kOk);
  EXPECT_EQ(store.file(FileCode::GLA).size(), 0u);
  store.CloseFileSet();
  EXPECT_TRUE(fileExists(start / "data/ADM1/ledger.vlt"));
  EXPECT_TRUE(fileExists(start / "user.vlt"));
  EXPECT_EQ(std::filesystem::file_size(start / "data/ADM1/ledger.vlt"), 0u);
}

TEST_F(RecordStoreTest, AnOpenInsideAnOpenSetOnlyCountsANestingLevel) {
  ASSERT_EQ(store.OpenFileSet("ADM"), RecordStore::kOk);
  ASSERT_EQ(store.OpenFileSet("GLA"), RecordStore::kOk);
  EXPECT_FALSE(store.isOpen(FileCode::GLA));
  EXPECT_EQ(store.nestingDepth(), 1);
  store.CloseFileSet();
  EXPECT_TRUE(store.isOpen(FileCode::ADM));
  store.CloseFileSet();
  EXPECT_FALSE(store.isOpen(FileCode::ADM));
  EXPECT_FALSE(store.isSetOpen());
  store.CloseFileSet();  // nothing open: harmless
  EXPECT_FALSE(store.isSetOpen());
}

TEST_F(RecordStoreTest, AMissingAdministrationDirectoryFailsWithPathNotFound) {
  store.administrationDirectory = start / "data/NOPE/";
  struct Case {
    const char* name;
    const char* set;
    std::string text;
  };
  const Case cases[] = {
      {"first file of the set in that directory", "GLA", "IO errorcode: GLA3"},
      {"fixed order, not the order of the set", "GLC;USE;JVO;GLA", "IO errorcode: GLA3"},
      {"the release flags name the path", "GLA;FLG",
       "IO errorcode: FLG3 " + (start / "data/NOPE/releaseflag.vlt")},
      {"lower-case texts of later codes", "FRZ", "IO errorcode: frz3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(store.OpenFileSet(c.set), RecordStore::kError);
    EXPECT_EQ(store.FileErrorText, c.text);
    EXPECT_EQ(store.FileErrorCode, kPathNotFound);
    EXPECT_FALSE(store.isSetOpen());
    EXPECT_TRUE(openCodes().empty());
  }
  EXPECT_FALSE(fileExists(start / "user.vlt")) << "USE comes after GLA and is never reached";
  EXPECT_EQ(store.openFailureMessage(), "IO errorcode: frz3  " + systemErrorText(kPathNotFound));
}

TEST_F(RecordStoreTest, AReadOnlyFileIsAccessDenied) {
  writeFile(start / "user.vlt", "");
  ::chmod((start / "user.vlt").c_str(), 0444);
  AsUnprivilegedUser unprivileged;
  EXPECT_EQ(store.OpenFileSet("USE;SYS"), RecordStore::kError);
  EXPECT_EQ(store.FileErrorText, "IO errorcode: USE5");
  EXPECT_EQ(store.FileErrorCode, kAccessDenied);
  EXPECT_FALSE(store.isSetOpen());
  EXPECT_FALSE(store.isOpen(FileCode::SYS)) << "SYS opened before USE is closed again";
}

TEST_F(RecordStoreTest, TextFilesAreNotCreatedAndSayWhatIsMissing) {
  store.TextFileName = "helpenglish.rtf";
  EXPECT_EQ(store.OpenFileSet("HEN"), RecordStore::kError);
  EXPECT_EQ(store.FileErrorText, "IO errorcode: hen2 " + systemErrorText(kFileNotFound));
  EXPECT_FALSE(fileExists(start / "helpenglish.rtf"));

  store.TextFileName = "journaltemplate.rtf";
  EXPECT_EQ(store.OpenFileSet("RAP"), RecordStore::kError);
  EXPECT_EQ(store.FileErrorText, "No report template available.(journaltemplate.rtf)");
  EXPECT_FALSE(store.isSetOpen());
}

TEST_F(RecordStoreTest, ReportTemplatesAreTakenFromTheAdministrationFirst) {
  writeFile(start / "journaltemplate.rtf", "installation\r\nline 2");
  store.TextFileName = "journaltemplate.rtf";
  ASSERT_EQ(store.OpenFileSet("RAP"), RecordStore::kOk);
  EXPECT_EQ(store.textFile().readLine(), "installation");
  EXPECT_EQ(store.textFile().readLine(), "line 2");
  EXPECT_TRUE(store.textFile().eof());
  store.CloseFileSet();

  writeFile(start / "data/ADM1/journaltemplate.rtf", "own");
  ASSERT_EQ(store.OpenFileSet("RAP"), RecordStore::kOk);
  EXPECT_EQ(store.textFile().readLine(), "own");
  store.CloseFileSet();
}

TEST_F(RecordStoreTest, SystemParametersSetTheDataDirectories) {
  SystemParametersRecord sys;
  sys.directory = "/somewhere/books/";
  ASSERT_EQ(store.OpenFileSet("SYS"), RecordStore::kOk);
  store.file(FileCode::SYS).write(sys.encode());
  store.CloseFileSet();

  RecordStore fresh(start.path());
  ASSERT_EQ(fresh.OpenFileSet("SYS"), RecordStore::kOk);
  EXPECT_EQ(fresh.baseDataDirectory, "/somewhere/books/");
  EXPECT_EQ(fresh.administrationDirectory, "/somewhere/books/");
  EXPECT_EQ(fresh.file(FileCode::SYS).position(), 0u);
  fresh.CloseFileSet();

  // An empty directory field falls back to the start directory's data directory.
  sys.directory.clear();
  ASSERT_EQ(fresh.OpenFileSet("SYS"), RecordStore::kOk);
  fresh.file(FileCode::SYS).writeAt(0, sys.encode());
  fresh.CloseFileSet();
  fresh.administrationDirectory = "/elsewhere/";
  ASSERT_EQ(fresh.OpenFileSet("SYS"), RecordStore::kOk);
  EXPECT_EQ(fresh.baseDataDirectory, start / "data/");
  EXPECT_EQ(fresh.administrationDirectory, start / "data/");
  fresh.CloseFileSet();
}

TEST_F(RecordStoreTest, AnEmptySystemFileLeavesTheDirectoriesAlone) {
  store.baseDataDirectory = "/kept/";
  ASSERT_EQ(store.OpenFileSet("SYS"), RecordStore::kOk);
  EXPECT_EQ(store.baseDataDirectory, "/kept/");
  store.CloseFileSet();
}

TEST_F(RecordStoreTest, TheAdministrationListMovesOnceIntoTheBaseDataDirectory) {
  std::filesystem::remove_all(start / "data");
  std::string old;
  for (const char* code : {"ONE", "TWO", "THREE"}) {
    Bytes record = AdministrationRecord{code, std::string("Name ") + code, "", "", ""}.encode();
    old.append(record.begin(), record.end());
  }
  writeFile(start / "admin.vlt", old);

  ASSERT_EQ(store.OpenFileSet("ADM"), RecordStore::kOk) << store.FileErrorText;
  RecordFile& adm = store.file(FileCode::ADM);
  EXPECT_EQ(adm.position(), 0u);
  EXPECT_EQ(adm.readRecord<AdministrationRecord>().code, "ONE");
  store.CloseFileSet();

  EXPECT_FALSE(fileExists(start / "admin.vlt"));
  EXPECT_EQ(readFile(start / "data/admin.vlt"), old);

  // Neither file: created empty in the base data directory.
  std::filesystem::remove(start / "data/admin.vlt");
  ASSERT_EQ(store.OpenFileSet("ADM"), RecordStore::kOk);
  store.CloseFileSet();
  EXPECT_EQ(std::filesystem::file_size(start / "data/admin.vlt"), 0u);
}

TEST_F(RecordStoreTest, APartialTailIsNeverARecord) {
  writeFile(start / "data/ADM1/ledgerct.vlt", std::string(134 * 2 + 50, 'x'));
  ASSERT_EQ(store.OpenFileSet("GLC"), RecordStore::kOk);
  RecordFile& glc = store.file(FileCode::GLC);
  EXPECT_EQ(glc.size(), 2u);
  EXPECT_EQ(glc.readAll().size(), 2u);
  EXPECT_TRUE(glc.eof());
  EXPECT_THROW(glc.read(), IoError);
  store.CloseFileSet();
}

TEST_F(RecordStoreTest, RecordsAreWrittenReadAndCutInPlace) {
  ASSERT_EQ(store.OpenFileSet("INS"), RecordStore::kOk);
  RecordFile& ins = store.file(FileCode::INS);
  ins.rewriteAll({{2, 'N', 'L'}, {2, 'G', 'B'}, {2, 'D', 'U'}});
  EXPECT_EQ(ins.size(), 3u);
  ins.writeAt(1, {2, 'X', 'X'});
  ins.seek(2);
  ins.truncate();
  EXPECT_EQ(ins.size(), 2u);
  store.CloseFileSet();
  EXPECT_EQ(readFile(start / "ins.vlt"), std::string("\x02NL\x02XX", 6));

  ASSERT_EQ(store.OpenFileSet("INS"), RecordStore::kOk);
  store.file(FileCode::INS).rewriteAll({});
  store.CloseFileSet();
  EXPECT_EQ(std::filesystem::file_size(start / "ins.vlt"), 0u);
}

TEST_F(RecordStoreTest, AWriteThatFailsAfterTheOpenEndsTheActionAndClosesTheSet) {
  // A device that refuses every write: the open succeeds, the write does not.
  std::filesystem::create_symlink("/dev/full", start / "data/ADM1/ledger.vlt");
  auto action = [&] {
    FileSet set(store, "GLA;GLC");
    ASSERT_TRUE(set.ok());
    store.file(FileCode::GLA).write(Bytes(376, 1));
  };
  EXPECT_THROW(action(), IoError);
  EXPECT_FALSE(store.isSetOpen());
  EXPECT_TRUE(openCodes().empty());
  // The next open is a real one again, not a nested level.
  ASSERT_EQ(store.OpenFileSet("GLC"), RecordStore::kOk);
  EXPECT_TRUE(store.isOpen(FileCode::GLC));
  store.CloseFileSet();
}

TEST_F(RecordStoreTest, AFileThatIsNotOpenCannotBeReached) {
  EXPECT_THROW(store.file(FileCode::GLA), IoError);
  ASSERT_EQ(store.OpenFileSet("GLC"), RecordStore::kOk);
  EXPECT_THROW(store.file(FileCode::GLA), IoError);
  EXPECT_THROW(store.textFile(), IoError);
  store.CloseFileSet();
}

// Another process holds `path` locked for `seconds` and then ends.
pid_t holdLockInChildProcess(const std::string& path, double seconds) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    int fd = ::open(path.c_str(), O_RDWR);
    ::flock(fd, LOCK_EX);
    char byte = 1;
    (void)::write(ready[1], &byte, 1);
    ::usleep(static_cast<useconds_t>(seconds * 1e6));
    ::_exit(0);
  }
  char byte;
  (void)::read(ready[0], &byte, 1);
  ::close(ready[0]);
  ::close(ready[1]);
  return pid;
}

TEST_F(RecordStoreTest, AFileInUseByAnotherProcessIsRetriedForFiveSeconds) {
  writeFile(start / "user.vlt", "");
  using Clock = std::chrono::steady_clock;

  // Held for about a second: a later attempt succeeds.
  pid_t shortHolder = holdLockInChildProcess(start / "user.vlt", 1.0);
  auto began = Clock::now();
  EXPECT_EQ(store.OpenFileSet("SYS;USE"), RecordStore::kOk);
  EXPECT_GE(Clock::now() - began, std::chrono::milliseconds(500));
  EXPECT_TRUE(store.isOpen(FileCode::USE));
  store.CloseFileSet();
  ::waitpid(shortHolder, nullptr, 0);

  // Held longer than all attempts: "in use", and nothing stays open.
  pid_t longHolder = holdLockInChildProcess(start / "user.vlt", 7.0);
  began = Clock::now();
  EXPECT_EQ(store.OpenFileSet("SYS;USE"), RecordStore::kInUse);
  EXPECT_GE(Clock::now() - began, std::chrono::milliseconds(4800));
  EXPECT_EQ(store.FileErrorText, "File(s) in use, try again");
  EXPECT_FALSE(store.isSetOpen());
  EXPECT_TRUE(openCodes().empty());
  ::kill(longHolder, SIGKILL);
  ::waitpid(longHolder, nullptr, 0);
}

}  // namespace
}  // namespace tallymoor
