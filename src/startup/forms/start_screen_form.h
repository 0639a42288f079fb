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

 public slots:
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
  void About1Click() { showHelp("<ABO00>"); }

 protected:
  void activate() override;

 private:
  void reloadAdministrations();
  void offerDefaultUser();
  void fillAdministrationChoice();
  void showTips();

  std::function<void()> captionRoutine_;
  std::function<int()> tipSource_;
  SystemSettingsForm* systemSettings_ = nullptr;
  std::vector<AdministrationRecord> administrations_;
  int tipIndex_ = 0;

  QLabel* label5_;
  QTreeWidget* treeView1_;
  QFrame* panel1_;
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
