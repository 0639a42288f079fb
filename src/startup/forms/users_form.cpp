#include "startup/forms/users_form.h"

#include <QAction>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValidator>
#include <array>
#include <exception>

#include "platform/desktop.h"
#include "platform/record_text.h"
#include "record-store/record_store.h"
#include "startup/forms/caption_routine.h"
#include "startup/forms/language_text.h"
#include "startup/session.h"

namespace tallymoor {
namespace {

constexpr int kIdLength = 10;
constexpr int kNameLength = 30;
constexpr int kMemoLength = 200;
constexpr int kPasswordLength = 12;
constexpr int kMinimumLength = 6;

// Language texts of this form.
constexpr int kYesText = 446;
constexpr int kNoText = 453;
constexpr int kIdTooShortText = 9059;
constexpr int kPasswordTooShortText = 9120;
constexpr int kPasswordsDifferText = 9181;
constexpr int kPasswordMissingText = 9242;
constexpr int kSystemUndeletableText = 9303;
constexpr int kEntryInUseText = 9567;
constexpr int kAlreadyExistsText = 9648;
constexpr int kCodeMissingText = 9709;

// User ids are typed in upper case whatever the keyboard gives.
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

// The memo is stored with the line breaks of the files, two characters each.
std::string memoRecordText(const QString& text) {
  QString stored = text;
  stored.replace("\n", "\r\n");
  return toRecordText(stored);
}

QString memoDisplayText(const std::string& memo) {
  return fromRecordText(memo).replace("\r\n", "\n");
}

// The number of leading characters of `text` that fit into the stored memo.
qsizetype memoFit(const QString& text) {
  int stored = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar c = text.at(i);
    int width = c == '\n' ? 2 : (c.isLowSurrogate() ? 0 : 1);
    if (stored + width > kMemoLength) return i;
    stored += width;
  }
  return text.size();
}

}  // namespace

