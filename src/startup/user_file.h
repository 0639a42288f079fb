#pragma once
// The users of the installation in "user.vlt": the look-ups that the login and the
// change-password panel use, the first user of a new installation, and the user list that
// the maintenance form loads and writes back in one go.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record-store/record_store.h"
#include "records/user_record.h"

namespace tallymoor {

inline constexpr const char* kUserFileSet = "USE";
inline constexpr const char* kSystemUserId = "SYSTEM";
inline constexpr const char* kDefaultPassword = "plover";
inline constexpr const char* kSystemUserMemo =
    "Change password, write on paper, and keep it in an closed envelope a save place. Change "
    "this memo text.";

// How a routine that opens its own set ended. When the open failed, `message` holds what
// the caller shows and nothing was read or written.
struct UserFileOutcome {
  bool opened = true;
  std::string message;
};

struct UserCount : UserFileOutcome {
  std::size_t count = 0;  // 0 after a failed open
};

struct UserSearch : UserFileOutcome {
  bool found = false;
};

// The number of users; opens and closes "USE". A failed open gives FileErrorText.
[[nodiscard]] UserCount countUsers(RecordStore& store);

// Reads the users from the first on into `buffer` until one whose id equals `userId`
// exactly; opens and closes "USE". After a miss `buffer` holds the last user read (it is
// untouched when the file is empty). A failed open gives FileErrorText.
[[nodiscard]] UserSearch findUser(RecordStore& store, std::string_view userId, UserRecord& buffer);

// Overwrites the stored user with the id of `record` in place, after setting its creator
// to `lastLogin`; false when no user has that id. Works in the caller's open set.
bool rewriteUser(RecordStore& store, UserRecord& record, std::string_view lastLogin);

// The first user of a new installation, with the default password digested with `stamp`.
UserRecord initialUser(const std::string& stamp);

// Writes the first user into an empty user file (opens "USE", nested inside an open set);
// leaves a file with users alone. A failed open gives FileErrorText.
[[nodiscard]] UserFileOutcome ensureInitialUser(RecordStore& store);

// One line of the maintenance list: a stored user, or one added since the list was loaded.
struct UserRow {
  std::string userId;
  std::string userName;
  std::array<bool, 3> rights{};  // enduser, enduser manager, system administrator
  std::string memo;
  std::string creator;
  // Empty for a user added since the load: then `secret` is the new password, otherwise it
  // is the stored digest as decimal text.
  std::string stamp;
  std::string secret;
};

UserRow userRowFromRecord(const UserRecord& record);

// The records that the list stands for, in list order. A user without a stamp gets `now`
// (cut to 20 characters) and the digest of its new password with it; the others keep
// their stamp and stored digest. Throws ConversionError when a stored digest is no number.
std::vector<UserRecord> userRecordsFromRows(const std::vector<UserRow>& rows, std::string_view now);

struct UserList : UserFileOutcome {
  std::vector<UserRow> rows;
};

// Reads every user. A set handed over by the caller (already open) is taken over and
// closed; without one, "USE" is opened and closed here. A failed open gives FileErrorText,
// two blanks and the system's text.
[[nodiscard]] UserList loadUsers(RecordStore& store);

// Replaces the user file by the list (opens and closes "USE"); the new contents are
// written before the file is cut, so a failed write never leaves it empty. A failed open
// gives FileErrorText, two blanks and the system's text, and writes nothing.
[[nodiscard]] UserFileOutcome saveUsers(RecordStore& store, const std::vector<UserRow>& rows);

// What adding an entry to the list comes to; a duplicate id outweighs every other finding.
enum class NewUserCheck { Valid, IdMissing, PasswordProblem, Duplicate };

struct NewUserPlace {
  NewUserCheck check = NewUserCheck::IdMissing;
  // Where the entry goes: before the first id that sorts after it, or at the end.
  std::size_t position = 0;
};

// Checks an entry against the list's ids (in list order) and finds its place.
NewUserPlace placeNewUser(const std::vector<std::string>& ids, std::string_view userId,
                          std::string_view password, std::string_view reentered);

}  // namespace tallymoor
