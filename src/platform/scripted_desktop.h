#pragma once
// A desktop that answers from a script instead of a person: every message and question is
// recorded, answers come from queues filled beforehand, and a dialog that finds no answer
// waiting gets the cautious default (Cancel, no file) and is recorded as unanswered.

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "platform/desktop.h"

namespace tallymoor {

class ScriptedDesktop : public Desktop {
 public:
  void showMessage(const QString& text) override;
  Answer ask(const QString& text, unsigned buttons) override;
  std::optional<QString> openFileName(const FileDialogRequest& request) override;
  std::optional<QString> saveFileName(const FileDialogRequest& request) override;
  bool printDialog(QPrinter& printer) override;
  void setClipboardText(const QString& text) override { clipboard_ = text; }
  QString clipboardText() override { return clipboard_; }
  void openUrl(const QString& url) override { openedUrls << url; }

  // Answers for the next questions, file dialogs and print dialogs, in order.
  void answerNext(Answer answer) { answers_.push_back(answer); }
  void chooseFileNext(std::optional<QString> fileName) { files_.push_back(fileName); }
  void acceptPrintNext(bool accept) { prints_.push_back(accept); }

  QStringList messages;  // every message and question text, in order
  QStringList openedUrls;
  QStringList unanswered;  // dialogs that found no scripted answer
  QList<FileDialogRequest> fileRequests;

 private:
  std::optional<QString> nextFile(const QString& kind, const FileDialogRequest& request);

  std::deque<Answer> answers_;
  std::deque<std::optional<QString>> files_;
  std::deque<bool> prints_;
  QString clipboard_;
};

}  // namespace tallymoor
