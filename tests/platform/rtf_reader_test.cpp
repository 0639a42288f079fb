#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <functional>
#include <string>

#include "platform/rtf_format.h"
#include "platform/rtf_reader.h"
#include "rtf_test_support.h"

namespace tallymoor {
namespace {

using rtf_test::blockOf;
using rtf_test::firstTable;
using rtf_test::formatOf;
using rtf_test::paragraphs;
using rtf_test::readDocument;
using rtf_test::rtfFixture;

struct TextCase {
  const char* name;
  QByteArray rtf;
  QStringList lines;
};

void expectLines(const std::vector<TextCase>& cases) {
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = readDocument(c.rtf);
    EXPECT_EQ(paragraphs(*document), c.lines);
  }
}

TEST(RtfReaderText, ParagraphsEscapesAndSpecialCharacters) {
  expectLines({
      {"paragraphs", R"rtf({\rtf1 one\par two\par})rtf", {"one", "two"}},
      {"last paragraph without \\par", R"rtf({\rtf1 one\par two})rtf", {"one", "two"}},
      {"empty paragraphs stay", R"rtf({\rtf1 a\par\par b\par})rtf", {"a", "", "b"}},
      {"the delimiting blank is no text", R"rtf({\rtf1 \b bold\b0  next})rtf", {"bold next"}},
      {"line ends in the file are no text", "{\\rtf1 ab\r\ncd\n\\par}", {"abcd"}},
      {"backslash before a line end is \\par", "{\\rtf1 a\\\nb}", {"a", "b"}},
      {"hex escapes are Windows-1252",
       R"rtf({\rtf1\ansi\ansicpg1252 Caf\'e9 \'80 \'93q\'94 \'ab\'bb})rtf",
       {QString::fromUtf8("Café € “q” «»")}},
      {"8-bit bytes are Windows-1252",
       "{\\rtf1\\ansi caf\xe9 \x80}",
       {QString::fromUtf8("café €")}},
      {"\\u skips its fallback character; the blank after it is text",
       R"rtf({\rtf1\ansi\uc1 \u8364? 1.234,56})rtf",
       {QString::fromUtf8("€ 1.234,56")}},
      {"\\u with \\uc0 has no fallback",
       R"rtf({\rtf1\uc0 \u8364 x})rtf",
       {QString::fromUtf8("€x")}},
      {"\\uc2 skips two characters, a hex escape counting as one",
       R"rtf({\rtf1\uc2\u8364\'80\'80x})rtf",
       {QString::fromUtf8("€x")}},
      {"\\uc is kept per group",
       R"rtf({\rtf1 {\uc2 \u8364 ab}\u8364?c})rtf",
       {QString::fromUtf8("€€c")}},
      {"a group ends the fallback", R"rtf({\rtf1\uc1 \u8364{x}})rtf", {QString::fromUtf8("€x")}},
      {"negative \\u values form a surrogate pair",
       R"rtf({\rtf1 \u-10179?\u-8704?})rtf",
       {QString::fromUtf8("😀")}},
      {"escaped braces and backslash", R"rtf({\rtf1 a\{b\}c\\d})rtf", {"a{b}c\\d"}},
      {"no-break space, optional hyphen, no-break hyphen",
       R"rtf({\rtf1 a\~b\-c\_d})rtf",
       {QString::fromUtf8("a\u00A0b\u00ADc\u2011d")}},
      {"tab and line break stay within the paragraph",
       R"rtf({\rtf1 a\tab b\line c\par})rtf",
       {QString::fromUtf8("a\tb\u2028c")}},
      {"named characters",
       R"rtf({\rtf1 \endash \emdash \bullet \lquote x\rquote \ldblquote y\rdblquote})rtf",
       {QString::fromUtf8("–—•‘x’“y”")}},
      {"a paragraph mark inside a group", R"rtf({\rtf1 {\b a\par}b\par})rtf", {"a", "b"}},
  });
}

TEST(RtfReaderText, DestinationsThatAreNotShown) {
  std::vector<TextCase> cases = {
      {"unknown \\* destination", R"rtf({\rtf1 {\*\unknowndest Hidden}Shown})rtf", {"Shown"}},
      {"font and colour tables",
       R"rtf({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1{\*\panose 0}Courier{\*\falt Mono};}}{\colortbl;\red1\green2\blue3;}Shown})rtf",
       {"Shown"}},
      {"info with title and author",
       R"rtf({\rtf1{\info{\title Hidden}{\author Hidden}}Shown})rtf",
       {"Shown"}},
      {"picture data, hex and binary (raw braces inside)",
       "{\\rtf1{\\pict\\wmetafile8 0a0b0c}{\\pict\\bin4 }{\\}}Shown}",
       {"Shown"}},
      {"field instruction skipped, field result shown",
       R"rtf({\rtf1 Veld: {\field{\*\fldinst { MERGEFIELD Relatie }}{\fldrslt {\'abRelatie\'bb}}}\par})rtf",
       {QString::fromUtf8("Veld: «Relatie»")}},
      {"field instruction without \\*",
       R"rtf({\rtf1 {\field{\fldinst HYPERLINK "http://x"}{\fldrslt link}}})rtf",
       {"link"}},
      {"hidden text", R"rtf({\rtf1 a{\v Hidden}b\v c\v0 d})rtf", {"abd"}},
      {"a destination word inside text is no destination", R"rtf({\rtf1 a\info b})rtf", {"ab"}},
      {"list text is the numbering shown by readers without lists",
       R"rtf({\rtf1{\listtable{\list{\listlevel{\leveltext \'02\'00.;}}}}{\listtext 1.\tab}Item\par})rtf",
       {"1.\tItem"}},
  };
  for (const char* destination :
       {"stylesheet", "header", "footer", "headerl", "footerr", "footnote", "listtable",
        "listoverridetable", "themedata", "colorschememapping", "latentstyles", "datastore",
        "xmlnstbl", "rsidtbl", "generator", "mmathPr", "fldinst", "pict", "info"}) {
    cases.push_back(
        {destination,
         QByteArray("{\\rtf1{\\") + destination + " Hidden {\\b Hidden}\\par}Shown\\par}",
         {"Shown"}});
    cases.push_back({destination,
                     QByteArray("{\\rtf1{\\*\\") + destination + " Hidden}Shown\\par}",
                     {"Shown"}});
  }
  expectLines(cases);
}

struct CharCase {
  const char* name;
  QByteArray rtf;
  QString probe;  // the text whose first character is checked
  std::function<void(const QTextCharFormat&)> check;
};

constexpr const char* kTables =
    R"rtf({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}{\f3\froman Times New Roman;}})rtf"
    R"rtf({\colortbl;\red0\green0\blue0;\red200\green0\blue0;\red255\green255\blue0;})rtf";

QByteArray withTables(const char* body) { return QByteArray(kTables) + body + "}"; }

TEST(RtfReaderFormats, CharacterFormats) {
  const std::vector<CharCase> cases = {
      {"bold", withTables(R"(a{\b Bold}a)"), "Bold",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.fontWeight(), QFont::Bold); }},
      {"\\b0 ends bold", withTables(R"(\b x\b0 Plain)"), "Plain",
       [](const QTextCharFormat& f) { EXPECT_LT(f.fontWeight(), QFont::DemiBold); }},
      {"a group restores the format", withTables(R"({\b\i x}After)"), "After",
       [](const QTextCharFormat& f) {
         EXPECT_LT(f.fontWeight(), QFont::DemiBold);
         EXPECT_FALSE(f.fontItalic());
       }},
      {"italic", withTables(R"(\i Italic)"), "Italic",
       [](const QTextCharFormat& f) { EXPECT_TRUE(f.fontItalic()); }},
      {"underline", withTables(R"(\ul Under)"), "Under",
       [](const QTextCharFormat& f) { EXPECT_TRUE(f.fontUnderline()); }},
      {"double underline counts as underline", withTables(R"(\uldb Under)"), "Under",
       [](const QTextCharFormat& f) { EXPECT_TRUE(f.fontUnderline()); }},
      {"\\ulnone ends underline", withTables(R"(\ul x\ulnone Plain)"), "Plain",
       [](const QTextCharFormat& f) { EXPECT_FALSE(f.fontUnderline()); }},
      {"\\ul0 ends underline", withTables(R"(\ul x\ul0 Plain)"), "Plain",
       [](const QTextCharFormat& f) { EXPECT_FALSE(f.fontUnderline()); }},
      {"strike-out", withTables(R"(\strike Struck)"), "Struck",
       [](const QTextCharFormat& f) { EXPECT_TRUE(f.fontStrikeOut()); }},
      {"superscript", withTables(R"(x{\super Up})"), "Up",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.verticalAlignment(), QTextCharFormat::AlignSuperScript);
       }},
      {"subscript", withTables(R"(x{\sub Down})"), "Down",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.verticalAlignment(), QTextCharFormat::AlignSubScript);
       }},
      {"font size in half-points", withTables(R"(\fs30 Size)"), "Size",
       [](const QTextCharFormat& f) { EXPECT_DOUBLE_EQ(f.fontPointSize(), 15.0); }},
      {"12 points without \\fs", withTables(R"(Size)"), "Size",
       [](const QTextCharFormat& f) { EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0); }},
      {"font from the table, number kept", withTables(R"(\f1 Mono)"), "Mono",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Courier New"});
         EXPECT_EQ(f.intProperty(kRtfFontNumberProperty), 1);
       }},
      {"the default font without \\f", withTables(R"(Default)"), "Default",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Arial"});
       }},
      {"\\deff names the default font",
       R"rtf({\rtf1\deff3{\fonttbl{\f0 Arial;}{\f3 Times New Roman;}}Default})rtf", "Default",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Times New Roman"});
         EXPECT_EQ(f.intProperty(kRtfFontNumberProperty), 3);
       }},
      {"font table entries without groups",
       R"rtf({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}\f1 Mono})rtf", "Mono",
       [](const QTextCharFormat& f) {
         EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Courier"});
       }},
      {"a font missing from the table sets no font",
       R"rtf({\rtf1{\fonttbl{\f0 Arial;}}\f7 Unknown})rtf", "Unknown",
       [](const QTextCharFormat& f) {
         EXPECT_TRUE(f.fontFamilies().toStringList().isEmpty());
         EXPECT_FALSE(f.hasProperty(kRtfFontNumberProperty));
       }},
      {"text colour", withTables(R"(\cf2 Red)"), "Red",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.foreground().color(), QColor(200, 0, 0)); }},
      {"\\cf0 is the automatic colour", withTables(R"(\cf2 x\cf0 Auto)"), "Auto",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.foreground().style(), Qt::NoBrush); }},
      {"colour number beyond the table is automatic", withTables(R"(\cf9 Auto)"), "Auto",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.foreground().style(), Qt::NoBrush); }},
      {"\\cb background", withTables(R"(\cb3 Back)"), "Back",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.background().color(), QColor(255, 255, 0)); }},
      {"\\highlight background", withTables(R"(\highlight3 Back)"), "Back",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.background().color(), QColor(255, 255, 0)); }},
      {"\\chcbpat background", withTables(R"(\chcbpat3 Back)"), "Back",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.background().color(), QColor(255, 255, 0)); }},
      {"\\plain resets the character format", withTables(R"(\b\i\ul\fs40\f1\cf2 x\plain Plain)"),
       "Plain",
       [](const QTextCharFormat& f) {
         EXPECT_LT(f.fontWeight(), QFont::DemiBold);
         EXPECT_FALSE(f.fontItalic());
         EXPECT_FALSE(f.fontUnderline());
         EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0);
         EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Arial"});
         EXPECT_EQ(f.foreground().style(), Qt::NoBrush);
       }},
      {"\\pard keeps the character format", withTables(R"(\b x\par\pard Still)"), "Still",
       [](const QTextCharFormat& f) { EXPECT_EQ(f.fontWeight(), QFont::Bold); }},
  };
  for (const CharCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = readDocument(c.rtf);
    c.check(formatOf(*document, c.probe));
  }
}

