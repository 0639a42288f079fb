#include "administrations/forms/admin_settings_form.h"

#include "accounts/account_display_text.h"

#include <QAction>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "administrations/admin_settings.h"
#include "administrations/fiscal_periods.h"
#include "platform/desktop.h"
#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/record_store.h"
#include "startup/forms/language_text.h"
#include "startup/session.h"
#include "startup/web_pages.h"

namespace tallymoor {
namespace {

// Language texts of this form that the caption table does not place.
constexpr int kFirstTabText = 5662;
constexpr int kSecondTabText = 5693;

constexpr const char* kFiscalYearRefusal = "Fiscal year is not > 1989, please change";
constexpr const char* kNotLoaded = "The settings of this administration have not been read";

// Dates outside this range are no valid date texts for the record store. A start date
// leaves room for its end date and the day after it.
const QDate kFirstDate(1990, 1, 1);
const QDate kLastDate(2200, 12, 31);
const QDate kLastStartDate(2199, 12, 31);

QDate toQDate(Date date) {
  return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())));
}

Date fromQDate(const QDate& date) {
  return Date{std::chrono::year{date.year()},
              std::chrono::month{static_cast<unsigned>(date.month())},
              std::chrono::day{static_cast<unsigned>(date.day())}};
}

std::string dateText(const QDateEdit* picker) { return DateToText(fromQDate(picker->date())); }

// The number the count field holds; 0 for anything that is no number.
int countNumber(const QString& text) {
  bool ok = false;
  const int count = text.trimmed().toInt(&ok);
  return ok ? count : 0;
}

bool isTrue(const std::string& flag) { return flag == "true"; }
std::string flagText(bool value) { return value ? "true" : "false"; }

}  // namespace

