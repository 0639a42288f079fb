#include "accounts/forms/ledger_category_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "accounts/gl_category_file.h"
#include "platform/desktop.h"
#include "platform/list_editor_keys.h"
#include "platform/record_text.h"
#include "record-store/conversions.h"
#include "record-store/record_store.h"
#include "startup/forms/language_text.h"
#include "startup/session.h"
#include "startup/web_pages.h"

namespace tallymoor {
namespace {

// Language texts of this form.
constexpr int kNameHeadingText = 2220;
constexpr int kKindHeadingText = 2332;
constexpr int kTopReachedText = 9384;
constexpr int kBottomReachedText = 9445;
constexpr int kLimitText = 9506;
constexpr int kEntryInUseText = 9567;
constexpr int kAlreadyExistsText = 9648;

}  // namespace

LedgerCategoryForm::LedgerCategoryForm(QWidget* parent) : Form("TLedgercategory", parent) {
  setWindowTitle("GL categories");

  auto* save = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "Save", this);
  save->setObjectName("Save");
  connect(save, &QAction::triggered, this, &LedgerCategoryForm::SaveExecute);
  delete_ = new QAction(style()->standardIcon(QStyle::SP_TrashIcon), "Delete", this);
  delete_->setObjectName("Delete");
  connect(delete_, &QAction::triggered, this, &LedgerCategoryForm::DeleteExecute);
  auto* cancel = new QAction(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
  cancel->setObjectName("Cancel");
  connect(cancel, &QAction::triggered, this, &LedgerCategoryForm::CancelExecute);
  addActions({save, delete_, cancel});

  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("File1");
  file1->addAction("Save", this, &LedgerCategoryForm::SaveExecute)->setObjectName("Save1");
  file1->addAction("Cancel", this, &LedgerCategoryForm::CancelExecute)->setObjectName("Cancel1");
  QMenu* run1 = menuBar()->addMenu("Run");
  run1->setObjectName("Run1");
  select1_ = run1->addAction("Select", this, &LedgerCategoryForm::Select1Click);
  select1_->setObjectName("Select1");
  add1_ = run1->addAction("Add", this, &LedgerCategoryForm::Add1Click);
  add1_->setObjectName("Add1");
  run1->addAction("Up", this, &LedgerCategoryForm::Up1Click)->setObjectName("Up1");
  run1->addAction("Down", this, &LedgerCategoryForm::Down1Click)->setObjectName("Down1");
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Brookfell Help", this, &LedgerCategoryForm::BrookfellHelp1Click)
      ->setObjectName("BrookfellHelp1");
  help1
      ->addAction("Brookfell GL category Help", this,
                  &LedgerCategoryForm::BrookfellGLcategoryHelp1Click)
      ->setObjectName("BrookfellGLcategoryHelp1");
  addStandardHelpItems(help1);

  QToolBar* toolBar = addFormToolBar();
  auto addToolButton = [&](const char* name, QAction* action) {
    auto* button = new QToolButton(toolBar);
    button->setObjectName(name);
    button->setDefaultAction(action);
    toolBar->addWidget(button);
    return button;
  };
  addToolButton("ToolButton1", save);
  addToolButton("ToolButton2", delete_);
  addToolButton("ToolButton3", cancel);
  auto* toolButton6 = new QToolButton(toolBar);
  toolButton6->setObjectName("ToolButton6");
  toolButton6->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
  toolButton6->setToolTip("Help (F1)");
  toolBar->addWidget(toolButton6);

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* layout = new QHBoxLayout(central);

  // Entry fields on the left, the list on the right, Select and Add between them.
  auto* entry = new QVBoxLayout;
  auto* label1 = new QLabel("Ledgercategory caption", central);
  label1->setObjectName("Label1");
  edit1_ = new QLineEdit(central);
  edit1_->setObjectName("Edit1");
  edit1_->setMaxLength(static_cast<int>(kCategoryNameLength));
  label1->setBuddy(edit1_);
  entry->addWidget(label1);
  entry->addWidget(edit1_);
  radioGroup1_ = new QGroupBox("Press radiobutton :", central);
  radioGroup1_->setObjectName("RadioGroup1");
  auto* kinds = new QVBoxLayout(radioGroup1_);
  radioButton1_ = new QRadioButton("Balance account", radioGroup1_);
  radioButton1_->setObjectName("RadioButton1");
  radioButton2_ = new QRadioButton("Profit and Loss account", radioGroup1_);
  radioButton2_->setObjectName("RadioButton2");
  radioButton1_->setChecked(true);
  kinds->addWidget(radioButton1_);
  kinds->addWidget(radioButton2_);
  entry->addWidget(radioGroup1_);
  auto addDisplay = [&](const char* name, const QString& tip) {
    auto* edit = new QLineEdit(central);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setToolTip(tip);
    return edit;
  };
  edit2_ = addDisplay("Edit2", "Stored by");
  edit3_ = addDisplay("Edit3", "Stored on");
  edit4_ = addDisplay("Edit4", "");
  edit4_->setStyleSheet("color: red; font-weight: bold;");
  auto* stamps = new QHBoxLayout;
  stamps->addWidget(edit2_, 1);
  stamps->addWidget(edit3_, 2);
  entry->addLayout(stamps);
  entry->addWidget(edit4_);
  entry->addStretch(1);
  auto* buttons = new QHBoxLayout;
  auto addButton = [&](const char* name, const QString& text, QAction* action) {
    auto* button = new QPushButton(text, central);
    button->setObjectName(name);
    button->setAutoDefault(true);  // Enter on the focused button presses it
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    buttons->addWidget(button);
    return button;
  };
  QPushButton* button1 = addButton("Button1", "Save", save);
  button3_ = addButton("Button3", "Delete", delete_);
  QPushButton* button2 = addButton("Button2", "Cancel", cancel);
  buttons->addStretch(1);
  entry->addLayout(buttons);
  layout->addLayout(entry, 2);

  auto addImage = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
    auto* image = new QPushButton(central);
    image->setObjectName(name);
    image->setIcon(style()->standardIcon(icon));
    image->setToolTip(tip);
    image->setAutoDefault(true);
    // Like a picture it leaves the focus where it is when clicked.
    image->setFocusPolicy(Qt::TabFocus);
    return image;
  };
  auto* moves = new QVBoxLayout;
  moves->addStretch(1);
  image4_ = addImage("Image4", QStyle::SP_ArrowLeft, "Select (Alt+Left)");
  image3_ = addImage("Image3", QStyle::SP_ArrowRight, "Add (Alt+Right)");
  moves->addWidget(image4_);
  moves->addWidget(image3_);
  moves->addStretch(1);
  layout->addLayout(moves);