struct BlockCase {
  const char* name;
  QByteArray rtf;
  QString probe;
  std::function<void(const QTextBlock&)> check;
};

TEST(RtfReaderFormats, ParagraphFormats) {
  const std::vector<BlockCase> cases = {
      {"left by default", withTables("Left\\par"), "Left",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignLeft); }},
      {"\\qc centres", withTables("\\qc Centre\\par"), "Centre",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignHCenter); }},
      {"\\qr aligns right", withTables("\\qr Right\\par"), "Right",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignRight); }},
      {"\\qj justifies", withTables("\\qj Justified\\par"), "Justified",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignJustify); }},
      {"\\ql after \\qc", withTables("\\qc\\ql Left\\par"), "Left",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignLeft); }},
      {"paragraph formats carry on without \\pard", withTables("\\qc a\\par Next\\par"), "Next",
       [](const QTextBlock& b) { EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignHCenter); }},
      {"\\pard resets them", withTables("\\qc\\li720 a\\par\\pard Next\\par"), "Next",
       [](const QTextBlock& b) {
         EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignLeft);
         EXPECT_EQ(b.blockFormat().leftMargin(), 0);
       }},
      {"indents in twips become pixels at 96 dpi",
       withTables("\\li720\\ri360\\fi-360 Indented\\par"), "Indented",
       [](const QTextBlock& b) {
         EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 48);
         EXPECT_DOUBLE_EQ(b.blockFormat().rightMargin(), 24);
         EXPECT_DOUBLE_EQ(b.blockFormat().textIndent(), -24);
       }},
      {"space before and after", withTables("\\sb240\\sa120 Spaced\\par"), "Spaced",
       [](const QTextBlock& b) {
         EXPECT_DOUBLE_EQ(b.blockFormat().topMargin(), 16);
         EXPECT_DOUBLE_EQ(b.blockFormat().bottomMargin(), 8);
       }},
      {"tab stops with their kinds", withTables("\\tx1440\\tqr\\tx2880\\tqc\\tx4320 a\\tab b\\par"),
       "a",
       [](const QTextBlock& b) {
         const QList<QTextOption::Tab> tabs = b.blockFormat().tabPositions();
         ASSERT_EQ(tabs.size(), 3);
         EXPECT_DOUBLE_EQ(tabs[0].position, 96);
         EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
         EXPECT_DOUBLE_EQ(tabs[1].position, 192);
         EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
         EXPECT_DOUBLE_EQ(tabs[2].position, 288);
         EXPECT_EQ(tabs[2].type, QTextOption::CenterTab);
       }},
      {"the paragraph mark's size is kept for an empty paragraph",
       withTables("a\\par\\fs4\\par b\\par"), "a",
       [](const QTextBlock& b) {
         ASSERT_TRUE(b.next().isValid());
         EXPECT_EQ(b.next().text(), "");
         EXPECT_DOUBLE_EQ(b.next().charFormat().fontPointSize(), 2.0);
       }},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = readDocument(c.rtf);
    c.check(blockOf(*document, c.probe));
  }
}

