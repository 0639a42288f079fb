#pragma once
// The error codes that the record store and its callers rely on, mapped from errno:
// 2 file not found, 3 path not found, 5 access denied, 32 in use by another program.
// Any other errno keeps a distinct code of its own.

#include <stdexcept>
#include <string>

namespace tallymoor {

inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
// Codes of other errno values: this base plus the errno.
inline constexpr int kOtherErrorBase = 1000;

// The code for an errno raised while working on `path` (ENOENT becomes 3 when the
// directory of `path` is missing, 2 otherwise).
int errorCodeFromErrno(int error, const std::string& path);
// The system's description of a code made by errorCodeFromErrno.
std::string systemErrorText(int code);

// A read, write, seek, size query or close that failed after a successful open, or a
// missing file that could not be created. It ends the current user action.
class IoError : public std::runtime_error {
 public:
  IoError(int code, const std::string& path);
  int code() const { return code_; }

 private:
  int code_;
};

}  // namespace tallymoor
