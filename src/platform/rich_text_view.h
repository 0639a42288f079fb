#pragma once
// The read-only rich-text view of the help viewer and the report form: loads RTF, works on
// its paragraphs as numbered lines, prints a character range onto a printer page and
// gives its content back as RTF lines.

#include <QByteArray>
#include <QRectF>
#include <QStringList>
#include <QTextBlock>
#include <QTextEdit>
#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace tallymoor {

class RichTextView : public QTextEdit {
  Q_OBJECT
 public:
  // Read-only until setReadOnly(false).
  explicit RichTextView(QWidget* parent = nullptr);
  ~RichTextView() override;

  // Replaces the content with the rich text `rtf` (see readRtf); the caret goes to the
  // start and the view to the top. The text is read into a new document(), so pointers
  // to the previous one (and connections to it) do not carry over.
  void loadRtf(const QByteArray& rtf);
  // The content, or its characters [from, to), as RTF lines (see writeRtfLines).
  QStringList rtfLines(int from = 0, int to = -1) const;

  // The lines of the view are its paragraphs, numbered from 0; each paragraph of a table
  // cell is a line of its own. Character positions are those of toPlainText(), in which
  // every line ends with one '\n'; a line break within a paragraph (U+2028 in the line's
  // text) counts one position as well.
  int lineCount() const;
  // The text of line i; empty when there is no line i.
  QString line(int i) const;
  QStringList lines() const;
  // The position of the first character of line i; -1 when there is no line i.
  int lineStart(int i) const;
  // The line that holds character position `position`; -1 outside the text.
  int lineAt(int position) const;

  // Replaces the text of line i; the new text takes the format of the line's first
  // character (of its paragraph mark when the line is empty).
  void replaceLine(int i, const QString& text);
  // Removes `count` characters of line i from column `column` on; the rest of the line
  // keeps its formats.
  void removeFromLine(int i, int column, int count);
  // Removes line i; the following lines move up. A table cell keeps at least one line:
  // removing its only line clears the line's text.
  void removeLine(int i);
  // Removes the lines [first, first + count) in one edit.
  void removeLines(int first, int count);

  // Puts the caret at the start of line i and scrolls the view so that the line is at the
  // top, as far as the text below it fills the view.
  void scrollToLine(int i);
  // The line shown at the top of the view (of a table row there: one of its cells' lines).
  int topLine() const;

  // Prints the characters [from, to) (to < 0: to the end) on the painter's current page,
  // from the top of `rect` (pixels of the painter's device; the painter untransformed)
  // down as far as whole lines fit, wrapped to the width of `rect`. Returns the position where the
  // next page starts: `to` when everything fitted. A paragraph with a page break before it ends the
  // page. When `from` is the end of a paragraph (the position of its '\n'), the page
  // starts with the next line. The layout is kept for the following pages of the same
  // device and width until releasePrintFormatting() or a change of the text.
  int printRange(QPainter& painter, const QRectF& rect, int from, int to);
  // Drops the layout kept for printing.
  void releasePrintFormatting();

 private:
  QTextBlock blockOfLine(int i) const;
  QTextDocument* printLayout(QPaintDevice* device, qreal width);

  struct PrintLayout;
  std::unique_ptr<PrintLayout> print_;
};

}  // namespace tallymoor
