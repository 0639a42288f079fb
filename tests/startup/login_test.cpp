#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "platform/record_text.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "records/administration_record.h"
#include "records/system_parameters_record.h"
#include "records/user_record.h"
#include "startup/forms/start_screen_form.h"
#include "startup/session.h"
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

UserRecord user(const std::string& id, const std::string& password, const char rights[4]) {
  UserRecord record;
  record.userId = id;
  record.enduser = rights[0];
  record.enduserManager = rights[1];
  record.systemAdministrator = rights[2];
  record.stamp = "01-02-2008 10:11:12";
  record.digest = PasswordDigest(password, record.stamp);
  return record;
}

std::vector<UserRecord> readUsers(const std::string& path) {
  std::string bytes = testing::readFile(path);
  std::vector<UserRecord> users;
  for (std::size_t at = 0; at + UserRecord::kSize <= bytes.size(); at += UserRecord::kSize)
    users.push_back(
        UserRecord::decode(Bytes(bytes.begin() + at, bytes.begin() + at + UserRecord::kSize)));
  return users;
}

// An installation in English with the given users and two administrations, started.
void install(ProgramHarness& harness, const std::vector<UserRecord>& users,
             bool identification = true, bool password = true) {
  harness.installShippedFiles();
  SystemParametersRecord sys;
  sys.languageName = "English";
  sys.directory = harness.path("data/");
  sys.tipsAndNews = "G";
  sys.userIdentification = identification;
  sys.passwordProtection = password;
  writeRecords(harness.path("sysparm010000.vlt"), std::vector{sys});
  if (!users.empty()) writeRecords(harness.path("user.vlt"), users);
  std::filesystem::create_directories(harness.path("data/DEMO"));
  writeRecords(harness.path("data/admin.vlt"),
               std::vector{AdministrationRecord{"DEMO", "Demo", "", "", ""},
                           AdministrationRecord{"GONE", "Gone Ltd", "", "", ""}});
  harness.start();
}

// Reaches the start screen of one started program.
struct StartScreen {
  ProgramHarness& harness;
  StartScreenForm* form() { return static_cast<StartScreenForm*>(harness.program().mainForm()); }
  QLineEdit* edit(const char* name) { return harness.control<QLineEdit>("TStartscherm", name); }
  QComboBox* choice() { return harness.control<QComboBox>("TStartscherm", "ComboBox1"); }
  bool panelShows(const char* name) {
    return harness.control<QFrame>("TStartscherm", name)->isVisible();
  }
  void login(const QString& id, const QString& password, const QString& administration) {
    edit("Edit2")->setText(id);
    edit("Edit3")->setText(password);
    choice()->setEditText(administration);
    harness.run("TStartscherm", "Button1Click");
  }
  QStringList menu() { return form()->menuTexts(); }
  // Double-clicks the menu entry with the language text at `offset`.
  void choose(int offset) {
    ASSERT_TRUE(form()->selectMenuEntry(text(offset)));
    harness.run("TStartscherm", "TreeView1DblClick");
  }
  static QString text(int offset) { return fromRecordText(session().text(offset)); }
};

// Menu texts as menuTexts() lists them: entries of a group indented by two blanks.
using MenuEntries = std::vector<std::pair<int, bool>>;
QStringList entries(const MenuEntries& offsets) {
  QStringList result;
  for (auto [offset, inGroup] : offsets)
    result << (inGroup ? "  " : "") + StartScreen::text(offset);
  return result;
}

TEST(Login, AFreshInstallationLogsInOnOkAndCreatesTheAdministrationsFiles) {
  ProgramHarness harness;
  std::filesystem::create_directories(harness.path("data/DEMO"));
  writeRecords(harness.path("data/admin.vlt"),
               std::vector{AdministrationRecord{"DEMO", "Demo", "", "", ""}});
  harness.installShippedFiles();
  harness.start();
  StartScreen screen{harness};
  EXPECT_EQ(screen.edit("Edit2")->text(), "SYSTEM");
  EXPECT_EQ(screen.choice()->currentText(), "Demo");
  harness.run("TStartscherm", "Button1Click");
  EXPECT_FALSE(screen.panelShows("Panel1"));
  EXPECT_EQ(session().administrationCode, "DEMO");
  EXPECT_EQ(recordStore().administrationDirectory, harness.path("data/DEMO/"));
  for (const char* name :
       {"adminset.vlt", "releaseflag.vlt", "invsum.vlt", "payment.vlt", "customer.vlt",
        "supplier.vlt", "book.vlt", "ledger.vlt", "ledgerct.vlt", "freeze.vlt"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::filesystem::exists(harness.path(std::string("data/DEMO/") + name)));
  }
  EXPECT_FALSE(recordStore().isSetOpen());
  // User identification is off in a fresh installation: all rights, no users entry.
  EXPECT_EQ(session().userId(), "UNKNOWN");
  QStringList menu = screen.menu();
  for (int group : {852, 965, 1110}) EXPECT_TRUE(menu.contains(StartScreen::text(group)));
  EXPECT_FALSE(menu.contains("  " + StartScreen::text(1159)));
  EXPECT_FALSE(menu.contains(StartScreen::text(633)));
}

