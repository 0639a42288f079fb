#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "records/installation_language_record.h"
#include "records/system_parameters_record.h"
#include "startup/session.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

SystemParametersRecord storedParameters(ProgramHarness& harness) {
  std::string bytes = testing::readFile(harness.path("sysparm010000.vlt"));
  EXPECT_EQ(bytes.size(), SystemParametersRecord::kSize);
  return SystemParametersRecord::decode(Bytes(bytes.begin(), bytes.end()));
}

void storeParameters(ProgramHarness& harness, const SystemParametersRecord& record) {
  Bytes bytes = record.encode();
  testing::writeFile(harness.path("sysparm010000.vlt"), std::string(bytes.begin(), bytes.end()));
}

class SystemSettingsFormTest : public ::testing::Test {
 protected:
  template <typename Control = QWidget>
  Control* control(const char* name) {
    return harness.control<Control>("Tsystemscherm", name);
  }
  ProgramHarness harness;
};

TEST_F(SystemSettingsFormTest, AFirstRunWritesTheDefaultRecordAndAsksForTheSettingsFirst) {
  harness.startWithoutAnswering();
  Form* settings = harness.form("Tsystemscherm");
  EXPECT_TRUE(settings->isVisible());
  EXPECT_FALSE(harness.program().mainForm()->isVisible());
  EXPECT_EQ(settings->statusText(), "Please, first insert systemsettings");
  EXPECT_EQ(settings->statusKind(), StatusKind::Error);
  SystemParametersRecord stored = storedParameters(harness);
  EXPECT_EQ(stored.directory, harness.path("data/"));
  EXPECT_EQ(stored.languageName, "English");
  EXPECT_EQ(stored.decimals, 2);
  EXPECT_EQ(stored.tipsAndNews, "T");
  EXPECT_EQ(stored.amountFormat, 'F');
  EXPECT_FALSE(stored.userIdentification);
  EXPECT_EQ(stored.newsDate, DateToText(today()));
  EXPECT_EQ(control<QLineEdit>("Edit9")->text().toStdString(), harness.path("data/"));

  // Once they are saved, the start screen is back and its status line is plain again.
  harness.run("Tsystemscherm", "opslaanExecute");
  EXPECT_TRUE(harness.program().mainForm()->isVisible());
  EXPECT_EQ(settings->statusKind(), StatusKind::Plain);
  EXPECT_FALSE(session().noSystemRecordYet);
}

TEST_F(SystemSettingsFormTest, TheInstallersLanguageIsShownAndTakenOver) {
  SystemParametersRecord record;
  record.languageName = "English";
  record.newsDate = DateToText(today());
  record.tipsAndNews = "T";
  storeParameters(harness, record);
  Bytes ins = InstallationLanguageRecord{"NL"}.encode();
  testing::writeFile(harness.path("ins.vlt"), std::string(ins.begin(), ins.end()));
  harness.start();
  EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), "Nederlands");
  EXPECT_EQ(testing::readFile(harness.path("ins.vlt")), std::string("\x02XX", 3));
  EXPECT_FALSE(session().noSystemRecordYet);
  EXPECT_TRUE(harness.desktop().messages.isEmpty()) << "no news check is due";

  harness.run("Tsystemscherm", "opslaanExecute");
  EXPECT_EQ(storedParameters(harness).languageName, "Nederlands");
}

TEST_F(SystemSettingsFormTest, AnOverdueNewsCheckOpensTheNewsPageAndSavesTheNewDate) {
  SystemParametersRecord record;
  record.languageName = "Deutsch";
  record.tipsAndNews = "T";
  record.directory = harness.path("data/");
  std::chrono::sys_days longAgo = std::chrono::sys_days{today()} - std::chrono::days{100};
  record.newsDate = DateToText(Date{longAgo});
  storeParameters(harness, record);
  harness.start();
  ASSERT_EQ(harness.desktop().messages,
            QStringList{"Tallymoor calls the newspage of our website to show relevant messages"});
  ASSERT_EQ(harness.desktop().openedUrls.size(), 1);
  EXPECT_TRUE(harness.desktop().openedUrls[0].contains("/de/"));
  EXPECT_EQ(storedParameters(harness).newsDate, DateToText(Date{longAgo + std::chrono::days{180}}));
}