UsersForm::UsersForm(QWidget* parent) : Form("TUsers", parent) {
  setWindowTitle("Users");

  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("File1");
  QAction* save1 = file1->addAction("Save", this, &UsersForm::SaveExecute);
  save1->setObjectName("Save1");
  save1->setShortcut(QKeySequence::Save);
  QAction* cancel1 = file1->addAction("Cancel", this, &UsersForm::CancelExecute);
  cancel1->setObjectName("Cancel1");
  QMenu* run1 = menuBar()->addMenu("Run");
  run1->setObjectName("Run1");
  QAction* up1 = run1->addAction("Up", this, &UsersForm::SelectExecute);
  up1->setObjectName("Up1");
  up1->setShortcut(Qt::CTRL | Qt::Key_Up);
  QAction* down1 = run1->addAction("Down", this, &UsersForm::AddExecute);
  down1->setObjectName("Down1");
  down1->setShortcut(Qt::CTRL | Qt::Key_Down);
  QAction* delete1 = run1->addAction("Delete", this, &UsersForm::DeleteExecute);
  delete1->setObjectName("Delete1");
  delete1->setShortcut(Qt::CTRL | Qt::Key_Delete);
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Brookfell Help", this, &UsersForm::BrookfellHelp1Click)
      ->setObjectName("BrookfellHelp1");
  help1->addAction("Brookfell Users Help", this, &UsersForm::BrookfellUsersHelp1Click)
      ->setObjectName("BrookfellUsersHelp1");
  addStandardHelpItems(help1);

  QToolBar* toolBar = addFormToolBar();
  QToolButton* toolButton1 =
      addToolButton(toolBar, "ToolButton1", QStyle::SP_DialogSaveButton, "Save");
  QToolButton* toolButton3 = addToolButton(toolBar, "ToolButton3", QStyle::SP_TrashIcon, "Delete");
  QToolButton* toolButton7 =
      addToolButton(toolBar, "ToolButton7", QStyle::SP_DialogHelpButton, "Help");

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);

  layout->addWidget(addLabel("Label2", "Users"));
  grid_ = new QTableWidget(0, kColumnCount, central);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels(
      {"Userid", "Username", "[1]", "[2]", "[3]", "Memo", "Creator", "Stamp", ""});
  grid_->setColumnHidden(kSecretColumn, true);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(false);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setSectionResizeMode(kMemoColumn, QHeaderView::Stretch);
  const std::array<int, kMemoColumn> widths = {90, 160, 50, 50, 50};
  for (int column = 0; column < kMemoColumn; ++column)
    grid_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
  grid_->setColumnWidth(kCreatorColumn, 90);
  grid_->setColumnWidth(kStampColumn, 150);
  grid_->setWordWrap(false);
  layout->addWidget(grid_, 1);

  // Up takes the current row into the entry fields, down puts the entry into the list.
  auto* moves = new QHBoxLayout;
  auto addImage = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
    auto* image = new QPushButton(central);
    image->setObjectName(name);
    image->setIcon(style()->standardIcon(icon));
    image->setToolTip(tip);
    image->setAutoDefault(true);
    // Like a picture it leaves the focus where it is when clicked, so a click does not
    // end the field being typed.
    image->setFocusPolicy(Qt::TabFocus);
    moves->addWidget(image);
    return image;
  };
  QPushButton* image1 = addImage("Image1", QStyle::SP_ArrowUp, "Select");
  QPushButton* image2 = addImage("Image2", QStyle::SP_ArrowDown, "Add");
  moves->addStretch(1);
  layout->addLayout(moves);

  auto* fields = new QGridLayout;
  userIdLabel_ = addLabel("Userid", "Userid");
  edit1_ = addEdit("Edit1", kIdLength);
  edit1_->setValidator(new UpperCaseValidator(edit1_));
  edit2_ = addEdit("Edit2", kNameLength);
  checkBox1_ = new QCheckBox("[1]", central);
  checkBox1_->setObjectName("CheckBox1");
  checkBox2_ = new QCheckBox("[2]", central);
  checkBox2_->setObjectName("CheckBox2");
  checkBox3_ = new QCheckBox("[3]", central);
  checkBox3_->setObjectName("CheckBox3");
  auto* rights = new QHBoxLayout;
  rights->addWidget(checkBox1_);
  rights->addWidget(checkBox2_);
  rights->addWidget(checkBox3_);
  rights->addStretch(1);
  memo2_ = new QPlainTextEdit(central);
  memo2_->setObjectName("Memo2");
  memo2_->setTabChangesFocus(true);
  memo2_->setFixedHeight(memo2_->fontMetrics().lineSpacing() * 4);
  edit3_ = addEdit("Edit3", kIdLength);
  edit3_->setReadOnly(true);
  edit3_->setFocusPolicy(Qt::ClickFocus);
  edit4_ = addEdit("Edit4", 20);
  edit4_->setReadOnly(true);
  edit4_->setFocusPolicy(Qt::ClickFocus);
  edit5_ = addEdit("Edit5", kPasswordLength);
  edit6_ = addEdit("Edit6", kPasswordLength);
  for (QLineEdit* password : {edit5_, edit6_}) {
    password->setEchoMode(QLineEdit::Password);
    password->setStyleSheet("lineedit-password-character: 42;");
  }
  label5_ = addLabel("Label5", "Created by");
  label6_ = addLabel("Label6", "Password set on");

  fields->addWidget(userIdLabel_, 0, 0);
  fields->addWidget(edit1_, 0, 1);
  fields->addWidget(addLabel("Username", "Username"), 1, 0);
  fields->addWidget(edit2_, 1, 1);
  fields->addWidget(addLabel("Label1", "User rights"), 2, 0);
  fields->addLayout(rights, 2, 1);
  fields->addWidget(addLabel("Label7", "Memo"), 3, 0, Qt::AlignTop);
  fields->addWidget(memo2_, 3, 1);
  fields->addWidget(label5_, 0, 2);
  fields->addWidget(edit3_, 0, 3);
  fields->addWidget(label6_, 1, 2);
  fields->addWidget(edit4_, 1, 3);
  fields->addWidget(addLabel("Label3", "New password"), 2, 2);
  fields->addWidget(edit5_, 2, 3);
  fields->addWidget(addLabel("Label4", "Reenter"), 3, 2, Qt::AlignTop);
  fields->addWidget(edit6_, 3, 3, Qt::AlignTop);
  fields->setColumnStretch(1, 2);
  fields->setColumnStretch(3, 1);
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto addButton = [&](const char* name, const QString& text) {
    auto* button = new QPushButton(text, central);
    button->setObjectName(name);
    button->setAutoDefault(true);  // Enter on the focused button presses it
    buttons->addWidget(button);
    return button;
  };
  QPushButton* button2 = addButton("Button2", "Save");
  QPushButton* button1 = addButton("Button1", "Delete");
  QPushButton* button3 = addButton("Button3", "Cancel");
  layout->addLayout(buttons);

  setTabChain({edit1_, edit2_, checkBox1_, checkBox2_, checkBox3_, memo2_, edit5_, edit6_, image2,
               grid_, image1, button2, button1, button3});

  connect(image1, &QPushButton::clicked, this, &UsersForm::SelectExecute);
  connect(image2, &QPushButton::clicked, this, &UsersForm::AddExecute);
  connect(button1, &QPushButton::clicked, this, &UsersForm::DeleteExecute);
  connect(toolButton3, &QToolButton::clicked, this, &UsersForm::DeleteExecute);
  connect(button2, &QPushButton::clicked, this, &UsersForm::SaveExecute);
  connect(toolButton1, &QToolButton::clicked, this, &UsersForm::SaveExecute);
  connect(button3, &QPushButton::clicked, this, &UsersForm::CancelExecute);
  connect(toolButton7, &QToolButton::clicked, this, &UsersForm::ToolButton7Click);
  connect(memo2_, &QPlainTextEdit::textChanged, this, [this] {
    QString text = memo2_->toPlainText();
    qsizetype fit = memoFit(text);
    if (fit == text.size()) return;
    QSignalBlocker quiet(memo2_);
    memo2_->setPlainText(text.left(fit));
    memo2_->moveCursor(QTextCursor::End);
  });
  resize(860, 600);

  try {
    UserFileOutcome outcome = ensureInitialUser(recordStore());
    if (!outcome.opened) showError(fromRecordText(outcome.message));
  } catch (const std::exception& e) {
    // A failed write at program start: say so, the program goes on without the user.
    desktop().showMessage(QString::fromLocal8Bit(e.what()));
  }
}

