#include "help/ravelin/ravelin_form.h"

namespace tallymoor {

RavelinForm::RavelinForm(HelpForm& viewer, QWidget* parent)
    : Form("TForm1", parent), viewer_(viewer) {
  setWindowTitle("Form1");
  resize(200, 100);
}

void RavelinForm::activate() {
  if (viewerShown_) return;
  viewerShown_ = true;
  // No language file here: the block is the program's own, and the empty language name
  // opens the English help.
  viewer_.setHelpBlock(HelpBlock{"File", "Exit", "Cancel", "", "Help"});
  viewer_.setPendingMarker({});
  showModalHidingCaller(&viewer_, [this] { close(); });
}

}  // namespace tallymoor
