#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "records/byte_codec.h"
#include "records/language_record.h"
#include "records/user_record.h"
#include "startup/forms/caption_routine.h"
#include "startup/forms/users_form.h"
#include "startup/language_loader.h"
#include "startup/session.h"
#include "startup/user_file.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

// A language whose texts tell every message apart. The no word holds a character beyond
// ASCII, stored as its single Windows-1252 byte.
const std::map<int, std::string> kTestTexts = {
    {0, "Testing"},        {446, "Yes!"},          {453, "N\xf6"},      {1947, "Login"},
    {1966, "Full name"},   {2163, "Notes"},        {2095, "Made by"},   {2064, "Set at"},
    {9059, "ID SHORT"},    {9120, "PW SHORT"},     {9181, "PW DIFFER"}, {9242, "PW MISSING"},
    {9303, "KEEP SYSTEM"}, {9567, "ENTRY IN USE"}, {9648, "EXISTS"},    {9709, " IS MISSING"},
};

LanguageRecord languageOf(const std::map<int, std::string>& texts) {
  ByteWriter writer(LanguageRecord::kSize);
  for (const auto& [offset, text] : texts)
    writer.text(static_cast<std::size_t>(offset), text.size(), text);
  return LanguageRecord::decode(writer.bytes());
}

UserRecord storedUser(const std::string& id, const std::string& rights = "YNN") {
  UserRecord user;
  user.userId = id;
  user.userName = "Name of " + id;
  user.enduser = rights[0];
  user.enduserManager = rights[1];
  user.systemAdministrator = rights[2];
  user.memo = "memo of " + id;
  user.creator = "SYSTEM";
  user.stamp = "03-04-2023 09:08:07";
  user.digest = PasswordDigest("pw-" + id, user.stamp);
  return user;
}

std::string fileOf(const std::vector<UserRecord>& users) {
  std::string contents;
  for (const UserRecord& user : users) {
    Bytes bytes = user.encode();
    contents.append(bytes.begin(), bytes.end());
  }
  return contents;
}

const std::vector<UserRecord> kThreeUsers = {storedUser("ADAMS1"), storedUser("CARTER", "YYN"),
                                             storedUser("SYSTEM", "YYY")};

