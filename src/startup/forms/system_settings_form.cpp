#include "startup/forms/system_settings_form.h"

#include <QEvent>
#include <QGridLayout>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/number_format.h"
#include "record-store/record_store.h"
#include "records/installation_language_record.h"
#include "startup/forms/caption_routine.h"
#include "startup/language_loader.h"
#include "startup/session.h"
#include "startup/system_settings.h"
#include "startup/web_pages.h"

namespace tallymoor {
namespace {

QString rateText(double rate) {
  return QString::number(rate, 'g', 12).replace('.', numberFormat().decimalSeparator);
}

// The currency symbols offered, as stored (Windows-1252).
const char kCurrencies[] = {'$', '\xA3', '\x80', '\xA5'};

}  // namespace

QLineEdit* SystemSettingsForm::addEdit(const char* name, int maxLength) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  return edit;
}

QLabel* SystemSettingsForm::addLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  return label;
}

SystemSettingsForm::SystemSettingsForm(QWidget* parent) : Form("Tsystemscherm", parent) {
  // Menus and tool bar.
  QMenu* file1 = menuBar()->addMenu("file");
  file1->setObjectName("File1");
  QAction* save1 = file1->addAction("Save", this, &SystemSettingsForm::opslaanExecute);
  save1->setObjectName("Save1");
  save1->setShortcut(QKeySequence::Save);
  QAction* cancel1 = file1->addAction("Cancel", this, &SystemSettingsForm::AnnulerenExecute);
  cancel1->setObjectName("Cancel1");
  QMenu* edit13 = menuBar()->addMenu("Run");
  edit13->setObjectName("Edit13");
  edit13->addAction(save1);
  edit13->addAction(cancel1);
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Systemsettings help", this, [this] { showHelp(helpMarker()); })
      ->setObjectName("BrookfellSystemsettingshelp1");
  help1->addAction("Brookfell Help", this, &SystemSettingsForm::BrookfellHelp1Click)
      ->setObjectName("BrookfellHelp1");
  help1->addAction("Tutorial", this, &SystemSettingsForm::Tutorial1Click)
      ->setObjectName("Tutorial1");
  help1->addAction("About...", this, &SystemSettingsForm::About1Click)->setObjectName("About1");
  help1->addAction("Homepage", this, &SystemSettingsForm::Brookfellhomepage1Click)
      ->setObjectName("Brookfellhomepage1");

  QToolBar* toolBar = addToolBar("Tools");
  toolBar->setObjectName("ToolBar1");
  toolBar->setMovable(false);
  auto addTool = [&](const char* name, const QString& text, auto slot) {
    auto* button = new QToolButton(toolBar);
    button->setObjectName(name);
    button->setText(text);
    toolBar->addWidget(button);
    connect(button, &QToolButton::clicked, this, slot);
    return button;
  };
  addTool("ToolButton2", "Save", &SystemSettingsForm::opslaanExecute);
  addTool("ToolButton1", "Cancel", &SystemSettingsForm::AnnulerenExecute);
  addTool("ToolButton5", "Help", [this] { showHelp(helpMarker()); });

  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  label16_ = addLabel("Label16", "System settings");
  QFont heading = label16_->font();
  heading.setBold(true);
  heading.setPointSize(heading.pointSize() + 2);
  label16_->setFont(heading);
  grid->addWidget(label16_, 0, 0, 1, 4);
  auto* label14 = addLabel("Label14", "");
  label14->hide();

  // Owner of the installation.
  edit1_ = addEdit("Edit1", 50);
  edit2_ = addEdit("Edit2", 30);
  edit3_ = addEdit("Edit3", 15);
  edit4_ = addEdit("Edit4", 30);
  edit14_ = addEdit("Edit14", 30);
  edit5_ = addEdit("Edit5", 30);
  edit6_ = addEdit("Edit6", 20);
  edit7_ = addEdit("Edit7", 20);
  edit8_ = addEdit("Edit8", 30);
  edit17_ = addEdit("Edit17", 50);
  const std::pair<QLabel*, QLineEdit*> company[] = {
      {addLabel("Label1", "Name buyer"), edit1_}, {addLabel("Label2", "Address"), edit2_},
      {addLabel("Label3", "Zip code"), edit3_},   {addLabel("Label4", "Town"), edit4_},
      {addLabel("Label15", "Region"), edit14_},   {addLabel("Label5", "Country"), edit5_},
      {addLabel("Label6", "Telephone"), edit6_},  {addLabel("Label7", "Fax"), edit7_},
      {addLabel("Label8", "Email"), edit8_},      {addLabel("Label17", "Website"), edit17_},
  };
  int row = 1;
  for (const auto& [label, edit] : company) {
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row++, 1);
  }

  // Installation: directory, language, number format, tips and news, users.
  label9_ = addLabel("Label9", "Directory");
  edit9_ = addEdit("Edit9", 100);
  comboBox1_ = new QComboBox(this);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setEditable(true);
  comboBox1_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* language : kLanguages) comboBox1_->addItem(fromRecordText(language));
  comboBox2_ = new QComboBox(this);
  comboBox2_->setObjectName("ComboBox2");
  comboBox2_->addItems({"0", "1", "2", "3", "4"});
  comboBox3_ = new QComboBox(this);
  comboBox3_->setObjectName("ComboBox3");
  for (char symbol : kCurrencies) comboBox3_->addItem(fromRecordText(std::string(1, symbol)));
  radioButton1_ = new QRadioButton(this);
  radioButton1_->setObjectName("RadioButton1");
  radioButton2_ = new QRadioButton(this);
  radioButton2_->setObjectName("RadioButton2");
  checkBox7_ = new QCheckBox("Show tips at startup", this);
  checkBox7_->setObjectName("CheckBox7");
  checkBox6_ = new QCheckBox("Check for updates once a month", this);
  checkBox6_->setObjectName("CheckBox6");
  checkBox1_ = new QCheckBox("User identification", this);
  checkBox1_->setObjectName("CheckBox1");
  checkBox2_ = new QCheckBox("User, password protection", this);
  checkBox2_->setObjectName("CheckBox2");
  checkBox3_ = new QCheckBox("Authorisation levels", this);
  checkBox3_->setObjectName("CheckBox3");
  checkBox3_->hide();  // stored, but no function reads it
  edit15_ = addEdit("Edit15", 10);
  edit15_->setReadOnly(true);
  edit16_ = addEdit("Edit16", 20);
  edit16_->setReadOnly(true);

  const std::pair<QLabel*, QWidget*> installation[] = {
      {label9_, edit9_},
      {addLabel("Label12", "Language"), comboBox1_},
      {addLabel("Label13", "Decimals (amounts)"), comboBox2_},
      {addLabel("Label31", "Valuta"), comboBox3_},
  };
  row = 1;
  for (const auto& [label, field] : installation) {
    label->setBuddy(field);
    grid->addWidget(label, row, 2);
    grid->addWidget(field, row++, 3);
  }
  grid->addWidget(radioButton1_, row++, 3);
  grid->addWidget(radioButton2_, row++, 3);
  grid->addWidget(checkBox7_, row++, 3);
  grid->addWidget(checkBox6_, row++, 3);
  grid->addWidget(checkBox1_, row++, 3);
  grid->addWidget(checkBox2_, row++, 3);
  grid->addWidget(checkBox3_, row++, 3);

  // Two groups of three sales tax names and rates.
  row = std::max(row, 12);
  grid->addWidget(addLabel("Label18", "Sales tax rate depends on features of :"), row++, 0, 1, 4);
  checkBox4_ = new QCheckBox("Products or Service", this);
  checkBox4_->setObjectName("CheckBox4");
  checkBox5_ = new QCheckBox("Customer or vendor", this);
  checkBox5_->setObjectName("CheckBox5");
  grid->addWidget(checkBox4_, row, 0, 1, 2);
  grid->addWidget(checkBox5_, row++, 2, 1, 2);
  const char* names1[] = {"Edit18", "Edit20", "Edit22"};
  const char* rates1[] = {"Edit19", "Edit21", "Edit23"};
  const char* names2[] = {"Edit24", "Edit26", "Edit28"};
  const char* rates2[] = {"Edit25", "Edit27", "Edit29"};
  const char* nameLabels1[] = {"Label19", "Label20", "Label22"};
  const char* rateLabels1[] = {"Label21", "Label23", "Label25"};
  const char* nameLabels2[] = {"Label24", "Label27", "Label29"};
  const char* rateLabels2[] = {"Label26", "Label28", "Label30"};
  for (int i = 0; i < 3; ++i) {
    taxNames1_[i] = addEdit(names1[i], 12);
    taxRates1_[i] = addEdit(rates1[i], 12);
    taxNames2_[i] = addEdit(names2[i], 12);
    taxRates2_[i] = addEdit(rates2[i], 12);
    taxLabels1_[2 * i] = addLabel(nameLabels1[i], "Name");
    taxLabels1_[2 * i + 1] = addLabel(rateLabels1[i], "Rate %");
    taxLabels2_[2 * i] = addLabel(nameLabels2[i], "Name");
    taxLabels2_[2 * i + 1] = addLabel(rateLabels2[i], "Rate %");
    auto* pair1 = new QHBoxLayout;
    pair1->addWidget(taxLabels1_[2 * i]);
    pair1->addWidget(taxNames1_[i]);
    pair1->addWidget(taxLabels1_[2 * i + 1]);
    pair1->addWidget(taxRates1_[i]);
    auto* pair2 = new QHBoxLayout;
    pair2->addWidget(taxLabels2_[2 * i]);
    pair2->addWidget(taxNames2_[i]);
    pair2->addWidget(taxLabels2_[2 * i + 1]);
    pair2->addWidget(taxRates2_[i]);
    grid->addLayout(pair1, row, 0, 1, 2);
    grid->addLayout(pair2, row++, 2, 1, 2);
  }
  // Rates only ever hold a decimal number.
  for (QLineEdit* rate :
       {taxRates1_[0], taxRates1_[1], taxRates1_[2], taxRates2_[0], taxRates2_[1], taxRates2_[2]}) {
    connect(rate, &QLineEdit::textChanged, this, [this, rate](const QString& text) {
      std::string filtered = toRecordText(text);
      DecimalFieldFilter(filtered, false);
      QString result = fromRecordText(filtered);
      if (result != text) {
        QSignalBlocker quiet(rate);
        rate->setText(result);
      }
    });
  }

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(edit16_);
  buttons->addWidget(edit15_);
  buttons->addStretch();
  auto* button2 = new QPushButton("Save", this);
  button2->setObjectName("Button2");
  button2->setDefault(true);
  auto* button3 = new QPushButton("Cancel", this);
  button3->setObjectName("Button3");
  buttons->addWidget(button2);
  buttons->addWidget(button3);
  grid->addLayout(buttons, row, 0, 1, 4);
  setCentralWidget(central);

  connect(button2, &QPushButton::clicked, this, &SystemSettingsForm::opslaanExecute);
  connect(button3, &QPushButton::clicked, this, &SystemSettingsForm::AnnulerenExecute);
  connect(checkBox1_, &QCheckBox::clicked, this, &SystemSettingsForm::CheckBox1Click);
  connect(checkBox2_, &QCheckBox::clicked, this, &SystemSettingsForm::CheckBox2Click);
  connect(checkBox4_, &QCheckBox::toggled, this, &SystemSettingsForm::CheckBox4Click);
  connect(checkBox5_, &QCheckBox::toggled, this, &SystemSettingsForm::CheckBox5Click);
  connect(comboBox2_, &QComboBox::currentIndexChanged, this, &SystemSettingsForm::refreshSamples);
  connect(comboBox3_, &QComboBox::currentIndexChanged, this, &SystemSettingsForm::refreshSamples);
  connect(radioButton1_, &QRadioButton::toggled, this, &SystemSettingsForm::refreshSamples);
  connect(comboBox1_, &QComboBox::editTextChanged, this, &SystemSettingsForm::ComboBox1Change);
  comboBox1_->lineEdit()->installEventFilter(this);
  edit9_->installEventFilter(this);
  resize(900, 640);

  FormCreate();
}

