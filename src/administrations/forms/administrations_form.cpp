#include "administrations/forms/administrations_form.h"

#include <QAction>
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
constexpr int kCodeHeadingText = 7205;
constexpr int kNameHeadingText = 7220;
constexpr int kMemoHeadingText = 2163;
constexpr int kFullCopyText = 7428;
constexpr int kLedgerCopyText = 7479;
constexpr int kTopReachedText = 9384;
constexpr int kBottomReachedText = 9445;
constexpr int kEntryInUseText = 9567;
constexpr int kAlreadyExistsText = 9648;
constexpr int kCodeMissingText = 9709;

}  // namespace

AdministrationsForm::AdministrationsForm(QWidget* parent) : Form("TAdministrations", parent) {
  setWindowTitle("Administrations");

  // The actions, each reached from a button, a tool button and a menu item.
  save_ = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "Save", this);
  save_->setObjectName("Save");
  connect(save_, &QAction::triggered, this, &AdministrationsForm::SaveExecute);
  delete_ = new QAction(style()->standardIcon(QStyle::SP_TrashIcon), "Delete", this);
  delete_->setObjectName("Delete");
  connect(delete_, &QAction::triggered, this, &AdministrationsForm::DeleteExecute);
  auto* cancel = new QAction("Cancel", this);
  cancel->setObjectName("Cancel");
  connect(cancel, &QAction::triggered, this, &AdministrationsForm::CancelExecute);
  addActions({save_, delete_, cancel});

  QMenu* file1 = menuBar()->addMenu("File");
  file1->setObjectName("File1");
  save1_ = file1->addAction("Save", this, &AdministrationsForm::SaveExecute);
  save1_->setObjectName("Save1");
  QMenu* actions1 = menuBar()->addMenu("Actions");
  actions1->setObjectName("Actions1");
  actions1->addAction("Select", this, &AdministrationsForm::Selectleft1Click)
      ->setObjectName("Selectleft1");
  actions1->addAction("Add", this, &AdministrationsForm::Postright1Click)
      ->setObjectName("Postright1");
  actions1->addAction("Delete", this, &AdministrationsForm::DeleteExecute)
      ->setObjectName("Delete1");
  actions1->addSeparator();
  preparecopy1_ = actions1->addAction("Prepare copy");
  preparecopy1_->setObjectName("Preparecopy1");
  startcopyproces1_ = actions1->addAction("Start copy proces");
  startcopyproces1_->setObjectName("Startcopyproces1");
  QMenu* help1 = menuBar()->addMenu("Help");
  help1->setObjectName("Help1");
  help1->addAction("Brookfell help", this, &AdministrationsForm::Brookfellhelp1Click)
      ->setObjectName("Brookfellhelp1");
  help1
      ->addAction("Brookfell Administrations help", this,
                  &AdministrationsForm::BrookfellAdministrationshelp1Click)
      ->setObjectName("BrookfellAdministrationshelp1");
  addStandardHelpItems(help1);

  QToolBar* toolBar = addFormToolBar();
  QToolButton* toolButton1 = addToolButton(toolBar, "ToolButton1", QStyle::SP_ArrowLeft, "Select");
  QToolButton* toolButton2 = addToolButton(toolBar, "ToolButton2", QStyle::SP_ArrowRight, "Add");
  addToolButton(toolBar, "ToolButton3", QStyle::SP_DialogSaveButton, "Save")
      ->setDefaultAction(save_);
  addToolButton(toolBar, "ToolButton4", QStyle::SP_TrashIcon, "Delete")->setDefaultAction(delete_);
  QToolButton* toolButton7 =
      addToolButton(toolBar, "ToolButton7", QStyle::SP_DialogHelpButton, "Help");

  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* layout = new QVBoxLayout(central);
  auto* top = new QHBoxLayout;
  layout->addLayout(top, 1);

  // Entry fields on the left, the list on the right, the moves between them.
  auto* entry = new QVBoxLayout;
  auto* fields = new QGridLayout;
  label4_ = addLabel(central, "Label4", "Shortnaem");
  edit1_ = addEdit(central, "Edit1", 0);  // longer codes are cut when added
  edit2_ = addEdit(central, "Edit2", static_cast<int>(kAdministrationNameLength));
  edit3_ = addEdit(central, "Edit3", static_cast<int>(kAdministrationMemoLength));
  edit4_ = addEdit(central, "Edit4", static_cast<int>(kAdministrationCreatorLength));
  edit5_ = addEdit(central, "Edit5", static_cast<int>(kAdministrationStampLength));
  for (QLineEdit* display : {edit4_, edit5_}) {
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::ClickFocus);
  }
  edit4_->setToolTip("Created by");
  edit5_->setToolTip("Created on");
  fields->addWidget(label4_, 0, 0);
  fields->addWidget(edit1_, 0, 1);
  fields->addWidget(addLabel(central, "Label5", "Administration name"), 1, 0);
  fields->addWidget(edit2_, 1, 1);
  fields->addWidget(addLabel(central, "Label6", "Memo"), 2, 0);
  fields->addWidget(edit3_, 2, 1);
  auto* stamps = new QHBoxLayout;
  stamps->addWidget(edit4_);
  stamps->addWidget(edit5_);
  fields->addLayout(stamps, 3, 1);
  fields->setColumnStretch(1, 1);
  entry->addLayout(fields);
  entry->addStretch(1);
  auto* buttons = new QHBoxLayout;
  auto addButton = [&](const char* name, const QString& text) {
    auto* button = new QPushButton(text, central);
    button->setObjectName(name);
    button->setAutoDefault(true);  // Enter on the focused button presses it
    buttons->addWidget(button);
    return button;
  };
  save2_ = addButton("Save2", "Save and Exit");
  QPushButton* button3 = addButton("Button3", "Delete");
  QPushButton* button2 = addButton("Button2", "Cancel");
  button1_ = addButton("Button1", "Prepare copy");
  buttons->addStretch(1);
  entry->addLayout(buttons);
  top->addLayout(entry, 2);

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
  QPushButton* image4 = addImage("Image4", QStyle::SP_ArrowLeft, "Select (Alt+Left)");
  QPushButton* image3 = addImage("Image3", QStyle::SP_ArrowRight, "Add (Alt+Right)");
  moves->addWidget(image4);
  moves->addWidget(image3);
  moves->addStretch(1);
  top->addLayout(moves);

  auto* list = new QVBoxLayout;
  list->addWidget(addLabel(central, "Label7", "Administrations"));
  grid_ = new QTableWidget(0, kColumnCount, central);
  grid_->setObjectName("StringGrid1");
  grid_->setHorizontalHeaderLabels({"Shortnaem", "Administration name", "Memo", "", ""});
  for (int column : {kMemoColumn, kCreatorColumn, kStampColumn})
    grid_->setColumnHidden(column, true);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(false);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->setColumnWidth(kCodeColumn, 110);
  grid_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  list->addWidget(grid_, 1);
  auto* upDown = new QHBoxLayout;
  QPushButton* image1 = addImage("Image1", QStyle::SP_ArrowUp, "Up (Ctrl+Up)");
  QPushButton* image2 = addImage("Image2", QStyle::SP_ArrowDown, "Down (Ctrl+Down)");
  upDown->addWidget(image1);
  upDown->addWidget(image2);
  upDown->addStretch(1);
  list->addLayout(upDown);
  top->addLayout(list, 3);

  // The copy panel: opened by Prepare copy, hidden in every other state of the form.
  panel2_ = new QWidget(central);
  panel2_->setObjectName("Panel2");
  auto* panel = new QGridLayout(panel2_);
  comboBox1_ = new QComboBox(panel2_);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setEditable(true);
  comboBox2_ = new QComboBox(panel2_);
  comboBox2_->setObjectName("ComboBox2");
  comboBox2_->setEditable(true);
  radioGroup1_ = new QGroupBox("Select content to copy :", panel2_);
  radioGroup1_->setObjectName("RadioGroup1");
  auto* choices = new QVBoxLayout(radioGroup1_);
  fullCopy_ = new QRadioButton("Full copy of a administration", radioGroup1_);
  ledgerCopy_ = new QRadioButton("General Ledger in a new administration.", radioGroup1_);
  fullCopy_->setChecked(true);
  choices->addWidget(fullCopy_);
  choices->addWidget(ledgerCopy_);
  dateTimePicker1_ = new QDateEdit(panel2_);
  dateTimePicker1_->setObjectName("DateTimePicker1");
  dateTimePicker1_->setCalendarPopup(true);
  dateTimePicker1_->setMinimumDate(QDate(2000, 1, 1));
  QLabel* label10 = addLabel(panel2_, "Label10", "firstdate");
  label10->hide();
  dateTimePicker1_->hide();
  button4_ = new QPushButton("Start copy proces", panel2_);
  button4_->setObjectName("Button4");
  auto* button6 = new QPushButton("Cancel", panel2_);
  button6->setObjectName("Button6");
  panel->addWidget(addLabel(panel2_, "Label3", "Combobox sort order :"), 0, 0, 1, 2);
  panel->addWidget(addLabel(panel2_, "Label8", "Copy from:"), 1, 0);
  panel->addWidget(comboBox1_, 1, 1);
  panel->addWidget(addLabel(panel2_, "Label9", "Copy to:"), 2, 0);
  panel->addWidget(comboBox2_, 2, 1);
  panel->addWidget(radioGroup1_, 1, 2, 2, 1);
  panel->addWidget(label10, 3, 0);
  panel->addWidget(dateTimePicker1_, 3, 1);
  panel->addWidget(button4_, 4, 1);
  panel->addWidget(button6, 4, 2);
  layout->addWidget(panel2_);

  setTabChain(
      {edit1_, edit2_, edit3_, image3, grid_, image4, image1, image2, save2_, button3, button2});

  connect(image1, &QPushButton::clicked, this, &AdministrationsForm::Image1Click);
  connect(image2, &QPushButton::clicked, this, &AdministrationsForm::Image2Click);
  connect(image3, &QPushButton::clicked, this, &AdministrationsForm::Image3Click);
  connect(image4, &QPushButton::clicked, this, &AdministrationsForm::Image4Click);
  connect(toolButton1, &QToolButton::clicked, this, &AdministrationsForm::ToolButton1Click);
  connect(toolButton2, &QToolButton::clicked, this, &AdministrationsForm::ToolButton2Click);
  connect(toolButton7, &QToolButton::clicked, this, &AdministrationsForm::ToolButton7Click);
  connect(save2_, &QPushButton::clicked, save_, &QAction::trigger);
  connect(button3, &QPushButton::clicked, delete_, &QAction::trigger);
  connect(button2, &QPushButton::clicked, cancel, &QAction::trigger);
  connect(button6, &QPushButton::clicked, this, &AdministrationsForm::Button6Click);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, &AdministrationsForm::Image4Click);
  for (QLineEdit* field : {edit1_, edit2_, edit3_})
    connect(field, &QLineEdit::textChanged, this, &AdministrationsForm::entryFieldsChanged);
  // Copying an administration comes with the copy panel; until then it cannot be chosen.
  button1_->setEnabled(false);
  preparecopy1_->setEnabled(false);
  hideCopyPanel();
  resize(900, 560);

  try {
    FormCreate();
  } catch (const std::exception& e) {
    // A failed read at program start: say so, the program goes on with an empty list.
    desktop().showMessage(QString::fromLocal8Bit(e.what()));
  }
}

