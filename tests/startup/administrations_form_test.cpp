#include "administrations/forms/administrations_form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "administrations/administration_list.h"
#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/byte_codec.h"
#include "records/language_record.h"
#include "startup/forms/caption_routine.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

// A language whose texts tell every message apart.
const std::map<int, std::string> kTestTexts = {
    {0, "Testing"},   {54, "Keep"},     {7205, "Code"},        {7220, "Title"}, {2163, "Notes"},
    {7397, "What:"},  {7428, "ALL"},    {7479, "LEDGER"},      {9384, "TOP"},   {9445, "BOTTOM"},
    {9567, "IN USE"}, {9648, "EXISTS"}, {9709, " IS MISSING"},
};

LanguageRecord languageOf(const std::map<int, std::string>& texts) {
  ByteWriter writer(LanguageRecord::kSize);
  for (const auto& [offset, text] : texts)
    writer.text(static_cast<std::size_t>(offset), text.size(), text);
  return LanguageRecord::decode(writer.bytes());
}

AdministrationRow stored(const std::string& code) {
  return {code, "Books of " + code, "memo of " + code, "SYSTEM", "03-04-2023 09:08:07"};
}

std::vector<AdministrationRow> storedRows(std::initializer_list<const char*> codes) {
  std::vector<AdministrationRow> rows;
  for (const char* code : codes) rows.push_back(stored(code));
  return rows;
}

std::string fileOf(const std::vector<AdministrationRow>& rows) {
  std::string contents;
  for (const AdministrationRow& row : rows) {
    Bytes bytes =
        AdministrationRecord{row.code, row.name, row.memo, row.creator, row.creationStamp}.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

QStringList codesOf(const std::vector<AdministrationRow>& rows) {
  QStringList codes;
  for (const AdministrationRow& row : rows) codes << fromRecordText(row.code);
  return codes;
}

// The user typed at login, longer than a creator holds.
constexpr const char* kLoginUser = "CHIEFACCOUNTANT";
constexpr const char* kCreator = "CHIEFACCOU";

// The program started in a start directory whose list holds the given administrations,
// with the test language applied and a user logged in.
class AdministrationsFormTest : public ::testing::Test {
 protected:
  void start(const std::vector<AdministrationRow>& rows) {
    std::filesystem::create_directories(harness_.path("data"));
    testing::writeFile(listFile(), fileOf(rows));
    harness_.start();
    ASSERT_TRUE(harness_.program().started());
    ASSERT_EQ(recordStore().baseDataDirectory, harness_.path("data/"));
    session().systemParameters.lastLogin = kLoginUser;
    session().language = languageOf(kTestTexts);
    runCaptionRoutine(harness_.program().forms());
  }

  AdministrationsForm* form() {
    return static_cast<AdministrationsForm*>(harness_.form("TAdministrations"));
  }

  // As the main menu does it: no set is handed over, the form shows in place of the menu.
  void openFromMenu() {
    harness_.program().mainForm()->showModalHidingCaller(form());
    harness_.processEvents();
    ASSERT_TRUE(form()->isVisible());
  }

  template <typename Control = QLineEdit>
  Control* control(const char* name) {
    return harness_.control<Control>("TAdministrations", name);
  }
  QTableWidget* grid() { return control<QTableWidget>("StringGrid1"); }
  bool run(const char* action) { return harness_.run("TAdministrations", action); }

  QStringList codes() { return codesOf(form()->rows()); }
  void setCurrent(int row) { grid()->setCurrentCell(row, 0); }
  void selectCode(const QString& code) {
    int row = static_cast<int>(codes().indexOf(code));
    ASSERT_GE(row, 0) << code.toStdString();
    setCurrent(row);
    ASSERT_TRUE(run("Image4Click"));
  }
  void enter(const QString& code, const QString& name = "A name", const QString& memo = "") {
    control("Edit1")->setText(code);
    control("Edit2")->setText(name);
    control("Edit3")->setText(memo);
  }
  QStringList entryFields() {
    QStringList texts;
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
      texts << control(name)->text();
    return texts;
  }

  std::string base() { return recordStore().baseDataDirectory; }
  std::string listFile() { return harness_.path("data/admin.vlt"); }
  std::string listContents() { return testing::readFile(listFile()); }
  // The list as the next run of the program finds it.
  std::vector<AdministrationRow> readBack() {
    RecordStore fresh(harness_.startDirectory());
    AdministrationList list = loadAdministrations(fresh);
    EXPECT_TRUE(list.opened) << list.message;
    return list.rows;
  }
  bool isDirectory(const std::string& code) { return std::filesystem::is_directory(base() + code); }

  QString text(int offset) { return fromRecordText(kTestTexts.at(offset)); }
  void expectStatus(const QString& message, StatusKind kind) {
    EXPECT_EQ(form()->statusText(), message);
    EXPECT_EQ(form()->statusKind(), kind);
  }

  static void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
  }

  ProgramHarness harness_;
};

// --- load --------------------------------------------------------------------------------

TEST_F(AdministrationsFormTest, OpeningShowsCodeAndNameAndCarriesTheRestInvisibly) {
  const std::vector<AdministrationRow> rows = storedRows({"ZETA", "alpha", "Mid"});
  start(rows);
  // Already loaded at creation, inside the start-up set.
  EXPECT_EQ(form()->rows(), rows);
  openFromMenu();
  EXPECT_FALSE(recordStore().isSetOpen());
  EXPECT_EQ(form()->rows(), rows);
  EXPECT_EQ(form()->count(), 3);
  for (int column : {AdministrationsForm::kCodeColumn, AdministrationsForm::kNameColumn})
    EXPECT_FALSE(grid()->isColumnHidden(column)) << column;
  for (int column : {AdministrationsForm::kMemoColumn, AdministrationsForm::kCreatorColumn,
                     AdministrationsForm::kStampColumn})
    EXPECT_TRUE(grid()->isColumnHidden(column)) << column;
  EXPECT_EQ(grid()->item(1, AdministrationsForm::kNameColumn)->text(), "Books of alpha");
  EXPECT_EQ(form()->statusText(), "");
  EXPECT_TRUE(form()->saveEnabled());
  EXPECT_FALSE(control<QWidget>("Panel2")->isVisible());
  EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled()) << "copying is not offered yet";
}

