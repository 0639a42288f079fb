#pragma once
// The settings of one administration in "adminset.vlt": company data, book year, period
// table, freeze status, currency, profit account and journal settings. The file holds one
// record.

#include <array>
#include <cstdint>
#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct AdminSettingsRecord {
  static constexpr std::size_t kSize = 1386;
  static constexpr int kMaxPeriods = 15;
  static constexpr int kJournalCount = 6;
  static constexpr int kJournalTypeFlagCount = 6;

  // Written empty by the general-ledger copy and read by nothing; a save writes back what
  // was loaded.
  std::string reservedText;          // string[20]
  std::string taxRegistration;       // string[15]
  std::string companyName;           // string[50]
  std::string address;               // string[50]
  std::string zipCode;               // string[10]
  std::string town;                  // string[50]
  std::string state;                 // string[50]
  std::string country;               // string[50]
  std::string telephone;             // string[30]
  std::string fax;                   // string[30]
  std::string email;                 // string[100]
  std::string website;               // string[100]
  std::string extraItem2;            // string[50]
  std::string lastSavedStamp;        // string[20], date and time of the last save
  std::string lastSavedUser;         // string[10], login user id of the last save
  std::string extraItem1;            // string[50]
  std::string companyRegistration;   // string[50]
  std::string profitAccountCaption;  // string[30]
  std::string profitAccountNumber;   // string[20], receives last year's profit
  std::string startDate;             // string[8], YYYYMMDD
  std::string endDate;               // string[8], YYYYMMDD
  std::string fiscalYear;            // string[4], digits
  std::string currencyCode;          // string[3]
  bool noSalesTaxAccounts = false;
  std::int16_t periodCount = 0;  // 1 to 15
  // Slot p - 1 holds the start of period p; slot N (0-based) the day after the end date
  // when N is below 15. Each string[8], YYYYMMDD.
  std::array<std::string, kMaxPeriods> periodStarts;
  std::string approvedYear;      // string[8], year label; empty when none
  std::string lastClosedPeriod;  // string[8], PP/NN; empty when none
  std::string currentYear;       // string[8], year label
  std::string currentPeriod;     // string[8], PP/NN; "00/00" when none
  std::string creator;           // string[10], written by the general-ledger copy only
  std::string creationStamp;     // string[20], written by the general-ledger copy only
  std::string splitJournals;     // string[5], "true" or "false"
  // Sales book, purchase book, day book, optional journals 1 to 3; each string[50].
  std::array<std::string, kJournalCount> journalNames;
  // "true"/"false" each string[5]: optional journal 1 sales, 1 purchase, 2 sales,
  // 2 purchase, 3 sales, 3 purchase.
  std::array<std::string, kJournalTypeFlagCount> journalTypeFlags;

  bool operator==(const AdminSettingsRecord&) const = default;

  static AdminSettingsRecord decode(const Bytes& bytes);
  // The padding byte at the end is written as zero.
  Bytes encode() const;
};

}  // namespace tallymoor