QLabel* AdministrationsForm::addLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QLineEdit* AdministrationsForm::addEdit(QWidget* parent, const char* name, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  return edit;
}

void AdministrationsForm::applyLanguage() {
  grid_->setHorizontalHeaderLabels({languageText(kCodeHeadingText), languageText(kNameHeadingText),
                                    languageText(kMemoHeadingText), "", ""});
  fullCopy_->setText(languageText(kFullCopyText));
  ledgerCopy_->setText(languageText(kLedgerCopyText));
}

void AdministrationsForm::showError(const QString& text) { setStatus(text, StatusKind::Error); }

QString AdministrationsForm::cellText(int row, int column) const {
  QTableWidgetItem* item = grid_->item(row, column);
  return item ? item->text() : QString();
}

void AdministrationsForm::setRow(int row, const AdministrationRow& administration) {
  auto put = [&](int column, const std::string& text) {
    grid_->setItem(row, column, new QTableWidgetItem(fromRecordText(text)));
  };
  put(kCodeColumn, administration.code);
  put(kNameColumn, administration.name);
  put(kMemoColumn, administration.memo);
  put(kCreatorColumn, administration.creator);
  put(kStampColumn, administration.creationStamp);
}

int AdministrationsForm::count() const { return std::max(0, grid_->rowCount() - 1); }

