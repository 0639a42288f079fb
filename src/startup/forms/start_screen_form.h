#pragma once
// TStartscherm: the main form. Its first activation closes the start-up set that the
// program start handed over.

#include "platform/form.h"

namespace tallymoor {

class StartScreenForm : public Form {
  Q_OBJECT
 public:
  explicit StartScreenForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<MEN00>"; }

 protected:
  void activate() override;
  bool previewKey(QKeyEvent* event) override;

 private:
  bool startupSetClosed_ = false;
};

}  // namespace tallymoor
