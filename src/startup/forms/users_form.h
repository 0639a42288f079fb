#pragma once
// TUsers: the users of the installation as one list. The grid is the working copy of the
// whole user file from activation until Save rewrites the file or Cancel drops it; a user
// is changed by selecting it into the entry fields and adding it back.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <vector>

#include "platform/form.h"
#include "startup/user_file.h"

namespace tallymoor {

class UsersForm : public Form {
  Q_OBJECT
 public:
  // Grid columns; the last one is hidden.
  enum Column {
    kIdColumn = 0,
    kNameColumn = 1,
    kFirstRightColumn = 2,  // three columns, one per right
    kMemoColumn = 5,
    kCreatorColumn = 6,
    kStampColumn = 7,
    kSecretColumn = 8,  // stored digest, or the new password of an added user
    kColumnCount = 9,
  };

  // Makes sure the user file holds at least the first user (FormCreate); runs inside the
  // start-up set at program start.
  explicit UsersForm(QWidget* parent = nullptr);
  QString helpMarker() const override { return "<USE00>"; }
  // Grid headings and the yes and no words of the rights columns.
  void applyLanguage() override;

  // The list as the grid holds it, row by row.
  std::vector<UserRow> rows() const;

 public slots:
  void SelectExecute();
  void AddExecute();
  void DeleteExecute();
  void SaveExecute();
  void CancelExecute();
  // Checks when a field is left.
  void Edit1Exit();
  void Edit5Exit();
  void Edit6Exit();
  void BrookfellHelp1Click() { showHelp({}); }
  void BrookfellUsersHelp1Click() { showHelp(helpMarker()); }
  void ToolButton7Click() { showHelp(helpMarker()); }

 protected:
  // Load: fills the grid from the file, taking over the set the menu opened.
  void activate() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void load();
  void clearEntryFields();
  // SYSTEM keeps its id, name and rights: while it is in the entry fields they are locked.
  void setSystemLocked(bool locked);
  void showError(const QString& text);
  void setRow(int row, const UserRow& user);
  void setRightCell(int row, int column, bool granted);
  bool rightAt(int row, int column) const;
  QString cellText(int row, int column) const;
  QString yesWord() const;
  QString noWord() const;
  QLabel* addLabel(const char* name, const QString& text);
  QLineEdit* addEdit(const char* name, int maxLength);

  QTableWidget* grid_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit5_;
  QLineEdit* edit6_;
  QCheckBox* checkBox1_;
  QCheckBox* checkBox2_;
  QCheckBox* checkBox3_;
  QPlainTextEdit* memo2_;
  QLabel* userIdLabel_;
  QLabel* label5_;
  QLabel* label6_;
};

}  // namespace tallymoor
