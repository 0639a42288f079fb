#include "tools/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/language_table.h"

namespace tallymoor {
namespace {

namespace fs = std::filesystem;

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("language_file_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    table_ = parseLanguageTable(std::string(kTableHeader) +
                                "\n"
                                "0\t21\tEnglish\tNederlands\tDeutsch\tFrançais\tnames\n"
                                "21\t11\tFile\tBestand\tDatei\tFichier\tfile menu\n"
                                "32\t22\t\t\t\t\tleft empty\n"
                                "54\t300\tSave\tOpslaan\tSpeichern\tEnregistrer\twide span\n");
    ASSERT_TRUE(table_.ok()) << ::testing::PrintToString(table_.errors);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  LanguageTable table_;
};

TEST_F(LanguageFileTest, OneRecordPerLanguageWithEachTextAtItsOffset) {
  std::vector<LanguageRecord> records = buildLanguageRecords(table_);
  ASSERT_EQ(records.size(), 4u);
  const char* files[] = {"File", "Bestand", "Datei", "Fichier"};
  const char* saves[] = {"Save", "Opslaan", "Speichern", "Enregistrer"};
  for (std::size_t language = 0; language < records.size(); ++language) {
    SCOPED_TRACE(kTableLanguages[language]);
    const Bytes& bytes = records[language].encode();
    ASSERT_EQ(bytes.size(), LanguageRecord::kSize);
    EXPECT_EQ(records[language].textAt(21), files[language]);
    EXPECT_EQ(records[language].textAt(32), "");
    EXPECT_EQ(records[language].textAt(54), saves[language]);
    // Only the length bytes and the characters are set; the rest of the record is zero.
    std::size_t used = 0;
    for (std::size_t offset : {0, 21, 32, 54}) used += bytes[offset] + (bytes[offset] ? 1 : 0);
    EXPECT_EQ(LanguageRecord::kSize - std::count(bytes.begin(), bytes.end(), 0), used);
  }
  EXPECT_EQ(records[3].name(),
            "Fran\xE7"
            "ais");  // stored in Windows-1252
}

TEST_F(LanguageFileTest, WritesTheRecordsOneAfterTheOther) {
  std::vector<LanguageRecord> records = buildLanguageRecords(table_);
  std::string path = (dir_ / "vlt010005.lan").string();
  ASSERT_EQ(writeLanguageFile(path, records), "");

  std::ifstream in(path, std::ios::binary);
  Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 4 * LanguageRecord::kSize);
  for (std::size_t language = 0; language < records.size(); ++language) {
    SCOPED_TRACE(kTableLanguages[language]);
    Bytes stored(file.begin() + language * LanguageRecord::kSize,
                 file.begin() + (language + 1) * LanguageRecord::kSize);
    EXPECT_EQ(stored, records[language].encode());
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
      << "no partial file may stay behind";
}

TEST_F(LanguageFileTest, RewritingReplacesTheWholeFile) {
  std::string path = (dir_ / "vlt010005.lan").string();
  std::ofstream(path) << std::string(5 * LanguageRecord::kSize, 'x');
  ASSERT_EQ(writeLanguageFile(path, buildLanguageRecords(table_)), "");
  EXPECT_EQ(fs::file_size(path), 4 * LanguageRecord::kSize);
}

TEST_F(LanguageFileTest, AnUnwritableDirectoryIsAnErrorAndLeavesNoFile) {
  std::string path = (dir_ / "missing" / "vlt010005.lan").string();
  std::string error = writeLanguageFile(path, buildLanguageRecords(table_));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

}  // namespace
}  // namespace tallymoor
