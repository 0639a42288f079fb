#pragma once
// Everything that would wait for a person or reach outside the program (message boxes,
// file dialogs, the print dialog, the clipboard, the web browser) goes through this one
// interface. The program uses the Qt implementation; tests install a scripted one, so no
// test ever waits for a person.

#include <QString>
#include <optional>

class QPrinter;

namespace tallymoor {

enum class Answer { Ok, Yes, No, YesToAll, Cancel };

// The buttons of a question, as flags.
enum AnswerButton : unsigned {
  kButtonOk = 1,
  kButtonYes = 2,
  kButtonNo = 4,
  kButtonYesToAll = 8,
  kButtonCancel = 16,
};

struct FileDialogRequest {
  QString title;
  QString filter;  // "Administrationsfile|admin.vlt": description and pattern
  QString fileName;
  QString initialDirectory;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A message with an OK button.
  virtual void showMessage(const QString& text) = 0;
  // A question with the given buttons (AnswerButton flags); the answer chosen.
  virtual Answer ask(const QString& text, unsigned buttons) = 0;
  // The chosen file, or none when the dialog was cancelled.
  virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
  // Lets the user set up the printer; false when cancelled.
  virtual bool printDialog(QPrinter& printer) = 0;
  virtual void setClipboardText(const QString& text) = 0;
  virtual QString clipboardText() = 0;
  // Opens a web address in the desktop's browser.
  virtual void openUrl(const QString& url) = 0;
};

// The desktop of this process; the Qt one unless another was installed.
Desktop& desktop();
// Installs `replacement` (not owned) as the desktop of this process; nullptr restores the
// Qt one.
void setDesktop(Desktop* replacement);

}  // namespace tallymoor
