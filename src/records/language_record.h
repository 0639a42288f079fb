#pragma once
// One language of "vlt010005.lan": 11354 bytes of texts, each a string[N] at a fixed
// offset. The record is kept as raw bytes; a text is read at its offset.

#include <string>

#include "records/byte_codec.h"

namespace tallymoor {

class LanguageRecord {
 public:
  static constexpr std::size_t kSize = 11354;

  LanguageRecord() : bytes_(kSize, 0) {}
  static LanguageRecord decode(const Bytes& bytes);
  const Bytes& encode() const { return bytes_; }

  // The text at `offset`: its length byte and the characters after it, never reading past
  // the end of the record.
  std::string textAt(std::size_t offset) const;
  // The language name, the key of the record.
  std::string name() const { return textAt(0); }

 private:
  Bytes bytes_;
};

}  // namespace tallymoor
