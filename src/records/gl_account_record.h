#pragma once
// One general-ledger account of an administration in "ledger.vlt", kept in ascending order
// of account number.

#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct GlAccountRecord {
  static constexpr std::size_t kSize = 376;

  std::string number;     // string[15], unique key
  std::string caption;    // string[50]
  std::string type;       // string[1]: "P" profit, "T" transfer, "D" debit, "C" credit
  std::string category;   // string[50], a GL category name
  std::string lead;       // string[50]
  std::string startDate;  // string[8], YYYYMMDD
  double startAmount = 0;
  std::string endDate = "20501231";  // string[8]
  double carriedAmount = 0;          // filled only when converting an older file layout
  bool cashBankBook = false;
  std::string cashBankBookName;  // string[50]
  std::string accountDirective;  // string[50], empty or one of the default-account keys
  std::string vatGroup;          // string[12]
  std::string user;              // string[10]
  std::string timestamp;         // string[20]

  // Any letter other than P, T and D reads as credit.
  char typeLetter() const { return type == "P" || type == "T" || type == "D" ? type[0] : 'C'; }

  static GlAccountRecord decode(const Bytes& bytes);
  // Reserved and padding bytes are written as zeros.
  Bytes encode() const;
};

}  // namespace tallymoor
