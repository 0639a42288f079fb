#pragma once
// The program's QApplication: an exception that escapes a user action (an I/O failure, a
// text that is no number) ends that action with its message instead of the program.

#include <QApplication>
#include <functional>

namespace tallymoor {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs one user action. When it ends by an exception, every open file set is closed and
// the exception's message is shown; returns false then.
bool runUserAction(const std::function<void()>& action);

}  // namespace tallymoor