bool SystemSettingsForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && watched == edit9_) {
    Edit9Enter();
    return false;
  }
  if (event->type() == QEvent::FocusOut && watched == comboBox1_->lineEdit()) ComboBox1Exit();
  return Form::eventFilter(watched, event);
}

void SystemSettingsForm::FormCreate() {
  Session& s = session();
  RecordStore& store = recordStore();
  s.noSystemRecordYet = false;
  FileSet set(store, "SYS;LAN;INS");
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.FileErrorText));
    return;
  }
  RecordFile& sys = store.file(FileCode::SYS);
  if (sys.size() == 0) {
    // First run: the form's initial values, the default directory, today's news date.
    s.noSystemRecordYet = true;
    s.systemParameters = SystemParametersRecord{};
    s.systemParameters.languageName = "English";
    s.systemParameters.tipsAndNews = "T";
    s.systemParameters.newsDate = DateToText(today());
    s.systemParameters.directory = (store.startDirectory() + "/data/").substr(0, 100);
    s.baseDataDirectory = s.systemParameters.directory;
    fillFromRecord();
    storeRecord();
  } else {
    RecordFile& ins = store.file(FileCode::INS);
    std::string installation =
        ins.size() > 0 ? ins.readRecord<InstallationLanguageRecord>().code : "XX";
    s.systemParameters = SystemParametersRecord::decode(sys.readAt(0));
    s.systemParameters.languageName =
        shownLanguage(installation, s.systemParameters.languageName).substr(0, 20);
    ins.writeAt(0, InstallationLanguageRecord{"XX"}.encode());
    bool save = false;
    if (s.systemParameters.directory.empty()) {
      s.systemParameters.directory = (store.startDirectory() + "/data/").substr(0, 100);
      save = true;
    }
    s.baseDataDirectory = s.systemParameters.directory;
    if (s.systemParameters.newsDate.empty()) s.systemParameters.newsDate = DateToText(today());
    if (auto due =
            dueNewsDate(s.systemParameters.newsDate, today(), s.systemParameters.tipsAndNews)) {
      s.systemParameters.newsDate = *due;
      desktop().showMessage(
          "Tallymoor calls the newspage of our website to show relevant messages");
      desktop().openUrl(fromRecordText(newsPageForLanguage(s.systemParameters.languageName)));
      save = true;
    }
    fillFromRecord();
    if (save) storeRecord();
  }
  loadLanguage(store, s.systemParameters.languageName, s.language);
}

