#include "platform/rtf_writer.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/rtf_format.h"
#include "record-store/windows1252.h"

namespace tallymoor {
namespace {

// The text width that relative and free column widths are measured against: A4 with
// margins of 2 cm.
constexpr int kTextWidthTwips = 9638;

int roundToInt(double value) { return static_cast<int>(std::lround(value)); }

QString familyOf(const QTextCharFormat& format) {
  const QStringList families = format.fontFamilies().toStringList();
  if (!families.isEmpty()) return families.first();
  return format.stringProperty(QTextFormat::FontFamily);
}

class RtfWriter {
 public:
  RtfWriter(const QTextDocument& document, int from, int to)
      : document_(document), from_(from), to_(to) {}

  QStringList lines() {
    writeFrame(document_.rootFrame());
    QStringList result;
    result.reserve(body_.size() + 3);
    result.append(fontTableLine());
    result.append(colorTableLine());
    result.append(body_);
    result.append(QStringLiteral("}"));
    return result;
  }

 private:
  bool blockInRange(const QTextBlock& block) const {
    const int start = block.position();
    const int last = start + block.length() - 1;  // the paragraph mark
    // An empty last paragraph lies at the document's end, just outside [from, end).
    const bool emptyAtEnd = start == to_ && to_ == document_.characterCount() - 1;
    return (start < to_ || emptyAtEnd) && last >= from_;
  }

  void writeFrame(QTextFrame* frame) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
      if (QTextFrame* child = it.currentFrame()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
          writeTable(table);
        else
          writeFrame(child);
      } else {
        const QTextBlock block = it.currentBlock();
        if (!blockInRange(block)) continue;
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
          body_.append(QStringLiteral("\\page"));
        body_.append(paragraphLine(block, false, QStringLiteral("\\par")));
      }
    }
  }

  // The blocks of a table cell, nested frames flattened.
  static void collectBlocks(QTextFrame::iterator it, std::vector<QTextBlock>& blocks) {
    for (; !it.atEnd(); ++it) {
      if (QTextFrame* child = it.currentFrame())
        collectBlocks(child->begin(), blocks);
      else
        blocks.push_back(it.currentBlock());
    }
  }

  void writeTable(QTextTable* table) {
    const QTextTableFormat format = table->format();
    const int columns = table->columns();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
      const QTextTableCell first = table->cellAt(0, 0);
      if (first.isValid() && first.firstPosition() >= from_ && first.firstPosition() < to_)
        body_.append(QStringLiteral("\\page"));
    }

    // Cell boundaries in twips.
    std::vector<int> rights;
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    int position = 0;
    for (int c = 0; c < columns; ++c) {
      const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
      int width = kTextWidthTwips / std::max(columns, 1);
      if (length.type() == QTextLength::FixedLength)
        width = pixelsToTwips(length.rawValue());
      else if (length.type() == QTextLength::PercentageLength)
        width = roundToInt(length.rawValue() * kTextWidthTwips / 100.0);
      position += std::max(width, 1);
      rights.push_back(position);
    }
    const bool borders =
        format.border() > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None;
    QString rowStart = QStringLiteral("\\trowd\\trgaph%1").arg(pixelsToTwips(format.cellPadding()));
    if (format.alignment() & Qt::AlignHCenter) rowStart += QStringLiteral("\\trqc");
    if (format.alignment() & Qt::AlignRight) rowStart += QStringLiteral("\\trqr");

