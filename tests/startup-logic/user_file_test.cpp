#include "startup/user_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "record-store/conversions.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using testing::AsUnprivilegedUser;
using testing::readFile;
using testing::TempDirectory;
using testing::writeFile;

UserRecord storedUser(const std::string& id, const std::string& stamp = "03-04-2023 09:08:07",
                      const std::string& password = "secret") {
  UserRecord user;
  user.userId = id;
  user.userName = "Name of " + id;
  user.enduser = 'Y';
  user.enduserManager = 'N';
  user.systemAdministrator = 'Y';
  user.memo = "memo " + id;
  user.creator = "SYSTEM";
  user.stamp = stamp;
  user.digest = PasswordDigest(password, stamp);
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

std::vector<UserRecord> usersIn(const std::string& contents) {
  std::vector<UserRecord> users;
  for (std::size_t at = 0; at + UserRecord::kSize <= contents.size(); at += UserRecord::kSize)
    users.push_back(UserRecord::decode(
        Bytes(contents.begin() + static_cast<long>(at),
              contents.begin() + static_cast<long>(at) + static_cast<long>(UserRecord::kSize))));
  return users;
}

std::vector<std::string> idsOf(const std::vector<UserRecord>& users) {
  std::vector<std::string> ids;
  for (const UserRecord& user : users) ids.push_back(user.userId);
  return ids;
}

// A start directory with a user file, and the record store of that directory.
class UserFileTest : public ::testing::Test {
 protected:
  UserFileTest() : store_(dir_.path()) {}

  void writeUsers(const std::vector<UserRecord>& users) { writeFile(userFile(), fileOf(users)); }
  std::string userFile() const { return dir_ / "user.vlt"; }
  std::vector<UserRecord> storedUsers() const { return usersIn(readFile(userFile())); }
  // The user file as another program (or a careless administrator) left it: read-only.
  void makeUserFileReadOnly() { ::chmod(userFile().c_str(), 0444); }
  std::string openFailure() const {
    return "IO errorcode: USE" + std::to_string(kAccessDenied) + "  " +
           systemErrorText(kAccessDenied);
  }

  TempDirectory dir_;
  RecordStore store_;
};

// --- count, find and rewrite -------------------------------------------------------------

TEST_F(UserFileTest, CountUsersCountsRecordsAndClosesItsSet) {
  struct Case {
    const char* name;
    std::vector<UserRecord> users;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"empty file", {}, 0},
      {"three users", {storedUser("ADAMS1"), storedUser("CARTER"), storedUser("SYSTEM")}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeUsers(c.users);
    UserCount result = countUsers(store_);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.count, c.expected);
    EXPECT_FALSE(store_.isSetOpen());
  }
}

