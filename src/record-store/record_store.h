#pragma once
// The open protocol of the data files: an operation names the files it needs as an open
// set ("GLA;GLC"), opens them together, reads and writes their channels and closes them
// again. An open while a set is open only counts a nesting level. Each opened record file
// is locked exclusively, so another copy of the program waits (up to 50 attempts, 100 ms
// apart) instead of interleaving its writes.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "record-store/file_registry.h"
#include "record-store/record_file.h"
#include "record-store/text_file.h"

namespace tallymoor {

class RecordStore {
 public:
  // Result codes of OpenFileSet.
  static constexpr int kOk = 0;
  static constexpr int kError = 1;
  static constexpr int kInUse = 2;
  static constexpr int kAttempts = 50;
  static constexpr int kAttemptPauseMs = 100;

  // `startDirectory` is absolute, without a trailing '/'. The base data directory starts
  // as startDirectory + "/data/".
  explicit RecordStore(std::string startDirectory);

  // Opens every file the set names (any single character separates the codes). 0: all
  // open, or a set was open already (nesting); 1: a file could not be opened; 2: files
  // stayed in use. On 1 and 2 nothing is open and FileErrorText tells why.
  int OpenFileSet(std::string_view set);
  // Lowers the nesting level, or closes the open set; nothing when no set is open.
  void CloseFileSet();
  // Closes whatever is open at any nesting level: the last resort after an action ended
  // by an exception, so that no later open turns into a nested one.
  void closeEverything();

  bool isSetOpen() const { return setOpen_; }
  int nestingDepth() const { return depth_; }
  bool isOpen(FileCode code) const { return state_[index(code)] == kStateOpen; }
  // The channel of an open record file; an IoError when it is not open.
  RecordFile& file(FileCode code);
  // The channel of HEN or RAP.
  TextFile& textFile();

  // FileErrorText, two blanks and the system's text for FileErrorCode: the message that
  // callers show after a failed open.
  std::string openFailureMessage() const;

  std::string FileErrorText;
  int FileErrorCode = 0;
  // The file name of HEN and RAP, set before the open.
  std::string TextFileName;

  const std::string& startDirectory() const { return startDirectory_; }
  // With a trailing '/'.
  std::string baseDataDirectory;
  // At most 100 characters, with a trailing '/'; mirrors the in-memory system parameters.
  std::string administrationDirectory;

  // The path of a record file as the open protocol builds it.
  std::string pathOf(FileCode code) const;

 private:
  static constexpr int kStateNone = 0;
  static constexpr int kStateRequested = 1;
  static constexpr int kStateOpen = 2;
  static std::size_t index(FileCode code) { return static_cast<std::size_t>(code); }

  void parseSet(std::string_view set);
  // Opens one requested file; 0 or the error code, with FileErrorText set on failure.
  int openOne(FileCode code);
  int openRecordFile(FileCode code);
  int openSystemParameters();
  int openAdministrationList();
  int openHelpText();
  int openReportTemplate();
  void closeFilesOfSet();
  std::string inStartDirectory(std::string_view name) const;

  std::string startDirectory_;
  bool setOpen_ = false;
  int depth_ = 0;
  std::array<int, kFileCodeCount> state_{};
  std::array<RecordFile, kFileCodeCount> files_;
  TextFile text_;
};

// The record store of this process.
RecordStore& recordStore();
// Replaces the record store of this process by a fresh one for `startDirectory` (program
// start, and each test's own start directory).
RecordStore& resetRecordStore(const std::string& startDirectory);

// Opens a set for one action and closes it when the action ends, however it ends.
class FileSet {
 public:
  FileSet(RecordStore& store, std::string_view set)
      : store_(store), result_(store.OpenFileSet(set)) {}
  // Takes over a set that was opened by someone else (a set handed over to a form).
  struct Adopt {};
  FileSet(RecordStore& store, Adopt) : store_(store), result_(store.isSetOpen() ? 0 : 1) {}
  ~FileSet() {
    try {
      close();
    } catch (...) {
      // A failing close while an action unwinds: the action's own error is the one to show.
    }
  }
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;

  bool ok() const { return result_ == RecordStore::kOk; }
  int result() const { return result_; }
  void close() {
    if (ok() && !closed_) {
      closed_ = true;
      store_.CloseFileSet();
    }
  }

 private:
  RecordStore& store_;
  int result_;
  bool closed_ = false;
};

}  // namespace tallymoor
