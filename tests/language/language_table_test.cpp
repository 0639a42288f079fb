#include "tools/language_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tallymoor {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

const std::string kNames = "0\t21\tEnglish\tNederlands\tDeutsch\tFrançais\tlanguage name";

// A table of the header and the given rows, one per line.
std::string tableOf(const std::vector<std::string>& rows) {
  std::string text = std::string(kTableHeader) + "\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

// A row whose four language cells all hold `text`.
std::string row(const std::string& offset, const std::string& span, const std::string& text) {
  return offset + "\t" + span + "\t" + text + "\t" + text + "\t" + text + "\t" + text + "\tnote";
}

TEST(LanguageTable, RejectsEachKindOfFaultWithAMessageNamingIt) {
  struct Case {
    const char* name;
    std::string table;
    std::vector<std::string> fragments;  // all of them in one message
  };
  const Case cases[] = {
      {"text longer than its span",
       tableOf({kNames, "21\t5\tFile\tBest\tDatei\tFichier\tn"}),
       {"offset 21", "Français", "\"Fichier\"", "7 bytes", "span 5 holds at most 4"}},
      {"text longer than a length byte can count",
       tableOf({kNames, row("21", "400", std::string(256, 'x'))}),
       {"offset 21", "English", "256 bytes", "at most 255"}},
      {"character outside Windows-1252",
       tableOf({kNames, "21\t11\tFile\tBestand\tDatei ≥\tFichier\tn"}),
       {"offset 21", "Deutsch", "\"Datei ≥\"", "U+2265", "Windows-1252 cannot hold"}},
      {"character beyond the basic plane",
       tableOf({kNames, "21\t11\tFile 😀\tBestand\tDatei\tFichier\tn"}),
       {"offset 21", "English", "U+1F600"}},
      {"control character",
       tableOf({kNames, row("21", "11", "a\x01z")}),
       {"offset 21", "control character U+0001"}},
      {"C1 control character",
       tableOf({kNames, row("21", "11", "a\xC2\x81z")}),
       {"offset 21", "control character U+0081"}},
      {"bytes that are not UTF-8",
       tableOf({kNames, row("21", "11", "a\xFFz")}),
       {"offset 21", "not UTF-8"}},
      {"offsets out of order",
       tableOf({kNames, row("40", "5", "b"), row("30", "5", "a")}),
       {"line 4: offset 30", "after offset 40", "offsets must ascend"}},
      {"an offset repeated",
       tableOf({kNames, row("30", "5", "a"), row("30", "5", "b")}),
       {"offset 30 does not come after offset 30"}},
      {"span overlapping the next offset",
       tableOf({kNames, row("21", "12", "File"), row("32", "5", "New")}),
       {"offset 21 with span 12 overlaps the next offset 32"}},
      {"span past the end of the record",
       tableOf({kNames, row("11350", "5", "a")}),
       {"offset 11350 with span 5", "past the end of the 11354-byte record"}},
      {"zero span", tableOf({kNames, row("21", "0", "")}), {"offset 21", "span \"0\""}},
      {"offset that is not a number",
       tableOf({kNames, row("2l", "5", "a")}),
       {"offset \"2l\" is not a number"}},
      {"row with a missing cell",
       tableOf({kNames, "21\t11\tFile\tBestand\tDatei\tFichier"}),
       {"line 3", "6 cells, expected 7"}},
      {"unknown escape", tableOf({kNames, row("21", "11", "a\\qb")}), {"offset 21", "backslash"}},
      {"language name that is not the column's",
       tableOf({"0\t21\tEnglish\tDutch\tDeutsch\tFrançais\tn"}),
       {"offset 0", "Nederlands", "\"Dutch\""}},
      {"no language names", tableOf({row("21", "11", "File")}), {"no row at offset 0"}},
      {"wrong header", "offset\tspan\tEnglish\tDeutsch\n" + kNames + "\n", {"line 1: header"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LanguageTable table = parseLanguageTable(c.table);
    EXPECT_FALSE(table.ok());
    EXPECT_TRUE(std::any_of(table.errors.begin(), table.errors.end(),
                            [&](const std::string& error) {
                              return std::all_of(c.fragments.begin(), c.fragments.end(),
                                                 [&](const std::string& fragment) {
                                                   return error.find(fragment) != error.npos;
                                                 });
                            }))
        << ::testing::PrintToString(table.errors);
  }
}

TEST(LanguageTable, ReportsEveryFaultNotOnlyTheFirst) {
  LanguageTable table = parseLanguageTable(
      tableOf({kNames, "21\t5\tFile\tBestand\tDatei ≥\tFichier\tn", row("24", "3", "a")}));
  EXPECT_THAT(table.errors, Contains(HasSubstr("Nederlands: text \"Bestand\"")));
  EXPECT_THAT(table.errors, Contains(HasSubstr("U+2265")));
  EXPECT_THAT(table.errors, Contains(HasSubstr("Français: text \"Fichier\"")));
  EXPECT_THAT(table.errors, Contains(HasSubstr("overlaps the next offset 24")));
}

TEST(LanguageTable, AcceptsTextsThatJustFitAndSpansThatJustTouch) {
  // "Français" is 9 bytes in UTF-8 but 8 in Windows-1252: a span of 9 holds it.
  LanguageTable table = parseLanguageTable(tableOf({
      "# a comment line",
      kNames,
      "21\t9\tEnglish\tFrançais\t€ 100,00\tÀ été\tfits exactly",
      "",
      "30\t2\ta\tb\tc\td\tends where the next starts",
      row("11350", "4", "xyz") + "\r",
  }));
  ASSERT_TRUE(table.ok()) << ::testing::PrintToString(table.errors);
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.rows[1].line, 4u);
  EXPECT_EQ(table.rows[1].texts[1],
            "Fran\xE7"
            "ais");
  EXPECT_EQ(table.rows[1].texts[2], "\x80 100,00");
  EXPECT_EQ(table.rows[1].texts[3], "\xC0 \xE9t\xE9");
  EXPECT_EQ(table.rows[1].note, "fits exactly");
  EXPECT_EQ(table.rows[3].offset, 11350u);
  EXPECT_EQ(table.rows[3].texts[0], "xyz");  // the carriage return is not part of the row
  EXPECT_EQ(table.rows[3].note, "note");
}

TEST(LanguageTable, ResolvesEscapesAndKeepsBlanks) {
  LanguageTable table = parseLanguageTable(
      tableOf({kNames, "21\t20\tline 1\\nline 2\ta\\tb\t c:\\\\data \t\ttabs and blanks"}));
  ASSERT_TRUE(table.ok()) << ::testing::PrintToString(table.errors);
  const LanguageTableRow& escaped = table.rows[1];
  EXPECT_EQ(escaped.texts[0], "line 1\nline 2");
  EXPECT_EQ(escaped.texts[1], "a\tb");
  EXPECT_EQ(escaped.texts[2], " c:\\data ");
  EXPECT_EQ(escaped.texts[3], "");
}

TEST(LanguageTable, AMissingFileIsOneError) {
  LanguageTable table = readLanguageTable("/nonexistent/language_texts.tsv");
  EXPECT_THAT(table.errors, ::testing::ElementsAre(HasSubstr("/nonexistent/language_texts.tsv")));
}

}  // namespace
}  // namespace tallymoor
