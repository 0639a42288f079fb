#include "startup/forms/start_screen_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/password_digest.h"
#include "records/administration_record.h"
#include "records/system_parameters_record.h"
#include "records/user_record.h"
#include "startup/session.h"
#include "startup/tips.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

template <typename Record>
void writeRecords(const std::string& path, const std::vector<Record>& records) {
  std::string bytes;
  for (const Record& record : records) {
    Bytes encoded = record.encode();
    bytes.append(encoded.begin(), encoded.end());
  }
  testing::writeFile(path, bytes);
}

UserRecord user(const std::string& id, const std::string& password) {
  UserRecord record;
  record.userId = id;
  record.enduser = record.enduserManager = record.systemAdministrator = 'Y';
  record.stamp = "01-02-2008 10:11:12";
  record.digest = PasswordDigest(password, record.stamp);
  return record;
}

class StartScreenTest : public ::testing::Test {
 protected:
  // An installation with settings, so the start screen comes up at once.
  void install(const std::string& tips, bool identification = true, bool password = true) {
    SystemParametersRecord sys;
    sys.languageName = "English";
    sys.directory = harness.path("data/");
    sys.tipsAndNews = tips;
    sys.newsDate = DateToText(today());
    sys.userIdentification = identification;
    sys.passwordProtection = password;
    writeRecords(harness.path("sysparm010000.vlt"), std::vector{sys});
  }
  StartScreenForm* startScreen() {
    return static_cast<StartScreenForm*>(harness.program().mainForm());
  }
  QString field(const char* name) {
    return harness.control<QLineEdit>("TStartscherm", name)->text();
  }

  ProgramHarness harness;
};

TEST_F(StartScreenTest, AFirstRunOffersTheSystemUserAndTheFirstAdministrationOnceSettingsExist) {
  std::filesystem::create_directories(harness.path("data"));
  writeRecords(harness.path("data/admin.vlt"),
               std::vector{AdministrationRecord{"ACME", "Acme Ltd", "", "", ""},
                           AdministrationRecord{"BETA", "Beta BV", "", "", ""}});
  harness.startWithoutAnswering();
  EXPECT_FALSE(startScreen()->isVisible()) << "the settings come first";
  harness.run("Tsystemscherm", "opslaanExecute");
  ASSERT_TRUE(startScreen()->isVisible());
  EXPECT_EQ(field("Edit2"), "SYSTEM");
  EXPECT_EQ(field("Edit3"), "plover");
  auto* choice = harness.control<QComboBox>("TStartscherm", "ComboBox1");
  ASSERT_EQ(choice->count(), 3);
  EXPECT_EQ(choice->itemText(0), "");
  EXPECT_EQ(choice->currentText(), "Acme Ltd");
  EXPECT_EQ(startScreen()->administrations().size(), 2u);
  EXPECT_FALSE(harness.control<QFrame>("TStartscherm", "Panel2")->isVisible());
  EXPECT_TRUE(harness.control<QFrame>("TStartscherm", "Panel1")->isVisible());
}

TEST_F(StartScreenTest, TheDefaultUserIsOfferedOnlyToAFreshInstallation) {
  struct Case {
    const char* name;
    std::vector<UserRecord> users;
    const char* offered;
  };
  const Case cases[] = {
      {"the single SYSTEM user with the default password", {user("SYSTEM", "plover")}, "SYSTEM"},
      {"a changed default password", {user("SYSTEM", "secret")}, ""},
      {"two users", {user("SYSTEM", "plover"), user("ADAMS1", "plover")}, ""},
      {"a single user of another name", {user("ADAMS1", "plover")}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness own;
    SystemParametersRecord sys;
    sys.directory = own.path("data/");
    sys.tipsAndNews = "G";
    sys.userIdentification = sys.passwordProtection = true;
    writeRecords(own.path("sysparm010000.vlt"), std::vector{sys});
    writeRecords(own.path("user.vlt"), c.users);
    own.start();
    EXPECT_EQ(own.control<QLineEdit>("TStartscherm", "Edit2")->text(), c.offered);
  }
}

TEST_F(StartScreenTest, LoginFieldsFollowTheSystemSettings) {
  install("G", /*identification=*/false, /*password=*/false);
  harness.start();
  EXPECT_FALSE(harness.control<QLineEdit>("TStartscherm", "Edit2")->isVisible());
  EXPECT_FALSE(harness.control<QLineEdit>("TStartscherm", "Edit3")->isVisible());
  EXPECT_TRUE(harness.control<QComboBox>("TStartscherm", "ComboBox1")->isVisible());
}

TEST_F(StartScreenTest, TipsCycleAndCanBeSwitchedOff) {
  install("T");
  harness.start();
  ASSERT_TRUE(harness.control<QFrame>("TStartscherm", "Panel3")->isVisible());
  auto* memo = harness.control<QPlainTextEdit>("TStartscherm", "Memo1");
  int first = startScreen()->tipIndex();
  EXPECT_EQ(memo->toPlainText(), fromRecordText(tipText("English", first)));

  // Next Tip from tip 1, four times: 2, 0, 1, 2; from the last tip on to the first.
  startScreen()->setTipSource([] { return 1; });
  startScreen()->hide();
  startScreen()->show();
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    harness.run("TStartscherm", "Button5Click");
    seen.push_back(startScreen()->tipIndex());
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 0, 1, 2}));
  EXPECT_EQ(nextTip(3), 0);

  // "Don't show tips" stores tips off and hides the panel.
  harness.control<QCheckBox>("TStartscherm", "CheckBox1")->setChecked(true);
  harness.run("TStartscherm", "Button4Click");
  EXPECT_FALSE(harness.control<QFrame>("TStartscherm", "Panel3")->isVisible());
  EXPECT_EQ(session().systemParameters.tipsAndNews, "U");
  std::string stored = testing::readFile(harness.path("sysparm010000.vlt"));
  EXPECT_EQ(SystemParametersRecord::decode(Bytes(stored.begin(), stored.end())).tipsAndNews, "U");
  startScreen()->hide();
  startScreen()->show();
  EXPECT_FALSE(harness.control<QFrame>("TStartscherm", "Panel3")->isVisible());
}

TEST_F(StartScreenTest, TipsAreInTheLanguageOfTheSettings) {
  struct Case {
    const char* language;
    const char* start;
  };
  for (const Case& c : {Case{"Nederlands", "Tallymoor laat"}, Case{"Deutsch", "Tallymoor zeigt"},
                        Case{"English", "Tallymoor shows"},
                        Case{"Fran\xE7"
                             "ais",
                             "Tallymoor shows"}}) {
    SCOPED_TRACE(c.language);
    EXPECT_EQ(tipText(c.language, 0).rfind(c.start, 0), 0u);
  }
}

}  // namespace
}  // namespace tallymoor
