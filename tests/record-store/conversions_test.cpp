#include "record-store/conversions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "record-store/number_format.h"

namespace tallymoor {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

constexpr char kEuro = '\x80';  // the euro sign in Windows-1252

std::string blanks(int count) { return std::string(count, ' '); }

NumberFormat decimalComma() {
  NumberFormat format;
  format.decimalSeparator = ',';
  format.decimals = 2;
  format.currencySymbol = kEuro;
  format.amountFormat = 'F';
  return format;
}

NumberFormat decimalPoint() {
  NumberFormat format;
  format.decimalSeparator = '.';
  format.decimals = 2;
  format.currencySymbol = '$';
  format.amountFormat = 'F';
  return format;
}

// Every test sets the process-wide number format it needs; the previous one comes back
// afterwards so that no test depends on the order of the others.
class ConversionsTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = numberFormat(); }
  void TearDown() override { numberFormat() = saved_; }
  static void use(const NumberFormat& format) { numberFormat() = format; }

 private:
  NumberFormat saved_;
};

// --- ParseAmount -------------------------------------------------------------------------

struct ParseCase {
  const char* name;
  std::string text;
  double expected;
};

TEST_F(ConversionsTest, ParseAmountWithDecimalComma) {
  use(decimalComma());
  const ParseCase cases[] = {
      {"thousands point is dropped", "1.234,56", 1234.56},
      {"euro sign and blank in front", std::string{kEuro} + " 12,5", 12.5},
      {"separator after the euro sign becomes 0,", std::string{kEuro} + ",5", 0.5},
      {"empty text is zero", "", 0},
      {"blanks only count as empty", "   ", 0},
      {"blanks around the number", "  42  ", 42},
      {"negative", "-12,50", -12.5},
      {"several thousands points", "1.234.567,891", 1234567.891},
      {"point is never a decimal separator here", "1.5", 15},
      {"separator last", "0,", 0},
      {"lone separator after a symbol is 0,", std::string{kEuro} + " ,", 0},
      {"separator first is taken for a currency symbol", ",5", 5},
      {"symbol after the amount is dropped", "12,5 " + std::string{kEuro}, 12.5},
      {"blanks inside are dropped", "1 234,5", 1234.5},
      {"letters are dropped", "x12y3", 123},
      {"minus before the separator", "-,5", -0.5},
      {"leading zeros", "007,10", 7.1},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(ParseAmount(c.text), c.expected);
  }
}

TEST_F(ConversionsTest, ParseAmountWithDecimalPoint) {
  use(decimalPoint());
  const ParseCase cases[] = {
      {"thousands comma is dropped", "1,234.56", 1234.56},
      {"dollar sign in front", "$ 12.5", 12.5},
      {"separator after the dollar sign becomes 0.", "$.5", 0.5},
      {"comma is never a decimal separator here", "1,5", 15},
      {"negative", "-12.50", -12.5},
      {"euro sign in front", std::string{kEuro} + "3.25", 3.25},
      {"separator last", "7.", 7},
      {"empty text is zero", "", 0},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(ParseAmount(c.text), c.expected);
  }
}