TEST(RtfReaderFormats, PageBreaks) {
  struct Case {
    const char* name;
    QByteArray rtf;
    QStringList lines;
    int breakBefore;  // the paragraph that starts a new page
  };
  const std::vector<Case> cases = {
      {"\\page between paragraphs", R"rtf({\rtf1 a\par\page b\par c\par})rtf", {"a", "b", "c"}, 1},
      {"\\page within a paragraph ends it",
       R"rtf({\rtf1 a\page b\par c\par})rtf",
       {"a", "b", "c"},
       1},
      {"\\page survives \\pard", R"rtf({\rtf1 a\par\page\pard\qc b\par})rtf", {"a", "b"}, 1},
      {"\\pagebb", R"rtf({\rtf1 a\par\pagebb b\par\pard c\par})rtf", {"a", "b", "c"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = readDocument(c.rtf);
    ASSERT_EQ(paragraphs(*document), c.lines);
    for (int i = 0; i < document->blockCount(); ++i) {
      const bool breaks = document->findBlockByNumber(i).blockFormat().pageBreakPolicy() &
                          QTextFormat::PageBreak_AlwaysBefore;
      EXPECT_EQ(breaks, i == c.breakBefore) << "paragraph " << i;
    }
  }
}

constexpr const char* kTableRtf =
    R"rtf({\rtf1\ansi{\colortbl;\red200\green0\blue0;\red0\green0\blue255;})rtf"
    R"rtf(Before\par)rtf"
    R"rtf(\trowd\trgaph70\cellx2500\clcbpat2\cellx5000\cellx7500)rtf"
    R"rtf(\pard\intbl\b Account\b0\cell\pard\intbl\qr Debit\cell\pard\intbl\qr Credit\cell\row)rtf"
    R"rtf(\trowd\trgaph70\cellx2500\clcbpat2\cellx5000\cellx7500)rtf"
    R"rtf(\pard\intbl 1100 Bank\cell\pard\intbl\qr{\cf1 1.210,00}\cell\pard\intbl first\par second\cell\row)rtf"
    R"rtf(\pard After\par})rtf";

TEST(RtfReaderTables, RowsBecomeOneTable) {
  auto document = readDocument(kTableRtf);
  EXPECT_EQ(paragraphs(*document), (QStringList{"Before", "Account", "Debit", "Credit", "1100 Bank",
                                                "1.210,00", "first", "second", "After"}));
  QTextTable* table = firstTable(*document);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rows(), 2);
  EXPECT_EQ(table->columns(), 3);
  EXPECT_EQ(document->rootFrame()->childFrames().size(), 1);

  const QTextTableFormat format = table->format();
  const QList<QTextLength> widths = format.columnWidthConstraints();
  ASSERT_EQ(widths.size(), 3);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(widths[c].type(), QTextLength::FixedLength);
    EXPECT_DOUBLE_EQ(widths[c].rawValue(), 2500.0 / 15.0);
  }
  EXPECT_DOUBLE_EQ(format.cellPadding(), 70.0 / 15.0);
  EXPECT_EQ(format.border(), 0);  // no border words in the row definition

  EXPECT_EQ(table->cellAt(0, 1).format().background().color(), QColor(0, 0, 255));
  EXPECT_EQ(table->cellAt(0, 0).format().background().style(), Qt::NoBrush);
  EXPECT_EQ(blockOf(*document, "Debit").blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(blockOf(*document, "Account").blockFormat().alignment(), Qt::AlignLeft);
  EXPECT_EQ(formatOf(*document, "Account").fontWeight(), QFont::Bold);
  EXPECT_EQ(formatOf(*document, "1.210,00").foreground().color(), QColor(200, 0, 0));
  EXPECT_EQ(table->cellAt(document->find("second").selectionStart()).column(), 2);
  EXPECT_EQ(table->cellAt(document->find("second").selectionStart()).row(), 1);
  // Text after the table is outside it.
  EXPECT_EQ(QTextCursor(blockOf(*document, "After")).currentTable(), nullptr);
}

TEST(RtfReaderTables, Variants) {
  struct Case {
    const char* name;
    QByteArray rtf;
    QStringList lines;
    int rows;
    int columns;
    std::function<void(const QTextTable&)> check;
  };
  const std::vector<Case> cases = {
      {"borders in the row definition",
       R"rtf({\rtf1 x\par\trowd\clbrdrt\brdrs\brdrw10\cellx1000\pard\intbl a\cell\row\pard y\par})rtf",
       {"x", "a", "y"},
       1,
       1,
       [](const QTextTable& t) { EXPECT_GT(t.format().border(), 0); }},
      {"a paragraph border is no table border",
       R"rtf({\rtf1 x\par\trowd\cellx1000\pard\intbl\brdrb\brdrs a\cell\row\pard y\par})rtf",
       {"x", "a", "y"},
       1,
       1,
       [](const QTextTable& t) { EXPECT_EQ(t.format().border(), 0); }},
      {"rows of different lengths",
       R"rtf({\rtf1 x\par\trowd\cellx1000\cellx2000\pard\intbl a\cell b\cell\row)rtf"
       R"rtf(\trowd\cellx1000\cellx2000\cellx3000\pard\intbl c\cell d\cell e\cell\row\pard y\par})rtf",
       {"x", "a", "b", "", "c", "d", "e", "y"},
       2,
       3,
       nullptr},
      {"row definition after the cells (newer word processors)",
       R"rtf({\rtf1 x\par\pard\intbl a\cell b\cell\trowd\cellx1000\cellx3000\row\pard y\par})rtf",
       {"x", "a", "b", "y"},
       1,
       2,
       [](const QTextTable& t) {
         const auto widths = t.format().columnWidthConstraints();
         ASSERT_EQ(widths.size(), 2);
         EXPECT_DOUBLE_EQ(widths[1].rawValue(), 2000.0 / 15.0);
       }},
      {"cells far beyond the paper keep their proportions",
       R"rtf({\rtf1\paperw11906\margl1134\margr1134 x\par\trowd\cellx20000\cellx60000\pard\intbl a\cell b\cell\row\pard y\par})rtf",
       {"x", "a", "b", "y"},
       1,
       2,
       [](const QTextTable& t) {
         const auto widths = t.format().columnWidthConstraints();
         ASSERT_EQ(widths.size(), 2);
         EXPECT_EQ(widths[0].type(), QTextLength::PercentageLength);
         EXPECT_NEAR(widths[0].rawValue(), 33.33, 0.01);
       }},
      {"a table at the start keeps the empty paragraph Qt puts before every table",
       R"rtf({\rtf1\trowd\cellx1000\pard\intbl a\cell\row\pard y\par})rtf",
       {"", "a", "y"},
       1,
       1,
       nullptr},
      {"a table at the end is followed by an empty paragraph",
       R"rtf({\rtf1 x\par\trowd\cellx1000\pard\intbl a\cell\row})rtf",
       {"x", "a", ""},
       1,
       1,
       nullptr},
      {"a file cut off inside a row shows the cells read",
       R"rtf({\rtf1 x\par\trowd\cellx1000\cellx2000\pard\intbl a\cell b)rtf",
       {"x", "a", "b", ""},
       1,
       2,
       nullptr},
      {"\\intbl paragraphs without \\cell or \\row",
       R"rtf({\rtf1 x\par\pard\intbl a\par\pard y\par})rtf",
       {"x", "a", "y"},
       1,
       1,
       nullptr},
      {"nested table cells become tabs; the nested row properties are skipped",
       R"rtf({\rtf1 x\par\trowd\cellx3000\pard\intbl a\nestcell b\nestcell{\*\nesttableprops\trowd\cellx1\nestrow}{\nonesttables a b}\cell\row\pard y\par})rtf",
       {"x", "a\tb\t", "y"},
       1,
       1,
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto document = readDocument(c.rtf);
    EXPECT_EQ(paragraphs(*document), c.lines);
    QTextTable* table = firstTable(*document);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), c.rows);
    EXPECT_EQ(table->columns(), c.columns);
    if (c.check) c.check(*table);
  }
}

