#include "help/forms/help_form.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTreeWidget>
#include <filesystem>
#include <set>

#include "platform/rich_text_view.h"
#include "record-store/record_store.h"
#include "records/system_parameters_record.h"
#include "support/program_harness.h"

namespace tallymoor {
namespace {

using testing::ProgramHarness;

// A help text of the viewer's structure: two prologue lines, the body start, headings.
std::string helpText(const std::string& language) {
  return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\n"
         "\\f0\\fs20 " +
         language +
         " help\\par\n"
         "Version 1\\par\n"
         "<0>Welcome " +
         language +
         "\\par\n"
         "{\\b <1>Getting started}\\par\n"
         "Text of getting started.\\par\n"
         "{\\b <2><ADM00>Administrations}\\par\n"
         "About administrations.\\par\n"
         "{\\b <2><SYS00>System settings}\\par\n"
         "About the settings.\\par\n"
         "{\\b <1><MEN00>Main menu}\\par\n"
         "About the menu.\\par\n"
         "<1>End of help\\par\n}";
}

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* language : {"english", "Deutsch", "Nederlands"})
      testing::writeFile(harness.path(std::string("help") + language + ".rtf"), helpText(language));
  }

  // Shows the viewer for a caller with this marker and language, as every form does.
  HelpForm* showHelp(const QString& marker, const QString& language) {
    auto* viewer = static_cast<HelpForm*>(harness.form("Thelpform"));
    HelpBlock block;
    block.languageName = language;
    viewer->setHelpBlock(block);
    viewer->setPendingMarker(marker);
    harness.program().mainForm()->showModalHidingCaller(viewer);
    harness.processEvents();
    return viewer;
  }

  QStringList treeTexts(HelpForm* viewer) {
    QStringList texts;
    auto* tree = viewer->findChild<QTreeWidget*>("TreeView1");
    for (QTreeWidgetItemIterator it(tree); *it; ++it) texts << (*it)->text(0);
    return texts;
  }

  QString viewLine(HelpForm* viewer, int line) {
    return viewer->view()->document()->findBlockByNumber(line).text();
  }

  ProgramHarness harness;
};

TEST_F(HelpViewerTest, ShowsTheTextWithoutTagsAtTheCallersChapter) {
  harness.start();
  HelpForm* viewer = showHelp("<ADM00>", "English");
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_FALSE(harness.program().mainForm()->isVisible());
  EXPECT_EQ(viewer->helpFileName(), "helpenglish.rtf");
  EXPECT_EQ(viewer->windowTitle(), " Tallymoor : Help");
  EXPECT_EQ(viewLine(viewer, 0), "Welcome english") << "the prologue is gone";
  EXPECT_EQ(viewLine(viewer, 3), "Administrations");
  EXPECT_EQ(viewer->caretLine(), 3);
  EXPECT_EQ(treeTexts(viewer), (QStringList{"Tallymoor help", "Getting started", "Administrations",
                                            "System settings", "Main menu"}))
      << "the end mark is left out of the tree";
  EXPECT_EQ(viewLine(viewer, 9), "End of help") << "but stays in the view";
  // The heading keeps its formatting once the tag is gone.
  EXPECT_TRUE(viewer->view()
                  ->document()
                  ->findBlockByNumber(3)
                  .begin()
                  .fragment()
                  .charFormat()
                  .fontWeight() >= QFont::Bold);

  harness.run("Thelpform", "Button1Click");
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_TRUE(harness.program().mainForm()->isVisible());
  EXPECT_TRUE(harness.desktop().messages.isEmpty());
}

TEST_F(HelpViewerTest, ClickingAChapterAndSwitchingLanguage) {
  harness.start();
  HelpForm* viewer = showHelp("<SYS00>", "Nederlands");
  EXPECT_EQ(viewer->helpFileName(), "helpNederlands.rtf");
  EXPECT_EQ(viewer->caretLine(), 5);

  auto* tree = viewer->findChild<QTreeWidget*>("TreeView1");
  tree->setCurrentItem(tree->topLevelItem(0)->child(1));  // "Main menu"
  harness.run("Thelpform", "positierichedit");
  EXPECT_EQ(viewer->caretLine(), 7);

  // Another language returns to the caller's chapter, not to the one last read.
  auto* combo = viewer->findChild<QComboBox*>("ComboBox1");
  combo->setCurrentText("Deutsch");
  harness.run("Thelpform", "ComboBox1Change");
  EXPECT_EQ(viewer->helpFileName(), "helpDeutsch.rtf");
  EXPECT_EQ(viewLine(viewer, 0), "Welcome Deutsch");
  EXPECT_EQ(viewer->caretLine(), 5);
}

