#pragma once
// The computations behind the system settings form: the language the installer chose,
// the news check, the directory tree of the base data directory, and writing the record.

#include <optional>
#include <string>

#include "record-store/conversions.h"
#include "record-store/record_store.h"
#include "records/system_parameters_record.h"

namespace tallymoor {

// The four languages the settings offer, in their order.
inline constexpr const char* kLanguages[] = {"Deutsch", "English",
                                             "Fran\xE7"
                                             "ais",
                                             "Nederlands"};

// The language to show: the installer's choice ("DU", "GB", "NL") over the stored name.
std::string shownLanguage(const std::string& installationCode, const std::string& storedName);

// With tips and news setting "T" and a news date before today: the date moved on in steps
// of 90 days until it is today or later. None when no news check is due.
std::optional<std::string> dueNewsDate(const std::string& newsDate, Date today,
                                       const std::string& tipsAndNews);

// Creates every missing directory of `directory`, part by part; a part named "empty" is
// skipped. An IoError when a part cannot be created or is no directory.
void createDirectoryTree(const std::string& directory);

// The directory of a chosen file, with its trailing '/'; empty for "forceerleeg.vlt", the
// name that resets the directory to the default.
std::string directoryOfChosenFile(const std::string& fileName);

// Writes the record as record 0 of the open SYS file and cuts the file after it.
void writeSystemParameters(RecordStore& store, const SystemParametersRecord& record);

}  // namespace tallymoor