std::vector<AdministrationRow> AdministrationsForm::rows() const {
  std::vector<AdministrationRow> result;
  result.reserve(static_cast<std::size_t>(count()));
  for (int row = 0; row < count(); ++row)
    result.push_back(
        {toRecordText(cellText(row, kCodeColumn)), toRecordText(cellText(row, kNameColumn)),
         toRecordText(cellText(row, kMemoColumn)), toRecordText(cellText(row, kCreatorColumn)),
         toRecordText(cellText(row, kStampColumn))});
  return result;
}

std::vector<std::string> AdministrationsForm::codes() const {
  std::vector<std::string> result;
  result.reserve(static_cast<std::size_t>(count()));
  for (int row = 0; row < count(); ++row)
    result.push_back(toRecordText(cellText(row, kCodeColumn)));
  return result;
}

void AdministrationsForm::swapRows(int first, int second) {
  for (int column = 0; column < kColumnCount; ++column) {
    QTableWidgetItem* a = grid_->takeItem(first, column);
    QTableWidgetItem* b = grid_->takeItem(second, column);
    grid_->setItem(first, column, b);
    grid_->setItem(second, column, a);
  }
}

void AdministrationsForm::clearEntryFields() {
  for (QLineEdit* edit : {edit1_, edit2_, edit3_, edit4_, edit5_}) edit->clear();
}

