#pragma once
// Starts the whole bookkeeping program headless in a fresh start directory of its own and
// reaches into it the way a person would: forms by class name, controls by name, actions
// by name, dialogs answered from a script.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "app/program.h"
#include "platform/scripted_desktop.h"
#include "support/temp_directory.h"

namespace tallymoor::testing {

class ProgramHarness {
 public:
  // Makes the start directory and changes into it; the program is not started yet.
  ProgramHarness();
  ~ProgramHarness();

  // Copies the files that the run command installs (language file, help texts, report
  // templates) into the start directory.
  void installShippedFiles();
  // Runs the program start and shows the first form, as the real program does. A first
  // run asks for the system settings before anything else; start() saves them as they are
  // offered, as a person pressing Save would, so the start screen is ready to log in.
  void start();
  // The program start alone: a first run leaves the system settings form waiting.
  void startWithoutAnswering();

  Program& program() { return *program_; }
  const std::string& startDirectory() const { return start_.path(); }
  std::string path(const std::string& name) const { return start_ / name; }
  ScriptedDesktop& desktop() { return desktop_; }

  // The form of that class; fails the test when there is none.
  Form* form(const QString& className);
  // A control of a form by its objectName; fails the test when there is none.
  template <typename Control = QWidget>
  Control* control(const QString& formClass, const QString& name) {
    Form* owner = form(formClass);
    if (!owner) return nullptr;
    auto* found = owner->findChild<Control*>(name);
    EXPECT_NE(found, nullptr) << formClass.toStdString() << " has no control "
                              << name.toStdString();
    return found;
  }
  // Runs a form's action (a public slot without arguments) as a user action: an exception
  // ends it with its message. False when the action does not exist or failed.
  bool run(const QString& formClass, const QString& action);
  // Lets queued events (shows, closes) happen.
  void processEvents();
  // Writes a picture of the form.
  bool savePicture(const QString& formClass, const QString& fileName);

 private:
  TempDirectory start_;
  std::string previousDirectory_;
  ScriptedDesktop desktop_;
  std::unique_ptr<Program> program_;
};

}  // namespace tallymoor::testing