QLabel* UsersForm::addLabel(const char* name, const QString& text) {
  auto* label = new QLabel(text, centralWidget());
  label->setObjectName(name);
  return label;
}

QLineEdit* UsersForm::addEdit(const char* name, int maxLength) {
  auto* edit = new QLineEdit(centralWidget());
  edit->setObjectName(name);
  edit->setMaxLength(maxLength);
  return edit;
}

QString UsersForm::yesWord() const { return languageText(kYesText); }
QString UsersForm::noWord() const { return languageText(kNoText); }

void UsersForm::applyLanguage() {
  grid_->setHorizontalHeaderLabels({languageText(1947), languageText(1966), "[1]", "[2]", "[3]",
                                    languageText(2163), languageText(2095), languageText(2064),
                                    ""});
  label5_->setText(languageText(2095));
  label6_->setText(languageText(2064));
  // Every heading stays readable in every language: a column is at least as wide as its
  // heading.
  QHeaderView* header = grid_->horizontalHeader();
  for (int column = 0; column < grid_->columnCount(); ++column) {
    if (column == kMemoColumn) continue;
    int needed = header->sectionSizeHint(column);
    if (grid_->columnWidth(column) < needed) grid_->setColumnWidth(column, needed);
  }
  for (int row = 0; row < grid_->rowCount(); ++row)
    for (int right = 0; right < 3; ++right)
      setRightCell(row, kFirstRightColumn + right, rightAt(row, kFirstRightColumn + right));
}

void UsersForm::showError(const QString& text) { setStatus(text, StatusKind::Error); }

QString UsersForm::cellText(int row, int column) const {
  QTableWidgetItem* item = grid_->item(row, column);
  return item ? item->text() : QString();
}