TEST(RtfReaderTables, ParagraphsBetweenTablesSeparateThem) {
  auto document = readDocument(R"rtf({\rtf1 \trowd\cellx1000\pard\intbl a\cell\row\pard mid\par)rtf"
                               R"rtf(\trowd\cellx1000\pard\intbl b\cell\row\pard end\par})rtf");
  EXPECT_EQ(paragraphs(*document), (QStringList{"", "a", "mid", "b", "end"}));
  EXPECT_EQ(document->rootFrame()->childFrames().size(), 2);
}

TEST(RtfReaderMalformed, ShowsWhatCanBeRead) {
  expectLines({
      {"unclosed groups: the text read so far", R"rtf({\rtf1 {\b abc)rtf", {"abc"}},
      {"extra closing braces: reading goes on", R"rtf({\rtf1 a}} b})rtf", {"a b"}},
      {"cut off after a backslash", R"rtf({\rtf1 ab\)rtf", {"ab"}},
      {"cut off inside a hex escape", R"rtf({\rtf1 ab\'e)rtf", {"ab"}},
      {"a hex escape without hex digits is dropped", R"rtf({\rtf1 a\'zzb})rtf", {"azzb"}},
      {"cut off inside a control word", R"rtf({\rtf1 ab\pa)rtf", {"ab"}},
      {"binary data longer than the file", R"rtf({\rtf1 a{\pict\bin999999 xyz)rtf", {"a"}},
      {"only the header", R"rtf({\rtf1)rtf", {""}},
      {"huge numbers", R"rtf({\rtf1\fs99999999999999\li-99999999999 x\u99999999?y})rtf", {"xy"}},
      {"characters that would split the paragraph stay in it",
       R"rtf({\rtf1 a\u8233?b\u10?c})rtf",
       {QString::fromUtf8("a\u2028b\u2028c")}},
      {"\\* in the middle of a group is ignored", R"rtf({\rtf1 a\*b})rtf", {"ab"}},
  });
}

