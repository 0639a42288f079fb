#pragma once
// Thelpform: the help viewer. Loads the help text of the chosen language into a read-only
// rich-text view, strips its tags, builds the chapter tree and scrolls to the heading
// that carries the marker the caller asked for.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <vector>

#include "help/help_structure.h"
#include "platform/form.h"

class QAction;

namespace tallymoor {

class RichTextView;

// The five texts a caller hands to the viewer.
struct HelpBlock {
  QString fileCaption = "File";
  QString exitCaption = "Exit";
  QString cancelCaption = "Cancel";
  QString languageName;  // chooses the help file
  QString helpTitle = "Help";
};

class HelpForm : public Form {
  Q_OBJECT
 public:
  explicit HelpForm(QWidget* parent = nullptr);

  void setHelpBlock(const HelpBlock& block) { helpBlock_ = block; }
  const HelpBlock& helpBlock() const { return helpBlock_; }
  // The marker the next positioning looks for.
  void setPendingMarker(const QString& marker) { pendingMarker_ = marker; }
  QString savedMarker() const { return savedMarker_; }
  QString helpFileName() const { return helpFileName_; }
  // The web page of the two web page actions.
  void setWebPage(const QString& url) { webPage_ = url; }
  RichTextView* view() const { return view_; }
  // The view line at the top of the view's caret: the line positioning moved to.
  int caretLine() const;

 public slots:
  // Positioning: the selected chapter, or the pending marker.
  void positierichedit();
  void Button1Click() { close(); }
  void ToolButton1Click() { close(); }
  void Sluiten1Click() { close(); }
  // The language choice changed: back to the caller's marker in the other language.
  void ComboBox1Change();
  void BrowseURL1Execute();
  void BrowseURL2Execute();

 protected:
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  bool load(const QString& fileName);

  HelpBlock helpBlock_;
  QString pendingMarker_;
  QString savedMarker_;
  QString helpFileName_;
  QString webPage_ = "https://tallymoor.example/help";
  HelpStructure structure_;
  std::vector<QTreeWidgetItem*> items_;  // by node index

  RichTextView* view_;
  QTreeWidget* tree_;
  QPushButton* button1_;
  QToolButton* toolButton1_;
  QToolButton* toolButton3_;
  QLabel* label1_;
  QComboBox* comboBox1_;
  QMenu* file1_;
  QAction* sluiten1_;
  QAction* browseUrl1_;
  QAction* browseUrl2_;
  QAction* positionAction_;
};

}  // namespace tallymoor
