#pragma once
// The one crossing between the stored Windows-1252 texts and the forms' QString.

#include <QString>
#include <string>
#include <string_view>

#include "record-store/windows1252.h"

namespace tallymoor {

inline QString fromRecordText(std::string_view text) {
  return QString::fromStdString(windows1252ToUtf8(text));
}

// A character that Windows-1252 cannot hold becomes '?'.
inline std::string toRecordText(const QString& text) {
  return utf8ToWindows1252(text.toStdString());
}

}  // namespace tallymoor
