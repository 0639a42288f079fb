#include "accounts/forms/ledger_category_form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/administration_record.h"
#include "records/byte_codec.h"
#include "records/gl_account_record.h"
#include "records/gl_category_record.h"
#include "records/language_record.h"
#include "records/system_parameters_record.h"
#include "records/user_record.h"
#include "startup/forms/caption_routine.h"
#include "startup/forms/start_screen_form.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::ProgramHarness;

// A language whose texts tell every caption and message apart.
const std::map<int, std::string> kTestTexts = {
    {0, "Testing"},   {965, "Manager"}, {1027, "Categories"},    {2220, "Name"},   {2255, "BAL"},
    {2284, "P&L"},    {2332, "Kind"},   {2348, "Category help"}, {424, "Put"},     {9384, "TOP"},
    {9445, "BOTTOM"}, {9506, "LIMIT"},  {9567, "IN USE"},        {9648, "EXISTS"},
};

LanguageRecord languageOf(const std::map<int, std::string>& texts) {
  ByteWriter writer(LanguageRecord::kSize);
  for (const auto& [offset, text] : texts)
    writer.text(static_cast<std::size_t>(offset), text.size(), text);
  return LanguageRecord::decode(writer.bytes());
}

constexpr const char* kStamp = "03-04-2023 09:08:07";

GlCategoryRecord balance(const std::string& name) {
  return {kBalanceSheetKind, name, "SYSTEM", kStamp};
}
GlCategoryRecord profitLoss(const std::string& name) {
  return {kProfitAndLossKind, name, "SYSTEM", kStamp};
}

std::vector<GlCategoryRecord> manyCategories(int count) {
  std::vector<GlCategoryRecord> records;
  for (int i = 0; i < count; ++i) records.push_back(balance("Category " + std::to_string(i)));
  return records;
}

GlAccountRecord account(const std::string& number, const std::string& category) {
  GlAccountRecord a;
  a.number = number;
  a.caption = "Account " + number;
  a.type = "D";
  a.category = category;
  return a;
}