TEST_F(ConversionsTest, ParseAmountRejectsWhatIsNoNumberAfterFiltering) {
  struct Case {
    const char* name;
    NumberFormat format;
    std::string text;
  };
  const Case cases[] = {
      {"minus inside", decimalComma(), "1-2"},
      {"lone minus", decimalComma(), "-"},
      {"minus and separator only", decimalComma(), "-,"},
      {"two minus signs", decimalComma(), "--1"},
      {"minus last", decimalComma(), "12-"},
      {"two decimal commas", decimalComma(), "1,2,3"},
      {"only a currency symbol", decimalComma(), std::string{kEuro}},
      {"nothing numeric", decimalComma(), "abc"},
      {"two decimal points", decimalPoint(), "1.2.3"},
      {"minus inside, decimal point", decimalPoint(), "1-2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    use(c.format);
    try {
      ParseAmount(c.text);
      ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& e) {
      // The message shows the user what was typed.
      EXPECT_NE(std::string(e.what()).find("\"" + c.text + "\""), std::string::npos) << e.what();
    }
  }
}

// --- FormatAmount ------------------------------------------------------------------------

struct FormatCase {
  const char* name;
  NumberFormat format;
  double value;
  int decimals;
  char grouping;
  std::string expected;
};

NumberFormat withAmountFormat(NumberFormat format, char amountFormat) {
  format.amountFormat = amountFormat;
  return format;
}

NumberFormat withDecimals(NumberFormat format, int decimals) {
  format.decimals = decimals;
  return format;
}

NumberFormat withoutCurrency(NumberFormat format, char amountFormat) {
  format.currencySymbol = 0;
  format.amountFormat = amountFormat;
  return format;
}

TEST_F(ConversionsTest, FormatAmountPadsGroupsAndPlacesTheSymbol) {
  const std::string euro{kEuro};
  const FormatCase cases[] = {
      {"no currency chosen yet: no zero byte in front", withoutCurrency(decimalComma(), 'T'), 2475,
       2, 'N', " " + blanks(12) + "2475,00"},
      {"no currency chosen yet: no zero byte after", withoutCurrency(decimalComma(), 'F'), 2475, 2,
       'N', blanks(12) + "2475,00 "},
      {"symbol in front, 12 blanks for 6 missing characters", withAmountFormat(decimalComma(), 'T'),
       2475, 2, 'N', euro + " " + blanks(12) + "2475,00"},
      {"negative below 1000, grouped, symbol after", decimalComma(), -5, 2, 'Y',
       " " + blanks(12) + "  -5,00 " + euro},
      {"below a million: one grouping blank", decimalComma(), 1234.5, 2, 'Y',
       blanks(8) + " 1.234,50 " + euro},
      {"a million and more: no grouping blank, 13th character padded", decimalComma(), 1234567.891,
       2, 'Y', blanks(2) + "1.234.567,89 " + euro},
      {"decimal point groups with commas", decimalPoint(), 1234.5, 2, 'Y',
       blanks(8) + " 1,234.50 $"},
      {"decimal point, symbol in front", withAmountFormat(decimalPoint(), 'T'), 0.5, 2, 'N',
       "$ " + blanks(18) + "0.50"},
      {"13 characters get no padding", decimalComma(), 1234567890.12, 2, 'N',
       "1234567890,12 " + euro},
      {"large grouped value", decimalComma(), 123456789012.34, 2, 'Y',
       "123.456.789.012,34 " + euro},
      {"large negative grouped value", decimalPoint(), -1e12, 2, 'Y', " -1,000,000,000,000.00 $"},
      {"-1 means the system decimals", withDecimals(decimalComma(), 3), 1.5, -1, 'N',
       blanks(16) + "1,500 " + euro},
      {"0 decimals: no separator", decimalComma(), 1234.4, 0, 'Y', blanks(14) + " 1.234 " + euro},
      {"four decimals", decimalComma(), 1234.56789, 4, 'N', blanks(8) + "1234,5679 " + euro},
      {"zero", decimalComma(), 0, 2, 'Y', blanks(14) + "  0,00 " + euro},
      {"the rounded value decides nothing about the grouping blanks", decimalComma(), 999.999, 2,
       'Y', blanks(6) + "  1.000,00 " + euro},
      {"any grouping but Y is ungrouped", decimalComma(), 1234.5, 2, 'y',
       blanks(12) + "1234,50 " + euro},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    use(c.format);
    EXPECT_EQ(FormatAmount(c.value, c.decimals, c.grouping), c.expected);
  }
}

// The number itself: a desktop formatter rounds half away from zero on the decimal value
// that was typed, not on the binary fraction just below it.
TEST_F(ConversionsTest, FormatAmountRoundsHalfAwayFromZero) {
  struct Case {
    const char* name;
    double value;
    int decimals;
    const char* number;  // without padding and symbol
  };
  const Case cases[] = {
      {"exact half up", 0.125, 2, "0,13"},
      {"exact half, negative", -0.125, 2, "-0,13"},
      {"2.675 is stored just below the half", 2.675, 2, "2,68"},
      {"1.005 is stored just below the half", 1.005, 2, "1,01"},
      {"below the half", 2.674, 2, "2,67"},
      {"half to 0 decimals", 2.5, 0, "3"},
      {"negative half to 0 decimals", -2.5, 0, "-3"},
      {"carry through nines", 9.995, 2, "10,00"},
      {"carry into a new digit", 99999.9999, 2, "100000,00"},
      {"tiny value", 0.004, 2, "0,00"},
      {"tiny value that rounds up", 0.005, 2, "0,01"},
      {"a negative rounding to zero has no minus", -0.004, 2, "0,00"},
      {"sum with binary noise", 0.1 + 0.2, 2, "0,30"},
      {"whole number beyond 15 digits", 1e20, 2, "100000000000000000000,00"},
  };
  use(decimalComma());
  numberFormat().amountFormat = 'T';
  numberFormat().currencySymbol = 'X';
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = FormatAmount(c.value, c.decimals, 'N');
    ASSERT_EQ(text.substr(0, 2), "X ");
    const std::size_t first = text.find_first_not_of(' ', 2);
    EXPECT_EQ(text.substr(first), c.number);
  }
}

