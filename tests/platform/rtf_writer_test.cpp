#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "platform/rtf_format.h"
#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "rtf_test_support.h"

namespace tallymoor {
namespace {

using rtf_test::describe;
using rtf_test::formatOf;
using rtf_test::paragraphs;
using rtf_test::readDocument;
using rtf_test::rtfFixture;

// Every construct the reader keeps, in one document.
constexpr const char* kRichRtf =
    R"rtf({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}{\f3\froman Times New Roman;}})rtf"
    R"rtf({\colortbl;\red0\green0\blue0;\red200\green0\blue0;\red255\green255\blue0;})rtf"
    R"rtf(\pard\qc\b\fs32 Title\b0\par)rtf"
    R"rtf(\pard\qj\li720\ri360\fi-360\sb240\sa120\fs20 Normal {\b bold} {\i italic} {\ul under} {\strike struck} x{\super 2} H{\sub 2}O\par)rtf"
    R"rtf(\pard\tx1440\tqr\tx2880\tqc\tx4320\tqdec\tx5000 {\f1 mono}\tab {\cf2 red}\tab {\highlight3 marked}\par)rtf"
    R"rtf(\pard Caf\'e9 \u8364? {\{braces\}} back\\slash a\~b\-c\_d line\line break \u-10179?\u-8704?\par)rtf"
    R"rtf(\pard\fs4\par)rtf"
    R"rtf(\trowd\trgaph70\clbrdrt\brdrs\cellx2500\clcbpat3\cellx5000\cellx7500)rtf"
    R"rtf(\pard\intbl\b Account\b0\cell\pard\intbl\qr Debit\cell\pard\intbl\qr Credit\cell\row)rtf"
    R"rtf(\trowd\trgaph70\clbrdrt\brdrs\cellx2500\clcbpat3\cellx5000\cellx7500)rtf"
    R"rtf(\pard\intbl 1100\cell\pard\intbl\qr{\cf2 1.210,00}\cell\pard\intbl one\par two\cell\row)rtf"
    R"rtf(\pard\fs18 After the table\par)rtf"
    R"rtf(\page\pard\f3 Second page\par})rtf";

TEST(RtfWriterRoundTrip, ReadingWhatWasWrittenKeepsTextAndFormats) {
  struct Case {
    const char* name;
    QByteArray rtf;
  };
  const std::vector<Case> cases = {
      {"every construct", kRichRtf},
      {"report template sample", rtfFixture("report-template-sample.rtf")},
      {"report saved by a word processor", rtfFixture("libreoffice-report.rtf")},
      {"help text saved by a word processor", rtfFixture("libreoffice-help.rtf")},
      {"empty paragraph at the end", R"rtf({\rtf1 a\par\par})rtf"},
      {"table at the start and at the end",
       R"rtf({\rtf1\trowd\cellx1000\pard\intbl a\cell\row\pard b\par\trowd\cellx1000\pard\intbl c\cell\row})rtf"},
      {"empty document", R"rtf({\rtf1})rtf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto original = readDocument(c.rtf);
    const QByteArray written = writeRtf(*original);
    auto reread = readDocument(written);
    EXPECT_EQ(describe(*reread), describe(*original)) << written.toStdString();
    // Writing again gives the same file.
    EXPECT_EQ(writeRtf(*reread), written);
  }
}

TEST(RtfWriterLines, HeaderOneLinePerParagraphAndClosingBrace) {
  auto document = readDocument(kRichRtf);
  const QStringList lines = writeRtfLines(*document);
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl"));
  EXPECT_TRUE(lines[0].contains("{\\f1\\fnil\\fcharset0 Courier New;}"));
  EXPECT_TRUE(lines[1].startsWith("{\\colortbl;"));
  EXPECT_TRUE(lines[1].contains("\\red200\\green0\\blue0;"));
  EXPECT_EQ(lines.last(), "}");
  EXPECT_TRUE(lines[2].startsWith("\\pard\\qc\\plain\\f0\\fs32\\b Title"));
  EXPECT_TRUE(lines[2].endsWith("\\par"));
  // The page break stands on a line of its own before the paragraph it starts.
  const qsizetype page = lines.indexOf("\\page");
  ASSERT_GE(page, 0);
  EXPECT_TRUE(lines[page + 1].contains("Second page"));
  // Table rows: definition, one line per cell paragraph, \row.
  qsizetype row = 0;
  while (row < lines.size() && !lines[row].startsWith("\\trowd")) ++row;
  ASSERT_LT(row, lines.size());
  EXPECT_TRUE(lines[row].contains("\\cellx2500"));
  EXPECT_TRUE(lines[row].contains("\\cellx7500"));
  EXPECT_TRUE(lines[row + 1].startsWith("\\pard\\intbl"));
  EXPECT_TRUE(lines[row + 1].endsWith("\\cell"));
  EXPECT_EQ(lines[row + 4], "\\row");
  for (const QString& line : lines)
    for (QChar c : line) ASSERT_LT(c.unicode(), 0x80) << line.toStdString();
}

TEST(RtfWriterLines, TextIsEscaped) {
  QTextDocument document;
  QTextCursor cursor(&document);
  cursor.insertText(QString::fromUtf8("a{b}c\\d\te é € ł 😀 x\u00A0y\u2028z"));
  const QStringList lines = writeRtfLines(document);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[2].endsWith(
      "a\\{b\\}c\\\\d\\tab e \\'e9 \\'80 \\u322? \\u-10179?\\u-8704? x\\~y\\line z\\par"))
      << lines[2].toStdString();
  auto reread = readDocument(writeRtf(document));
  EXPECT_EQ(paragraphs(*reread), paragraphs(document));
}

// Saving a report looks for the page marker in the view's RTF as
// "\plain\f3\fs18 .   .  . . . ...new page 1 ... . . .  .   ." when the template sets font 3.
TEST(RtfWriterLines, PageMarkerRunKeepsTheTemplatesFontNumber) {
  auto document =
      readDocument(R"rtf({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1 Courier New;}{\f3 Tahoma;}})rtf"
                   R"rtf(\pard\plain\f3\fs20 Detail line\par)rtf"
                   R"rtf(\fs18\qc .   .  . . . ...new page 1 ... . . .  .   .\par)rtf"
                   R"rtf(\pard\fs20 Next page\par})rtf");
  const QStringList lines = writeRtfLines(*document);
  EXPECT_TRUE(lines.contains(
      "\\pard\\qc\\plain\\f3\\fs18 .   .  . . . ...new page 1 ... . . .  .   .\\par"))
      << lines.join('\n').toStdString();
}

TEST(RtfWriterLines, FontNumbers) {
  QTextDocument document;
  QTextCursor cursor(&document);
  QTextCharFormat courier;
  courier.setFontFamilies({"Courier New"});
  courier.setProperty(kRtfFontNumberProperty, 2);
  QTextCharFormat arial;  // read from elsewhere with the same number: gets a free one
  arial.setFontFamilies({"Arial"});
  arial.setProperty(kRtfFontNumberProperty, 2);
  QTextCharFormat times;  // made in the program: no number yet
  times.setFontFamilies({"Times New Roman"});
  cursor.insertText("mono ", courier);
  cursor.insertText("sans ", arial);
  cursor.insertText("serif", times);
  const QStringList lines = writeRtfLines(document);
  EXPECT_TRUE(lines[0].contains("{\\f2\\fnil\\fcharset0 Courier New;}"));
  EXPECT_TRUE(lines[0].contains("{\\f0\\fnil\\fcharset0 Arial;}"));
  EXPECT_TRUE(lines[0].contains("{\\f1\\fnil\\fcharset0 Times New Roman;}"));
  auto reread = readDocument(writeRtf(document));
  EXPECT_EQ(formatOf(*reread, "mono").fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(formatOf(*reread, "sans").fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_EQ(formatOf(*reread, "serif").fontFamilies().toStringList(),
            QStringList{"Times New Roman"});
}

TEST(RtfWriterLines, CharacterRange) {
  auto document = readDocument(R"rtf({\rtf1 one\par {\b two}\par three\par})rtf");
  const int two = document->findBlockByNumber(1).position();
  const int three = document->findBlockByNumber(2).position();
  struct Case {
    const char* name;
    int from;
    int to;
    QStringList lines;
  };
  const std::vector<Case> cases = {
      {"one whole paragraph", two, three, {"two"}},
      {"part of a paragraph", two + 1, two + 2, {"w"}},
      {"from a paragraph's end", two - 1, three, {"", "two"}},
      {"to the end", two, -1, {"two", "three"}},
      {"everything", 0, -1, {"one", "two", "three"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto part = readDocument(writeRtf(*document, c.from, c.to));
    EXPECT_EQ(paragraphs(*part), c.lines);
  }
  auto part = readDocument(writeRtf(*document, two, three));
  EXPECT_EQ(formatOf(*part, "two").fontWeight(), QFont::Bold);
}

}  // namespace
}  // namespace tallymoor
