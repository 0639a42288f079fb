#pragma once
// "ins.vlt": a language chosen by the installer ("DU", "GB", "NL"), or "XX" once the
// program has taken it over.

#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

struct InstallationLanguageRecord {
  static constexpr std::size_t kSize = 3;

  std::string code;  // string[2]

  static InstallationLanguageRecord decode(const Bytes& bytes) {
    return {ByteReader(bytes).text(0, 2)};
  }
  Bytes encode() const {
    ByteWriter w(kSize);
    w.text(0, 2, code);
    return std::move(w).bytes();
  }
};

}  // namespace tallymoor
