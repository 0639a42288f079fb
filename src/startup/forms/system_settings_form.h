#pragma once
// Tsystemscherm: the settings of the whole installation. Loads the system parameters at
// creation into the session's single in-memory copy, edits them and writes them back.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <array>

#include "platform/form.h"

class QAction;
class QMenu;

namespace tallymoor {

class SystemSettingsForm : public Form {
  Q_OBJECT
 public:
  explicit SystemSettingsForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<SYS00>"; }

 public slots:
  // Reads the record and the installation language and fills the form (FormCreate).
  void FormCreate();
  void opslaanExecute();
  void AnnulerenExecute();
  // Entering the directory field: a file dialog picks the directory of an "admin.vlt".
  void Edit9Enter();
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox4Click();
  void CheckBox5Click();
  // Changing decimals, currency or either sample refreshes both samples.
  void refreshSamples();
  void ComboBox1Change();
  void ComboBox1Exit();
  void BrookfellHelp1Click() { showHelp({}); }
  // The home page in the language chosen on the form.
  void Brookfellhomepage1Click() override;

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Save steps inside an open set: fields into the record, write it, load its language.
  void storeRecord();
  void fillFromRecord();
  void applyVisibility();
  QLineEdit* addEdit(const char* name, int maxLength);
  QLabel* addLabel(const char* name, const QString& text);

  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit14_;
  QLineEdit* edit5_;
  QLineEdit* edit6_;
  QLineEdit* edit7_;
  QLineEdit* edit8_;
  QLineEdit* edit17_;
  QLineEdit* edit9_;
  QLineEdit* edit15_;
  QLineEdit* edit16_;
  QComboBox* comboBox1_;
  QComboBox* comboBox2_;
  QComboBox* comboBox3_;
  QCheckBox* checkBox1_;
  QCheckBox* checkBox2_;
  QCheckBox* checkBox3_;
  QCheckBox* checkBox4_;
  QCheckBox* checkBox5_;
  QCheckBox* checkBox6_;
  QCheckBox* checkBox7_;
  QRadioButton* radioButton1_;
  QRadioButton* radioButton2_;
  // Names and rates of the two tax groups, with their labels.
  std::array<QLineEdit*, 3> taxNames1_{}, taxRates1_{}, taxNames2_{}, taxRates2_{};
  std::array<QLabel*, 6> taxLabels1_{}, taxLabels2_{};
  QLabel* label9_;
  QLabel* label16_;
};

}  // namespace tallymoor
