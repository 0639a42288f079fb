#include "accounts/gl_account_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tallymoor {
namespace {

TEST(GlAccountOrder, NumbersSortAsPlainTextByteByByte) {
  struct Case {
    const char* name;
    std::vector<std::string> numbers;
    std::vector<std::string> sorted;
  };
  const std::vector<Case> cases = {
      {"digits sort as text", {"20", "1000", "100"}, {"100", "1000", "20"}},
      {"a leading zero", {"1", "0100", "010", "02"}, {"010", "0100", "02", "1"}},
      {"upper before lower case", {"b", "B", "a"}, {"B", "a", "b"}},
      {"bytes above 127 after ASCII", {"\xe9t\xe9", "z", "9"}, {"9", "z", "\xe9t\xe9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> numbers = c.numbers;
    std::sort(numbers.begin(), numbers.end(), accountNumberLess);
    EXPECT_EQ(numbers, c.sorted);
  }
}

TEST(GlAccountOrder, ANewNumberGoesBeforeTheFirstGreaterOne) {
  const std::vector<std::string> list = {"010", "02", "1000"};
  struct Case {
    const char* name;
    const char* number;
    std::size_t position;
  };
  const std::vector<Case> cases = {
      {"between a prefix and the next", "0100", 1},
      {"before everything", "0", 0},
      {"after everything", "9", 3},
      {"an equal number goes after it", "02", 2},
      {"a byte above 127", "\xe9", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(accountInsertPosition(list, c.number), c.position);
  }
  EXPECT_EQ(accountInsertPosition({}, "1000"), 0u);
}

TEST(GlAccountOrder, TheFileOrderIsAscendingNumber) {
  auto chart = [](std::initializer_list<const char*> numbers) {
    std::vector<GlAccountRecord> accounts;
    for (const char* number : numbers) accounts.emplace_back().number = number;
    return accounts;
  };
  EXPECT_TRUE(isInAccountOrder(chart({"100", "1000", "20"})));
  EXPECT_TRUE(isInAccountOrder(chart({})));
  EXPECT_FALSE(isInAccountOrder(chart({"100", "20", "1000"})));
  EXPECT_FALSE(isInAccountOrder(chart({"\xe9", "z"})));
}

}  // namespace
}  // namespace tallymoor