template <typename Record>
std::string fileOf(const std::vector<Record>& records) {
  std::string contents;
  for (const Record& record : records) {
    Bytes bytes = record.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

// The user typed at login, longer than a category's user field holds.
constexpr const char* kLoginUser = "CHIEFACCOUNTANT";

const std::vector<GlCategoryRecord> kChart = {balance("Fixed assets"), balance("Debtors"),
                                              profitLoss("Turnover"), profitLoss("Costs")};

// The program started with administration ACME chosen, whose directory holds the given
// categories and accounts, the test language applied and a user logged in.
class LedgerCategoryFormTest : public ::testing::Test {
 protected:
  void start(const std::vector<GlCategoryRecord>& categories,
             const std::vector<GlAccountRecord>& accounts = {}) {
    std::filesystem::create_directories(harness_.path("data/ACME"));
    testing::writeFile(categoryFile(), fileOf(categories));
    testing::writeFile(accountFile(), fileOf(accounts));
    harness_.start();
    ASSERT_TRUE(harness_.program().started());
    session().systemParameters.lastLogin = kLoginUser;
    session().administrationCode = "ACME";
    useLanguage(languageOf(kTestTexts));
    ASSERT_EQ(recordStore().pathOf(FileCode::GLC), categoryFile());
  }

  void useLanguage(const LanguageRecord& language) {
    session().language = language;
    runCaptionRoutine(harness_.program().forms());
  }

  LedgerCategoryForm* form() {
    return static_cast<LedgerCategoryForm*>(harness_.form("TLedgercategory"));
  }

  // As the main menu does it: open the set, then show the form in place of the menu.
  void openFromMenu() {
    ASSERT_EQ(recordStore().OpenFileSet("GLC;"), RecordStore::kOk);
    harness_.program().mainForm()->showModalHidingCaller(form());
    harness_.processEvents();
    ASSERT_TRUE(form()->isVisible());
  }
  // Shown without a set handed over: the activation opens its own.
  void showWithNothingOpen() {
    ASSERT_FALSE(recordStore().isSetOpen());
    form()->show();
    harness_.processEvents();
  }

  template <typename Control = QLineEdit>
  Control* control(const char* name) {
    return harness_.control<Control>("TLedgercategory", name);
  }
  QAction* action(const char* name) { return form()->findChild<QAction*>(name); }
  QTableWidget* grid() { return control<QTableWidget>("StringGrid1"); }
  bool run(const char* slot) { return harness_.run("TLedgercategory", slot); }

  QStringList column(int index) {
    QStringList cells;
    for (int row = 0; row < form()->count(); ++row) {
      QTableWidgetItem* item = grid()->item(row, index);
      cells << (item ? item->text() : QString());
    }
    return cells;
  }
  QStringList names() { return column(LedgerCategoryForm::kNameColumn); }
  QStringList kinds() { return column(LedgerCategoryForm::kKindColumn); }
  void setCurrent(int row) { grid()->setCurrentCell(row, LedgerCategoryForm::kNameColumn); }
  void selectName(const QString& name) {
    int row = static_cast<int>(names().indexOf(name));
    ASSERT_GE(row, 0) << name.toStdString();
    setCurrent(row);
    ASSERT_TRUE(run("Image4Click"));
  }
  // Types a category into the entry fields; `balanceKind` picks the radio button.
  void enter(const QString& name, bool balanceKind) {
    control<QRadioButton>(balanceKind ? "RadioButton1" : "RadioButton2")->setChecked(true);
    control("Edit1")->setText(name);
  }
  bool selectEnabled() { return control<QPushButton>("Image4")->isEnabled(); }
  bool addEnabled() { return control<QPushButton>("Image3")->isEnabled(); }
  bool deleteEnabled() { return action("Delete")->isEnabled(); }

  std::string categoryFile() { return harness_.path("data/ACME/ledgerct.vlt"); }
  std::string accountFile() { return harness_.path("data/ACME/ledger.vlt"); }
  std::string categoryContents() { return testing::readFile(categoryFile()); }
  std::vector<GlCategoryRecord> storedCategories() {
    const std::string contents = categoryContents();
    std::vector<GlCategoryRecord> records;
    for (std::size_t at = 0; at + GlCategoryRecord::kSize <= contents.size();
         at += GlCategoryRecord::kSize)
      records.push_back(GlCategoryRecord::decode(
          Bytes(contents.begin() + static_cast<long>(at),
                contents.begin() + static_cast<long>(at + GlCategoryRecord::kSize))));
    return records;
  }
  QString accessDenied(const char* code) {
    return QString("IO errorcode: %1%2  ").arg(code).arg(kAccessDenied) +
           QString::fromStdString(systemErrorText(kAccessDenied));
  }

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

// --- creation and load -------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, TheFormIsCreatedRightAfterTheStartScreen) {
  start({});
  QStringList order;
  for (Form* created : harness_.program().forms()) order << created->objectName();
  ASSERT_GE(order.size(), 3);
  EXPECT_EQ(order.mid(0, 3), (QStringList{"TStartscherm", "TLedgercategory", "Tsystemscherm"}));
  EXPECT_EQ(form()->helpMarker(), "<GLC00>");
}

TEST_F(LedgerCategoryFormTest, OpeningShowsEveryCategoryInFileOrderAndClosesTheSet) {
  start(kChart);
  struct Case {
    const char* name;
    bool handedOver;  // the menu opened the set, or the form opens its own
  };
  for (const Case& c : {Case{"set handed over by the menu", true}, Case{"own set", false}}) {
    SCOPED_TRACE(c.name);
    if (c.handedOver)
      openFromMenu();
    else
      showWithNothingOpen();
    EXPECT_FALSE(recordStore().isSetOpen()) << "the activation must close the set it read";
    EXPECT_EQ(names(), (QStringList{"Fixed assets", "Debtors", "Turnover", "Costs"}));
    EXPECT_EQ(kinds(), (QStringList{"BAL", "BAL", "P&L", "P&L"}));
    EXPECT_EQ(form()->count(), 4);
    EXPECT_EQ(grid()->rowCount(), 5) << "one empty place after the list";
    EXPECT_EQ(grid()->item(1, LedgerCategoryForm::kUserColumn)->text(), "SYSTEM");
    EXPECT_EQ(grid()->item(1, LedgerCategoryForm::kTimestampColumn)->text(), kStamp);
    EXPECT_EQ(form()->statusText(), "");
    ASSERT_TRUE(run("CancelExecute"));
    EXPECT_FALSE(form()->isVisible());
  }
  EXPECT_EQ(categoryContents(), fileOf(kChart));
}

TEST_F(LedgerCategoryFormTest, CaptionsHeadingsAndKindsSpeakTheCurrentLanguage) {
  start(kChart);
  openFromMenu();
  EXPECT_EQ(form()->windowTitle(), "Tallymoor Lite 2.0.4 : Manager / Categories");
  EXPECT_EQ(grid()->horizontalHeaderItem(LedgerCategoryForm::kKindColumn)->text(), "Kind");
  EXPECT_EQ(grid()->horizontalHeaderItem(LedgerCategoryForm::kNameColumn)->text(), "Name");
  EXPECT_EQ(control<QLabel>("Label1")->text(), "Name");
  EXPECT_EQ(control<QGroupBox>("RadioGroup1")->title(), "Kind");
  EXPECT_EQ(control<QRadioButton>("RadioButton1")->text(), "BAL");
  EXPECT_EQ(control<QRadioButton>("RadioButton2")->text(), "P&L");
  EXPECT_EQ(action("Add1")->text(), "Put");
  EXPECT_EQ(action("BrookfellGLcategoryHelp1")->text(), "Category help");
  EXPECT_TRUE(grid()->isColumnHidden(LedgerCategoryForm::kUserColumn));
  EXPECT_TRUE(grid()->isColumnHidden(LedgerCategoryForm::kTimestampColumn));

  // Another language renames the kinds in the table, not what they are.
  std::map<int, std::string> other = kTestTexts;
  other[2255] = "Bilan";
  other[2284] = "Resultat";
  useLanguage(languageOf(other));
  EXPECT_EQ(kinds(), (QStringList{"Bilan", "Bilan", "Resultat", "Resultat"}));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(categoryContents(), fileOf(kChart));
}

TEST_F(LedgerCategoryFormTest, AnEmptyFileLoadsEmptyAndSelectOnTheEmptyRowGivesEmptyFields) {
  // An account without a category does not make the empty place "in use".
  start({}, {account("1000", "")});
  openFromMenu();
  EXPECT_EQ(form()->count(), 0);
  EXPECT_EQ(grid()->rowCount(), 1);
  ASSERT_TRUE(run("Image4Click"));
  for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit4"})
    EXPECT_EQ(control(field)->text(), "") << field;
  EXPECT_TRUE(control("Edit1")->isEnabled());
  EXPECT_TRUE(deleteEnabled());
  EXPECT_FALSE(selectEnabled());
  EXPECT_EQ(grid()->rowCount(), 1);
  EXPECT_FALSE(recordStore().isSetOpen());
  // Nothing was taken out: Save writes the empty list.
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_FALSE(form()->isVisible());
  EXPECT_EQ(categoryContents(), "");
}

TEST_F(LedgerCategoryFormTest, AStrangeStoredKindLoadsAsProfitAndLossAndIsWrittenBackSo) {
  start({{"Balance", "Odd", "SYSTEM", kStamp}, balance("Fixed assets")});
  openFromMenu();
  EXPECT_EQ(kinds(), (QStringList{"P&L", "BAL"}));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(categoryContents(),
            fileOf<GlCategoryRecord>(
                {{kProfitAndLossKind, "Odd", "SYSTEM", kStamp}, balance("Fixed assets")}));
}

// --- add ---------------------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, AddIsOfferedExactlyWhenTheNameHoldsMoreThanBlanks) {
  start(kChart);
  openFromMenu();
  struct Case {
    const char* name;
    QString typed;
    bool offered;
  };
  const std::vector<Case> cases = {
      {"nothing", "", false},
      {"blanks only", "   ", false},
      {"a name after blanks", "  Stock", true},
      {"a name", "Stock", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    control("Edit1")->setText(c.typed);
    EXPECT_EQ(addEnabled(), c.offered);
    EXPECT_EQ(action("Add1")->isEnabled(), c.offered);
    // Enter in the name field adds only what Add would.
    sendKey(control("Edit1"), Qt::Key_Return);
    EXPECT_EQ(form()->count(), c.offered ? 5 : 4);
    if (c.offered) {
      EXPECT_EQ(control("Edit1")->text(), "");
      ASSERT_TRUE(run("CancelExecute"));
      openFromMenu();
    }
  }
}

TEST_F(LedgerCategoryFormTest, AddPutsTheCategoryBeforeTheCurrentRow) {
  struct Case {
    const char* name;
    int current;  // -1: no current row
    QStringList expected;
  };
  const std::vector<Case> cases = {
      {"on the first row", 0, {"Stock", "Fixed assets", "Debtors", "Turnover", "Costs"}},
      {"on the third row", 2, {"Fixed assets", "Debtors", "Stock", "Turnover", "Costs"}},
      {"on the place after the list", 4, {"Fixed assets", "Debtors", "Turnover", "Costs", "Stock"}},
      {"without a current row", -1, {"Fixed assets", "Debtors", "Turnover", "Costs", "Stock"}},
  };
  start(kChart);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    if (c.current < 0)
      grid()->setCurrentIndex({});
    else
      setCurrent(c.current);
    enter("Stock", true);
    ASSERT_TRUE(run("AddExecute"));
    EXPECT_EQ(names(), c.expected);
    const int row = static_cast<int>(c.expected.indexOf("Stock"));
    EXPECT_EQ(grid()->currentRow(), row);
    EXPECT_EQ(grid()->item(row, LedgerCategoryForm::kKindColumn)->text(), "BAL");
    EXPECT_EQ(grid()->item(row, LedgerCategoryForm::kUserColumn)->text(), "");
    EXPECT_EQ(control("Edit1")->text(), "");
    EXPECT_TRUE(selectEnabled());
    ASSERT_TRUE(run("CancelExecute"));
  }
  EXPECT_EQ(categoryContents(), fileOf(kChart));
}

TEST_F(LedgerCategoryFormTest, TheSameNameIsAcceptedOnceUnderEachKind) {
  start({profitLoss("Debtors")});
  openFromMenu();
  setCurrent(1);
  enter("Debtors", true);
  ASSERT_TRUE(run("AddExecute"));
  EXPECT_EQ(kinds(), (QStringList{"P&L", "BAL"}));
  EXPECT_EQ(form()->statusText(), "");

  enter("Debtors", true);
  ASSERT_TRUE(run("AddExecute"));
  expectStatus(text(9648), StatusKind::Error);
  EXPECT_EQ(form()->count(), 2);
  EXPECT_EQ(control("Edit1")->text(), "Debtors") << "the entry stays to be changed";
  // A name that differs in letter case only is another category.
  control("Edit1")->setText("debtors");
  ASSERT_TRUE(run("AddExecute"));
  // It goes before the current row, the one added last.
  EXPECT_EQ(names(), (QStringList{"Debtors", "debtors", "Debtors"}));

  const std::string before = currentTimestamp();
  ASSERT_TRUE(run("SaveExecute"));
  const std::string after = currentTimestamp();
  EXPECT_FALSE(form()->isVisible());
  std::vector<GlCategoryRecord> stored = storedCategories();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].encode(), profitLoss("Debtors").encode())
      << "an untouched row keeps its stamp";
  for (std::size_t i : {1u, 2u}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(stored[i].kind, kBalanceSheetKind);
    EXPECT_EQ(stored[i].user, "CHIEFACCOU");
    EXPECT_TRUE(stored[i].timestamp == before || stored[i].timestamp == after)
        << stored[i].timestamp;
  }
}

