#include "startup/forms/caption_routine.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <map>

#include "record-store/number_format.h"
#include "record-store/record_store.h"
#include "startup/caption_table.h"
#include "startup/language_loader.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

// Every text a person can read on every form, keyed by form and control.
std::map<QString, QString> visibleTexts(const QList<Form*>& forms) {
  std::map<QString, QString> texts;
  for (Form* form : forms) {
    texts[form->objectName()] = form->windowTitle();
    for (QObject* child : form->findChildren<QObject*>()) {
      QString key = form->objectName() + "." + child->objectName();
      if (auto* button = qobject_cast<QAbstractButton*>(child)) texts[key] = button->text();
      if (auto* label = qobject_cast<QLabel*>(child)) texts[key] = label->text();
      if (auto* menu = qobject_cast<QMenu*>(child)) texts[key] = menu->title();
      if (auto* action = qobject_cast<QAction*>(child)) texts[key] = action->text();
    }
  }
  return texts;
}

class CaptionRoutineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.installShippedFiles();
    harness.start();
  }
  void useLanguage(const std::string& name) {
    session().systemParameters.languageName = name;
    ASSERT_TRUE(loadLanguage(recordStore(), name, session().language));
    runCaptionRoutine(harness.program().forms());
  }
  ProgramHarness harness;
};

TEST_F(CaptionRoutineTest, EveryCaptionOfTheTableFindsItsControl) {
  useLanguage("Deutsch");
  for (const CaptionRow& row : captionTable()) {
    Form* form = harness.program().form(row.form);
    if (!form) continue;  // a form of a later part of the program
    SCOPED_TRACE(std::string(row.form) + "." + row.control);
    QObject* control = form->findChild<QObject*>(row.control);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(setCaption(control, "x")) << "the control shows no caption";
  }
}

TEST_F(CaptionRoutineTest, RunningItTwiceGivesTheSameResult) {
  useLanguage("Nederlands");
  auto once = visibleTexts(harness.program().forms());
  runCaptionRoutine(harness.program().forms());
  EXPECT_EQ(visibleTexts(harness.program().forms()), once);
  // And another language changes them.
  useLanguage("English");
  EXPECT_NE(visibleTexts(harness.program().forms()), once);
  EXPECT_EQ(session().languageName, "English");
}

TEST_F(CaptionRoutineTest, AnEmptyLanguageRecordGivesEmptyCaptions) {
  session().language = LanguageRecord{};
  runCaptionRoutine(harness.program().forms());
  auto* save = harness.control<QAbstractButton>("Tsystemscherm", "Button2");
  EXPECT_EQ(save->text(), "");
  EXPECT_EQ(harness.form("Tsystemscherm")->windowTitle(), "Tallymoor Lite 2.0.4 :  / ");
}

TEST_F(CaptionRoutineTest, ChoosingAnAdministrationMovesTheDirectoriesNotTheLanguage) {
  useLanguage("Nederlands");
  Session& s = session();
  s.administrationCode = "ACME";
  s.systemParameters.decimals = 3;
  s.systemParameters.currencySymbol = '$';
  LanguageRecord before = s.language;
  runCaptionRoutine(harness.program().forms());
  EXPECT_EQ(recordStore().administrationDirectory, s.baseDataDirectory + "ACME/");
  EXPECT_EQ(s.systemParameters.directory, s.baseDataDirectory + "ACME/");
  EXPECT_EQ(recordStore().baseDataDirectory, s.baseDataDirectory);
  EXPECT_EQ(numberFormat().decimals, 3);
  EXPECT_EQ(numberFormat().currencySymbol, '$');
  EXPECT_EQ(s.language.encode(), before.encode());
  EXPECT_EQ(s.helpBlock.fileCaption, "Bestand");
  EXPECT_EQ(s.helpBlock.languageName, "Nederlands");
}

}  // namespace
}  // namespace tallymoor
