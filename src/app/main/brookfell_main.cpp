// brookfell: the bookkeeping program. Started in its start directory; takes no arguments.

#include <QLocale>

#include "app/program.h"
#include "platform/application.h"
#include "record-store/number_format.h"
#include "startup/forms/startup_error_form.h"

int main(int argc, char** argv) {
  tallymoor::Application app(argc, argv);
  tallymoor::numberFormat().decimalSeparator = QLocale::system().decimalPoint() == "." ? '.' : ',';
  tallymoor::Program program;
  if (program.started())
    QObject::connect(program.mainForm(), &tallymoor::Form::closed, &app, &QApplication::quit);
  else
    QObject::connect(program.startupErrorForm(), &tallymoor::Form::closed, &app,
                     [] { QApplication::exit(1); });
  program.show();
  return app.exec();
}
