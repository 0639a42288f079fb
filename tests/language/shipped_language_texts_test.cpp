// The table that the build turns into the shipped "vlt010005.lan".

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "record-store/windows1252.h"
#include "tools/language_file.h"
#include "tools/language_table.h"

namespace tallymoor {
namespace {

class ShippedLanguageTexts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    table_ = new LanguageTable(
        readLanguageTable(TALLYMOOR_SOURCE_DIR "/src/startup/language/language_texts.tsv"));
    for (const LanguageTableRow& row : table_->rows) byOffset_[row.offset] = &row;
  }
  static void TearDownTestSuite() {
    delete table_;
    table_ = nullptr;
    byOffset_.clear();
  }

  // The text at `offset` in language column `language`, as UTF-8.
  static std::string text(std::size_t offset, std::size_t language) {
    auto row = byOffset_.find(offset);
    if (row == byOffset_.end()) {
      ADD_FAILURE() << "no row at offset " << offset;
      return {};
    }
    return windows1252ToUtf8(row->second->texts[language]);
  }

  static LanguageTable* table_;
  static std::map<std::size_t, const LanguageTableRow*> byOffset_;
};

LanguageTable* ShippedLanguageTexts::table_ = nullptr;
std::map<std::size_t, const LanguageTableRow*> ShippedLanguageTexts::byOffset_;

TEST_F(ShippedLanguageTexts, PassesTheChecksAndCoversTheWholeRecord) {
  ASSERT_TRUE(table_->ok()) << ::testing::PrintToString(table_->errors);
  // Each span reaches exactly to the next text: a gap would be a text the table lost.
  std::size_t expected = 0;
  for (const LanguageTableRow& row : table_->rows) {
    EXPECT_EQ(row.offset, expected) << "line " << row.line;
    expected = row.offset + row.span;
  }
  EXPECT_EQ(expected, LanguageRecord::kSize);
}

TEST_F(ShippedLanguageTexts, YieldsFourRecordsNamedByTheirLanguage) {
  ASSERT_TRUE(table_->ok());
  std::vector<LanguageRecord> records = buildLanguageRecords(*table_);
  ASSERT_EQ(records.size(), 4u);
  const char* names[] = {"English", "Nederlands", "Deutsch", "Français"};
  for (std::size_t language = 0; language < 4; ++language) {
    SCOPED_TRACE(names[language]);
    EXPECT_EQ(windows1252ToUtf8(records[language].name()), names[language]);
    for (std::size_t offset : {21, 446, 453, 1261, 5832, 8706, 8998, 11243})
      EXPECT_EQ(windows1252ToUtf8(records[language].textAt(offset)), text(offset, language))
          << "offset " << offset;
  }
  const char* yes[] = {"Yes", "Ja", "Ja", "Oui"};
  const char* no[] = {"No", "Nee", "Nein", "Non"};
  for (std::size_t language = 0; language < 4; ++language) {
    EXPECT_EQ(windows1252ToUtf8(records[language].textAt(446)), yes[language]);
    EXPECT_EQ(windows1252ToUtf8(records[language].textAt(453)), no[language]);
  }
}

TEST_F(ShippedLanguageTexts, EveryUsedTextIsFilledIn) {
  for (const LanguageTableRow& row : table_->rows) {
    bool reserved = row.note.rfind("reserved", 0) == 0;
    for (std::size_t language = 0; language < 4; ++language)
      EXPECT_EQ(row.texts[language].empty(), reserved)
          << "offset " << row.offset << ", " << kTableLanguages[language];
  }
}

// The program finds a menu entry, a type or a kind by its caption, so these texts must
// differ from each other within one language.
TEST_F(ShippedLanguageTexts, TextsTheProgramTellsApartDiffer) {
  struct Group {
    const char* name;
    std::vector<std::size_t> offsets;
    bool ignoreCase;
  };
  std::vector<std::size_t> designations;
  for (std::size_t slot = 0; slot < 14; ++slot) designations.push_back(2891 + 31 * slot);
  const Group groups[] = {
      {"main menu entries and groups",
       {550, 633, 711, 852, 870, 919, 944, 965, 996, 1027, 1058, 1079, 1110, 1133, 1159},
       false},
      {"journal save button: add and change", {424, 460}, false},
      {"yes and no of the rights columns", {446, 453}, false},
      {"GL account types", {2476, 2502, 2454, 2465}, false},
      {"GL category kinds", {2255, 2284}, false},
      {"partner and payment kinds", {5832, 5817, 4515, 4498}, true},
      {"GL account designations", designations, false},
  };
  for (const Group& group : groups) {
    SCOPED_TRACE(group.name);
    for (std::size_t language = 0; language < 4; ++language) {
      std::set<std::string> seen;
      for (std::size_t offset : group.offsets) {
        std::string caption = text(offset, language);
        if (group.ignoreCase)
          std::transform(caption.begin(), caption.end(), caption.begin(),
                         [](unsigned char c) { return std::tolower(c); });
        EXPECT_TRUE(seen.insert(caption).second) << kTableLanguages[language] << ": \"" << caption
                                                 << "\" at offset " << offset << " is used twice";
      }
    }
  }
}

TEST_F(ShippedLanguageTexts, FitTheNarrowerPlacesTheyAreCopiedTo) {
  // The help block keeps file, exit and the help title as string[10], cancel as string[12].
  const std::pair<std::size_t, std::size_t> helpBlock[] = {
      {21, 10}, {123, 10}, {306, 12}, {7631, 10}};
  for (std::size_t language = 0; language < 4; ++language)
    for (auto [offset, width] : helpBlock)
      EXPECT_LE(byOffset_.at(offset)->texts[language].size(), width)
          << "offset " << offset << ", " << kTableLanguages[language];
}

TEST_F(ShippedLanguageTexts, OverwriteQuestionIsAFormatWithOneFileName) {
  for (std::size_t language = 0; language < 4; ++language) {
    std::string question = text(8706, language);
    std::size_t first = question.find("%s");
    EXPECT_NE(first, std::string::npos) << question;
    EXPECT_EQ(question.find('%', first + 1), std::string::npos) << question;
  }
}

}  // namespace
}  // namespace tallymoor
