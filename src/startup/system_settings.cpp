#include "startup/system_settings.h"

#include <sys/stat.h>

#include <cerrno>

#include "record-store/system_error.h"

namespace tallymoor {

std::string shownLanguage(const std::string& installationCode, const std::string& storedName) {
  if (installationCode == "DU") return "Deutsch";
  if (installationCode == "GB") return "English";
  if (installationCode == "NL") return "Nederlands";
  return storedName;
}

std::optional<std::string> dueNewsDate(const std::string& newsDate, Date today,
                                       const std::string& tipsAndNews) {
  std::string todayText = DateToText(today);
  if (tipsAndNews != "T" || !(newsDate < todayText) || !IsValidDateText(newsDate))
    return std::nullopt;
  std::chrono::sys_days next{TextToDate(newsDate)};
  while (DateToText(Date{next}) < todayText) next += std::chrono::days{90};
  return DateToText(Date{next});
}

void createDirectoryTree(const std::string& directory) {
  std::string path;
  std::size_t start = 0;
  if (directory.starts_with('/')) {
    path = "/";
    start = 1;
  }
  while (start <= directory.size()) {
    std::size_t slash = directory.find('/', start);
    if (slash == std::string::npos) slash = directory.size();
    std::string part = directory.substr(start, slash - start);
    start = slash + 1;
    if (part.empty() || part == "empty") continue;
    path += part;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
      throw IoError(errorCodeFromErrno(errno, path), path);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
      throw IoError(errorCodeFromErrno(ENOTDIR, path), path);
    path += "/";
  }
}

std::string directoryOfChosenFile(const std::string& fileName) {
  std::size_t slash = fileName.find_last_of('/');
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  if (name == "forceerleeg.vlt") return {};
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

void writeSystemParameters(RecordStore& store, const SystemParametersRecord& record) {
  RecordFile& file = store.file(FileCode::SYS);
  file.rewriteAll({record.encode()});
}

}  // namespace tallymoor
