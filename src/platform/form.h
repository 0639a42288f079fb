#pragma once
// The base of every form: a top-level window named by its form class, with a status line
// whose background says error (red), notice (green) or warning (yellow), key preview with
// Esc and F1, activation each time it is shown, and the modal show that hides the caller.

#include <QLabel>
#include <QMainWindow>
#include <QStyle>
#include <functional>
#include <initializer_list>

class QKeyEvent;
class QMenu;
class QToolBar;
class QToolButton;

namespace tallymoor {

enum class StatusKind { Plain, Error, Notice, Warning };

class Form : public QMainWindow {
  Q_OBJECT
 public:
  // `className` is the form's class name, which is also its objectName.
  explicit Form(const QString& className, QWidget* parent = nullptr);
  ~Form() override;

  // The status line; every action first resets it with resetStatus().
  void setStatus(const QString& text, StatusKind kind);
  void resetStatus();
  QString statusText() const;
  StatusKind statusKind() const { return statusKind_; }

  // The help marker of this form ("<ADM00>"); empty is the start of the help text.
  virtual QString helpMarker() const { return {}; }
  // Shows the help viewer at this form's marker, through the program's help handler. The
  // form is not activated again when the viewer closes, so nothing typed is lost.
  void showHelp(const QString& marker);
  // Set by the program: how help is shown for a form and a marker.
  static void setHelpHandler(std::function<void(Form*, const QString&)> handler);

  // Set by the program: the web page of the program in the current language.
  static void setHomePage(std::function<QString()> homePage);

  // Hides this form, shows `form` application-modal, and when `form` closes shows this
  // one again (which activates it) and runs `onClosed`.
  void showModalHidingCaller(Form* form, std::function<void()> onClosed = {});
  // Places the texts of the current language that the caption table does not cover (grid
  // headings, list entries); the caption routine calls it after the table's captions.
  virtual void applyLanguage() {}
  // The number of times this form was activated.
  int activationCount() const { return activations_; }

 public slots:
  // The help items every form's help menu ends with.
  virtual void Tutorial1Click() { showHelp("<TUT00>"); }
  virtual void About1Click() { showHelp("<ABO00>"); }
  virtual void Brookfellhomepage1Click();

 signals:
  void closed();

 protected:
  // Runs each time the form is shown (its activation).
  virtual void activate() {}
  // Sees every key of the form's window before its controls; true when handled. The
  // default closes the form on Esc and shows help on F1.
  virtual bool previewKey(QKeyEvent* event);
  // The control the key being previewed was meant for.
  QObject* keyTarget() const { return keyTarget_; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLabel* statusLabel() const { return statusLabel_; }
  // The form's tool bar ("ToolBar1"), fixed in place.
  QToolBar* addFormToolBar();
  // A tool button with a standard icon and a tip, at the end of `bar`.
  QToolButton* addToolButton(QToolBar* bar, const char* name, QStyle::StandardPixmap icon,
                             const QString& tip);
  // Tab goes from each widget to the next, in this order.
  void setTabChain(std::initializer_list<QWidget*> widgets);
  // Tutorial, a separator, the home page and About, at the end of a help menu.
  void addStandardHelpItems(QMenu* help);

 private:
  QLabel* statusLabel_;
  StatusKind statusKind_ = StatusKind::Plain;
  int activations_ = 0;
  QObject* keyTarget_ = nullptr;
  bool returningFromHelp_ = false;
};

}  // namespace tallymoor
