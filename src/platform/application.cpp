#include "platform/application.h"

#include <exception>

#include "platform/desktop.h"
#include "record-store/record_store.h"

namespace tallymoor {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  runUserAction([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

bool runUserAction(const std::function<void()>& action) {
  QString failure;
  try {
    action();
    return true;
  } catch (const std::exception& e) {
    failure = QString::fromLocal8Bit(e.what());
  } catch (...) {
    failure = QStringLiteral("Unexpected error");
  }
  // A set that the failed action opened must not stay open: every later open would only
  // count a nesting level and open nothing.
  recordStore().closeEverything();
  desktop().showMessage(failure);
  return false;
}

}  // namespace tallymoor
