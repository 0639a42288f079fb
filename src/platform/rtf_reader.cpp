#include "platform/rtf_reader.h"

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rtf_format.h"
#include "record-store/windows1252.h"

namespace tallymoor {
namespace {

// Windows-1252 byte to UTF-16, taken once from the record store's codec.
const std::array<char16_t, 256>& windows1252Table() {
  static const std::array<char16_t, 256> table = [] {
    std::array<char16_t, 256> t{};
    for (int byte = 0; byte < 256; ++byte) {
      QString s =
          QString::fromStdString(windows1252ToUtf8(std::string(1, static_cast<char>(byte))));
      t[byte] = s.isEmpty() ? u'?' : s.at(0).unicode();
    }
    return t;
  }();
  return table;
}

enum class Kw {
  // Destinations.
  FontTable,
  ColorTable,
  SkipDestination,
  // Document.
  DefaultFont,
  UnicodeSkip,
  Unicode,
  PaperWidth,
  MarginLeft,
  MarginRight,
  // Characters.
  Par,
  Sect,
  Line,
  Tab,
  Page,
  Symbol,  // a character named by a control word (\endash); see kSymbols
  NestCell,
  NestRow,
  // Character formats.
  Plain,
  Bold,
  Italic,
  Underline,
  UnderlineNone,
  Strike,
  Hidden,
  Super,
  Sub,
  NoSuperSub,
  Font,
  FontSize,
  Foreground,
  Background,
  // Paragraph formats.
  Pard,
  AlignLeft,
  AlignCenter,
  AlignRight,
  AlignJustify,
  LeftIndent,
  RightIndent,
  FirstIndent,
  SpaceBefore,
  SpaceAfter,
  TabPosition,
  TabRight,
  TabCenter,
  TabDecimal,
  TabBar,
  InTable,
  TableLevel,
  PageBreakBefore,
  // Tables.
  RowDefaults,
  CellRight,
  Cell,
  Row,
  RowGap,
  RowLeft,
  RowAlignLeft,
  RowAlignCenter,
  RowAlignRight,
  CellBackground,
  CellBorderSide,
  RowBorderSide,
  ParagraphBorderSide,
  BorderNone,
  // Colour table.
  Red,
  Green,
  Blue,
};

constexpr std::string_view kUnderlines =
    "ul uld uldb ulw ulwave ulth uldash uldashd uldashdd ulhwave ulldash ulthd "
    "ulthdash ulthdashd ulthdashdd ulthldash ululdbwave";
constexpr std::string_view kCellBorderSides = "clbrdrt clbrdrl clbrdrb clbrdrr";
constexpr std::string_view kRowBorderSides = "trbrdrt trbrdrl trbrdrb trbrdrr trbrdrh trbrdrv";
constexpr std::string_view kParagraphBorderSides = "brdrt brdrl brdrb brdrr box brdrbtw brdrbar";

struct NamedCharacter {
  std::string_view word;
  char16_t character;
};
constexpr NamedCharacter kSymbols[] = {
    {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"emspace", u'\u2003'},
    {"enspace", u'\u2002'},   {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'}, {"zwj", u'\u200D'},     {"zwnj", u'\u200C'}};

// Destinations whose text is never shown. Any group that starts with \* is skipped as
// well; these are the ones that writers also emit without it.
constexpr std::string_view kSkippedDestinations =
    "info stylesheet pict header headerl headerr headerf footer footerl footerr "
    "footerf footnote listtable listoverridetable themedata colorschememapping "
    "latentstyles datastore xmlnstbl rsidtbl generator mmathPr fldinst annotation "
    "atnid atnauthor objdata objclass objname pn pntxta pntxtb revtbl filetbl "
    "template userprops shp shpinst nonshppict ftnsep ftnsepc aftnsep aftnsepc xe tc "
    "txe private pgdsctbl nonesttables nesttableprops bkmkstart bkmkend docvar "
    "comment title subject author operator keywords company doccomm background fchars "
    "lchars";

// Adds each blank-separated word of `words`.
void addWords(std::unordered_map<std::string_view, Kw>& map, std::string_view words, Kw kw) {
  while (!words.empty()) {
    const std::size_t blank = words.find(' ');
    const std::string_view word = words.substr(0, blank);
    if (!word.empty()) map.emplace(word, kw);
    words = blank == std::string_view::npos ? std::string_view() : words.substr(blank + 1);
  }
}

const std::unordered_map<std::string_view, Kw>& keywords() {
  static const std::unordered_map<std::string_view, Kw> map = [] {
    std::unordered_map<std::string_view, Kw> m = {
        {"fonttbl", Kw::FontTable},
        {"colortbl", Kw::ColorTable},
        {"deff", Kw::DefaultFont},
        {"uc", Kw::UnicodeSkip},
        {"u", Kw::Unicode},
        {"paperw", Kw::PaperWidth},
        {"margl", Kw::MarginLeft},
        {"margr", Kw::MarginRight},
        {"par", Kw::Par},
        {"sect", Kw::Sect},
        {"line", Kw::Line},
        {"tab", Kw::Tab},
        {"page", Kw::Page},
        {"nestcell", Kw::NestCell},
        {"nestrow", Kw::NestRow},
        {"plain", Kw::Plain},
        {"b", Kw::Bold},
        {"i", Kw::Italic},
        {"ulnone", Kw::UnderlineNone},
        {"strike", Kw::Strike},
        {"striked", Kw::Strike},
        {"v", Kw::Hidden},
        {"super", Kw::Super},
        {"sub", Kw::Sub},
        {"nosupersub", Kw::NoSuperSub},
        {"f", Kw::Font},
        {"fs", Kw::FontSize},
        {"cf", Kw::Foreground},
        {"cb", Kw::Background},
        {"highlight", Kw::Background},
        {"chcbpat", Kw::Background},
        {"pard", Kw::Pard},
        {"ql", Kw::AlignLeft},
        {"qc", Kw::AlignCenter},
        {"qr", Kw::AlignRight},
        {"qj", Kw::AlignJustify},
        {"qd", Kw::AlignJustify},
        {"li", Kw::LeftIndent},
        {"lin", Kw::LeftIndent},
        {"ri", Kw::RightIndent},
        {"rin", Kw::RightIndent},
        {"fi", Kw::FirstIndent},
        {"sb", Kw::SpaceBefore},
        {"sa", Kw::SpaceAfter},
        {"tx", Kw::TabPosition},
        {"tqr", Kw::TabRight},
        {"tqc", Kw::TabCenter},
        {"tqdec", Kw::TabDecimal},
        {"tb", Kw::TabBar},
        {"intbl", Kw::InTable},
        {"itap", Kw::TableLevel},
        {"pagebb", Kw::PageBreakBefore},
        {"trowd", Kw::RowDefaults},
        {"cellx", Kw::CellRight},
        {"cell", Kw::Cell},
        {"row", Kw::Row},
        {"trgaph", Kw::RowGap},
        {"trleft", Kw::RowLeft},
        {"trql", Kw::RowAlignLeft},
        {"trqc", Kw::RowAlignCenter},
        {"trqr", Kw::RowAlignRight},
        {"clcbpat", Kw::CellBackground},
        {"brdrnone", Kw::BorderNone},
        {"red", Kw::Red},
        {"green", Kw::Green},
        {"blue", Kw::Blue},
    };
    addWords(m, kUnderlines, Kw::Underline);
    addWords(m, kCellBorderSides, Kw::CellBorderSide);
    addWords(m, kRowBorderSides, Kw::RowBorderSide);
    addWords(m, kParagraphBorderSides, Kw::ParagraphBorderSide);
    for (const auto& symbol : kSymbols) m.emplace(symbol.word, Kw::Symbol);
    addWords(m, kSkippedDestinations, Kw::SkipDestination);
    return m;
  }();
  return map;
}

char16_t symbolCharacter(std::string_view word) {
  for (const auto& symbol : kSymbols)
    if (symbol.word == word) return symbol.character;
  return u'?';
}

// Character properties of a group. Fonts and colours are table numbers; -1 is the
// document's default font, colour 0 is "automatic".
struct CharState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  bool hidden = false;
  int verticalAlign = 0;  // 0 normal, 1 superscript, 2 subscript
  int font = -1;
  int halfPoints = 24;
  int foreground = 0;
  int background = 0;
  bool operator==(const CharState&) const = default;
};

struct TabStop {
  int twips;
  QTextOption::TabType type;
};

enum class Align { Left, Center, Right, Justify };

// Paragraph properties of a group; lengths in twips.
struct ParaState {
  Align alignment = Align::Left;
  int left = 0;
  int right = 0;
  int first = 0;
  int before = 0;
  int after = 0;
  std::vector<TabStop> tabs;
  QTextOption::TabType nextTabType = QTextOption::LeftTab;
  bool inTable = false;
  bool pageBreakBefore = false;
};

enum class Dest { Text, FontTable, ColorTable, Skip };

struct Group {
  CharState chars;
  ParaState para;
  Dest dest = Dest::Text;
  int unicodeSkip = 1;
};

struct Run {
  QString text;
  CharState chars;
};

struct Paragraph {
  ParaState para;
  CharState mark;  // the format of the paragraph mark: sets the height of an empty line
  std::vector<Run> runs;
  bool pageBreak = false;
};

struct CellDef {
  int right = 0;
  int background = 0;
};

enum class BorderTarget { None, Cell, Row, Paragraph };

struct RowDef {
  std::vector<CellDef> cells;
  int gap = 0;
  int left = 0;
  Align alignment = Align::Left;
  bool borders = false;
};

struct Cell {
  std::vector<Paragraph> paragraphs;
};

struct Row {
  std::vector<Cell> cells;
  RowDef def;
};

// Deeper nesting is counted but not stacked, so "{{{{..." cannot exhaust memory.
constexpr std::size_t kMaxGroupDepth = 4096;
constexpr int kMaxUnicodeSkip = 16;

class RtfParser {
 public:
  RtfParser(const QByteArray& rtf, QTextDocument& document)
      : p_(rtf.constData()),
        end_(rtf.constData() + rtf.size()),
        document_(document),
        cursor_(&document),
        bytes_(windows1252Table()) {
    stack_.emplace_back();
  }

  void run() {
    while (p_ < end_) {
      const char c = *p_++;
      switch (c) {
        case '{':
          openGroup();
          break;
        case '}':
          closeGroup();
          break;
        case '\\':
          controlSequence();
          break;
        case '\r':
        case '\n':
          break;
        case '\t':
          groupStart_ = false;
          if (!consumeSkip()) character(u'\t');
          break;
        default:
          groupStart_ = false;
          if (static_cast<unsigned char>(c) < 0x20) break;
          if (!consumeSkip()) character(bytes_[static_cast<unsigned char>(c)]);
          break;
      }
    }
    finish();
  }

 private:
  Group& top() { return stack_.back(); }

  bool consumeSkip() {
    if (skipCount_ == 0) return false;
    --skipCount_;
    return true;
  }

  void openGroup() {
    skipCount_ = 0;
    groupStart_ = true;
    if (stack_.size() >= kMaxGroupDepth) {
      ++overflowDepth_;
      return;
    }
    stack_.push_back(stack_.back());
  }

  void closeGroup() {
    skipCount_ = 0;
    groupStart_ = false;
    if (overflowDepth_ > 0) {
      --overflowDepth_;
      return;
    }
    // An unbalanced closing brace leaves the outermost state in place: reading goes on.
    if (stack_.size() <= 1) return;
    if (top().dest == Dest::FontTable && !fontName_.isEmpty()) commitFont();
    stack_.pop_back();
  }

  void controlSequence() {
    if (p_ >= end_) return;
    const char c = *p_;
    if (!isLetter(c)) {
      ++p_;
      controlSymbol(c);
      return;
    }
    const char* wordStart = p_;
    while (p_ < end_ && isLetter(*p_)) ++p_;
    std::string_view word(wordStart, static_cast<std::size_t>(p_ - wordStart));
    bool hasParam = false;
    long long param = 0;
    const bool negative = p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1]);
    if (negative) ++p_;
    while (p_ < end_ && isDigit(*p_)) {
      hasParam = true;
      if (param < INT_MAX) param = param * 10 + (*p_ - '0');
      ++p_;
    }
    if (p_ < end_ && *p_ == ' ') ++p_;
    param = std::min<long long>(param, INT_MAX);
    controlWord(word, hasParam, static_cast<int>(negative ? -param : param));
  }

