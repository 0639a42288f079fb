#include "administrations/forms/admin_settings_form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "administrations/admin_settings.h"
#include "administrations/fiscal_periods.h"
#include "platform/record_text.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/administration_record.h"
#include "records/byte_codec.h"
#include "records/gl_account_record.h"
#include "records/language_record.h"
#include "startup/forms/caption_routine.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

// A language whose texts tell the captions apart.
const std::map<int, std::string> kTestTexts = {
    {0, "Testing"}, {965, "Managers"},  {6215, "Settings"},  {6251, "FIRM"},
    {6565, "THAW"}, {5662, "COMPANY"},  {5693, "BOOK YEAR"}, {6875, "TAX YEAR"},
    {5106, "NEXT"}, {5637, "PREVIOUS"}, {54, "Keep"},        {306, "Drop"},
};

LanguageRecord languageOf(const std::map<int, std::string>& texts) {
  ByteWriter writer(LanguageRecord::kSize);
  for (const auto& [offset, text] : texts)
    writer.text(static_cast<std::size_t>(offset), text.size(), text);
  return LanguageRecord::decode(writer.bytes());
}

constexpr const char* kLoginUser = "CHIEFACCOUNTANT";
constexpr const char* kStoredUser = "CHIEFACCOU";

std::string contentsOf(const AdminSettingsRecord& record) {
  Bytes bytes = record.encode();
  return std::string(bytes.begin(), bytes.end());
}

// Settings of a company in its first book year, twelve periods, nothing closed yet.
AdminSettingsRecord stored() {
  AdminSettingsRecord s = defaultSettings();
  s.reservedText = "former name";
  s.creator = "FOUNDER";
  s.creationStamp = "01-01-2008 09:00:00";
  s.lastSavedStamp = "02-01-2008 10:00:00";
  s.lastSavedUser = "CLERK";
  s.companyName = "Acme Ltd";
  s.town = "Springfield";
  s.taxRegistration = "NL0012B01";
  s.periodCount = 12;
  recomputePeriods(s);
  s.profitAccountNumber = "8000";
  s.profitAccountCaption = "Result";
  s.noSalesTaxAccounts = true;
  s.splitJournals = "true";
  s.journalNames[3] = "Shop";
  s.journalTypeFlags[0] = "true";
  return s;
}

// The program started, a user logged in and the administration ACME chosen, with the test
// language applied.
class AdminSettingsFormTest : public ::testing::Test {
 protected:
  AdminSettingsFormTest() { resetCurrentSettings(); }
  ~AdminSettingsFormTest() override { resetCurrentSettings(); }

  void start() {
    harness_.start();
    ASSERT_TRUE(harness_.program().started());
    session().systemParameters.lastLogin = kLoginUser;
    session().language = languageOf(kTestTexts);
    session().administrationCode = "ACME";
    session().administrationName = "Acme Ltd";
    runCaptionRoutine(harness_.program().forms());
    std::filesystem::create_directories(directory());
    recordStore().administrationDirectory = directory();
  }
  void start(const AdminSettingsRecord& settings) {
    start();
    testing::writeFile(settingsFile(), contentsOf(settings));
  }

  AdminSettingsForm* form() {
    return static_cast<AdminSettingsForm*>(harness_.form("Tadministrationsetting"));
  }

  // As the main menu does it: "GLA;ADS" opened and handed over, the form shown in place of
  // the menu.
  void openFromMenu() {
    ASSERT_EQ(recordStore().OpenFileSet("GLA;ADS"), RecordStore::kOk);
    show();
    EXPECT_FALSE(recordStore().isSetOpen()) << "the handed-over set is closed by the form";
  }
  // Shown without a set, as after a freeze.
  void show() {
    harness_.program().mainForm()->showModalHidingCaller(form());
    harness_.processEvents();
    ASSERT_TRUE(form()->isVisible());
  }

