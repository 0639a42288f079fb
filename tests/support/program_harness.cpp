#include "support/program_harness.h"

#include <unistd.h>

#include <QApplication>
#include <QMetaObject>
#include <filesystem>

#include "platform/application.h"
#include "platform/form_pictures.h"
#include "record-store/number_format.h"
#include "record-store/record_store.h"

namespace tallymoor::testing {

ProgramHarness::ProgramHarness() {
  char buffer[4096];
  previousDirectory_ = ::getcwd(buffer, sizeof buffer) ? buffer : "/";
  if (::chdir(start_.path().c_str()) != 0) ADD_FAILURE() << "cannot enter the start directory";
  resetRecordStore(start_.path());
  numberFormat() = NumberFormat{};
  setDesktop(&desktop_);
}

ProgramHarness::~ProgramHarness() {
  program_.reset();
  processEvents();
  setDesktop(nullptr);
  resetRecordStore(previousDirectory_);
  (void)::chdir(previousDirectory_.c_str());
}

void ProgramHarness::installShippedFiles() {
  std::filesystem::path shipped = std::filesystem::path(TALLYMOOR_BINARY_DIR) / "share";
  if (!std::filesystem::exists(shipped)) return;
  for (const auto& entry : std::filesystem::directory_iterator(shipped))
    std::filesystem::copy_file(entry.path(), start_ / entry.path().filename().string(),
                               std::filesystem::copy_options::skip_existing);
}

void ProgramHarness::startWithoutAnswering() {
  program_ = std::make_unique<Program>();
  program_->show();
  processEvents();
}

void ProgramHarness::start() {
  startWithoutAnswering();
  Form* settings = program_->form("Tsystemscherm");
  if (program_->started() && settings && settings->isVisible())
    run("Tsystemscherm", "opslaanExecute");
}

Form* ProgramHarness::form(const QString& className) {
  Form* found = program_ ? program_->form(className) : nullptr;
  EXPECT_NE(found, nullptr) << "no form " << className.toStdString();
  return found;
}

bool ProgramHarness::run(const QString& formClass, const QString& action) {
  Form* owner = form(formClass);
  if (!owner) return false;
  bool invoked = false;
  bool completed = runUserAction([&] {
    invoked = QMetaObject::invokeMethod(owner, action.toLatin1().constData(), Qt::DirectConnection);
  });
  EXPECT_TRUE(invoked || !completed)
      << formClass.toStdString() << " has no action " << action.toStdString();
  processEvents();
  return invoked && completed;
}

void ProgramHarness::processEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool ProgramHarness::savePicture(const QString& formClass, const QString& fileName) {
  Form* owner = form(formClass);
  return owner && saveFormPicture(*owner, fileName);
}

}  // namespace tallymoor::testing
