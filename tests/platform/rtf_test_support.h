#pragma once
// Helpers of the RTF reader, writer and rich-text view tests.

#include <gtest/gtest.h>

#include <QBrush>
#include <QFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextTable>
#include <memory>
#include <ostream>

#include "platform/rtf_format.h"
#include "platform/rtf_reader.h"

// Readable failure messages. QString, QStringList and QColor live in the global namespace,
// where GoogleTest looks for these.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << "{\n";
  for (const QString& text : list) *out << "  \"" << text.toStdString() << "\"\n";
  *out << "}";
}
inline void PrintTo(const QColor& color, std::ostream* out) {
  *out << (color.isValid() ? color.name().toStdString() : std::string("invalid"));
}

namespace tallymoor::rtf_test {

// A file of tests/fixtures/rtf.
inline QByteArray rtfFixture(const QString& name) {
  QFile file(QStringLiteral(TALLYMOOR_SOURCE_DIR "/tests/fixtures/rtf/") + name);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "missing fixture " << name.toStdString();
    return {};
  }
  return file.readAll();
}

inline std::unique_ptr<QTextDocument> readDocument(const QByteArray& rtf) {
  auto document = std::make_unique<QTextDocument>();
  readRtf(rtf, *document);
  return document;
}

// The text of every paragraph, table cell paragraphs included, in document order.
inline QStringList paragraphs(const QTextDocument& document) {
  QStringList result;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    result.append(block.text());
  return result;
}

// The format of the first character of the first occurrence of `text`.
inline QTextCharFormat formatOf(const QTextDocument& document, const QString& text) {
  const QTextCursor found = document.find(text);
  if (found.isNull()) {
    ADD_FAILURE() << "text not found: " << text.toStdString();
    return {};
  }
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  cursor.setPosition(found.selectionStart() + 1);
  return cursor.charFormat();
}

// The paragraph that holds the first occurrence of `text`.
inline QTextBlock blockOf(const QTextDocument& document, const QString& text) {
  const QTextCursor found = document.find(text);
  if (found.isNull()) {
    ADD_FAILURE() << "text not found: " << text.toStdString();
    return {};
  }
  return document.findBlock(found.selectionStart());
}

inline QTextTable* firstTable(const QTextDocument& document) {
  for (QTextFrame* frame : document.rootFrame()->childFrames())
    if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
  return nullptr;
}

inline QString describeChars(const QTextCharFormat& format) {
  QString text;
  const QStringList families = format.fontFamilies().toStringList();
  text += QStringLiteral("font=%1").arg(families.join(QLatin1Char(',')));
  text += QStringLiteral(" size=%1").arg(format.fontPointSize());
  if (format.fontWeight() >= QFont::DemiBold) text += QStringLiteral(" bold");
  if (format.fontItalic()) text += QStringLiteral(" italic");
  if (format.fontUnderline()) text += QStringLiteral(" underline");
  if (format.fontStrikeOut()) text += QStringLiteral(" strike");
  if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
    text += QStringLiteral(" super");
  if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) text += QStringLiteral(" sub");
  if (format.foreground().style() != Qt::NoBrush)
    text += QStringLiteral(" fg=") + format.foreground().color().name();
  if (format.background().style() != Qt::NoBrush)
    text += QStringLiteral(" bg=") + format.background().color().name();
  return text;
}

inline QString describeBlock(const QTextBlock& block) {
  const QTextBlockFormat format = block.blockFormat();
  QString text = QStringLiteral("paragraph align=%1 left=%2 right=%3 indent=%4 top=%5 bottom=%6")
                     .arg(int(format.alignment() & Qt::AlignHorizontal_Mask))
                     .arg(format.leftMargin())
                     .arg(format.rightMargin())
                     .arg(format.textIndent())
                     .arg(format.topMargin())
                     .arg(format.bottomMargin());
  for (const QTextOption::Tab& tab : format.tabPositions())
    text += QStringLiteral(" tab=%1/%2").arg(tab.position).arg(int(tab.type));
  if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
    text += QStringLiteral(" page-break");
  if (block.length() == 1)
    text += QStringLiteral(" mark{") + describeChars(block.charFormat()) + '}';
  for (auto it = block.begin(); !it.atEnd(); ++it)
    text += QStringLiteral(" [%1]{%2}")
                .arg(it.fragment().text(), describeChars(it.fragment().charFormat()));
  return text;
}

inline void describeFrame(QTextFrame* frame, QStringList& out) {
  for (auto it = frame->begin(); !it.atEnd(); ++it) {
    if (QTextFrame* child = it.currentFrame()) {
      auto* table = qobject_cast<QTextTable*>(child);
      if (table == nullptr) {
        describeFrame(child, out);
        continue;
      }
      const QTextTableFormat format = table->format();
      QString head = QStringLiteral("table %1x%2 border=%3 padding=%4 widths=")
                         .arg(table->rows())
                         .arg(table->columns())
                         .arg(format.border())
                         .arg(format.cellPadding());
      for (const QTextLength& width : format.columnWidthConstraints())
        head += QStringLiteral("%1:%2,").arg(int(width.type())).arg(width.rawValue());
      out.append(head);
      for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
          const QTextTableCell cell = table->cellAt(r, c);
          QString cellHead = QStringLiteral("cell %1,%2").arg(r).arg(c);
          if (cell.format().background().style() != Qt::NoBrush)
            cellHead += QStringLiteral(" bg=") + cell.format().background().color().name();
          out.append(cellHead);
          for (auto inner = cell.begin(); !inner.atEnd(); ++inner)
            if (inner.currentFrame() == nullptr)
              out.append(QStringLiteral("  ") + describeBlock(inner.currentBlock()));
        }
      }
    } else {
      out.append(describeBlock(it.currentBlock()));
    }
  }
}

// The text, paragraphs, tables and formats of `document`, one entry per paragraph or
// cell, for comparing two documents.
inline QStringList describe(const QTextDocument& document) {
  QStringList out;
  describeFrame(document.rootFrame(), out);
  return out;
}

}  // namespace tallymoor::rtf_test