AdminSettingsForm::AdminSettingsForm(QWidget* parent)
    : Form("Tadministrationsetting", parent), loadFailure_(kNotLoaded) {
  setWindowTitle("Administration settings");

  auto* save = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "Save", this);
  save->setObjectName("opslaan");
  connect(save, &QAction::triggered, this, &AdminSettingsForm::opslaanExecute);
  auto* cancel = new QAction(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
  cancel->setObjectName("Annuleren");
  connect(cancel, &QAction::triggered, this, &AdminSettingsForm::AnnulerenExecute);
  addActions({save, cancel});

  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("File1");
  file1->addAction("Save", this, &AdminSettingsForm::opslaanExecute)->setObjectName("Save1");
  file1->addAction("Cancel", this, &AdminSettingsForm::AnnulerenExecute)->setObjectName("Cancel1");
  QMenu* edit13 = menuBar()->addMenu("Actions");
  edit13->setObjectName("Edit13");
  edit13->addAction("next tab", this, &AdminSettingsForm::Button6Click)->setObjectName("nexttab1");
  edit13->addAction("prev tab", this, &AdminSettingsForm::Button7Click)->setObjectName("prevtab1");
  edit13->addSeparator();
  unfreeze1_ = edit13->addAction("Unfreeze");
  unfreeze1_->setObjectName("Unfreeze1");
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Brookfell help", this, &AdminSettingsForm::Brookfellhelp1Click)
      ->setObjectName("Brookfellhelp1");
  help1
      ->addAction("Brookfell Administrationsettings help", this,
                  &AdminSettingsForm::BrookfellAdministrationsettingshelp1Click)
      ->setObjectName("BrookfellAdministrationsettingshelp1");
  addStandardHelpItems(help1);

  QToolBar* toolBar = addFormToolBar();
  addToolButton(toolBar, "ToolButton1", QStyle::SP_DialogSaveButton, "Save")
      ->setDefaultAction(save);
  addToolButton(toolBar, "ToolButton3", QStyle::SP_DialogCancelButton, "Cancel")
      ->setDefaultAction(cancel);
  QToolButton* toolButton9 =
      addToolButton(toolBar, "ToolButton9", QStyle::SP_ArrowBack, "prev tab");
  QToolButton* toolButton7 =
      addToolButton(toolBar, "ToolButton7", QStyle::SP_ArrowForward, "next tab");
  toolButton5_ = addToolButton(toolBar, "ToolButton5", QStyle::SP_BrowserReload, "Unfreeze");
  QToolButton* toolButton8 =
      addToolButton(toolBar, "ToolButton8", QStyle::SP_DialogHelpButton, "Help");

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);

  // The freeze status above both tabs.
  auto* panel1 = new QWidget(central);
  panel1->setObjectName("Panel1");
  auto* status = new QGridLayout(panel1);
  status->setContentsMargins(0, 0, 0, 0);
  auto addDisplay = [&](const char* name, int width) {
    QLineEdit* display = addEdit(panel1, name, 0);
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::ClickFocus);
    display->setMaximumWidth(width);
    display->setMinimumWidth(width * 3 / 4);
    return display;
  };
  edit17_ = addDisplay("Edit17", 90);
  edit18_ = addDisplay("Edit18", 90);
  edit19_ = addDisplay("Edit19", 90);
  edit20_ = addDisplay("Edit20", 90);
  status->addWidget(addLabel(panel1, "Label18", "Approved annual balance"), 0, 0);
  status->addWidget(edit17_, 0, 1);
  status->addWidget(addLabel(panel1, "Label19", "Current annual balance"), 1, 0);
  status->addWidget(edit18_, 1, 1);
  status->addWidget(addLabel(panel1, "Label20", "Last closed period "), 0, 2);
  status->addWidget(edit19_, 0, 3);
  status->addWidget(addLabel(panel1, "Label21", "Current period "), 1, 2);
  status->addWidget(edit20_, 1, 3);
  button4_ = new QPushButton("Unfreeze", panel1);
  button4_->setObjectName("Button4");
  status->addWidget(button4_, 0, 4);
  edit15_ = addDisplay("Edit15", 220);
  edit16_ = addDisplay("Edit16", 110);
  edit15_->setToolTip("Last saved");
  edit16_->setToolTip("Last saved by");
  auto* saved = new QHBoxLayout;
  saved->addWidget(edit15_);
  saved->addWidget(edit16_);
  status->addLayout(saved, 1, 4);
  status->setColumnStretch(5, 1);
  layout->addWidget(panel1);

  tabs_ = new QTabWidget(central);
  tabs_->setObjectName("TabControl1");
  layout->addWidget(tabs_, 1);

  auto addButtons = [&](QWidget* panel, QGridLayout* grid, int row, const char* saveName,
                        const char* cancelName, const char* tabName, const QString& tabText) {
    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const char* name, const QString& text) {
      auto* button = new QPushButton(text, panel);
      button->setObjectName(name);
      button->setAutoDefault(true);
      buttons->addWidget(button);
      return button;
    };
    connect(addButton(saveName, "Save"), &QPushButton::clicked, save, &QAction::trigger);
    connect(addButton(cancelName, "Cancel"), &QPushButton::clicked, cancel, &QAction::trigger);
    buttons->addStretch(1);
    QPushButton* tab = addButton(tabName, tabText);
    grid->setRowStretch(row, 1);
    grid->addLayout(buttons, row + 1, 0, 1, grid->columnCount());
    return tab;
  };

  // Tab 1: the company data.
  auto* panel2 = new QWidget(tabs_);
  panel2->setObjectName("Panel2");
  auto* company = new QGridLayout(panel2);
  struct Field {
    const char* label;
    const char* labelText;
    const char* edit;
    int length;
    QLineEdit** control;
  };
  const Field companyFields[] = {
      {"Label1", "Company", "Edit1", 50, &edit1_},
      {"Label2", "Adress", "Edit2", 50, &edit2_},
      {"Label3", "Zip code", "Edit3", 10, &edit3_},
      {"Label4", "Town", "Edit4", 50, &edit4_},
      {"Label15", "State", "Edit14", 50, &edit14_},
      {"Label5", "Country", "Edit5", 50, &edit5_},
      {"Label6", "Telephone", "Edit6", 30, &edit6_},
      {"Label7", "Fax", "Edit7", 30, &edit7_},
      {"Label8", "Email", "Edit8", 100, &edit8_},
      {"Label9", "Website", "Edit9", 100, &edit9_},
      {"Label10", "Company Registration ", "Edit12", 50, &edit12_},
      {"Label24", "Tax registration nbr/id", "Edit22", 15, &edit22_},
      {"Label11", "Extra item 1", "Edit11", 50, &edit11_},
      {"Label14", "Extra item 2", "Edit10", 50, &edit10_},
  };
  int row = 0;
  for (const Field& field : companyFields) {
    *field.control = addEdit(panel2, field.edit, field.length);
    company->addWidget(addLabel(panel2, field.label, field.labelText), row, 0);
    company->addWidget(*field.control, row, 1);
    ++row;
  }
  company->setColumnStretch(1, 1);
  QPushButton* button6 =
      addButtons(panel2, company, row, "Button2", "Button3", "Button6", "Next detail tab >>>");
  tabs_->addTab(panel2, "Settings tab 1");

  // Tab 2: book year, periods, currency, fiscal year, profit account, journals.
  auto* panel3 = new QWidget(tabs_);
  panel3->setObjectName("Panel3");
  auto* book = new QGridLayout(panel3);
  dateTimePicker1_ = addDatePicker(panel3, "DateTimePicker1");
  dateTimePicker1_->setMaximumDate(kLastStartDate);
  dateTimePicker2_ = addDatePicker(panel3, "DateTimePicker2");
  comboBox1_ = new QComboBox(panel3);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setEditable(true);
  comboBox1_->setInsertPolicy(QComboBox::NoInsert);
  for (int count = 1; count <= AdminSettingsRecord::kMaxPeriods; ++count)
    comboBox1_->addItem(QString::fromStdString(periodCountText(count)));
  comboBox1_->lineEdit()->setMaxLength(2);
  edit21_ = addEdit(panel3, "Edit21", 3);
  edit23_ = addEdit(panel3, "Edit23", 4);
  comboBox2_ = new QComboBox(panel3);
  comboBox2_->setObjectName("ComboBox2");
  comboBox2_->setEditable(true);
  comboBox2_->setInsertPolicy(QComboBox::NoInsert);
  comboBox2_->setMinimumContentsLength(24);
  checkBox1_ = new QCheckBox("Do not use sales tax accounts", panel3);
  checkBox1_->setObjectName("CheckBox1");
  checkBox1_->hide();

  auto* year = new QGridLayout;
  year->addWidget(addLabel(panel3, "Label12", "Startdate bookyear"), 0, 0);
  year->addWidget(dateTimePicker1_, 0, 1);
  year->addWidget(addLabel(panel3, "Label13", "Enddate bookyear"), 1, 0);
  year->addWidget(dateTimePicker2_, 1, 1);
  year->addWidget(addLabel(panel3, "Label17", "Number of periods"), 2, 0);
  year->addWidget(comboBox1_, 2, 1);
  year->addWidget(addLabel(panel3, "Label22", "Currencycode"), 3, 0);
  year->addWidget(edit21_, 3, 1);
  year->addWidget(addLabel(panel3, "Label25", "Fiscal year"), 4, 0);
  year->addWidget(edit23_, 4, 1);
  year->setRowStretch(5, 1);
  book->addLayout(year, 0, 0);

  // The period starts, three columns of five; period 1 is always the start date.
  auto* periods = new QGridLayout;
  for (int p = 0; p < AdminSettingsRecord::kMaxPeriods; ++p) {
    const QByteArray name = "DateTimePicker" + QByteArray::number(p + 3);
    periodPickers_[p] = addDatePicker(panel3, name.constData());
    periodLabels_[p] = new QLabel(QString::fromStdString(periodCountText(p + 1)), panel3);
    periodLabels_[p]->setObjectName("PeriodLabel" + QString::number(p + 1));
    periodLabels_[p]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    periods->addWidget(periodLabels_[p], p % 5, (p / 5) * 2);
    periods->addWidget(periodPickers_[p], p % 5, (p / 5) * 2 + 1);
  }
  periods->setColumnStretch(6, 1);
  periodPickers_[0]->setEnabled(false);
  book->addLayout(periods, 0, 1);

  auto* profit = new QHBoxLayout;
  profit->addWidget(addLabel(panel3, "Label23", "Add last year profit to the GL account:"));
  profit->addWidget(comboBox2_, 1);
  book->addLayout(profit, 1, 0, 1, 2);
  book->addWidget(checkBox1_, 2, 0);

  // The journal settings are read by journalizing; this form keeps them hidden.
  groupBox1_ = new QGroupBox("Journal vouchers settings at company level", panel3);
  groupBox1_->setObjectName("GroupBox1");
  auto* journals = new QGridLayout(groupBox1_);
  const char* journalLabels[][2] = {
      {"Label26", "Sales book name"},       {"Label27", "Purchase book name"},
      {"Label28", "Daybook name"},          {"Label29", "Optional journal name"},
      {"Label30", "Optional journal name"}, {"Label31", "Optional journal name"},
  };
  for (int j = 0; j < AdminSettingsRecord::kJournalCount; ++j) {
    const QByteArray name = "Edit" + QByteArray::number(24 + j);
    journalNames_[j] = addEdit(groupBox1_, name.constData(), 50);
    journals->addWidget(addLabel(groupBox1_, journalLabels[j][0], journalLabels[j][1]), j, 0);
    journals->addWidget(journalNames_[j], j, 1);
  }
  // The three standard journals have a fixed type, shown beside them.
  const char* fixedTypes[][2] = {
      {"CheckBox2", "Sales book"}, {"CheckBox4", "Purchase book"}, {"CheckBox6", "Day book"}};
  for (int j = 0; j < 3; ++j) {
    auto* fixed = new QCheckBox(fixedTypes[j][1], groupBox1_);
    fixed->setObjectName(fixedTypes[j][0]);
    fixed->setChecked(true);
    fixed->setEnabled(false);
    journals->addWidget(fixed, j, 2);
  }
  for (int f = 0; f < AdminSettingsRecord::kJournalTypeFlagCount; ++f) {
    const QByteArray name = "CheckBox" + QByteArray::number(7 + f);
    journalTypeFlags_[f] = new QCheckBox(f % 2 == 0 ? "Sales book" : "Purchase book", groupBox1_);
    journalTypeFlags_[f]->setObjectName(name);
    journals->addWidget(journalTypeFlags_[f], 3 + f / 2, 2 + f % 2);
  }
  checkBox13_ = new QCheckBox("Split up JV's into different journals", groupBox1_);
  checkBox13_->setObjectName("CheckBox13");
  journals->addWidget(checkBox13_, 6, 0, 1, 2);
  journals->addWidget(addLabel(groupBox1_, "Label32", "Cashbook, Bankbook see GL accounts!"), 7, 0,
                      1, 4);
  book->addWidget(groupBox1_, 3, 0, 1, 2);
  book->setColumnStretch(1, 1);
  QPushButton* button7 =
      addButtons(panel3, book, 4, "Button1", "Button5", "Button7", "<<< Prev. detail tab <<<");
  tabs_->addTab(panel3, "Settings tab 2");

  // Undoing a freeze is not offered on this form yet.
  button4_->setEnabled(false);
  toolButton5_->setEnabled(false);
  unfreeze1_->setEnabled(false);

  connect(button6, &QPushButton::clicked, this, &AdminSettingsForm::Button6Click);
  connect(toolButton7, &QToolButton::clicked, this, &AdminSettingsForm::Button6Click);
  connect(button7, &QPushButton::clicked, this, &AdminSettingsForm::Button7Click);
  connect(toolButton9, &QToolButton::clicked, this, &AdminSettingsForm::Button7Click);
  connect(toolButton8, &QToolButton::clicked, this, &AdminSettingsForm::ToolButton8Click);
  connect(dateTimePicker1_, &QDateEdit::dateChanged, this,
          &AdminSettingsForm::DateTimePicker1Change);
  connect(dateTimePicker2_, &QDateEdit::dateChanged, this,
          &AdminSettingsForm::DateTimePicker2Change);
  // A count chosen from the list or typed and confirmed; leaving the field unchanged
  // recomputes nothing.
  auto countChosen = [this] {
    if (comboBox1_->currentText() != shownCount_) ComboBox1Change();
  };
  connect(comboBox1_, &QComboBox::activated, this, countChosen);
  connect(comboBox1_->lineEdit(), &QLineEdit::editingFinished, this, countChosen);
  connect(edit23_, &QLineEdit::textEdited, this, &AdminSettingsForm::Edit23Change);
  resize(860, 620);
}

