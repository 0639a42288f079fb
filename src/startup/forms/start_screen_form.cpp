#include "startup/forms/start_screen_form.h"

#include <QAction>
#include <QFocusEvent>
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
#include "record-store/conversions.h"
#include "record-store/password_digest.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "startup/forms/language_text.h"
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
  help1->addAction("Homepage", this, &StartScreenForm::Brookfellhomepage1Click)
      ->setObjectName("Brookfellhomepage1");

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
  label4_ = namedLabel("Label4", "Login panel", panel1_);
  login->addWidget(label4_, 0, 0, 1, 2);
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
  button2_ = namedButton("Button2", "Cancel", panel1_);
  loginButtons->addStretch();
  loginButtons->addWidget(button1);
  loginButtons->addWidget(button2_);
  login->addLayout(loginButtons, 4, 0, 1, 2);
  edit4_ = namedEdit("Edit4", 80, panel1_);
  edit4_->setReadOnly(true);
  edit4_->setStyleSheet("color: #c62828;");
  edit4_->hide();
  login->addWidget(edit4_, 5, 0, 1, 2);
  login->setRowStretch(6, 1);
  stack->addWidget(panel1_, 0, 0);
  connect(button1, &QPushButton::clicked, this, &StartScreenForm::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &StartScreenForm::Button2Click);
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
  edit5_ = namedEdit("Edit5", 12, panel2_);
  edit5_->setEchoMode(QLineEdit::Password);
  edit6_ = namedEdit("Edit6", 12, panel2_);
  edit6_->setEchoMode(QLineEdit::Password);
  auto* edit5 = edit5_;
  auto* edit6 = edit6_;
  auto* label6 = namedLabel("Label6", "New password", panel2_);
  auto* label7 = namedLabel("Label7", "Reenter", panel2_);
  label6->setBuddy(edit5);
  label7->setBuddy(edit6);
  password->addWidget(label6, 1, 0);
  password->addWidget(edit5, 1, 1);
  password->addWidget(label7, 2, 0);
  password->addWidget(edit6, 2, 1);
  auto* button3 = namedButton("Button3", "OK", panel2_);
  password->addWidget(button3, 3, 1, Qt::AlignRight);
  edit7_ = namedEdit("Edit7", 80, panel2_);
  edit7_->setReadOnly(true);
  password->addWidget(edit7_, 4, 0, 1, 2);
  connect(button3, &QPushButton::clicked, this, &StartScreenForm::Button3Click);
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

  connect(treeView1_, &QTreeWidget::itemDoubleClicked, this, &StartScreenForm::TreeView1DblClick);
  // Before any login every right holds, so the tree is built with all groups.
  Session& s = session();
  s.enduser = s.enduserManager = s.systemAdministrator = true;

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

bool StartScreenForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // A field is left for another field, not for another window or a menu.
    auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (watched == comboBox1_->lineEdit()) ComboBox1Exit();
      if (watched == edit5_) Edit5Exit();
      if (watched == edit6_) Edit6Exit();
    }
  }
  return Form::eventFilter(watched, event);
}

bool StartScreenForm::previewKey(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier) {
    if (panel1_->isVisible())
      Button1Click();
    else if (panel2_->isVisible())
      Button3Click();
    else
      TreeView1DblClick();
    return true;
  }
  return Form::previewKey(event);
}

void StartScreenForm::showLoginMessage(QLineEdit* line, const QString& text) {
  line->setText(text);
  line->show();
}

