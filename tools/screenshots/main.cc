// datawright-screenshots OUT_DIR [SAMPLE_CATALOG]: pictures every page of the desktop program into
// OUT_DIR (started under Xvfb by scripts/screenshots.sh), then quits. Exit 0 when every picture
// was written.
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "gui/application_look.h"
#include "gui/page_parts.h"
#include "gui/shell.h"
#include "screenshots/screenshots.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: datawright-screenshots OUT_DIR [SAMPLE_CATALOG]\n");
    return 2;
  }
  dw::ui::ApplyApplicationLook(app);
  const QString out_dir = QString::fromLocal8Bit(argv[1]);
  const QString sample = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();

  // The runs pictured here write into a scratch folder, not into the program's workspace.
  QTemporaryDir scratch;
  if (!scratch.isValid()) return 1;
  dw::ui::ScreenshotDialogs dialogs;
  dw::ui::ShellOptions options;
  options.dialogs = &dialogs;
  options.workspace = dw::ui::ToFsPath(scratch.filePath(QStringLiteral("DATA")));
  dw::ui::Shell shell(options);
  shell.Start();

  QTimer::singleShot(0, &app, [&] {
    const int written = dw::ui::SaveScreenshots(shell, dialogs, out_dir, sample, scratch.path());
    QCoreApplication::exit(written == dw::ui::ExpectedScreenshots(!sample.isEmpty()) ? 0 : 1);
  });
  return app.exec();
}
