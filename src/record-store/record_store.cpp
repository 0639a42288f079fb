#include "record-store/record_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <exception>
#include <memory>
#include <thread>

#include "record-store/system_error.h"
#include "records/byte_codec.h"

namespace tallymoor {
namespace {

constexpr std::size_t kDirectoryFieldOffset = 669;
constexpr std::size_t kDirectoryCapacity = 100;

// Creates every missing directory of `path` (which ends with '/').
void makeDirectories(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return;  // the open reports it
  }
}

}  // namespace

RecordStore::RecordStore(std::string startDirectory) : startDirectory_(std::move(startDirectory)) {
  baseDataDirectory = startDirectory_ + "/data/";
  administrationDirectory = baseDataDirectory;
}

std::string RecordStore::inStartDirectory(std::string_view name) const {
  return startDirectory_ + "/" + std::string(name);
}

std::string RecordStore::pathOf(FileCode code) const {
  const FileSpec& spec = fileSpec(code);
  switch (spec.directory) {
    case FileDirectory::Start:
      return inStartDirectory(spec.fileName);
    case FileDirectory::BaseData:
      return baseDataDirectory + std::string(spec.fileName);
    case FileDirectory::Administration:
      return administrationDirectory + std::string(spec.fileName);
    case FileDirectory::CallerNamed:
      break;
  }
  return TextFileName;
}

void RecordStore::parseSet(std::string_view set) {
  // The first code is always taken; then 3 characters of code and one separator at a time.
  do {
    if (auto code = fileCodeFromText(set.substr(0, 3))) state_[index(*code)] = kStateRequested;
    set.remove_prefix(std::min<std::size_t>(4, set.size()));
  } while (set.size() > 2);
}

int RecordStore::OpenFileSet(std::string_view set) {
  if (setOpen_) {
    ++depth_;
    return kOk;
  }
  depth_ = 0;
  FileErrorText.clear();
  FileErrorCode = 0;
  setOpen_ = true;
  state_.fill(kStateNone);
  parseSet(set);

  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (attempt > 1) std::this_thread::sleep_for(std::chrono::milliseconds(kAttemptPauseMs));
    bool inUse = false;
    for (std::size_t i = 0; i < kFileCodeCount && !inUse; ++i) {
      if (state_[i] != kStateRequested) continue;
      int code;
      try {
        code = openOne(static_cast<FileCode>(i));
      } catch (...) {
        // A missing file that could not be created: nothing of the set stays open.
        closeFilesOfSet();
        throw;
      }
      if (code == 0) {
        state_[i] = kStateOpen;
      } else if (code == kSharingViolation) {
        inUse = true;
      } else {
        closeFilesOfSet();
        return kError;
      }
    }
    if (!inUse) {
      FileErrorCode = 0;
      return kOk;
    }
    closeFilesOfSet();
    setOpen_ = true;
    for (auto& state : state_)
      if (state == kStateOpen) state = kStateRequested;
  }
  closeFilesOfSet();
  FileErrorText = "File(s) in use, try again";
  FileErrorCode = kSharingViolation;
  return kInUse;
}

int RecordStore::openOne(FileCode code) {
  switch (code) {
    case FileCode::SYS:
      return openSystemParameters();
    case FileCode::ADM:
      return openAdministrationList();
    case FileCode::HEN:
      return openHelpText();
    case FileCode::RAP:
      return openReportTemplate();
    default:
      return openRecordFile(code);
  }
}

int RecordStore::openRecordFile(FileCode code) {
  const FileSpec& spec = fileSpec(code);
  std::string path = pathOf(code);
  RecordFile& file = files_[index(code)];
  int error = file.open(path, spec.recordSize);
  FileErrorCode = error;
  if (error == kFileNotFound) {
    file.create(path, spec.recordSize);
    error = 0;
  }
  if (error != 0 && error != kSharingViolation) {
    FileErrorText = std::string(spec.errorText) + std::to_string(error);
    if (code == FileCode::FLG) FileErrorText += " " + path;
  }
  return error;
}

int RecordStore::openSystemParameters() {
  int error = openRecordFile(FileCode::SYS);
  if (error != 0) return error;
  // The stored directory decides where the base data and administration files are.
  RecordFile& file = files_[index(FileCode::SYS)];
  if (file.size() == 0) return 0;
  std::string directory =
      ByteReader(file.readAt(0)).text(kDirectoryFieldOffset, kDirectoryCapacity);
  if (directory.empty()) directory = (startDirectory_ + "/data/").substr(0, kDirectoryCapacity);
  administrationDirectory = directory;
  baseDataDirectory = directory;
  file.seek(0);
  return 0;
}