void StartScreenForm::Button1Click() {
  Session& s = session();
  RecordStore& store = recordStore();
  runCaptions();
  bool accepted = true;
  bool userRefused = false;
  {
    FileSet set(store, "USE;");
    if (!set.ok()) {
      desktop().showMessage(fromRecordText(store.openFailureMessage()));
      return;
    }
    s.systemParameters.lastLogin = toRecordText(edit2_->text()).substr(0, 20);
    if (!reLogin_) {
      if (s.systemParameters.userIdentification) {
        UserRecord found;
        UserSearch search = findUser(store, toRecordText(edit2_->text()).substr(0, 10), found);
        currentUser_ = found;
        accepted = search.found;
      } else {
        s.systemParameters.lastLogin = "UNKNOWN";
        edit2_->setText("UNKNOWN");
      }
    }
  }
  if (!reLogin_) {
    if (s.systemParameters.passwordProtection &&
        PasswordDigest(toRecordText(edit3_->text()), currentUser_.stamp) != currentUser_.digest)
      accepted = false;
    userRefused = !accepted;
    if (s.systemParameters.userIdentification) {
      s.enduser = currentUser_.enduser == 'Y';
      s.enduserManager = currentUser_.enduserManager == 'Y';
      s.systemAdministrator = currentUser_.systemAdministrator == 'Y';
    } else {
      s.enduser = s.enduserManager = s.systemAdministrator = true;
    }
    savedRight1_ = s.enduser;
    savedRight2_ = s.enduserManager;
  }

  // The administration: the last one of the list whose name is the choice, exactly.
  std::string choice = toRecordText(comboBox1_->currentText());
  if (accepted) {
    accepted = false;
    for (const AdministrationRecord& administration : administrations_) {
      if (administration.name == choice) {
        accepted = true;
        s.administrationName = administration.name.substr(0, 30);
        s.administrationCode = administration.code.substr(0, 10);
      }
    }
  }
  if (!accepted && choice.empty() && !userRefused) accepted = true;
  if (!accepted) {
    showLoginMessage(edit4_, languageText(8998));
    return;
  }
  s.enduser = savedRight1_;
  s.enduserManager = savedRight2_;
  auto loggedInWithoutAdministration = [&] {
    edit4_->hide();
    panel1_->hide();
    s.enduser = false;
    s.enduserManager = false;
    runCaptions();
  };
  if (choice.empty()) {
    loggedInWithoutAdministration();
    return;
  }
  runCaptions();
  FileSet set(store, "ADS;FLG;INV;PAY;ADM;CUS;SUP;JVO;GLA;GLC;FRZ");
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.openFailureMessage()));
    loggedInWithoutAdministration();
    return;
  }
  edit4_->hide();
  panel1_->hide();
  if (administrationOpened_) administrationOpened_();
  runCaptions();
}

void StartScreenForm::ComboBox1Exit() {
  QString text = comboBox1_->currentText();
  for (int i = 0; i < comboBox1_->count(); ++i)
    if (comboBox1_->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
  comboBox1_->setEditText(QString());
}

void StartScreenForm::openAdministrationOnlyPanel() {
  label1_->hide();
  edit2_->hide();
  label2_->hide();
  edit3_->hide();
  panel1_->show();
  reLogin_ = true;
  button2_->hide();
  label4_->setText(languageText(1182));
}

void StartScreenForm::openChangePasswordPanel() {
  panel2_->show();
  edit7_->hide();
  findChild<QLabel*>("Label8")->setText(languageText(1203));
}

void StartScreenForm::Edit5Exit() {
  if (edit5_->text().size() < 6) {
    edit5_->clear();
    showLoginMessage(edit7_, "Minimal 6 characters");
  }
}

void StartScreenForm::Edit6Exit() {
  if (edit6_->text() != edit5_->text()) {
    edit5_->clear();
    edit6_->clear();
    showLoginMessage(edit7_, "Passwords not identical");
  }
}

void StartScreenForm::Button3Click() {
  RecordStore& store = recordStore();
  FileSet set(store, "USE");
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.openFailureMessage()));
    return;
  }
  if (edit6_->text() == edit5_->text() && !edit6_->text().isEmpty()) {
    panel2_->hide();
    currentUser_.stamp = currentTimestamp().substr(0, 20);
    currentUser_.digest = PasswordDigest(toRecordText(edit6_->text()), currentUser_.stamp);
    if (!rewriteUser(store, currentUser_, session().userId().substr(0, 10)))
      showLoginMessage(edit7_, languageText(8998));
  } else {
    showLoginMessage(edit7_, languageText(9181));
  }
}

void StartScreenForm::applyLanguage() {
  // Once the panel only asks for another administration, its caption says so.
  if (reLogin_) label4_->setText(languageText(1182));
  rebuildMenuTree();
}

