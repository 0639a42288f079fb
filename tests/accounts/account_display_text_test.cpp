#include "accounts/account_display_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallymoor {
namespace {

TEST(AccountDisplayText, NumberAndCaptionRunTogetherInBraces) {
  GlAccountRecord cash;
  cash.number = "1000";
  cash.caption = "Cash";
  EXPECT_EQ(accountDisplayText(cash), "1000{Cash}");
  EXPECT_EQ(accountDisplayText("0800", ""), "0800{}");
}

TEST(AccountDisplayText, TheNumberIsThePartBeforeTheFirstBrace) {
  struct Case {
    const char* name;
    const char* text;
    const char* number;
  };
  const std::vector<Case> cases = {
      {"a listed account", "1000{Cash}", "1000"},
      {"a caption holding braces", "4000{Sales {high} rate}", "4000"},
      {"a number typed by hand", "1000", "1000"},
      {"blanks kept", " 10 {Odd}", " 10 "},
      {"nothing before the brace", "{Cash}", ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(accountNumberFromDisplayText(c.text), c.number);
  }
}

TEST(AccountDisplayText, AListedAccountGivesItsNumberBack) {
  for (const char* number : {"1000", "0100", "20", "A-1"})
    EXPECT_EQ(accountNumberFromDisplayText(accountDisplayText(number, "Some {caption}")), number);
}

}  // namespace
}  // namespace tallymoor
