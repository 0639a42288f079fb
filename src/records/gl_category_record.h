#pragma once
// One GL category of an administration in "ledgerct.vlt". The file order is the order in
// which the categories are shown and reported.

#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

// The two stored kinds, always in English whatever the language of the forms.
inline constexpr const char* kBalanceSheetKind = "Balance sheet account";
inline constexpr const char* kProfitAndLossKind = "Profit and Loss account";

struct GlCategoryRecord {
  static constexpr std::size_t kSize = 134;

  std::string kind;       // string[50]: kBalanceSheetKind or kProfitAndLossKind
  std::string name;       // string[50], the value GL accounts store as their category
  std::string user;       // string[10], who last stored the category
  std::string timestamp;  // string[20], when

  // Any kind other than the balance-sheet text reads as profit and loss.
  bool isBalanceSheet() const { return kind == kBalanceSheetKind; }

  static GlCategoryRecord decode(const Bytes& bytes);
  Bytes encode() const;
};

}  // namespace tallymoor
