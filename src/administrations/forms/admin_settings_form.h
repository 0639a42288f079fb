#pragma once
// Tadministrationsetting: the settings of the logged-in administration. Tab 1 holds the
// company data, tab 2 the book year with its periods, currency, fiscal year and profit
// account; the panel above both shows the freeze status. The form works on a copy of the
// settings and writes it at Save; Cancel reloads the stored settings.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "platform/form.h"
#include "records/admin_settings_record.h"

class QAction;
class QToolButton;

namespace tallymoor {

class AdminSettingsForm : public Form {
  Q_OBJECT
 public:
  explicit AdminSettingsForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<ADS00>"; }
  // The tab captions.
  void applyLanguage() override;

  // Load settings: reads the settings file (an empty one gets the defaults), makes the
  // record the current settings and shows it. A failed open shows the system's text in a
  // message box, leaves the form as it was and keeps Save from writing until a load
  // succeeds. False then.
  bool loadSettings();
  // Shows the period starts up to the period count, and fixes count, end date and period
  // starts once a period after the first is current.
  void applyPeriodLock();
  // The next activation opens on tab 2 instead of tab 1 (once).
  void requestSecondTab() { secondTabRequested_ = true; }

  // The settings as the controls hold them, on top of the last loaded record (which gives
  // the fields the form does not show); not stamped.
  AdminSettingsRecord settingsFromForm() const;

 public slots:
  // Load, period lock, profit account list, start-date lock; closes a handed-over set.
  void FormActivate();
  // Save: validate, store, close.
  void opslaanExecute();
  // Cancel: reload the stored settings, close without storing.
  void AnnulerenExecute();
  // New book-year start: end date, approved and current year, periods.
  void DateTimePicker1Change();
  // New end date: periods.
  void DateTimePicker2Change();
  // New period count: validated ("01" when not "01" to "15"), then the periods.
  void ComboBox1Change();
  // Leaving the profit account list with a text that is none of its entries clears it.
  void ComboBox2Exit();
  // Keeps the digits of the fiscal year (and a leading minus sign).
  void Edit23Change();
  // Leaving the fiscal year with a value below 1990 refuses it.
  void Edit23Exit();
  // Next tab and previous tab.
  void Button6Click();
  void Button7Click();
  void Brookfellhelp1Click() { showHelp({}); }
  void BrookfellAdministrationsettingshelp1Click() { showHelp(helpMarker()); }
  void ToolButton8Click() { showHelp(helpMarker()); }

 protected:
  void activate() override { FormActivate(); }
  bool previewKey(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showSettings(const AdminSettingsRecord& settings);
  // The book-year part of `settings`: dates, count, period starts, status fields.
  void showBookYear(const AdminSettingsRecord& settings);
  void setDate(QDateEdit* picker, const std::string& text);
  // The end date may not be set before the day after the start date.
  void boundEndDate();
  void recompute();
  void fillProfitAccounts();
  void refuseFiscalYear();
  void showError(const QString& text) { setStatus(text, StatusKind::Error); }
  QLabel* addLabel(QWidget* parent, const char* name, const QString& text);
  QLineEdit* addEdit(QWidget* parent, const char* name, int maxLength);
  QDateEdit* addDatePicker(QWidget* parent, const char* name);

  QTabWidget* tabs_;
  // Company data.
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit14_;
  QLineEdit* edit5_;
  QLineEdit* edit6_;
  QLineEdit* edit7_;
  QLineEdit* edit8_;
  QLineEdit* edit9_;
  QLineEdit* edit12_;
  QLineEdit* edit11_;
  QLineEdit* edit10_;
  QLineEdit* edit22_;
  // Last saved: stamp and user.
  QLineEdit* edit15_;
  QLineEdit* edit16_;
  // Freeze status: approved year, current year, last closed period, current period.
  QLineEdit* edit17_;
  QLineEdit* edit18_;
  QLineEdit* edit19_;
  QLineEdit* edit20_;
  // Book year and periods.
  QDateEdit* dateTimePicker1_;
  QDateEdit* dateTimePicker2_;
  QComboBox* comboBox1_;
  // DateTimePicker3 to DateTimePicker17: the starts of periods 1 to 15.
  std::array<QDateEdit*, AdminSettingsRecord::kMaxPeriods> periodPickers_{};
  std::array<QLabel*, AdminSettingsRecord::kMaxPeriods> periodLabels_{};
  QLineEdit* edit21_;
  QLineEdit* edit23_;
  QComboBox* comboBox2_;
  QCheckBox* checkBox1_;
  // Journal settings, kept hidden.
  QGroupBox* groupBox1_;
  std::array<QLineEdit*, AdminSettingsRecord::kJournalCount> journalNames_{};
  std::array<QCheckBox*, AdminSettingsRecord::kJournalTypeFlagCount> journalTypeFlags_{};
  QCheckBox* checkBox13_;
  // Unfreeze: button, tool button, menu item.
  QPushButton* button4_;
  QToolButton* toolButton5_;
  QAction* unfreeze1_;

  // The record last loaded: the fields that the form does not show come from it.
  AdminSettingsRecord loaded_;
  // Why the last load could not read the file; Save never writes settings it did not read.
  QString loadFailure_;
  bool secondTabRequested_ = false;
  // The count text as last shown, so that leaving the field unchanged recomputes nothing.
  QString shownCount_;
};

}  // namespace tallymoor