void waitForTheNextSecond() {
  const std::string now = currentTimestamp();
  while (currentTimestamp() == now) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// The program started in a start directory holding the given users, with the test
// language applied and ADMIN1 logged in.
class UsersFormTest : public ::testing::Test {
 protected:
  void start(const std::vector<UserRecord>& users) {
    testing::writeFile(harness_.path("user.vlt"), fileOf(users));
    harness_.start();
    ASSERT_TRUE(harness_.program().started());
    session().systemParameters.lastLogin = "ADMIN1";
    useLanguage(languageOf(kTestTexts));
  }

  void useLanguage(const LanguageRecord& language) {
    session().language = language;
    runCaptionRoutine(harness_.program().forms());
  }

  UsersForm* form() { return static_cast<UsersForm*>(harness_.form("TUsers")); }

  // As the main menu does it: open the set, then show the form in place of the menu.
  void openFromMenu() {
    ASSERT_EQ(recordStore().OpenFileSet("USE"), RecordStore::kOk);
    harness_.program().mainForm()->showModalHidingCaller(form());
    harness_.processEvents();
    ASSERT_TRUE(form()->isVisible());
  }

  template <typename Control = QLineEdit>
  Control* control(const char* name) {
    return harness_.control<Control>("TUsers", name);
  }
  QTableWidget* grid() { return control<QTableWidget>("StringGrid1"); }

  bool run(const char* action) { return harness_.run("TUsers", action); }

  QStringList column(int index) {
    QStringList cells;
    for (int row = 0; row < grid()->rowCount(); ++row) {
      QTableWidgetItem* item = grid()->item(row, index);
      cells << (item ? item->text() : QString());
    }
    return cells;
  }
  QStringList ids() { return column(UsersForm::kIdColumn); }

  void selectRow(const QString& id) {
    int row = static_cast<int>(ids().indexOf(id));
    ASSERT_GE(row, 0) << id.toStdString();
    grid()->setCurrentCell(row, 0);
    ASSERT_TRUE(run("SelectExecute"));
  }

  void enterUser(const QString& id, const QString& password, const QString& reentered,
                 const QString& name = {}) {
    control("Edit1")->setText(id);
    control("Edit2")->setText(name);
    control("Edit5")->setText(password);
    control("Edit6")->setText(reentered);
  }

  std::string userFile() { return testing::readFile(harness_.path("user.vlt")); }
  std::vector<UserRecord> storedUsers() {
    const std::string contents = userFile();
    std::vector<UserRecord> users;
    for (std::size_t at = 0; at + UserRecord::kSize <= contents.size(); at += UserRecord::kSize)
      users.push_back(UserRecord::decode(
          Bytes(contents.begin() + static_cast<long>(at),
                contents.begin() + static_cast<long>(at) + static_cast<long>(UserRecord::kSize))));
    return users;
  }

  QString text(int offset) { return fromRecordText(kTestTexts.at(offset)); }
  void expectError(const QString& message) {
    EXPECT_EQ(form()->statusText(), message);
    EXPECT_EQ(form()->statusKind(), StatusKind::Error);
  }

  static void sendKey(QWidget* target, int key, const QString& typed = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
    QApplication::sendEvent(target, &release);
  }
  static void type(QWidget* target, const QString& typed) {
    for (QChar c : typed) sendKey(target, c.toUpper().unicode(), QString(c));
  }

  ProgramHarness harness_;
};

// --- first start and load ----------------------------------------------------------------

TEST_F(UsersFormTest, FirstStartWritesExactlyTheSystemUser) {
  const std::string before = currentTimestamp();
  harness_.start();
  const std::string after = currentTimestamp();
  ASSERT_TRUE(harness_.program().started());

  const std::string contents = userFile();
  ASSERT_EQ(contents.size(), UserRecord::kSize);
  UserRecord system = UserRecord::decode(Bytes(contents.begin(), contents.end()));
  EXPECT_EQ(system.userId, "SYSTEM");
  EXPECT_EQ(system.userName, "SYSTEM");
  EXPECT_EQ(std::string({system.enduser, system.enduserManager, system.systemAdministrator}),
            "YYY");
  EXPECT_EQ(system.creator, "SYSTEM");
  EXPECT_TRUE(system.stamp == before || system.stamp == after) << system.stamp;
  EXPECT_EQ(system.digest, PasswordDigest("plover", system.stamp));
  EXPECT_FALSE(recordStore().isSetOpen());

  // The form offers the user it wrote.
  useLanguage(languageOf(kTestTexts));
  openFromMenu();
  EXPECT_EQ(ids(), QStringList{"SYSTEM"});
  EXPECT_EQ(column(UsersForm::kSecretColumn), QStringList{QString::number(system.digest)});
}

TEST_F(UsersFormTest, OpeningTheFormShowsEveryUserAndClosesTheSet) {
  start(kThreeUsers);
  struct Case {
    const char* name;
    bool handedOver;  // the menu opened the set, or the form opens its own
  };
  for (const Case& c : {Case{"set handed over by the menu", true}, Case{"own set", false}}) {
    SCOPED_TRACE(c.name);
    if (c.handedOver) {
      openFromMenu();
    } else {
      form()->show();
      harness_.processEvents();
    }
    EXPECT_FALSE(recordStore().isSetOpen()) << "the activation must close the set it read";
    EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER", "SYSTEM"}));
    EXPECT_EQ(column(UsersForm::kNameColumn),
              (QStringList{"Name of ADAMS1", "Name of CARTER", "Name of SYSTEM"}));
    EXPECT_EQ(column(2), (QStringList{"Yes!", "Yes!", "Yes!"}));
    EXPECT_EQ(column(3), (QStringList{"Nö", "Yes!", "Yes!"}));
    EXPECT_EQ(column(4), (QStringList{"Nö", "Nö", "Yes!"}));
    EXPECT_EQ(column(UsersForm::kMemoColumn).at(1), "memo of CARTER");
    EXPECT_EQ(column(UsersForm::kCreatorColumn).at(1), "SYSTEM");
    EXPECT_EQ(column(UsersForm::kStampColumn).at(1), "03-04-2023 09:08:07");
    EXPECT_EQ(column(UsersForm::kSecretColumn).at(1), QString::number(storedUser("CARTER").digest));
    EXPECT_TRUE(grid()->isColumnHidden(UsersForm::kSecretColumn));
    EXPECT_EQ(form()->statusText(), "");
    ASSERT_TRUE(run("CancelExecute"));
    EXPECT_FALSE(form()->isVisible());
  }
  EXPECT_EQ(userFile(), fileOf(kThreeUsers));
}

TEST_F(UsersFormTest, ReopeningAfterCancelStartsAgainFromTheFile) {
  start(kThreeUsers);
  openFromMenu();
  selectRow("SYSTEM");
  control("Edit5")->setText("secret1");
  ASSERT_TRUE(run("CancelExecute"));

  openFromMenu();
  EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER", "SYSTEM"}));
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"})
    EXPECT_EQ(control(name)->text(), "") << name;
  EXPECT_EQ(control<QPlainTextEdit>("Memo2")->toPlainText(), "");
  // SYSTEM was in the fields when the form closed: the fields are open again.
  EXPECT_FALSE(control("Edit1")->isReadOnly());
  EXPECT_FALSE(control("Edit2")->isReadOnly());
  EXPECT_TRUE(control<QCheckBox>("CheckBox3")->isEnabled());
}

TEST_F(UsersFormTest, MoreThanNineteenUsersAreAllInTheGrid) {
  std::vector<UserRecord> many;
  for (int i = 1; i <= 25; ++i)
    many.push_back(storedUser(QString("USER%1").arg(i, 2, 10, QChar('0')).toStdString()));
  start(many);
  openFromMenu();
  ASSERT_EQ(grid()->rowCount(), 25);
  EXPECT_EQ(ids().last(), "USER25");
  selectRow("USER25");
  EXPECT_EQ(control("Edit1")->text(), "USER25");
  EXPECT_EQ(grid()->rowCount(), 24);
  control("Edit5")->setText("secret1");
  control("Edit6")->setText("secret1");
  ASSERT_TRUE(run("AddExecute"));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(storedUsers().size(), 25u);
  EXPECT_EQ(storedUsers().back().userId, "USER25");
}

// --- add ---------------------------------------------------------------------------------

TEST_F(UsersFormTest, AnAddedUserGoesInIdOrderAndIsSavedWithItsPassword) {
  start(kThreeUsers);
  openFromMenu();
  enterUser("BAKKER", "Geheim12", "Geheim12", "Bert Bakker");
  control<QCheckBox>("CheckBox2")->setChecked(true);
  control<QPlainTextEdit>("Memo2")->setPlainText("first line\nsecond line");
  ASSERT_TRUE(run("AddExecute"));

  EXPECT_EQ(ids(), (QStringList{"ADAMS1", "BAKKER", "CARTER", "SYSTEM"}));
  EXPECT_EQ(column(UsersForm::kCreatorColumn).at(1), "ADMIN1");
  EXPECT_EQ(column(UsersForm::kStampColumn).at(1), "");
  for (const char* name : {"Edit1", "Edit2", "Edit5", "Edit6"})
    EXPECT_EQ(control(name)->text(), "") << name;
  EXPECT_FALSE(control<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_EQ(userFile(), fileOf(kThreeUsers)) << "nothing is written before Save";

  const std::string before = currentTimestamp();
  ASSERT_TRUE(run("SaveExecute"));
  const std::string after = currentTimestamp();
  EXPECT_FALSE(form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());

  std::vector<UserRecord> stored = storedUsers();
  ASSERT_EQ(stored.size(), 4u);
  EXPECT_EQ(stored[0].encode(), kThreeUsers[0].encode());
  EXPECT_EQ(stored[2].encode(), kThreeUsers[1].encode());
  EXPECT_EQ(stored[3].encode(), kThreeUsers[2].encode());
  const UserRecord& bakker = stored[1];
  EXPECT_EQ(bakker.userId, "BAKKER");
  EXPECT_EQ(bakker.userName, "Bert Bakker");
  EXPECT_EQ(std::string({bakker.enduser, bakker.enduserManager, bakker.systemAdministrator}),
            "NYN");
  EXPECT_EQ(bakker.memo, "first line\r\nsecond line");
  EXPECT_EQ(bakker.creator, "ADMIN1");
  EXPECT_TRUE(bakker.stamp == before || bakker.stamp == after) << bakker.stamp;

  // The login finds the user and accepts the password.
  UserRecord found;
  ASSERT_TRUE(findUser(recordStore(), "BAKKER", found).found);
  EXPECT_EQ(found.digest, PasswordDigest("Geheim12", found.stamp));
  EXPECT_NE(found.digest, PasswordDigest("Geheim13", found.stamp));
}

TEST_F(UsersFormTest, TheStampIsTheSaveTimeNotTheAddTime) {
  start(kThreeUsers);
  openFromMenu();
  enterUser("BAKKER", "Geheim12", "Geheim12");
  ASSERT_TRUE(run("AddExecute"));
  waitForTheNextSecond();
  const std::string saveTime = currentTimestamp();
  ASSERT_TRUE(run("SaveExecute"));
  const std::string afterSave = currentTimestamp();
  UserRecord bakker = storedUsers().at(1);
  EXPECT_TRUE(bakker.stamp == saveTime || bakker.stamp == afterSave) << bakker.stamp;
  EXPECT_EQ(bakker.digest, PasswordDigest("Geheim12", bakker.stamp));
}

TEST_F(UsersFormTest, AddRefusesAnEntryThatCannotGoIntoTheList) {
  struct Case {
    const char* name;
    QString id, password, reentered;
    QString expected;  // built from the language texts below
  };
  start(kThreeUsers);
  const std::vector<Case> cases = {
      {"duplicate id", "ADAMS1", "secret1", "secret1", text(9648)},
      {"id missing", "", "secret1", "secret1", "Login" + text(9709)},
      {"passwords differ", "BAKKER", "secret1", "secret2", text(9181)},
      {"re-entered password missing", "BAKKER", "secret1", "", text(9181)},
      {"both passwords missing", "BAKKER", "", "", text(9242)},
      {"duplicate without passwords", "CARTER", "", "", text(9648)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enterUser(c.id, c.password, c.reentered);
    ASSERT_TRUE(run("AddExecute"));
    expectError(c.expected);
    EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER", "SYSTEM"}));
    EXPECT_EQ(control("Edit1")->text(), c.id);
    EXPECT_EQ(control("Edit5")->text(), c.password);
    EXPECT_EQ(control("Edit6")->text(), c.reentered);
    // An empty name takes the id.
    EXPECT_EQ(control("Edit2")->text(), c.id);
    ASSERT_TRUE(run("CancelExecute"));
  }
  EXPECT_EQ(userFile(), fileOf(kThreeUsers));
}

// --- field checks ------------------------------------------------------------------------

TEST_F(UsersFormTest, FieldChecksClearTheFieldsAndLeaveNothingSaved) {
  struct Case {
    const char* name;
    QString id, password, reentered;
    const char* check;
    int message;
    QString idAfter, passwordAfter;
  };
  const std::vector<Case> cases = {
      {"id shorter than 6", "BAKKE", "secret1", "secret1", "Edit1Exit", 9059, "", "secret1"},
      {"short password", "BAKKER", "short", "short", "Edit5Exit", 9120, "BAKKER", ""},
      {"differing passwords", "BAKKER", "secret1", "secret2", "Edit6Exit", 9181, "BAKKER", ""},
  };
  start(kThreeUsers);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enterUser(c.id, c.password, c.reentered);
    ASSERT_TRUE(run(c.check));
    expectError(text(c.message));
    EXPECT_EQ(control("Edit1")->text(), c.idAfter);
    EXPECT_EQ(control("Edit5")->text(), c.passwordAfter);
    EXPECT_EQ(control("Edit6")->text(), c.passwordAfter);
    // Pressing on regardless: the entry does not get into the list, Save writes no user.
    ASSERT_TRUE(run("AddExecute"));
    EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER", "SYSTEM"}));
    ASSERT_TRUE(run("SaveExecute"));
    EXPECT_EQ(userFile(), fileOf(kThreeUsers));
    if (form()->isVisible()) ASSERT_TRUE(run("CancelExecute"));
  }
}

TEST_F(UsersFormTest, FieldChecksPassWhenTheEntryIsRight) {
  start(kThreeUsers);
  openFromMenu();
  form()->setStatus("earlier problem", StatusKind::Error);
  enterUser("BAKKER", "secret1", "secret1");
  for (const char* check : {"Edit1Exit", "Edit5Exit"}) {
    ASSERT_TRUE(run(check));
    EXPECT_EQ(form()->statusKind(), StatusKind::Plain) << check;
  }
  ASSERT_TRUE(run("Edit6Exit"));
  EXPECT_EQ(form()->statusText(), "") << "equal passwords clear the status line";
  EXPECT_EQ(control("Edit1")->text(), "BAKKER");
  EXPECT_EQ(control("Edit5")->text(), "secret1");
  EXPECT_EQ(control("Edit6")->text(), "secret1");
}

TEST_F(UsersFormTest, LeavingAFieldRunsItsCheck) {
  struct Case {
    const char* name;
    const char* field;
    Qt::FocusReason reason;
    bool checked;
  };
  const std::vector<Case> cases = {
      {"tab out of the id", "Edit1", Qt::TabFocusReason, true},
      {"click away from the password", "Edit5", Qt::MouseFocusReason, true},
      {"tab out of the re-entered password", "Edit6", Qt::TabFocusReason, true},
      {"another window becomes active", "Edit1", Qt::ActiveWindowFocusReason, false},
      {"a menu opens", "Edit5", Qt::PopupFocusReason, false},
  };
  start(kThreeUsers);
  openFromMenu();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form()->resetStatus();
    form()->setStatus("", StatusKind::Plain);
    enterUser("ABC", "abc", "abcd");
    QFocusEvent leave(QEvent::FocusOut, c.reason);
    QApplication::sendEvent(control(c.field), &leave);
    EXPECT_EQ(form()->statusKind() == StatusKind::Error, c.checked);
    EXPECT_EQ(control(c.field)->text().isEmpty(), c.checked);
  }
}

// --- select, delete, save ----------------------------------------------------------------

TEST_F(UsersFormTest, SystemCannotBeDeletedButKeepsItsPasswordAndMemoChangeable) {
  start(kThreeUsers);
  openFromMenu();
  selectRow("SYSTEM");
  EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER"}));
  EXPECT_EQ(control("Edit1")->text(), "SYSTEM");
  EXPECT_EQ(control("Edit3")->text(), "SYSTEM");
  EXPECT_EQ(control("Edit4")->text(), "03-04-2023 09:08:07");
  EXPECT_EQ(control<QPlainTextEdit>("Memo2")->toPlainText(), "memo of SYSTEM");
  EXPECT_TRUE(control("Edit1")->isReadOnly());
  EXPECT_TRUE(control("Edit2")->isReadOnly());
  for (const char* box : {"CheckBox1", "CheckBox2", "CheckBox3"}) {
    EXPECT_TRUE(control<QCheckBox>(box)->isChecked()) << box;
    EXPECT_FALSE(control<QCheckBox>(box)->isEnabled()) << box;
  }

  ASSERT_TRUE(run("DeleteExecute"));
  expectError(text(9303));
  EXPECT_EQ(control("Edit1")->text(), "SYSTEM");
  EXPECT_EQ(control("Edit2")->text(), "Name of SYSTEM");
  EXPECT_TRUE(control<QCheckBox>("CheckBox3")->isChecked());

  control<QPlainTextEdit>("Memo2")->setPlainText("kept in the safe");
  control("Edit5")->setText("newpass1");
  control("Edit6")->setText("newpass1");
  ASSERT_TRUE(run("AddExecute"));
  EXPECT_EQ(ids(), (QStringList{"ADAMS1", "CARTER", "SYSTEM"}));
  EXPECT_FALSE(control("Edit1")->isReadOnly());
  EXPECT_FALSE(control("Edit2")->isReadOnly());
  EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isEnabled());

  ASSERT_TRUE(run("SaveExecute"));
  UserRecord system = storedUsers().at(2);
  EXPECT_EQ(system.userId, "SYSTEM");
  EXPECT_EQ(std::string({system.enduser, system.enduserManager, system.systemAdministrator}),
            "YYY");
  EXPECT_EQ(system.memo, "kept in the safe");
  EXPECT_NE(system.stamp, "03-04-2023 09:08:07");
  EXPECT_EQ(system.digest, PasswordDigest("newpass1", system.stamp));
}

