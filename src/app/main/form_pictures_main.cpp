// form-pictures DIR [LANGUAGE]: writes DIR/<form class name>.png for every form of the
// bookkeeping program, started headless in a fresh start directory, so that a person can
// look at all forms at once.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/program.h"
#include "help/forms/help_form.h"
#include "platform/application.h"
#include "platform/form_pictures.h"
#include "platform/record_text.h"
#include "platform/scripted_desktop.h"
#include "record-store/record_store.h"
#include "record-store/system_error.h"
#include "startup/forms/caption_routine.h"
#include "startup/forms/startup_error_form.h"
#include "startup/language_loader.h"
#include "startup/session.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: form-pictures DIR [LANGUAGE]\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tallymoor::Application app(argc, argv);
  const QString outputDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QDir().mkpath(outputDir);
  const std::string language = argc == 3 ? argv[2] : "English";

  // A start directory of its own, with the shipped files beside the program.
  std::string start = (fs::temp_directory_path() / "form-pictures-XXXXXX").string();
  if (!::mkdtemp(start.data()) || ::chdir(start.c_str()) != 0) {
    std::fprintf(stderr, "form-pictures: cannot make a start directory\n");
    return 1;
  }
  fs::path shipped =
      fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "share";
  std::error_code ignored;
  if (fs::exists(shipped))
    for (const auto& entry : fs::directory_iterator(shipped))
      fs::copy_file(entry.path(), fs::path(start) / entry.path().filename(),
                    fs::copy_options::skip_existing, ignored);
  tallymoor::resetRecordStore(start);
  tallymoor::ScriptedDesktop desktop;
  tallymoor::setDesktop(&desktop);

  int failures = 0;
  auto save = [&](tallymoor::Form& form) {
    QString file = outputDir + "/" + form.objectName() + ".png";
    if (!tallymoor::saveFormPicture(form, file)) {
      std::fprintf(stderr, "form-pictures: cannot write %s\n", qPrintable(file));
      ++failures;
    }
  };
  {
    tallymoor::Program program;
    program.show();
    QApplication::processEvents();
    // The language asked for, as the system settings would choose it.
    tallymoor::Session& session = tallymoor::session();
    session.systemParameters.languageName =
        tallymoor::toRecordText(QString::fromLocal8Bit(language.c_str()));
    if (!tallymoor::loadLanguage(tallymoor::recordStore(), session.systemParameters.languageName,
                                 session.language))
      std::fprintf(stderr, "form-pictures: %s\n", tallymoor::recordStore().FileErrorText.c_str());
    tallymoor::runCaptionRoutine(program.forms());
    for (tallymoor::Form* form : program.forms()) {
      if (auto* help = qobject_cast<tallymoor::HelpForm*>(form)) {
        const auto& texts = session.helpBlock;
        help->setHelpBlock({tallymoor::fromRecordText(texts.fileCaption),
                            tallymoor::fromRecordText(texts.exitCaption),
                            tallymoor::fromRecordText(texts.cancelCaption),
                            tallymoor::fromRecordText(texts.languageName),
                            tallymoor::fromRecordText(texts.helpTitle)});
      }
      save(*form);
    }
  }
  // The start-up error form as a read-only user file would show it.
  tallymoor::StartupErrorForm startupError("IO errorcode: USE5", tallymoor::kAccessDenied);
  save(startupError);

  tallymoor::setDesktop(nullptr);
  (void)::chdir("/");
  fs::remove_all(start, ignored);
  return failures == 0 ? 0 : 1;
}
