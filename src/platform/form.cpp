#include "platform/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "platform/application.h"
#include "platform/desktop.h"

namespace tallymoor {
namespace {

std::function<void(Form*, const QString&)>& helpHandler() {
  static std::function<void(Form*, const QString&)> handler;
  return handler;
}

std::function<QString()>& homePageSource() {
  static std::function<QString()> source;
  return source;
}

QString statusStyle(StatusKind kind) {
  switch (kind) {
    case StatusKind::Error:
      return "background-color: #e53935; color: white;";
    case StatusKind::Notice:
      return "background-color: #43a047; color: white;";
    case StatusKind::Warning:
      return "background-color: #fdd835; color: black;";
    case StatusKind::Plain:
      break;
  }
  return {};
}

}  // namespace

Form::Form(const QString& className, QWidget* parent) : QMainWindow(parent) {
  setObjectName(className);
  setAttribute(Qt::WA_QuitOnClose, false);
  statusLabel_ = new QLabel(this);
  statusLabel_->setObjectName("StatusLine");
  statusLabel_->setAutoFillBackground(true);
  statusLabel_->setMargin(2);
  statusBar()->setObjectName("StatusBar1");
  statusBar()->addWidget(statusLabel_, 1);
  statusBar()->setSizeGripEnabled(false);
  qApp->installEventFilter(this);
}

Form::~Form() {
  if (qApp) qApp->removeEventFilter(this);
}

void Form::setStatus(const QString& text, StatusKind kind) {
  statusKind_ = kind;
  statusLabel_->setText(text);
  statusBar()->setStyleSheet(statusStyle(kind));
}

void Form::resetStatus() {
  statusKind_ = StatusKind::Plain;
  statusBar()->setStyleSheet({});
}

QString Form::statusText() const { return statusLabel_->text(); }

void Form::setHelpHandler(std::function<void(Form*, const QString&)> handler) {
  helpHandler() = std::move(handler);
}

void Form::showHelp(const QString& marker) {
  if (!helpHandler()) return;
  helpHandler()(this, marker);
  // Reading help is no new start: the form comes back as it was left, edits and all.
  if (!isVisible()) returningFromHelp_ = true;
}

void Form::setHomePage(std::function<QString()> homePage) {
  homePageSource() = std::move(homePage);
}

void Form::Brookfellhomepage1Click() {
  if (homePageSource()) desktop().openUrl(homePageSource()());
}

QToolBar* Form::addFormToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  return bar;
}

QToolButton* Form::addToolButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon,
                                 const QString& tip) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setIcon(style()->standardIcon(icon));
  button->setToolTip(tip);
  bar->addWidget(button);
  return button;
}

void Form::setTabChain(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) setTabOrder(previous, widget);
    previous = widget;
  }
}

void Form::addStandardHelpItems(QMenu* help) {
  help->addAction("Tutorial", this, &Form::Tutorial1Click)->setObjectName("Tutorial1");
  help->addSeparator();
  help->addAction("Brookfell homepage", this, &Form::Brookfellhomepage1Click)
      ->setObjectName("Brookfellhomepage1");
  help->addAction("About...", this, &Form::About1Click)->setObjectName("About1");
}

void Form::showModalHidingCaller(Form* form, std::function<void()> onClosed) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = connect(form, &Form::closed, this, [this, connection, onClosed] {
    disconnect(*connection);
    show();
    if (onClosed) onClosed();
  });
  hide();
  form->setWindowModality(Qt::ApplicationModal);
  form->show();
}

bool Form::previewKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return true;
  }
  if (event->key() == Qt::Key_F1) {
    showHelp(helpMarker());
    return true;
  }
  return false;
}

void Form::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (event->spontaneous()) return;  // the window system's own re-show is no activation
  if (returningFromHelp_) {
    returningFromHelp_ = false;
    return;
  }
  ++activations_;
  activate();
}

void Form::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != this || !isVisible()) return false;
  keyTarget_ = watched;
  return previewKey(static_cast<QKeyEvent*>(event));
}

}  // namespace tallymoor
