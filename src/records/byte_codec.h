#pragma once
// Reading and writing the byte layouts of the record files: little-endian integers, IEEE
// doubles and length-prefixed Windows-1252 texts at explicit offsets.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallymoor {

using Bytes = std::vector<std::uint8_t>;

// Reads fields at offsets of one record; an offset outside the record reads as zero bytes.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t u8(std::size_t offset) const;
  std::int16_t i16(std::size_t offset) const;
  std::int32_t i32(std::size_t offset) const;
  double f64(std::size_t offset) const;
  char character(std::size_t offset) const { return static_cast<char>(u8(offset)); }
  bool boolean(std::size_t offset) const { return u8(offset) != 0; }
  // A string[capacity]: the length byte, then at most `capacity` bytes of text. A length
  // byte above the capacity is treated as the capacity.
  std::string text(std::size_t offset, std::size_t capacity) const;
  // Raw bytes, for reserved areas that are written back exactly as read.
  Bytes raw(std::size_t offset, std::size_t width) const;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Builds one record of a fixed size, zero-filled; every field write stays inside it.
class ByteWriter {
 public:
  explicit ByteWriter(std::size_t size) : bytes_(size, 0) {}

  void u8(std::size_t offset, std::uint8_t value);
  void i16(std::size_t offset, std::int16_t value);
  void i32(std::size_t offset, std::int32_t value);
  void f64(std::size_t offset, double value);
  void character(std::size_t offset, char value) { u8(offset, static_cast<std::uint8_t>(value)); }
  void boolean(std::size_t offset, bool value) { u8(offset, value ? 1 : 0); }
  // A string[capacity]: a longer text is cut to `capacity` bytes; the bytes after the text
  // stay zero.
  void text(std::size_t offset, std::size_t capacity, std::string_view value);
  void raw(std::size_t offset, std::span<const std::uint8_t> value);

  const Bytes& bytes() const& { return bytes_; }
  Bytes bytes() && { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

}  // namespace tallymoor
