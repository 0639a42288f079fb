#include "record-store/system_error.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tallymoor {
namespace {

bool parentDirectoryExists(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;  // relative to the working directory
  std::string parent = slash == 0 ? "/" : path.substr(0, slash);
  struct stat st {};
  return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int errorCodeFromErrno(int error, const std::string& path) {
  switch (error) {
    case 0:
      return 0;
    case ENOENT:
      return parentDirectoryExists(path) ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kAccessDenied;
    case EWOULDBLOCK:
      return kSharingViolation;
    default:
      return kOtherErrorBase + error;
  }
}

std::string systemErrorText(int code) {
  switch (code) {
    case kFileNotFound:
    case kPathNotFound:
      return std::strerror(ENOENT);
    case kAccessDenied:
      return std::strerror(EACCES);
    case kSharingViolation:
      return "The file is in use by another program";
    default:
      if (code > kOtherErrorBase) return std::strerror(code - kOtherErrorBase);
      return std::strerror(code);
  }
}

IoError::IoError(int code, const std::string& path)
    : std::runtime_error(systemErrorText(code) + (path.empty() ? "" : ": " + path)), code_(code) {}

}  // namespace tallymoor
