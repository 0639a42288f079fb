#pragma once
// Which language text goes to which control of which form. The caption routine walks this
// table; a new form adds its rows here, not code. Texts that are not plain captions (grid
// headings, list entries, messages) are placed by the forms themselves.

#include <span>

namespace tallymoor {

struct CaptionRow {
  const char* form;     // the form's class name
  const char* control;  // the control's name
  int offset;           // of the text in the language record
};

struct WindowTitleRow {
  const char* form;
  int groupOffset;  // the menu group the form belongs to
  int entryOffset;  // the form's own menu entry
};

std::span<const CaptionRow> captionTable();
std::span<const WindowTitleRow> windowTitleTable();

}  // namespace tallymoor
