#pragma once
// Writes a QTextDocument, or a character range of it, as Rich Text Format.

#include <QByteArray>
#include <QStringList>

class QTextDocument;

namespace tallymoor {

// The characters [from, to) of `document` as RTF lines (to < 0: to the end). Line 0 opens
// the document and holds the font table, line 1 the colour table; then one line per
// paragraph ("\pard...\par"), with a page break on a line "\page" of its own before the
// paragraph it starts; a table row is a "\trowd...\cellx" line, one line per cell
// paragraph and a "\row" line (rows are written whole). The last line is "}". A text run
// reads "\plain\f<font>\fs<half-points>" and its other properties, a blank, then the text;
// fonts keep the numbers they had in the file they were read from. The lines are ASCII:
// other characters are written as \'hh (Windows-1252) or \uN?.
QStringList writeRtfLines(const QTextDocument& document, int from = 0, int to = -1);

// The same lines, each ended by CR LF.
QByteArray writeRtf(const QTextDocument& document, int from = 0, int to = -1);

}  // namespace tallymoor
