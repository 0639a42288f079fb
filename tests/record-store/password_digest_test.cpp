#include "record-store/password_digest.h"

#include <gtest/gtest.h>

#include <string>

namespace tallymoor {
namespace {

// Character 9 is '0' (48), character 18 is '3' (51):
// base = 13 * 48 + 71 * 51 + 12841 = 624 + 3621 + 12841 = 17086.
const std::string kStamp = "05-03-2008 14:27:36";

// Expected values worked out by hand from the rule
//   digest = 13 * stamp[9] + 71 * stamp[18] + 12841 + sum over k of (p[k] - 5f) * f * k
// with f cycling -7, 8, -5, 2.
TEST(PasswordDigest, HandComputedValues) {
  struct Case {
    const char* name;
    std::string password;
    std::string stamp;
    std::int32_t expected;
  };
  const Case cases[] = {
      // Step 1 alone.
      {"empty password", "", kStamp, 17086},
      // a: (97 + 35) * -7 * 1 = -924; b: (98 - 40) * 8 * 2 = 928;
      // c: (99 + 25) * -5 * 3 = -1860; 17086 - 1856 = 15230.
      {"abc", "abc", kStamp, 15230},
      // Characters 9 and 18 of "31-12-2009 23:59:59" are '0' (48) and '5' (53):
      // 624 + 3763 + 12841 = 17228. A = 65: -700 + 400 - 1350 + 440, and the cycle starts
      // again at k = 5: (65 + 35) * -7 * 5 = -3500; 17228 - 4710 = 12518.
      {"factor cycle restarts at 5", "AAAAA", "31-12-2009 23:59:59", 12518},
      // The euro sign counts as 128, not as a negative char: (128 + 35) * -7 = -1141.
      {"Windows-1252 byte above 127", "\x80", kStamp, 15945},
      // z = 122. Block m (k = 4m+1 .. 4m+4) adds
      //   -1099(4m+1) + 656(4m+2) - 735(4m+3) + 224(4m+4) = -3816m - 1096;
      // m = 0..3 give -1096 - 4912 - 8728 - 12544 = -27280; 17086 - 27280 = -10194.
      {"16 characters, negative digest", std::string(16, 'z'), kStamp, -10194},
      // 0xFF = 255. Block m adds -2030(4m+1) + 1720(4m+2) - 1400(4m+3) + 490(4m+4)
      //   = -4880m - 830; m = 0..999 give -4880 * 499500 - 830000 = -2438390000;
      // 17086 - 2438390000 = -2438372914, + 2^32 = 1856594382.
      {"wraps around 32 bits", std::string(4000, '\xFF'), kStamp, 1856594382},
      // A missing character counts as 0; the 9th of "123456789" is '9' (57):
      // 13 * 57 + 12841 = 13582.
      {"stamp without an 18th character", "", "123456789", 13582},
      {"empty stamp", "", "", 12841},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PasswordDigest(c.password, c.stamp), c.expected);
  }
}

// Only characters 9 and 18 of the stamp matter.
TEST(PasswordDigest, StampsDifferingAtCharacter9Or18GiveDifferentDigests) {
  struct Case {
    const char* name;
    std::string otherStamp;
    bool differs;
  };
  const Case cases[] = {
      {"9th character (decade)", "05-03-2018 14:27:36", true},
      {"18th character (tens of seconds)", "05-03-2008 14:27:46", true},
      {"both", "05-03-2018 14:27:46", true},
      {"day and minutes only", "06-03-2008 14:28:36", false},
      {"19th character (seconds)", "05-03-2008 14:27:37", false},
      {"characters after 18 ignored", "05-03-2008 14:27:36 extra", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t same = PasswordDigest("secret1", kStamp);
    EXPECT_EQ(PasswordDigest("secret1", c.otherStamp) != same, c.differs);
  }
}

// Raising the k-th character by one adds its factor times k: -7 for the first.
TEST(PasswordDigest, RaisingOneCharacterAddsFactorTimesPosition) {
  const std::int32_t factors[] = {-7, 8, -5, 2, -7, 8, -5, 2, -7, 8, -5, 2, -7, 8};
  const std::string password = "Passw0rd-12345";  // 14 characters: beyond the 12 of the forms
  const std::int32_t digest = PasswordDigest(password, kStamp);
  for (std::size_t k = 1; k <= password.size(); ++k) {
    SCOPED_TRACE(k);
    std::string raised = password;
    ++raised[k - 1];
    EXPECT_EQ(PasswordDigest(raised, kStamp) - digest,
              factors[k - 1] * static_cast<std::int32_t>(k));
  }
}

TEST(PasswordDigest, LongPasswordsAreDigestedOverTheirWholeLength) {
  const std::string twelve = "abcdefghijkl";
  // The 13th character m (109) adds (109 + 35) * -7 * 13 = -13104.
  EXPECT_EQ(PasswordDigest(twelve + "m", kStamp) - PasswordDigest(twelve, kStamp), -13104);
  EXPECT_NE(PasswordDigest(twelve + "m", kStamp), PasswordDigest(twelve + "n", kStamp));
}

}  // namespace
}  // namespace tallymoor
