#pragma once
// The structure of a help text, read from its plain-text lines: a prologue before the
// first "<0>" line, then heading lines "<1>", "<2>" or "<3>" (optionally followed by a
// seven-character marker such as "<ADM00>") that make the chapter tree. The last heading is
// the end mark: built like any heading, then left out of the tree.

#include <cstddef>
#include <string>
#include <vector>

namespace tallymoor {

struct HelpNode {
  std::string text;
  int parent = -1;     // index of the parent node; -1 for the root
  int level = 0;       // 0 for the root
  int line = 1;        // view line of the heading, after the prologue is removed
  std::string marker;  // "%" when the heading carries none, so that no marker matches it
};

struct HelpStructure {
  // Node 0 is the root "Tallymoor help"; the others are the headings in text order, which
  // is also the order of the tree. The end mark is the last node while it is included.
  std::vector<HelpNode> nodes;
  // Lines at the start that are not part of the view.
  std::size_t prologueCount = 0;
  // The end mark's view line; positioning passes it first so that the target heading
  // comes to the top of the view. 1 when the text has no heading.
  int endMarkLine = 1;
  // Leaves the end mark out of the tree (never the root).
  void dropEndMark() {
    if (nodes.size() > 1) nodes.pop_back();
  }
};

inline constexpr const char* kHelpRootText = "Tallymoor help";
// What the viewer's tables hold: markers of nodes 0 to 99, lines of nodes 0 to 200. A node
// beyond them keeps no marker ("%") and leads to line 1.
inline constexpr int kHelpMarkerSlots = 100;
inline constexpr int kHelpLineSlots = 201;

// Reads the structure and strips the tags from `lines` in place (the "<0>" of the body
// start, the level tags and markers of the headings). The prologue lines stay in `lines`;
// the caller removes the first prologueCount of them from the view.
HelpStructure buildHelpStructure(std::vector<std::string>& lines);

// The node that positioning selects: the last node whose text equals the currently
// selected node's text or whose marker equals `pendingMarker`; each match becomes the
// selected node for the nodes after it. `selected` is the node selected before; -1 none.
// Returns the selected node (or -1) and its view line through `targetLine` (1 when none).
int positionHelp(const HelpStructure& help, int selected, const std::string& pendingMarker,
                 int& targetLine);

// The help file of a language: "Deutsch" and "Nederlands" have their own.
std::string helpFileName(const std::string& language);

}  // namespace tallymoor