TEST_F(LedgerCategoryFormTest,
       FromSeventyFiveCategoriesAddRemindsOfTheLimitAndRefusesTheHundredFiftyFirst) {
  struct Case {
    const char* name;
    int stored;
    const char* typed;  // a name of the list is a duplicate
    int countAfter;
    StatusKind kind;
    bool reminded;  // the limit text on the status line
  };
  const std::vector<Case> cases = {
      {"74th category", 73, "New", 74, StatusKind::Plain, false},
      {"75th category", 74, "New", 75, StatusKind::Notice, true},
      {"150th category", 149, "New", 150, StatusKind::Notice, true},
      {"151st category", 150, "New", 150, StatusKind::Error, true},
      {"a duplicate in a long list", 80, "Category 3", 80, StatusKind::Notice, true},
  };
  start({});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::writeFile(categoryFile(), fileOf(manyCategories(c.stored)));
    openFromMenu();
    setCurrent(form()->count());
    enter(c.typed, true);
    ASSERT_TRUE(run("AddExecute"));
    EXPECT_EQ(form()->count(), c.countAfter);
    expectStatus(c.reminded ? text(9506) : "", c.kind);
    const bool added = c.countAfter > c.stored;
    EXPECT_EQ(control("Edit1")->text(), added ? "" : c.typed);
    ASSERT_TRUE(run(added ? "SaveExecute" : "DeleteExecute"));
    if (added) EXPECT_EQ(storedCategories().size(), static_cast<std::size_t>(c.countAfter));
    form()->close();
    harness_.processEvents();
  }
}