void SystemSettingsForm::fillFromRecord() {
  const SystemParametersRecord& r = session().systemParameters;
  edit1_->setText(fromRecordText(r.buyerName));
  edit2_->setText(fromRecordText(r.address));
  edit3_->setText(fromRecordText(r.zipCode));
  edit4_->setText(fromRecordText(r.town));
  edit14_->setText(fromRecordText(r.region));
  edit5_->setText(fromRecordText(r.country));
  edit6_->setText(fromRecordText(r.telephone));
  edit7_->setText(fromRecordText(r.fax));
  edit8_->setText(fromRecordText(r.email));
  edit17_->setText(fromRecordText(r.website));
  edit15_->setText(fromRecordText(r.savedBy));
  edit16_->setText(fromRecordText(r.savedAt));
  {
    QSignalBlocker quiet(comboBox1_);
    comboBox1_->setEditText(fromRecordText(r.languageName));
  }
  edit9_->setText(fromRecordText(session().baseDataDirectory));
  comboBox2_->setCurrentIndex(r.decimals >= 0 && r.decimals <= 4 ? r.decimals : 2);
  int currency = -1;
  for (int i = 0; i < 4; ++i)
    if (kCurrencies[i] == r.currencySymbol) currency = i;
  comboBox3_->setCurrentIndex(currency);
  checkBox4_->setChecked(!r.taxGroup1[0].name.empty() || !r.taxGroup1[1].name.empty() ||
                         !r.taxGroup1[2].name.empty());
  checkBox5_->setChecked(!r.taxGroup2[0].name.empty() || !r.taxGroup2[1].name.empty() ||
                         !r.taxGroup2[2].name.empty());
  for (int i = 0; i < 3; ++i) {
    taxNames1_[i]->setText(fromRecordText(r.taxGroup1[i].name));
    taxRates1_[i]->setText(rateText(r.taxGroup1[i].rate));
    taxNames2_[i]->setText(fromRecordText(r.taxGroup2[i].name));
    taxRates2_[i]->setText(rateText(r.taxGroup2[i].rate));
  }
  checkBox1_->setChecked(r.userIdentification);
  checkBox2_->setChecked(r.passwordProtection);
  checkBox3_->setChecked(r.authorisationLevels);
  (r.amountFormat == 'T' ? radioButton1_ : radioButton2_)->setChecked(true);
  const std::string& tips = r.tipsAndNews;
  checkBox7_->setChecked(tips == "T" || tips == "F");
  checkBox6_->setChecked(tips == "T" || tips == "U");
  applyVisibility();
  refreshSamples();
}

