#include "startup/forms/caption_routine.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "platform/form.h"
#include "platform/record_text.h"
#include "record-store/number_format.h"
#include "record-store/record_store.h"
#include "startup/caption_table.h"
#include "startup/forms/language_text.h"
#include "startup/session.h"
#include "startup/web_pages.h"

namespace tallymoor {
namespace {

Form* findForm(const QList<Form*>& forms, const char* className) {
  for (Form* form : forms)
    if (form->objectName() == QLatin1String(className)) return form;
  return nullptr;
}

// Where the files of the chosen administration are, for the record store and the forms.
void refreshSharedValues() {
  Session& s = session();
  RecordStore& store = recordStore();
  s.systemParameters.directory = (s.baseDataDirectory + s.administrationCode + "/").substr(0, 100);
  store.baseDataDirectory = s.baseDataDirectory;
  store.administrationDirectory = s.systemParameters.directory;
  NumberFormat& format = numberFormat();
  format.decimals = s.systemParameters.decimals;
  format.currencySymbol = s.systemParameters.currencySymbol;
  format.amountFormat = s.systemParameters.amountFormat;
  // The help block every form hands to the viewer.
  s.helpBlock = {s.text(21), s.text(123), s.text(306),
                 s.systemParameters.languageName.substr(0, 10), s.text(7631)};
}

}  // namespace

bool setCaption(QObject* control, const QString& caption) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(caption);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(caption);
  } else if (auto* menu = qobject_cast<QMenu*>(control)) {
    menu->setTitle(caption);
  } else if (auto* action = qobject_cast<QAction*>(control)) {
    action->setText(caption);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(caption);
  } else {
    return false;
  }
  return true;
}

void runCaptionRoutine(const QList<Form*>& forms) {
  Session& s = session();
  if (Form* start = findForm(forms, "TStartscherm")) {
    start->setWindowTitle(QString(kProgramTitle) + " : Menu ");
    if (auto* label5 = start->findChild<QLabel*>("Label5"))
      label5->setText(" " + languageText(1261) + " (" + fromRecordText(s.administrationName) + ")");
  }
  s.languageName = s.text(0);
  refreshSharedValues();

  for (const WindowTitleRow& row : windowTitleTable())
    if (Form* form = findForm(forms, row.form))
      form->setWindowTitle(QString(kProgramTitle) + " : " + languageText(row.groupOffset) + " / " +
                           languageText(row.entryOffset));
  for (const CaptionRow& row : captionTable()) {
    Form* form = findForm(forms, row.form);
    if (!form) continue;
    if (QObject* control = form->findChild<QObject*>(row.control))
      setCaption(control, languageText(row.offset));
  }
  for (Form* form : forms) form->applyLanguage();
}

QString webPageForLanguage(const QString& language) {
  return fromRecordText(webPageForLanguage(toRecordText(language)));
}

}  // namespace tallymoor
