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

// A virtual X display. Display numbers are tried from one that depends on the process, so
// that test programs running side by side do not race for the same number.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int first = 100 + static_cast<int>(::getpid() % 500);
    for (int number = first; number < first + 20 && display_.empty(); ++number) {
      if (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) continue;
      if (start(number)) display_ = ":" + std::to_string(number);
    }
  }
  ~VirtualDisplay() { stop(); }
  const std::string& name() const { return display_; }

 private:
  // Starts a server on `number` and waits until it takes connections.
  bool start(int number) {
    std::string name = ":" + std::to_string(number);
    pid_ = ::fork();
    if (pid_ == 0) {
      int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
      ::execlp("Xvfb", "Xvfb", name.c_str(), "-ac", "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 200; ++i) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;  // it ended: the number is taken
        return false;
      }
      if (std::system(
              ("DISPLAY=" + name + " xdotool getdisplaygeometry >/dev/null 2>&1").c_str()) == 0)
        return true;
      std::this_thread::sleep_for(50ms);
    }
    stop();
    return false;
  }
  void stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }

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

  // A click anywhere on the form closes it, and with it the program. A window that is
  // not yet taking input misses a click, so one more is sent after a while.
  std::optional<int> exitCode;
  for (int attempt = 0; attempt < 5 && !exitCode; ++attempt) {
    commandOutput("DISPLAY=" + display_->name() + " xdotool mousemove --window " + window +
                  " 20 20 click 1");
    exitCode = brookfell.waitForExit(2s);
  }
  EXPECT_EQ(exitCode, 1);
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
  std::optional<int> exitCode;
  for (int attempt = 0; attempt < 5 && !exitCode; ++attempt) {
    commandOutput("DISPLAY=" + display_->name() + " xdotool windowfocus --sync " + window +
                  " key Escape");
    exitCode = ravelin.waitForExit(2s);
  }
  EXPECT_EQ(exitCode, 0) << ravelin.errorOutput();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(start.path()),
                          std::filesystem::directory_iterator()),
            3)
      << "it writes no file";
}

}  // namespace
}  // namespace tallymoor