TEST_F(AdministrationsFormTest, AnEmptyListCanOnlyBeSavedAfterAnAdd) {
  start({});
  openFromMenu();
  EXPECT_EQ(form()->count(), 0);
  EXPECT_FALSE(form()->saveEnabled());
  EXPECT_FALSE(control<QPushButton>("Save2")->isEnabled());
  enter("FIRST", "First company");
  ASSERT_TRUE(run("Image3Click"));
  EXPECT_TRUE(form()->saveEnabled());
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(codesOf(readBack()), QStringList{"FIRST"});
  EXPECT_TRUE(isDirectory("FIRST"));
}

TEST_F(AdministrationsFormTest, ALoadThatCannotOpenTheListSaysSoAndNeverSavesOverIt) {
  const std::vector<AdministrationRow> rows = storedRows({"ONE", "TWO"});
  start(rows);
  ::chmod(listFile().c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    openFromMenu();
  }
  const QString failure =
      "IO errorcode: adm5  " + QString::fromStdString(systemErrorText(kAccessDenied));
  EXPECT_EQ(harness_.desktop().messages, QStringList{failure});
  EXPECT_EQ(form()->count(), 0);
  EXPECT_FALSE(form()->saveEnabled());
  EXPECT_FALSE(recordStore().isSetOpen());

  // Back to a readable file, an entry added to the empty table: Save must not replace the
  // two administrations it never read.
  ::chmod(listFile().c_str(), 0644);
  enter("NEWCO");
  ASSERT_TRUE(run("Image3Click"));
  ASSERT_TRUE(run("SaveExecute"));
  expectStatus(failure, StatusKind::Error);
  EXPECT_EQ(listContents(), fileOf(rows));
  EXPECT_FALSE(isDirectory("NEWCO"));
  EXPECT_TRUE(form()->isVisible());
}