QLabel* AdminSettingsForm::addLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* AdminSettingsForm::addEdit(QWidget* parent, const char* name, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  return edit;
}

QDateEdit* AdminSettingsForm::addDatePicker(QWidget* parent, const char* name) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(name);
  picker->setDisplayFormat("dd-MM-yyyy");
  picker->setCalendarPopup(true);
  picker->setDateRange(kFirstDate, kLastDate);
  picker->setDate(QDate(2008, 1, 1));
  return picker;
}

void AdminSettingsForm::applyLanguage() {
  tabs_->setTabText(0, languageText(kFirstTabText));
  tabs_->setTabText(1, languageText(kSecondTabText));
}

// --- showing and reading the settings ----------------------------------------------------

void AdminSettingsForm::setDate(QDateEdit* picker, const std::string& text) {
  Date date;
  try {
    date = TextToDate(text);
  } catch (const ConversionError&) {
    return;  // no date to show: the picker keeps its own
  }
  const QSignalBlocker blocker(picker);
  picker->setDate(toQDate(date));
}

void AdminSettingsForm::boundEndDate() {
  const QSignalBlocker blocker(dateTimePicker2_);
  dateTimePicker2_->setMinimumDate(dateTimePicker1_->date().addDays(1));
}

void AdminSettingsForm::showBookYear(const AdminSettingsRecord& settings) {
  setDate(dateTimePicker1_, settings.startDate);
  // The bound first, so that it cannot move the new end date.
  boundEndDate();
  setDate(dateTimePicker2_, settings.endDate);
  {
    const QSignalBlocker blocker(comboBox1_);
    shownCount_ = QString::fromStdString(periodCountText(settings.periodCount));
    comboBox1_->setEditText(shownCount_);
  }
  for (int p = 0; p < AdminSettingsRecord::kMaxPeriods; ++p)
    setDate(periodPickers_[p], settings.periodStarts[p]);
  edit17_->setText(fromRecordText(settings.approvedYear));
  edit18_->setText(fromRecordText(settings.currentYear));
  edit19_->setText(fromRecordText(settings.lastClosedPeriod));
  edit20_->setText(fromRecordText(settings.currentPeriod));
}

