#include "platform/form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>

#include "platform/application.h"
#include "platform/scripted_desktop.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

class CountingForm : public Form {
 public:
  explicit CountingForm(const QString& name) : Form(name) {
    setCentralWidget(edit = new QLineEdit(this));
  }
  QString helpMarker() const override { return "<ADM00>"; }
  QLineEdit* edit;
};

void pressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QApplication::processEvents();
}

TEST(Form, StatusLineShowsTheKindOfMessageUntilReset) {
  CountingForm form("TTest");
  EXPECT_EQ(form.objectName(), "TTest");
  struct Case {
    const char* name;
    StatusKind kind;
    const char* colour;
  };
  const Case cases[] = {{"error", StatusKind::Error, "#e53935"},
                        {"notice", StatusKind::Notice, "#43a047"},
                        {"warning", StatusKind::Warning, "#fdd835"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.setStatus("text", c.kind);
    EXPECT_EQ(form.statusKind(), c.kind);
    EXPECT_TRUE(form.statusBar()->styleSheet().contains(c.colour));
    form.resetStatus();
    EXPECT_EQ(form.statusKind(), StatusKind::Plain);
    EXPECT_TRUE(form.statusBar()->styleSheet().isEmpty());
    EXPECT_EQ(form.statusText(), "text") << "resetting changes the colour, not the text";
  }
}

TEST(Form, ModalShowHidesTheCallerAndActivatesItAgainWhenDone) {
  CountingForm caller("TCaller");
  CountingForm shown("TShown");
  caller.show();
  ASSERT_EQ(caller.activationCount(), 1);
  int closedCalls = 0;
  caller.showModalHidingCaller(&shown, [&] { ++closedCalls; });
  EXPECT_FALSE(caller.isVisible());
  EXPECT_TRUE(shown.isVisible());
  EXPECT_EQ(shown.windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(shown.activationCount(), 1);

  shown.close();
  EXPECT_TRUE(caller.isVisible());
  EXPECT_EQ(caller.activationCount(), 2);
  EXPECT_EQ(closedCalls, 1);

  // A second round does not run the first round's callback again.
  caller.showModalHidingCaller(&shown);
  shown.close();
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(caller.activationCount(), 3);
}

TEST(Form, ComingBackFromHelpKeepsWhatWasTyped) {
  CountingForm caller("TCaller");
  CountingForm viewer("TViewer");
  Form::setHelpHandler([&](Form* form, const QString&) { form->showModalHidingCaller(&viewer); });
  caller.show();
  caller.edit->setText("typed, not saved");
  caller.showHelp("<ADM00>");
  EXPECT_FALSE(caller.isVisible());
  viewer.close();
  EXPECT_TRUE(caller.isVisible());
  EXPECT_EQ(caller.activationCount(), 1) << "no second activation, which would reload the form";
  // A form shown from it later does activate it again.
  caller.showModalHidingCaller(&viewer);
  viewer.close();
  EXPECT_EQ(caller.activationCount(), 2);
  Form::setHelpHandler({});
}

TEST(Form, KeysReachTheFormBeforeItsControls) {
  CountingForm form("TKeys");
  QString helpAsked;
  Form::setHelpHandler([&](Form* f, const QString& marker) { helpAsked = marker; });
  form.show();
  pressKey(form.edit, Qt::Key_F1);
  EXPECT_EQ(helpAsked, "<ADM00>");
  pressKey(form.edit, Qt::Key_A);
  EXPECT_TRUE(form.isVisible());
  pressKey(form.edit, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  Form::setHelpHandler({});
}

TEST(UserAction, AnExceptionEndsTheActionWithItsMessageAndClosesOpenSets) {
  testing::TempDirectory start;
  RecordStore& store = resetRecordStore(start.path());
  ScriptedDesktop scripted;
  setDesktop(&scripted);

  bool reachedEnd = false;
  bool completed = runUserAction([&] {
    ASSERT_EQ(store.OpenFileSet("USE;INS"), RecordStore::kOk);
    store.file(FileCode::USE).read();  // the file is empty: reading fails
    reachedEnd = true;
  });
  EXPECT_FALSE(completed);
  EXPECT_FALSE(reachedEnd);
  ASSERT_EQ(scripted.messages.size(), 1);
  EXPECT_TRUE(scripted.messages[0].contains("user.vlt"));
  EXPECT_FALSE(store.isSetOpen());

  EXPECT_TRUE(runUserAction([] {}));
  EXPECT_EQ(scripted.messages.size(), 1);
  setDesktop(nullptr);
}

TEST(ScriptedDesktop, AnswersInOrderAndRecordsWhatFoundNoAnswer) {
  ScriptedDesktop scripted;
  scripted.answerNext(Answer::Yes);
  scripted.chooseFileNext(QString("/tmp/a.xaf"));
  EXPECT_EQ(scripted.ask("Delete?", kButtonYes | kButtonNo), Answer::Yes);
  EXPECT_EQ(scripted.ask("Again?", kButtonYes | kButtonNo), Answer::Cancel);
  EXPECT_EQ(scripted.saveFileName({"Export", "XAF|*.xaf", "a.xaf", "/tmp"}),
            std::optional<QString>("/tmp/a.xaf"));
  EXPECT_EQ(scripted.openFileName({"Open", "", "", ""}), std::nullopt);
  EXPECT_EQ(scripted.messages, (QStringList{"Delete?", "Again?"}));
  EXPECT_EQ(scripted.unanswered, (QStringList{"question: Again?", "open file: Open"}));
}

}  // namespace
}  // namespace tallymoor