TEST_F(ConversionsTest, FormatAmountNegativeBlankFollowsTheValueNotTheText) {
  use(decimalComma());
  // -0.004 shows as 0,00 but is still below -0.0000001, so it gets the extra blank.
  EXPECT_EQ(FormatAmount(-0.004, 2, 'N'), " " + blanks(18) + "0,00 " + std::string{kEuro});
  EXPECT_EQ(FormatAmount(-0.00000001, 2, 'N'), blanks(18) + "0,00 " + std::string{kEuro});
}

// --- NormalizeAmountText -----------------------------------------------------------------

TEST_F(ConversionsTest, NormalizeAmountTextFormatsWithSystemDecimalsAndGrouping) {
  struct Case {
    const char* name;
    NumberFormat format;
    std::string typed;
    std::string expected;
  };
  const std::string euro{kEuro};
  const Case cases[] = {
      {"decimal comma", decimalComma(), "1234,5", blanks(8) + " 1.234,50 " + euro},
      {"decimal point", decimalPoint(), "1234.5", blanks(8) + " 1,234.50 $"},
      {"system decimals 0", withDecimals(decimalComma(), 0), "1234,5",
       blanks(14) + " 1.235 " + euro},
      {"symbol in front", withAmountFormat(decimalComma(), 'T'), "-5",
       euro + "  " + blanks(12) + "  -5,00"},
      {"empty field", decimalComma(), "", blanks(14) + "  0,00 " + euro},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    use(c.format);
    std::string text = c.typed;
    NormalizeAmountText(text);
    EXPECT_EQ(text, c.expected);
    // A field left twice keeps its text: the formatted amount parses back to itself.
    std::string again = text;
    NormalizeAmountText(again);
    EXPECT_EQ(again, text);
  }
}

TEST_F(ConversionsTest, NormalizeAmountTextLeavesABadTextAlone) {
  use(decimalComma());
  std::string text = "1-2";
  EXPECT_THROW(NormalizeAmountText(text), ConversionError);
  EXPECT_EQ(text, "1-2");
}

// --- Dates -------------------------------------------------------------------------------

TEST(DateConversions, DateToTextAndBack) {
  const Date march5{year{2008}, month{3}, day{5}};
  EXPECT_EQ(DateToText(march5), "20080305");
  EXPECT_EQ(TextToDate("20080305"), march5);
  EXPECT_EQ(DateToText(Date{year{2200}, month{12}, day{31}}), "22001231");
  // TextToDate is bound by the calendar, not by the range of IsValidDateText.
  EXPECT_EQ(TextToDate("18000101"), (Date{year{1800}, month{1}, day{1}}));
}

TEST(DateConversions, TextToDateRejectsNoCalendarDate) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"29 February of a common year", "20090229"},
      {"2100 is no leap year", "21000229"},
      {"month 13", "20081301"},
      {"month 0", "20080001"},
      {"day 0", "20080300"},
      {"31 April", "20080431"},
      {"year 0", "00000101"},
      {"seven digits", "2008035"},
      {"nine digits", "200803051"},
      {"separators", "2008-3-5"},
      {"letters", "abcdefgh"},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      TextToDate(c.text);
      ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + c.text + "\""), std::string::npos) << e.what();
    }
  }
}

TEST(DateConversions, IsValidDateText) {
  struct Case {
    const char* name;
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"29 February of a leap year", "20080229", true},
      {"29 February of a common year", "20090229", false},
      {"before 1990", "19891231", false},
      {"first day of 1990", "19900101", true},
      {"last day of 2200", "22001231", true},
      {"after 2200", "22010101", false},
      {"seven digits", "2008030", false},
      {"nine digits", "200803051", false},
      {"a letter", "2008a305", false},
      {"a blank", "2008 305", false},
      {"month 0", "20080001", false},
      {"month 13", "20081301", false},
      {"day 0", "20080100", false},
      {"31 in a 30-day month", "20080431", false},
      {"30 in a 30-day month", "20080430", true},
      {"31 in a 31-day month", "20081231", true},
      {"32", "20080132", false},
      // The rule takes every fourth year as a leap year.
      {"29 February 2100", "21000229", true},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidDateText(c.text), c.valid);
  }
}

