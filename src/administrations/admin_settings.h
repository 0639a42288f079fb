#pragma once
// The settings of the logged-in administration: loading them from "adminset.vlt" (an empty
// file gets the default settings written into it), storing them as record 0, the current
// settings of this process, and the profit account entries offered on the settings form.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "record-store/record_store.h"
#include "records/admin_settings_record.h"

namespace tallymoor {

inline constexpr const char* kSettingsLoadSet = "ADS;";
inline constexpr const char* kSettingsStoreSet = "ADS";
inline constexpr const char* kProfitAccountSet = "GLA";
inline constexpr const char* kDefaultStartDate = "20080101";
inline constexpr const char* kDefaultEndDate = "20081231";
inline constexpr const char* kDefaultYear = "2008";
inline constexpr const char* kDefaultCurrencyCode = "EUR";
// What Save stores for an empty fiscal year.
inline constexpr const char* kEmptyFiscalYearStored = "2007";
inline constexpr int kLowestFiscalYear = 1990;
inline constexpr std::size_t kLastSavedStampLength = 20;
inline constexpr std::size_t kLastSavedUserLength = 10;

// The settings as loaded at login into this administration, or as last stored; the forms
// that need them work on copies.
AdminSettingsRecord& currentSettings();
// Empty settings again (program start, each test, another administration).
void resetCurrentSettings();

// What an empty settings file gets, apart from the last-saved stamp and user: book year
// 2008 as one period, currency "EUR", current period "00/00", the three standard journal
// names.
AdminSettingsRecord defaultSettings();

// The data file conversion of the administration's files runs at every load of the
// settings, inside the load's open set, before the settings file is read. Nothing is
// converted while no conversion is installed here.
using DataFileConversion = std::function<void(RecordStore&)>;
void setDataFileConversion(DataFileConversion conversion);

// How a routine on the settings file ended.
struct SettingsOutcome {
  // False when the open failed; nothing was read or written then.
  bool opened = true;
  // True when the record was not written because its period table disagrees with its book
  // year; nothing was opened then.
  bool refused = false;
  // Why, when not opened or refused.
  std::string message;
  bool ok() const { return opened && !refused; }
};

struct SettingsLoad : SettingsOutcome {
  AdminSettingsRecord settings;
  // The file held no record and now holds the defaults.
  bool defaultsWritten = false;
};

// Opens "ADS;" (inside an open set: that set's file), runs the data file conversion and
// reads record 0; an empty file gets the defaults stamped with `userId` and `now` and
// written. On success the settings become the current settings. A failed open leaves
// `message` = the system's text for the error code, and the current settings as they were.
[[nodiscard]] SettingsLoad loadSettings(RecordStore& store, std::string_view userId,
                                        std::string_view now);

struct SettingsStore : SettingsOutcome {
  // The record as written, with its last-saved stamp and user.
  AdminSettingsRecord stored;
};

// Stamps the settings (`now` cut to 20, `userId` cut to 10), checks the period table,
// writes them as record 0 of "ADS" and cuts the file after it; they become the current
// settings. A disagreeing period table is refused with a message, and a failed open gives
// the record store's text, two blanks and the system's text; in both cases nothing is
// written.
[[nodiscard]] SettingsStore storeSettings(RecordStore& store, AdminSettingsRecord settings,
                                          std::string_view userId, std::string_view now);

// The profit account of an entry: the number is the text before the first "{", the caption
// the text between that "{" and the next "}" (to the end when there is none).
struct ProfitAccount {
  std::string number;
  std::string caption;
  bool operator==(const ProfitAccount&) const = default;
};
ProfitAccount splitAccountEntry(std::string_view entry);

struct ProfitAccountEntries : SettingsOutcome {
  // One entry per GL account, in file order.
  std::vector<std::string> entries;
  // The entry whose number equals the stored profit account number; -1 when none.
  int storedIndex = -1;
};

// Reads the GL account file ("GLA", or the file of the set that is open) into entries, and
// finds the one of `profitAccountNumber`.
[[nodiscard]] ProfitAccountEntries readProfitAccountEntries(RecordStore& store,
                                                            std::string_view profitAccountNumber);

// Whether a fiscal year text may stay in its field: empty (stored as "2007"), or a number
// of 1990 or later.
bool isAcceptableFiscalYear(std::string_view text);

}  // namespace tallymoor
