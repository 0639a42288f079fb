#include "record-store/number_format.h"

#include <clocale>
#include <cstdio>

namespace tallymoor {

NumberFormat& numberFormat() {
  static NumberFormat format;
  return format;
}

char localeDecimalSeparator() {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f", 1.2);
  return text[1] == '.' ? '.' : ',';
}

}  // namespace tallymoor