TEST(RtfReaderMalformed, InputThatIsNotRtfIsShownAsPlainText) {
  expectLines({
      {"empty input", "", {""}},
      {"plain lines",
       "Just plain text\r\nsecond line\rthird",
       {"Just plain text", "second line", "third"}},
      {"braces and backslashes are text", "C:\\path {x}", {"C:\\path {x}"}},
      {"UTF-8", "caf\xc3\xa9", {QString::fromUtf8("café")}},
      {"Windows-1252 when not UTF-8", "caf\xe9 \x80", {QString::fromUtf8("café €")}},
      {"RTF-like text not at the start", "hello {\\rtf1 x}", {"hello {\\rtf1 x}"}},
  });
}

TEST(RtfReaderMalformed, DeepNestingAndManyGroups) {
  QByteArray deep = "{\\rtf1 ";
  deep += QByteArray(200000, '{');
  deep += "\\b x";
  deep += QByteArray(200000, '}');
  deep += " y}";
  auto document = readDocument(deep);
  EXPECT_EQ(paragraphs(*document), QStringList{"x y"});
}

// Random mixtures of RTF pieces: whatever they hold, reading ends and leaves a document
// whose plain text agrees with its character count.
TEST(RtfReaderMalformed, RandomInputNeverBreaksTheDocument) {
  const std::vector<QByteArray> pieces = {
      "{",       "}",         "\\par ",      "\\cell ", "\\row ",     "\\trowd", "\\cellx1000",
      "\\intbl", "\\pard",    "\\plain",     "\\b ",    "\\fs20 ",    "\\'e9",   "\\u8364?",
      "\\uc3",   "\\*",       "\\info",      "text",    " ",          "\\page ", "\\line ",
      "\\'",     "\\",        "\\bin3 ",     "\\f1 ",   "{\\fonttbl", ";",       "\\cf2 ",
      "\\tx720", "\\fldrslt", "\\nestcell ", "\\sect ", "\xe9",       "\\~",     "\\u-10179?"};
  QRandomGenerator random(20240611);
  for (int round = 0; round < 400; ++round) {
    QByteArray input = "{\\rtf1 ";
    const int count = random.bounded(1, 80);
    for (int i = 0; i < count; ++i) input += pieces[random.bounded(int(pieces.size()))];
    SCOPED_TRACE(input.toStdString());
    auto document = readDocument(input);
    EXPECT_EQ(document->toPlainText().size(), document->characterCount() - 1);
  }
}