void SystemSettingsForm::storeRecord() {
  Session& s = session();
  RecordStore& store = recordStore();
  SystemParametersRecord& r = s.systemParameters;
  r.buyerName = toRecordText(edit1_->text());
  r.address = toRecordText(edit2_->text());
  r.zipCode = toRecordText(edit3_->text());
  r.town = toRecordText(edit4_->text());
  r.region = toRecordText(edit14_->text());
  r.country = toRecordText(edit5_->text());
  r.telephone = toRecordText(edit6_->text());
  r.fax = toRecordText(edit7_->text());
  r.email = toRecordText(edit8_->text());
  r.website = toRecordText(edit17_->text());
  r.directory = toRecordText(edit9_->text()).substr(0, 100);
  r.languageName = toRecordText(comboBox1_->currentText()).substr(0, 20);
  r.decimals = static_cast<std::int16_t>(comboBox2_->currentText().toInt());
  std::string currency = toRecordText(comboBox3_->currentText());
  r.currencySymbol = currency.empty() ? '\0' : currency[0];
  r.userIdentification = checkBox1_->isChecked();
  r.passwordProtection = checkBox2_->isChecked();
  r.authorisationLevels = checkBox3_->isChecked();
  r.savedBy = r.lastLogin.substr(0, 10);
  r.savedAt = currentTimestamp().substr(0, 20);
  bool tips = checkBox7_->isChecked();
  bool news = checkBox6_->isChecked();
  r.tipsAndNews = tips ? (news ? "T" : "F") : (news ? "U" : "G");
  for (int i = 0; i < 3; ++i) {
    r.taxGroup1[i] = checkBox4_->isChecked()
                         ? TaxRate{toRecordText(taxNames1_[i]->text()),
                                   ParseAmount(toRecordText(taxRates1_[i]->text()))}
                         : TaxRate{};
    r.taxGroup2[i] = checkBox5_->isChecked()
                         ? TaxRate{toRecordText(taxNames2_[i]->text()),
                                   ParseAmount(toRecordText(taxRates2_[i]->text()))}
                         : TaxRate{};
  }
  r.amountFormat = radioButton1_->isChecked() ? 'T' : 'F';
  writeSystemParameters(store, r);
  edit15_->setText(fromRecordText(r.savedBy));
  edit16_->setText(fromRecordText(r.savedAt));
  loadLanguage(store, r.languageName, s.language);
  s.baseDataDirectory = r.directory;
}