// --- select, delete and the in-use test --------------------------------------------------

TEST_F(LedgerCategoryFormTest, ACategoryThatAccountsNameKeepsItsNameAndCannotBeDeleted) {
  start(kChart, {account("1300", "Debtors"), account("8000", "turnover")});
  openFromMenu();
  selectName("Debtors");
  EXPECT_EQ(control("Edit1")->text(), "Debtors");
  EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
  EXPECT_EQ(control("Edit2")->text(), "SYSTEM");
  EXPECT_EQ(control("Edit3")->text(), kStamp);
  EXPECT_EQ(control("Edit4")->text(), "in use !");
  EXPECT_FALSE(control("Edit1")->isEnabled());
  EXPECT_FALSE(deleteEnabled());
  EXPECT_FALSE(control<QPushButton>("Button3")->isEnabled());
  EXPECT_FALSE(selectEnabled());
  EXPECT_EQ(names(), (QStringList{"Fixed assets", "Turnover", "Costs"}));
  EXPECT_FALSE(recordStore().isSetOpen());

  // Delete cannot drop it, nor Save or Cancel leave it out.
  ASSERT_TRUE(run("DeleteExecute"));
  EXPECT_EQ(control("Edit1")->text(), "Debtors");
  for (const char* refused : {"SaveExecute", "CancelExecute"}) {
    SCOPED_TRACE(refused);
    ASSERT_TRUE(run(refused));
    expectStatus(text(9567), StatusKind::Error);
    EXPECT_TRUE(form()->isVisible());
  }

  // Add puts it back where it was, and the fields are open again.
  ASSERT_TRUE(run("AddExecute"));
  EXPECT_EQ(names(), (QStringList{"Fixed assets", "Debtors", "Turnover", "Costs"}));
  EXPECT_EQ(kinds().at(1), "BAL");
  EXPECT_TRUE(control("Edit1")->isEnabled());
  EXPECT_EQ(control("Edit4")->text(), "");
  EXPECT_TRUE(deleteEnabled());

  // A name that differs in letter case from an account's category is not in use.
  selectName("Turnover");
  EXPECT_EQ(control("Edit4")->text(), "");
  EXPECT_TRUE(control("Edit1")->isEnabled());
  EXPECT_TRUE(deleteEnabled());
}

