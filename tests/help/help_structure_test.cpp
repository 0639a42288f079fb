#include "help/help_structure.h"

#include <gtest/gtest.h>

namespace tallymoor {
namespace {

struct ExpectedNode {
  std::string text;
  int parent;
  int level;
  int line;
  std::string marker;
};

void expectNodes(const HelpStructure& help, const std::vector<ExpectedNode>& expected) {
  ASSERT_EQ(help.nodes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("node " + std::to_string(i));
    EXPECT_EQ(help.nodes[i].text, expected[i].text);
    EXPECT_EQ(help.nodes[i].parent, expected[i].parent);
    EXPECT_EQ(help.nodes[i].level, expected[i].level);
    EXPECT_EQ(help.nodes[i].line, expected[i].line);
    EXPECT_EQ(help.nodes[i].marker, expected[i].marker);
  }
}

TEST(HelpStructure, PrologueTagsAndMarkersMakeTheChapterTree) {
  std::vector<std::string> lines = {
      "Tallymoor",                    // prologue
      "User's guide",                 // prologue
      "<0>Welcome",                   // view line 0
      "<1>Getting started",           // 1
      "Some text <2> not a heading",  // 2
      "<2><ADM00>Administrations",    // 3
      "<3>Adding one",                // 4
      "<4>level four is body text",   // 5
      "<3><ADS00>Settings",           // 6
      "<1><MEN00>Main menu",          // 7
      "<3>Directly under level 1",    // 8
      "<2>Rights",                    // 9
      "<1>End of help",               // 10
  };
  HelpStructure help = buildHelpStructure(lines);
  EXPECT_EQ(help.prologueCount, 2u);
  EXPECT_EQ(lines[2], "Welcome");
  EXPECT_EQ(lines[3], "Getting started");
  EXPECT_EQ(lines[4], "Some text <2> not a heading");
  EXPECT_EQ(lines[5], "Administrations");
  EXPECT_EQ(lines[7], "<4>level four is body text");
  expectNodes(help, {
                        {kHelpRootText, -1, 0, 1, "%"},
                        {"Getting started", 0, 1, 1, "%"},
                        {"Administrations", 1, 2, 3, "<ADM00>"},
                        {"Adding one", 2, 3, 4, "%"},
                        {"Settings", 2, 3, 6, "<ADS00>"},
                        {"Main menu", 0, 1, 7, "<MEN00>"},
                        {"Directly under level 1", 5, 3, 8, "%"},
                        {"Rights", 5, 2, 9, "%"},
                        {"End of help", 0, 1, 10, "%"},
                    });
  EXPECT_EQ(help.endMarkLine, 10);
  help.dropEndMark();
  EXPECT_EQ(help.nodes.back().text, "Rights");
}

TEST(HelpStructure, TextsWithoutStructureStillGiveATree) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::size_t prologue;
    std::size_t nodes;
  };
  const Case cases[] = {
      {"no body start: everything is prologue", {"<1>Heading", "text"}, 2, 1},
      {"body without headings", {"title", "<0>text", "more"}, 1, 1},
      {"empty text", {}, 0, 1},
      {"a tag with nothing after it", {"<0>", "<1>", "<2><AB"}, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = c.lines;
    HelpStructure help = buildHelpStructure(lines);
    EXPECT_EQ(help.prologueCount, c.prologue);
    EXPECT_EQ(help.nodes.size(), c.nodes);
    help.dropEndMark();
    EXPECT_GE(help.nodes.size(), 1u) << "the root always stays";
  }
}

TEST(HelpStructure, HeadingsBeyondTheTablesKeepNoMarkerAndLeadToTheStart) {
  std::vector<std::string> lines = {"<0>start"};
  for (int i = 1; i <= 250; ++i)
    lines.push_back("<1><M" + std::to_string(100 + i) + "0>H" + std::to_string(i));
  HelpStructure help = buildHelpStructure(lines);
  ASSERT_EQ(help.nodes.size(), 251u);
  EXPECT_EQ(help.nodes[99].marker, "<M1990>");
  EXPECT_EQ(help.nodes[100].marker, "%");
  EXPECT_EQ(help.nodes[200].line, 200);
  EXPECT_EQ(help.nodes[201].line, 1);
  int line = 0;
  EXPECT_EQ(positionHelp(help, -1, "<M3500>", line), -1) << "its marker was never stored";
  EXPECT_EQ(line, 1);
}

TEST(HelpStructure, PositioningFindsTheMarkerOrTheSelectedText) {
  std::vector<std::string> lines = {"<0>", "<1><ADM00>Same", "x", "<1>Other", "<1>Same", "<1>End"};
  HelpStructure help = buildHelpStructure(lines);
  int line = 0;
  struct Case {
    const char* name;
    int selected;
    std::string marker;
    int node;
    int line;
  };
  const Case cases[] = {
      // The marker selects node 1; its text then also matches node 3, the later one.
      {"marker, then the same text later on", -1, "<ADM00>", 3, 4},
      {"clicking the first of two equal texts", 1, "", 3, 4},
      {"an unknown marker leaves nothing selected", -1, "<XYZ00>", -1, 1},
      {"the selected node's own text", 2, "", 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(positionHelp(help, c.selected, c.marker, line), c.node);
    EXPECT_EQ(line, c.line);
  }
}

TEST(HelpStructure, EachLanguageHasItsFile) {
  EXPECT_EQ(helpFileName("Deutsch"), "helpDeutsch.rtf");
  EXPECT_EQ(helpFileName("Nederlands"), "helpNederlands.rtf");
  EXPECT_EQ(helpFileName("English"), "helpenglish.rtf");
  EXPECT_EQ(helpFileName("Fran\xE7"
                         "ais"),
            "helpenglish.rtf");
  EXPECT_EQ(helpFileName(""), "helpenglish.rtf");
}

}  // namespace
}  // namespace tallymoor
