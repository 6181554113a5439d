#include <windows.h>

#include <QStandardPaths>
#include <QStorageInfo>

#include "gui/desktop_platform.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

// Windows' own Japanese UI fonts, newest first; Noto Sans CJK JP where the user installed it.
QStringList UiFontFamilies() {
  return {QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"), QStringLiteral("MS UI Gothic"),
          Utf8(text::kUiFontFamily)};
}
QStringList FixedFontFamilies() {
  return {QStringLiteral("MS Gothic"), Utf8(text::kFixedFontFamily), QStringLiteral("Consolas")};
}

QList<FixedPlace> FixedPlaces() {
  return {
      {Utf8(text::kPlaceDesktop), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
       QStyle::SP_DesktopIcon},
      {Utf8(text::kPlaceDocuments), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
       QStyle::SP_DirHomeIcon},
  };
}

// By drive type, whatever size the medium reports: card readers and USB sticks are
// DRIVE_REMOVABLE; fixed disks, network shares and optical drives are not offered.
QStringList RemovableRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const std::wstring root = QString(volume.rootPath()).replace(QLatin1Char('/'), QLatin1Char('\\')).toStdWString();
    if (GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE) roots << volume.rootPath();
  }
  return roots;
}

}  // namespace dw::ui