void AdminSettingsForm::showSettings(const AdminSettingsRecord& settings) {
  loaded_ = settings;
  edit22_->setText(fromRecordText(settings.taxRegistration));
  edit1_->setText(fromRecordText(settings.companyName));
  edit2_->setText(fromRecordText(settings.address));
  edit3_->setText(fromRecordText(settings.zipCode));
  edit4_->setText(fromRecordText(settings.town));
  edit14_->setText(fromRecordText(settings.state));
  edit5_->setText(fromRecordText(settings.country));
  edit6_->setText(fromRecordText(settings.telephone));
  edit7_->setText(fromRecordText(settings.fax));
  edit8_->setText(fromRecordText(settings.email));
  edit9_->setText(fromRecordText(settings.website));
  edit10_->setText(fromRecordText(settings.extraItem2));
  edit15_->setText(fromRecordText(settings.lastSavedStamp));
  edit16_->setText(fromRecordText(settings.lastSavedUser));
  edit11_->setText(fromRecordText(settings.extraItem1));
  edit12_->setText(fromRecordText(settings.companyRegistration));
  comboBox2_->setEditText(settings.profitAccountNumber.empty()
                              ? QString()
                              : fromRecordText(accountDisplayText(settings.profitAccountNumber,
                                                                  settings.profitAccountCaption)));
  edit23_->setText(fromRecordText(settings.fiscalYear));
  edit21_->setText(fromRecordText(settings.currencyCode));
  checkBox1_->setChecked(settings.noSalesTaxAccounts);
  showBookYear(settings);
  checkBox13_->setChecked(isTrue(settings.splitJournals));
  for (int j = 0; j < AdminSettingsRecord::kJournalCount; ++j)
    journalNames_[j]->setText(fromRecordText(settings.journalNames[j]));
  for (int f = 0; f < AdminSettingsRecord::kJournalTypeFlagCount; ++f)
    journalTypeFlags_[f]->setChecked(isTrue(settings.journalTypeFlags[f]));
}

