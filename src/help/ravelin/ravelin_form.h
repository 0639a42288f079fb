#pragma once
// TForm1: the main form of the stand-alone help program. It only drives the viewer: shows
// it at the start of the English help and closes when the viewer closes.

#include "help/forms/help_form.h"
#include "platform/form.h"

namespace tallymoor {

class RavelinForm : public Form {
  Q_OBJECT
 public:
  explicit RavelinForm(HelpForm& viewer, QWidget* parent = nullptr);

 protected:
  void activate() override;

 private:
  HelpForm& viewer_;
  bool viewerShown_ = false;
};

}  // namespace tallymoor