TEST(Login, TheMenuFollowsTheRightsAndTheAdministrationChoice) {
  struct Case {
    const char* name;
    const char* rights;
    const char* administration;
    MenuEntries menu;  // offsets of the texts, and whether the entry lies in a group
  };
  const Case cases[] = {
      {"only right 1", "YNN", "Demo", {{550, false}, {633, false}, {852, false}}},
      {"rights 2 and 3",
       "NYY",
       "Demo",
       {{550, false},
        {633, false},
        {965, false},
        {1079, true},
        {1027, true},
        {996, true},
        {1110, false},
        {1133, true},
        {1058, true},
        {1159, true}}},
      {"no administration: right 3 only",
       "YYY",
       "",
       {{550, false}, {633, false}, {1110, false}, {1133, true}, {1058, true}, {1159, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness harness;
    install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", c.rights)});
    StartScreen screen{harness};
    screen.login("CLERK1", "secret1", c.administration);
    ASSERT_FALSE(screen.panelShows("Panel1"));
    QStringList menu = screen.menu();
    // Entries of forms that come later are left out; compare what is there.
    QStringList expected;
    for (const QString& entry : entries(c.menu))
      if (!entry.startsWith("  ") || menu.contains(entry)) expected << entry;
    EXPECT_EQ(menu.join("|").toStdString(), expected.join("|").toStdString());
    EXPECT_TRUE(menu.contains("  " + StartScreen::text(1133)) == (c.rights[2] == 'Y'));
  }
}

TEST(Login, RefusalsShowTheMessageAndKeepThePanel) {
  struct Case {
    const char* name;
    const char* id;
    const char* password;
    const char* administration;
  };
  const Case cases[] = {
      {"wrong password with an administration", "CLERK1", "wrong1", "Demo"},
      {"wrong password without one", "CLERK1", "wrong1", ""},
      {"unknown user", "NOBODY", "secret1", "Demo"},
      {"an administration in other capitals", "CLERK1", "secret1", "demo"},
      {"an administration that does not exist", "CLERK1", "secret1", "Nothing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramHarness harness;
    install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
    StartScreen screen{harness};
    screen.login(c.id, c.password, c.administration);
    EXPECT_TRUE(screen.panelShows("Panel1"));
    EXPECT_TRUE(screen.edit("Edit4")->isVisible());
    EXPECT_EQ(screen.edit("Edit4")->text(), StartScreen::text(8998));
    EXPECT_EQ(session().administrationCode, "");
  }
}

TEST(Login, ATypedNameInOtherCapitalsSurvivesLeavingTheFieldButNotTheLogin) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
  StartScreen screen{harness};
  screen.choice()->setEditText("demo");
  harness.run("TStartscherm", "ComboBox1Exit");
  EXPECT_EQ(screen.choice()->currentText(), "demo");
  screen.choice()->setEditText("nothing");
  harness.run("TStartscherm", "ComboBox1Exit");
  EXPECT_EQ(screen.choice()->currentText(), "");
}

TEST(Login, AnAdministrationThatCannotBeOpenedLeavesTheUserLoggedInWithoutOne) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
  StartScreen screen{harness};
  screen.login("CLERK1", "secret1", "Gone Ltd");  // its directory does not exist
  EXPECT_FALSE(screen.panelShows("Panel1"));
  ASSERT_EQ(harness.desktop().messages.size(), 1);
  EXPECT_TRUE(harness.desktop().messages[0].startsWith("IO errorcode: FLG3 "));
  EXPECT_FALSE(session().enduser);
  EXPECT_FALSE(session().enduserManager);
  EXPECT_FALSE(screen.menu().contains(StartScreen::text(852)));
  EXPECT_FALSE(recordStore().isSetOpen());
}

TEST(Login, ChoosingAnotherAdministrationAsksOnlyForTheAdministration) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YNY")});
  StartScreen screen{harness};
  screen.login("CLERK1", "secret1", "");
  screen.choose(550);
  EXPECT_TRUE(screen.panelShows("Panel1"));
  EXPECT_FALSE(screen.edit("Edit2")->isVisible());
  EXPECT_FALSE(screen.edit("Edit3")->isVisible());
  EXPECT_FALSE(harness.control<QPushButton>("TStartscherm", "Button2")->isVisible());
  // The user and the rights stay; only the administration changes.
  screen.edit("Edit3")->setText("wrong password does not matter now");
  screen.choice()->setEditText("Demo");
  harness.run("TStartscherm", "Button1Click");
  EXPECT_FALSE(screen.panelShows("Panel1"));
  EXPECT_EQ(session().administrationCode, "DEMO");
  EXPECT_TRUE(session().enduser);
  EXPECT_FALSE(session().enduserManager);
  EXPECT_EQ(session().userId(), "CLERK1");
  // Reactivation keeps the panel's own caption.
  screen.form()->hide();
  screen.form()->show();
  EXPECT_EQ(harness.control<QLabel>("TStartscherm", "Label4")->text(), StartScreen::text(1182));
}

TEST(Login, ThePasswordIsChangedThroughItsPanel) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
  StartScreen screen{harness};
  screen.login("CLERK1", "secret1", "Demo");
  screen.choose(633);
  ASSERT_TRUE(screen.panelShows("Panel2"));
  QLineEdit* message = screen.edit("Edit7");
  EXPECT_FALSE(message->isVisible());

  screen.edit("Edit5")->setText("short");
  harness.run("TStartscherm", "Edit5Exit");
  EXPECT_EQ(message->text(), "Minimal 6 characters");
  EXPECT_EQ(screen.edit("Edit5")->text(), "");
  screen.edit("Edit5")->setText("newpass1");
  screen.edit("Edit6")->setText("newpass2");
  harness.run("TStartscherm", "Edit6Exit");
  EXPECT_EQ(message->text(), "Passwords not identical");
  harness.run("TStartscherm", "Button3Click");
  EXPECT_EQ(message->text(), StartScreen::text(9181));
  EXPECT_EQ(readUsers(harness.path("user.vlt"))[1].digest, user("C", "secret1", "YYY").digest);

  screen.edit("Edit5")->setText("newpass1");
  screen.edit("Edit6")->setText("newpass1");
  harness.run("TStartscherm", "Button3Click");
  EXPECT_FALSE(screen.panelShows("Panel2"));
  UserRecord stored = readUsers(harness.path("user.vlt"))[1];
  EXPECT_EQ(stored.userId, "CLERK1");
  EXPECT_EQ(stored.digest, PasswordDigest("newpass1", stored.stamp));
  EXPECT_EQ(readUsers(harness.path("user.vlt")).size(), 2u);
}