// A rights cell shows the language's word and keeps the right itself beside it, so the
// list means the same after a change of language, and with a language whose words are
// empty or alike.
void UsersForm::setRightCell(int row, int column, bool granted) {
  QTableWidgetItem* item = grid_->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row, column, item);
  }
  item->setText(granted ? yesWord() : noWord());
  item->setData(Qt::UserRole, granted);
}

bool UsersForm::rightAt(int row, int column) const {
  QTableWidgetItem* item = grid_->item(row, column);
  return item && item->data(Qt::UserRole).toBool();
}

void UsersForm::setRow(int row, const UserRow& user) {
  auto put = [&](int column, const QString& text) {
    grid_->setItem(row, column, new QTableWidgetItem(text));
  };
  put(kIdColumn, fromRecordText(user.userId));
  put(kNameColumn, fromRecordText(user.userName));
  for (int right = 0; right < 3; ++right)
    setRightCell(row, kFirstRightColumn + right, user.rights[static_cast<std::size_t>(right)]);
  put(kMemoColumn, memoDisplayText(user.memo));
  put(kCreatorColumn, fromRecordText(user.creator));
  put(kStampColumn, fromRecordText(user.stamp));
  put(kSecretColumn, fromRecordText(user.secret));
}

std::vector<UserRow> UsersForm::rows() const {
  std::vector<UserRow> result;
  result.reserve(static_cast<std::size_t>(grid_->rowCount()));
  for (int row = 0; row < grid_->rowCount(); ++row) {
    UserRow& user = result.emplace_back();
    user.userId = toRecordText(cellText(row, kIdColumn));
    user.userName = toRecordText(cellText(row, kNameColumn));
    for (int right = 0; right < 3; ++right)
      user.rights[static_cast<std::size_t>(right)] = rightAt(row, kFirstRightColumn + right);
    user.memo = memoRecordText(cellText(row, kMemoColumn));
    user.creator = toRecordText(cellText(row, kCreatorColumn));
    user.stamp = toRecordText(cellText(row, kStampColumn));
    user.secret = toRecordText(cellText(row, kSecretColumn));
  }
  return result;
}

void UsersForm::clearEntryFields() {
  for (QLineEdit* edit : {edit1_, edit2_, edit3_, edit4_, edit5_, edit6_}) edit->clear();
  for (QCheckBox* box : {checkBox1_, checkBox2_, checkBox3_}) box->setChecked(false);
  memo2_->clear();
}

void UsersForm::setSystemLocked(bool locked) {
  edit1_->setReadOnly(locked);
  edit2_->setReadOnly(locked);
  for (QCheckBox* box : {checkBox1_, checkBox2_, checkBox3_}) box->setEnabled(!locked);
}

void UsersForm::activate() { load(); }

void UsersForm::load() {
  resetStatus();
  clearEntryFields();
  setSystemLocked(false);
  setStatus({}, StatusKind::Plain);
  grid_->setRowCount(0);
  UserList list = loadUsers(recordStore());
  if (!list.opened) {
    showError(fromRecordText(list.message));
    return;
  }
  grid_->setRowCount(static_cast<int>(list.rows.size()));
  for (std::size_t i = 0; i < list.rows.size(); ++i) setRow(static_cast<int>(i), list.rows[i]);
  if (grid_->rowCount() > 0) grid_->setCurrentCell(0, kIdColumn);
}

void UsersForm::SelectExecute() {
  resetStatus();
  if (!edit1_->text().isEmpty()) {
    showError(languageText(kEntryInUseText));
    return;
  }
  int row = grid_->currentRow();
  if (row < 0 || row >= grid_->rowCount()) return;
  edit1_->setText(cellText(row, kIdColumn));
  edit2_->setText(cellText(row, kNameColumn));
  checkBox1_->setChecked(rightAt(row, kFirstRightColumn));
  checkBox2_->setChecked(rightAt(row, kFirstRightColumn + 1));
  checkBox3_->setChecked(rightAt(row, kFirstRightColumn + 2));
  memo2_->setPlainText(cellText(row, kMemoColumn));
  edit3_->setText(cellText(row, kCreatorColumn));
  edit4_->setText(cellText(row, kStampColumn));
  if (edit1_->text() == kSystemUserId) setSystemLocked(true);
  grid_->removeRow(row);
}

