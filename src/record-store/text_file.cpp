#include "record-store/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "record-store/system_error.h"

namespace tallymoor {

int TextFile::open(const std::string& path) {
  close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errorCodeFromErrno(errno, path);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return errorCodeFromErrno(EISDIR, path);
  }
  std::string contents;
  char block[64 * 1024];
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      throw IoError(errorCodeFromErrno(error, path), path);
    }
    if (n == 0) break;
    contents.append(block, static_cast<std::size_t>(n));
  }
  ::close(fd);
  contents_ = std::move(contents);
  next_ = 0;
  open_ = true;
  return 0;
}

void TextFile::close() {
  open_ = false;
  contents_.clear();
  next_ = 0;
}

std::string TextFile::readLine() {
  std::size_t end = contents_.find_first_of("\r\n", next_);
  if (end == std::string::npos) end = contents_.size();
  std::string line = contents_.substr(next_, end - next_);
  next_ = end;
  if (next_ < contents_.size() && contents_[next_] == '\r') ++next_;
  if (next_ < contents_.size() && contents_[next_] == '\n') ++next_;
  return line;
}

}  // namespace tallymoor