TEST_F(UsersFormTest, ASelectedUserIsInUseUntilAddedBackOrDeleted) {
  start(kThreeUsers);
  openFromMenu();
  selectRow("CARTER");
  EXPECT_EQ(control("Edit2")->text(), "Name of CARTER");
  EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_FALSE(control<QCheckBox>("CheckBox3")->isChecked());

  // Neither another Select nor Save while the entry stands in the fields.
  grid()->setCurrentCell(0, 0);
  ASSERT_TRUE(run("SelectExecute"));
  expectError(text(9567));
  EXPECT_EQ(control("Edit1")->text(), "CARTER");
  EXPECT_EQ(ids(), (QStringList{"ADAMS1", "SYSTEM"}));
  ASSERT_TRUE(run("SaveExecute"));
  expectError(text(9567));
  EXPECT_TRUE(form()->isVisible());
  EXPECT_EQ(userFile(), fileOf(kThreeUsers));

  ASSERT_TRUE(run("DeleteExecute"));
  EXPECT_EQ(form()->statusKind(), StatusKind::Plain);
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4"})
    EXPECT_EQ(control(name)->text(), "") << name;
  EXPECT_FALSE(control<QCheckBox>("CheckBox2")->isChecked());
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_FALSE(form()->isVisible());
  EXPECT_EQ(userFile(), fileOf({kThreeUsers[0], kThreeUsers[2]}));
}

