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
  // Runs at every activation: applies the language to every form.
  void setCaptionRoutine(std::function<void()> routine) { captionRoutine_ = std::move(routine); }

 protected:
  void activate() override;
  bool previewKey(QKeyEvent* event) override;

 private:
  bool startupSetClosed_ = false;
  std::function<void()> captionRoutine_;
};

}  // namespace tallymoor