// --- add ---------------------------------------------------------------------------------

TEST_F(AdministrationsFormTest, AddPutsTheEntryBeforeTheCurrentRow) {
  struct Case {
    const char* name;
    int current;  // -1: no current row
    QStringList expected;
  };
  const std::vector<Case> cases = {
      {"on the first row", 0, {"NEWCO", "ONE", "TWO", "THREE"}},
      {"on the third row", 2, {"ONE", "TWO", "NEWCO", "THREE"}},
      {"on the place after the list", 3, {"ONE", "TWO", "THREE", "NEWCO"}},
      {"without a current row", -1, {"ONE", "TWO", "THREE", "NEWCO"}},
  };
  start(storedRows({"ONE", "TWO", "THREE"}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    if (c.current < 0)
      grid()->setCurrentIndex({});
    else
      setCurrent(c.current);
    enter("NEWCO", "New company", "a memo");
    ASSERT_TRUE(run("Image3Click"));
    EXPECT_EQ(codes(), c.expected);
    EXPECT_EQ(entryFields(), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
    ASSERT_TRUE(run("CancelExecute"));
  }
}

TEST_F(AdministrationsFormTest, SaveStampsNewEntriesMakesTheirDirectoriesAndCloses) {
  const std::vector<AdministrationRow> rows = storedRows({"ONE", "TWO"});
  start(rows);
  openFromMenu();
  setCurrent(1);
  enter("NEWCO", "New company", "started this year");
  ASSERT_TRUE(run("Image3Click"));
  EXPECT_EQ(listContents(), fileOf(rows)) << "nothing is written before Save";
  EXPECT_FALSE(isDirectory("NEWCO"));

  const std::string before = currentTimestamp();
  ASSERT_TRUE(run("SaveExecute"));
  const std::string after = currentTimestamp();
  EXPECT_FALSE(form()->isVisible());
  EXPECT_TRUE(harness_.program().mainForm()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());

  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0], rows[0]);
  EXPECT_EQ(back[2], rows[1]);
  EXPECT_EQ(back[1].code, "NEWCO");
  EXPECT_EQ(back[1].name, "New company");
  EXPECT_EQ(back[1].memo, "started this year");
  EXPECT_EQ(back[1].creator, kCreator);
  EXPECT_TRUE(back[1].creationStamp == before || back[1].creationStamp == after)
      << back[1].creationStamp;
  EXPECT_TRUE(isDirectory("NEWCO"));
  EXPECT_FALSE(isDirectory("ONE")) << "stored entries get no directory check";
}