  auto* list = new QVBoxLayout;
  grid_ = new QTableWidget(1, kColumnCount, central);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels({"Category type", "Ledger category caption", "", ""});
  grid_->setColumnHidden(kUserColumn, true);
  grid_->setColumnHidden(kTimestampColumn, true);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(false);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->setColumnWidth(kKindColumn, 190);
  grid_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  list->addWidget(grid_, 1);
  auto* upDown = new QHBoxLayout;
  image1_ = addImage("Image1", QStyle::SP_ArrowUp, "Up (Ctrl+Up)");
  image2_ = addImage("Image2", QStyle::SP_ArrowDown, "Down (Ctrl+Down)");
  upDown->addWidget(image1_);
  upDown->addWidget(image2_);
  upDown->addStretch(1);
  list->addLayout(upDown);
  layout->addLayout(list, 3);

  setTabChain({edit1_, radioButton1_, radioButton2_, image3_, grid_, image4_, image1_, image2_,
               button1, button3_, button2});

  connect(image1_, &QPushButton::clicked, this, &LedgerCategoryForm::Image1Click);
  connect(image2_, &QPushButton::clicked, this, &LedgerCategoryForm::Image2Click);
  connect(image3_, &QPushButton::clicked, this, &LedgerCategoryForm::Image3Click);
  connect(image4_, &QPushButton::clicked, this, &LedgerCategoryForm::Image4Click);
  connect(toolButton6, &QToolButton::clicked, this, &LedgerCategoryForm::ToolButton6Click);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &LedgerCategoryForm::Image4Click);
  connect(edit1_, &QLineEdit::textChanged, this, &LedgerCategoryForm::Edit1Change);
  Edit1Change();
  resize(820, 520);
}

void LedgerCategoryForm::applyLanguage() {
  grid_->setHorizontalHeaderLabels(
      {languageText(kKindHeadingText), languageText(kNameHeadingText), "", ""});
  // The caption table has just renamed the kinds; the table shows the same words.
  for (int row = 0; row < count(); ++row) setRow(row, rowAt(row));
}

void LedgerCategoryForm::showError(const QString& text) { setStatus(text, StatusKind::Error); }
void LedgerCategoryForm::showNotice(const QString& text) { setStatus(text, StatusKind::Notice); }

QString LedgerCategoryForm::kindCaption(CategoryKind kind) const {
  return kind == CategoryKind::BalanceSheet ? radioButton1_->text() : radioButton2_->text();
}

