#include "platform/desktop.h"

#include "platform/qt_desktop.h"

namespace tallymoor {
namespace {
Desktop* installedDesktop = nullptr;
}

Desktop& desktop() {
  static QtDesktop qtDesktop;
  return installedDesktop ? *installedDesktop : qtDesktop;
}

void setDesktop(Desktop* replacement) { installedDesktop = replacement; }

}  // namespace tallymoor
