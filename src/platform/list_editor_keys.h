#pragma once
// The keys of a form that edits a list beside a few entry fields: Esc cancels, Ctrl+Up and
// Ctrl+Down move the current row, Ctrl+S saves, Ctrl+Delete deletes, Alt+Left takes the
// current row out into the fields and Alt+Right puts the fields in; Enter does the one or
// the other, by where it was pressed.

#include <QList>
#include <functional>

class QKeyEvent;
class QObject;

namespace tallymoor {

struct ListEditorKeys {
  std::function<void()> cancel, moveUp, moveDown, save, remove, select, add;
  QObject* list = nullptr;      // Enter here selects
  QList<QObject*> entryFields;  // Enter here adds
};

// Runs the action of the key pressed in `target`; true when the key was one of them.
bool handleListEditorKey(const ListEditorKeys& keys, const QKeyEvent& event, QObject* target);

}  // namespace tallymoor