  template <typename Control = QLineEdit>
  Control* control(const char* name) {
    return harness_.control<Control>("Tadministrationsetting", name);
  }
  QDateEdit* picker(const char* name) { return control<QDateEdit>(name); }
  QDateEdit* periodPicker(int period) {
    return control<QDateEdit>(("DateTimePicker" + std::to_string(period + 2)).c_str());
  }
  QComboBox* count() { return control<QComboBox>("ComboBox1"); }
  QComboBox* profit() { return control<QComboBox>("ComboBox2"); }
  bool run(const char* action) { return harness_.run("Tadministrationsetting", action); }

  static QString shown(const QDateEdit* picker) { return picker->date().toString("dd-MM-yyyy"); }
  // The period starts the form shows, in order.
  QStringList visiblePeriods() {
    QStringList dates;
    for (int p = 1; p <= kMaxPeriods; ++p)
      if (!periodPicker(p)->isHidden()) dates << shown(periodPicker(p));
    return dates;
  }
  void setDate(const char* name, int year, int month, int day) {
    picker(name)->setDate(QDate(year, month, day));
  }
  void chooseCount(const QString& text) {
    count()->setEditText(text);
    ASSERT_TRUE(run("ComboBox1Change"));
  }

  std::string directory() { return recordStore().baseDataDirectory + "ACME/"; }
  std::string settingsFile() { return directory() + "adminset.vlt"; }
  std::string settingsContents() { return testing::readFile(settingsFile()); }
  AdminSettingsRecord settingsInFile() {
    const std::string contents = settingsContents();
    EXPECT_EQ(contents.size(), AdminSettingsRecord::kSize);
    return AdminSettingsRecord::decode(Bytes(contents.begin(), contents.end()));
  }
  void writeLedger(const std::vector<std::pair<const char*, const char*>>& accounts) {
    std::string contents;
    for (const auto& [number, caption] : accounts) {
      GlAccountRecord account;
      account.number = number;
      account.caption = caption;
      Bytes bytes = account.encode();
      contents.append(bytes.begin(), bytes.end());
    }
    testing::writeFile(directory() + "ledger.vlt", contents);
  }

  void expectStatus(const QString& text, StatusKind kind) {
    EXPECT_EQ(form()->statusText(), text);
    EXPECT_EQ(form()->statusKind(), kind);
  }
  bool unfreezeOffered() {
    return control<QPushButton>("Button4")->isEnabled() ||
           control<QToolButton>("ToolButton5")->isEnabled() ||
           form()->findChild<QAction*>("Unfreeze1")->isEnabled();
  }
  static void type(QWidget* target, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(target, &press);
    }
  }
  static void leave(QWidget* field) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &focusOut);
  }
  static void sendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
  }

  ProgramHarness harness_;
};

// --- load ------------------------------------------------------------------------------------

TEST_F(AdminSettingsFormTest, AnEmptySettingsFileGetsTheDefaultsOnTheFirstOpen) {
  start();
  testing::writeFile(settingsFile(), "");
  openFromMenu();

  AdminSettingsRecord expected = defaultSettings();
  const AdminSettingsRecord written = settingsInFile();
  expected.lastSavedStamp = written.lastSavedStamp;
  expected.lastSavedUser = kStoredUser;
  EXPECT_EQ(written, expected);
  EXPECT_FALSE(written.lastSavedStamp.empty());
  EXPECT_EQ(currentSettings(), expected);

  EXPECT_EQ(shown(picker("DateTimePicker1")), "01-01-2008");
  EXPECT_EQ(shown(picker("DateTimePicker2")), "31-12-2008");
  EXPECT_EQ(count()->currentText(), "01");
  EXPECT_EQ(visiblePeriods(), QStringList{"01-01-2008"});
  EXPECT_EQ(control("Edit21")->text(), "EUR");
  EXPECT_EQ(control("Edit23")->text(), "2008");
  EXPECT_EQ(control("Edit18")->text(), "2008");
  EXPECT_EQ(control("Edit20")->text(), "00/00");
  EXPECT_EQ(control("Edit17")->text(), "");
  EXPECT_EQ(control("Edit19")->text(), "");
  EXPECT_EQ(control("Edit16")->text(), kStoredUser);
  EXPECT_EQ(profit()->currentText(), "");
  EXPECT_EQ(control<QTabWidget>("TabControl1")->currentIndex(), 0);
  EXPECT_FALSE(control<QGroupBox>("GroupBox1")->isVisible()) << "journal settings stay hidden";
  EXPECT_FALSE(unfreezeOffered());
  EXPECT_TRUE(harness_.desktop().messages.isEmpty());
}