  void controlSymbol(char c) {
    const bool atGroupStart = groupStart_;
    groupStart_ = false;
    if (c == '*') {
      if (atGroupStart) top().dest = Dest::Skip;
      return;
    }
    if (c == '\'') {
      int value = 0;
      int digits = 0;
      while (digits < 2 && p_ < end_ && hexValue(*p_) >= 0) {
        value = value * 16 + hexValue(*p_);
        ++p_;
        ++digits;
      }
      // A cut-off escape (end of file, or not two hex digits) is dropped.
      if (digits < 2 || consumeSkip()) return;
      if (value == '\t')
        character(u'\t');
      else if (value >= 0x20)
        character(bytes_[static_cast<unsigned char>(value)]);
      return;
    }
    if (consumeSkip()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        character(static_cast<char16_t>(c));
        break;
      case '~':
        character(u'\u00A0');
        break;
      case '-':
        character(u'\u00AD');
        break;
      case '_':
        character(u'\u2011');
        break;
      case '\t':
        character(u'\t');
        break;
      case '\r':
      case '\n':
        if (top().dest == Dest::Text) endParagraph();
        break;
      default:
        break;
    }
  }

  void controlWord(std::string_view word, bool hasParam, int param) {
    const bool atGroupStart = groupStart_;
    groupStart_ = false;
    if (word == "bin") {
      // Binary data: skipped raw, in every destination.
      if (hasParam && param > 0) p_ += std::min<long long>(param, end_ - p_);
      return;
    }
    if (consumeSkip()) return;
    Group& group = top();
    if (group.dest == Dest::Skip) return;
    const auto& map = keywords();
    auto found = map.find(word);
    if (found == map.end()) {
      // Border styles are many (\brdrs, \brdrdb, \brdrdot, ...); all but width and colour
      // turn the borders of a table row on.
      if (word.size() > 4 && word.substr(0, 4) == "brdr" && word != "brdrw" && word != "brdrcf" &&
          (borderTarget_ == BorderTarget::Cell || borderTarget_ == BorderTarget::Row))
        rowDef_.borders = true;
      return;
    }
    const Kw kw = found->second;
    const bool on = !hasParam || param != 0;

    switch (kw) {
      case Kw::FontTable:
        if (atGroupStart) {
          group.dest = Dest::FontTable;
          fontName_.clear();
        }
        return;
      case Kw::ColorTable:
        if (atGroupStart) {
          group.dest = Dest::ColorTable;
          resetColor();
        }
        return;
      case Kw::SkipDestination:
        if (atGroupStart) group.dest = Dest::Skip;
        return;
      default:
        break;
    }

    if (group.dest == Dest::FontTable) {
      if (kw == Kw::Font) {
        if (!fontName_.isEmpty()) commitFont();
        fontNumber_ = hasParam ? param : 0;
      } else if (kw == Kw::Unicode) {
        unicode(param);
      }
      return;
    }
    if (group.dest == Dest::ColorTable) {
      const int component = std::clamp(param, 0, 255);
      if (kw == Kw::Red) red_ = component;
      if (kw == Kw::Green) green_ = component;
      if (kw == Kw::Blue) blue_ = component;
      if (kw == Kw::Red || kw == Kw::Green || kw == Kw::Blue) colorGiven_ = true;
      return;
    }

    CharState& chars = group.chars;
    ParaState& para = group.para;
    switch (kw) {
      case Kw::DefaultFont:
        defaultFont_ = param;
        break;
      case Kw::UnicodeSkip:
        group.unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip);
        break;
      case Kw::Unicode:
        unicode(param);
        break;
      case Kw::PaperWidth:
        if (param > 0) paperWidth_ = param;
        break;
      case Kw::MarginLeft:
        marginLeft_ = std::max(param, 0);
        break;
      case Kw::MarginRight:
        marginRight_ = std::max(param, 0);
        break;
      case Kw::Par:
        endParagraph();
        break;
      case Kw::Sect:
        if (!runs_.empty()) endParagraph();
        break;
      case Kw::Line:
        character(u'\u2028');
        break;
      case Kw::Tab:
        character(u'\t');
        break;
      case Kw::Page:
        pageBreak();
        break;
      case Kw::Symbol:
        character(symbolCharacter(word));
        break;
      case Kw::NestCell:
        character(u'\t');
        break;
      case Kw::NestRow:
        character(u'\u2028');
        break;
      case Kw::Plain:
        chars = CharState{};
        break;
      case Kw::Bold:
        chars.bold = on;
        break;
      case Kw::Italic:
        chars.italic = on;
        break;
      case Kw::Underline:
        chars.underline = on;
        break;
      case Kw::UnderlineNone:
        chars.underline = false;
        break;
      case Kw::Strike:
        chars.strike = on;
        break;
      case Kw::Hidden:
        chars.hidden = on;
        break;
      case Kw::Super:
        chars.verticalAlign = 1;
        break;
      case Kw::Sub:
        chars.verticalAlign = 2;
        break;
      case Kw::NoSuperSub:
        chars.verticalAlign = 0;
        break;
      case Kw::Font:
        chars.font = hasParam ? param : 0;
        break;
      case Kw::FontSize:
        chars.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
        break;
      case Kw::Foreground:
        chars.foreground = param;
        break;
      case Kw::Background:
        chars.background = param;
        break;
      case Kw::Pard:
        para = ParaState{};
        break;
      case Kw::AlignLeft:
        para.alignment = Align::Left;
        break;
      case Kw::AlignCenter:
        para.alignment = Align::Center;
        break;
      case Kw::AlignRight:
        para.alignment = Align::Right;
        break;
      case Kw::AlignJustify:
        para.alignment = Align::Justify;
        break;
      case Kw::LeftIndent:
        para.left = param;
        break;
      case Kw::RightIndent:
        para.right = param;
        break;
      case Kw::FirstIndent:
        para.first = param;
        break;
      case Kw::SpaceBefore:
        para.before = param;
        break;
      case Kw::SpaceAfter:
        para.after = param;
        break;
      case Kw::TabPosition:
        para.tabs.push_back({param, para.nextTabType});
        para.nextTabType = QTextOption::LeftTab;
        break;
      case Kw::TabRight:
        para.nextTabType = QTextOption::RightTab;
        break;
      case Kw::TabCenter:
        para.nextTabType = QTextOption::CenterTab;
        break;
      case Kw::TabDecimal:
        para.nextTabType = QTextOption::DelimiterTab;
        break;
      case Kw::TabBar:
        para.nextTabType = QTextOption::LeftTab;
        break;
      case Kw::InTable:
        para.inTable = on;
        break;
      case Kw::TableLevel:
        para.inTable = param > 0;
        break;
      case Kw::PageBreakBefore:
        para.pageBreakBefore = on;
        break;
      case Kw::RowDefaults:
        rowDef_ = RowDef{};
        cellDef_ = CellDef{};
        borderTarget_ = BorderTarget::None;
        break;
      case Kw::CellRight:
        cellDef_.right = param;
        rowDef_.cells.push_back(cellDef_);
        cellDef_ = CellDef{};
        break;
      case Kw::Cell:
        endCell();
        break;
      case Kw::Row:
        endRow();
        break;
      case Kw::RowGap:
        rowDef_.gap = std::max(param, 0);
        break;
      case Kw::RowLeft:
        rowDef_.left = param;
        break;
      case Kw::RowAlignLeft:
        rowDef_.alignment = Align::Left;
        break;
      case Kw::RowAlignCenter:
        rowDef_.alignment = Align::Center;
        break;
      case Kw::RowAlignRight:
        rowDef_.alignment = Align::Right;
        break;
      case Kw::CellBackground:
        cellDef_.background = param;
        break;
      case Kw::CellBorderSide:
        borderTarget_ = BorderTarget::Cell;
        break;
      case Kw::RowBorderSide:
        borderTarget_ = BorderTarget::Row;
        break;
      case Kw::ParagraphBorderSide:
        borderTarget_ = BorderTarget::Paragraph;
        break;
      default:
        break;
    }
  }

