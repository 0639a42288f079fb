#include "record-store/record_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "record-store/system_error.h"

namespace tallymoor {
namespace {
// Read-ahead block size: enough records for a typical list in one system call.
constexpr std::size_t kReadAheadBytes = 64 * 1024;

int lockExclusive(int fd) {
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}
}  // namespace

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

int RecordFile::open(const std::string& path, std::size_t recordSize) {
  close();
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return errorCodeFromErrno(errno, path);
  if (int error = lockExclusive(fd)) {
    ::close(fd);
    return errorCodeFromErrno(error, path);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int error = errno;
    ::close(fd);
    return errorCodeFromErrno(error, path);
  }
  fd_ = fd;
  path_ = path;
  recordSize_ = recordSize;
  records_ = static_cast<std::size_t>(st.st_size) / recordSize;
  position_ = 0;
  bufferCount_ = 0;
  return 0;
}

void RecordFile::create(const std::string& path, std::size_t recordSize) {
  // O_CREAT without O_TRUNC: a file that another process created meanwhile stays whole.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) throw IoError(errorCodeFromErrno(errno, path), path);
  ::close(fd);
  if (int code = open(path, recordSize)) throw IoError(code, path);
}

void RecordFile::close() {
  if (fd_ < 0) return;
  int fd = fd_;
  fd_ = -1;
  bufferCount_ = 0;
  // Closing releases the lock.
  if (::close(fd) != 0 && errno != EINTR) fail(errno);
}

void RecordFile::fail(int error) const { throw IoError(errorCodeFromErrno(error, path_), path_); }

void RecordFile::seek(std::size_t record) {
  if (fd_ < 0) fail(EBADF);
  position_ = record;
}

void RecordFile::fillBuffer(std::size_t record) {
  std::size_t perBlock = std::max<std::size_t>(1, kReadAheadBytes / recordSize_);
  std::size_t count = std::min(perBlock, records_ - record);
  buffer_.resize(count * recordSize_);
  std::size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::pread(fd_, buffer_.data() + done, buffer_.size() - done,
                        static_cast<off_t>(record * recordSize_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      bufferCount_ = 0;
      fail(errno);
    }
    if (n == 0) break;  // the file shrank under us: keep what was read
    done += static_cast<std::size_t>(n);
  }
  bufferFirst_ = record;
  bufferCount_ = done / recordSize_;
  if (bufferCount_ == 0) fail(EIO);
}

Bytes RecordFile::read() {
  if (fd_ < 0) fail(EBADF);
  if (position_ >= records_)
    throw IoError(kOtherErrorBase + EIO, path_ + " (read beyond end of file)");
  if (position_ < bufferFirst_ || position_ >= bufferFirst_ + bufferCount_) fillBuffer(position_);
  auto begin =
      buffer_.begin() + static_cast<std::ptrdiff_t>((position_ - bufferFirst_) * recordSize_);
  Bytes record(begin, begin + static_cast<std::ptrdiff_t>(recordSize_));
  ++position_;
  return record;
}

void RecordFile::writeBlock(std::size_t firstRecord, const std::uint8_t* data, std::size_t bytes) {
  bufferCount_ = 0;
  std::size_t done = 0;
  while (done < bytes) {
    ssize_t n = ::pwrite(fd_, data + done, bytes - done,
                         static_cast<off_t>(firstRecord * recordSize_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(errno);
    done += static_cast<std::size_t>(n);
  }
}

void RecordFile::write(const Bytes& record) {
  if (fd_ < 0) fail(EBADF);
  if (record.size() != recordSize_) fail(EINVAL);
  writeBlock(position_, record.data(), record.size());
  ++position_;
  records_ = std::max(records_, position_);
}

void RecordFile::truncate() {
  if (fd_ < 0) fail(EBADF);
  bufferCount_ = 0;
  std::size_t keep = std::min(position_, records_);
  while (::ftruncate(fd_, static_cast<off_t>(keep * recordSize_)) != 0) {
    if (errno != EINTR) fail(errno);
  }
  records_ = keep;
}

std::vector<Bytes> RecordFile::readAll() {
  if (fd_ < 0) fail(EBADF);
  std::vector<Bytes> result;
  result.reserve(records_);
  for (seek(0); !eof();) result.push_back(read());
  return result;
}

void RecordFile::rewriteAll(const std::vector<Bytes>& records) {
  if (fd_ < 0) fail(EBADF);
  std::vector<std::uint8_t> block;
  block.reserve(records.size() * recordSize_);
  for (const auto& record : records) {
    if (record.size() != recordSize_) fail(EINVAL);
    block.insert(block.end(), record.begin(), record.end());
  }
  writeBlock(0, block.data(), block.size());
  records_ = std::max(records_, records.size());
  position_ = records.size();
  truncate();
}

void RecordFile::sync() {
  if (fd_ >= 0 && ::fsync(fd_) != 0) fail(errno);
}

}  // namespace tallymoor
