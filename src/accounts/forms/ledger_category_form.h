#pragma once
// TLedgercategory: the GL categories of the administration as one list, in the order of
// the financial reports. The table is the working copy of "ledgerct.vlt" from activation
// until Save rewrites the file or Cancel drops it. A category is changed by taking it out
// into the entry fields (Select) and putting it back (Add); Up and Down move a row. The
// table always ends with one empty row, the place after the last category, so Add can put
// a category at the end of the list.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <vector>

#include "accounts/gl_category_list.h"
#include "platform/form.h"

namespace tallymoor {

class LedgerCategoryForm : public Form {
  Q_OBJECT
 public:
  // Table columns; user and timestamp travel with the row unseen.
  enum Column {
    kKindColumn = 0,
    kNameColumn = 1,
    kUserColumn = 2,
    kTimestampColumn = 3,
    kColumnCount = 4,
  };

  // The marker that Select shows for a category that GL accounts name.
  static constexpr const char* kInUseMarker = "in use !";

  explicit LedgerCategoryForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<GLC00>"; }
  // Grid headings and the kind captions in the table.
  void applyLanguage() override;

  // The categories as the table holds them, in table order.
  std::vector<GlCategoryRow> rows() const;
  // The number of category rows.
  int count() const;

 public slots:
  // Load: rebuild the table from the file, taking over the set the menu opened.
  void FormActivate();
  // Add: the entry fields into the table before the current row.
  void AddExecute();
  void Image3Click() { AddExecute(); }
  void Add1Click() { AddExecute(); }
  // Select: the current row into the entry fields.
  void Image4Click();
  void Select1Click() { Image4Click(); }
  // Up and Down: swap the current row with its neighbour.
  void Image1Click();
  void Up1Click() { Image1Click(); }
  void Image2Click();
  void Down1Click() { Image2Click(); }
  // Delete: drop the category in the entry fields.
  void DeleteExecute();
  // Save: rewrite the file from the table and close.
  void SaveExecute();
  // Cancel: close without writing.
  void CancelExecute();
  // Add can be chosen exactly when the name holds more than blanks.
  void Edit1Change();
  void ToolButton6Click() { showHelp(helpMarker()); }
  void BrookfellGLcategoryHelp1Click() { showHelp(helpMarker()); }
  void BrookfellHelp1Click() { showHelp({}); }

 protected:
  void activate() override { FormActivate(); }
  bool previewKey(QKeyEvent* event) override;

 private:
  void load();
  QString kindCaption(CategoryKind kind) const;
  void setRow(int row, const GlCategoryRow& category);
  GlCategoryRow rowAt(int row) const;
  QString cellText(int row, int column) const;
  void swapRows(int first, int second);
  // The name, user, timestamp and marker fields emptied, the name open for typing.
  void clearEntryFields();
  void setInUse(bool inUse);
  void setSelectEnabled(bool enabled);
  void setDeleteEnabled(bool enabled);
  void showError(const QString& text);
  void showNotice(const QString& text);

  QTableWidget* grid_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QGroupBox* radioGroup1_;
  QRadioButton* radioButton1_;
  QRadioButton* radioButton2_;
  QPushButton* image1_;
  QPushButton* image2_;
  QPushButton* image3_;
  QPushButton* image4_;
  QAction* add1_;
  QAction* select1_;
  QAction* delete_;
  QPushButton* button3_;

  // Why the last load could not read the file; Save never writes a list it did not read.
  QString loadFailure_;
};

}  // namespace tallymoor
