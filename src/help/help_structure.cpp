#include "help/help_structure.h"

namespace tallymoor {
namespace {

// "<1>", "<2>" or "<3>" at the start; 0 when the line is no heading.
int headingLevel(const std::string& line) {
  if (line.size() < 3 || line[0] != '<' || line[2] != '>') return 0;
  if (line[1] < '1' || line[1] > '3') return 0;
  return line[1] - '0';
}

}  // namespace

HelpStructure buildHelpStructure(std::vector<std::string>& lines) {
  HelpStructure help;
  help.nodes.push_back({kHelpRootText, -1, 0, 1, "%"});
  int latestLevel1 = 0;
  int latestLevel2 = -1;  // the latest level-2 node under the latest level-1 node
  bool inBody = false;

  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string& line = lines[i];
    if (line.starts_with("<0>")) {
      line.erase(0, 3);
      inBody = true;
    } else if (!inBody) {
      ++help.prologueCount;
    }
    if (!inBody) continue;
    int level = headingLevel(line);
    if (level == 0) continue;
    line.erase(0, 3);
    HelpNode node;
    node.level = level;
    node.marker = "%";
    if (line.starts_with('<')) {
      node.marker = line.substr(0, 7);
      line.erase(0, std::min<std::size_t>(7, line.size()));
    }
    node.text = line;
    node.line = static_cast<int>(i - help.prologueCount);
    // Nodes are only ever appended below the latest headings, so the order of the text is
    // the order of the tree and a node's index is simply the count before it.
    int index = static_cast<int>(help.nodes.size());
    switch (level) {
      case 1:
        node.parent = 0;
        latestLevel1 = index;
        latestLevel2 = -1;
        break;
      case 2:
        node.parent = latestLevel1;
        latestLevel2 = index;
        break;
      default:
        node.parent = latestLevel2 >= 0 ? latestLevel2 : latestLevel1;
        break;
    }
    if (index >= kHelpMarkerSlots) node.marker = "%";
    if (index >= kHelpLineSlots) node.line = 1;
    help.nodes.push_back(std::move(node));
  }
  help.endMarkLine = help.nodes.back().line;
  return help;
}

int positionHelp(const HelpStructure& help, int selected, const std::string& pendingMarker,
                 int& targetLine) {
  targetLine = 1;
  for (int k = 0; k < static_cast<int>(help.nodes.size()); ++k) {
    const HelpNode& node = help.nodes[k];
    bool sameText = selected >= 0 && node.text == help.nodes[selected].text;
    if (sameText || node.marker == pendingMarker) {
      targetLine = node.line;
      selected = k;
    }
  }
  return selected;
}

std::string helpFileName(const std::string& language) {
  if (language == "Deutsch") return "helpDeutsch.rtf";
  if (language == "Nederlands") return "helpNederlands.rtf";
  return "helpenglish.rtf";
}

}  // namespace tallymoor