TEST_F(HelpViewerTest, MissingFilesFallBackToEnglishAfterOneMessage) {
  std::filesystem::remove(harness.path("helpDeutsch.rtf"));
  harness.start();
  struct Case {
    const char* name;
    const char* language;
    const char* file;
  };
  const Case cases[] = {{"a language without a help text", "Fran\u00e7ais", "helpenglish.rtf"},
                        {"a missing German text", "Deutsch", "helpenglish.rtf"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    harness.desktop().messages.clear();
    HelpForm* viewer = showHelp("<MEN00>", QString::fromUtf8(c.language));
    EXPECT_EQ(viewer->helpFileName(), c.file);
    EXPECT_EQ(viewLine(viewer, 0), "Welcome english");
    EXPECT_EQ(viewer->caretLine(), 7);
    viewer->close();
  }
  ASSERT_EQ(harness.desktop().messages.size(), 1);
  EXPECT_TRUE(harness.desktop().messages[0].startsWith("IO errorcode: hen2 "));

  // No English text either: the message, an empty view, no crash.
  std::filesystem::remove(harness.path("helpenglish.rtf"));
  harness.desktop().messages.clear();
  HelpForm* viewer = showHelp("<MEN00>", "English");
  EXPECT_EQ(harness.desktop().messages.size(), 1);
  EXPECT_TRUE(viewer->view()->document()->isEmpty());
  EXPECT_EQ(treeTexts(viewer), QStringList{"Tallymoor help"});
  EXPECT_FALSE(recordStore().isSetOpen());
}

TEST_F(HelpViewerTest, BrokenTextsShowWhatTheyCan) {
  harness.start();
  struct Case {
    const char* name;
    std::string text;
    QString firstLine;
  };
  const Case cases[] = {
      {"unbalanced braces", "{\\rtf1 {\\b <0>Start\\par <1>One\\par", "Start"},
      {"truncated in a control word", "{\\rtf1 <0>Start\\par <1>Two\\par \\fs2", "Start"},
      {"not RTF at all", "plain\n<0>Start\n<1>Three\n", "Start"},
      {"no heading at all", "{\\rtf1 just a line\\par}", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::writeFile(harness.path("helpenglish.rtf"), c.text);
    HelpForm* viewer = showHelp("", "English");
    EXPECT_EQ(viewLine(viewer, 0), c.firstLine);
    viewer->close();
  }
  EXPECT_TRUE(harness.desktop().messages.isEmpty());
}

TEST_F(HelpViewerTest, F1OnAFormOpensItsChapterInTheLanguageOfTheSystemSettings) {
  SystemParametersRecord sys;
  sys.languageName = "Deutsch";
  Bytes bytes = sys.encode();
  testing::writeFile(harness.path("sysparm010000.vlt"), std::string(bytes.begin(), bytes.end()));
  harness.start();
  Form* main = harness.program().mainForm();
  main->showHelp(main->helpMarker());
  harness.processEvents();
  auto* viewer = static_cast<HelpForm*>(harness.form("Thelpform"));
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_FALSE(main->isVisible());
  EXPECT_EQ(viewer->helpFileName(), "helpDeutsch.rtf");
  EXPECT_EQ(viewer->caretLine(), 7) << "the start screen asks for the main menu chapter";
}

// The help texts that ship with the program carry every chapter a form asks for.
TEST(ShippedHelpTexts, EveryMarkerIsReachableInEveryLanguage) {
  const std::set<std::string> markers = {"<MEN00>", "<TUT00>", "<ABO00>", "<SYS00>", "<USE00>",
                                         "<ADM00>", "<ADS00>", "<GLC00>", "<GLA00>", "<SUP00>",
                                         "<SUP02>", "<SUP03>", "<SUP04>", "<SUP05>", "<JVO00>",
                                         "<JVT00>", "<INV00>", "<INV01>", "<PAR00>", "<PAY00>",
                                         "<PAY01>", "<PAY02>", "<PAY03>", "<RAP00>", "<E&I00>"};
  ProgramHarness harness;
  for (const char* file : {"helpenglish.rtf", "helpNederlands.rtf", "helpDeutsch.rtf"})
    std::filesystem::copy_file(std::string(TALLYMOOR_SOURCE_DIR) + "/src/help/texts/" + file,
                               harness.path(file));
  harness.start();
  auto* viewer = static_cast<HelpForm*>(harness.form("Thelpform"));
  for (const char* language : {"English", "Nederlands", "Deutsch"}) {
    SCOPED_TRACE(language);
    for (const std::string& marker : markers) {
      SCOPED_TRACE(marker);
      HelpBlock block;
      block.languageName = language;
      viewer->setHelpBlock(block);
      viewer->setPendingMarker(QString::fromStdString(marker));
      harness.program().mainForm()->showModalHidingCaller(viewer);
      auto* tree = viewer->findChild<QTreeWidget*>("TreeView1");
      ASSERT_NE(tree->currentItem(), nullptr);
      EXPECT_NE(tree->currentItem(), tree->topLevelItem(0)) << "no heading carries the marker";
      EXPECT_GT(viewer->caretLine(), 0);
      viewer->close();
    }
  }
  EXPECT_TRUE(harness.desktop().messages.isEmpty());
}

}  // namespace
}  // namespace tallymoor
