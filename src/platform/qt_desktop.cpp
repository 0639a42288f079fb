#include "platform/qt_desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace tallymoor {
namespace {

// "Description|pattern|Description|pattern" as Qt's "Description (pattern);;...".
QString qtFilter(const QString& filter) {
  QStringList parts = filter.split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2)
    result << QString("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
  return result.join(";;");
}

QString startPath(const FileDialogRequest& request) {
  if (request.initialDirectory.isEmpty()) return request.fileName;
  return request.initialDirectory + "/" + request.fileName;
}

}  // namespace

void QtDesktop::showMessage(const QString& text) {
  QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                           text);
}

Answer QtDesktop::ask(const QString& text, unsigned buttons) {
  QMessageBox::StandardButtons qtButtons;
  if (buttons & kButtonOk) qtButtons |= QMessageBox::Ok;
  if (buttons & kButtonYes) qtButtons |= QMessageBox::Yes;
  if (buttons & kButtonNo) qtButtons |= QMessageBox::No;
  if (buttons & kButtonYesToAll) qtButtons |= QMessageBox::YesToAll;
  if (buttons & kButtonCancel) qtButtons |= QMessageBox::Cancel;
  auto chosen = QMessageBox::question(QApplication::activeWindow(),
                                      QApplication::applicationDisplayName(), text, qtButtons);
  switch (chosen) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::YesToAll:
      return Answer::YesToAll;
    default:
      return Answer::Cancel;
  }
}

std::optional<QString> QtDesktop::openFileName(const FileDialogRequest& request) {
  QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                              startPath(request), qtFilter(request.filter));
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtDesktop::saveFileName(const FileDialogRequest& request) {
  QString name = QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title,
                                              startPath(request), qtFilter(request.filter));
  if (name.isEmpty()) return std::nullopt;
  return name;
}

bool QtDesktop::printDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

void QtDesktop::setClipboardText(const QString& text) { QApplication::clipboard()->setText(text); }

QString QtDesktop::clipboardText() { return QApplication::clipboard()->text(); }

void QtDesktop::openUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace tallymoor
