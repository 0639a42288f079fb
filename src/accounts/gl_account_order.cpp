#include "accounts/gl_account_order.h"

#include <algorithm>

namespace tallymoor {

bool accountNumberLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

std::size_t accountInsertPosition(const std::vector<std::string>& numbers,
                                  std::string_view number) {
  for (std::size_t i = 0; i < numbers.size(); ++i)
    if (accountNumberLess(number, numbers[i])) return i;
  return numbers.size();
}

bool isInAccountOrder(const std::vector<GlAccountRecord>& accounts) {
  return std::is_sorted(accounts.begin(), accounts.end(),
                        [](const GlAccountRecord& a, const GlAccountRecord& b) {
                          return accountNumberLess(a.number, b.number);
                        });
}

}  // namespace tallymoor