int RecordStore::openAdministrationList() {
  const FileSpec& spec = fileSpec(FileCode::ADM);
  RecordFile& file = files_[index(FileCode::ADM)];
  std::string path = pathOf(FileCode::ADM);
  makeDirectories(baseDataDirectory);
  int error = file.open(path, spec.recordSize);
  if (error == kFileNotFound) {
    // An "admin.vlt" of an older installation in the start directory moves to the base
    // data directory once, records in order; the old file goes only after the new one is
    // safely on disk.
    std::string oldPath = inStartDirectory(spec.fileName);
    RecordFile old;
    error = old.open(oldPath, spec.recordSize);
    if (error == 0) {
      file.create(path, spec.recordSize);
      file.rewriteAll(old.readAll());
      file.sync();
      file.seek(0);
      old.close();
      if (::unlink(oldPath.c_str()) != 0)
        throw IoError(errorCodeFromErrno(errno, oldPath), oldPath);
    } else if (error == kFileNotFound) {
      file.create(path, spec.recordSize);
      error = 0;
    }
  }
  FileErrorCode = error;
  if (error != 0 && error != kSharingViolation)
    FileErrorText = std::string(spec.errorText) + std::to_string(error);
  return error;
}

int RecordStore::openHelpText() {
  std::string path = TextFileName.starts_with('/') ? TextFileName : inStartDirectory(TextFileName);
  int error = text_.open(path);
  FileErrorCode = error;
  if (error != 0)
    FileErrorText = std::string(fileSpec(FileCode::HEN).errorText) + std::to_string(error) + " " +
                    systemErrorText(error);
  return error;
}

int RecordStore::openReportTemplate() {
  int error = text_.open(administrationDirectory + TextFileName);
  if (error == kFileNotFound || error == kPathNotFound) {
    std::string path =
        TextFileName.starts_with('/') ? TextFileName : inStartDirectory(TextFileName);
    error = text_.open(path);
  }
  FileErrorCode = error;
  if (error == kFileNotFound || error == kPathNotFound)
    FileErrorText = "No report template available.(" + TextFileName + ")";
  else if (error != 0)
    FileErrorText = std::string(fileSpec(FileCode::RAP).errorText) + std::to_string(error);
  return error;
}

void RecordStore::closeFilesOfSet() {
  setOpen_ = false;
  std::exception_ptr firstFailure;
  for (FileCode code : closingOrder()) {
    std::size_t i = index(code);
    try {
      if (code == FileCode::HEN || code == FileCode::RAP) {
        if (state_[i] == kStateOpen) text_.close();
      } else {
        files_[i].close();
      }
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
    if (state_[i] == kStateOpen) state_[i] = kStateRequested;
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
}

void RecordStore::CloseFileSet() {
  if (depth_ > 0) {
    --depth_;
    return;
  }
  if (!setOpen_) return;
  closeFilesOfSet();
  state_.fill(kStateNone);
}

void RecordStore::closeEverything() {
  depth_ = 0;
  try {
    CloseFileSet();
  } catch (...) {
    setOpen_ = false;
  }
}

RecordFile& RecordStore::file(FileCode code) {
  if (!isOpen(code) || fileSpec(code).kind != FileKind::Record)
    throw IoError(kOtherErrorBase + EBADF, std::string(fileSpec(code).codeText) + " is not open");
  return files_[index(code)];
}

TextFile& RecordStore::textFile() {
  if (!isOpen(FileCode::HEN) && !isOpen(FileCode::RAP))
    throw IoError(kOtherErrorBase + EBADF, "text file is not open");
  return text_;
}

std::string RecordStore::openFailureMessage() const {
  return FileErrorText + "  " + systemErrorText(FileErrorCode);
}

namespace {
std::unique_ptr<RecordStore>& processStore() {
  static std::unique_ptr<RecordStore> store;
  return store;
}
}  // namespace

RecordStore& recordStore() {
  auto& store = processStore();
  if (!store) {
    char buffer[4096];
    store = std::make_unique<RecordStore>(::getcwd(buffer, sizeof buffer) ? buffer : ".");
  }
  return *store;
}

RecordStore& resetRecordStore(const std::string& startDirectory) {
  processStore() = std::make_unique<RecordStore>(startDirectory);
  return *processStore();
}

}  // namespace tallymoor