TEST_F(UserFileTest, CountUsersInsideAnOpenSetUsesItAndLeavesItOpen) {
  writeUsers({storedUser("ADAMS1"), storedUser("SYSTEM")});
  ASSERT_EQ(store_.OpenFileSet("USE;SYS"), RecordStore::kOk);
  EXPECT_EQ(countUsers(store_).count, 2u);
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_TRUE(store_.isOpen(FileCode::SYS));
  store_.CloseFileSet();
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(UserFileTest, FindUserMatchesTheIdExactly) {
  writeUsers({storedUser("ADAMS1"), storedUser("BAKKER"), storedUser("CARTER")});
  struct Case {
    const char* name;
    std::string id;
    bool found;
    std::string bufferId;  // what the buffer holds afterwards
  };
  const std::vector<Case> cases = {
      {"first", "ADAMS1", true, "ADAMS1"},
      {"middle", "BAKKER", true, "BAKKER"},
      {"last", "CARTER", true, "CARTER"},
      {"other case is another id", "bakker", false, "CARTER"},
      {"prefix is no match", "BAKK", false, "CARTER"},
      {"absent", "ZEBRA1", false, "CARTER"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UserRecord buffer;
    UserSearch result = findUser(store_, c.id, buffer);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.found, c.found);
    EXPECT_EQ(buffer.userId, c.bufferId);
    EXPECT_FALSE(store_.isSetOpen());
  }
}

TEST_F(UserFileTest, FindUserInAnEmptyFileLeavesTheBufferAlone) {
  writeUsers({});
  UserRecord buffer = storedUser("KEEPME");
  EXPECT_FALSE(findUser(store_, "SYSTEM", buffer).found);
  EXPECT_EQ(buffer.userId, "KEEPME");
}

TEST_F(UserFileTest, FindUserReturnsTheWholeRecord) {
  UserRecord carter = storedUser("CARTER", "12-12-2022 23:59:58", "pa55word");
  writeUsers({storedUser("ADAMS1"), carter});
  UserRecord buffer;
  ASSERT_TRUE(findUser(store_, "CARTER", buffer).found);
  EXPECT_EQ(buffer.encode(), carter.encode());
  EXPECT_EQ(PasswordDigest("pa55word", buffer.stamp), buffer.digest);
}

TEST_F(UserFileTest, OpenFailuresGiveTheFileErrorTextAndTouchNothing) {
  const std::string before = fileOf({storedUser("ADAMS1"), storedUser("SYSTEM")});
  writeFile(userFile(), before);
  makeUserFileReadOnly();
  AsUnprivilegedUser unprivileged;
  const std::string text = "IO errorcode: USE" + std::to_string(kAccessDenied);

  UserCount count = countUsers(store_);
  EXPECT_FALSE(count.opened);
  EXPECT_EQ(count.count, 0u);
  EXPECT_EQ(count.message, text);

  UserRecord buffer = storedUser("KEEPME");
  UserSearch search = findUser(store_, "ADAMS1", buffer);
  EXPECT_FALSE(search.opened);
  EXPECT_FALSE(search.found);
  EXPECT_EQ(search.message, text);
  EXPECT_EQ(buffer.userId, "KEEPME");

  UserFileOutcome initial = ensureInitialUser(store_);
  EXPECT_FALSE(initial.opened);
  EXPECT_EQ(initial.message, text);

  // The list routines add the system's text after two blanks.
  UserList list = loadUsers(store_);
  EXPECT_FALSE(list.opened);
  EXPECT_TRUE(list.rows.empty());
  EXPECT_EQ(list.message, openFailure());

  UserFileOutcome save = saveUsers(store_, {});
  EXPECT_FALSE(save.opened);
  EXPECT_EQ(save.message, openFailure());

  EXPECT_FALSE(store_.isSetOpen());
  EXPECT_EQ(readFile(userFile()), before);
}

TEST_F(UserFileTest, RewriteUserOverwritesTheOneRecordInPlaceWithTheLoginAsCreator) {
  std::vector<UserRecord> users = {storedUser("ADAMS1"), storedUser("BAKKER"),
                                   storedUser("CARTER")};
  writeUsers(users);
  UserRecord changed = storedUser("BAKKER", "05-06-2024 07:08:09", "newpass");
  changed.creator = "SOMEONE";
  ASSERT_EQ(store_.OpenFileSet("USE"), RecordStore::kOk);
  EXPECT_TRUE(rewriteUser(store_, changed, "LOGGEDIN01XYZ"));
  store_.CloseFileSet();

  EXPECT_EQ(changed.creator, "LOGGEDIN01XYZ");
  std::vector<UserRecord> stored = storedUsers();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].encode(), users[0].encode());
  EXPECT_EQ(stored[2].encode(), users[2].encode());
  EXPECT_EQ(stored[1].creator, "LOGGEDIN01");  // cut to the field's 10 characters
  EXPECT_EQ(stored[1].stamp, "05-06-2024 07:08:09");
  EXPECT_EQ(stored[1].digest, PasswordDigest("newpass", "05-06-2024 07:08:09"));
}

TEST_F(UserFileTest, RewriteUserOfAnUnknownIdWritesNothing) {
  const std::string before = fileOf({storedUser("ADAMS1"), storedUser("CARTER")});
  writeFile(userFile(), before);
  UserRecord stranger = storedUser("BAKKER");
  ASSERT_EQ(store_.OpenFileSet("USE"), RecordStore::kOk);
  EXPECT_FALSE(rewriteUser(store_, stranger, "SYSTEM"));
  store_.CloseFileSet();
  EXPECT_EQ(readFile(userFile()), before);
}

// --- the first user ----------------------------------------------------------------------

TEST_F(UserFileTest, AnEmptyUserFileGetsTheSystemUser) {
  // A missing file is created by the open, then gets its first user.
  const std::string before = currentTimestamp();
  ASSERT_TRUE(ensureInitialUser(store_).opened);
  const std::string after = currentTimestamp();
  EXPECT_FALSE(store_.isSetOpen());

  std::vector<UserRecord> users = storedUsers();
  ASSERT_EQ(readFile(userFile()).size(), UserRecord::kSize);
  const UserRecord& system = users.at(0);
  EXPECT_EQ(system.userId, "SYSTEM");
  EXPECT_EQ(system.userName, "SYSTEM");
  EXPECT_EQ(system.enduser, 'Y');
  EXPECT_EQ(system.enduserManager, 'Y');
  EXPECT_EQ(system.systemAdministrator, 'Y');
  EXPECT_EQ(system.memo,
            "Change password, write on paper, and keep it in an closed envelope a save place. "
            "Change this memo text.");
  EXPECT_EQ(system.creator, "SYSTEM");
  EXPECT_TRUE(system.stamp == before || system.stamp == after) << system.stamp;
  EXPECT_EQ(system.digest, PasswordDigest("plover", system.stamp));
}