QString LedgerCategoryForm::cellText(int row, int column) const {
  QTableWidgetItem* item = grid_->item(row, column);
  return item ? item->text() : QString();
}

// The kind cell shows the language's caption and keeps the kind itself beside it, so the
// list means the same with a language whose two captions are empty or alike.
void LedgerCategoryForm::setRow(int row, const GlCategoryRow& category) {
  auto* kind = new QTableWidgetItem(kindCaption(category.kind));
  kind->setData(Qt::UserRole, static_cast<int>(category.kind));
  grid_->setItem(row, kKindColumn, kind);
  grid_->setItem(row, kNameColumn, new QTableWidgetItem(fromRecordText(category.name)));
  grid_->setItem(row, kUserColumn, new QTableWidgetItem(fromRecordText(category.user)));
  grid_->setItem(row, kTimestampColumn, new QTableWidgetItem(fromRecordText(category.timestamp)));
}

GlCategoryRow LedgerCategoryForm::rowAt(int row) const {
  GlCategoryRow category;
  QTableWidgetItem* kind = grid_->item(row, kKindColumn);
  category.kind = kind ? static_cast<CategoryKind>(kind->data(Qt::UserRole).toInt())
                       : CategoryKind::ProfitAndLoss;
  category.name = toRecordText(cellText(row, kNameColumn));
  category.user = toRecordText(cellText(row, kUserColumn));
  category.timestamp = toRecordText(cellText(row, kTimestampColumn));
  return category;
}

int LedgerCategoryForm::count() const { return std::max(0, grid_->rowCount() - 1); }

std::vector<GlCategoryRow> LedgerCategoryForm::rows() const {
  std::vector<GlCategoryRow> result;
  result.reserve(static_cast<std::size_t>(count()));
  for (int row = 0; row < count(); ++row) result.push_back(rowAt(row));
  return result;
}

void LedgerCategoryForm::swapRows(int first, int second) {
  for (int column = 0; column < kColumnCount; ++column) {
    QTableWidgetItem* a = grid_->takeItem(first, column);
    QTableWidgetItem* b = grid_->takeItem(second, column);
    grid_->setItem(first, column, b);
    grid_->setItem(second, column, a);
  }
}

void LedgerCategoryForm::clearEntryFields() {
  for (QLineEdit* edit : {edit1_, edit2_, edit3_}) edit->clear();
  setInUse(false);
}

void LedgerCategoryForm::setInUse(bool inUse) {
  edit1_->setEnabled(!inUse);
  setDeleteEnabled(!inUse);
  edit4_->setText(inUse ? kInUseMarker : "");
}

void LedgerCategoryForm::setSelectEnabled(bool enabled) {
  image4_->setEnabled(enabled);
  select1_->setEnabled(enabled);
}

void LedgerCategoryForm::setDeleteEnabled(bool enabled) {
  delete_->setEnabled(enabled);
  button3_->setEnabled(enabled);
}

void LedgerCategoryForm::Edit1Change() {
  const bool enabled = !edit1_->text().trimmed().isEmpty();
  image3_->setEnabled(enabled);
  add1_->setEnabled(enabled);
}

void LedgerCategoryForm::FormActivate() { load(); }

void LedgerCategoryForm::load() {
  resetStatus();
  setStatus({}, StatusKind::Plain);
  clearEntryFields();
  setSelectEnabled(true);
  grid_->setRowCount(0);
  grid_->setRowCount(1);  // the place after the last category
  CategoryList list;
  try {
    list = loadCategories(recordStore());
  } catch (const std::exception& e) {
    // A read that failed after the open: the set is closed, the table stays empty.
    list.opened = false;
    list.message = e.what();
  }
  if (!list.opened) {
    loadFailure_ = fromRecordText(list.message);
    desktop().showMessage(loadFailure_);
    Edit1Change();
    return;
  }
  loadFailure_.clear();
  grid_->setRowCount(static_cast<int>(list.rows.size()) + 1);
  for (std::size_t i = 0; i < list.rows.size(); ++i) setRow(static_cast<int>(i), list.rows[i]);
  grid_->setCurrentCell(0, kNameColumn);
  Edit1Change();
}

