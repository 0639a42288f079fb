#pragma once
// The four account types: one profit account and one transfer account that the system
// books its results on, and debit and credit accounts, which say on which side an account
// normally carries its balance.

#include <string_view>

#include "records/gl_account_record.h"

namespace tallymoor {

enum class GlAccountType { Profit, Transfer, Debit, Credit };

// "P", "T" and "D" read as themselves; any other stored text, also an empty one, is credit.
GlAccountType accountTypeFromStored(std::string_view stored);
GlAccountType accountType(const GlAccountRecord& account);

// The letter stored for a type: "P", "T", "D" or "C".
char accountTypeLetter(GlAccountType type);

}  // namespace tallymoor
