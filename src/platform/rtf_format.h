#pragma once
// What the RTF reader and writer agree on beyond Qt's own formats: the unit conversion
// and the font number kept from the file's font table.

#include <QTextFormat>
#include <cmath>

namespace tallymoor {

// QTextDocument lengths are pixels at 96 dots per inch; RTF lengths are twips (1/1440 in).
constexpr double kTwipsPerPixel = 15.0;

inline double twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
inline int pixelsToTwips(double pixels) {
  return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

// The number a run's font had in the RTF font table (int). The writer reuses it, so a
// document read and written again keeps its font numbers (report templates rely on them).
constexpr int kRtfFontNumberProperty = QTextFormat::UserProperty + 0x5254;

}  // namespace tallymoor