TEST_F(AdministrationsFormTest, AddRefusesAnEntryThatCannotGoIntoTheList) {
  struct Case {
    const char* name;
    QString code;
    QString expected;  // built from the texts of the form below
  };
  const std::vector<AdministrationRow> rows = storedRows({"DEMO", "ABCDEFGHIJ"});
  start(rows);
  const auto unusable = [](const char* code) { return fromRecordText(unusableCodeMessage(code)); };
  const std::vector<Case> cases = {
      {"code missing", "", "Code" + text(9709)},
      {"code exists", "DEMO", text(9648)},
      {"code exists once cut to 10", "ABCDEFGHIJKL", text(9648)},
      {"parent directory", "..", unusable("..")},
      {"current directory", ".", unusable(".")},
      {"path outside the data directory", "../elsewhere", unusable("../elsewhe")},
      {"nested directory", "a/b", unusable("a/b")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enter(c.code, "Name", "Memo");
    ASSERT_TRUE(run("Image3Click"));
    expectStatus(c.expected, StatusKind::Error);
    EXPECT_EQ(form()->rows(), rows);
    EXPECT_EQ(entryFields(), QStringList({c.code, "Name", "Memo", "", ""}));
    // A refused code still stands in the entry fields: Save waits for it.
    if (!c.code.isEmpty()) {
      ASSERT_TRUE(run("SaveExecute"));
      expectStatus(text(9567), StatusKind::Error);
    }
    ASSERT_TRUE(run("CancelExecute"));
  }
  EXPECT_EQ(listContents(), fileOf(rows));
  EXPECT_FALSE(std::filesystem::exists(harness_.path("elsewhe")));
}

TEST_F(AdministrationsFormTest, ACodeInOtherLettersIsAnotherAdministration) {
  start(storedRows({"DEMO"}));
  std::filesystem::create_directories(base() + "DEMO");
  openFromMenu();
  setCurrent(1);
  enter("demo");
  ASSERT_TRUE(run("Image3Click"));
  EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(codesOf(readBack()), QStringList({"DEMO", "demo"}));
  EXPECT_TRUE(isDirectory("DEMO"));
  EXPECT_TRUE(isDirectory("demo"));
}

TEST_F(AdministrationsFormTest, ALongCodeIsCutToTenAndItsDirectoryGetsTheCutName) {
  start(storedRows({"ONE"}));
  openFromMenu();
  setCurrent(1);
  enter("NORTHWINDTRADERS", QString(40, 'n'));
  ASSERT_TRUE(run("Image3Click"));
  EXPECT_EQ(codes(), QStringList({"ONE", "NORTHWINDT"}));
  ASSERT_TRUE(run("SaveExecute"));
  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].code, "NORTHWINDT");
  EXPECT_EQ(back[1].name, std::string(30, 'n'));
  EXPECT_TRUE(isDirectory("NORTHWINDT"));
  EXPECT_FALSE(std::filesystem::exists(base() + "NORTHWINDTRADERS"));
}

TEST_F(AdministrationsFormTest, SavingANewEntryKeepsAnExistingDirectoryWithItsFiles) {
  start(storedRows({"ONE"}));
  std::filesystem::create_directories(base() + "OLDCO");
  testing::writeFile(base() + "OLDCO/ledger.vlt", "the accounts of before");
  openFromMenu();
  setCurrent(1);
  enter("OLDCO", "Old company back");
  ASSERT_TRUE(run("Image3Click"));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(testing::readFile(base() + "OLDCO/ledger.vlt"), "the accounts of before");
  EXPECT_EQ(codesOf(readBack()), QStringList({"ONE", "OLDCO"}));
}

// --- select, delete ----------------------------------------------------------------------

TEST_F(AdministrationsFormTest, ATakenOutEntryBlocksSelectAndSaveUntilAddedOrDeleted) {
  const std::vector<AdministrationRow> rows = storedRows({"ONE", "TWO", "THREE"});
  start(rows);
  std::filesystem::create_directories(base() + "TWO");
  openFromMenu();
  selectCode("TWO");
  EXPECT_EQ(entryFields(),
            QStringList({"TWO", "Books of TWO", "memo of TWO", "SYSTEM", "03-04-2023 09:08:07"}));
  EXPECT_EQ(codes(), QStringList({"ONE", "THREE"}));
  EXPECT_FALSE(form()->saveEnabled());

  setCurrent(0);
  ASSERT_TRUE(run("Image4Click"));
  expectStatus(text(9567), StatusKind::Error);
  EXPECT_EQ(control("Edit1")->text(), "TWO");
  ASSERT_TRUE(run("SaveExecute"));
  expectStatus(text(9567), StatusKind::Error);
  EXPECT_TRUE(form()->isVisible());

  // Emptying the fields by hand does not drop the entry: only Delete does.
  enter("", "", "");
  EXPECT_FALSE(form()->saveEnabled());
  ASSERT_TRUE(run("SaveExecute"));
  expectStatus(text(9567), StatusKind::Error);
  ASSERT_TRUE(run("Image4Click"));
  expectStatus(text(9567), StatusKind::Error);
  EXPECT_EQ(listContents(), fileOf(rows));

  ASSERT_TRUE(run("DeleteExecute"));
  EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
  EXPECT_EQ(entryFields(), QStringList({"", "", "", "", ""}));
  EXPECT_TRUE(form()->saveEnabled());
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_FALSE(form()->isVisible());
  EXPECT_EQ(listContents(), fileOf({rows[0], rows[2]}));
  EXPECT_TRUE(isDirectory("TWO")) << "a deleted entry's directory stays on disk";
}

