#pragma once
// The process-wide number format that the amount conversions read: the locale's decimal
// separator (taken once at start-up) and the record store's copy of the system
// parameters' decimals, currency symbol and amount format.

namespace tallymoor {

struct NumberFormat {
  char decimalSeparator = ',';  // ',' or '.'; the thousands separator is the other one
  int decimals = 2;             // 0 to 4
  char currencySymbol = 0;      // one Windows-1252 character
  char amountFormat = 'F';      // 'T' puts the currency symbol in front of the amount
  char thousandsSeparator() const { return decimalSeparator == ',' ? '.' : ','; }
};

// The single copy for the process; forms and tests change it, the conversions read it.
NumberFormat& numberFormat();

// The decimal separator of the C library's current LC_NUMERIC locale: "1.2" formatted as a
// float, second character.
char localeDecimalSeparator();

}  // namespace tallymoor