TEST_F(SystemSettingsFormTest, SavingStoresTheFieldsAndCreatesTheDirectoryTree) {
  harness.start();
  control<QLineEdit>("Edit1")->setText("Bakery Jansen");
  control<QLineEdit>("Edit17")->setText("www.example.org");
  control<QLineEdit>("Edit9")->setText(QString::fromStdString(harness.path("Acct/Data/")));
  control<QComboBox>("ComboBox2")->setCurrentIndex(3);
  control<QComboBox>("ComboBox3")->setCurrentIndex(2);  // euro
  control<QRadioButton>("RadioButton1")->setChecked(true);
  control<QCheckBox>("CheckBox1")->click();
  control<QCheckBox>("CheckBox2")->click();
  control<QCheckBox>("CheckBox4")->setChecked(true);
  control<QLineEdit>("Edit18")->setText("Low");
  control<QLineEdit>("Edit19")->setText("9,5");
  control<QCheckBox>("CheckBox5")->setChecked(true);
  control<QLineEdit>("Edit24")->setText("Export");
  control<QCheckBox>("CheckBox5")->setChecked(false);  // group 2 off again
  control<QCheckBox>("CheckBox6")->setChecked(false);
  harness.form("Tsystemscherm")->show();
  harness.run("Tsystemscherm", "opslaanExecute");

  SystemParametersRecord stored = storedParameters(harness);
  EXPECT_EQ(stored.buyerName, "Bakery Jansen");
  EXPECT_EQ(stored.website, "www.example.org");
  EXPECT_EQ(stored.directory, harness.path("Acct/Data/"));
  EXPECT_EQ(stored.decimals, 3);
  EXPECT_EQ(stored.currencySymbol, '\x80');
  EXPECT_EQ(stored.amountFormat, 'T');
  EXPECT_TRUE(stored.userIdentification);
  EXPECT_TRUE(stored.passwordProtection);
  EXPECT_EQ(stored.tipsAndNews, "F");
  EXPECT_EQ(stored.taxGroup1[0].name, "Low");
  EXPECT_EQ(stored.taxGroup1[0].rate, 9.5);
  for (const TaxRate& tax : stored.taxGroup2) {
    EXPECT_EQ(tax.name, "");
    EXPECT_EQ(tax.rate, 0.0);
  }
  EXPECT_EQ(stored.savedAt.size(), 19u);
  EXPECT_TRUE(std::filesystem::is_directory(harness.path("Acct/Data")));
  EXPECT_FALSE(harness.form("Tsystemscherm")->isVisible()) << "saving closes the form";
  EXPECT_EQ(session().baseDataDirectory, harness.path("Acct/Data/"));
}

TEST_F(SystemSettingsFormTest, FieldRulesKeepTheFieldsConsistent) {
  harness.start();
  auto* identification = control<QCheckBox>("CheckBox1");
  auto* password = control<QCheckBox>("CheckBox2");
  harness.form("Tsystemscherm")->show();
  EXPECT_FALSE(password->isVisible());
  identification->click();
  EXPECT_TRUE(password->isVisible());
  password->click();
  identification->click();
  EXPECT_FALSE(password->isVisible());
  EXPECT_FALSE(password->isChecked()) << "unticking identification unticks the password";
  EXPECT_FALSE(control<QCheckBox>("CheckBox3")->isVisible());

  // A rate only ever holds a decimal number with the system decimals.
  auto* rate = control<QLineEdit>("Edit19");
  struct Case {
    const char* typed;
    const char* kept;
  };
  for (const Case& c : {Case{"12a,5.3", "12,53"}, Case{",5", "5"}, Case{"7,125", "7,12"}}) {
    SCOPED_TRACE(c.typed);
    rate->setText(c.typed);
    EXPECT_EQ(rate->text(), c.kept);
  }

  // The language field only ever leaves one of the four languages.
  auto* language = control<QComboBox>("ComboBox1");
  struct LanguageCase {
    const char* typed;
    const char* left;
  };
  for (const LanguageCase& c :
       {LanguageCase{"ned", "Nederlands"}, LanguageCase{"x", "Deutsch"},
        LanguageCase{"FRAN", "Fran\u00e7ais"}, LanguageCase{"english", "English"}}) {
    SCOPED_TRACE(c.typed);
    language->setEditText(c.typed);
    harness.run("Tsystemscherm", "ComboBox1Exit");
    EXPECT_EQ(language->currentText(), QString::fromUtf8(c.left));
  }
  language->setEditText("");
  harness.run("Tsystemscherm", "ComboBox1Exit");
  EXPECT_EQ(language->currentText(), "") << "an empty field names no language";

  // The samples follow the decimals and the currency.
  control<QComboBox>("ComboBox3")->setCurrentIndex(2);
  control<QComboBox>("ComboBox2")->setCurrentIndex(3);
  QString sample = control<QRadioButton>("RadioButton1")->text();
  EXPECT_TRUE(sample.startsWith(QString::fromUtf8("\u20ac "))) << sample.toStdString();
  EXPECT_TRUE(sample.endsWith("2475,000")) << sample.toStdString();
  EXPECT_TRUE(
      control<QRadioButton>("RadioButton2")->text().endsWith(QString::fromUtf8("2475,000 \u20ac")));
}

