#pragma once
// Passwords are never stored: a user record holds the stamp at which the password was set
// and this 32-bit digest of password and stamp.

#include <cstdint>
#include <string_view>

namespace tallymoor {

// Both texts are Windows-1252 bytes. 32-bit arithmetic with wrap-around.
std::int32_t PasswordDigest(std::string_view password, std::string_view stamp);

}  // namespace tallymoor
