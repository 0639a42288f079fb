#include "accounts/account_display_text.h"

namespace tallymoor {

std::string accountDisplayText(std::string_view number, std::string_view caption) {
  std::string text;
  text.reserve(number.size() + caption.size() + 2);
  text.append(number).append("{").append(caption).append("}");
  return text;
}

std::string accountDisplayText(const GlAccountRecord& account) {
  return accountDisplayText(account.number, account.caption);
}

std::string accountNumberFromDisplayText(std::string_view text) {
  return std::string(text.substr(0, text.find('{')));
}

}  // namespace tallymoor