TEST_F(UserFileTest, AUserFileWithUsersKeepsThem) {
  const std::string before = fileOf({storedUser("ADAMS1")});
  writeFile(userFile(), before);
  ASSERT_TRUE(ensureInitialUser(store_).opened);
  EXPECT_EQ(readFile(userFile()), before);
}

TEST_F(UserFileTest, TheFirstUserIsWrittenThroughTheOuterSetWhenNested) {
  writeUsers({});
  ASSERT_EQ(store_.OpenFileSet("USE;SYS;LAN"), RecordStore::kOk);
  ASSERT_TRUE(ensureInitialUser(store_).opened);
  EXPECT_TRUE(store_.isSetOpen());
  EXPECT_EQ(store_.file(FileCode::USE).size(), 1u);
  store_.CloseFileSet();
  EXPECT_EQ(idsOf(storedUsers()), std::vector<std::string>{"SYSTEM"});
}

// --- the list: load, records from rows, save ---------------------------------------------

TEST_F(UserFileTest, LoadTakesOverAHandedOverSetOrOpensItsOwn) {
  std::vector<UserRecord> users = {storedUser("ADAMS1"), storedUser("SYSTEM")};
  users[1].enduser = 'N';
  writeUsers(users);
  struct Case {
    const char* name;
    bool handedOver;
  };
  for (const Case& c : {Case{"set handed over by the menu", true}, Case{"no set open", false}}) {
    SCOPED_TRACE(c.name);
    if (c.handedOver) ASSERT_EQ(store_.OpenFileSet("USE"), RecordStore::kOk);
    UserList list = loadUsers(store_);
    ASSERT_TRUE(list.opened);
    EXPECT_FALSE(store_.isSetOpen()) << "the load must close the set it read";
    EXPECT_EQ(store_.nestingDepth(), 0);
    ASSERT_EQ(list.rows.size(), 2u);
    const UserRow& row = list.rows[1];
    EXPECT_EQ(row.userId, "SYSTEM");
    EXPECT_EQ(row.userName, users[1].userName);
    EXPECT_EQ(row.rights, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(row.memo, users[1].memo);
    EXPECT_EQ(row.creator, users[1].creator);
    EXPECT_EQ(row.stamp, users[1].stamp);
    EXPECT_EQ(row.secret, std::to_string(users[1].digest));
  }
}

TEST_F(UserFileTest, RecordsFromRowsKeepStoredDigestsAndDigestNewPasswords) {
  UserRecord kept = storedUser("ADAMS1", "01-01-2020 01:01:01", "oldpass");
  kept.digest = -123456789;  // any stored value is kept as it is
  UserRow keptRow = userRowFromRecord(kept);
  UserRow added;
  added.userId = "BAKKER";
  added.userName = "Bakker";
  added.rights = {true, false, false};
  added.memo = "new";
  added.creator = "ADMIN1";
  added.secret = "Geheim12";

  const std::string now = "14-05-2024 16:17:18";
  std::vector<UserRecord> records = userRecordsFromRows({keptRow, added}, now);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].encode(), kept.encode()) << "a loaded user is written back unchanged";

  const UserRecord& fresh = records[1];
  EXPECT_EQ(fresh.userId, "BAKKER");
  EXPECT_EQ(fresh.enduser, 'Y');
  EXPECT_EQ(fresh.enduserManager, 'N');
  EXPECT_EQ(fresh.systemAdministrator, 'N');
  EXPECT_EQ(fresh.memo, "new");
  EXPECT_EQ(fresh.creator, "ADMIN1");
  EXPECT_EQ(fresh.stamp, now);
  EXPECT_EQ(fresh.digest, PasswordDigest("Geheim12", now));
}

TEST_F(UserFileTest, RecordsFromRowsCutTheStampTo20Characters) {
  UserRow added;
  added.userId = "BAKKER";
  added.secret = "Geheim12";
  const std::string now = "14-05-2024 16:17:18.123456";
  std::vector<UserRecord> records = userRecordsFromRows({added}, now);
  EXPECT_EQ(records.at(0).stamp, now.substr(0, 20));
  EXPECT_EQ(records.at(0).digest, PasswordDigest("Geheim12", now.substr(0, 20)));
}