void LedgerCategoryForm::Image4Click() {
  resetStatus();
  if (!image4_->isEnabled()) return;
  RecordStore& store = recordStore();
  FileSet set(store, kCategorySelectSet);
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.openFailureMessage()));
    return;
  }
  if (!edit1_->text().isEmpty()) {
    showError(languageText(kEntryInUseText));
    return;
  }
  const int row = grid_->currentRow();
  const bool onCategory = row >= 0 && row < count();
  // The empty place after the list gives empty fields.
  const GlCategoryRow taken =
      onCategory ? rowAt(row) : GlCategoryRow{CategoryKind::ProfitAndLoss, "", "", ""};
  // Asked before the row leaves the table: a failed read leaves the list as it was.
  CategoryUse use = findCategoryUse(store, taken.name);
  if (!use.opened) {
    desktop().showMessage(fromRecordText(use.message));
    return;
  }
  edit1_->setText(fromRecordText(taken.name));
  (taken.kind == CategoryKind::BalanceSheet ? radioButton1_ : radioButton2_)->setChecked(true);
  edit2_->setText(fromRecordText(taken.user));
  edit3_->setText(fromRecordText(taken.timestamp));
  if (onCategory) {
    grid_->removeRow(row);
    // The row below moves up into the current place, so Add puts the category back here.
    grid_->setCurrentCell(row, kNameColumn);
  }
  // A category that accounts name keeps its name: it can only go back into the list.
  setInUse(use.inUse);
  set.close();
  setSelectEnabled(false);
}

void LedgerCategoryForm::AddExecute() {
  resetStatus();
  if (!image3_->isEnabled()) return;
  const CategoryKind kind =
      radioButton1_->isChecked() ? CategoryKind::BalanceSheet : CategoryKind::ProfitAndLoss;
  const std::string name = toRecordText(edit1_->text());
  switch (checkNewCategory(rows(), kind, name)) {
    case NewCategoryCheck::ListFull:
      showError(languageText(kLimitText));
      return;
    case NewCategoryCheck::Duplicate:
      // The entry stays in the fields to be changed.
      showError(languageText(kAlreadyExistsText));
      break;
    case NewCategoryCheck::Valid: {
      int position = grid_->currentRow();
      if (position < 0 || position > count()) position = count();
      grid_->insertRow(position);
      // No user and no timestamp: the next Save stamps the category.
      setRow(position, {kind, name, "", ""});
      grid_->setCurrentCell(position, kNameColumn);
      clearEntryFields();
      break;
    }
  }
  if (static_cast<std::size_t>(count()) >= kCategoryReminderCount)
    showNotice(languageText(kLimitText));
  setSelectEnabled(true);
}

void LedgerCategoryForm::Image1Click() {
  resetStatus();
  const int row = grid_->currentRow();
  if (row < 0 || row >= count() || !grid_->item(row, kKindColumn)) return;
  if (row == 0) {
    showNotice(languageText(kTopReachedText));
    return;
  }
  swapRows(row - 1, row);
  grid_->setCurrentCell(row - 1, grid_->currentColumn());
}

void LedgerCategoryForm::Image2Click() {
  resetStatus();
  const int row = grid_->currentRow();
  if (row < 0 || row >= count() - 1) {
    showNotice(languageText(kBottomReachedText));
    return;
  }
  swapRows(row, row + 1);
  grid_->setCurrentCell(row + 1, grid_->currentColumn());
}

void LedgerCategoryForm::DeleteExecute() {
  resetStatus();
  if (!delete_->isEnabled()) return;
  // The category that Select took out is not in the table: it leaves the file at Save.
  clearEntryFields();
  setSelectEnabled(true);
}

void LedgerCategoryForm::SaveExecute() {
  resetStatus();
  if (!edit1_->text().isEmpty()) {
    showError(languageText(kEntryInUseText));
    return;
  }
  if (!loadFailure_.isEmpty()) {
    // The file was never read: writing the table would drop every category in it.
    showError(loadFailure_);
    return;
  }
  CategoryFileOutcome outcome =
      saveCategories(recordStore(), rows(), session().userId(), currentTimestamp());
  if (!outcome.opened) {
    desktop().showMessage(fromRecordText(outcome.message));
    return;
  }
  close();
}

void LedgerCategoryForm::CancelExecute() {
  resetStatus();
  if (!edit1_->text().isEmpty()) {
    showError(languageText(kEntryInUseText));
    return;
  }
  close();
}

bool LedgerCategoryForm::previewKey(QKeyEvent* event) {
  ListEditorKeys keys;
  keys.cancel = [this] { CancelExecute(); };
  keys.moveUp = [this] { Image1Click(); };
  keys.moveDown = [this] { Image2Click(); };
  keys.save = [this] { SaveExecute(); };
  keys.remove = [this] { DeleteExecute(); };
  keys.select = [this] { Image4Click(); };
  keys.add = [this] { AddExecute(); };
  keys.list = grid_;
  keys.entryFields = {edit1_};
  return handleListEditorKey(keys, *event, keyTarget()) || Form::previewKey(event);
}

}  // namespace tallymoor
