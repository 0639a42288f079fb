#include "record-store/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "record-store/number_format.h"

namespace tallymoor {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks and control characters count as white space, as in a desktop trim.
std::string_view trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The locale text-to-float conversion, with `separator` as the decimal separator: an
// optional leading '-', digits and at most one separator, with at least one digit.
double textToFloat(std::string_view number, char separator, std::string_view original) {
  const auto fail = [&] { return ConversionError(quoted(original) + " is not a valid amount"); };
  std::string plain(number);
  bool seenSeparator = false;
  bool seenDigit = false;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (isDigit(plain[i])) {
      seenDigit = true;
    } else if (plain[i] == separator && !seenSeparator) {
      seenSeparator = true;
      plain[i] = '.';
    } else if (plain[i] != '-' || i != 0) {
      throw fail();
    }
  }
  if (!seenDigit) throw fail();
  double value = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || end != plain.data() + plain.size()) throw fail();
  return value;
}

// Significant decimal digits of a double that survive a round trip through text; rounding
// at a decimal place works on these, so 2.675 (stored as 2.67499999...) rounds to 2.68.
constexpr int kSignificantDigits = 15;

// |value| rounded half away from zero to `decimals` places, as a digit string of
// value * 10^decimals without a point (at least decimals + 1 digits).
std::string scaledDigits(double magnitude, int decimals) {
  std::string scaled;
  if (magnitude != 0) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, result.ptr - buffer);  // d.dddde+XX
    const std::size_t e = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    exponent);
    // Digits of value * 10^decimals before its point.
    const int whole = exponent + 1 + decimals;
    const int count = static_cast<int>(digits.size());
    if (whole < 0) {
      scaled = "0";
    } else if (whole == 0) {
      scaled = digits[0] >= '5' ? "1" : "0";
    } else if (whole >= count) {
      scaled = digits + std::string(whole - count, '0');
    } else {
      scaled = digits.substr(0, whole);
      if (digits[whole] >= '5') {
        int i = whole - 1;
        while (i >= 0 && scaled[i] == '9') scaled[i--] = '0';
        if (i >= 0) {
          ++scaled[i];
        } else {
          scaled.insert(scaled.begin(), '1');
        }
      }
    }
  } else {
    scaled = "0";
  }
  if (static_cast<int>(scaled.size()) <= decimals) {
    scaled.insert(0, decimals + 1 - scaled.size(), '0');
  }
  return scaled;
}

// The formats "%1.<decimals>N" (grouped) and "%1.<decimals>F" with this process's separators.
std::string formatNumber(double value, int decimals, bool grouped) {
  const NumberFormat& format = numberFormat();
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  const std::string scaled = scaledDigits(std::fabs(value), decimals);
  const std::size_t wholeLength = scaled.size() - decimals;
  const bool zero = scaled.find_first_not_of('0') == std::string::npos;

  std::string text;
  text.reserve(scaled.size() + scaled.size() / 3 + 2);
  if (value < 0 && !zero) text += '-';  // no "-0,00"
  for (std::size_t i = 0; i < wholeLength; ++i) {
    if (grouped && i > 0 && (wholeLength - i) % 3 == 0) text += format.thousandsSeparator();
    text += scaled[i];
  }
  if (decimals > 0) {
    text += format.decimalSeparator;
    text.append(scaled, wholeLength, std::string::npos);
  }
  return text;
}

bool allDigits(std::string_view text) {
  for (char c : text) {
    if (!isDigit(c)) return false;
  }
  return true;
}