TEST_F(UsersFormTest, ASaveThatCannotOpenTheFileShowsWhyAndWritesNothing) {
  start(kThreeUsers);
  openFromMenu();
  enterUser("BAKKER", "secret1", "secret1");
  ASSERT_TRUE(run("AddExecute"));
  ::chmod(harness_.path("user.vlt").c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    ASSERT_TRUE(run("SaveExecute"));
  }
  expectError(QString("IO errorcode: USE5  ") +
              QString::fromStdString(systemErrorText(kAccessDenied)));
  EXPECT_TRUE(form()->isVisible());
  EXPECT_FALSE(recordStore().isSetOpen());
  EXPECT_EQ(userFile(), fileOf(kThreeUsers));
  EXPECT_TRUE(ids().contains("BAKKER")) << "the list stays for another try";
}

TEST_F(UsersFormTest, ALoadThatCannotOpenTheFileShowsWhy) {
  start(kThreeUsers);
  ::chmod(harness_.path("user.vlt").c_str(), 0444);
  {
    testing::AsUnprivilegedUser unprivileged;
    form()->show();
    harness_.processEvents();
  }
  expectError(QString("IO errorcode: USE5  ") +
              QString::fromStdString(systemErrorText(kAccessDenied)));
  EXPECT_EQ(grid()->rowCount(), 0);
  EXPECT_FALSE(recordStore().isSetOpen());
}

