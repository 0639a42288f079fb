#include "tools/language_table.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "record-store/windows1252.h"
#include "records/language_record.h"

namespace tallymoor {
namespace {

constexpr std::size_t kCellCount = 3 + kTableLanguages.size();
constexpr std::size_t kLongestText = 255;  // a length byte cannot count more

std::vector<std::string_view> splitCells(std::string_view line) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
       tab = line.find('\t', start)) {
    cells.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  cells.push_back(line.substr(start));
  return cells;
}

bool parseNumber(std::string_view cell, std::size_t& value) {
  if (cell.empty()) return false;
  auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  return ec == std::errc() && end == cell.data() + cell.size();
}

// The text of a cell with its escapes resolved; false for a backslash that starts no escape.
bool unescape(std::string_view cell, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] != '\\') {
      out.push_back(cell[i]);
      continue;
    }
    if (i + 1 == cell.size()) return false;
    switch (cell[++i]) {
      case 't':
        out.push_back('\t');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case '\\':
        out.push_back('\\');
        break;
      default:
        return false;
    }
  }
  return true;
}

std::string codePointName(std::string_view sequence) {
  auto lead = static_cast<unsigned char>(sequence[0]);
  char32_t cp = sequence.size() == 1 ? lead : lead & (0x7F >> sequence.size());
  for (std::size_t k = 1; k < sequence.size(); ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
  return name;
}

// Converts one text to Windows-1252 without any stand-in character: every UTF-8 sequence
// must map to one byte that maps back to the same sequence. Tab and line feed are the only
// control characters a caption may hold. Returns an empty fault on success.
std::string toWindows1252Strictly(std::string_view utf8, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    bool complete = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; complete && k < length; ++k)
      complete = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    if (!complete) return "a byte sequence that is not UTF-8";
    std::string_view sequence = utf8.substr(i, length);
    std::string single = utf8ToWindows1252(sequence);
    if (single.size() != 1 || windows1252ToUtf8(single) != sequence)
      return "the character " + codePointName(sequence) + " '" + std::string(sequence) +
             "', which Windows-1252 cannot hold";
    auto byte = static_cast<unsigned char>(single[0]);
    bool control = (byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F ||
                   (length == 2 && byte >= 0x80 && byte < 0xA0);
    if (control) return "the control character " + codePointName(sequence);
    out.push_back(single[0]);
    i += length;
  }
  return {};
}

std::string where(std::size_t line, std::size_t offset) {
  return "line " + std::to_string(line) + ": offset " + std::to_string(offset);
}

void checkText(LanguageTableRow& row, std::size_t language, std::string_view cell,
               std::vector<std::string>& errors) {
  std::string prefix = where(row.line, row.offset) + ", " + std::string(kTableLanguages[language]) +
                       ": text \"" + std::string(cell) + "\"";
  std::string text;
  if (!unescape(cell, text)) {
    errors.push_back(prefix + " has a backslash that is not one of \\t, \\n, \\\\");
    return;
  }
  std::string fault = toWindows1252Strictly(text, row.texts[language]);
  if (!fault.empty()) {
    errors.push_back(prefix + " holds " + fault);
    return;
  }
  std::size_t room = std::min(row.span - 1, kLongestText);
  std::size_t length = row.texts[language].size();
  if (length > room)
    errors.push_back(prefix + " is " + std::to_string(length) + " bytes in Windows-1252; span " +
                     std::to_string(row.span) + " holds at most " + std::to_string(room));
}

// Parses one row; returns false when the row is too broken to check further.
bool parseRow(std::string_view line, std::size_t lineNumber, LanguageTableRow& row,
              std::vector<std::string>& errors) {
  std::vector<std::string_view> cells = splitCells(line);
  std::string at = "line " + std::to_string(lineNumber);
  if (cells.size() != kCellCount) {
    errors.push_back(at + ": " + std::to_string(cells.size()) + " cells, expected " +
                     std::to_string(kCellCount) + " separated by tabs");
    return false;
  }
  row.line = lineNumber;
  if (!parseNumber(cells[0], row.offset)) {
    errors.push_back(at + ": offset \"" + std::string(cells[0]) + "\" is not a number");
    return false;
  }
  if (!parseNumber(cells[1], row.span) || row.span == 0) {
    errors.push_back(where(lineNumber, row.offset) + ": span \"" + std::string(cells[1]) +
                     "\" is not a number of at least 1");
    return false;
  }
  if (row.offset + row.span > LanguageRecord::kSize)
    errors.push_back(where(lineNumber, row.offset) + " with span " + std::to_string(row.span) +
                     " runs past the end of the " + std::to_string(LanguageRecord::kSize) +
                     "-byte record");
  for (std::size_t language = 0; language < kTableLanguages.size(); ++language)
    checkText(row, language, cells[2 + language], errors);
  row.note = std::string(cells.back());
  return true;
}

void checkOrder(const LanguageTableRow& previous, const LanguageTableRow& row,
                std::vector<std::string>& errors) {
  if (row.offset <= previous.offset)
    errors.push_back(where(row.line, row.offset) + " does not come after offset " +
                     std::to_string(previous.offset) + " of line " + std::to_string(previous.line) +
                     ": offsets must ascend");
  else if (previous.offset + previous.span > row.offset)
    errors.push_back(where(previous.line, previous.offset) + " with span " +
                     std::to_string(previous.span) + " overlaps the next offset " +
                     std::to_string(row.offset) + " (line " + std::to_string(row.line) + ")");
}

void checkLanguageNames(const LanguageTable& table, std::vector<std::string>& errors) {
  auto first = std::find_if(table.rows.begin(), table.rows.end(),
                            [](const LanguageTableRow& row) { return row.offset == 0; });
  if (first == table.rows.end()) {
    errors.push_back("no row at offset 0: the language names are missing");
    return;
  }
  for (std::size_t language = 0; language < kTableLanguages.size(); ++language) {
    std::string name = windows1252ToUtf8(first->texts[language]);
    if (name != kTableLanguages[language])
      errors.push_back(where(first->line, 0) + ", " + std::string(kTableLanguages[language]) +
                       ": text \"" + name + "\" must be the column's language name \"" +
                       std::string(kTableLanguages[language]) + "\"");
  }
}

}  // namespace

LanguageTable parseLanguageTable(std::string_view utf8Table) {
  LanguageTable table;
  bool headerSeen = false;
  std::size_t lineNumber = 0;
  for (std::size_t start = 0; start < utf8Table.size();) {
    std::size_t end = utf8Table.find('\n', start);
    if (end == std::string_view::npos) end = utf8Table.size();
    std::string_view line = utf8Table.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (!headerSeen) {
      headerSeen = true;
      if (line != kTableHeader)
        table.errors.push_back("line " + std::to_string(lineNumber) + ": header \"" +
                               std::string(line) + "\", expected \"" + std::string(kTableHeader) +
                               "\"");
      continue;
    }
    LanguageTableRow row;
    if (!parseRow(line, lineNumber, row, table.errors)) continue;
    if (!table.rows.empty()) checkOrder(table.rows.back(), row, table.errors);
    table.rows.push_back(std::move(row));
  }
  if (!headerSeen) table.errors.push_back("the table has no header line");
  checkLanguageNames(table, table.errors);
  return table;
}

LanguageTable readLanguageTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    LanguageTable table;
    table.errors.push_back("cannot read the language table " + path);
    return table;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parseLanguageTable(text.str());
}

}  // namespace tallymoor
