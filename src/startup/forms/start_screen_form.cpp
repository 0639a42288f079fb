#include "startup/forms/start_screen_form.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "platform/record_text.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "startup/forms/system_settings_form.h"
#include "startup/session.h"
#include "startup/tips.h"
#include "startup/user_file.h"

namespace tallymoor {
namespace {

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* namedEdit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  return edit;
}

QPushButton* namedButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

// A panel that lies over the menu tree and hides it while it shows.
QFrame* overlayPanel(const char* name, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setAutoFillBackground(true);
  return panel;
}

}  // namespace

StartScreenForm::StartScreenForm(QWidget* parent) : Form("TStartscherm", parent) {
  setWindowTitle(QString(kProgramTitle) + " : Menu ");

  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("File1");
  file1->addAction("Exit", this, [this] { close(); })->setObjectName("Exit1");
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Brookfell help", this, &StartScreenForm::Info1Click)->setObjectName("Info1");
  help1->addAction("Tutorial", this, &StartScreenForm::utorial1Click)->setObjectName("utorial1");
  help1->addAction("Brookfell Menu help", this, &StartScreenForm::Internet1Click)
      ->setObjectName("Internet1");
  help1->addAction("About...", this, &StartScreenForm::About1Click)->setObjectName("About1");
  help1->addAction("Homepage", this, [] {})->setObjectName("Brookfellhomepage1");

  QToolBar* toolBar = addToolBar("Menu");
  toolBar->setObjectName("ToolBar1");
  toolBar->setMovable(false);
  auto* toolButton6 = new QToolButton(toolBar);
  toolButton6->setObjectName("ToolButton6");
  toolButton6->setText("?");
  toolBar->addWidget(toolButton6);
  auto* toolButton7 = new QToolButton(toolBar);
  toolButton7->setObjectName("ToolButton7");
  toolButton7->setText("X");
  toolBar->addWidget(toolButton7);
  label5_ = namedLabel("Label5", " Menu ()", toolBar);
  toolBar->addWidget(label5_);
  connect(toolButton6, &QToolButton::clicked, this, &StartScreenForm::Internet1Click);
  connect(toolButton7, &QToolButton::clicked, this, &StartScreenForm::ToolButton7Click);

  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);

  // The menu tree with the two panels over it.
  auto* menuArea = new QWidget(central);
  auto* stack = new QGridLayout(menuArea);
  stack->setContentsMargins(0, 0, 0, 0);
  treeView1_ = new QTreeWidget(menuArea);
  treeView1_->setObjectName("TreeView1");
  treeView1_->header()->hide();
  treeView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  new QTreeWidgetItem(treeView1_, QStringList{kProgramTitle});
  stack->addWidget(treeView1_, 0, 0);

  panel1_ = overlayPanel("Panel1", menuArea);
  auto* login = new QGridLayout(panel1_);
  login->addWidget(namedLabel("Label4", "Login panel", panel1_), 0, 0, 1, 2);
  label1_ = namedLabel("Label1", "User id", panel1_);
  edit2_ = namedEdit("Edit2", 10, panel1_);
  label2_ = namedLabel("Label2", "Password", panel1_);
  edit3_ = namedEdit("Edit3", 12, panel1_);
  edit3_->setEchoMode(QLineEdit::Password);
  auto* label3 = namedLabel("Label3", "Administration for :", panel1_);
  comboBox1_ = new QComboBox(panel1_);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setEditable(true);
  comboBox1_->setInsertPolicy(QComboBox::NoInsert);
  label1_->setBuddy(edit2_);
  label2_->setBuddy(edit3_);
  label3->setBuddy(comboBox1_);
  login->addWidget(label1_, 1, 0);
  login->addWidget(edit2_, 1, 1);
  login->addWidget(label2_, 2, 0);
  login->addWidget(edit3_, 2, 1);
  login->addWidget(label3, 3, 0);
  login->addWidget(comboBox1_, 3, 1);
  auto* loginButtons = new QHBoxLayout;
  auto* button1 = namedButton("Button1", "OK", panel1_);
  button1->setDefault(true);
  auto* button2 = namedButton("Button2", "Cancel", panel1_);
  loginButtons->addStretch();
  loginButtons->addWidget(button1);
  loginButtons->addWidget(button2);
  login->addLayout(loginButtons, 4, 0, 1, 2);
  edit4_ = namedEdit("Edit4", 80, panel1_);
  edit4_->setReadOnly(true);
  edit4_->setStyleSheet("color: #c62828;");
  edit4_->hide();
  login->addWidget(edit4_, 5, 0, 1, 2);
  login->setRowStretch(6, 1);
  stack->addWidget(panel1_, 0, 0);
  connect(button2, &QPushButton::clicked, this, &StartScreenForm::Button2Click);
  // Typed letters of the user id become upper case.
  connect(edit2_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (text != text.toUpper()) {
      int cursor = edit2_->cursorPosition();
      edit2_->setText(text.toUpper());
      edit2_->setCursorPosition(cursor);
    }
  });

  panel2_ = overlayPanel("Panel2", menuArea);
  auto* password = new QGridLayout(panel2_);
  password->addWidget(namedLabel("Label8", "Change password", panel2_), 0, 0, 1, 2);
  auto* edit5 = namedEdit("Edit5", 12, panel2_);
  edit5->setEchoMode(QLineEdit::Password);
  auto* edit6 = namedEdit("Edit6", 12, panel2_);
  edit6->setEchoMode(QLineEdit::Password);
  auto* label6 = namedLabel("Label6", "New password", panel2_);
  auto* label7 = namedLabel("Label7", "Reenter", panel2_);
  label6->setBuddy(edit5);
  label7->setBuddy(edit6);
  password->addWidget(label6, 1, 0);
  password->addWidget(edit5, 1, 1);
  password->addWidget(label7, 2, 0);
  password->addWidget(edit6, 2, 1);
  password->addWidget(namedButton("Button3", "OK", panel2_), 3, 1, Qt::AlignRight);
  auto* edit7 = namedEdit("Edit7", 80, panel2_);
  edit7->setReadOnly(true);
  password->addWidget(edit7, 4, 0, 1, 2);
  password->setRowStretch(5, 1);
  panel2_->hide();
  stack->addWidget(panel2_, 0, 0);
  columns->addWidget(menuArea, 2);

  // Tips for new users.
  panel3_ = overlayPanel("Panel3", central);
  auto* tips = new QVBoxLayout(panel3_);
  tips->addWidget(namedLabel("Label9", "Tip for new users", panel3_));
  memo1_ = new QPlainTextEdit(panel3_);
  memo1_->setObjectName("Memo1");
  memo1_->setReadOnly(true);
  tips->addWidget(memo1_);
  checkBox1_ = new QCheckBox("\"Don't show tips\"", panel3_);
  checkBox1_->setObjectName("CheckBox1");
  tips->addWidget(checkBox1_);
  auto* tipButtons = new QHBoxLayout;
  auto* button5 = namedButton("Button5", "Next Tip", panel3_);
  auto* button4 = namedButton("Button4", "OK", panel3_);
  tipButtons->addWidget(button5);
  tipButtons->addStretch();
  tipButtons->addWidget(button4);
  tips->addLayout(tipButtons);
  columns->addWidget(panel3_, 1);
  connect(button5, &QPushButton::clicked, this, &StartScreenForm::Button5Click);
  connect(button4, &QPushButton::clicked, this, &StartScreenForm::Button4Click);

  setCentralWidget(central);
  statusBar()->hide();
  resize(900, 600);

  tipSource_ = [] {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, kTipCount - 1)(generator);
  };
}

