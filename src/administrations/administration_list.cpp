#include "administrations/administration_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "record-store/system_error.h"

namespace tallymoor {
namespace {

std::string cut(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, length));
}

// The base data directory exists already once "ADM" is open; it is made again only when
// something removed it meanwhile.
void ensureBaseDataDirectory(const std::string& base) {
  std::error_code error;
  std::filesystem::create_directories(base, error);
  if (error) throw IoError(errorCodeFromErrno(error.value(), base), base);
}

// Makes the one directory `code` below `base`; an existing directory stays as it is.
void ensureAdministrationDirectory(const std::string& base, const std::string& code) {
  const std::string path = base + code;
  if (::mkdir(path.c_str(), 0777) == 0) return;
  const int error = errno;
  std::error_code ignored;
  if (error == EEXIST && std::filesystem::is_directory(path, ignored)) return;
  throw IoError(errorCodeFromErrno(error, path), path);
}

}  // namespace

AdministrationRow administrationRowFromRecord(const AdministrationRecord& record) {
  return {record.code, record.name, record.memo, record.creator, record.creationStamp};
}

AdministrationList loadAdministrations(RecordStore& store) {
  AdministrationList result;
  FileSet set(store, kAdministrationFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  std::vector<Bytes> records = store.file(FileCode::ADM).readAll();
  result.rows.reserve(records.size());
  for (const Bytes& bytes : records)
    result.rows.push_back(administrationRowFromRecord(AdministrationRecord::decode(bytes)));
  return result;
}

std::string storedAdministrationCode(std::string_view typed) {
  return cut(typed, kAdministrationCodeLength);
}

bool isUsableDirectoryName(std::string_view code) {
  return !code.empty() && code != "." && code != ".." &&
         code.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string unusableCodeMessage(std::string_view code) {
  std::string shown(code);
  std::replace(shown.begin(), shown.end(), '\0', '?');
  return "The short name \"" + shown +
         "\" cannot be the name of the administration's directory: it must not be empty, "
         "\".\" or \"..\", nor contain \"/\" or a NUL character.";
}

NewAdministrationCheck checkNewAdministration(const std::vector<std::string>& codes,
                                              std::string_view typed) {
  const std::string code = storedAdministrationCode(typed);
  if (code.empty()) return NewAdministrationCheck::CodeMissing;
  if (!isUsableDirectoryName(code)) return NewAdministrationCheck::UnusableCode;
  if (std::find(codes.begin(), codes.end(), code) != codes.end())
    return NewAdministrationCheck::Duplicate;
  return NewAdministrationCheck::Valid;
}

AdministrationSave saveAdministrations(RecordStore& store,
                                       const std::vector<AdministrationRow>& rows,
                                       std::string_view creator, std::string_view now) {
  AdministrationSave result;
  result.rows.reserve(rows.size());
  bool anyNew = false;
  for (const AdministrationRow& row : rows) {
    AdministrationRow& saved = result.rows.emplace_back();
    saved.code = storedAdministrationCode(row.code);
    saved.name = cut(row.name, kAdministrationNameLength);
    saved.memo = cut(row.memo, kAdministrationMemoLength);
    if (!row.creator.empty()) {
      saved.creator = row.creator;
      saved.creationStamp = row.creationStamp;
      continue;
    }
    // A new entry: its code is about to become a directory name.
    if (!isUsableDirectoryName(saved.code)) {
      result.refused = true;
      result.message = unusableCodeMessage(saved.code);
      result.rows.clear();
      return result;
    }
    saved.creator = cut(creator, kAdministrationCreatorLength);
    saved.creationStamp = cut(now, kAdministrationStampLength);
    anyNew = true;
  }

  FileSet set(store, kAdministrationFileSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    result.rows.clear();
    return result;
  }
  // Every directory first: a failure ends the save before the file is touched.
  if (anyNew) ensureBaseDataDirectory(store.baseDataDirectory);
  std::vector<Bytes> records;
  records.reserve(result.rows.size());
  for (std::size_t i = 0; i < result.rows.size(); ++i) {
    const AdministrationRow& saved = result.rows[i];
    if (rows[i].creator.empty()) ensureAdministrationDirectory(store.baseDataDirectory, saved.code);
    records.push_back(
        AdministrationRecord{saved.code, saved.name, saved.memo, saved.creator, saved.creationStamp}
            .encode());
  }
  store.file(FileCode::ADM).rewriteAll(records);
  return result;
}

}  // namespace tallymoor