bool AdministrationsForm::entryFieldsEmpty() const {
  return edit1_->text().isEmpty() && edit2_->text().isEmpty() && edit3_->text().isEmpty();
}

bool AdministrationsForm::saveEnabled() const { return save_->isEnabled(); }

void AdministrationsForm::setSaveEnabled(bool enabled) {
  save_->setEnabled(enabled);
  save1_->setEnabled(enabled);
  save2_->setEnabled(enabled);
}

void AdministrationsForm::entryFieldsChanged() {
  hideCopyPanel();
  setSaveEnabled(entryFieldsEmpty() && !takenOut_ && loadFailure_.isEmpty());
}

void AdministrationsForm::hideCopyPanel() {
  panel2_->hide();
  comboBox1_->setEnabled(false);
  comboBox2_->setEnabled(false);
  dateTimePicker1_->setEnabled(false);
  button4_->setEnabled(false);
  startcopyproces1_->setEnabled(false);
}

void AdministrationsForm::FormCreate() { load(); }

void AdministrationsForm::FormActivate() {
  load();
  hideCopyPanel();
}

void AdministrationsForm::load() {
  resetStatus();
  setStatus({}, StatusKind::Plain);
  takenOut_ = false;
  clearEntryFields();
  grid_->setRowCount(0);
  grid_->setRowCount(1);  // the place after the last administration
  AdministrationList list = loadAdministrations(recordStore());
  if (!list.opened) {
    loadFailure_ = fromRecordText(list.message);
    setSaveEnabled(false);
    desktop().showMessage(loadFailure_);
    return;
  }
  loadFailure_.clear();
  grid_->setRowCount(static_cast<int>(list.rows.size()) + 1);
  for (std::size_t i = 0; i < list.rows.size(); ++i) setRow(static_cast<int>(i), list.rows[i]);
  grid_->setCurrentCell(0, kCodeColumn);
  setSaveEnabled(count() > 0);
}

void AdministrationsForm::Image4Click() {
  resetStatus();
  if (!edit1_->text().isEmpty() || takenOut_) {
    showError(languageText(kEntryInUseText));
    return;
  }
  const int row = grid_->currentRow();
  if (row < 0 || row >= count()) return;  // the empty place after the list holds nothing
  takenOut_ = true;
  edit1_->setText(cellText(row, kCodeColumn));
  edit2_->setText(cellText(row, kNameColumn));
  edit3_->setText(cellText(row, kMemoColumn));
  edit4_->setText(cellText(row, kCreatorColumn));
  edit5_->setText(cellText(row, kStampColumn));
  grid_->removeRow(row);
  // The row below moves up into the current place, so Add puts the entry back here.
  grid_->setCurrentCell(row, kCodeColumn);
  setSaveEnabled(false);
}