// Every day number of every month from 1990 to 2200: the text of a real date is valid and
// converts back to the same date; no other text is valid, except 29 February of 2100 and
// 2200.
TEST(DateConversions, RoundTripOverTheWholeValidRange) {
  for (int y = 1990; y <= 2200; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      for (unsigned d = 1; d <= 31; ++d) {
        const Date date{year{y}, month{m}, day{d}};
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02u%02u", y, m, d);
        if (date.ok()) {
          ASSERT_EQ(DateToText(date), text);
          ASSERT_TRUE(IsValidDateText(text)) << text;
          ASSERT_EQ(TextToDate(text), date) << text;
        } else {
          ASSERT_EQ(IsValidDateText(text), y % 100 == 0 && m == 2 && d == 29) << text;
          ASSERT_THROW(TextToDate(text), ConversionError) << text;
        }
      }
    }
  }
}

TEST(DateConversions, TimestampIsTodayInDayMonthYearOrder) {
  const Date before = today();
  const std::string stamp = currentTimestamp();
  const Date after = today();

  ASSERT_EQ(stamp.size(), 19u);
  const std::string pattern = "dd-dd-dddd dd:dd:dd";
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    SCOPED_TRACE(i);
    if (pattern[i] == 'd') {
      EXPECT_TRUE(stamp[i] >= '0' && stamp[i] <= '9') << stamp;
    } else {
      EXPECT_EQ(stamp[i], pattern[i]) << stamp;
    }
  }
  const std::string asDateText = stamp.substr(6, 4) + stamp.substr(3, 2) + stamp.substr(0, 2);
  EXPECT_TRUE(asDateText == DateToText(before) || asDateText == DateToText(after)) << stamp;
  EXPECT_TRUE(before.ok());
}

// --- LastPos and the entry field filters -------------------------------------------------

TEST(LastPos, FindsTheStartOfTheLastOccurrence) {
  struct Case {
    const char* name;
    std::string search;
    std::string text;
    int expected;
  };
  const Case cases[] = {
      {"last of two", "ab", "xxabyab", 6},
      {"only at the start", "ab", "abxx", 1},
      {"not there", "ab", "xyz", 0},
      {"text shorter than the search text", "abc", "ab", 0},
      {"overlapping occurrences", "aa", "aaa", 2},
      {"whole text", "x", "x", 1},
      {"empty text", "x", "", 0},
      {"empty search text", "", "abc", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LastPos(c.search, c.text), c.expected);
  }
}

TEST(IntegerFieldFilter, KeepsDigitsAndALeadingMinus) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"letter and inner minus dropped", "12a-3", "123"},
      {"leading minus kept", "-45", "-45"},
      {"second minus dropped", "--4", "-4"},
      {"trailing minus dropped", "4-", "4"},
      {"minus after a leading blank dropped", " -4", "4"},
      {"separators dropped", "1.234,5", "12345"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    IntegerFieldFilter(text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST_F(ConversionsTest, DecimalFieldFilter) {
  struct Case {
    const char* name;
    NumberFormat format;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"cut to two decimals", decimalComma(), "12,345", "12,34"},
      {"separator as first character dropped", decimalComma(), ",5", "5"},
      {"thousands point dropped", decimalComma(), "1.000,5", "1000,5"},
      {"second separator dropped, digits go on", decimalComma(), "1,2,3", "1,23"},
      {"minus after all decimals dropped", decimalComma(), "12,34-", "12,34"},
      {"minus kept", decimalComma(), "-12", "-12"},
      {"other characters dropped", decimalComma(), std::string{kEuro} + " 1a2", "12"},
      {"leading blanks kept", decimalComma(), "  12,5", "  12,5"},
      {"separator after leading blanks kept", decimalComma(), " ,5", " ,5"},
      {"a single blank becomes empty", decimalComma(), " ", ""},
      {"two blanks stay", decimalComma(), "  ", "  "},
      {"empty", decimalComma(), "", ""},
      {"decimal point: cut to two decimals", decimalPoint(), "12.345", "12.34"},
      {"decimal point: thousands comma dropped", decimalPoint(), "1,000.5", "1000.5"},
      {"decimal point: separator first dropped", decimalPoint(), ".5", "5"},
      {"three system decimals", withDecimals(decimalComma(), 3), "1,23456", "1,234"},
      {"0 system decimals keep every digit", withDecimals(decimalComma(), 0), "12,345", "12,345"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    use(c.format);
    std::string text = c.text;
    DecimalFieldFilter(text, false);
    EXPECT_EQ(text, c.expected);
  }
}

TEST_F(ConversionsTest, DecimalFieldFilterLeavesTheTextWhenSuppressed) {
  use(decimalComma());
  std::string text = "x12,345 ";
  DecimalFieldFilter(text, true);
  EXPECT_EQ(text, "x12,345 ");
}

}  // namespace
}  // namespace tallymoor
