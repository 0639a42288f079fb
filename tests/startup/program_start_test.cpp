#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "platform/form.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "startup/forms/startup_error_form.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

TEST(ProgramStart, AnEmptyStartDirectoryGetsItsSystemFilesAndTheMainWindow) {
  ProgramHarness harness;
  harness.start();
  ASSERT_TRUE(harness.program().started());
  for (const char* name : {"sysparm010000.vlt", "user.vlt", "vlt010005.lan", "ins.vlt"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::filesystem::exists(harness.path(name)));
  }
  // The language file stays as it was; the system settings write their first record.
  EXPECT_EQ(std::filesystem::file_size(harness.path("vlt010005.lan")), 0u);
  EXPECT_EQ(std::filesystem::file_size(harness.path("sysparm010000.vlt")), 816u);
  EXPECT_TRUE(std::filesystem::exists(harness.path("data/admin.vlt")));
  EXPECT_FALSE(std::filesystem::exists(harness.path("admin.vlt")));

  Form* main = harness.form("TStartscherm");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, harness.program().mainForm());
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->windowTitle(), "Tallymoor Lite 2.0.4 : Menu ");
  // Its first activation closed the start-up set: the next open is a real one.
  EXPECT_FALSE(recordStore().isSetOpen());
  EXPECT_EQ(harness.program().startupErrorForm(), nullptr);
  EXPECT_TRUE(harness.desktop().messages.isEmpty());
}

TEST(ProgramStart, TheStartupSetStaysOpenWhileTheFormsAreCreated) {
  ProgramHarness harness;
  Program program;  // created, not yet shown
  EXPECT_TRUE(program.started());
  EXPECT_TRUE(recordStore().isSetOpen());
  for (FileCode code : {FileCode::USE, FileCode::SYS, FileCode::ADM, FileCode::LAN, FileCode::INS})
    EXPECT_TRUE(recordStore().isOpen(code));
  program.show();
  harness.processEvents();
  // A first run asks for the settings first; the set stays open until the start screen
  // is really active.
  Form* settings = program.form("Tsystemscherm");
  ASSERT_TRUE(settings->isVisible());
  EXPECT_FALSE(program.mainForm()->isVisible());
  EXPECT_TRUE(recordStore().isSetOpen());
  settings->close();
  harness.processEvents();
  EXPECT_TRUE(program.mainForm()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
}

TEST(ProgramStart, AReadOnlyUserFileShowsTheStartupErrorAndNothingElse) {
  ProgramHarness harness;
  testing::writeFile(harness.path("user.vlt"), "");
  ::chmod(harness.path("user.vlt").c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    harness.start();
  }
  ASSERT_FALSE(harness.program().started());
  EXPECT_FALSE(harness.program().mainForm()->isVisible());
  StartupErrorForm* error = harness.program().startupErrorForm();
  ASSERT_NE(error, nullptr);
  EXPECT_TRUE(error->isVisible());
  EXPECT_EQ(error->windowTitle(), "Startup error");
  auto line = [&](const char* name) {
    return harness.control<QLabel>("Tstartuperror", name)->text();
  };
  EXPECT_EQ(line("Label1"), "1. Check file and folder properties !. (None readonly)");
  EXPECT_EQ(line("Label2"), "IO errorcode: USE5");
  EXPECT_EQ(line("Label3").toStdString(), systemErrorText(kAccessDenied));
  EXPECT_FALSE(recordStore().isSetOpen());

  bool closed = false;
  QObject::connect(error, &Form::closed, [&] { closed = true; });
  harness.run("Tstartuperror", "Button1Click");
  EXPECT_TRUE(closed);
  EXPECT_FALSE(error->isVisible());
  EXPECT_FALSE(harness.program().mainForm()->isVisible());
}

TEST(ProgramStart, AnAdministrationListInTheStartDirectoryMovesIntoTheDataDirectory) {
  ProgramHarness harness;
  std::string record(275, '\0');
  record[0] = 4;
  record.replace(1, 4, "ACME");
  testing::writeFile(harness.path("admin.vlt"), record + record);
  harness.start();
  ASSERT_TRUE(harness.program().started());
  EXPECT_FALSE(std::filesystem::exists(harness.path("admin.vlt")));
  EXPECT_EQ(testing::readFile(harness.path("data/admin.vlt")), record + record);
}

}  // namespace
}  // namespace tallymoor
