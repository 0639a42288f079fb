#include "administrations/admin_settings.h"

#include "accounts/account_display_text.h"
#include "administrations/fiscal_periods.h"
#include "record-store/conversions.h"
#include "record-store/system_error.h"
#include "records/gl_account_record.h"

namespace tallymoor {
namespace {

DataFileConversion& installedConversion() {
  static DataFileConversion conversion;
  return conversion;
}

std::string cut(std::string_view text, std::size_t length) {
  return std::string(text.substr(0, length));
}

}  // namespace

AdminSettingsRecord& currentSettings() {
  static AdminSettingsRecord settings;
  return settings;
}

void resetCurrentSettings() { currentSettings() = AdminSettingsRecord{}; }

AdminSettingsRecord defaultSettings() {
  AdminSettingsRecord s;
  s.currentYear = kDefaultYear;
  s.currentPeriod = kNoCurrentPeriod;
  s.currencyCode = kDefaultCurrencyCode;
  s.fiscalYear = kDefaultYear;
  s.noSalesTaxAccounts = false;
  s.startDate = kDefaultStartDate;
  s.endDate = kDefaultEndDate;
  s.periodCount = 1;
  recomputePeriods(s);
  s.journalNames = {"Sales Book", "Purchase Book", "Daybook", "", "", ""};
  s.journalTypeFlags.fill("false");
  s.splitJournals = "false";
  return s;
}

void setDataFileConversion(DataFileConversion conversion) {
  installedConversion() = std::move(conversion);
}

SettingsLoad loadSettings(RecordStore& store, std::string_view userId, std::string_view now) {
  SettingsLoad result;
  FileSet set(store, kSettingsLoadSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = systemErrorText(store.FileErrorCode);
    return result;
  }
  if (installedConversion()) installedConversion()(store);
  RecordFile& file = store.file(FileCode::ADS);
  if (file.size() > 0) {
    result.settings = AdminSettingsRecord::decode(file.readAt(0));
    currentSettings() = result.settings;
    return result;
  }
  SettingsStore written = storeSettings(store, defaultSettings(), userId, now);
  if (!written.ok()) {
    // The defaults always agree with themselves; only a failing nested open lands here.
    static_cast<SettingsOutcome&>(result) = written;
    return result;
  }
  result.settings = written.stored;
  result.defaultsWritten = true;
  return result;
}

SettingsStore storeSettings(RecordStore& store, AdminSettingsRecord settings,
                            std::string_view userId, std::string_view now) {
  SettingsStore result;
  settings.lastSavedStamp = cut(now, kLastSavedStampLength);
  settings.lastSavedUser = cut(userId, kLastSavedUserLength);
  if (std::string problem = periodTableProblem(settings); !problem.empty()) {
    result.refused = true;
    result.message = "The settings were not saved: " + problem;
    return result;
  }
  FileSet set(store, kSettingsStoreSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  RecordFile& file = store.file(FileCode::ADS);
  file.writeAt(0, settings.encode());
  file.truncate();
  result.stored = std::move(settings);
  currentSettings() = result.stored;
  return result;
}

ProfitAccount splitAccountEntry(std::string_view entry) {
  const std::size_t open = entry.find('{');
  if (open == std::string_view::npos) return {accountNumberFromDisplayText(entry), {}};
  const std::size_t close = entry.find('}', open + 1);
  const std::size_t captionEnd = close == std::string_view::npos ? entry.size() : close;
  return {accountNumberFromDisplayText(entry),
          std::string(entry.substr(open + 1, captionEnd - open - 1))};
}

ProfitAccountEntries readProfitAccountEntries(RecordStore& store,
                                              std::string_view profitAccountNumber) {
  ProfitAccountEntries result;
  FileSet set(store, kProfitAccountSet);
  if (!set.ok()) {
    result.opened = false;
    result.message = store.openFailureMessage();
    return result;
  }
  const std::vector<Bytes> records = store.file(FileCode::GLA).readAll();
  result.entries.reserve(records.size());
  for (const Bytes& bytes : records) {
    const GlAccountRecord account = GlAccountRecord::decode(bytes);
    if (result.storedIndex < 0 && !profitAccountNumber.empty() &&
        account.number == profitAccountNumber)
      result.storedIndex = static_cast<int>(result.entries.size());
    result.entries.push_back(accountDisplayText(account));
  }
  return result;
}

bool isAcceptableFiscalYear(std::string_view text) {
  if (text.empty()) return true;
  const bool negative = text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 9) return false;
  long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return !negative && value >= kLowestFiscalYear;
}

}  // namespace tallymoor
