#include <windows.h>

#include <QStandardPaths>

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
// DRIVE_REMOVABLE; fixed disks, network shares and optical drives are not offered and never
// asked anything (a network drive may take long to answer). A reader with no medium in it is left
// out, without the "no disk" box Windows would otherwise show.
QStringList RemovableRoots() {
  QStringList roots;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const wchar_t root[] = {wchar_t(L'A' + i), L':', L'\\', 0};
    if (GetDriveTypeW(root) != DRIVE_REMOVABLE) continue;
    DWORD old_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_mode);
    const bool has_medium = GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
    SetThreadErrorMode(old_mode, nullptr);
    if (has_medium) roots << QString::fromWCharArray(root, 2) + QLatin1Char('/');
  }
  return roots;
}

}  // namespace dw::ui
