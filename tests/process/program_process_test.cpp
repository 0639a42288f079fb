// The bookkeeping program as a whole process, shown on a virtual X display and handled
// with real mouse events: what happens between the program and its start directory.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using namespace std::chrono_literals;
using testing::TempDirectory;

const std::string kBrookfell = std::string(TALLYMOOR_BINARY_DIR) + "/bin/brookfell";
const std::string kRavelin = std::string(TALLYMOOR_BINARY_DIR) + "/bin/Ravelin";

bool onPath(const char* program) {
  std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string commandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ::pclose(pipe);
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  return output;
}

// A virtual X display for the length of one test.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 2);
      std::string fd = std::to_string(fds[1]);
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-ac", "-screen", "0", "1024x768x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    char buffer[16] = {};
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, 30000) > 0 && ::read(fds[0], buffer, sizeof buffer - 1) > 0)
      display_ = ":" + std::to_string(std::atoi(buffer));
    ::close(fds[0]);
    // The number is told as the server starts; wait until it takes connections.
    for (int i = 0; i < 600 && !display_.empty(); ++i) {
      if (std::system(
              ("DISPLAY=" + display_ + " xdotool getdisplaygeometry >/dev/null 2>&1").c_str()) == 0)
        return;
      std::this_thread::sleep_for(50ms);
    }
    display_.clear();
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& name() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program started in `directory` on `display`, as the unprivileged user when asked;
// its standard error is kept.
class ProgramProcess {
 public:
  ProgramProcess(const std::string& directory, const std::string& display, bool unprivileged,
                 const std::string& program = kBrookfell) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      ::dup2(fds[1], 2);
      if (::chdir(directory.c_str()) != 0) ::_exit(126);
      if (unprivileged && ::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        ::_exit(126);
      ::setenv("QT_QPA_PLATFORM", "xcb", 1);
      ::setenv("DISPLAY", display.c_str(), 1);
      ::setenv("HOME", directory.c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    stderr_ = fds[0];
    ::fcntl(stderr_, F_SETFL, O_NONBLOCK);
  }
  ~ProgramProcess() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stderr_ >= 0) ::close(stderr_);
  }

  // Standard error so far.
  const std::string& errorOutput() {
    char buffer[512];
    ssize_t n;
    while ((n = ::read(stderr_, buffer, sizeof buffer)) > 0) errors_.append(buffer, n);
    return errors_;
  }
  // The exit code once the process ended within `timeout`; none otherwise.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(50ms);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  int stderr_ = -1;
  bool exited_ = false;
  std::string errors_;
};

// The id of the visible window with exactly this title, waiting for it up to ten seconds.
std::string findWindow(const std::string& display, const std::string& title) {
  auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    std::string id =
        commandOutput("DISPLAY=" + display + " xdotool search --onlyvisible --name '^" + title +
                      "$' 2>/dev/null | head -n 1");
    if (!id.empty()) return id;
    std::this_thread::sleep_for(100ms);
  }
  return {};
}

class BrookfellProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!onPath("Xvfb") || !onPath("xdotool")) GTEST_SKIP() << "needs Xvfb and xdotool";
    display_ = &sharedDisplay();
    ASSERT_FALSE(display_->name().empty()) << "the virtual display did not start";
  }
  // One display serves every test of the program; it ends with the program.
  static VirtualDisplay& sharedDisplay() {
    static VirtualDisplay display;
    return display;
  }
  VirtualDisplay* display_ = nullptr;
};

TEST_F(BrookfellProcessTest, AReadOnlyUserFileEndsTheProgramAfterTheStartupError) {
  TempDirectory start;
  testing::writeFile(start / "user.vlt", "");
  ::chmod((start / "user.vlt").c_str(), 0444);

  ProgramProcess brookfell(start.path(), display_->name(), /*unprivileged=*/true);
  std::string window = findWindow(display_->name(), "Startup error");
  ASSERT_FALSE(window.empty()) << brookfell.errorOutput();
  EXPECT_NE(brookfell.errorOutput().find("IO errorcode: USE5"), std::string::npos)
      << brookfell.errorOutput();
  EXPECT_FALSE(brookfell.waitForExit(300ms)) << "it waits for the user";

  // A click anywhere on the form closes it, and with it the program.
  commandOutput("DISPLAY=" + display_->name() + " xdotool mousemove --window " + window +
                " 20 20 click 1");
  EXPECT_EQ(brookfell.waitForExit(10s), 1);
}

TEST_F(BrookfellProcessTest, AnEmptyStartDirectoryGetsItsFilesAndTheMainWindow) {
  TempDirectory start;
  ProgramProcess brookfell(start.path(), display_->name(), /*unprivileged=*/false);
  ASSERT_FALSE(findWindow(display_->name(), "Tallymoor Lite 2.0.4 : Menu ").empty())
      << brookfell.errorOutput();
  for (const char* name :
       {"sysparm010000.vlt", "user.vlt", "vlt010005.lan", "ins.vlt", "data/admin.vlt"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(std::filesystem::exists(start / name));
  }
  EXPECT_FALSE(brookfell.waitForExit(200ms)) << brookfell.errorOutput();
}

TEST_F(BrookfellProcessTest, RavelinOpensTheEnglishHelpAndEndsOnEsc) {
  TempDirectory start;
  for (const char* name : {"helpenglish.rtf", "helpNederlands.rtf", "helpDeutsch.rtf"})
    std::filesystem::copy_file(std::string(TALLYMOOR_SOURCE_DIR) + "/src/help/texts/" + name,
                               start / name);
  ProgramProcess ravelin(start.path(), display_->name(), /*unprivileged=*/false, kRavelin);
  std::string window = findWindow(display_->name(), " Tallymoor : Help");
  ASSERT_FALSE(window.empty()) << ravelin.errorOutput();
  EXPECT_FALSE(ravelin.waitForExit(300ms));
  commandOutput("DISPLAY=" + display_->name() + " xdotool windowfocus --sync " + window +
                " key Escape");
  EXPECT_EQ(ravelin.waitForExit(10s), 0) << ravelin.errorOutput();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(start.path()),
                          std::filesystem::directory_iterator()),
            3)
      << "it writes no file";
}

}  // namespace
}  // namespace tallymoor
