#include "startup/forms/startup_error_form.h"

#include <QStatusBar>
#include <QVBoxLayout>

#include "record-store/system_error.h"

namespace tallymoor {

StartupErrorForm::StartupErrorForm(const QString& errorText, int errorCode, QWidget* parent)
    : Form("Tstartuperror", parent), errorText_(errorText), errorCode_(errorCode) {
  setWindowTitle("Startup error");
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  label1_ = new QLabel(central);
  label1_->setObjectName("Label1");
  label2_ = new QLabel(central);
  label2_->setObjectName("Label2");
  label3_ = new QLabel(central);
  label3_->setObjectName("Label3");
  // Plain labels pass a click on to the form, which closes on any click.
  for (QLabel* label : {label1_, label2_, label3_}) layout->addWidget(label);
  button1_ = new QPushButton("OK", central);
  button1_->setObjectName("Button1");
  button1_->setDefault(true);
  layout->addWidget(button1_, 0, Qt::AlignHCenter);
  setCentralWidget(central);
  statusBar()->hide();
  resize(480, 170);
  connect(button1_, &QPushButton::clicked, this, &StartupErrorForm::Button1Click);
}

void StartupErrorForm::activate() {
  label1_->setText("1. Check file and folder properties !. (None readonly)");
  label2_->setText(errorText_);
  label3_->setText(QString::fromLocal8Bit(systemErrorText(errorCode_)));
  button1_->setFocus();
}

void StartupErrorForm::Button1Click() { close(); }

void StartupErrorForm::mousePressEvent(QMouseEvent*) { close(); }

}  // namespace tallymoor