TEST_F(AdministrationsFormTest, AnEntrySelectedAndAddedBackKeepsItsPlaceAndGetsNewStamps) {
  start(storedRows({"ONE", "TWO", "THREE"}));
  openFromMenu();
  struct Case {
    const char* name;
    QString code;
  };
  // The last row as well: it is taken from just before the place after the list.
  for (const Case& c : {Case{"middle row", "TWO"}, Case{"last row", "THREE"}}) {
    SCOPED_TRACE(c.name);
    selectCode(c.code);
    ASSERT_TRUE(run("Image3Click"));
    EXPECT_EQ(codes(), QStringList({"ONE", "TWO", "THREE"}));
  }
  ASSERT_TRUE(run("SaveExecute"));
  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back[0], stored("ONE"));
  for (std::size_t i : {1u, 2u}) {
    SCOPED_TRACE(back[i].code);
    EXPECT_EQ(back[i].name, "Books of " + back[i].code);
    EXPECT_EQ(back[i].memo, "memo of " + back[i].code);
    EXPECT_EQ(back[i].creator, kCreator);
    EXPECT_NE(back[i].creationStamp, "03-04-2023 09:08:07");
  }
}

TEST_F(AdministrationsFormTest, SelectOnThePlaceAfterTheListTakesNothing) {
  start(storedRows({"ONE"}));
  openFromMenu();
  enter("", "a name typed", "");
  setCurrent(1);
  ASSERT_TRUE(run("Image4Click"));
  EXPECT_EQ(codes(), QStringList{"ONE"});
  EXPECT_EQ(control("Edit2")->text(), "a name typed");
  control("Edit2")->clear();
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_FALSE(form()->isVisible());
}

// --- order ---------------------------------------------------------------------------------

TEST_F(AdministrationsFormTest, UpAndDownMoveRowsAndTheOrderSurvivesTheNextRun) {
  start(storedRows({"ONE", "TWO", "THREE", "FOUR"}));
  openFromMenu();
  struct Step {
    const char* name;
    int current;
    const char* action;
    QStringList expected;
    int currentAfter;
    QString status;
  };
  const std::vector<Step> steps = {
      {"third row up", 2, "Image1Click", {"ONE", "THREE", "TWO", "FOUR"}, 1, ""},
      {"and up again to the top", 1, "Image1Click", {"THREE", "ONE", "TWO", "FOUR"}, 0, ""},
      {"up at the top", 0, "Image1Click", {"THREE", "ONE", "TWO", "FOUR"}, 0, text(9384)},
      {"second row down", 1, "Image2Click", {"THREE", "TWO", "ONE", "FOUR"}, 2, ""},
      {"down at the last row", 3, "Image2Click", {"THREE", "TWO", "ONE", "FOUR"}, 3, text(9445)},
      {"down beyond the list", 4, "Image2Click", {"THREE", "TWO", "ONE", "FOUR"}, 4, text(9445)},
      {"up beyond the list", 4, "Image1Click", {"THREE", "TWO", "ONE", "FOUR"}, 4, ""},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    setCurrent(s.current);
    ASSERT_TRUE(run(s.action));
    EXPECT_EQ(codes(), s.expected);
    EXPECT_EQ(grid()->currentRow(), s.currentAfter);
    // A move only clears the colour; a refused one says why.
    if (s.status.isEmpty()) {
      EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
    } else {
      expectStatus(s.status, StatusKind::Notice);
    }
  }
  // The moved rows take all their cells along.
  EXPECT_EQ(form()->rows().at(0), stored("THREE"));

  // A new entry at the top, then saved: the next run reads this order.
  setCurrent(0);
  enter("NEWCO");
  ASSERT_TRUE(run("Image3Click"));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(codesOf(readBack()), QStringList({"NEWCO", "THREE", "TWO", "ONE", "FOUR"}));
  openFromMenu();
  EXPECT_EQ(codes(), QStringList({"NEWCO", "THREE", "TWO", "ONE", "FOUR"}));
}