TEST_F(LedgerCategoryFormTest, DeleteDropsTheSelectedCategoryFromTheFileAtSave) {
  start(kChart);
  openFromMenu();
  selectName("Turnover");
  EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
  EXPECT_EQ(control("Edit4")->text(), "");
  ASSERT_TRUE(run("DeleteExecute"));
  for (const char* field : {"Edit1", "Edit2", "Edit3"})
    EXPECT_EQ(control(field)->text(), "") << field;
  EXPECT_TRUE(selectEnabled());
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(
      categoryContents(),
      fileOf<GlCategoryRecord>({balance("Fixed assets"), balance("Debtors"), profitLoss("Costs")}));
}

TEST_F(LedgerCategoryFormTest, ASelectedCategoryChangedAndAddedBackGetsTheSavingUser) {
  start(kChart);
  openFromMenu();
  selectName("Costs");
  control("Edit1")->setText("Expenses");
  control<QRadioButton>("RadioButton1")->setChecked(true);
  ASSERT_TRUE(run("AddExecute"));
  ASSERT_TRUE(run("SaveExecute"));
  std::vector<GlCategoryRecord> stored = storedCategories();
  ASSERT_EQ(stored.size(), 4u);
  EXPECT_EQ(stored[3].name, "Expenses");
  EXPECT_EQ(stored[3].kind, kBalanceSheetKind);
  EXPECT_EQ(stored[3].user, "CHIEFACCOU");
  EXPECT_NE(stored[3].timestamp, kStamp);
}

TEST_F(LedgerCategoryFormTest, SelectRefusesWhileAnEntryStandsInTheFields) {
  start(kChart);
  openFromMenu();
  // Typed but not yet added.
  control("Edit1")->setText("Stock");
  setCurrent(0);
  ASSERT_TRUE(run("Image4Click"));
  expectStatus(text(9567), StatusKind::Error);
  EXPECT_EQ(form()->count(), 4);
  EXPECT_EQ(control("Edit1")->text(), "Stock");
  control("Edit1")->clear();

  // Taken out: Select is not offered again until Add or Delete.
  selectName("Debtors");
  EXPECT_FALSE(selectEnabled());
  EXPECT_FALSE(action("Select1")->isEnabled());
  setCurrent(0);
  ASSERT_TRUE(run("Image4Click"));
  EXPECT_EQ(control("Edit1")->text(), "Debtors");
  EXPECT_EQ(form()->count(), 3);
  ASSERT_TRUE(run("DeleteExecute"));
  EXPECT_TRUE(selectEnabled());
}