AdminSettingsRecord AdminSettingsForm::settingsFromForm() const {
  AdminSettingsRecord s = loaded_;
  s.taxRegistration = toRecordText(edit22_->text());
  s.companyName = toRecordText(edit1_->text());
  s.address = toRecordText(edit2_->text());
  s.zipCode = toRecordText(edit3_->text());
  s.town = toRecordText(edit4_->text());
  s.state = toRecordText(edit14_->text());
  s.country = toRecordText(edit5_->text());
  s.telephone = toRecordText(edit6_->text());
  s.fax = toRecordText(edit7_->text());
  s.email = toRecordText(edit8_->text());
  s.website = toRecordText(edit9_->text());
  s.extraItem2 = toRecordText(edit10_->text());
  s.extraItem1 = toRecordText(edit11_->text());
  s.companyRegistration = toRecordText(edit12_->text());
  const ProfitAccount profit = splitAccountEntry(toRecordText(comboBox2_->currentText()));
  s.profitAccountNumber = profit.number;
  s.profitAccountCaption = profit.caption;
  s.startDate = dateText(dateTimePicker1_);
  s.endDate = dateText(dateTimePicker2_);
  s.fiscalYear = toRecordText(edit23_->text());
  s.currencyCode = toRecordText(edit21_->text());
  s.noSalesTaxAccounts = checkBox1_->isChecked();
  s.periodCount =
      static_cast<std::int16_t>(std::clamp(countNumber(comboBox1_->currentText()), -32768, 32767));
  // Slots beyond the one after the last period mean nothing; they keep what they held, so
  // that a slot that never held a date is not given one.
  const int used = std::clamp(s.periodCount + 1, 1, AdminSettingsRecord::kMaxPeriods);
  for (int p = 0; p < used; ++p) s.periodStarts[p] = dateText(periodPickers_[p]);
  s.approvedYear = toRecordText(edit17_->text());
  s.currentYear = toRecordText(edit18_->text());
  s.lastClosedPeriod = toRecordText(edit19_->text());
  s.currentPeriod = toRecordText(edit20_->text());
  s.splitJournals = flagText(checkBox13_->isChecked());
  for (int j = 0; j < AdminSettingsRecord::kJournalCount; ++j)
    s.journalNames[j] = toRecordText(journalNames_[j]->text());
  for (int f = 0; f < AdminSettingsRecord::kJournalTypeFlagCount; ++f)
    s.journalTypeFlags[f] = flagText(journalTypeFlags_[f]->isChecked());
  return s;
}

