#include "startup/system_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "record-store/system_error.h"
#include "support/temp_directory.h"

namespace tallymoor {
namespace {

using namespace std::chrono;

TEST(SystemSettings, TheInstallersLanguageWinsOverTheStoredOne) {
  struct Case {
    const char* code;
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {{"NL", "English", "Nederlands"},    {"DU", "English", "Deutsch"},
                        {"GB", "Deutsch", "English"},       {"XX", "Deutsch", "Deutsch"},
                        {"FR", "Nederlands", "Nederlands"}, {"", "English", "English"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(shownLanguage(c.code, c.stored), c.shown);
  }
}

TEST(SystemSettings, TheNewsCheckMovesOnInStepsOfNinetyDays) {
  struct Case {
    const char* name;
    const char* newsDate;
    Date today;
    const char* setting;
    std::optional<std::string> due;
  };
  const Case cases[] = {
      {"steps past today", "20080101", 2008y / May / 20, "T", "20080629"},
      {"one step lands on today", "20080101", 2008y / March / 31, "T", "20080331"},
      {"not yet due", "20080520", 2008y / May / 20, "T", std::nullopt},
      {"news check off", "20080101", 2008y / May / 20, "F", std::nullopt},
      {"tips off, news on is never checked", "20080101", 2008y / May / 20, "U", std::nullopt},
      {"a broken date is left alone", "2008xx01", 2008y / May / 20, "T", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(dueNewsDate(c.newsDate, c.today, c.setting), c.due);
  }
}

TEST(SystemSettings, TheDirectoryTreeIsCreatedPartByPart) {
  testing::TempDirectory root;
  createDirectoryTree(root / "Acct/Data/");
  EXPECT_TRUE(std::filesystem::is_directory(root / "Acct/Data"));
  // Without a trailing separator the last part is a directory too; "empty" is skipped.
  createDirectoryTree(root / "Acct/empty/More");
  EXPECT_TRUE(std::filesystem::is_directory(root / "Acct/More"));
  EXPECT_FALSE(std::filesystem::exists(root / "Acct/empty"));
  // An existing tree is fine.
  EXPECT_NO_THROW(createDirectoryTree(root / "Acct/Data/"));

  testing::writeFile(root / "file", "");
  EXPECT_THROW(createDirectoryTree(root / "file/below/"), IoError);
}

TEST(SystemSettings, AChosenFileGivesItsDirectory) {
  EXPECT_EQ(directoryOfChosenFile("/srv/books/admin.vlt"), "/srv/books/");
  EXPECT_EQ(directoryOfChosenFile("/srv/books/forceerleeg.vlt"), "");
  EXPECT_EQ(directoryOfChosenFile("admin.vlt"), "");
}

}  // namespace
}  // namespace tallymoor
