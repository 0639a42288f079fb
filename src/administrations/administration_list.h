#pragma once
// The administration list "admin.vlt" as its maintenance form edits it: one row per
// administration in display order, read whole and written back whole. A code is also the
// name of the administration's directory below the base data directory, so a new entry's
// code must be usable as exactly one directory name there.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "record-store/record_store.h"
#include "records/administration_record.h"

namespace tallymoor {

inline constexpr const char* kAdministrationFileSet = "ADM";
inline constexpr std::size_t kAdministrationCodeLength = 10;
inline constexpr std::size_t kAdministrationNameLength = 30;
inline constexpr std::size_t kAdministrationMemoLength = 200;
inline constexpr std::size_t kAdministrationCreatorLength = 10;
inline constexpr std::size_t kAdministrationStampLength = 20;

// One line of the list. An entry added since the last save has no creator and no stamp
// yet: the save gives it both, and its directory.
struct AdministrationRow {
  std::string code;
  std::string name;
  std::string memo;
  std::string creator;
  std::string creationStamp;

  bool operator==(const AdministrationRow&) const = default;
};

AdministrationRow administrationRowFromRecord(const AdministrationRecord& record);

// How a routine that opens "ADM" ended. When the open failed, `message` holds the record
// store's text, two blanks and the system's text, and nothing was read or written.
struct AdministrationFileOutcome {
  bool opened = true;
  std::string message;
};

struct AdministrationList : AdministrationFileOutcome {
  std::vector<AdministrationRow> rows;
};

// Reads every administration in file order; opens and closes "ADM" (inside an open set it
// only nests and reads that set's file).
[[nodiscard]] AdministrationList loadAdministrations(RecordStore& store);

// The code as it is stored and names its directory: cut to 10 characters.
std::string storedAdministrationCode(std::string_view typed);

// Whether a stored code names one directory directly below the base data directory: not
// empty, not "." or "..", and without "/" or NUL, which would lead elsewhere.
bool isUsableDirectoryName(std::string_view code);

// The refusal of a code that cannot name a directory.
std::string unusableCodeMessage(std::string_view code);

enum class NewAdministrationCheck { Valid, CodeMissing, UnusableCode, Duplicate };

// Checks a typed code, cut as it will be stored, against the codes of the list (compared
// exactly, so codes that differ in letter case are different administrations).
NewAdministrationCheck checkNewAdministration(const std::vector<std::string>& codes,
                                              std::string_view typed);

struct AdministrationSave : AdministrationFileOutcome {
  // Set when a new entry's code cannot name a directory; `message` says which, and
  // nothing was opened, made or written.
  bool refused = false;
  // The list as written, with the stamps of the new entries.
  std::vector<AdministrationRow> rows;
};

// Rewrites "admin.vlt" from `rows`, in their order, in one block write after every record
// is built (the file is never cut first). Each entry without a creator is stamped with
// `creator` (cut to 10) and `now` (cut to 20), and its directory is made below the base
// data directory; a directory that exists already is kept as it is, with its files. A
// directory that cannot be made is an IoError, and the file is left as it was.
[[nodiscard]] AdministrationSave saveAdministrations(RecordStore& store,
                                                     const std::vector<AdministrationRow>& rows,
                                                     std::string_view creator,
                                                     std::string_view now);

}  // namespace tallymoor