// --- loading ------------------------------------------------------------------------------

bool AdminSettingsForm::loadSettings() {
  SettingsLoad load =
      tallymoor::loadSettings(recordStore(), session().userId(), currentTimestamp());
  if (!load.ok()) {
    loadFailure_ = fromRecordText(load.message);
    desktop().showMessage(loadFailure_);
    return false;
  }
  loadFailure_.clear();
  showSettings(load.settings);
  return true;
}

void AdminSettingsForm::applyPeriodLock() {
  const int count =
      std::clamp(countNumber(comboBox1_->currentText()), 1, AdminSettingsRecord::kMaxPeriods);
  for (int p = 1; p < AdminSettingsRecord::kMaxPeriods; ++p) {
    periodPickers_[p]->setVisible(p < count);
    periodLabels_[p]->setVisible(p < count);
  }
  const bool locked = periodsLocked(toRecordText(edit20_->text()));
  comboBox1_->setEnabled(!locked);
  dateTimePicker2_->setEnabled(!locked);
  for (int p = 1; p < AdminSettingsRecord::kMaxPeriods; ++p) periodPickers_[p]->setEnabled(!locked);
  // Period 1 starts on the start date, always.
  periodPickers_[0]->setEnabled(false);
}

void AdminSettingsForm::fillProfitAccounts() {
  ProfitAccountEntries accounts =
      readProfitAccountEntries(recordStore(), loaded_.profitAccountNumber);
  if (!accounts.ok()) {
    desktop().showMessage(fromRecordText(accounts.message));
    return;
  }
  const QString shown = comboBox2_->currentText();
  const QSignalBlocker blocker(comboBox2_);
  comboBox2_->clear();
  for (const std::string& entry : accounts.entries) comboBox2_->addItem(fromRecordText(entry));
  if (accounts.storedIndex >= 0) {
    comboBox2_->setCurrentIndex(accounts.storedIndex);
  } else {
    // A stored account that the chart no longer holds stays as it was stored.
    comboBox2_->setCurrentIndex(-1);
    comboBox2_->setEditText(shown);
  }
}

