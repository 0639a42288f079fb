#include "records/byte_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tallymoor {

std::uint8_t ByteReader::u8(std::size_t offset) const {
  return offset < bytes_.size() ? bytes_[offset] : 0;
}

std::int16_t ByteReader::i16(std::size_t offset) const {
  return static_cast<std::int16_t>(u8(offset) | (u8(offset + 1) << 8));
}

std::int32_t ByteReader::i32(std::size_t offset) const {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | u8(offset + i);
  return static_cast<std::int32_t>(v);
}

double ByteReader::f64(std::size_t offset) const {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | u8(offset + i);
  return std::bit_cast<double>(v);
}

std::string ByteReader::text(std::size_t offset, std::size_t capacity) const {
  if (offset >= bytes_.size()) return {};
  // Never past the end of the record, whatever the length byte claims.
  std::size_t length = std::min({std::size_t{u8(offset)}, capacity, bytes_.size() - offset - 1});
  std::string result;
  result.reserve(length);
  for (std::size_t i = 0; i < length; ++i) result.push_back(static_cast<char>(u8(offset + 1 + i)));
  return result;
}

Bytes ByteReader::raw(std::size_t offset, std::size_t width) const {
  Bytes result(width, 0);
  for (std::size_t i = 0; i < width; ++i) result[i] = u8(offset + i);
  return result;
}

void ByteWriter::u8(std::size_t offset, std::uint8_t value) {
  if (offset < bytes_.size()) bytes_[offset] = value;
}

void ByteWriter::i16(std::size_t offset, std::int16_t value) {
  auto v = static_cast<std::uint16_t>(value);
  u8(offset, v & 0xff);
  u8(offset + 1, v >> 8);
}

void ByteWriter::i32(std::size_t offset, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) u8(offset + i, (v >> (8 * i)) & 0xff);
}

void ByteWriter::f64(std::size_t offset, double value) {
  auto v = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) u8(offset + i, (v >> (8 * i)) & 0xff);
}

void ByteWriter::text(std::size_t offset, std::size_t capacity, std::string_view value) {
  std::size_t length = std::min({value.size(), capacity, std::size_t{255}});
  u8(offset, static_cast<std::uint8_t>(length));
  for (std::size_t i = 0; i < capacity; ++i)
    u8(offset + 1 + i, i < length ? static_cast<std::uint8_t>(value[i]) : 0);
}

void ByteWriter::raw(std::size_t offset, std::span<const std::uint8_t> value) {
  for (std::size_t i = 0; i < value.size(); ++i) u8(offset + i, value[i]);
}

}  // namespace tallymoor
