#pragma once
// The bookkeeping program from its first instruction up to the user interface loop: open
// the system files, then create every form while that set is open, or show the start-up
// error form when it could not be opened.

#include <QList>
#include <QString>
#include <memory>
#include <vector>

#include "platform/form.h"

namespace tallymoor {

class HelpForm;
class StartupErrorForm;

class Program {
 public:
  // Opens the start-up set in the record store of this process and creates the forms;
  // shows nothing.
  Program();
  ~Program();

  // False when the start-up set could not be opened: only the start screen (created,
  // never shown) and the start-up error form exist then.
  bool started() const { return started_; }
  // TStartscherm.
  Form* mainForm() const;
  // Tstartuperror, after a failed start; otherwise none.
  StartupErrorForm* startupErrorForm() const { return startupError_.get(); }
  // Every form, in the order of creation (the start-up error form last).
  QList<Form*> forms() const;
  // The form whose class name is `className`, or none.
  Form* form(const QString& className) const;

  // Shows the first form: the start screen maximised, or the start-up error form.
  void show();

 private:
  bool started_ = false;
  HelpForm* helpForm_ = nullptr;
  std::vector<std::unique_ptr<Form>> forms_;
  std::unique_ptr<StartupErrorForm> startupError_;
};

// The open set of the program start.
inline constexpr const char* kStartupSet = "USE;SYS;ADM;LAN;INS";

}  // namespace tallymoor