TEST(Login, EnterLogsInAndEscEndsTheProgram) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
  StartScreen screen{harness};
  screen.edit("Edit2")->setText("CLERK1");
  screen.edit("Edit3")->setText("secret1");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(screen.edit("Edit3"), &enter);
  EXPECT_FALSE(screen.panelShows("Panel1"));
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(harness.control<QTreeWidget>("TStartscherm", "TreeView1"), &escape);
  EXPECT_FALSE(screen.form()->isVisible());
}

TEST(Menu, EntriesShowTheirFormsWithTheirSetsAndComeBack) {
  ProgramHarness harness;
  install(harness, {user("SYSTEM", "plover", "YYY"), user("CLERK1", "secret1", "YYY")});
  StartScreen screen{harness};
  screen.login("CLERK1", "secret1", "Demo");

  screen.choose(1159);  // users: the form reads the handed-over set and closes it
  Form* users = harness.form("TUsers");
  ASSERT_TRUE(users->isVisible());
  EXPECT_FALSE(screen.form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
  users->close();
  EXPECT_TRUE(screen.form()->isVisible());

  screen.choose(1133);  // system settings: afterwards only the administration is asked
  ASSERT_TRUE(harness.form("Tsystemscherm")->isVisible());
  harness.form("Tsystemscherm")->close();
  EXPECT_TRUE(screen.form()->isVisible());
  EXPECT_TRUE(screen.panelShows("Panel1"));
  EXPECT_FALSE(screen.edit("Edit2")->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
}

}  // namespace
}  // namespace tallymoor
