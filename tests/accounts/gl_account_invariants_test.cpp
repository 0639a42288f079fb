#include "accounts/gl_account_invariants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/gl_account_type.h"

namespace tallymoor {
namespace {

GlAccountRecord account(const std::string& number, const std::string& type = "D",
                        const std::string& category = "Assets") {
  GlAccountRecord a;
  a.number = number;
  a.type = type;
  a.category = category;
  return a;
}

using F = AccountFault;

TEST(GlAccountInvariants, EachBreachIsFoundAtTheAccountThatBreaksIt) {
  struct Case {
    const char* name;
    std::vector<GlAccountRecord> chart;
    std::vector<AccountFinding> findings;
  };
  const std::vector<Case> cases = {
      {"a valid chart", {account("100", "P"), account("1000", "T"), account("20", "C")}, {}},
      {"an empty chart", {}, {}},
      {"an empty number", {account("100"), account("")}, {{F::EmptyNumber, 1}}},
      {"a leading blank", {account(" 100")}, {{F::LeadingBlank, 0}}},
      {"a trailing blank is allowed", {account("100 ")}, {}},
      {"a number twice",
       {account("100"), account("200"), account("100")},
       {{F::DuplicateNumber, 2}}},
      {"numbers that differ in case only", {account("A1"), account("a1")}, {}},
      {"no category", {account("100", "D", "")}, {{F::EmptyCategory, 0}}},
      {"a second profit account",
       {account("1", "P"), account("2", "D"), account("3", "P")},
       {{F::SecondProfitAccount, 2}}},
      {"a second transfer account",
       {account("1", "T"), account("2", "T"), account("3", "T")},
       {{F::SecondTransferAccount, 1}, {F::SecondTransferAccount, 2}}},
      {"lower case letters are credit accounts", {account("1", "p"), account("2", "p")}, {}},
      {"several breaches of one account",
       {account("1"), account("1", "D", "")},
       {{F::DuplicateNumber, 1}, {F::EmptyCategory, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(checkAccountInvariants(c.chart), c.findings);
  }
}

TEST(GlAccountInvariants, AtMostOneHundredFiftyAccounts) {
  std::vector<GlAccountRecord> chart;
  for (int i = 0; i < 150; ++i) chart.push_back(account(std::to_string(1000 + i)));
  EXPECT_TRUE(checkAccountInvariants(chart).empty());
  chart.push_back(account("2000"));
  chart.push_back(account("2001"));
  EXPECT_EQ(checkAccountInvariants(chart),
            (std::vector<AccountFinding>{{F::TooManyAccounts, 150}}));
}

TEST(GlAccountType, OnlyPTAndDStandForThemselvesEverythingElseIsCredit) {
  struct Case {
    const char* stored;
    GlAccountType type;
    char letter;
  };
  const std::vector<Case> cases = {
      {"P", GlAccountType::Profit, 'P'}, {"T", GlAccountType::Transfer, 'T'},
      {"D", GlAccountType::Debit, 'D'},  {"C", GlAccountType::Credit, 'C'},
      {"", GlAccountType::Credit, 'C'},  {"X", GlAccountType::Credit, 'C'},
      {"d", GlAccountType::Credit, 'C'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    GlAccountRecord stored = GlAccountRecord::decode(account("1", c.stored).encode());
    EXPECT_EQ(accountType(stored), c.type);
    EXPECT_EQ(accountTypeLetter(accountType(stored)), c.letter);
  }
}

}  // namespace
}  // namespace tallymoor