int toInt(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

std::tm localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

double ParseAmount(std::string_view text) {
  const std::string_view original = text;
  // A text of blanks only is as empty as an empty one.
  text = trim(text);
  if (text.empty()) return 0;
  // A character in front that cannot start a number is a currency symbol.
  if (!isDigit(text.front()) && text.front() != '-') text = trim(text.substr(1));

  const char separator = numberFormat().decimalSeparator;
  std::string number;
  number.reserve(text.size() + 1);
  for (char c : text) {
    if (isDigit(c) || c == '-' || c == separator) number += c;
    // "," or "." typed first means "0," or "0."
    if (number.size() == 1 && number[0] == separator) number.insert(number.begin(), '0');
  }
  return textToFloat(number, separator, original);
}

std::string FormatAmount(double value, int decimals, char grouping) {
  const NumberFormat& format = numberFormat();
  if (decimals == -1) decimals = format.decimals;
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  const bool grouped = grouping == 'Y';

  std::string text = formatNumber(value, decimals, grouped);
  // Blanks in place of the thousands separators that a smaller amount lacks, so that
  // grouped amounts line up.
  if (grouped) {
    const double magnitude = std::fabs(value);
    if (magnitude < 1000) text.insert(text.begin(), ' ');
    if (magnitude < 1000000) text.insert(text.begin(), ' ');
  }
  // Two blanks per missing character up to 13: a blank is narrower than a digit.
  const std::size_t length = text.size();
  if (length < 13) text.insert(0, 2 * (13 - length), ' ');
  if (value < -0.0000001) text.insert(text.begin(), ' ');

  // No currency chosen yet: no symbol, rather than a zero byte in the text.
  const std::string symbol = format.currencySymbol ? std::string(1, format.currencySymbol) : "";
  if (format.amountFormat == 'T') return symbol + " " + text;
  return text + " " + symbol;
}

void NormalizeAmountText(std::string& text) {
  text = FormatAmount(ParseAmount(text), numberFormat().decimals, 'Y');
}

std::string DateToText(Date date) {
  char text[32];
  std::snprintf(text, sizeof text, "%d%02u%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

Date TextToDate(std::string_view text) {
  if (text.size() != 8 || !allDigits(text)) {
    throw ConversionError(quoted(text) + " is not a valid date");
  }
  const Date date{std::chrono::year{toInt(text.substr(0, 4))},
                  std::chrono::month{static_cast<unsigned>(toInt(text.substr(4, 2)))},
                  std::chrono::day{static_cast<unsigned>(toInt(text.substr(6, 2)))}};
  if (!date.ok() || date.year() < std::chrono::year{1}) {
    throw ConversionError(quoted(text) + " is not a valid date");
  }
  return date;
}

bool IsValidDateText(std::string_view text) {
  if (text.size() != 8 || !allDigits(text)) return false;
  const int year = toInt(text.substr(0, 4));
  const int month = toInt(text.substr(4, 2));
  const int day = toInt(text.substr(6, 2));
  if (year < 1990 || year > 2200) return false;
  if (month < 1 || month > 12) return false;
  int lastDay = 31;
  if (month == 4 || month == 6 || month == 9 || month == 11) lastDay = 30;
  // Every fourth year is a leap year here, 2100 included.
  if (month == 2) lastDay = year % 4 == 0 ? 29 : 28;
  return day >= 1 && day <= lastDay;
}

int LastPos(std::string_view search, std::string_view text) {
  if (search.empty() || text.size() < search.size()) return 0;
  const std::size_t at = text.rfind(search);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

void IntegerFieldFilter(std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isDigit(text[i]) || (i == 0 && text[i] == '-')) result += text[i];
  }
  text = std::move(result);
}

void DecimalFieldFilter(std::string& text, bool suppress) {
  if (suppress) return;
  const NumberFormat& format = numberFormat();
  std::string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') result += text[i++];

  bool separatorKept = false;
  int decimalsKept = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c) || c == '-') {
      if (format.decimals == 0 || decimalsKept < format.decimals) {
        result += c;
        if (separatorKept && isDigit(c)) ++decimalsKept;
      }
    } else if (c == format.decimalSeparator && !separatorKept && i > 0) {
      result += c;
      separatorKept = true;
    }
  }
  if (result == " ") result.clear();
  text = std::move(result);
}

Date today() {
  const std::tm local = localNow();
  return Date{std::chrono::year{local.tm_year + 1900},
              std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
              std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

std::string currentTimestamp() {
  const std::tm local = localNow();
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%d-%m-%Y %H:%M:%S", &local);
  return std::string(text, length);
}

}  // namespace tallymoor