void SystemSettingsForm::opslaanExecute() {
  resetStatus();
  RecordStore& store = recordStore();
  {
    FileSet set(store, "SYS;LAN;");
    if (!set.ok()) {
      desktop().showMessage(fromRecordText(store.FileErrorText));
      return;
    }
    storeRecord();
  }
  createDirectoryTree(session().baseDataDirectory);
  close();
}

void SystemSettingsForm::AnnulerenExecute() {
  // Website, decimals and amount format keep what was typed.
  QString website = edit17_->text();
  int decimals = comboBox2_->currentIndex();
  bool formatT = radioButton1_->isChecked();
  fillFromRecord();
  edit17_->setText(website);
  comboBox2_->setCurrentIndex(decimals);
  (formatT ? radioButton1_ : radioButton2_)->setChecked(true);
  close();
}

void SystemSettingsForm::Edit9Enter() {
  FileDialogRequest request;
  request.title = label16_->text() + "/" + label9_->text();
  request.filter = "Administrationsfile|admin.vlt";
  request.fileName = "admin.vlt";
  request.initialDirectory = edit9_->text();
  if (std::optional<QString> chosen = desktop().openFileName(request))
    edit9_->setText(fromRecordText(directoryOfChosenFile(toRecordText(*chosen))));
  edit17_->setFocus();
}

