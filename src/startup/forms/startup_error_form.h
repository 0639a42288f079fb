#pragma once
// Tstartuperror: shown instead of the program when the system files cannot be opened.

#include <QLabel>
#include <QPushButton>

#include "platform/form.h"

namespace tallymoor {

class StartupErrorForm : public Form {
  Q_OBJECT
 public:
  // `errorText` and `errorCode` are those of the failed open.
  StartupErrorForm(const QString& errorText, int errorCode, QWidget* parent = nullptr);

 public slots:
  void Button1Click();

 protected:
  void activate() override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString errorText_;
  int errorCode_;
  QLabel* label1_;
  QLabel* label2_;
  QLabel* label3_;
  QPushButton* button1_;
};

}  // namespace tallymoor
