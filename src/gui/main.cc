// The desktop program: the main menu and the three wizards.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstring>

#include "common/build_info.h"
#include "common/workspace_location.h"
#include "gui/application_look.h"
#include "gui/qt_dialogs.h"
#include "gui/shell.h"

namespace {

constexpr char kHelp[] =
    "usage: datawright [--version] [--help] [Qt options]\n"
    "  Starts the desktop program with its main menu.\n"
    "  The catalog conversion assembles the data set in $DATAWRIGHT_WORKSPACE, else for the\n"
    "  installed program in $XDG_DATA_HOME/datawright/DATA (~/.local/share/datawright/DATA),\n"
    "  else in DATA beside this program.\n";

// Qt's own texts (standard buttons, the file dialog) in Japanese whatever the user's locale, as
// the rest of the interface is.
void LoadQtJapanese(QApplication& app, QTranslator& translator) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator.load(QStringLiteral("qtbase_ja"), folder)) {
    app.installTranslator(&translator);
  } else {
    std::fprintf(stderr, "datawright: Qt の日本語訳 qtbase_ja が %s にありません\n", folder.toUtf8().constData());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so that they need no display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s\n", dw::kVersionLine);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QTranslator qt_japanese;
  LoadQtJapanese(app, qt_japanese);
  dw::ui::ApplyApplicationLook(app);

  dw::ui::QtDialogs dialogs;
  dw::ui::ShellOptions options;
  options.dialogs = &dialogs;
  options.workspace = dw::FindWorkspace(std::nullopt).path;
  dw::ui::Shell shell(options);
  shell.Start();
  return app.exec();
}
