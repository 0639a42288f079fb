#pragma once
// The one record of the system parameters file "sysparm010000.vlt": the settings of the
// whole installation.

#include <array>
#include <cstdint>
#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct TaxRate {
  std::string name;  // string[12]
  double rate = 0;   // percent
};

struct SystemParametersRecord {
  static constexpr std::size_t kSize = 816;
  // Offset of the area (buyer name up to last login) that the record store mirrors for
  // the amount formatting.
  static constexpr std::size_t kMirrorOffset = 568;

  Bytes reserved0 = Bytes(9, 0);  // offset 0, written back as read
  std::string address;            // string[30]
  std::string zipCode;            // string[15]
  std::string town;               // string[30]
  std::string region;             // string[30]
  std::string country;            // string[30]
  std::string telephone;          // string[20]
  std::string fax;                // string[20]
  std::string email;              // string[30]
  std::string website;            // string[50]
  Bytes reserved273 = Bytes(61, 0);
  Bytes reserved334 = Bytes(31, 0);
  std::string savedAt;       // string[20]
  std::string savedBy;       // string[10]
  std::string languageName;  // string[20], key into the language file
  bool userIdentification = false;
  bool passwordProtection = false;
  bool authorisationLevels = false;
  std::array<TaxRate, 3> taxGroup1{};
  std::array<TaxRate, 3> taxGroup2{};
  std::string buyerName;  // string[100]
  std::string directory;  // string[100]: base data directory; in memory the administration one
  std::int16_t decimals = 2;
  char currencySymbol = 0;
  std::string tipsAndNews;  // string[1]: "T", "F", "U" or "G"
  std::string newsDate;     // string[8], YYYYMMDD
  char amountFormat = 'F';  // 'T' puts the currency symbol in front
  Bytes reserved788 = Bytes(6, 0);
  std::string lastLogin;  // string[20]

  static SystemParametersRecord decode(const Bytes& bytes);
  Bytes encode() const;
};

}  // namespace tallymoor
