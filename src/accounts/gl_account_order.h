#pragma once
// The order of the GL account file: ascending account number, compared byte by byte as
// plain text, so "100" comes before "1000" and both before "20".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/gl_account_record.h"

namespace tallymoor {

// Byte-wise comparison of the stored numbers, each byte taken as unsigned.
bool accountNumberLess(std::string_view a, std::string_view b);

// Where a new account goes: before the first number that compares greater than `number`,
// or at the end.
std::size_t accountInsertPosition(const std::vector<std::string>& numbers, std::string_view number);

// Whether the accounts stand in ascending order of number (equal neighbours included).
bool isInAccountOrder(const std::vector<GlAccountRecord>& accounts);

}  // namespace tallymoor
