#include "platform/rich_text_view.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>
#include <limits>
#include <tuple>

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"

namespace tallymoor {
namespace {

// The frame or table cell a paragraph belongs to: paragraphs merge only within one.
std::tuple<QTextFrame*, int, int> containerOf(const QTextBlock& block) {
  QTextCursor cursor(block);
  QTextFrame* frame = cursor.currentFrame();
  if (auto* table = qobject_cast<QTextTable*>(frame)) {
    const QTextTableCell cell = table->cellAt(block.position());
    return {frame, cell.row(), cell.column()};
  }
  return {frame, -1, -1};
}

// True for the first paragraph of a table row and for every paragraph outside tables:
// no paragraph after it in the text lies higher on the page.
bool startsBand(const QTextBlock& block) {
  QTextTable* table = QTextCursor(block).currentTable();
  if (table == nullptr) return true;
  const QTextTableCell cell = table->cellAt(block.position());
  return cell.column() == 0 && cell.firstPosition() == block.position();
}

bool startsNewPage(const QTextBlock& block) {
  QTextTable* table = QTextCursor(block).currentTable();
  if (table == nullptr)
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
  const QTextTableCell first = table->cellAt(0, 0);
  return first.firstPosition() == block.position() &&
         (table->format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

// The top of the line that holds `position` of `block`, in document coordinates.
qreal lineTop(QAbstractTextDocumentLayout* layout, const QTextBlock& block, int position,
              QTextLine* lineOut = nullptr) {
  const qreal blockTop = layout->blockBoundingRect(block).top();
  const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
  if (lineOut != nullptr) *lineOut = line;
  return line.isValid() ? blockTop + line.y() : blockTop;
}

}  // namespace

struct RichTextView::PrintLayout {
  std::unique_ptr<QTextDocument> document;
  QPaintDevice* device = nullptr;
  int dpiX = 0;
  int dpiY = 0;
  qreal width = 0;
  int revision = -1;
};

RichTextView::RichTextView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setAcceptRichText(true);
}

RichTextView::~RichTextView() = default;

void RichTextView::loadRtf(const QByteArray& rtf) {
  releasePrintFormatting();
  // Read into a fresh document and swap it in: the view then lays the text out once
  // instead of following every insertion.
  QTextDocument* previous = document();
  auto* fresh = new QTextDocument(this);
  fresh->setDefaultFont(previous->defaultFont());
  fresh->setDefaultTextOption(previous->defaultTextOption());
  fresh->setDocumentMargin(previous->documentMargin());
  fresh->setUndoRedoEnabled(previous->isUndoRedoEnabled());
  readRtf(rtf, *fresh);
  // Qt deletes the view's first document itself; the ones read here belong to the view.
  const bool ours = previous->parent() == this;
  setDocument(fresh);
  if (ours) delete previous;
  setTextCursor(QTextCursor(document()));
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
}

QStringList RichTextView::rtfLines(int from, int to) const {
  return writeRtfLines(*document(), from, to);
}

QTextBlock RichTextView::blockOfLine(int i) const {
  if (i < 0) return {};
  return document()->findBlockByNumber(i);
}

int RichTextView::lineCount() const { return document()->blockCount(); }

QString RichTextView::line(int i) const { return blockOfLine(i).text(); }

QStringList RichTextView::lines() const {
  QStringList result;
  result.reserve(lineCount());
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
    result.append(block.text());
  return result;
}

int RichTextView::lineStart(int i) const {
  const QTextBlock block = blockOfLine(i);
  return block.isValid() ? block.position() : -1;
}

int RichTextView::lineAt(int position) const {
  if (position < 0 || position >= document()->characterCount()) return -1;
  return document()->findBlock(position).blockNumber();
}

void RichTextView::replaceLine(int i, const QString& text) {
  const QTextBlock block = blockOfLine(i);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  const QTextCharFormat format = block.length() > 1 ? cursor.charFormat() : block.charFormat();
  cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  QString single = text;
  // The new text stays one line.
  single.replace(QLatin1Char('\n'), QChar::LineSeparator);
  single.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
  cursor.insertText(single, format);
}

void RichTextView::removeFromLine(int i, int column, int count) {
  const QTextBlock block = blockOfLine(i);
  if (!block.isValid() || column < 0 || count <= 0) return;
  const int textLength = block.length() - 1;
  if (column >= textLength) return;
  QTextCursor cursor(document());
  cursor.setPosition(block.position() + column);
  cursor.setPosition(block.position() + std::min(column + count, textLength),
                     QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

void RichTextView::removeLine(int i) {
  const QTextBlock block = blockOfLine(i);
  if (!block.isValid()) return;
  const auto container = containerOf(block);
  const QTextBlock next = block.next();
  const QTextBlock previous = block.previous();
  QTextCursor cursor(document());
  cursor.beginEditBlock();
  if (previous.isValid() && containerOf(previous) == container) {
    // Remove the previous line's end and this line's text: the previous line keeps its
    // formats and takes this line's end.
    cursor.setPosition(previous.position() + previous.length() - 1);
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  } else if (next.isValid() && containerOf(next) == container) {
    // The first line of its frame or cell: the next line moves up and keeps its formats.
    const QTextBlockFormat blockFormat = next.blockFormat();
    const QTextCharFormat markFormat = next.charFormat();
    cursor.setPosition(block.position());
    cursor.setPosition(next.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setBlockFormat(blockFormat);
    cursor.setBlockCharFormat(markFormat);
  } else {
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  cursor.endEditBlock();
}

void RichTextView::removeLines(int first, int count) {
  if (first < 0 || count <= 0) return;
  const int last = std::min(first + count, lineCount()) - 1;
  QTextCursor batch(document());
  batch.beginEditBlock();
  for (int i = last; i >= first; --i) removeLine(i);
  batch.endEditBlock();
}

void RichTextView::scrollToLine(int i) {
  const QTextBlock block = blockOfLine(i);
  if (!block.isValid()) return;
  setTextCursor(QTextCursor(block));
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  layout->documentSize();  // lays out the whole text, so the scroll range is complete
  const qreal top = layout->blockBoundingRect(block).top();
  // The first lines keep the document's margin above them in view.
  verticalScrollBar()->setValue(top <= document()->documentMargin() ? 0 : qRound(top));
}

int RichTextView::topLine() const {
  // Lines lie top to bottom in their order (the cells of a table row side by side), so
  // the last line that starts at or above the top of the view is found by halving.
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  const qreal top = verticalScrollBar()->value() + 1;
  int low = 0;
  int high = lineCount() - 1;
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    if (layout->blockBoundingRect(document()->findBlockByNumber(middle)).top() <= top)
      low = middle;
    else
      high = middle - 1;
  }
  return low;
}

void RichTextView::releasePrintFormatting() { print_.reset(); }

QTextDocument* RichTextView::printLayout(QPaintDevice* device, qreal width) {
  if (print_ && print_->device == device && print_->dpiX == device->logicalDpiX() &&
      print_->dpiY == device->logicalDpiY() && print_->width == width &&
      print_->revision == document()->revision())
    return print_->document.get();
  auto print = std::make_unique<PrintLayout>();
  print->document.reset(document()->clone());
  print->document->setDefaultFont(document()->defaultFont());
  print->document->setDocumentMargin(0);
  // Laid out for the printer itself: fonts take its resolution, and fixed lengths (indents,
  // column widths) are scaled to it by the layout.
  print->document->documentLayout()->setPaintDevice(device);
  print->document->setTextWidth(width);
  print->device = device;
  print->dpiX = device->logicalDpiX();
  print->dpiY = device->logicalDpiY();
  print->width = width;
  print->revision = document()->revision();
  print_ = std::move(print);
  return print_->document.get();
}

int RichTextView::printRange(QPainter& painter, const QRectF& rect, int from, int to) {
  const int end = document()->characterCount() - 1;
  if (to < 0 || to > end) to = end;
  from = std::max(from, 0);
  if (from >= to || painter.device() == nullptr || rect.width() <= 0 || rect.height() <= 0)
    return std::max(from, to);

  QTextDocument* doc = printLayout(painter.device(), rect.width());
  QAbstractTextDocumentLayout* layout = doc->documentLayout();

  QTextBlock first = doc->findBlock(from);
  if (!first.isValid()) return to;
  if (first.length() > 1 && from == first.position() + first.length() - 1) {
    first = first.next();
    if (!first.isValid() || first.position() >= to) return to;
    from = first.position();
  }
  const qreal top = lineTop(layout, first, from);
  const qreal limit = top + rect.height();

  qreal bottom = layout->documentSize().height();
  if (to < end) {
    const QTextBlock lastBlock = doc->findBlock(to);
    QTextLine line;
    const qreal lastTop = lineTop(layout, lastBlock, to, &line);
    const bool lineStartsAtTo = !line.isValid() || lastBlock.position() + line.textStart() == to;
    bottom = lineStartsAtTo ? lastTop : lastTop + line.height();
  }

  // The lines that do not fit: the highest of them starts the next page. Cells of a row
  // lie side by side, so the scan starts with the row's first cell.
  QTextBlock scanStart = first;
  if (QTextTable* table = QTextCursor(first).currentTable()) {
    const int row = table->cellAt(first.position()).row();
    scanStart = doc->findBlock(table->cellAt(row, 0).firstPosition());
  }
  int next = to;
  qreal breakTop = std::numeric_limits<qreal>::infinity();
  for (QTextBlock block = scanStart; block.isValid() && block.position() < to;
       block = block.next()) {
    const qreal blockTop = layout->blockBoundingRect(block).top();
    if (blockTop >= breakTop && startsBand(block)) break;
    const bool pageBreak = block != first && startsNewPage(block);
    const QTextLayout* textLayout = block.layout();
    for (int k = 0; k < textLayout->lineCount(); ++k) {
      const QTextLine line = textLayout->lineAt(k);
      const int position = block.position() + line.textStart();
      if (position >= to) break;
      const qreal lineTopY = blockTop + line.y();
      if (lineTopY <= top) continue;
      if (lineTopY + line.height() > limit || (k == 0 && pageBreak)) {
        if (lineTopY < breakTop) {
          breakTop = lineTopY;
          next = position;
        }
        break;  // the block's further lines lie lower still
      }
    }
  }
  const qreal pageBottom = std::min({bottom, limit, breakTop});

  painter.save();
  painter.translate(rect.left(), rect.top() - top);
  const QRectF band(0, top, rect.width(), pageBottom - top);
  painter.setClipRect(band, Qt::IntersectClip);
  QAbstractTextDocumentLayout::PaintContext context;
  context.clip = band;
  context.palette.setColor(QPalette::Text, Qt::black);
  layout->draw(&painter, context);
  painter.restore();
  return next;
}

}  // namespace tallymoor