TEST_F(AdminSettingsFormTest, StoredSettingsAreShownWithTheProfitAccountAmongTheChart) {
  start(stored());
  writeLedger({{"1000", "Cash"}, {"8000", "Result"}, {"0800", "Equity"}});
  const std::string before = settingsContents();
  openFromMenu();
  EXPECT_EQ(settingsContents(), before) << "a load writes nothing";
  EXPECT_EQ(currentSettings(), stored());

  EXPECT_EQ(control("Edit1")->text(), "Acme Ltd");
  EXPECT_EQ(control("Edit4")->text(), "Springfield");
  EXPECT_EQ(control("Edit22")->text(), "NL0012B01");
  EXPECT_EQ(control("Edit15")->text(), "02-01-2008 10:00:00");
  EXPECT_EQ(control("Edit16")->text(), "CLERK");
  EXPECT_EQ(count()->currentText(), "12");
  EXPECT_EQ(visiblePeriods(),
            QStringList({"01-01-2008", "01-02-2008", "01-03-2008", "01-04-2008", "01-05-2008",
                         "01-06-2008", "01-07-2008", "01-08-2008", "01-09-2008", "01-10-2008",
                         "01-11-2008", "01-12-2008"}));
  QStringList entries;
  for (int i = 0; i < profit()->count(); ++i) entries << profit()->itemText(i);
  EXPECT_EQ(entries, QStringList({"1000{Cash}", "8000{Result}", "0800{Equity}"}));
  EXPECT_EQ(profit()->currentText(), "8000{Result}");
  EXPECT_TRUE(picker("DateTimePicker1")->isEnabled()) << "no book year approved yet";
  EXPECT_FALSE(periodPicker(1)->isEnabled()) << "period 1 starts on the start date";
}

TEST_F(AdminSettingsFormTest, AStoredSlotThatIsNoDateDoesNotStopTheOpening) {
  AdminSettingsRecord s = stored();
  s.periodStarts[2] = "21000229";  // no such day
  s.periodStarts[3] = "";
  start(s);
  openFromMenu();
  EXPECT_TRUE(harness_.desktop().messages.isEmpty());
  EXPECT_EQ(shown(periodPicker(5)), "01-05-2008");
  // What the two pickers show was never stored, so recomputing is the way to a table.
  chooseCount("12");
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(settingsInFile().periodStarts[2], "20080301");
  EXPECT_EQ(settingsInFile().periodStarts[3], "20080401");
}

TEST_F(AdminSettingsFormTest, LocksFollowTheCurrentPeriodAndTheApprovedYear) {
  struct Case {
    const char* name;
    const char* approvedYear;
    const char* currentPeriod;
    bool periodsEditable;
    bool startEditable;
  };
  const std::vector<Case> cases = {
      {"nothing closed", "", "00/00", true, true},
      {"first period current", "", "01/12", true, true},
      {"third period current", "", "03/12", false, true},
      {"year approved, first period", "2007", "01/12", true, false},
      {"year approved, last period", "2007", "12/12", false, false},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AdminSettingsRecord s = stored();
    s.approvedYear = c.approvedYear;
    s.lastClosedPeriod = "02/12";
    s.currentPeriod = c.currentPeriod;
    testing::writeFile(settingsFile(), contentsOf(s));
    openFromMenu();
    EXPECT_EQ(count()->isEnabled(), c.periodsEditable);
    EXPECT_EQ(picker("DateTimePicker2")->isEnabled(), c.periodsEditable);
    for (int p = 2; p <= 12; ++p) EXPECT_EQ(periodPicker(p)->isEnabled(), c.periodsEditable) << p;
    EXPECT_FALSE(periodPicker(1)->isEnabled());
    EXPECT_EQ(picker("DateTimePicker1")->isEnabled(), c.startEditable);
    EXPECT_EQ(visiblePeriods().size(), 12);
    ASSERT_TRUE(run("AnnulerenExecute"));
  }
}