// --- language ----------------------------------------------------------------------------

TEST_F(UsersFormTest, TheGridSpeaksTheCurrentLanguageAndSavesTheRightsWhateverTheWords) {
  start(kThreeUsers);
  openFromMenu();
  QStringList headings;
  for (int i = 0; i < UsersForm::kSecretColumn; ++i)
    headings << grid()->horizontalHeaderItem(i)->text();
  EXPECT_EQ(headings,
            (QStringList{"Login", "Full name", "[1]", "[2]", "[3]", "Notes", "Made by", "Set at"}));

  // Another language from the language file, as the system settings load it.
  std::map<int, std::string> other = kTestTexts;
  other[0] = "Other";
  other[446] = "Oui";
  other[453] = "Non";
  other[1947] = "Identifiant";
  Bytes first = languageOf(kTestTexts).encode();
  Bytes second = languageOf(other).encode();
  testing::writeFile(harness_.path("vlt010005.lan"), std::string(first.begin(), first.end()) +
                                                         std::string(second.begin(), second.end()));
  LanguageRecord loaded;
  ASSERT_TRUE(loadLanguage(recordStore(), "Other", loaded));
  useLanguage(loaded);
  EXPECT_EQ(grid()->horizontalHeaderItem(0)->text(), "Identifiant");
  EXPECT_EQ(column(3), (QStringList{"Non", "Oui", "Oui"}));

  // A language without the words: the rights still mean what they meant.
  useLanguage(LanguageRecord{});
  EXPECT_EQ(column(3), (QStringList{"", "", ""}));
  ASSERT_TRUE(run("SaveExecute"));
  EXPECT_EQ(userFile(), fileOf(kThreeUsers));
}

