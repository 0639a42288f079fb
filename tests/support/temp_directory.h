#pragma once
// A fresh directory for one test, removed with everything in it afterwards. Open to every
// user, so that a test may act as an unprivileged user inside it.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tallymoor::testing {

class TempDirectory {
 public:
  TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tallymoor-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    ::chmod(path_.c_str(), 0777);
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void writeFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

// While it lives, the process acts as the unprivileged user "nobody" when it runs as root,
// so that file permissions apply to it as they do to a normal user.
class AsUnprivilegedUser {
 public:
  AsUnprivilegedUser() : wasRoot_(::geteuid() == 0) {
    if (wasRoot_ && ::seteuid(65534) != 0) throw std::runtime_error("seteuid failed");
  }
  ~AsUnprivilegedUser() {
    if (wasRoot_) (void)::seteuid(0);
  }

 private:
  bool wasRoot_;
};

}  // namespace tallymoor::testing
