#pragma once
// The state that every form of the bookkeeping program reads: the one in-memory copy of
// the system parameters, the current language record, and who is logged in to which
// administration.

#include <string>

#include "records/language_record.h"
#include "records/system_parameters_record.h"

namespace tallymoor {

// Shown as the root of the menu tree and at the start of the window titles.
inline constexpr const char* kProgramTitle = "Tallymoor Lite 2.0.4";

struct Session {
  // The system parameters as loaded by the system settings form and saved by it. In
  // memory its directory field is the administration directory once the caption routine
  // ran.
  SystemParametersRecord systemParameters;
  // The directory field as typed in the system settings: the base data directory.
  std::string baseDataDirectory;
  // Set by a load of the system settings that found no record yet.
  bool noSystemRecordYet = false;

  // The record of the chosen language (all zero before the first load) and its name.
  LanguageRecord language;
  std::string languageName;

  // The texts every form hands to the help viewer: file, exit and cancel captions, the
  // language name (10 characters) and the help title.
  struct HelpTexts {
    std::string fileCaption, exitCaption, cancelCaption, languageName, helpTitle;
  } helpBlock{"File", "Exit", "Cancel", "", "Help"};

  // The three rights of the logged-in user, and the chosen administration.
  bool enduser = false;
  bool enduserManager = false;
  bool systemAdministrator = false;
  std::string administrationCode;
  std::string administrationName;

  // The user id typed at the last login ("UNKNOWN" without user identification).
  const std::string& userId() const { return systemParameters.lastLogin; }
  // A language text by its offset.
  std::string text(std::size_t offset) const { return language.textAt(offset); }
};

// The session of this process.
Session& session();
// A fresh session (program start, and each test).
void resetSession();

}  // namespace tallymoor