TEST_F(AdminSettingsFormTest, ALoginLoadsTheSettingsAndLocksThePeriods) {
  struct Case {
    const char* name;
    bool stored;  // else an empty settings file
    const char* currentPeriod;
    bool locked;
  };
  const std::vector<Case> cases = {
      {"empty file gets the defaults", false, "", false},
      {"stored, third period current", true, "03/12", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness harness;
    resetCurrentSettings();
    std::filesystem::create_directories(harness.path("data/DEMO"));
    const Bytes administration = AdministrationRecord{"DEMO", "Demo", "", "", ""}.encode();
    testing::writeFile(harness.path("data/admin.vlt"),
                       std::string(administration.begin(), administration.end()));
    AdminSettingsRecord s = stored();
    s.lastClosedPeriod = "02/12";
    s.currentPeriod = c.currentPeriod;
    testing::writeFile(harness.path("data/DEMO/adminset.vlt"), c.stored ? contentsOf(s) : "");
    harness.installShippedFiles();
    harness.start();
    ASSERT_TRUE(harness.run("TStartscherm", "Button1Click"));
    ASSERT_EQ(session().administrationCode, "DEMO");

    const std::string contents = testing::readFile(harness.path("data/DEMO/adminset.vlt"));
    ASSERT_EQ(contents.size(), AdminSettingsRecord::kSize);
    const AdminSettingsRecord inFile =
        AdminSettingsRecord::decode(Bytes(contents.begin(), contents.end()));
    EXPECT_EQ(currentSettings(), inFile);
    if (c.stored) {
      EXPECT_EQ(inFile, s) << "a login writes nothing over stored settings";
    } else {
      EXPECT_EQ(inFile.startDate, "20080101");
      EXPECT_EQ(inFile.lastSavedUser, "UNKNOWN") << "user identification is off";
    }
    auto* count = harness.control<QComboBox>("Tadministrationsetting", "ComboBox1");
    EXPECT_EQ(count->isEnabled(), !c.locked);
    EXPECT_FALSE(recordStore().isSetOpen());
  }
}

// --- book year and periods ---------------------------------------------------------------------

TEST_F(AdminSettingsFormTest, ANewStartDateMovesTheWholeBookYear) {
  AdminSettingsRecord s = stored();
  s.approvedYear = "2007";
  start(s);
  openFromMenu();
  setDate("DateTimePicker1", 2008, 7, 1);
  EXPECT_EQ(shown(picker("DateTimePicker2")), "30-06-2009");
  EXPECT_EQ(picker("DateTimePicker2")->minimumDate(), QDate(2008, 7, 2));
  EXPECT_EQ(control("Edit18")->text(), "0809");
  EXPECT_EQ(control("Edit17")->text(), "") << "the approved year is cleared";
  EXPECT_EQ(control("Edit20")->text(), "00/00");
  // Twelve periods on a 1 July year: equal steps, not month starts.
  EXPECT_EQ(visiblePeriods(),
            QStringList({"01-07-2008", "31-07-2008", "30-08-2008", "30-09-2008", "30-10-2008",
                         "29-11-2008", "30-12-2008", "29-01-2009", "28-02-2009", "31-03-2009",
                         "30-04-2009", "30-05-2009"}));
  EXPECT_EQ(shown(periodPicker(13)), "01-07-2009");
  EXPECT_FALSE(unfreezeOffered());

  ASSERT_TRUE(run("opslaanExecute"));
  const AdminSettingsRecord written = settingsInFile();
  EXPECT_EQ(written.startDate, "20080701");
  EXPECT_EQ(written.endDate, "20090630");
  EXPECT_EQ(written.currentYear, "0809");
  EXPECT_EQ(written.approvedYear, "");
  EXPECT_EQ(written.periodStarts[1], "20080731");
  EXPECT_EQ(written.periodStarts[12], "20090701");
}

TEST_F(AdminSettingsFormTest, ThePeriodCountRecomputesThePeriods) {
  struct Case {
    const char* name;
    QString typed;
    QString count;
    QStringList periods;
    QString afterLast;  // the picker of the slot after the last period; empty for 15
  };
  const std::vector<Case> cases = {
      {"thirteen",
       "13",
       "13",
       {"01-01-2008", "29-01-2008", "26-02-2008", "25-03-2008", "22-04-2008", "20-05-2008",
        "17-06-2008", "15-07-2008", "12-08-2008", "09-09-2008", "07-10-2008", "04-11-2008",
        "02-12-2008"},
       "01-01-2009"},
      {"quarters",
       "04",
       "04",
       {"01-01-2008", "01-04-2008", "01-07-2008", "01-10-2008"},
       "01-01-2009"},
      {"two", "02", "02", {"01-01-2008", "01-07-2008"}, "01-01-2009"},
      {"sixteen becomes one", "16", "01", {"01-01-2008"}, "01-01-2009"},
      {"zero becomes one", "00", "01", {"01-01-2008"}, "01-01-2009"},
      {"one digit becomes one", "5", "01", {"01-01-2008"}, "01-01-2009"},
      {"letters become one", "ab", "01", {"01-01-2008"}, "01-01-2009"},
  };
  start(stored());
  openFromMenu();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    chooseCount(c.typed);
    EXPECT_EQ(count()->currentText(), c.count);
    EXPECT_EQ(visiblePeriods(), c.periods);
    EXPECT_EQ(shown(periodPicker(static_cast<int>(c.periods.size()) + 1)), c.afterLast);
    EXPECT_EQ(form()->statusText(), "") << "no message for a replaced count";
  }
}

