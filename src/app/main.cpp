// The desktop program: the main menu and the three wizards.
#include <QApplication>
#include <QTimer>

#include "app/ui/application_look.h"
#include "app/ui/qt_dialogs.h"
#include "app/ui/screenshots.h"
#include "app/ui/shell.h"
#include "common/paths.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  dw::ui::ApplyApplicationLook(app);

  dw::ui::QtDialogs dialogs;
  dw::ui::ShellOptions options;
  options.dialogs = &dialogs;
  options.workspace = dw::ExecutableDir() / "DATA";
  dw::ui::Shell shell(options);
  shell.Start();

  // For the documentation (scripts/screenshots.sh): picture every page, then quit.
  const QString screenshot_dir = qEnvironmentVariable("DATAWRIGHT_SCREENSHOT_DIR");
  if (!screenshot_dir.isEmpty()) {
    const QString sample = qEnvironmentVariable("DATAWRIGHT_SCREENSHOT_SAMPLE");
    QTimer::singleShot(0, &app, [&, sample] {
      const int expected = sample.isEmpty() ? 12 : 13;
      QCoreApplication::exit(dw::ui::SaveScreenshots(shell, screenshot_dir, sample) == expected ? 0 : 1);
    });
  }
  return app.exec();
}
