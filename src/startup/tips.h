#pragma once
// The tips for new users that the start screen shows, per language.

#include <string>

namespace tallymoor {

inline constexpr int kTipCount = 4;
// The tips cycle 0, 1, 2, 0, ...: a start at the last tip goes on to the first.
inline constexpr int kTipCycleLimit = 2;

// Tip `index` (0 to 3) in the language of the system settings, as Windows-1252 text:
// Dutch for "Nederlands", German for "Deutsch", English for any other.
std::string tipText(const std::string& language, int index);

// The tip after `index`.
inline int nextTip(int index) { return index + 1 > kTipCycleLimit ? 0 : index + 1; }

}  // namespace tallymoor