TEST_F(UsersFormTest, SelectAndAddCarryTheRightsThroughTheLanguageWords) {
  start({storedUser("ADAMS1", "NYN"), storedUser("SYSTEM", "YYY")});
  openFromMenu();
  selectRow("ADAMS1");
  EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_FALSE(control<QCheckBox>("CheckBox3")->isChecked());
  control<QCheckBox>("CheckBox3")->setChecked(true);
  control("Edit5")->setText("secret1");
  control("Edit6")->setText("secret1");
  ASSERT_TRUE(run("AddExecute"));
  EXPECT_EQ(column(2).at(0), "Nö");
  EXPECT_EQ(column(3).at(0), "Yes!");
  EXPECT_EQ(column(4).at(0), "Yes!");
  ASSERT_TRUE(run("SaveExecute"));
  UserRecord adams = storedUsers().at(0);
  EXPECT_EQ(std::string({adams.enduser, adams.enduserManager, adams.systemAdministrator}), "NYY");
}

// --- closing, keys and entry fields ------------------------------------------------------

TEST_F(UsersFormTest, CancelAndEscCloseWithoutWriting) {
  struct Case {
    const char* name;
    bool escape;
  };
  start(kThreeUsers);
  for (const Case& c : {Case{"Cancel", false}, Case{"Esc", true}}) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enterUser("BAKKER", "secret1", "secret1");
    ASSERT_TRUE(run("AddExecute"));
    if (c.escape)
      sendKey(control("Edit1"), Qt::Key_Escape);
    else
      ASSERT_TRUE(run("CancelExecute"));
    harness_.processEvents();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(harness_.program().mainForm()->isVisible());
    EXPECT_EQ(userFile(), fileOf(kThreeUsers));
  }
}

