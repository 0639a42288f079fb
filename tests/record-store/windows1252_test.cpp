#include "record-store/windows1252.h"

#include <gtest/gtest.h>

namespace tallymoor {
namespace {

TEST(Windows1252, ConvertsBothWaysAndMarksWhatItCannotHold) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string stored;
    bool roundTrips;
  };
  const Case cases[] = {
      {"plain ASCII", "Cash 1000", "Cash 1000", true},
      {"Latin-1 letters",
       "Fran\xC3\xA7"
       "ais \xC3\xA9t\xC3\xA9",
       "Fran\xE7"
       "ais \xE9t\xE9",
       true},
      {"euro sign lies in the 0x80 row", "\xE2\x82\xAC 12,50", "\x80 12,50", true},
      {"typographic quotes", "\xE2\x80\x9Cq\xE2\x80\x9D", "\x93q\x94", true},
      {"a character outside the code page", "\xE2\x82\xBD", "?", false},
      {"a character beyond the basic plane", "\xF0\x9F\x98\x80x", "?x", false},
      {"a malformed byte",
       std::string("a\xFF"
                   "b"),
       "a?b", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8ToWindows1252(c.utf8), c.stored);
    if (c.roundTrips) {
      EXPECT_EQ(windows1252ToUtf8(c.stored), c.utf8);
    }
  }
}

}  // namespace
}  // namespace tallymoor
