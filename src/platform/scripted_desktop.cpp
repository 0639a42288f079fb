#include "platform/scripted_desktop.h"

namespace tallymoor {

void ScriptedDesktop::showMessage(const QString& text) { messages << text; }

Answer ScriptedDesktop::ask(const QString& text, unsigned buttons) {
  messages << text;
  if (answers_.empty()) {
    unanswered << "question: " + text;
    return Answer::Cancel;
  }
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<QString> ScriptedDesktop::nextFile(const QString& kind,
                                                 const FileDialogRequest& request) {
  fileRequests << request;
  if (files_.empty()) {
    unanswered << kind + ": " + request.title;
    return std::nullopt;
  }
  std::optional<QString> file = std::move(files_.front());
  files_.pop_front();
  return file;
}

std::optional<QString> ScriptedDesktop::openFileName(const FileDialogRequest& request) {
  return nextFile("open file", request);
}

std::optional<QString> ScriptedDesktop::saveFileName(const FileDialogRequest& request) {
  return nextFile("save file", request);
}

bool ScriptedDesktop::printDialog(QPrinter&) {
  if (prints_.empty()) {
    unanswered << "print dialog";
    return false;
  }
  bool accept = prints_.front();
  prints_.pop_front();
  return accept;
}

}  // namespace tallymoor
