#include "records/language_record.h"

#include <algorithm>

namespace tallymoor {

LanguageRecord LanguageRecord::decode(const Bytes& bytes) {
  LanguageRecord record;
  std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), record.bytes_.begin());
  return record;
}

std::string LanguageRecord::textAt(std::size_t offset) const {
  if (offset >= kSize) return {};
  std::size_t available = kSize - offset - 1;
  return ByteReader(bytes_).text(offset, std::min<std::size_t>(available, 255));
}

}  // namespace tallymoor
