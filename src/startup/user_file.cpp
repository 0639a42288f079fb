#include "startup/user_file.h"

#include <charconv>
#include <optional>

#include "record-store/conversions.h"
#include "record-store/password_digest.h"

namespace tallymoor {
namespace {

char rightLetter(bool granted) { return granted ? 'Y' : 'N'; }

std::int32_t storedDigest(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end)
    throw ConversionError("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace

UserCount countUsers(RecordStore& store) {
  UserCount result;
  FileSet set(store, kUserFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.FileErrorText;
    return result;
  }
  result.count = store.file(FileCode::USE).size();
  return result;
}

UserSearch findUser(RecordStore& store, std::string_view userId, UserRecord& buffer) {
  UserSearch result;
  FileSet set(store, kUserFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.FileErrorText;
    return result;
  }
  RecordFile& file = store.file(FileCode::USE);
  for (file.seek(0); !result.found && !file.eof();) {
    buffer = file.readRecord<UserRecord>();
    result.found = buffer.userId == userId;
  }
  return result;
}

bool rewriteUser(RecordStore& store, UserRecord& record, std::string_view lastLogin) {
  record.creator = std::string(lastLogin);
  RecordFile& file = store.file(FileCode::USE);
  for (file.seek(0); !file.eof();) {
    std::size_t position = file.position();
    if (file.readRecord<UserRecord>().userId == record.userId) {
      file.writeAt(position, record.encode());
      return true;
    }
  }
  return false;
}

UserRecord initialUser(const std::string& stamp) {
  UserRecord user;
  user.userId = kSystemUserId;
  user.userName = kSystemUserId;
  user.enduser = user.enduserManager = user.systemAdministrator = 'Y';
  user.memo = kSystemUserMemo;
  user.creator = kSystemUserId;
  user.stamp = stamp;
  user.digest = PasswordDigest(kDefaultPassword, stamp);
  return user;
}

UserFileOutcome ensureInitialUser(RecordStore& store) {
  UserFileOutcome result;
  FileSet set(store, kUserFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.FileErrorText;
    return result;
  }
  RecordFile& file = store.file(FileCode::USE);
  if (file.size() == 0) file.rewriteAll({initialUser(currentTimestamp().substr(0, 20)).encode()});
  return result;
}

UserRow userRowFromRecord(const UserRecord& record) {
  UserRow row;
  row.userId = record.userId;
  row.userName = record.userName;
  row.rights = {record.enduser == 'Y', record.enduserManager == 'Y',
                record.systemAdministrator == 'Y'};
  row.memo = record.memo;
  row.creator = record.creator;
  row.stamp = record.stamp;
  row.secret = std::to_string(record.digest);
  return row;
}

std::vector<UserRecord> userRecordsFromRows(const std::vector<UserRow>& rows,
                                            std::string_view now) {
  const std::string newStamp(now.substr(0, 20));
  std::vector<UserRecord> records;
  records.reserve(rows.size());
  for (const UserRow& row : rows) {
    UserRecord& user = records.emplace_back();
    user.userId = row.userId;
    user.userName = row.userName;
    user.enduser = rightLetter(row.rights[0]);
    user.enduserManager = rightLetter(row.rights[1]);
    user.systemAdministrator = rightLetter(row.rights[2]);
    user.memo = row.memo;
    user.creator = row.creator;
    if (!row.stamp.empty()) {
      user.stamp = row.stamp;
      user.digest = storedDigest(row.secret);
    } else {
      user.stamp = newStamp;
      user.digest = PasswordDigest(row.secret, newStamp);
    }
  }
  return records;
}

UserList loadUsers(RecordStore& store) {
  UserList result;
  // The main menu opens the set before it shows the form; the load takes it over.
  std::optional<FileSet> set;
  if (store.isSetOpen())
    set.emplace(store, FileSet::Adopt{});
  else
    set.emplace(store, kUserFileSet);
  if (!set->ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  RecordFile& file = store.file(FileCode::USE);
  std::vector<Bytes> records = file.readAll();
  result.rows.reserve(records.size());
  for (const Bytes& bytes : records)
    result.rows.push_back(userRowFromRecord(UserRecord::decode(bytes)));
  return result;
}

UserFileOutcome saveUsers(RecordStore& store, const std::vector<UserRow>& rows) {
  std::vector<Bytes> records;
  records.reserve(rows.size());
  for (const UserRecord& user : userRecordsFromRows(rows, currentTimestamp()))
    records.push_back(user.encode());

  UserFileOutcome result;
  FileSet set(store, kUserFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  store.file(FileCode::USE).rewriteAll(records);
  return result;
}

NewUserPlace placeNewUser(const std::vector<std::string>& ids, std::string_view userId,
                          std::string_view password, std::string_view reentered) {
  NewUserPlace place;
  if (!userId.empty()) place.check = NewUserCheck::Valid;
  if (reentered.empty() || reentered != password) place.check = NewUserCheck::PasswordProblem;
  place.position = ids.size();
  bool placed = false;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == userId) place.check = NewUserCheck::Duplicate;
    if (!placed && std::string_view(ids[i]) > userId) {
      place.position = i;
      placed = true;
    }
  }
  return place;
}

}  // namespace tallymoor
