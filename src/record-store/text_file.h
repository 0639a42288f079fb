#pragma once
// The read-only text channel of the help texts and report templates: read without a lock,
// as a whole, and handed out line by line.

#include <cstddef>
#include <string>
#include <vector>

namespace tallymoor {

class TextFile {
 public:
  // Reads the whole file; returns 0 or an error code (2 when it does not exist).
  int open(const std::string& path);
  void close();
  bool isOpen() const { return open_; }

  const std::string& contents() const { return contents_; }
  bool eof() const { return next_ >= contents_.size(); }
  // The next line without its line end (CR LF, LF or CR).
  std::string readLine();

 private:
  bool open_ = false;
  std::string contents_;
  std::size_t next_ = 0;
};

}  // namespace tallymoor