TEST_F(UsersFormTest, EnterPressesTheFocusedButton) {
  struct Case {
    const char* name;
    const char* button;
    bool addFirst;  // the entry is in the list before the key
    bool closes;
    std::size_t storedAfter;
    int rowsAfter;
  };
  const std::vector<Case> cases = {
      {"add", "Image2", false, false, 3, 4},
      {"save", "Button2", true, true, 4, 4},
      {"cancel", "Button3", true, true, 3, 4},
  };
  start(kThreeUsers);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromMenu();
    enterUser("BAKKER", "secret1", "secret1");
    if (c.addFirst) ASSERT_TRUE(run("AddExecute"));
    sendKey(control<QPushButton>(c.button), Qt::Key_Return);
    harness_.processEvents();
    EXPECT_EQ(form()->isVisible(), !c.closes);
    EXPECT_EQ(grid()->rowCount(), c.rowsAfter);
    EXPECT_EQ(storedUsers().size(), c.storedAfter);
    if (form()->isVisible()) ASSERT_TRUE(run("CancelExecute"));
    testing::writeFile(harness_.path("user.vlt"), fileOf(kThreeUsers));
  }
}

TEST_F(UsersFormTest, EntryFieldsHoldWhatTheRecordHolds) {
  start(kThreeUsers);
  openFromMenu();
  struct Case {
    const char* name;
    const char* field;
    QString typed;
    QString expected;
  };
  const std::vector<Case> cases = {
      {"id in upper case, 10 characters", "Edit1", "bakker01xyz", "BAKKER01XY"},
      {"name, 30 characters", "Edit2", QString(35, 'n'), QString(30, 'n')},
      {"password, 12 characters", "Edit5", "abcdefghijklmn", "abcdefghijkl"},
      {"re-entered password, 12 characters", "Edit6", "abcdefghijklmn", "abcdefghijkl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    control(c.field)->clear();
    type(control(c.field), c.typed);
    EXPECT_EQ(control(c.field)->text(), c.expected);
  }
  EXPECT_EQ(control("Edit5")->echoMode(), QLineEdit::Password);
  EXPECT_EQ(control("Edit6")->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(control("Edit3")->isReadOnly());
  EXPECT_TRUE(control("Edit4")->isReadOnly());

  // The memo holds 200 characters as stored, a line break counting two.
  auto* memo = control<QPlainTextEdit>("Memo2");
  memo->setPlainText(QString(150, 'm') + QString(30, '\n'));
  EXPECT_EQ(memo->toPlainText(), QString(150, 'm') + QString(25, '\n'));
  control("Edit5")->setText("secret1");
  control("Edit6")->setText("secret1");
  ASSERT_TRUE(run("AddExecute"));
  ASSERT_TRUE(run("SaveExecute"));
  UserRecord added = storedUsers().at(1);
  EXPECT_EQ(added.userId, "BAKKER01XY");
  EXPECT_EQ(added.userName, std::string(30, 'n'));
  EXPECT_EQ(added.memo.size(), 200u);
  EXPECT_EQ(added.digest, PasswordDigest("secret1", added.stamp));
}

TEST_F(UsersFormTest, HelpOpensAtTheMarkerOfItsEntry) {
  start(kThreeUsers);
  openFromMenu();
  QStringList markers;
  Form::setHelpHandler([&](Form* caller, const QString& marker) {
    EXPECT_EQ(caller, form());
    markers << marker;
  });
  sendKey(control("Edit1"), Qt::Key_F1);
  control<QToolButton>("ToolButton7")->click();
  for (const char* item : {"BrookfellUsersHelp1", "BrookfellHelp1", "Tutorial1", "About1"})
    harness_.form("TUsers")->findChild<QAction*>(item)->trigger();
  EXPECT_EQ(markers, (QStringList{"<USE00>", "<USE00>", "<USE00>", "", "<TUT00>", "<ABO00>"}));

  harness_.form("TUsers")->findChild<QAction*>("Brookfellhomepage1")->trigger();
  EXPECT_EQ(harness_.desktop().openedUrls,
            QStringList{webPageForLanguage(fromRecordText(session().languageName))});
}

}  // namespace
}  // namespace tallymoor