void AdminSettingsForm::FormActivate() {
  resetStatus();
  setStatus({}, StatusKind::Plain);
  // The main menu hands over "GLA;ADS"; whatever happens here, it is closed at the end.
  std::optional<FileSet> handedOver;
  if (recordStore().isSetOpen()) handedOver.emplace(recordStore(), FileSet::Adopt{});
  const bool loaded = loadSettings();
  applyPeriodLock();
  if (loaded) fillProfitAccounts();
  dateTimePicker1_->setEnabled(edit17_->text().isEmpty());
  handedOver.reset();
  groupBox1_->hide();
  checkBox13_->setChecked(false);
  tabs_->setCurrentIndex(secondTabRequested_ ? 1 : 0);
  secondTabRequested_ = false;
}

// --- book year and periods ----------------------------------------------------------------

void AdminSettingsForm::recompute() {
  if (!periodCountFromText(toRecordText(comboBox1_->currentText()))) {
    const QSignalBlocker blocker(comboBox1_);
    comboBox1_->setEditText(QString::fromStdString(periodCountText(1)));
  }
  applyPeriodLock();
  AdminSettingsRecord settings = settingsFromForm();
  recomputePeriods(settings);
  showBookYear(settings);
  // Undoing a freeze is not offered once the periods changed.
  button4_->setEnabled(false);
  toolButton5_->setEnabled(false);
  unfreeze1_->setEnabled(false);
}

void AdminSettingsForm::ComboBox1Change() {
  resetStatus();
  recompute();
}

void AdminSettingsForm::DateTimePicker2Change() {
  resetStatus();
  recompute();
}

