#pragma once
// Reads Rich Text Format into a QTextDocument.

#include <QByteArray>

class QTextDocument;

namespace tallymoor {

// Replaces the content of `document` with the rich text `rtf`. Keeps paragraphs, character
// formats (bold, italic, underline, strike-out, font, size, colours), paragraph formats
// (alignment, indents, spacing, tab stops, page breaks) and tables; skips pictures,
// headers, footers, style sheets and other destinations it does not show. Never fails:
// a truncated or malformed file shows the text that could be read, and input that is not
// RTF at all is shown as plain text.
void readRtf(const QByteArray& rtf, QTextDocument& document);

}  // namespace tallymoor
