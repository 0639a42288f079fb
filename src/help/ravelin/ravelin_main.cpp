// Ravelin: the stand-alone help program. Shows the help texts of the start directory
// without the bookkeeping program; ends when the viewer closes.

#include <unistd.h>

#include "help/forms/help_form.h"
#include "help/ravelin/ravelin_form.h"
#include "platform/application.h"
#include "record-store/record_store.h"

int main(int argc, char** argv) {
  tallymoor::Application app(argc, argv);
  char buffer[4096];
  tallymoor::resetRecordStore(::getcwd(buffer, sizeof buffer) ? buffer : ".");
  tallymoor::HelpForm viewer;
  tallymoor::RavelinForm main(viewer);
  QObject::connect(&main, &tallymoor::Form::closed, &app, &QApplication::quit);
  main.show();
  return app.exec();
}
