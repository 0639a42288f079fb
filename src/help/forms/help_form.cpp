#include "help/forms/help_form.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/desktop.h"
#include "platform/record_text.h"
#include "platform/rich_text_view.h"
#include "record-store/record_store.h"

namespace tallymoor {

HelpForm::HelpForm(QWidget* parent) : Form("Thelpform", parent) {
  file1_ = menuBar()->addMenu("File");
  file1_->setObjectName("File1");
  sluiten1_ = file1_->addAction("Exit", this, &HelpForm::Sluiten1Click);
  sluiten1_->setObjectName("Sluiten1");

  auto* toolBar = addToolBar("Help");
  toolBar->setObjectName("ToolBar1");
  toolBar->setMovable(false);
  toolButton1_ = new QToolButton(toolBar);
  toolButton1_->setObjectName("ToolButton1");
  toolButton1_->setText("Close");
  toolBar->addWidget(toolButton1_);
  browseUrl1_ = new QAction("Web page", this);
  browseUrl1_->setObjectName("BrowseURL1");
  browseUrl2_ = new QAction("Web page", this);
  browseUrl2_->setObjectName("BrowseURL2");
  toolButton3_ = new QToolButton(toolBar);
  toolButton3_->setObjectName("ToolButton3");
  toolButton3_->setDefaultAction(browseUrl2_);
  toolBar->addWidget(toolButton3_);
  label1_ = new QLabel(" Help", toolBar);
  label1_->setObjectName("Label1");
  toolBar->addWidget(label1_);
  comboBox1_ = new QComboBox(toolBar);
  comboBox1_->setObjectName("ComboBox1");
  comboBox1_->setEditable(true);
  comboBox1_->addItems({"Deutsch", "English", "Nederlands"});
  toolBar->addWidget(comboBox1_);
  button1_ = new QPushButton("Cancel", toolBar);
  button1_->setObjectName("Button1");
  toolBar->addWidget(button1_);
  positionAction_ = new QAction(this);
  positionAction_->setObjectName("positierichedit");

  auto* splitter = new QSplitter(this);
  tree_ = new QTreeWidget(splitter);
  tree_->setObjectName("TreeView1");
  tree_->header()->hide();
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_ = new RichTextView(splitter);
  view_->setObjectName("RichEdit1");
  splitter->setStretchFactor(1, 3);
  splitter->setSizes({260, 760});
  setCentralWidget(splitter);
  statusBar()->hide();
  resize(1024, 700);

  connect(button1_, &QPushButton::clicked, this, &HelpForm::Button1Click);
  connect(toolButton1_, &QToolButton::clicked, this, &HelpForm::ToolButton1Click);
  connect(browseUrl1_, &QAction::triggered, this, &HelpForm::BrowseURL1Execute);
  connect(browseUrl2_, &QAction::triggered, this, &HelpForm::BrowseURL2Execute);
  connect(positionAction_, &QAction::triggered, this, &HelpForm::positierichedit);
  connect(comboBox1_, &QComboBox::textActivated, this, &HelpForm::ComboBox1Change);
  // A click, a double-click or a key in the tree positions the view.
  connect(tree_, &QTreeWidget::itemClicked, this, &HelpForm::positierichedit);
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, &HelpForm::positierichedit);
}

bool HelpForm::eventFilter(QObject* watched, QEvent* event) {
  // Every key goes past the form first (key preview); one released in the tree positions.
  bool handled = Form::eventFilter(watched, event);
  if (!handled && watched == tree_ && event->type() == QEvent::KeyRelease) positierichedit();
  return handled;
}

void HelpForm::activate() {
  comboBox1_->setCurrentText(helpBlock_.languageName);
  savedMarker_.clear();
  build();
}

void HelpForm::ComboBox1Change() {
  pendingMarker_ = savedMarker_;
  build();
}

bool HelpForm::load(const QString& fileName) {
  view_->clear();
  RecordStore& store = recordStore();
  store.TextFileName = toRecordText(fileName);
  FileSet set(store, "HEN");
  if (!set.ok()) {
    desktop().showMessage(fromRecordText(store.FileErrorText));
    return false;
  }
  const std::string& rtf = store.textFile().contents();
  view_->loadRtf(QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
  return true;
}

void HelpForm::build() {
  helpFileName_ =
      QString::fromStdString(tallymoor::helpFileName(toRecordText(comboBox1_->currentText())));
  button1_->setText(helpBlock_.cancelCaption);
  file1_->setTitle(helpBlock_.fileCaption);
  sluiten1_->setText(helpBlock_.exitCaption);
  label1_->setText(" " + helpBlock_.helpTitle);
  setWindowTitle(" Tallymoor : " + helpBlock_.helpTitle);

  if (!load(helpFileName_) && helpFileName_ != "helpenglish.rtf") {
    helpFileName_ = "helpenglish.rtf";
    load(helpFileName_);
  }

  // The structure is read from the view's lines; the tags it strips go from the view too,
  // and the rest of each line keeps its formats. Then the prologue goes.
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(view_->lineCount()));
  for (const QString& line : view_->lines()) lines.push_back(toRecordText(line));
  std::vector<std::size_t> lengths;
  lengths.reserve(lines.size());
  for (const std::string& line : lines) lengths.push_back(line.size());
  structure_ = buildHelpStructure(lines);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (std::size_t removed = lengths[i] - lines[i].size())
      view_->removeFromLine(static_cast<int>(i), 0, static_cast<int>(removed));
  view_->removeLines(0, static_cast<int>(structure_.prologueCount));

  tree_->clear();
  items_.clear();
  for (const HelpNode& node : structure_.nodes) {
    QTreeWidgetItem* item =
        node.parent < 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(items_[node.parent]);
    item->setText(0, fromRecordText(node.text));
    items_.push_back(item);
  }
  tree_->expandAll();
  if (items_.size() > 1) tree_->setCurrentItem(items_[1]);
  positierichedit();
  // The end mark stays in the view but leaves the tree.
  if (items_.size() > 1) {
    delete items_.back();
    items_.pop_back();
    structure_.dropEndMark();
  }
}

void HelpForm::positierichedit() {
  int selected = -1;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == tree_->currentItem()) selected = static_cast<int>(i);
  int targetLine = 1;
  selected = positionHelp(structure_, selected, toRecordText(pendingMarker_), targetLine);
  if (selected >= 0 && selected < static_cast<int>(items_.size())) {
    QSignalBlocker quiet(tree_);
    tree_->setCurrentItem(items_[static_cast<std::size_t>(selected)]);
  }
  // A click positions without a marker; the caller's marker is kept for a change of
  // language, which returns to the caller's chapter rather than the one last read.
  if (!pendingMarker_.isEmpty()) savedMarker_ = pendingMarker_;
  pendingMarker_.clear();
  // The target heading comes to the top of the view.
  view_->scrollToLine(targetLine);
}

int HelpForm::caretLine() const { return view_->textCursor().blockNumber(); }

void HelpForm::BrowseURL1Execute() { desktop().openUrl(webPage_); }

void HelpForm::BrowseURL2Execute() { desktop().openUrl(webPage_); }

}  // namespace tallymoor