TEST_F(AdministrationsFormTest, MoreThanFortyNineAdministrationsAreAllReachable) {
  std::vector<AdministrationRow> many;
  for (int i = 1; i <= 60; ++i)
    many.push_back(stored(QString("CO%1").arg(i, 2, 10, QChar('0')).toStdString()));
  start(many);
  openFromMenu();
  ASSERT_EQ(form()->count(), 60);
  EXPECT_EQ(form()->rows(), many);

  // The last one moves up and back, is taken out and put back, and one more comes after it.
  setCurrent(59);
  ASSERT_TRUE(run("Image1Click"));
  EXPECT_EQ(codes().at(58), "CO60");
  ASSERT_TRUE(run("Image2Click"));
  EXPECT_EQ(codes().at(59), "CO60");
  selectCode("CO60");
  EXPECT_EQ(control("Edit2")->text(), "Books of CO60");
  ASSERT_TRUE(run("Image3Click"));
  setCurrent(60);
  enter("CO61");
  ASSERT_TRUE(run("Image3Click"));
  ASSERT_EQ(form()->count(), 61);
  ASSERT_TRUE(run("SaveExecute"));

  std::vector<AdministrationRow> back = readBack();
  ASSERT_EQ(back.size(), 61u);
  for (std::size_t i = 0; i < 59; ++i) EXPECT_EQ(back[i], many[i]) << i;
  EXPECT_EQ(back[59].code, "CO60");
  EXPECT_EQ(back[60].code, "CO61");
  EXPECT_TRUE(isDirectory("CO61"));
}

// --- failures of save --------------------------------------------------------------------

