// The desktop program: the main menu and the three wizards.
#include <QApplication>

#include "common/paths.h"
#include "gui/application_look.h"
#include "gui/qt_dialogs.h"
#include "gui/shell.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  dw::ui::ApplyApplicationLook(app);

  dw::ui::QtDialogs dialogs;
  dw::ui::ShellOptions options;
  options.dialogs = &dialogs;
  options.workspace = dw::ExecutableDir() / "DATA";
  dw::ui::Shell shell(options);
  shell.Start();
  return app.exec();
}
