#pragma once
// Typed text to numbers and dates and back, as every form uses them. Texts are Windows-1252
// bytes. The separators and the system's decimals, currency symbol and amount format come
// from numberFormat().

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tallymoor {

// A text that is no number or no date: ends the current action with this message.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Date = std::chrono::year_month_day;

// An amount typed with a decimal comma or point, perhaps after a currency symbol; the
// locale's thousands separator is ignored. Throws ConversionError ("1-2", "-").
double ParseAmount(std::string_view text);
// The amount for right-aligned columns, with the currency symbol. `decimals` -1 means the
// system decimals; grouping 'Y' adds thousands separators.
std::string FormatAmount(double value, int decimals = -1, char grouping = 'N');
// The text parsed and formatted again with the system decimals and grouping.
void NormalizeAmountText(std::string& text);

// YYYYMMDD.
std::string DateToText(Date date);
// Throws ConversionError for a text that is not a valid date.
Date TextToDate(std::string_view text);
// Eight digits forming a date from 1990 to 2200.
bool IsValidDateText(std::string_view text);

// 1-based start of the last occurrence of `search` in `text`; 0 if none.
int LastPos(std::string_view search, std::string_view text);

// Keeps the digits and a '-' in the first position.
void IntegerFieldFilter(std::string& text);
// Reduces the text to a decimal number with at most the system decimals; leaves it as it
// is when `suppress` is set.
void DecimalFieldFilter(std::string& text, bool suppress);

// Today's date.
Date today();
// The current date and time as "dd-mm-yyyy hh:mm:ss": the stamp texts of the records.
std::string currentTimestamp();

}  // namespace tallymoor