    for (int r = 0; r < table->rows(); ++r) {
      const int rowStartPosition = table->cellAt(r, 0).firstPosition();
      const int rowLastPosition = table->cellAt(r, columns - 1).lastPosition();
      if (rowStartPosition >= to_ || rowLastPosition < from_) continue;

      QString definition = rowStart;
      std::vector<QTextTableCell> cells;
      for (int c = 0; c < columns;) {
        const QTextTableCell cell = table->cellAt(r, c);
        const int span = std::max(cell.columnSpan(), 1);
        if (borders)
          definition += QStringLiteral(
              "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
              "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
        const QBrush background = cell.format().background();
        if (background.style() != Qt::NoBrush)
          definition += QStringLiteral("\\clcbpat%1").arg(colorNumber(background.color()));
        // A cell that a cell above spans is written empty.
        if (cell.row() != r) definition += QStringLiteral("\\clvmrg");
        const int last = std::min(c + span, columns) - 1;
        definition += QStringLiteral("\\cellx%1").arg(rights[static_cast<std::size_t>(last)]);
        cells.push_back(cell);
        c += span;
      }
      body_.append(definition);

      for (const QTextTableCell& cell : cells) {
        std::vector<QTextBlock> blocks;
        if (cell.row() == r) collectBlocks(cell.begin(), blocks);
        if (blocks.empty()) {
          body_.append(QStringLiteral("\\pard\\intbl\\cell"));
          continue;
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
          const bool last = i + 1 == blocks.size();
          body_.append(paragraphLine(blocks[i], true,
                                     last ? QStringLiteral("\\cell") : QStringLiteral("\\par")));
        }
      }
      body_.append(QStringLiteral("\\row"));
    }
  }

