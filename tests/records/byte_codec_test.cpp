#include "records/byte_codec.h"

#include <gtest/gtest.h>

namespace tallymoor {
namespace {

TEST(ByteCodec, IntegersAndDoublesAreLittleEndian) {
  ByteWriter w(16);
  w.i16(0, -2);
  w.i32(2, 0x12345678);
  w.f64(8, 1.0);
  const Bytes expected = {0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  EXPECT_EQ(w.bytes(), expected);

  ByteReader r(w.bytes());
  EXPECT_EQ(r.i16(0), -2);
  EXPECT_EQ(r.i32(2), 0x12345678);
  EXPECT_EQ(r.f64(8), 1.0);
}

TEST(ByteCodec, TextsAreLengthPrefixedCutAndZeroPadded) {
  struct Case {
    const char* name;
    std::string value;
    Bytes expected;  // string[4] at offset 1 of a 7-byte record
  };
  const Case cases[] = {
      {"short text, zeros after it", "ab", {0, 2, 'a', 'b', 0, 0, 0}},
      {"exact fit", "abcd", {0, 4, 'a', 'b', 'c', 'd', 0}},
      {"longer text is cut", "abcdef", {0, 4, 'a', 'b', 'c', 'd', 0}},
      {"empty", "", {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteWriter w(7);
    w.text(1, 4, c.value);
    EXPECT_EQ(w.bytes(), c.expected);
    EXPECT_EQ(ByteReader(w.bytes()).text(1, 4), c.value.substr(0, 4));
  }
}

TEST(ByteCodec, ReaderIgnoresBytesAfterTheTextAndClampsABadLength) {
  const Bytes stored = {2, 'a', 'b', 'x', 'y', 9, 'p', 'q'};
  ByteReader r(stored);
  EXPECT_EQ(r.text(0, 4), "ab");  // "xy" after the text is not part of it
  // A length byte above the capacity reads the capacity, never into the next field.
  EXPECT_EQ(r.text(5, 2), "pq");
  // Reading past the end of the record gives zeros, not a crash.
  EXPECT_EQ(r.i32(6), 'p' | ('q' << 8));
  EXPECT_EQ(r.text(7, 10), "");
}

TEST(ByteCodec, WriterNeverWritesOutsideTheRecord) {
  ByteWriter w(4);
  w.text(2, 10, "abcdef");
  w.i32(2, -1);
  EXPECT_EQ(w.bytes().size(), 4u);
  EXPECT_EQ(w.bytes(), (Bytes{0, 0, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace tallymoor