void AdministrationsForm::Image3Click() {
  resetStatus();
  const std::string typed = toRecordText(edit1_->text());
  switch (checkNewAdministration(codes(), typed)) {
    case NewAdministrationCheck::CodeMissing:
      showError(label4_->text() + languageText(kCodeMissingText));
      return;
    case NewAdministrationCheck::UnusableCode:
      showError(fromRecordText(unusableCodeMessage(storedAdministrationCode(typed))));
      return;
    case NewAdministrationCheck::Duplicate:
      showError(languageText(kAlreadyExistsText));
      return;
    case NewAdministrationCheck::Valid:
      break;
  }
  int position = grid_->currentRow();
  if (position < 0 || position > count()) position = count();
  grid_->insertRow(position);
  // No creator and no stamp: the next Save stamps the entry and makes its directory.
  setRow(position, {storedAdministrationCode(typed), toRecordText(edit2_->text()),
                    toRecordText(edit3_->text()), "", ""});
  grid_->setCurrentCell(position, kCodeColumn);
  takenOut_ = false;
  clearEntryFields();
  setSaveEnabled(loadFailure_.isEmpty());
}

void AdministrationsForm::Image1Click() {
  resetStatus();
  const int row = grid_->currentRow();
  if (row < 0 || row >= count() || cellText(row, kCodeColumn).isEmpty()) return;
  if (row == 0) {
    setStatus(languageText(kTopReachedText), StatusKind::Notice);
    return;
  }
  swapRows(row - 1, row);
  grid_->setCurrentCell(row - 1, kCodeColumn);
}

void AdministrationsForm::Image2Click() {
  resetStatus();
  const int row = grid_->currentRow();
  if (row < 0 || row >= count() - 1) {
    setStatus(languageText(kBottomReachedText), StatusKind::Notice);
    return;
  }
  swapRows(row, row + 1);
  grid_->setCurrentCell(row + 1, kCodeColumn);
}

void AdministrationsForm::DeleteExecute() {
  resetStatus();
  // The taken-out entry is dropped from the list; its directory stays on disk.
  takenOut_ = false;
  clearEntryFields();
  setSaveEnabled(loadFailure_.isEmpty());
}

void AdministrationsForm::SaveExecute() {
  if (saveList()) close();
}

bool AdministrationsForm::saveList() {
  resetStatus();
  if (!edit1_->text().isEmpty() || takenOut_) {
    showError(languageText(kEntryInUseText));
    return false;
  }
  if (!loadFailure_.isEmpty()) {
    // The list was never read: writing the table would drop every administration in it.
    showError(loadFailure_);
    return false;
  }
  AdministrationSave outcome =
      saveAdministrations(recordStore(), rows(), session().userId(), currentTimestamp());
  if (outcome.refused) {
    showError(fromRecordText(outcome.message));
    return false;
  }
  if (!outcome.opened) {
    desktop().showMessage(fromRecordText(outcome.message));
    return false;
  }
  for (std::size_t i = 0; i < outcome.rows.size(); ++i)
    setRow(static_cast<int>(i), outcome.rows[i]);
  return true;
}

void AdministrationsForm::CancelExecute() {
  resetStatus();
  load();
  close();
}

void AdministrationsForm::Button6Click() { hideCopyPanel(); }

bool AdministrationsForm::previewKey(QKeyEvent* event) {
  ListEditorKeys keys;
  keys.cancel = [this] { CancelExecute(); };
  keys.moveUp = [this] { Image1Click(); };
  keys.moveDown = [this] { Image2Click(); };
  keys.save = [this] {
    if (saveEnabled()) SaveExecute();
  };
  keys.remove = [this] { DeleteExecute(); };
  keys.select = [this] { Image4Click(); };
  keys.add = [this] { Image3Click(); };
  keys.list = grid_;
  keys.entryFields = {edit1_, edit2_, edit3_};
  return handleListEditorKey(keys, *event, keyTarget()) || Form::previewKey(event);
}

}  // namespace tallymoor