  // \uN: N is a signed 16-bit code unit; the next \uc characters are its fallback.
  void unicode(int value) {
    if (value < 0) value += 65536;
    if (value > 0 && value <= 0xFFFF) character(static_cast<char16_t>(value));
    skipCount_ = top().unicodeSkip;
  }

  void character(char16_t c) {
    Group& group = top();
    switch (group.dest) {
      case Dest::Text:
        if (group.chars.hidden) return;
        addToRun(c, group.chars);
        return;
      case Dest::FontTable:
        if (c == u';')
          commitFont();
        else
          fontName_.append(QChar(c));
        return;
      case Dest::ColorTable:
        if (c == u';') {
          colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
          resetColor();
        }
        return;
      case Dest::Skip:
        return;
    }
  }

  void addToRun(char16_t c, const CharState& chars) {
    // Characters that would change the document's structure stay inside the paragraph.
    if (c == u'\n' || c == u'\r' || c == u'\u2029') c = u'\u2028';
    if (c == 0) return;
    if (c == u'\uFDD0' || c == u'\uFDD1') c = u'\uFFFD';
    if (runs_.empty() || !(runs_.back().chars == chars)) runs_.push_back(Run{QString(), chars});
    runs_.back().text.append(QChar(c));
  }

  void commitFont() {
    const QString name = fontName_.trimmed();
    if (fontNumber_ >= 0 && !name.isEmpty()) fonts_.insert(fontNumber_, name);
    fontName_.clear();
  }