TEST(RtfReaderFixtures, ReportTemplateSample) {
  auto document = readDocument(rtfFixture("report-template-sample.rtf"));
  EXPECT_EQ(paragraphs(*document),
            (QStringList{"Balans per <<DATUM>>",
                         QString::fromUtf8(
                             "Administratie: <<BEDRIJF>> – Café «De Gouden Leeuw», € 1.234,56"),
                         QString::fromUtf8("Veld: «Relatie»"), "", "Rekening", "Debet", "Credit",
                         "1100 Bank", "1.210,00", "", "8000 Omzet", "", "1.000,00", "",
                         "monospace regel", "Pagina 2 onderstreept doorgehaald"}));
  const QTextBlock title = blockOf(*document, "Balans per");
  EXPECT_EQ(title.blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(formatOf(*document, "Balans").fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(formatOf(*document, "Balans").fontPointSize(), 16.0);
  EXPECT_EQ(formatOf(*document, "Balans").fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_TRUE(formatOf(*document, "<<BEDRIJF>>").fontItalic());
  EXPECT_DOUBLE_EQ(formatOf(*document, "Administratie").fontPointSize(), 10.0);
  EXPECT_EQ(formatOf(*document, "1.000,00").foreground().color(), QColor(200, 0, 0));
  EXPECT_EQ(blockOf(*document, "Debet").blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(formatOf(*document, "monospace").fontFamilies().toStringList(),
            QStringList{"Courier New"});
  EXPECT_TRUE(formatOf(*document, "onderstreept").fontUnderline());
  EXPECT_TRUE(formatOf(*document, "doorgehaald").fontStrikeOut());
  EXPECT_TRUE(blockOf(*document, "Pagina 2").blockFormat().pageBreakPolicy() &
              QTextFormat::PageBreak_AlwaysBefore);
  QTextTable* table = firstTable(*document);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rows(), 3);
  EXPECT_EQ(table->columns(), 3);
  EXPECT_FALSE(document->toPlainText().contains("MERGEFIELD"));
  EXPECT_FALSE(document->toPlainText().contains("Balans rapport"));  // the \info title
}

TEST(RtfReaderFixtures, ReportSavedByAWordProcessor) {
  auto document = readDocument(rtfFixture("libreoffice-report.rtf"));
  EXPECT_EQ(
      paragraphs(*document),
      (QStringList{"Balans per 31-12-2024",
                   QString::fromUtf8("Administratie: Café «De Gouden Leeuw» – totaal € 1.234,56"),
                   "Normaal, vet, cursief, onderstreept en rood.", "Rechts uitgelijnd",
                   "monospace gemarkeerd klein", "Rekening", "Debet", "Credit", "1100 Bank",
                   "1.210,00", "", "8000 Omzet", "", QString::fromUtf8("€ 1.000,00"),
                   QString::fromUtf8("Na de tabel: Ærø, naïve, façade, Øre, ß."), "Pagina 2"}));
  EXPECT_EQ(blockOf(*document, "Balans per").blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(formatOf(*document, "Balans per").fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(formatOf(*document, "Balans per").fontPointSize(), 18.0);
  EXPECT_TRUE(formatOf(*document, QString::fromUtf8("Café")).fontItalic());
  EXPECT_FALSE(formatOf(*document, "Administratie").fontItalic());
  EXPECT_EQ(formatOf(*document, "vet").fontWeight(), QFont::Bold);
  EXPECT_TRUE(formatOf(*document, "cursief").fontItalic());
  EXPECT_TRUE(formatOf(*document, "onderstreept").fontUnderline());
  EXPECT_EQ(formatOf(*document, "rood").foreground().color(), QColor(200, 0, 0));
  EXPECT_EQ(blockOf(*document, "Rechts").blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(formatOf(*document, "monospace").fontFamilies().toStringList(),
            QStringList{"Courier New"});
  EXPECT_EQ(formatOf(*document, "gemarkeerd").background().color(), QColor(255, 255, 0));
  EXPECT_DOUBLE_EQ(formatOf(*document, "klein").fontPointSize(), 7.0);
  EXPECT_EQ(formatOf(*document, "Normaal").fontFamilies().toStringList(),
            QStringList{"DejaVu Serif"});  // the default font, \deff3
  EXPECT_TRUE(blockOf(*document, "Pagina 2").blockFormat().pageBreakPolicy() &
              QTextFormat::PageBreak_AlwaysBefore);

  QTextTable* table = firstTable(*document);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rows(), 3);
  EXPECT_EQ(table->columns(), 3);
  EXPECT_GT(table->format().border(), 0);
  EXPECT_EQ(table->cellAt(2, 2).firstCursorPosition().block().text(),
            QString::fromUtf8("€ 1.000,00"));
  EXPECT_EQ(blockOf(*document, "Debet").blockFormat().alignment(), Qt::AlignRight);
  EXPECT_EQ(formatOf(*document, "Rekening").fontWeight(), QFont::Bold);
  // Style names, the document title and page style names are not text.
  for (const char* hidden : {"Normal", "Heading", "Report sample", "Default Page Style"})
    EXPECT_FALSE(document->toPlainText().contains(hidden)) << hidden;
}

TEST(RtfReaderFixtures, HelpTextSavedByAWordProcessor) {
  auto document = readDocument(rtfFixture("libreoffice-help.rtf"));
  QFile source(
      QStringLiteral(TALLYMOOR_SOURCE_DIR "/tests/fixtures/rtf/sources/libreoffice-help.txt"));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  QStringList expected = QString::fromUtf8(source.readAll()).split('\n');
  if (expected.last().isEmpty()) expected.removeLast();
  EXPECT_EQ(paragraphs(*document), expected);
  EXPECT_TRUE(paragraphs(*document).contains("<1><MEN00>Main menu"));
  EXPECT_DOUBLE_EQ(formatOf(*document, "Welcome").fontPointSize(), 10.0);
}

}  // namespace
}  // namespace tallymoor