TEST_F(AdministrationsFormTest, ASaveThatCannotOpenTheListWritesNothing) {
  const std::vector<AdministrationRow> rows = storedRows({"ONE"});
  start(rows);
  openFromMenu();
  enter("NEWCO");
  ASSERT_TRUE(run("Image3Click"));
  ::chmod(listFile().c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    ASSERT_TRUE(run("SaveExecute"));
  }
  EXPECT_EQ(
      harness_.desktop().messages,
      QStringList{"IO errorcode: adm5  " + QString::fromStdString(systemErrorText(kAccessDenied))});
  EXPECT_TRUE(form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
  EXPECT_EQ(listContents(), fileOf(rows));
  EXPECT_FALSE(isDirectory("NEWCO"));
  EXPECT_TRUE(codes().contains("NEWCO")) << "the table stays for another try";
}

TEST_F(AdministrationsFormTest, ADirectoryThatCannotBeMadeEndsTheSaveAndLeavesTheList) {
  const std::vector<AdministrationRow> rows = storedRows({"ONE"});
  start(rows);
  testing::writeFile(base() + "CLASH", "a file, not a directory");
  openFromMenu();
  enter("CLASH");
  ASSERT_TRUE(run("Image3Click"));
  EXPECT_FALSE(run("SaveExecute"));
  ASSERT_EQ(harness_.desktop().messages.size(), 1);
  EXPECT_TRUE(harness_.desktop().messages.first().contains("CLASH"));
  EXPECT_TRUE(form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
  EXPECT_EQ(listContents(), fileOf(rows));
}

TEST_F(AdministrationsFormTest, AStoredEntryAwaitingItsDirectoryWithAStrangeCodeIsRefused) {
  // Written by another tool: no creator yet, and a code that leads out of the data folder.
  AdministrationRow strange{"../x", "Strange", "", "", ""};
  const std::vector<AdministrationRow> rows = {stored("ONE"), strange};
  start(rows);
  openFromMenu();
  ASSERT_TRUE(run("SaveExecute"));
  expectStatus(fromRecordText(unusableCodeMessage("../x")), StatusKind::Error);
  EXPECT_TRUE(form()->isVisible());
  EXPECT_EQ(listContents(), fileOf(rows));
  EXPECT_FALSE(std::filesystem::exists(harness_.path("x")));

  // Taken out and deleted, the rest saves.
  selectCode("../x");
  ASSERT_TRUE(run("DeleteExecute"));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(listContents(), fileOf({rows[0]}));
}

// --- closing, enabling, keys ---------------------------------------------------------------

TEST_F(AdministrationsFormTest, CancelAndEscCloseWithoutWritingAndTheTableIsTheFileAgain) {
  struct Case {
    const char* name;
    bool escape;
  };
  const std::vector<AdministrationRow> rows = storedRows({"ONE", "TWO"});
  start(rows);
  for (const Case& c : {Case{"Cancel", false}, Case{"Esc", true}}) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enter("NEWCO");
    ASSERT_TRUE(run("Image3Click"));
    setCurrent(1);
    ASSERT_TRUE(run("Image1Click"));
    if (c.escape)
      sendKey(grid(), Qt::Key_Escape);
    else
      ASSERT_TRUE(run("CancelExecute"));
    harness_.processEvents();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(harness_.program().mainForm()->isVisible());
    EXPECT_EQ(listContents(), fileOf(rows));
    EXPECT_EQ(form()->rows(), rows);
    EXPECT_FALSE(isDirectory("NEWCO"));
  }
}

TEST_F(AdministrationsFormTest, SaveIsOfferedOnlyWithEmptyEntryFieldsAndEditsHideTheCopyPanel) {
  start(storedRows({"ONE"}));
  openFromMenu();
  struct Case {
    const char* name;
    QString code, name_, memo;
    bool saveOffered;
  };
  const std::vector<Case> cases = {
      {"all empty", "", "", "", true},   {"a code", "X", "", "", false},
      {"a name", "", "X", "", false},    {"a memo", "", "", "X", false},
      {"empty again", "", "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    control<QWidget>("Panel2")->show();
    enter(c.code, c.name_, c.memo);
    EXPECT_EQ(form()->saveEnabled(), c.saveOffered);
    EXPECT_EQ(control<QPushButton>("Save2")->isEnabled(), c.saveOffered);
    EXPECT_EQ(form()->findChild<QAction*>("Save1")->isEnabled(), c.saveOffered);
    EXPECT_FALSE(control<QPushButton>("Button1")->isEnabled());
    if (c.code.isEmpty() && c.name_.isEmpty() && c.memo.isEmpty()) continue;
    EXPECT_FALSE(control<QWidget>("Panel2")->isVisible());
    EXPECT_FALSE(control<QPushButton>("Button4")->isEnabled());
  }
}

TEST_F(AdministrationsFormTest, TheKeyboardReachesEveryAction) {
  struct Case {
    const char* name;
    const char* target;
    int key;
    Qt::KeyboardModifiers modifiers;
    int current;
    QString typed;
    QStringList expected;
    QString edit1After;
  };
  const std::vector<Case> cases = {
      {"Ctrl+Up moves up",
       "StringGrid1",
       Qt::Key_Up,
       Qt::ControlModifier,
       1,
       "",
       {"TWO", "ONE", "THREE"},
       ""},
      {"Ctrl+Down moves down",
       "Edit2",
       Qt::Key_Down,
       Qt::ControlModifier,
       0,
       "",
       {"TWO", "ONE", "THREE"},
       ""},
      {"Alt+Left selects",
       "StringGrid1",
       Qt::Key_Left,
       Qt::AltModifier,
       2,
       "",
       {"ONE", "TWO"},
       "THREE"},
      {"Enter in the list selects",
       "StringGrid1",
       Qt::Key_Return,
       Qt::NoModifier,
       0,
       "",
       {"TWO", "THREE"},
       "ONE"},
      {"Alt+Right adds",
       "Edit1",
       Qt::Key_Right,
       Qt::AltModifier,
       1,
       "NEWCO",
       {"ONE", "NEWCO", "TWO", "THREE"},
       ""},
      {"Enter in an entry field adds",
       "Edit3",
       Qt::Key_Enter,
       Qt::KeypadModifier,
       3,
       "NEWCO",
       {"ONE", "TWO", "THREE", "NEWCO"},
       ""},
      {"Enter on the add picture adds",
       "Image3",
       Qt::Key_Return,
       Qt::NoModifier,
       0,
       "NEWCO",
       {"NEWCO", "ONE", "TWO", "THREE"},
       ""},
  };
  start(storedRows({"ONE", "TWO", "THREE"}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    setCurrent(c.current);
    enter(c.typed, c.typed.isEmpty() ? "" : "A name");
    sendKey(control<QWidget>(c.target), c.key, c.modifiers);
    EXPECT_EQ(codes(), c.expected);
    EXPECT_EQ(control("Edit1")->text(), c.edit1After);
    ASSERT_TRUE(run("CancelExecute"));
  }

  // Ctrl+S saves, but not while Save is not offered.
  openFromMenu();
  enter("NEWCO");
  sendKey(grid(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(form()->isVisible());
  ASSERT_TRUE(run("Image3Click"));
  sendKey(grid(), Qt::Key_S, Qt::ControlModifier);
  harness_.processEvents();
  EXPECT_FALSE(form()->isVisible());
  EXPECT_EQ(codesOf(readBack()), QStringList({"NEWCO", "ONE", "TWO", "THREE"}));
}

// --- language and help ---------------------------------------------------------------------

TEST_F(AdministrationsFormTest, HeadingsAndChoicesSpeakTheCurrentLanguage) {
  start(storedRows({"ONE"}));
  openFromMenu();
  EXPECT_EQ(grid()->horizontalHeaderItem(0)->text(), "Code");
  EXPECT_EQ(grid()->horizontalHeaderItem(1)->text(), "Title");
  EXPECT_EQ(control<QLabel>("Label4")->text(), "Code");
  EXPECT_EQ(control<QPushButton>("Save2")->text(), "Keep");
  EXPECT_EQ(control<QGroupBox>("RadioGroup1")->title(), "What:");
  QStringList choices;
  for (QRadioButton* choice : control<QGroupBox>("RadioGroup1")->findChildren<QRadioButton*>())
    choices << choice->text();
  EXPECT_EQ(choices, QStringList({"ALL", "LEDGER"}));
  // Running the routine again changes nothing.
  runCaptionRoutine(harness_.program().forms());
  EXPECT_EQ(grid()->horizontalHeaderItem(0)->text(), "Code");
  EXPECT_EQ(grid()->columnCount(), AdministrationsForm::kColumnCount);
}

TEST_F(AdministrationsFormTest, HelpOpensAtTheMarkerOfItsEntry) {
  start(storedRows({"ONE"}));
  openFromMenu();
  QStringList markers;
  Form::setHelpHandler([&](Form* caller, const QString& marker) {
    EXPECT_EQ(caller, form());
    markers << marker;
  });
  sendKey(grid(), Qt::Key_F1);
  control<QToolButton>("ToolButton7")->click();
  for (const char* item :
       {"BrookfellAdministrationshelp1", "Brookfellhelp1", "Tutorial1", "About1"})
    form()->findChild<QAction*>(item)->trigger();
  EXPECT_EQ(markers, QStringList({"<ADM00>", "<ADM00>", "<ADM00>", "", "<TUT00>", "<ABO00>"}));

  for (const char* language : {"English", "Nederlands", "Deutsch"}) {
    SCOPED_TRACE(language);
    session().languageName = language;
    harness_.desktop().openedUrls.clear();
    form()->findChild<QAction*>("Brookfellhomepage1")->trigger();
    EXPECT_EQ(harness_.desktop().openedUrls, QStringList{webPageForLanguage(language)});
  }
}

}  // namespace
}  // namespace tallymoor
