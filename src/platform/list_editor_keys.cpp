#include "platform/list_editor_keys.h"

#include <QKeyEvent>

namespace tallymoor {

bool handleListEditorKey(const ListEditorKeys& keys, const QKeyEvent& event, QObject* target) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  const int key = event.key();
  const std::function<void()>* action = nullptr;
  if (modifiers == Qt::NoModifier) {
    if (key == Qt::Key_Escape) action = &keys.cancel;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (target && target == keys.list) action = &keys.select;
      if (target && keys.entryFields.contains(target)) action = &keys.add;
    }
  } else if (modifiers == Qt::ControlModifier) {
    if (key == Qt::Key_Up) action = &keys.moveUp;
    if (key == Qt::Key_Down) action = &keys.moveDown;
    if (key == Qt::Key_S) action = &keys.save;
    if (key == Qt::Key_Delete) action = &keys.remove;
  } else if (modifiers == Qt::AltModifier) {
    if (key == Qt::Key_Left) action = &keys.select;
    if (key == Qt::Key_Right) action = &keys.add;
  }
  if (!action || !*action) return false;
  (*action)();
  return true;
}

}  // namespace tallymoor