  void resetColor() {
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
  }

  Paragraph takeParagraph() {
    Paragraph paragraph;
    paragraph.para = top().para;
    paragraph.mark = top().chars;
    paragraph.runs = std::move(runs_);
    runs_.clear();
    return paragraph;
  }

  void endParagraph() {
    Paragraph paragraph = takeParagraph();
    if (paragraph.para.inTable) {
      cell_.paragraphs.push_back(std::move(paragraph));
      return;
    }
    finishPendingRow();
    flushTable();
    paragraph.pageBreak = pageBreakPending_ || paragraph.para.pageBreakBefore;
    pageBreakPending_ = false;
    emitParagraph(paragraph);
  }

  void pageBreak() {
    if (top().para.inTable) return;
    if (!runs_.empty()) endParagraph();
    pageBreakPending_ = true;
  }

  void endCell() {
    cell_.paragraphs.push_back(takeParagraph());
    rowCells_.push_back(std::move(cell_));
    cell_ = Cell{};
  }

  void endRow() {
    if (!runs_.empty()) endCell();
    if (!cell_.paragraphs.empty()) {
      rowCells_.push_back(std::move(cell_));
      cell_ = Cell{};
    }
    if (rowCells_.empty()) return;
    tableRows_.push_back(Row{std::move(rowCells_), rowDef_});
    rowCells_.clear();
  }