void UsersForm::AddExecute() {
  resetStatus();
  const QString id = edit1_->text();
  if (!id.isEmpty() && edit2_->text().isEmpty()) edit2_->setText(id);

  std::vector<std::string> ids;
  ids.reserve(static_cast<std::size_t>(grid_->rowCount()));
  for (int row = 0; row < grid_->rowCount(); ++row)
    ids.push_back(toRecordText(cellText(row, kIdColumn)));
  const std::string password = toRecordText(edit5_->text());
  NewUserPlace place = placeNewUser(ids, toRecordText(id), password, toRecordText(edit6_->text()));

  switch (place.check) {
    case NewUserCheck::Duplicate:
      showError(languageText(kAlreadyExistsText));
      return;
    case NewUserCheck::IdMissing:
      showError(userIdLabel_->text() + languageText(kCodeMissingText));
      return;
    case NewUserCheck::PasswordProblem:
      showError(languageText(edit5_->text() != edit6_->text() ? kPasswordsDifferText
                                                              : kPasswordMissingText));
      return;
    case NewUserCheck::Valid:
      break;
  }

  UserRow user;
  user.userId = toRecordText(id);
  user.userName = toRecordText(edit2_->text());
  user.rights = {checkBox1_->isChecked(), checkBox2_->isChecked(), checkBox3_->isChecked()};
  user.memo = memoRecordText(memo2_->toPlainText());
  user.creator = session().userId().substr(0, kIdLength);
  user.secret = password;  // no stamp yet: Save sets the stamp and digests this
  const int row = static_cast<int>(place.position);
  grid_->insertRow(row);
  setRow(row, user);
  clearEntryFields();
  if (id == kSystemUserId) setSystemLocked(false);
}

void UsersForm::DeleteExecute() {
  resetStatus();
  if (edit1_->text() == kSystemUserId) {
    showError(languageText(kSystemUndeletableText));
    return;
  }
  for (QLineEdit* edit : {edit1_, edit2_, edit3_, edit4_}) edit->clear();
  for (QCheckBox* box : {checkBox1_, checkBox2_, checkBox3_}) box->setChecked(false);
}

void UsersForm::SaveExecute() {
  resetStatus();
  if (!edit1_->text().isEmpty()) {
    showError(languageText(kEntryInUseText));
    return;
  }
  UserFileOutcome outcome = saveUsers(recordStore(), rows());
  if (!outcome.opened) {
    showError(fromRecordText(outcome.message));
    return;
  }
  close();
}

void UsersForm::CancelExecute() {
  resetStatus();
  close();
}

void UsersForm::Edit1Exit() {
  resetStatus();
  if (edit1_->text().size() < kMinimumLength) {
    showError(languageText(kIdTooShortText));
    edit1_->clear();
  }
}

void UsersForm::Edit5Exit() {
  resetStatus();
  if (edit5_->text().size() < kMinimumLength) {
    showError(languageText(kPasswordTooShortText));
    edit5_->clear();
    edit6_->clear();
  }
}

void UsersForm::Edit6Exit() {
  resetStatus();
  if (edit6_->text() != edit5_->text()) {
    showError(languageText(kPasswordsDifferText));
    edit5_->clear();
    edit6_->clear();
  } else {
    setStatus({}, StatusKind::Plain);
  }
}

bool UsersForm::eventFilter(QObject* watched, QEvent* event) {
  if (Form::eventFilter(watched, event)) return true;
  if (event->type() != QEvent::FocusOut || !isVisible()) return false;
  // Leaving a field for another control of the form; switching windows or opening a menu
  // leaves nothing.
  Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
  if (watched == edit1_)
    Edit1Exit();
  else if (watched == edit5_)
    Edit5Exit();
  else if (watched == edit6_)
    Edit6Exit();
  return false;
}

}  // namespace tallymoor
