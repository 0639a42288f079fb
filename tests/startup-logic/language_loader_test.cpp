#include "startup/language_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "records/byte_codec.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

std::string languageRecord(const std::string& name, const std::string& yes) {
  ByteWriter w(LanguageRecord::kSize);
  w.text(0, 20, name);
  w.text(446, 6, yes);
  Bytes bytes = std::move(w).bytes();
  return std::string(bytes.begin(), bytes.end());
}

class LanguageLoaderTest : public ::testing::Test {
 protected:
  testing::TempDirectory start;
  RecordStore store{start.path()};
};

TEST_F(LanguageLoaderTest, FindsTheExactNameOrTakesTheLastRecord) {
  testing::writeFile(start / "vlt010005.lan", languageRecord("English", "Yes") +
                                                  languageRecord("Nederlands", "Ja") +
                                                  languageRecord("Deutsch", "Ja!"));
  struct Case {
    const char* wanted;
    const char* loaded;
  };
  const Case cases[] = {{"English", "English"},
                        {"Nederlands", "Nederlands"},
                        {"nederlands", "Deutsch"},  // no match: the comparison is exact
                        {"", "Deutsch"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wanted);
    LanguageRecord current;
    ASSERT_TRUE(loadLanguage(store, c.wanted, current));
    EXPECT_EQ(current.name(), c.loaded);
    EXPECT_FALSE(store.isSetOpen());
  }
}

TEST_F(LanguageLoaderTest, AnEmptyFileOrAFailedOpenLeavesTheCurrentTexts) {
  testing::writeFile(start / "vlt010005.lan", languageRecord("English", "Yes"));
  LanguageRecord current;
  ASSERT_TRUE(loadLanguage(store, "English", current));

  testing::writeFile(start / "vlt010005.lan", "");
  EXPECT_TRUE(loadLanguage(store, "English", current));
  EXPECT_EQ(current.textAt(446), "Yes");

  ::chmod((start / "vlt010005.lan").c_str(), 0444);
  testing::AsUnprivilegedUser unprivileged;
  EXPECT_FALSE(loadLanguage(store, "English", current));
  EXPECT_EQ(store.FileErrorText, "IO errorcode: LAN5");
  EXPECT_EQ(current.textAt(446), "Yes");
  EXPECT_FALSE(store.isSetOpen());
}

TEST(LanguageRecordBeforeAnyLoad, AllTextsAreEmpty) {
  LanguageRecord current;
  EXPECT_EQ(current.textAt(0), "");
  EXPECT_EQ(current.textAt(9567), "");
}

}  // namespace
}  // namespace tallymoor