  // Cells that no \row closed (a truncated file, or text after a table without \pard).
  void finishPendingRow() {
    if (!rowCells_.empty() || !cell_.paragraphs.empty()) endRow();
  }

  void finish() {
    if (!runs_.empty()) endParagraph();
    finishPendingRow();
    flushTable();
    markFreshBlock();
  }

  // A paragraph that Qt keeps without the file giving it (the only one of an empty
  // document, the one before a table at the start, the one after a table at the end)
  // takes the character format in effect, as a written and read again file gives it.
  void markFreshBlock() {
    if (!lastBlockFresh_) return;
    cursor_.movePosition(QTextCursor::End);
    cursor_.setBlockCharFormat(charFormat(top().chars));
  }

  QTextCharFormat charFormat(const CharState& chars) const {
    QTextCharFormat format;
    const int fontNumber = chars.font >= 0 ? chars.font : defaultFont_;
    auto font = fonts_.constFind(fontNumber);
    if (font != fonts_.constEnd()) {
      format.setFontFamilies({*font});
      format.setProperty(kRtfFontNumberProperty, fontNumber);
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold) format.setFontWeight(QFont::Bold);
    if (chars.italic) format.setFontItalic(true);
    if (chars.underline) format.setFontUnderline(true);
    if (chars.strike) format.setFontStrikeOut(true);
    if (chars.verticalAlign == 1) format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (chars.verticalAlign == 2) format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (QColor color = colorAt(chars.foreground); color.isValid())
      format.setForeground(QBrush(color));
    if (QColor color = colorAt(chars.background); color.isValid())
      format.setBackground(QBrush(color));
    return format;
  }