void AdminSettingsForm::DateTimePicker1Change() {
  resetStatus();
  AdminSettingsRecord settings = settingsFromForm();
  if (!periodCountFromText(toRecordText(comboBox1_->currentText()))) settings.periodCount = 1;
  changeBookYearStart(settings, fromQDate(dateTimePicker1_->date()));
  showBookYear(settings);
  applyPeriodLock();
  button4_->setEnabled(false);
  toolButton5_->setEnabled(false);
  unfreeze1_->setEnabled(false);
}

// --- profit account and fiscal year -------------------------------------------------------

void AdminSettingsForm::ComboBox2Exit() {
  const QString text = comboBox2_->currentText();
  if (text.isEmpty()) return;
  for (int i = 0; i < comboBox2_->count(); ++i)
    if (comboBox2_->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
  comboBox2_->setCurrentIndex(-1);
  comboBox2_->setEditText({});
}

void AdminSettingsForm::Edit23Change() {
  std::string text = toRecordText(edit23_->text());
  IntegerFieldFilter(text);
  const QString kept = fromRecordText(text);
  if (kept == edit23_->text()) return;
  const int cursor =
      edit23_->cursorPosition() - static_cast<int>(edit23_->text().size() - kept.size());
  edit23_->setText(kept);
  edit23_->setCursorPosition(std::max(0, cursor));
}

void AdminSettingsForm::refuseFiscalYear() {
  showError(kFiscalYearRefusal);
  tabs_->setCurrentIndex(1);
  edit23_->setFocus();
}

void AdminSettingsForm::Edit23Exit() {
  resetStatus();
  if (!isAcceptableFiscalYear(toRecordText(edit23_->text())))
    refuseFiscalYear();
  else if (statusText() == kFiscalYearRefusal)
    setStatus({}, StatusKind::Plain);
}

// --- save and cancel ----------------------------------------------------------------------

void AdminSettingsForm::opslaanExecute() {
  resetStatus();
  if (!loadFailure_.isEmpty()) {
    // Settings that were never read would be written over the stored ones.
    showError(loadFailure_);
    return;
  }
  if (!isAcceptableFiscalYear(toRecordText(edit23_->text()))) {
    refuseFiscalYear();
    return;
  }
  AdminSettingsRecord settings = settingsFromForm();
  if (settings.fiscalYear.empty()) settings.fiscalYear = kEmptyFiscalYearStored;
  SettingsStore stored =
      storeSettings(recordStore(), std::move(settings), session().userId(), currentTimestamp());
  if (stored.refused) {
    showError(fromRecordText(stored.message));
    return;
  }
  if (!stored.opened) {
    desktop().showMessage(fromRecordText(stored.message));
    return;
  }
  showSettings(stored.stored);
  close();
}

void AdminSettingsForm::AnnulerenExecute() {
  resetStatus();
  loadSettings();
  setStatus({}, StatusKind::Plain);
  close();
}

void AdminSettingsForm::Button6Click() {
  resetStatus();
  tabs_->setCurrentIndex(1);
}

void AdminSettingsForm::Button7Click() {
  resetStatus();
  tabs_->setCurrentIndex(0);
}

// --- keys and leaving fields ----------------------------------------------------------------

bool AdminSettingsForm::previewKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    AnnulerenExecute();
    return true;
  }
  if (event->key() == Qt::Key_F1) {
    showHelp(helpMarker());
    return true;
  }
  return Form::previewKey(event);
}

bool AdminSettingsForm::eventFilter(QObject* watched, QEvent* event) {
  if (Form::eventFilter(watched, event)) return true;
  if (event->type() != QEvent::FocusOut || !isVisible()) return false;
  // Leaving a field for another control of the form; switching windows or opening a menu
  // leaves nothing.
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
  if (watched == edit23_)
    Edit23Exit();
  else if (watched == comboBox2_->lineEdit())
    ComboBox2Exit();
  return false;
}

}  // namespace tallymoor