void StartScreenForm::activate() {
  Session& s = session();
  RecordStore& store = recordStore();
  // No settings yet: they come first. The start screen's next activation does the rest.
  if (s.noSystemRecordYet && systemSettings_) {
    s.noSystemRecordYet = false;
    systemSettings_->setStatus("Please, first insert systemsettings", StatusKind::Error);
    showModalHidingCaller(systemSettings_, [settings = systemSettings_] {
      settings->resetStatus();
      settings->FormCreate();
    });
    return;
  }
  reloadAdministrations();
  if (captionRoutine_) captionRoutine_();
  offerDefaultUser();
  bool identification = s.systemParameters.userIdentification;
  label1_->setVisible(identification);
  edit2_->setVisible(identification);
  label2_->setVisible(s.systemParameters.passwordProtection);
  edit3_->setVisible(s.systemParameters.passwordProtection);
  fillAdministrationChoice();
  panel2_->hide();
  // The first activation closes the start-up set, later ones what a form handed back.
  store.CloseFileSet();
  showTips();
}

void StartScreenForm::reloadAdministrations() {
  RecordStore& store = recordStore();
  FileSet set(store, "ADM");
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.openFailureMessage()));
    return;
  }
  administrations_.clear();
  for (const Bytes& record : store.file(FileCode::ADM).readAll())
    administrations_.push_back(AdministrationRecord::decode(record));
}

void StartScreenForm::offerDefaultUser() {
  // Only a fresh installation, whose single user still has the default password, logs in
  // by pressing OK.
  RecordStore& store = recordStore();
  UserCount users = countUsers(store);
  if (users.count != 1) return;
  UserRecord system;
  UserSearch search = findUser(store, "SYSTEM", system);
  if (search.found && PasswordDigest("plover", system.stamp) == system.digest) {
    edit2_->setText("SYSTEM");
    edit3_->setText("plover");
  }
}

void StartScreenForm::fillAdministrationChoice() {
  comboBox1_->clear();
  comboBox1_->addItem(QString());
  for (const AdministrationRecord& administration : administrations_)
    comboBox1_->addItem(fromRecordText(administration.name));
  comboBox1_->setCurrentIndex(administrations_.empty() ? 0 : 1);
}

void StartScreenForm::showTips() {
  const std::string& tips = session().systemParameters.tipsAndNews;
  bool tipsOn = tips == "T" || tips == "F";
  panel3_->setVisible(tipsOn);
  if (!tipsOn) return;
  tipIndex_ = tipSource_();
  memo1_->setPlainText(fromRecordText(tipText(session().systemParameters.languageName, tipIndex_)));
}

void StartScreenForm::Button5Click() {
  tipIndex_ = nextTip(tipIndex_);
  memo1_->setPlainText(fromRecordText(tipText(session().systemParameters.languageName, tipIndex_)));
}

void StartScreenForm::Button4Click() {
  if (checkBox1_->isChecked() && systemSettings_) {
    if (auto* showTips = systemSettings_->findChild<QCheckBox*>("CheckBox7"))
      showTips->setChecked(false);
    systemSettings_->opslaanExecute();
  }
  panel3_->hide();
}

}  // namespace tallymoor