  QString paragraphLine(const QTextBlock& block, bool inTable, const QString& end) {
    const QTextBlockFormat format = block.blockFormat();
    QString line = QStringLiteral("\\pard");
    if (inTable) line += QStringLiteral("\\intbl");
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
      line += QStringLiteral("\\qc");
    else if (align & Qt::AlignRight)
      line += QStringLiteral("\\qr");
    else if (align & Qt::AlignJustify)
      line += QStringLiteral("\\qj");
    appendLength(line, "\\li", format.leftMargin());
    appendLength(line, "\\ri", format.rightMargin());
    appendLength(line, "\\fi", format.textIndent());
    appendLength(line, "\\sb", format.topMargin());
    appendLength(line, "\\sa", format.bottomMargin());
    for (const QTextOption::Tab& tab : format.tabPositions()) {
      if (tab.type == QTextOption::RightTab) line += QStringLiteral("\\tqr");
      if (tab.type == QTextOption::CenterTab) line += QStringLiteral("\\tqc");
      if (tab.type == QTextOption::DelimiterTab) line += QStringLiteral("\\tqdec");
      line += QStringLiteral("\\tx%1").arg(pixelsToTwips(tab.position));
    }

    bool wroteText = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int start = std::max(fragment.position(), from_);
      const int stop = std::min(fragment.position() + fragment.length(), to_);
      if (start >= stop) continue;
      const QString text = fragment.text().mid(start - fragment.position(), stop - start);
      line += runCode(fragment.charFormat());
      line += QLatin1Char(' ');
      appendEscaped(line, text);
      wroteText = true;
    }
    // An empty paragraph keeps its mark's font: it sets the height of the line.
    if (!wroteText) line += runCode(block.charFormat());
    line += end;
    return line;
  }

  static void appendLength(QString& line, const char* word, double pixels) {
    const int twips = pixelsToTwips(pixels);
    if (twips != 0) line += QLatin1String(word) + QString::number(twips);
  }

  QString runCode(const QTextCharFormat& format) {
    QString code = QStringLiteral("\\plain");
    const QString family = familyOf(format);
    if (!family.isEmpty()) code += QStringLiteral("\\f%1").arg(fontNumber(format, family));
    if (format.hasProperty(QTextFormat::FontPointSize))
      code += QStringLiteral("\\fs%1").arg(roundToInt(format.fontPointSize() * 2));
    if (format.fontWeight() >= QFont::DemiBold) code += QStringLiteral("\\b");
    if (format.fontItalic()) code += QStringLiteral("\\i");
    if (format.fontUnderline()) code += QStringLiteral("\\ul");
    if (format.fontStrikeOut()) code += QStringLiteral("\\strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
      code += QStringLiteral("\\super");
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
      code += QStringLiteral("\\sub");
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
      code += QStringLiteral("\\cf%1").arg(colorNumber(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() != Qt::NoBrush)
      code += QStringLiteral("\\highlight%1").arg(colorNumber(format.background().color()));
    return code;
  }

  // The font's number from the file it was read from when still free, else the lowest
  // free one.
  int fontNumber(const QTextCharFormat& format, const QString& family) {
    auto known = numberOfFamily_.constFind(family);
    if (known != numberOfFamily_.constEnd()) return *known;
    int number = -1;
    if (format.hasProperty(kRtfFontNumberProperty)) {
      const int wanted = format.intProperty(kRtfFontNumberProperty);
      if (wanted >= 0 && !usedNumbers_.contains(wanted)) number = wanted;
    }
    if (number < 0) {
      while (usedNumbers_.contains(nextFreeNumber_)) ++nextFreeNumber_;
      number = nextFreeNumber_;
    }
    usedNumbers_.insert(number);
    numberOfFamily_.insert(family, number);
    fonts_.push_back({number, family});
    return number;
  }

  int colorNumber(const QColor& color) {
    const QRgb rgb = color.rgb();
    auto known = colorIndex_.constFind(rgb);
    if (known != colorIndex_.constEnd()) return *known;
    colors_.push_back(rgb);
    const int index = static_cast<int>(colors_.size());  // entry 0 is "automatic"
    colorIndex_.insert(rgb, index);
    return index;
  }

  QString fontTableLine() const {
    std::vector<std::pair<int, QString>> fonts = fonts_;
    std::sort(fonts.begin(), fonts.end());
    QString line = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (const auto& [number, family] : fonts) {
      line += QStringLiteral("{\\f%1\\fnil\\fcharset0 ").arg(number);
      appendEscaped(line, family);
      line += QStringLiteral(";}");
    }
    line += QLatin1Char('}');
    return line;
  }

  QString colorTableLine() const {
    QString line = QStringLiteral("{\\colortbl;");
    for (QRgb rgb : colors_)
      line += QStringLiteral("\\red%1\\green%2\\blue%3;")
                  .arg(qRed(rgb))
                  .arg(qGreen(rgb))
                  .arg(qBlue(rgb));
    line += QLatin1Char('}');
    return line;
  }

  static void appendEscaped(QString& out, const QString& text) {
    for (const QChar ch : text) {
      const char16_t c = ch.unicode();
      switch (c) {
        case u'\\':
          out += QStringLiteral("\\\\");
          continue;
        case u'{':
          out += QStringLiteral("\\{");
          continue;
        case u'}':
          out += QStringLiteral("\\}");
          continue;
        case u'\t':
          out += QStringLiteral("\\tab ");
          continue;
        case u'\u2028':
        case u'\n':
          out += QStringLiteral("\\line ");
          continue;
        case u'\u00A0':
          out += QStringLiteral("\\~");
          continue;
        case u'\u00AD':
          out += QStringLiteral("\\-");
          continue;
        case u'\u2011':
          out += QStringLiteral("\\_");
          continue;
        case u'\uFFFC':  // an embedded object: not written
          continue;
        default:
          break;
      }
      if (c >= 0x20 && c < 0x7F) {
        out += ch;
      } else if (c < 0x20) {
        continue;
      } else {
        const std::string byte = utf8ToWindows1252(QString(ch).toStdString());
        const auto value = static_cast<unsigned char>(byte.empty() ? '?' : byte[0]);
        if (value >= 0x80) {
          out += QStringLiteral("\\'%1").arg(value, 2, 16, QLatin1Char('0'));
        } else {
          // Not in Windows-1252 (or half of a surrogate pair): \uN with '?' as fallback.
          out += QStringLiteral("\\u%1?").arg(static_cast<int>(static_cast<int16_t>(c)));
        }
      }
    }
  }

  const QTextDocument& document_;
  const int from_;
  const int to_;
  QStringList body_;
  std::vector<std::pair<int, QString>> fonts_;
  QHash<QString, int> numberOfFamily_;
  QSet<int> usedNumbers_;
  int nextFreeNumber_ = 0;
  std::vector<QRgb> colors_;
  QHash<QRgb, int> colorIndex_;
};

}  // namespace

QStringList writeRtfLines(const QTextDocument& document, int from, int to) {
  const int end = document.characterCount() - 1;
  from = std::clamp(from, 0, std::max(end, 0));
  to = to < 0 ? end : std::min(to, end);
  return RtfWriter(document, from, to).lines();
}

QByteArray writeRtf(const QTextDocument& document, int from, int to) {
  QByteArray out;
  for (const QString& line : writeRtfLines(document, from, to)) {
    out += line.toLatin1();
    out += "\r\n";
  }
  return out;
}

}  // namespace tallymoor
