#include "platform/rich_text_view.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>
#include <cmath>
#include <functional>

#include "rtf_test_support.h"

namespace tallymoor {
namespace {

using rtf_test::firstTable;
using rtf_test::formatOf;
using rtf_test::rtfFixture;

QByteArray rtfOfLines(const QStringList& lines, const QByteArray& paragraphStart = "\\pard") {
  QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\n";
  for (const QString& line : lines) rtf += paragraphStart + " " + line.toLatin1() + "\\par\n";
  rtf += "}";
  return rtf;
}

QStringList numberedLines(int count, const QString& prefix = QStringLiteral("Line")) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines.append(QStringLiteral("%1 %2").arg(prefix).arg(i));
  return lines;
}

constexpr const char* kMixedRtf =
    R"rtf({\rtf1\ansi{\colortbl;\red200\green0\blue0;})rtf"
    R"rtf(\pard\qr\b\fs28 <1>Heading\b0\par)rtf"
    R"rtf(\pard\fs20 Body {\i text}\line second row\par)rtf"
    R"rtf(\trowd\cellx2000\cellx4000\pard\intbl a1\cell\pard\intbl b1\par b2\cell\row)rtf"
    R"rtf(\pard\qc After\par)rtf"
    R"rtf(\pard\fs40\par)rtf"
    R"rtf(\pard Last\par})rtf";

TEST(RichTextViewLines, LinesAreParagraphsOfThePlainText) {
  RichTextView view;
  view.loadRtf(kMixedRtf);
  const QStringList expected = {
      "<1>Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "b1", "b2", "After", "",
      "Last"};
  EXPECT_EQ(view.lines(), expected);
  EXPECT_EQ(view.lineCount(), expected.size());
  EXPECT_TRUE(view.isReadOnly());

  // Positions are those of the plain text, where every line ends with one '\n'.
  const QString plain = view.toPlainText();
  for (int i = 0; i < view.lineCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(view.line(i), expected[i]);
    const int start = view.lineStart(i);
    EXPECT_EQ(plain.mid(start, view.line(i).size()),
              QString(view.line(i)).replace(QChar::LineSeparator, '\n'));
    if (i + 1 < view.lineCount()) {
      EXPECT_EQ(plain.at(start + view.line(i).size()), '\n');
      EXPECT_EQ(view.lineStart(i + 1), start + view.line(i).size() + 1);
    }
    EXPECT_EQ(view.lineAt(start), i);
  }
  EXPECT_EQ(view.line(-1), "");
  EXPECT_EQ(view.line(view.lineCount()), "");
  EXPECT_EQ(view.lineStart(view.lineCount()), -1);
  EXPECT_EQ(view.lineAt(-1), -1);
  EXPECT_EQ(view.lineAt(plain.size() + 1), -1);
}

TEST(RichTextViewLines, LoadReplacesTheContentAndGoesToTheStart) {
  RichTextView view;
  view.resize(300, 200);
  view.show();
  view.loadRtf(rtfOfLines(numberedLines(200)));
  view.scrollToLine(150);
  view.loadRtf(rtfOfLines({"fresh"}));
  EXPECT_EQ(view.lines(), QStringList{"fresh"});
  EXPECT_EQ(view.textCursor().position(), 0);
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

TEST(RichTextViewLines, LoadKeepsTheViewsWrapSettings) {
  RichTextView view;
  view.setLineWrapMode(QTextEdit::NoWrap);
  view.setWordWrapMode(QTextOption::NoWrap);
  view.resize(300, 200);
  view.show();
  view.loadRtf(rtfOfLines({QString("word ").repeated(100)}));
  EXPECT_EQ(view.lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_EQ(view.wordWrapMode(), QTextOption::NoWrap);
  EXPECT_GT(view.horizontalScrollBar()->maximum(), 0);  // one long unwrapped line
  EXPECT_EQ(view.document()->firstBlock().layout()->lineCount(), 1);
}

TEST(RichTextViewLines, ReplaceLineKeepsTheLinesFormat) {
  struct Case {
    const char* name;
    int line;
    QString text;
    QStringList lines;
    std::function<void(RichTextView&)> check;
  };
  const std::vector<Case> cases = {
      {"a heading loses its tag",
       0,
       "Heading",
       {"Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "b1", "b2", "After", "",
        "Last"},
       [](RichTextView& v) {
         const QTextCharFormat format = formatOf(*v.document(), "Heading");
         EXPECT_EQ(format.fontWeight(), QFont::Bold);
         EXPECT_DOUBLE_EQ(format.fontPointSize(), 14.0);
         EXPECT_EQ(v.document()->firstBlock().blockFormat().alignment(), Qt::AlignRight);
       }},
      {"an empty line takes its mark's format",
       6,
       "Big",
       {"<1>Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "b1", "b2", "After",
        "Big", "Last"},
       [](RichTextView& v) {
         EXPECT_DOUBLE_EQ(formatOf(*v.document(), "Big").fontPointSize(), 20.0);
       }},
      {"a line break in the new text stays in the line",
       7,
       "x\ny",
       {"<1>Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "b1", "b2", "After", "",
        QString::fromUtf8("x\u2028y")},
       nullptr},
      {"a table cell line",
       3,
       "B1",
       {"<1>Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "B1", "b2", "After", "",
        "Last"},
       [](RichTextView& v) { EXPECT_EQ(firstTable(*v.document())->rows(), 1); }},
      {"no such line",
       8,
       "x",
       {"<1>Heading", QString::fromUtf8("Body text\u2028second row"), "a1", "b1", "b2", "After", "",
        "Last"},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RichTextView view;
    view.loadRtf(kMixedRtf);
    view.replaceLine(c.line, c.text);
    EXPECT_EQ(view.lines(), c.lines);
    if (c.check) c.check(view);
  }
}

TEST(RichTextViewLines, RemoveFromLineKeepsTheFormatsOfTheRest) {
  RichTextView view;
  view.loadRtf(R"rtf({\rtf1 <2><ADM00>{\b Admin}{\i istrations}\par Next\par})rtf");
  view.removeFromLine(0, 0, 3);
  EXPECT_EQ(view.line(0), "<ADM00>Administrations");
  view.removeFromLine(0, 0, 7);
  EXPECT_EQ(view.lines(), (QStringList{"Administrations", "Next"}));
  EXPECT_EQ(formatOf(*view.document(), "Admin").fontWeight(), QFont::Bold);
  EXPECT_TRUE(formatOf(*view.document(), "istrations").fontItalic());
  view.removeFromLine(1, 2, 100);  // up to the line's end, never beyond
  EXPECT_EQ(view.lines(), (QStringList{"Administrations", "Ne"}));
  view.removeFromLine(1, 5, 1);
  EXPECT_EQ(view.lines(), (QStringList{"Administrations", "Ne"}));
}

TEST(RichTextViewLines, RemoveLine) {
  struct Case {
    const char* name;
    QByteArray rtf;
    int line;
    QStringList lines;
    std::function<void(RichTextView&)> check;
  };
  constexpr const char* kThree = R"rtf({\rtf1\pard\qr a\par\pard\qc b\par\pard\qj c\par})rtf";
  constexpr const char* kTable =
      R"rtf({\rtf1 x\par\trowd\cellx1000\cellx2000\pard\intbl p\par q\cell\pard\intbl r\cell\row\pard y\par z\par})rtf";
  const std::vector<Case> cases = {
      {"a middle line",
       kThree,
       1,
       {"a", "c"},
       [](RichTextView& v) {
         EXPECT_EQ(v.document()->findBlockByNumber(0).blockFormat().alignment(), Qt::AlignRight);
         EXPECT_EQ(v.document()->findBlockByNumber(1).blockFormat().alignment(), Qt::AlignJustify);
       }},
      {"the first line: the next keeps its format",
       kThree,
       0,
       {"b", "c"},
       [](RichTextView& v) {
         EXPECT_EQ(v.document()->findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
       }},
      {"the last line",
       kThree,
       2,
       {"a", "b"},
       [](RichTextView& v) {
         EXPECT_EQ(v.document()->findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
       }},
      {"the only line is cleared", R"rtf({\rtf1 only\par})rtf", 0, {""}, nullptr},
      {"a line before a table",
       kTable,
       0,
       {"", "p", "q", "r", "y", "z"},
       [](RichTextView& v) { EXPECT_EQ(firstTable(*v.document())->columns(), 2); }},
      {"one of two lines of a cell",
       kTable,
       1,
       {"x", "q", "r", "y", "z"},
       [](RichTextView& v) {
         QTextTable* table = firstTable(*v.document());
         EXPECT_EQ(table->cellAt(0, 0).firstCursorPosition().block().text(), "q");
       }},
      {"the last line of a cell with two", kTable, 2, {"x", "p", "r", "y", "z"}, nullptr},
      {"the only line of a cell is cleared",
       kTable,
       3,
       {"x", "p", "q", "", "y", "z"},
       [](RichTextView& v) {
         QTextTable* table = firstTable(*v.document());
         EXPECT_EQ(table->rows(), 1);
         EXPECT_EQ(table->columns(), 2);
       }},
      {"the line after a table", kTable, 4, {"x", "p", "q", "r", "z"}, nullptr},
      {"no such line", kThree, 3, {"a", "b", "c"}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RichTextView view;
    view.loadRtf(c.rtf);
    view.removeLine(c.line);
    EXPECT_EQ(view.lines(), c.lines);
    if (c.check) c.check(view);
  }
}

TEST(RichTextViewLines, RemoveLinesTakesAPrologueAway) {
  RichTextView view;
  view.loadRtf(rtfOfLines({"Title", "Version", "<0>Welcome", "Body"}));
  view.removeLines(0, 2);
  EXPECT_EQ(view.lines(), (QStringList{"<0>Welcome", "Body"}));
  view.removeLines(1, 10);
  EXPECT_EQ(view.lines(), QStringList{"<0>Welcome"});
}

TEST(RichTextViewScrolling, ScrollToLineBringsTheLineToTheTop) {
  RichTextView view;
  view.resize(400, 300);
  view.show();
  view.loadRtf(rtfOfLines(numberedLines(300)));

  view.scrollToLine(150);
  EXPECT_EQ(view.topLine(), 150);
  EXPECT_EQ(view.textCursor().position(), view.lineStart(150));
  EXPECT_GT(view.verticalScrollBar()->value(), 0);

  view.scrollToLine(10);
  EXPECT_EQ(view.topLine(), 10);

  // Near the end the text below cannot fill the view: it scrolls as far as it goes.
  view.scrollToLine(299);
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
  EXPECT_LT(view.topLine(), 299);
  EXPECT_GT(view.topLine(), 250);
  EXPECT_EQ(view.textCursor().position(), view.lineStart(299));

  view.scrollToLine(0);
  EXPECT_EQ(view.topLine(), 0);
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);

  view.scrollToLine(1000);  // no such line: nothing moves
  EXPECT_EQ(view.topLine(), 0);
}

TEST(RichTextViewScrolling, ScrollToALineInATable) {
  RichTextView view;
  view.resize(400, 200);
  view.show();
  QByteArray rtf = "{\\rtf1 ";
  for (int i = 0; i < 40; ++i) rtf += "Before " + QByteArray::number(i) + "\\par ";
  for (int i = 0; i < 40; ++i)
    rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl L" + QByteArray::number(i) +
           "\\cell\\pard\\intbl R" + QByteArray::number(i) + "\\cell\\row ";
  rtf += "\\pard After\\par ";
  for (int i = 0; i < 40; ++i) rtf += "Tail " + QByteArray::number(i) + "\\par ";
  rtf += "}";
  view.loadRtf(rtf);
  const int line = static_cast<int>(view.lines().indexOf("L20"));
  ASSERT_GT(line, 0);
  view.scrollToLine(line);
  EXPECT_EQ(view.line(view.topLine()).mid(1), "20");
}

TEST(RichTextViewRtf, RtfLinesLoadBackToTheSameView) {
  RichTextView view;
  view.loadRtf(kMixedRtf);
  const QStringList lines = view.rtfLines();
  EXPECT_TRUE(lines.first().startsWith("{\\rtf1"));
  EXPECT_EQ(lines.last(), "}");
  RichTextView copy;
  copy.loadRtf(lines.join("\r\n").toLatin1());
  EXPECT_EQ(rtf_test::describe(*copy.document()), rtf_test::describe(*view.document()));

  RichTextView part;
  part.loadRtf(view.rtfLines(view.lineStart(5), view.lineStart(6)).join('\n').toLatin1());
  EXPECT_EQ(part.lines(), QStringList{"After"});
}

// Printing ------------------------------------------------------------------------------

QImage blankPage(int dpi, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  return image;
}

// The smallest rectangle that holds every pixel that is not white; null when none.
QRect inkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((row[x] & 0xFFFFFF) != 0xFFFFFF) bounds |= QRect(x, y, 1, 1);
  }
  return bounds;
}

struct Printed {
  QImage image;
  int next;
};

Printed printPage(RichTextView& view, const QRectF& rect, int from, int to, int dpi = 96,
                  QSize size = QSize(600, 900)) {
  Printed printed{blankPage(dpi, size), 0};
  QPainter painter(&printed.image);
  printed.next = view.printRange(painter, rect, from, to);
  return printed;
}

TEST(RichTextViewPrinting, PagesBreakAtWholeLinesAndCoverTheText) {
  RichTextView view;
  view.loadRtf(rtfOfLines(numberedLines(60)));
  const int end = view.document()->characterCount() - 1;
  const QRectF rect(50, 40, 400, 300);
  int from = 0;
  int pages = 0;
  int linesPrinted = 0;
  int linesOnFirstPage = 0;
  while (from < end && pages < 100) {
    SCOPED_TRACE(pages);
    const Printed page = printPage(view, rect, from, -1);
    ASSERT_GT(page.next, from);
    const int firstLine = view.lineAt(from);
    const int nextLine = page.next == end ? view.lineCount() : view.lineAt(page.next);
    if (page.next != end) EXPECT_EQ(view.lineStart(nextLine), page.next);
    if (pages == 0) linesOnFirstPage = nextLine - firstLine;
    linesPrinted += nextLine - firstLine;
    const QRect ink = inkBounds(page.image);
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(rect.toAlignedRect().contains(ink)) << ink.y() << " " << ink.bottom();
    from = page.next;
    ++pages;
  }
  EXPECT_EQ(linesPrinted, 60);
  EXPECT_GT(linesOnFirstPage, 5);
  EXPECT_EQ(pages, (60 + linesOnFirstPage - 1) / linesOnFirstPage);
}

// The page [from, to) looks exactly like a document that holds only those lines.
TEST(RichTextViewPrinting, RangeStopsAtItsEndAndStartsAfterAParagraphEnd) {
  const QString marker1 = ".   .  . . . ...new page 1 ... . . .  .   .";
  const QString marker2 = ".   .  . . . ...new page 2 ... . . .  .   .";
  RichTextView view;
  view.loadRtf(rtfOfLines({"Page one a", "Page one b", marker1, "Page two a", "Page two b",
                           "Page two c", marker2, "Page three"}));
  const QString plain = view.toPlainText();
  const int m1 = static_cast<int>(plain.indexOf(marker1));
  const int m2 = static_cast<int>(plain.indexOf(marker2));
  const QRectF rect(20, 30, 500, 800);

  RichTextView pageOne;
  pageOne.loadRtf(rtfOfLines({"Page one a", "Page one b"}));
  const Printed first = printPage(view, rect, 0, m1);
  EXPECT_EQ(first.next, m1);
  EXPECT_EQ(first.image, printPage(pageOne, rect, 0, -1).image);

  // The next page starts right after the marker: at its paragraph end.
  const int start2 = m1 + 42 + 1;
  EXPECT_EQ(plain.at(start2), '\n');
  RichTextView pageTwo;
  pageTwo.loadRtf(rtfOfLines({"Page two a", "Page two b", "Page two c"}));
  const Printed second = printPage(view, rect, start2, m2);
  EXPECT_EQ(second.next, m2);
  EXPECT_EQ(second.image, printPage(pageTwo, rect, 0, -1).image);

  RichTextView pageThree;
  pageThree.loadRtf(rtfOfLines({"Page three"}));
  const Printed third = printPage(view, rect, m2 + 42 + 1, -1);
  EXPECT_EQ(third.next, plain.size());
  EXPECT_EQ(third.image, printPage(pageThree, rect, 0, -1).image);
}

TEST(RichTextViewPrinting, EmptyRangesPrintNothing) {
  RichTextView view;
  view.loadRtf(rtfOfLines({"a", "b"}));
  const QRectF rect(0, 0, 300, 300);
  const int end = view.document()->characterCount() - 1;
  for (auto [from, to] : {std::pair{1, 1}, std::pair{end, -1}, std::pair{2, 1}}) {
    SCOPED_TRACE(from);
    const Printed page = printPage(view, rect, from, to);
    EXPECT_TRUE(inkBounds(page.image).isNull());
    EXPECT_GE(page.next, from);
  }
}

TEST(RichTextViewPrinting, APageBreakStartsANewPage) {
  RichTextView view;
  view.loadRtf(R"rtf({\rtf1 a\par b\par\page c\par d\par})rtf");
  const QRectF rect(0, 0, 500, 800);
  const Printed first = printPage(view, rect, 0, -1);
  EXPECT_EQ(first.next, view.lineStart(2));
  const Printed second = printPage(view, rect, first.next, -1);
  EXPECT_EQ(second.next, view.document()->characterCount() - 1);
  RichTextView rest;
  rest.loadRtf(R"rtf({\rtf1 c\par d\par})rtf");
  EXPECT_EQ(second.image, printPage(rest, rect, 0, -1).image);
}

TEST(RichTextViewPrinting, LayoutFollowsThePrinterResolution) {
  RichTextView view;
  view.loadRtf(rtfOfLines(numberedLines(40, "Some words on line")));
  const QRectF rect(10, 10, 300, 200);
  const Printed low = printPage(view, rect, 0, -1, 96, QSize(400, 300));
  const Printed high = printPage(view, QRectF(30, 30, 900, 600), 0, -1, 288, QSize(1200, 900));
  const QRect lowInk = inkBounds(low.image);
  const QRect highInk = inkBounds(high.image);
  EXPECT_NEAR(double(highInk.width()) / lowInk.width(), 3.0, 0.3);
  EXPECT_NEAR(double(highInk.height()) / lowInk.height(), 3.0, 0.3);
  EXPECT_NEAR(view.lineAt(high.next), view.lineAt(low.next), 1);
}

TEST(RichTextViewPrinting, TablesAcrossPages) {
  RichTextView view;
  QByteArray rtf = "{\\rtf1 Title\\par ";
  for (int i = 0; i < 60; ++i)
    rtf += "\\trowd\\cellx2000\\cellx4000\\pard\\intbl L" + QByteArray::number(i) +
           "\\cell\\pard\\intbl R" + QByteArray::number(i) + "\\cell\\row ";
  rtf += "\\pard End\\par}";
  view.loadRtf(rtf);
  const int end = view.document()->characterCount() - 1;
  const QRectF rect(0, 0, 400, 250);
  int from = 0;
  int pages = 0;
  while (from < end && pages < 100) {
    const Printed page = printPage(view, rect, from, -1);
    ASSERT_GT(page.next, from);
    EXPECT_TRUE(rect.toAlignedRect().contains(inkBounds(page.image)));
    if (page.next < end) {
      // A new page begins with a row, never halfway.
      EXPECT_TRUE(view.line(view.lineAt(page.next)).startsWith('L') ||
                  view.line(view.lineAt(page.next)) == "End")
          << view.line(view.lineAt(page.next)).toStdString();
    }
    from = page.next;
    ++pages;
  }
  EXPECT_GT(pages, 2);
  EXPECT_LT(pages, 100);
}

TEST(RichTextViewPrinting, AChangedTextIsLaidOutAgain) {
  RichTextView view;
  view.loadRtf(rtfOfLines(numberedLines(50)));
  const QRectF rect(0, 0, 300, 200);
  const int before = view.lineAt(printPage(view, rect, 0, -1).next);
  view.replaceLine(0, QString("word ").repeated(200));
  const int after = view.lineAt(printPage(view, rect, 0, -1).next);
  EXPECT_LT(after, before);
  view.releasePrintFormatting();
  EXPECT_EQ(view.lineAt(printPage(view, rect, 0, -1).next), after);
}

TEST(RichTextViewPrinting, PrintsPagesOfAPdfWriter) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("report.pdf");
  RichTextView view;
  view.loadRtf(rtfFixture("report-template-sample.rtf"));
  int pages = 0;
  {
    QPdfWriter writer(path);
    writer.setResolution(300);
    QPainter painter(&writer);
    const QRectF rect(0, 0, writer.width(), writer.height());
    const int end = view.document()->characterCount() - 1;
    int from = 0;
    while (from < end && pages < 10) {
      if (pages > 0) writer.newPage();
      from = view.printRange(painter, rect, from, -1);
      ++pages;
    }
    view.releasePrintFormatting();
  }
  EXPECT_EQ(pages, 2);  // the sample's \page
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page\n"), 2);
}

}  // namespace
}  // namespace tallymoor