void StartScreenForm::rebuildMenuTree() {
  Session& s = session();
  const auto entry = [&](QTreeWidgetItem* parent, int offset) {
    return new QTreeWidgetItem(parent, QStringList{languageText(offset)});
  };
  // Entries whose form the program does not have are left out.
  const auto hasForm = [&](const char* formClass) {
    return formLookup_ && formLookup_(formClass) != nullptr;
  };
  QTreeWidgetItem* root = treeView1_->topLevelItem(0);
  qDeleteAll(root->takeChildren());
  entry(root, 550);
  if (s.systemParameters.userIdentification && s.systemParameters.passwordProtection)
    entry(root, 633);
  if (s.enduser) {
    QTreeWidgetItem* group = entry(root, 852);
    if (hasForm("Tboeking")) entry(group, 870);
    if (hasForm("Tpartners2")) entry(group, 919);
    if (hasForm("TRapport1")) entry(group, 944);
  }
  if (s.enduserManager) {
    QTreeWidgetItem* group = entry(root, 965);
    if (hasForm("Tadministrationsetting")) entry(group, 1079);
    if (hasForm("TLedgercategory")) entry(group, 1027);
    if (hasForm("TLedger")) entry(group, 996);
  }
  if (s.systemAdministrator) {
    QTreeWidgetItem* group = entry(root, 1110);
    entry(group, 1133);
    if (hasForm("TAdministrations")) entry(group, 1058);
    if (s.systemParameters.userIdentification && hasForm("TUsers")) entry(group, 1159);
  }
  treeView1_->collapseAll();
  root->setExpanded(true);
  root->setText(0, kProgramTitle);
}

QStringList StartScreenForm::menuTexts() const {
  QStringList texts;
  QTreeWidgetItem* root = treeView1_->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i) {
    texts << root->child(i)->text(0);
    for (int k = 0; k < root->child(i)->childCount(); ++k)
      texts << "  " + root->child(i)->child(k)->text(0);
  }
  return texts;
}

bool StartScreenForm::selectMenuEntry(const QString& text) {
  for (QTreeWidgetItemIterator it(treeView1_); *it; ++it) {
    if ((*it)->text(0) == text) {
      treeView1_->setCurrentItem(*it);
      return true;
    }
  }
  return false;
}

void StartScreenForm::showFromMenu(const char* formClass, const char* openSet,
                                   std::function<void()> afterwards) {
  Form* form = formLookup_ ? formLookup_(formClass) : nullptr;
  if (!form) return;
  RecordStore& store = recordStore();
  if (openSet && store.OpenFileSet(openSet) != RecordStore::kOk) {
    desktop().showMessage(fromRecordText(store.openFailureMessage()));
    return;
  }
  // The form's activation reads the handed-over set and closes it.
  showModalHidingCaller(form, std::move(afterwards));
}

void StartScreenForm::TreeView1DblClick() {
  QTreeWidgetItem* selected = treeView1_->currentItem();
  if (!selected) return;
  const QString text = selected->text(0);
  Session& s = session();
  const auto is = [&](int offset) { return text == languageText(offset); };
  // The entries in the order they are compared; the first equal one acts.
  if (is(1027)) {
    showFromMenu("TLedgercategory", "GLC;", {});
  } else if (is(633)) {
    openChangePasswordPanel();
  } else if (is(550)) {
    openAdministrationOnlyPanel();
  } else if (is(996)) {
    showFromMenu("TLedger", "FRZ;GLA;GLC", {});
  } else if (is(944)) {
    showFromMenu("TRapport1", "GLA;FRZ", {});
  } else if (is(1133)) {
    showFromMenu("Tsystemscherm", nullptr, [this] {
      Session& s = session();
      s.enduser = savedRight1_;
      s.enduserManager = savedRight2_;
      runCaptions();
      reloadAdministrations();
      fillAdministrationChoice();
      runCaptions();
      openAdministrationOnlyPanel();
    });
  } else if (is(919)) {
    showFromMenu("Tpartners2", "GLA", {});
  } else if (is(1159)) {
    showFromMenu("TUsers", "USE", {});
  } else if (is(870)) {
    showFromMenu("Tboeking", "IFS;GLA;JVT", {});
  } else if (is(1079)) {
    showFromMenu("Tadministrationsetting", "GLA;ADS", [this] { runCaptions(); });
  } else if (is(1058)) {
    showFromMenu("TAdministrations", nullptr, [this] {
      fillAdministrationChoice();
      openAdministrationOnlyPanel();
    });
  }
}

}  // namespace tallymoor