void SystemSettingsForm::CheckBox1Click() {
  if (!checkBox1_->isChecked()) {
    checkBox2_->setChecked(false);
    checkBox3_->setChecked(false);
  }
  applyVisibility();
}

void SystemSettingsForm::CheckBox2Click() { checkBox3_->hide(); }

void SystemSettingsForm::CheckBox4Click() { applyVisibility(); }

void SystemSettingsForm::CheckBox5Click() { applyVisibility(); }

void SystemSettingsForm::applyVisibility() {
  checkBox2_->setVisible(checkBox1_->isChecked());
  checkBox3_->hide();
  for (int i = 0; i < 3; ++i) {
    taxNames1_[i]->setVisible(checkBox4_->isChecked());
    taxRates1_[i]->setVisible(checkBox4_->isChecked());
    taxNames2_[i]->setVisible(checkBox5_->isChecked());
    taxRates2_[i]->setVisible(checkBox5_->isChecked());
  }
  for (QLabel* label : taxLabels1_) label->setVisible(checkBox4_->isChecked());
  for (QLabel* label : taxLabels2_) label->setVisible(checkBox5_->isChecked());
}

void SystemSettingsForm::refreshSamples() {
  // The samples show the chosen decimals and currency, whatever the saved ones are.
  NumberFormat saved = numberFormat();
  numberFormat().decimals = comboBox2_->currentText().toInt();
  std::string currency = toRecordText(comboBox3_->currentText());
  numberFormat().currencySymbol = currency.empty() ? '\0' : currency[0];
  numberFormat().amountFormat = 'T';
  radioButton1_->setText(fromRecordText(FormatAmount(2475, -1, 'N')));
  numberFormat().amountFormat = 'F';
  radioButton2_->setText(" " + fromRecordText(FormatAmount(2475, -1, 'N')));
  numberFormat() = saved;
}

void SystemSettingsForm::ComboBox1Change() {
  // Only the four languages: a text that leads to none of them becomes the first.
  QString text = comboBox1_->currentText();
  for (int i = 0; i < comboBox1_->count(); ++i)
    if (comboBox1_->itemText(i).startsWith(text, Qt::CaseInsensitive)) return;
  QSignalBlocker quiet(comboBox1_);
  comboBox1_->setEditText(comboBox1_->itemText(0));
}

void SystemSettingsForm::ComboBox1Exit() {
  // Leaving the field completes the language typed so far; a text that matches none is
  // emptied.
  QString text = comboBox1_->currentText();
  QString match;
  int candidates = 0;
  for (int i = 0; i < comboBox1_->count(); ++i) {
    QString entry = comboBox1_->itemText(i);
    if (entry.compare(text, Qt::CaseInsensitive) == 0) {
      match = entry;
      candidates = 1;
      break;
    }
    if (!text.isEmpty() && entry.startsWith(text, Qt::CaseInsensitive)) {
      match = entry;
      ++candidates;
    }
  }
  QSignalBlocker quiet(comboBox1_);
  comboBox1_->setEditText(candidates == 1 ? match : QString());
}

void SystemSettingsForm::activate() { applyVisibility(); }

void SystemSettingsForm::Brookfellhomepage1Click() {
  desktop().openUrl(webPageForLanguage(comboBox1_->currentText()));
}

}  // namespace tallymoor
