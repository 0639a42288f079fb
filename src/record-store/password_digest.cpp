#include "record-store/password_digest.h"

namespace tallymoor {
namespace {

// The Windows-1252 code of the 1-based `position`; a stamp too short to have it gives 0.
std::uint32_t codeAt(std::string_view text, std::size_t position) {
  return position <= text.size() ? static_cast<unsigned char>(text[position - 1]) : 0u;
}

}  // namespace

std::int32_t PasswordDigest(std::string_view password, std::string_view stamp) {
  // Unsigned arithmetic wraps around modulo 2^32 exactly as the 32-bit signed digest does.
  std::uint32_t digest = 13u * codeAt(stamp, 9) + 71u * codeAt(stamp, 18) + 12841u;
  static constexpr std::int32_t kFactors[] = {-7, 8, -5, 2};
  for (std::size_t k = 1; k <= password.size(); ++k) {
    const std::int32_t f = kFactors[(k - 1) % 4];
    const std::uint32_t code = static_cast<unsigned char>(password[k - 1]);
    digest += (code - static_cast<std::uint32_t>(5 * f)) * static_cast<std::uint32_t>(f) *
              static_cast<std::uint32_t>(k);
  }
  return static_cast<std::int32_t>(digest);
}

}  // namespace tallymoor