  QColor colorAt(int index) const {
    if (index <= 0 || index >= static_cast<int>(colors_.size())) return {};
    return colors_[static_cast<std::size_t>(index)];
  }

  static Qt::Alignment alignment(Align align) {
    switch (align) {
      case Align::Center:
        return Qt::AlignHCenter;
      case Align::Right:
        return Qt::AlignRight;
      case Align::Justify:
        return Qt::AlignJustify;
      case Align::Left:
        break;
    }
    return Qt::AlignLeft;
  }

  static QTextBlockFormat blockFormat(const Paragraph& paragraph) {
    const ParaState& para = paragraph.para;
    QTextBlockFormat format;
    format.setAlignment(alignment(para.alignment));
    if (para.left != 0) format.setLeftMargin(twipsToPixels(para.left));
    if (para.right != 0) format.setRightMargin(twipsToPixels(para.right));
    if (para.first != 0) format.setTextIndent(twipsToPixels(para.first));
    if (para.before != 0) format.setTopMargin(twipsToPixels(para.before));
    if (para.after != 0) format.setBottomMargin(twipsToPixels(para.after));
    if (!para.tabs.empty()) {
      QList<QTextOption::Tab> tabs;
      tabs.reserve(static_cast<qsizetype>(para.tabs.size()));
      for (const TabStop& tab : para.tabs) {
        QChar delimiter;
        if (tab.type == QTextOption::DelimiterTab) delimiter = QLocale().decimalPoint().at(0);
        tabs.append(QTextOption::Tab(twipsToPixels(tab.twips), tab.type, delimiter));
      }
      format.setTabPositions(tabs);
    }
    if (paragraph.pageBreak) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
  }

