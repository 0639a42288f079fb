#include "app/program.h"

#include <QGuiApplication>
#include <cstdio>

#include "accounts/forms/ledger_category_form.h"
#include "administrations/admin_settings.h"
#include "administrations/forms/admin_settings_form.h"
#include "administrations/forms/administrations_form.h"
#include "help/forms/help_form.h"
#include "platform/record_text.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "startup/forms/caption_routine.h"
#include "startup/forms/start_screen_form.h"
#include "startup/forms/startup_error_form.h"
#include "startup/forms/system_settings_form.h"
#include "startup/forms/users_form.h"
#include "startup/session.h"

namespace tallymoor {

Program::Program() {
  QGuiApplication::setApplicationDisplayName("Tallymoor");
  RecordStore& store = recordStore();
  resetSession();
  int result;
  try {
    result = store.OpenFileSet(kStartupSet);
  } catch (const IoError& e) {
    // A missing system file that could not be created.
    store.FileErrorText = e.what();
    store.FileErrorCode = e.code();
    result = RecordStore::kError;
  }

  // The start screen exists in either case; its creation step runs, nothing is shown.
  forms_.push_back(std::make_unique<StartScreenForm>());
  if (result != RecordStore::kOk) {
    QString text = fromRecordText(store.FileErrorText);
    std::fprintf(stderr, "Startup error: %s  %s\n", store.FileErrorText.c_str(),
                 systemErrorText(store.FileErrorCode).c_str());
    startupError_ = std::make_unique<StartupErrorForm>(text, store.FileErrorCode);
    return;
  }
  // The other forms, in their order, while the start-up set is open: their creation
  // steps open nested sets that use its files.
  forms_.push_back(std::make_unique<LedgerCategoryForm>());
  auto settings = std::make_unique<SystemSettingsForm>();
  static_cast<StartScreenForm*>(mainForm())->setSystemSettingsForm(settings.get());
  forms_.push_back(std::move(settings));
  forms_.push_back(std::make_unique<UsersForm>());
  forms_.push_back(std::make_unique<AdministrationsForm>());
  // The settings of the chosen administration are loaded inside the login's open set.
  resetCurrentSettings();
  auto adminSettings = std::make_unique<AdminSettingsForm>();
  static_cast<StartScreenForm*>(mainForm())->setAdministrationOpened([form = adminSettings.get()] {
    form->loadSettings();
    form->applyPeriodLock();
  });
  forms_.push_back(std::move(adminSettings));
  auto help = std::make_unique<HelpForm>();
  helpForm_ = help.get();
  forms_.push_back(std::move(help));
  Form::setHomePage([] { return webPageForLanguage(fromRecordText(session().languageName)); });
  // Every form shows its help through the one viewer, hiding itself meanwhile.
  Form::setHelpHandler([this](Form* caller, const QString& marker) {
    if (caller == helpForm_) return;
    const Session::HelpTexts& texts = session().helpBlock;
    helpForm_->setHelpBlock({fromRecordText(texts.fileCaption), fromRecordText(texts.exitCaption),
                             fromRecordText(texts.cancelCaption),
                             fromRecordText(texts.languageName), fromRecordText(texts.helpTitle)});
    helpForm_->setWebPage(
        webPageForLanguage(fromRecordText(session().systemParameters.languageName)));
    helpForm_->setPendingMarker(marker);
    caller->showModalHidingCaller(helpForm_);
  });
  auto* startScreen = static_cast<StartScreenForm*>(mainForm());
  startScreen->setCaptionRoutine([this] { runCaptionRoutine(forms()); });
  startScreen->setFormLookup([this](const QString& className) { return form(className); });
  started_ = true;
}

Program::~Program() {
  Form::setHelpHandler({});
  Form::setHomePage({});
}

Form* Program::mainForm() const { return forms_.front().get(); }

QList<Form*> Program::forms() const {
  QList<Form*> result;
  for (const auto& form : forms_) result << form.get();
  if (startupError_) result << startupError_.get();
  return result;
}

Form* Program::form(const QString& className) const {
  for (Form* form : forms())
    if (form->objectName() == className) return form;
  return nullptr;
}

void Program::show() {
  if (started_)
    mainForm()->showMaximized();
  else
    startupError_->show();
}

}  // namespace tallymoor