TEST_F(AdminSettingsFormTest, FifteenPeriodsAreSavedWithoutASlotAfterTheYear) {
  start(stored());
  openFromMenu();
  chooseCount("15");
  EXPECT_EQ(visiblePeriods().size(), 15);
  ASSERT_TRUE(run("opslaanExecute"));
  const AdminSettingsRecord written = settingsInFile();
  EXPECT_EQ(written.periodCount, 15);
  EXPECT_EQ(written.periodStarts[14], "20081206");
  EXPECT_EQ(periodTableProblem(written), "");
}

TEST_F(AdminSettingsFormTest, TheEndDateRecomputesAndCannotComeBeforeTheDayAfterTheStart) {
  start(stored());
  openFromMenu();
  chooseCount("02");
  setDate("DateTimePicker2", 2008, 6, 30);
  EXPECT_EQ(visiblePeriods(), QStringList({"01-01-2008", "31-03-2008"}));
  EXPECT_EQ(shown(periodPicker(3)), "01-07-2008");

  setDate("DateTimePicker2", 2007, 12, 1);
  EXPECT_EQ(shown(picker("DateTimePicker2")), "02-01-2008");
  // Two periods on a book year of two days: the second starts on day 0.5, that is the first
  // day. Such a table is never written.
  EXPECT_EQ(visiblePeriods(), QStringList({"01-01-2008", "01-01-2008"}));
  EXPECT_EQ(shown(periodPicker(3)), "03-01-2008");
  const std::string before = settingsContents();
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_TRUE(form()->statusText().startsWith("The settings were not saved: Period 2"))
      << form()->statusText().toStdString();
  EXPECT_EQ(settingsContents(), before);
}

