#pragma once
// A text of the current language, ready for a control.

#include <QString>
#include <cstddef>

#include "platform/record_text.h"
#include "startup/session.h"

namespace tallymoor {

// The text at `offset` of the current language record.
inline QString languageText(int offset) {
  return fromRecordText(session().text(static_cast<std::size_t>(offset)));
}

}  // namespace tallymoor