// --- moves -------------------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, UpAndDownMoveRowsAndTheNewOrderReachesTheFile) {
  start(kChart);
  openFromMenu();
  struct Step {
    const char* name;
    const char* slot;
    int current;
    QStringList names;
    int currentAfter;
    QString status;  // a notice, or nothing
  };
  const std::vector<Step> steps = {
      {"up from the top",
       "Image1Click",
       0,
       {"Fixed assets", "Debtors", "Turnover", "Costs"},
       0,
       text(9384)},
      {"down from the last",
       "Image2Click",
       3,
       {"Fixed assets", "Debtors", "Turnover", "Costs"},
       3,
       text(9445)},
      {"down from the empty place",
       "Image2Click",
       4,
       {"Fixed assets", "Debtors", "Turnover", "Costs"},
       4,
       text(9445)},
      {"up from the empty place",
       "Image1Click",
       4,
       {"Fixed assets", "Debtors", "Turnover", "Costs"},
       4,
       ""},
      {"costs up", "Image1Click", 3, {"Fixed assets", "Debtors", "Costs", "Turnover"}, 2, ""},
      {"fixed assets down",
       "Image2Click",
       0,
       {"Debtors", "Fixed assets", "Costs", "Turnover"},
       1,
       ""},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    form()->setStatus({}, StatusKind::Plain);
    setCurrent(s.current);
    ASSERT_TRUE(run(s.slot));
    EXPECT_EQ(names(), s.names);
    EXPECT_EQ(grid()->currentRow(), s.currentAfter);
    expectStatus(s.status, s.status.isEmpty() ? StatusKind::Plain : StatusKind::Notice);
  }
  EXPECT_EQ(kinds(), (QStringList{"BAL", "BAL", "P&L", "P&L"}));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(categoryContents(),
            fileOf<GlCategoryRecord>({balance("Debtors"), balance("Fixed assets"),
                                      profitLoss("Costs"), profitLoss("Turnover")}));
}

// --- closing -----------------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, CancelAndEscLeaveTheFileAsItWasAndTheNextOpeningRereadsIt) {
  start(kChart);
  struct Case {
    const char* name;
    bool escape;
  };
  for (const Case& c : {Case{"Cancel", false}, Case{"Esc", true}}) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enter("Stock", false);
    ASSERT_TRUE(run("AddExecute"));
    setCurrent(2);
    ASSERT_TRUE(run("Image1Click"));
    selectName("Costs");
    ASSERT_TRUE(run("DeleteExecute"));
    if (c.escape)
      sendKey(grid(), Qt::Key_Escape);
    else
      ASSERT_TRUE(run("CancelExecute"));
    harness_.processEvents();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(harness_.program().mainForm()->isVisible());
    EXPECT_EQ(categoryContents(), fileOf(kChart));
  }
  showWithNothingOpen();
  EXPECT_EQ(names(), (QStringList{"Fixed assets", "Debtors", "Turnover", "Costs"}));
}

TEST_F(LedgerCategoryFormTest, ReopeningAfterAnInUseSelectStartsWithOpenFields) {
  start(kChart, {account("1300", "Debtors")});
  openFromMenu();
  selectName("Debtors");
  ASSERT_FALSE(control("Edit1")->isEnabled());
  form()->close();  // the window's own close button
  harness_.processEvents();
  openFromMenu();
  EXPECT_EQ(form()->count(), 4);
  for (const char* field : {"Edit1", "Edit2", "Edit3", "Edit4"})
    EXPECT_EQ(control(field)->text(), "") << field;
  EXPECT_TRUE(control("Edit1")->isEnabled());
  EXPECT_TRUE(deleteEnabled());
  EXPECT_TRUE(selectEnabled());
}

TEST_F(LedgerCategoryFormTest, KindsSurviveALanguageWhoseKindCaptionsAreEmpty) {
  start(kChart);
  std::map<int, std::string> empty = kTestTexts;
  empty.erase(2255);
  empty.erase(2284);
  useLanguage(languageOf(empty));
  openFromMenu();
  selectName("Turnover");
  EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
  ASSERT_TRUE(run("AddExecute"));
  // Debtors under the other kind is another category, whatever the captions say.
  enter("Debtors", false);
  ASSERT_TRUE(run("AddExecute"));
  EXPECT_EQ(form()->count(), 5);
  ASSERT_TRUE(run("SaveExecute"));
  std::vector<GlCategoryRecord> stored = storedCategories();
  ASSERT_EQ(stored.size(), 5u);
  std::vector<std::string> storedKinds;
  for (const GlCategoryRecord& record : stored) storedKinds.push_back(record.kind);
  EXPECT_EQ(storedKinds,
            (std::vector<std::string>{kBalanceSheetKind, kBalanceSheetKind, kProfitAndLossKind,
                                      kProfitAndLossKind, kProfitAndLossKind}));
}

