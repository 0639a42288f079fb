#include "startup/forms/start_screen_form.h"

#include <QKeyEvent>

#include "record-store/record_store.h"

namespace tallymoor {

StartScreenForm::StartScreenForm(QWidget* parent) : Form("TStartscherm", parent) {
  setWindowTitle("Tallymoor");
  setCentralWidget(new QWidget(this));
  resize(800, 600);
}

void StartScreenForm::activate() {
  if (!startupSetClosed_) {
    startupSetClosed_ = true;
    recordStore().CloseFileSet();
  }
  if (captionRoutine_) captionRoutine_();
}

bool StartScreenForm::previewKey(QKeyEvent* event) {
  // Esc on the main form would end the program; only F1 is taken here.
  if (event->key() == Qt::Key_Escape) return false;
  return Form::previewKey(event);
}

}  // namespace tallymoor
