#pragma once
// The desktop of a person at the screen: Qt's message boxes, dialogs and services.

#include "platform/desktop.h"

namespace tallymoor {

class QtDesktop : public Desktop {
 public:
  void showMessage(const QString& text) override;
  Answer ask(const QString& text, unsigned buttons) override;
  std::optional<QString> openFileName(const FileDialogRequest& request) override;
  std::optional<QString> saveFileName(const FileDialogRequest& request) override;
  bool printDialog(QPrinter& printer) override;
  void setClipboardText(const QString& text) override;
  QString clipboardText() override;
  void openUrl(const QString& url) override;
};

}  // namespace tallymoor
