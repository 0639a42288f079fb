#pragma once
// Record texts are Windows-1252 bytes; the forms work in UTF-8 (and QString). These two
// conversions are the only crossing between them.

#include <string>
#include <string_view>

namespace tallymoor {

// A character that Windows-1252 cannot hold becomes '?'; so does a malformed UTF-8 byte.
std::string utf8ToWindows1252(std::string_view utf8);
// The five byte values that Windows-1252 leaves undefined map to the C1 control characters.
std::string windows1252ToUtf8(std::string_view text);

}  // namespace tallymoor
