#pragma once
// TStartscherm: the main form. Carries the login panel, the change-password panel and the
// menu tree, and the tips for new users. Each activation asks for missing system settings
// first, reloads the administration list, applies the language, offers the default user
// and closes the open set handed back by the form that just closed.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <random>
#include <vector>

#include "platform/form.h"
#include "records/administration_record.h"
#include "records/user_record.h"

namespace tallymoor {

class SystemSettingsForm;

class StartScreenForm : public Form {
  Q_OBJECT
 public:
  explicit StartScreenForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<MEN00>"; }

  // Runs at every activation: applies the language to every form.
  void setCaptionRoutine(std::function<void()> routine) { captionRoutine_ = std::move(routine); }
  // The settings form asked for first when the installation has no settings yet.
  void setSystemSettingsForm(SystemSettingsForm* form) { systemSettings_ = form; }
  // The administrations of the list, in list order, as last reloaded.
  const std::vector<AdministrationRecord>& administrations() const { return administrations_; }
  int tipIndex() const { return tipIndex_; }
  // Chooses the first tip; the default is random.
  void setTipSource(std::function<int()> source) { tipSource_ = std::move(source); }
  // How the menu finds the forms it shows.
  void setFormLookup(std::function<Form*(const QString&)> lookup) {
    formLookup_ = std::move(lookup);
  }
  // Runs inside the administration's open set once a login opened it: loads its settings.
  void setAdministrationOpened(std::function<void()> hook) {
    administrationOpened_ = std::move(hook);
  }
  // The menu entry texts as they stand in the tree, below the root, in order; a group's
  // entries follow it, indented by two blanks.
  QStringList menuTexts() const;
  // Selects the tree node with this text, as a click would.
  bool selectMenuEntry(const QString& text);
  void applyLanguage() override;

 public slots:
  // Login: user checks, rights, and the chosen administration opened.
  void Button1Click();
  // The administration choice loses the focus: a text that names no administration
  // (whatever its capitals) is cleared.
  void ComboBox1Exit();
  // Change password: OK and the checks when the fields are left.
  void Button3Click();
  void Edit5Exit();
  void Edit6Exit();
  // Shows the form of the selected menu entry (double-click, Enter).
  void TreeView1DblClick();
  // The panel that only asks for another administration from now on.
  void openAdministrationOnlyPanel();
  void openChangePasswordPanel();
  // Next Tip.
  void Button5Click();
  // OK of the tips panel: "Don't show tips" switches the tips off in the system settings.
  void Button4Click();
  // Cancel of the login panel, the exit button and Esc: closing the start screen ends the
  // program.
  void Button2Click() { close(); }
  void ToolButton7Click() { close(); }
  void Info1Click() { showHelp({}); }
  void utorial1Click() { showHelp("<TUT00>"); }
  void Internet1Click() { showHelp(helpMarker()); }

 protected:
  void activate() override;
  bool previewKey(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void reloadAdministrations();
  void offerDefaultUser();
  void fillAdministrationChoice();
  void showTips();
  void rebuildMenuTree();
  void runCaptions() {
    if (captionRoutine_) captionRoutine_();
  }
  // Hands the set to the form, hides this one and shows the form; `afterwards` runs when
  // it closes.
  void showFromMenu(const char* formClass, const char* openSet, std::function<void()> afterwards);
  void showLoginMessage(QLineEdit* line, const QString& text);

  std::function<void()> captionRoutine_;
  std::function<int()> tipSource_;
  std::function<Form*(const QString&)> formLookup_;
  std::function<void()> administrationOpened_;
  // Set when the administration-only panel opens; a login then keeps user and rights.
  bool reLogin_ = false;
  bool savedRight1_ = true;
  bool savedRight2_ = true;
  UserRecord currentUser_;
  SystemSettingsForm* systemSettings_ = nullptr;
  std::vector<AdministrationRecord> administrations_;
  int tipIndex_ = 0;

  QLabel* label5_;
  QTreeWidget* treeView1_;
  QFrame* panel1_;
  QLabel* label4_;
  QPushButton* button2_;
  QLineEdit* edit5_;
  QLineEdit* edit6_;
  QLineEdit* edit7_;
  QLabel* label1_;
  QLabel* label2_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QComboBox* comboBox1_;
  QLineEdit* edit4_;
  QFrame* panel2_;
  QFrame* panel3_;
  QPlainTextEdit* memo1_;
  QCheckBox* checkBox1_;
};

}  // namespace tallymoor
