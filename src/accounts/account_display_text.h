#pragma once
// How an account is offered in a pick list: its number, "{", its caption and "}" run
// together ("1000{Cash}"). A choice from such a list is taken back as the number alone.

#include <string>
#include <string_view>

#include "records/gl_account_record.h"

namespace tallymoor {

std::string accountDisplayText(std::string_view number, std::string_view caption);
std::string accountDisplayText(const GlAccountRecord& account);

// The part before the first "{"; the whole text when it has none (a number typed by hand).
std::string accountNumberFromDisplayText(std::string_view text);

}  // namespace tallymoor