// --- open failures -----------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, ALoadThatCannotOpenTheFileSaysSoAndNeverSavesOverIt) {
  start(kChart);
  ::chmod(categoryFile().c_str(), 0444);
  {
    AsUnprivilegedUser unprivileged;
    showWithNothingOpen();
  }
  EXPECT_EQ(harness_.desktop().messages, QStringList{accessDenied("GLC")});
  EXPECT_EQ(form()->count(), 0);
  EXPECT_FALSE(recordStore().isSetOpen());

  // Back to a readable file, a category added to the empty table: Save must not replace
  // the four categories it never read.
  ::chmod(categoryFile().c_str(), 0644);
  enter("Stock", true);
  ASSERT_TRUE(run("AddExecute"));
  ASSERT_TRUE(run("SaveExecute"));
  expectStatus(accessDenied("GLC"), StatusKind::Error);
  EXPECT_EQ(categoryContents(), fileOf(kChart));
  EXPECT_TRUE(form()->isVisible());
}

TEST_F(LedgerCategoryFormTest, ASaveThatCannotOpenTheFileWritesNothingAndStaysOpen) {
  start(kChart);
  openFromMenu();
  enter("Stock", true);
  ASSERT_TRUE(run("AddExecute"));
  ::chmod(categoryFile().c_str(), 0444);
  {
    AsUnprivilegedUser unprivileged;
    ASSERT_TRUE(run("SaveExecute"));
  }
  EXPECT_EQ(harness_.desktop().messages, QStringList{accessDenied("GLC")});
  EXPECT_EQ(categoryContents(), fileOf(kChart));
  EXPECT_TRUE(form()->isVisible());
  EXPECT_EQ(form()->count(), 5);
  EXPECT_FALSE(recordStore().isSetOpen());
}

TEST_F(LedgerCategoryFormTest, ASelectThatCannotOpenTheAccountsTakesNothingOut) {
  start(kChart, {account("1300", "Debtors")});
  openFromMenu();
  ::chmod(categoryFile().c_str(), 0666);
  ::chmod(accountFile().c_str(), 0444);
  {
    AsUnprivilegedUser unprivileged;
    selectName("Debtors");
  }
  EXPECT_EQ(harness_.desktop().messages, QStringList{accessDenied("GLA")});
  EXPECT_EQ(form()->count(), 4);
  EXPECT_EQ(control("Edit1")->text(), "");
  EXPECT_TRUE(selectEnabled());
  EXPECT_FALSE(recordStore().isSetOpen());
}

// --- keys and help -----------------------------------------------------------------------

TEST_F(LedgerCategoryFormTest, TheKeyboardReachesEveryAction) {
  start(kChart);
  openFromMenu();
  struct Case {
    const char* name;
    const char* target;
    int key;
    Qt::KeyboardModifiers modifiers;
    int current;
    QStringList names;  // the list after the key
    QString entry;      // the name field after the key
  };
  const QStringList original = {"Fixed assets", "Debtors", "Turnover", "Costs"};
  const std::vector<Case> cases = {
      {"Ctrl+Down moves down",
       "StringGrid1",
       Qt::Key_Down,
       Qt::ControlModifier,
       0,
       {"Debtors", "Fixed assets", "Turnover", "Costs"},
       ""},
      {"Ctrl+Up moves back up", "StringGrid1", Qt::Key_Up, Qt::ControlModifier, 1, original, ""},
      {"Enter on the list selects",
       "StringGrid1",
       Qt::Key_Return,
       Qt::NoModifier,
       2,
       {"Fixed assets", "Debtors", "Costs"},
       "Turnover"},
      {"Enter in the name adds", "Edit1", Qt::Key_Return, Qt::NoModifier, 2, original, ""},
      {"Alt+Left selects",
       "Edit1",
       Qt::Key_Left,
       Qt::AltModifier,
       3,
       {"Fixed assets", "Debtors", "Turnover"},
       "Costs"},
      {"Alt+Right adds", "StringGrid1", Qt::Key_Right, Qt::AltModifier, 3, original, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setCurrent(c.current);
    sendKey(control<QWidget>(c.target), c.key, c.modifiers);
    EXPECT_EQ(names(), c.names);
    EXPECT_EQ(control("Edit1")->text(), c.entry);
  }
  selectName("Debtors");
  sendKey(control("Edit1"), Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(control("Edit1")->text(), "");
  sendKey(grid(), Qt::Key_S, Qt::ControlModifier);
  harness_.processEvents();
  EXPECT_FALSE(form()->isVisible());
  std::vector<GlCategoryRecord> stored = storedCategories();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].encode(), balance("Fixed assets").encode());
  // Taken out and put back by keys: the same categories, stamped anew.
  EXPECT_EQ(stored[1].name, "Turnover");
  EXPECT_EQ(stored[1].kind, kProfitAndLossKind);
  EXPECT_EQ(stored[1].user, "CHIEFACCOU");
  EXPECT_EQ(stored[2].name, "Costs");
  EXPECT_EQ(stored[2].kind, kProfitAndLossKind);
}