TEST_F(SystemSettingsFormTest, TheDirectoryIsChosenThroughTheFileDialog) {
  harness.start();
  auto* directory = control<QLineEdit>("Edit9");
  struct Case {
    const char* name;
    std::optional<QString> chosen;
    QString field;
  };
  const QString before = directory->text();
  const Case cases[] = {
      {"the chosen file's directory", QString("/srv/books/admin.vlt"), "/srv/books/"},
      {"cancelled keeps the text", std::nullopt, "/srv/books/"},
      {"the reset name empties it", QString("/srv/books/forceerleeg.vlt"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    harness.desktop().chooseFileNext(c.chosen);
    harness.run("Tsystemscherm", "Edit9Enter");
    EXPECT_EQ(directory->text(), c.field);
  }
  ASSERT_FALSE(harness.desktop().fileRequests.isEmpty());
  EXPECT_EQ(harness.desktop().fileRequests[0].fileName, "admin.vlt");
  EXPECT_EQ(harness.desktop().fileRequests[0].initialDirectory, before);
}

TEST_F(SystemSettingsFormTest, CancelPutsTheStoredValuesBackButKeepsSomeTypedOnes) {
  harness.start();
  control<QLineEdit>("Edit1")->setText("typed name");
  control<QLineEdit>("Edit17")->setText("typed site");
  control<QComboBox>("ComboBox2")->setCurrentIndex(4);
  harness.run("Tsystemscherm", "AnnulerenExecute");
  EXPECT_EQ(control<QLineEdit>("Edit1")->text(), "");
  EXPECT_EQ(control<QLineEdit>("Edit17")->text(), "typed site");
  EXPECT_EQ(control<QComboBox>("ComboBox2")->currentText(), "4");
  EXPECT_EQ(storedParameters(harness).buyerName, "") << "nothing written";
}

TEST_F(SystemSettingsFormTest, ASaveThatCannotOpenTheFileWritesNothing) {
  harness.start();
  std::string before = testing::readFile(harness.path("sysparm010000.vlt"));
  ::chmod(harness.path("sysparm010000.vlt").c_str(), 0444);
  control<QLineEdit>("Edit1")->setText("changed");
  {
    testing::AsUnprivilegedUser unprivileged;
    harness.run("Tsystemscherm", "opslaanExecute");
  }
  EXPECT_EQ(harness.desktop().messages, QStringList{"IO errorcode: SYS5"});
  EXPECT_EQ(testing::readFile(harness.path("sysparm010000.vlt")), before);
}

TEST_F(SystemSettingsFormTest, AChosenLanguageReachesEveryFormWhenTheCaptionsRun) {
  harness.installShippedFiles();
  harness.start();
  struct Case {
    const char* language;
    const char* save;   // text 54 on the settings form's save button
    const char* title;  // the settings window title
  };
  const Case cases[] = {
      {"Nederlands", "Opslaan", "Tallymoor Lite 2.0.4 : Systeembeheerder / Systeeminstellingen"},
      {"Deutsch", "Speichern", nullptr},
      {"Fran\u00e7ais", "Sauver", nullptr},
      {"English", "Save", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    harness.form("Tsystemscherm")->show();
    control<QComboBox>("ComboBox1")->setEditText(QString::fromUtf8(c.language));
    harness.run("Tsystemscherm", "opslaanExecute");
    // The start screen runs the caption routine when it becomes active again.
    harness.program().mainForm()->hide();
    harness.program().mainForm()->show();
    harness.processEvents();
    EXPECT_EQ(control<QPushButton>("Button2")->text(), QString::fromUtf8(c.save));
    EXPECT_EQ(fromRecordText(session().languageName), QString::fromUtf8(c.language));
    if (c.title)
      EXPECT_EQ(harness.form("Tsystemscherm")->windowTitle(), QString::fromUtf8(c.title));
  }
}

}  // namespace
}  // namespace tallymoor
