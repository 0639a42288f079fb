#pragma once
// A file channel of fixed-size records: whole records move through a read-ahead buffer,
// many records through one block read or write. Any failure after the open is an IoError.

#include <cstddef>
#include <string>
#include <vector>

#include "records/byte_codec.h"

namespace tallymoor {

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  // Opens an existing file for reading and writing and takes the exclusive advisory lock.
  // Returns 0 or an error code (2 when the file does not exist, 32 when another process
  // holds the lock); the channel is closed unless 0 is returned.
  int open(const std::string& path, std::size_t recordSize);
  // Creates the file empty when missing and opens it as above; a failure is an IoError.
  void create(const std::string& path, std::size_t recordSize);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  std::size_t recordSize() const { return recordSize_; }

  // Number of whole records; a partial tail is never a record.
  std::size_t size() const { return records_; }
  std::size_t position() const { return position_; }
  bool eof() const { return position_ >= records_; }
  void seek(std::size_t record);
  // Reads the record at the position and moves on; past the end is an IoError.
  Bytes read();
  // Writes the record at the position (extending the file at its end) and moves on.
  void write(const Bytes& record);
  // Cuts the file after the records before the position.
  void truncate();

  Bytes readAt(std::size_t record) {
    seek(record);
    return read();
  }
  void writeAt(std::size_t record, const Bytes& bytes) {
    seek(record);
    write(bytes);
  }
  // Every record from the first, in one block read.
  std::vector<Bytes> readAll();
  // Replaces the whole file by these records in one block write, then cuts it after them.
  void rewriteAll(const std::vector<Bytes>& records);
  // Forces written data to the disk.
  void sync();

  template <typename Record>
  Record readRecord() {
    return Record::decode(read());
  }

 private:
  void fail(int error) const;
  void fillBuffer(std::size_t record);
  void writeBlock(std::size_t firstRecord, const std::uint8_t* data, std::size_t bytes);

  int fd_ = -1;
  std::string path_;
  std::size_t recordSize_ = 0;
  std::size_t records_ = 0;
  std::size_t position_ = 0;
  // Read-ahead: records [bufferFirst_, bufferFirst_ + bufferCount_) as they are on disk.
  std::vector<std::uint8_t> buffer_;
  std::size_t bufferFirst_ = 0;
  std::size_t bufferCount_ = 0;
};

}  // namespace tallymoor
