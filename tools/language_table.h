#pragma once
// The readable table of language texts: UTF-8, tab-separated, one row per text offset of
// the language record with its span and one column per language. Parsing checks every row
// against the record layout, so a table that would make a broken language file is refused
// with messages that name the line, the offset, the language and the text.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallymoor {

// The language columns, in the order in which their records stand in the language file.
inline constexpr std::array<std::string_view, 4> kTableLanguages = {"English", "Nederlands",
                                                                    "Deutsch", "Français"};

// The header line that every table starts with (after its comment lines).
inline constexpr std::string_view kTableHeader =
    "offset\tspan\tEnglish\tNederlands\tDeutsch\tFrançais\tnote";

struct LanguageTableRow {
  std::size_t line = 0;    // 1-based line of the row in the table text
  std::size_t offset = 0;  // byte offset of the text in the record
  std::size_t span = 0;    // bytes from the offset to the next text: length byte and characters
  std::array<std::string, kTableLanguages.size()> texts;  // Windows-1252, escapes resolved
  std::string note;
};

struct LanguageTable {
  std::vector<LanguageTableRow> rows;
  // Every fault found, one message each; the rows may only be used when there is none.
  std::vector<std::string> errors;
  bool ok() const { return errors.empty(); }
};

// Parses and checks a table. Lines starting with '#' and empty lines are skipped; in text
// cells \t, \n and \\ stand for a tab, a line feed and a backslash. Faults: a text longer than
// span - 1 (or 255) Windows-1252 bytes, a character without a Windows-1252 byte or a control
// character, offsets that do not ascend, a span that reaches past the next offset or the end
// of the record, language names at offset 0 that differ from the column names, and rows that
// are not seven cells with numeric offset and span.
LanguageTable parseLanguageTable(std::string_view utf8Table);

// Reads and parses a table file; a file that cannot be read gives one error.
LanguageTable readLanguageTable(const std::string& path);

}  // namespace tallymoor