TEST_F(AdminSettingsFormTest, AClosedPeriodMakesTheRecomputedCurrentPeriodTheFirst) {
  AdminSettingsRecord s = stored();
  s.lastClosedPeriod = "12/12";
  s.currentPeriod = "01/12";
  start(s);
  openFromMenu();
  chooseCount("04");
  EXPECT_EQ(control("Edit20")->text(), "01/04");
}

// --- fiscal year and profit account ----------------------------------------------------------

TEST_F(AdminSettingsFormTest, TheFiscalYearKeepsDigitsAndRefusesYearsBefore1990) {
  start(stored());
  openFromMenu();
  const std::string before = settingsContents();
  QLineEdit* fiscal = control("Edit23");
  fiscal->clear();
  type(fiscal, "20a9");
  EXPECT_EQ(fiscal->text(), "209");
  leave(fiscal);
  expectStatus("Fiscal year is not > 1989, please change", StatusKind::Error);
  EXPECT_EQ(control<QTabWidget>("TabControl1")->currentIndex(), 1);

  // Save does not store a refused year either.
  ASSERT_TRUE(run("opslaanExecute"));
  expectStatus("Fiscal year is not > 1989, please change", StatusKind::Error);
  EXPECT_EQ(settingsContents(), before);
  EXPECT_TRUE(form()->isVisible());

  fiscal->clear();
  type(fiscal, "-1995x");
  EXPECT_EQ(fiscal->text(), "-199");
  fiscal->clear();
  type(fiscal, "1990");
  leave(fiscal);
  expectStatus("", StatusKind::Plain);

  // An empty fiscal year is stored as 2007.
  fiscal->clear();
  leave(fiscal);
  EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(settingsInFile().fiscalYear, "2007");
}

TEST_F(AdminSettingsFormTest, TheProfitAccountIsOneOfTheChartOrNothing) {
  struct Case {
    const char* name;
    QString typed;
    QString kept;
  };
  const std::vector<Case> cases = {
      {"an entry", "8000{Result}", "8000{Result}"},
      {"an entry in other letter case becomes the entry", "1000{CASH}", "1000{Cash}"},
      {"no entry", "9999{Nothing}", ""},
      {"a number alone", "8000", ""},
      {"empty", "", ""},
  };
  start(stored());
  writeLedger({{"1000", "Cash"}, {"8000", "Result"}});
  openFromMenu();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    profit()->setEditText(c.typed);
    leave(profit()->lineEdit());
    EXPECT_EQ(profit()->currentText(), c.kept);
  }
  profit()->setEditText("8000{Result}");
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(settingsInFile().profitAccountNumber, "8000");
  EXPECT_EQ(settingsInFile().profitAccountCaption, "Result");
}

TEST_F(AdminSettingsFormTest, AStoredProfitAccountMissingFromTheChartIsKeptUntilChanged) {
  start(stored());
  writeLedger({{"1000", "Cash"}});
  openFromMenu();
  EXPECT_EQ(profit()->currentText(), "8000{Result}");
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(settingsInFile().profitAccountNumber, "8000");
  EXPECT_EQ(settingsInFile().profitAccountCaption, "Result");
}

// --- save and cancel -----------------------------------------------------------------------------

TEST_F(AdminSettingsFormTest, SaveStoresTheFormKeepsWhatItDoesNotShowAndCloses) {
  start(stored());
  openFromMenu();
  control("Edit1")->setText("Acme Holding");
  control("Edit8")->setText("books@acme.example");
  control("Edit21")->setText("USD");
  chooseCount("04");
  const std::string before = currentTimestamp();
  ASSERT_TRUE(run("opslaanExecute"));
  const std::string after = currentTimestamp();
  EXPECT_FALSE(form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());

  AdminSettingsRecord expected = stored();
  expected.companyName = "Acme Holding";
  expected.email = "books@acme.example";
  expected.currencyCode = "USD";
  expected.periodCount = 4;
  recomputePeriods(expected);
  // Slots beyond the day after the year keep what they held.
  for (int p = 5; p < kMaxPeriods; ++p) expected.periodStarts[p] = stored().periodStarts[p];
  expected.splitJournals = "false";  // this form does not offer split journals
  expected.lastSavedUser = kStoredUser;
  const AdminSettingsRecord written = settingsInFile();
  EXPECT_TRUE(written.lastSavedStamp == before || written.lastSavedStamp == after)
      << written.lastSavedStamp;
  expected.lastSavedStamp = written.lastSavedStamp;
  EXPECT_EQ(written, expected);
  EXPECT_EQ(currentSettings(), expected);
}

