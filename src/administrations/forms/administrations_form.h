#pragma once
// TAdministrations: the administration list as one table. The table is the working copy of
// "admin.vlt" from activation until Save rewrites the file or Cancel drops it. An entry is
// changed by taking it out into the entry fields (Select) and putting it back (Add); Up and
// Down move a row. The table always ends with one empty row, the place after the last
// administration, so Add can put an entry at the end of the list.

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <vector>

#include "administrations/administration_list.h"
#include "platform/form.h"

class QAction;

namespace tallymoor {

class AdministrationsForm : public Form {
  Q_OBJECT
 public:
  // Table columns; only code and name are shown.
  enum Column {
    kCodeColumn = 0,
    kNameColumn = 1,
    kMemoColumn = 2,
    kCreatorColumn = 3,
    kStampColumn = 4,
    kColumnCount = 5,
  };

  // Loads the list (FormCreate); at program start this runs inside the start-up set.
  explicit AdministrationsForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<ADM00>"; }
  // Grid headings and the entries of the content choice.
  void applyLanguage() override;

  // The administrations as the table holds them, in table order.
  std::vector<AdministrationRow> rows() const;
  // The number of administration rows.
  int count() const;
  // Whether Save can be chosen.
  bool saveEnabled() const;

 public slots:
  // Load: rebuild the table from the file.
  void FormCreate();
  // Load, and the copy panel hidden.
  void FormActivate();
  // Select: the current row into the entry fields.
  void Image4Click();
  void ToolButton1Click() { Image4Click(); }
  void Selectleft1Click() { Image4Click(); }
  // Add: the entry fields into the table before the current row.
  void Image3Click();
  void ToolButton2Click() { Image3Click(); }
  void Postright1Click() { Image3Click(); }
  // Up and Down: swap the current row with its neighbour.
  void Image1Click();
  void Image2Click();
  // Delete: drop the entry in the entry fields.
  void DeleteExecute();
  // Save: rewrite the file from the table and close.
  void SaveExecute();
  // Cancel: reload from the file and close without writing.
  void CancelExecute();
  // Close panel.
  void Button6Click();
  void BrookfellAdministrationshelp1Click() { showHelp(helpMarker()); }
  void Brookfellhelp1Click() { showHelp({}); }
  void ToolButton7Click() { showHelp(helpMarker()); }

 protected:
  void activate() override { FormActivate(); }
  bool previewKey(QKeyEvent* event) override;

 private:
  void load();
  // Save without closing; false when nothing was written.
  bool saveList();
  void setRow(int row, const AdministrationRow& administration);
  QString cellText(int row, int column) const;
  std::vector<std::string> codes() const;
  void swapRows(int first, int second);
  void clearEntryFields();
  bool entryFieldsEmpty() const;
  // Save and Prepare copy follow the entry fields: only with nothing in them.
  void entryFieldsChanged();
  void setSaveEnabled(bool enabled);
  void hideCopyPanel();
  void showError(const QString& text);
  QLabel* addLabel(QWidget* parent, const char* name, const QString& text);
  QLineEdit* addEdit(QWidget* parent, const char* name, int maxLength);

  QTableWidget* grid_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit5_;
  QLabel* label4_;
  QAction* save_;
  QAction* save1_;
  QPushButton* save2_;
  QAction* delete_;
  QPushButton* button1_;
  QAction* preparecopy1_;
  // The copy panel.
  QWidget* panel2_;
  QComboBox* comboBox1_;
  QComboBox* comboBox2_;
  QGroupBox* radioGroup1_;
  QRadioButton* fullCopy_;
  QRadioButton* ledgerCopy_;
  QDateEdit* dateTimePicker1_;
  QPushButton* button4_;
  QAction* startcopyproces1_;

  // An entry taken out by Select and not yet added back or deleted.
  bool takenOut_ = false;
  // Why the last load could not read the file; Save never writes a list it did not read.
  QString loadFailure_;
};

}  // namespace tallymoor