  void insertRuns(QTextCursor& cursor, const Paragraph& paragraph) {
    for (const Run& run : paragraph.runs) cursor.insertText(run.text, charFormat(run.chars));
  }

  void emitParagraph(const Paragraph& paragraph) {
    cursor_.movePosition(QTextCursor::End);
    const QTextBlockFormat format = blockFormat(paragraph);
    const QTextCharFormat mark = charFormat(paragraph.mark);
    if (lastBlockFresh_) {
      cursor_.setBlockFormat(format);
      cursor_.setBlockCharFormat(mark);
      lastBlockFresh_ = false;
    } else {
      cursor_.insertBlock(format, mark);
    }
    insertRuns(cursor_, paragraph);
  }

  QTextTableFormat tableFormat(const RowDef& def, int columns) const {
    QTextTableFormat format;
    format.setCellSpacing(0);
    format.setCellPadding(twipsToPixels(def.gap));
    format.setBorderCollapse(true);
    format.setBorder(def.borders ? 1 : 0);
    format.setBorderStyle(def.borders ? QTextFrameFormat::BorderStyle_Solid
                                      : QTextFrameFormat::BorderStyle_None);
    format.setAlignment(alignment(def.alignment));
    if (static_cast<int>(def.cells.size()) < columns) return format;
    QList<QTextLength> widths;
    int previous = def.left;
    const int total = def.cells[static_cast<std::size_t>(columns) - 1].right - def.left;
    // Some writers give cell boundaries far beyond the paper: keep their proportions then.
    const bool proportional = total > paperWidth_ - marginLeft_ - marginRight_;
    for (int i = 0; i < columns; ++i) {
      const int right = def.cells[static_cast<std::size_t>(i)].right;
      const int width = right - previous;
      previous = std::max(previous, right);
      if (width <= 0 || total <= 0)
        widths.append(QTextLength());
      else if (proportional)
        widths.append(QTextLength(QTextLength::PercentageLength, 100.0 * width / total));
      else
        widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(width)));
    }
    format.setColumnWidthConstraints(widths);
    return format;
  }

  // A table is built once all its rows are read: adding rows one by one would make Qt
  // recount the cells after every row.
  void flushTable() {
    if (tableRows_.empty()) return;
    std::size_t columns = 0;
    const Row* widest = nullptr;
    for (const Row& row : tableRows_) {
      if (row.cells.size() > columns) {
        columns = row.cells.size();
        widest = &row;
      }
    }
    QTextTableFormat format = tableFormat(widest->def, static_cast<int>(columns));
    if (pageBreakPending_) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    pageBreakPending_ = false;

    QTextCursor cursor(&document_);
    cursor.movePosition(QTextCursor::End);
    // Qt keeps a paragraph before every table; use the one before the fresh last
    // paragraph rather than leave an empty line.
    if (lastBlockFresh_) {
      const int start = document_.lastBlock().position();
      if (start > 0 && document_.characterAt(start - 1) == QChar::ParagraphSeparator)
        cursor.deletePreviousChar();
      else
        markFreshBlock();
    }
    QTextTable* table =
        cursor.insertTable(static_cast<int>(tableRows_.size()), static_cast<int>(columns), format);
    for (std::size_t r = 0; r < tableRows_.size(); ++r) {
      const Row& row = tableRows_[r];
      for (std::size_t c = 0; c < row.cells.size(); ++c) {
        QTextTableCell cell = table->cellAt(static_cast<int>(r), static_cast<int>(c));
        QTextCursor cellCursor = cell.firstCursorPosition();
        bool first = true;
        for (const Paragraph& paragraph : row.cells[c].paragraphs) {
          if (first) {
            cellCursor.setBlockFormat(blockFormat(paragraph));
            cellCursor.setBlockCharFormat(charFormat(paragraph.mark));
            first = false;
          } else {
            cellCursor.insertBlock(blockFormat(paragraph), charFormat(paragraph.mark));
          }
          insertRuns(cellCursor, paragraph);
        }
        // The cell's format is also its first paragraph's mark format: set it last.
        if (c < row.def.cells.size()) {
          if (QColor color = colorAt(row.def.cells[c].background); color.isValid()) {
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBackground(QBrush(color));
            cell.setFormat(cellFormat);
          }
        }
      }
    }
    tableRows_.clear();
    lastBlockFresh_ = true;
  }

  static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  const char* p_;
  const char* end_;
  QTextDocument& document_;
  QTextCursor cursor_;
  const std::array<char16_t, 256>& bytes_;

  std::vector<Group> stack_;
  std::size_t overflowDepth_ = 0;
  bool groupStart_ = false;
  int skipCount_ = 0;

  QHash<int, QString> fonts_;
  int defaultFont_ = -1;
  int fontNumber_ = -1;
  QString fontName_;
  std::vector<QColor> colors_;
  int red_ = 0;
  int green_ = 0;
  int blue_ = 0;
  bool colorGiven_ = false;
  int paperWidth_ = 12240;
  int marginLeft_ = 1800;
  int marginRight_ = 1800;

  std::vector<Run> runs_;  // the paragraph being read
  bool pageBreakPending_ = false;
  bool lastBlockFresh_ = true;  // the document's last paragraph is still unused

  RowDef rowDef_;
  CellDef cellDef_;
  BorderTarget borderTarget_ = BorderTarget::None;
  Cell cell_;
  std::vector<Cell> rowCells_;
  std::vector<Row> tableRows_;
};

bool looksLikeRtf(const QByteArray& data) {
  qsizetype i = 0;
  if (data.startsWith("\xEF\xBB\xBF")) i = 3;
  while (i < data.size() &&
         (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
    ++i;
  const QByteArrayView rest = QByteArrayView(data).sliced(i);
  return rest.startsWith("{\\rtf") || rest.startsWith("{\\urtf");
}

QString plainText(const QByteArray& data) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(data);
  if (utf8.hasError()) {
    const auto& table = windows1252Table();
    text.clear();
    text.reserve(data.size());
    for (char c : data) text.append(QChar(table[static_cast<unsigned char>(c)]));
  }
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

void readRtf(const QByteArray& rtf, QTextDocument& document) {
  const bool undo = document.isUndoRedoEnabled();
  document.setUndoRedoEnabled(false);
  if (!looksLikeRtf(rtf)) {
    document.setPlainText(plainText(rtf));
  } else {
    document.clear();
    QTextCursor batch(&document);
    batch.beginEditBlock();
    RtfParser(rtf, document).run();
    batch.endEditBlock();
  }
  document.setUndoRedoEnabled(undo);
}

}  // namespace tallymoor