TEST_F(AdminSettingsFormTest, SaveRefusesAPeriodTableThatDisagreesWithTheBookYear) {
  start(stored());
  openFromMenu();
  const std::string before = settingsContents();
  periodPicker(3)->setDate(QDate(2008, 1, 15));  // before period 2 on 1 February
  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(form()->statusKind(), StatusKind::Error);
  EXPECT_TRUE(form()->statusText().startsWith("The settings were not saved: Period 3"))
      << form()->statusText().toStdString();
  EXPECT_EQ(settingsContents(), before);
  EXPECT_EQ(currentSettings(), stored());
  EXPECT_TRUE(form()->isVisible());
}

TEST_F(AdminSettingsFormTest, CancelAndEscDropTheEditsAndClose) {
  start(stored());
  const std::string before = settingsContents();
  for (bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Esc" : "Cancel");
    openFromMenu();
    control("Edit1")->setText("Changed");
    chooseCount("04");
    form()->setStatus("something", StatusKind::Error);
    if (byKey)
      sendKey(control("Edit1"), Qt::Key_Escape);
    else
      ASSERT_TRUE(run("AnnulerenExecute"));
    harness_.processEvents();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_EQ(settingsContents(), before);
    EXPECT_EQ(control("Edit1")->text(), "Acme Ltd");
    EXPECT_EQ(count()->currentText(), "12");
    expectStatus("", StatusKind::Plain);
  }
}

// --- open failures
// ---------------------------------------------------------------------------------

TEST_F(AdminSettingsFormTest, AFailedLoadKeepsTheFormAndSaveWritesNothing) {
  start(stored());
  openFromMenu();
  ASSERT_TRUE(run("AnnulerenExecute"));
  harness_.desktop().messages.clear();

  // Another administration whose directory is gone.
  const std::string missing = recordStore().baseDataDirectory + "GONE/";
  recordStore().administrationDirectory = missing;
  show();
  EXPECT_EQ(harness_.desktop().messages,
            QStringList{QString::fromStdString(systemErrorText(kPathNotFound))});
  EXPECT_EQ(control("Edit1")->text(), "Acme Ltd") << "the form keeps what it showed";
  EXPECT_FALSE(recordStore().isSetOpen());

  ASSERT_TRUE(run("opslaanExecute"));
  EXPECT_EQ(form()->statusKind(), StatusKind::Error);
  EXPECT_TRUE(form()->isVisible());
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(currentSettings(), stored());
}

TEST_F(AdminSettingsFormTest, AFailedOpenOnSaveShowsBothTextsAndWritesNothing) {
  start(stored());
  openFromMenu();
  const std::string before = settingsContents();
  control("Edit1")->setText("Changed");
  ::chmod(settingsFile().c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    ASSERT_TRUE(run("opslaanExecute"));
  }
  EXPECT_EQ(
      harness_.desktop().messages,
      QStringList{"IO errorcode: ads5  " + QString::fromStdString(systemErrorText(kAccessDenied))});
  EXPECT_EQ(settingsContents(), before);
  EXPECT_TRUE(form()->isVisible());
  EXPECT_EQ(currentSettings(), stored());
}

// --- tabs, captions, help
// --------------------------------------------------------------------------