TEST_F(UserFileTest, AStoredDigestThatIsNoNumberEndsTheSave) {
  for (const char* secret : {"", "12x", "abc", "99999999999"}) {
    SCOPED_TRACE(secret);
    UserRow row = userRowFromRecord(storedUser("ADAMS1"));
    row.secret = secret;
    EXPECT_THROW(userRecordsFromRows({row}, "14-05-2024 16:17:18"), ConversionError);
  }
  const std::string before = fileOf({storedUser("ADAMS1")});
  writeFile(userFile(), before);
  UserRow broken = userRowFromRecord(storedUser("CARTER"));
  broken.secret = "x";
  EXPECT_THROW((void)saveUsers(store_, {broken}), ConversionError);
  EXPECT_EQ(readFile(userFile()), before);
  EXPECT_FALSE(store_.isSetOpen());
}

TEST_F(UserFileTest, SaveReplacesTheFileByTheListInListOrder) {
  std::vector<UserRecord> users = {storedUser("ADAMS1"), storedUser("BAKKER"), storedUser("CARTER"),
                                   storedUser("DEKKER"), storedUser("SYSTEM")};
  writeUsers(users);
  // Fewer users than before: the file must be cut after the last one.
  std::vector<UserRow> rows = {userRowFromRecord(users[4]), userRowFromRecord(users[0])};
  ASSERT_TRUE(saveUsers(store_, rows).opened);
  EXPECT_FALSE(store_.isSetOpen());
  EXPECT_EQ(readFile(userFile()), fileOf({users[4], users[0]}));

  // More users than before.
  rows.clear();
  for (const UserRecord& user : users) rows.push_back(userRowFromRecord(user));
  ASSERT_TRUE(saveUsers(store_, rows).opened);
  EXPECT_EQ(readFile(userFile()), fileOf(users));
}

TEST_F(UserFileTest, SaveStampsAddedUsersWithTheSaveTime) {
  writeUsers({storedUser("SYSTEM")});
  UserRow added;
  added.userId = "BAKKER";
  added.secret = "Geheim12";
  const std::string before = currentTimestamp();
  ASSERT_TRUE(saveUsers(store_, {added}).opened);
  const std::string after = currentTimestamp();
  std::vector<UserRecord> stored = storedUsers();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_TRUE(stored[0].stamp == before || stored[0].stamp == after) << stored[0].stamp;
  EXPECT_EQ(stored[0].digest, PasswordDigest("Geheim12", stored[0].stamp));
}

// --- placing a new entry -----------------------------------------------------------------

TEST(PlaceNewUser, ChecksTheEntryAndFindsItsPlace) {
  const std::vector<std::string> list = {"ADAMS1", "CARTER", "SYSTEM"};
  struct Case {
    const char* name;
    std::vector<std::string> ids;
    std::string id, password, reentered;
    NewUserCheck check;
    std::size_t position;
  };
  const std::vector<Case> cases = {
      {"between two ids", list, "BAKKER", "secret", "secret", NewUserCheck::Valid, 1},
      {"before all", list, "AAAAAA", "secret", "secret", NewUserCheck::Valid, 0},
      {"after all", list, "ZEBRA1", "secret", "secret", NewUserCheck::Valid, 3},
      {"into an empty list", {}, "BAKKER", "secret", "secret", NewUserCheck::Valid, 0},
      {"ids compare as text",
       {"USER10", "USER9A"},
       "USER1",
       "secret",
       "secret",
       NewUserCheck::Valid,
       0},
      {"a number in an id sorts as text",
       {"USER10", "USER9A"},
       "USER2",
       "secret",
       "secret",
       NewUserCheck::Valid,
       1},
      {"duplicate", list, "CARTER", "secret", "secret", NewUserCheck::Duplicate, 2},
      {"id missing", list, "", "secret", "secret", NewUserCheck::IdMissing, 0},
      {"re-entered password empty", list, "BAKKER", "secret", "", NewUserCheck::PasswordProblem, 1},
      {"both passwords empty", list, "BAKKER", "", "", NewUserCheck::PasswordProblem, 1},
      {"passwords differ", list, "BAKKER", "secret", "Secret", NewUserCheck::PasswordProblem, 1},
      {"password problem outweighs a missing id", list, "", "secret", "other",
       NewUserCheck::PasswordProblem, 0},
      {"duplicate outweighs a password problem", list, "ADAMS1", "", "", NewUserCheck::Duplicate,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewUserPlace place = placeNewUser(c.ids, c.id, c.password, c.reentered);
    EXPECT_EQ(place.check, c.check);
    EXPECT_EQ(place.position, c.position);
  }
}

}  // namespace
}  // namespace tallymoor