TEST_F(LedgerCategoryFormTest, HelpOpensAtTheMarkerOfItsEntry) {
  start(kChart);
  openFromMenu();
  QStringList markers;
  Form::setHelpHandler([&](Form* caller, const QString& marker) {
    EXPECT_EQ(caller, form());
    markers << marker;
  });
  sendKey(grid(), Qt::Key_F1);
  control<QToolButton>("ToolButton6")->click();
  for (const char* item : {"BrookfellGLcategoryHelp1", "BrookfellHelp1", "Tutorial1", "About1"})
    action(item)->trigger();
  EXPECT_EQ(markers, (QStringList{"<GLC00>", "<GLC00>", "<GLC00>", "", "<TUT00>", "<ABO00>"}));
  Form::setHelpHandler({});

  action("Brookfellhomepage1")->trigger();
  EXPECT_EQ(harness_.desktop().openedUrls,
            QStringList{webPageForLanguage(fromRecordText(session().languageName))});
}

// --- from the main menu ------------------------------------------------------------------

TEST(LedgerCategoryFromTheMenu, TheMenuHandsOverTheSetOfTheChosenAdministration) {
  ProgramHarness harness;
  harness.installShippedFiles();
  SystemParametersRecord sys;
  sys.languageName = "English";
  sys.directory = harness.path("data/");
  sys.userIdentification = true;
  sys.passwordProtection = true;
  testing::writeFile(harness.path("sysparm010000.vlt"), fileOf(std::vector{sys}));
  UserRecord clerk;
  clerk.userId = "CLERK1";
  clerk.enduser = clerk.enduserManager = clerk.systemAdministrator = 'Y';
  clerk.stamp = "01-02-2008 10:11:12";
  clerk.digest = PasswordDigest("secret1", clerk.stamp);
  testing::writeFile(harness.path("user.vlt"), fileOf(std::vector{clerk}));
  std::filesystem::create_directories(harness.path("data/DEMO"));
  testing::writeFile(harness.path("data/admin.vlt"),
                     fileOf(std::vector{AdministrationRecord{"DEMO", "Demo", "", "", ""}}));
  testing::writeFile(harness.path("data/DEMO/ledgerct.vlt"), fileOf(kChart));
  harness.start();
  ASSERT_TRUE(harness.program().started());

  auto* start = static_cast<StartScreenForm*>(harness.program().mainForm());
  harness.control<QLineEdit>("TStartscherm", "Edit2")->setText("CLERK1");
  harness.control<QLineEdit>("TStartscherm", "Edit3")->setText("secret1");
  harness.control<QComboBox>("TStartscherm", "ComboBox1")->setEditText("Demo");
  ASSERT_TRUE(harness.run("TStartscherm", "Button1Click"));
  ASSERT_TRUE(start->selectMenuEntry(fromRecordText(session().text(1027))));
  ASSERT_TRUE(harness.run("TStartscherm", "TreeView1DblClick"));

  auto* form = static_cast<LedgerCategoryForm*>(harness.form("TLedgercategory"));
  ASSERT_TRUE(form->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen()) << "the activation must close the handed-over set";
  EXPECT_EQ(form->rows().size(), kChart.size());
  EXPECT_EQ(harness.control<QRadioButton>("TLedgercategory", "RadioButton1")->text(),
            "Balance account");
  auto* grid = harness.control<QTableWidget>("TLedgercategory", "StringGrid1");
  grid->setCurrentCell(1, LedgerCategoryForm::kNameColumn);
  ASSERT_TRUE(harness.run("TLedgercategory", "Image1Click"));
  ASSERT_TRUE(harness.run("TLedgercategory", "SaveExecute"));
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(start->isVisible());
  EXPECT_EQ(testing::readFile(harness.path("data/DEMO/ledgerct.vlt")),
            fileOf<GlCategoryRecord>({balance("Debtors"), balance("Fixed assets"),
                                      profitLoss("Turnover"), profitLoss("Costs")}));
}

}  // namespace
}  // namespace tallymoor