TEST_F(AdminSettingsFormTest, TabsSwitchAndACallerMayAskForTheSecondTab) {
  start(stored());
  openFromMenu();
  QTabWidget* tabs = control<QTabWidget>("TabControl1");
  EXPECT_EQ(tabs->tabText(0), "COMPANY");
  EXPECT_EQ(tabs->tabText(1), "BOOK YEAR");
  EXPECT_EQ(tabs->widget(0)->objectName(), "Panel2");
  EXPECT_EQ(tabs->widget(1)->objectName(), "Panel3");
  control<QPushButton>("Button6")->click();
  EXPECT_EQ(tabs->currentIndex(), 1);
  control<QPushButton>("Button7")->click();
  EXPECT_EQ(tabs->currentIndex(), 0);
  control<QToolButton>("ToolButton7")->click();
  EXPECT_EQ(tabs->currentIndex(), 1);
  form()->findChild<QAction*>("prevtab1")->trigger();
  EXPECT_EQ(tabs->currentIndex(), 0);
  ASSERT_TRUE(run("AnnulerenExecute"));

  form()->requestSecondTab();
  openFromMenu();
  EXPECT_EQ(tabs->currentIndex(), 1);
  ASSERT_TRUE(run("AnnulerenExecute"));
  openFromMenu();
  EXPECT_EQ(tabs->currentIndex(), 0) << "the request holds for one opening";
}

TEST_F(AdminSettingsFormTest, CaptionsComeFromTheLanguage) {
  start(stored());
  EXPECT_EQ(form()->windowTitle(), QString(kProgramTitle) + " : Managers / Settings");
  EXPECT_EQ(control<QLabel>("Label1")->text(), "FIRM");
  EXPECT_EQ(control<QLabel>("Label25")->text(), "TAX YEAR");
  EXPECT_EQ(control<QPushButton>("Button4")->text(), "THAW");
  EXPECT_EQ(control<QPushButton>("Button6")->text(), "NEXT");
  EXPECT_EQ(control<QPushButton>("Button7")->text(), "PREVIOUS");
  for (const char* name : {"Button1", "Button2"})
    EXPECT_EQ(control<QPushButton>(name)->text(), "Keep") << name;
  for (const char* name : {"Button3", "Button5"})
    EXPECT_EQ(control<QPushButton>(name)->text(), "Drop") << name;
  EXPECT_EQ(form()->findChild<QAction*>("Save1")->text(), "Keep");
  EXPECT_EQ(form()->findChild<QAction*>("Unfreeze1")->text(), "THAW");
}

TEST_F(AdminSettingsFormTest, ComingBackFromHelpKeepsTheEdits) {
  start(stored());
  openFromMenu();
  control("Edit1")->setText("Typed before help");
  chooseCount("04");
  sendKey(control("Edit1"), Qt::Key_F1);
  harness_.processEvents();
  Form* help = harness_.form("Thelpform");
  ASSERT_TRUE(help->isVisible());
  EXPECT_FALSE(form()->isVisible());
  help->close();
  harness_.processEvents();
  ASSERT_TRUE(form()->isVisible());
  EXPECT_EQ(control("Edit1")->text(), "Typed before help");
  EXPECT_EQ(count()->currentText(), "04");

  // The next opening from the menu loads the stored settings again.
  ASSERT_TRUE(run("AnnulerenExecute"));
  control("Edit1")->setText("left over");
  openFromMenu();
  EXPECT_EQ(control("Edit1")->text(), "Acme Ltd");
}

TEST_F(AdminSettingsFormTest, HelpOpensAtTheMarkerOfItsEntry) {
  start(stored());
  openFromMenu();
  QStringList markers;
  Form::setHelpHandler([&](Form* caller, const QString& marker) {
    EXPECT_EQ(caller, form());
    markers << marker;
  });
  sendKey(control("Edit1"), Qt::Key_F1);
  control<QToolButton>("ToolButton8")->click();
  for (const char* item :
       {"BrookfellAdministrationsettingshelp1", "Brookfellhelp1", "Tutorial1", "About1"})
    form()->findChild<QAction*>(item)->trigger();
  EXPECT_EQ(markers, QStringList({"<ADS00>", "<ADS00>", "<ADS00>", "", "<TUT00>", "<ABO00>"}));

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
