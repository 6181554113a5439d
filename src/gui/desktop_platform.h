// What the desktop program does in its own way on each platform: the fonts it names, the fixed
// entries of the "場所" list and which volumes count as removable. One source file per platform
// (desktop_platform_posix.cc, desktop_platform_win32.cc), chosen by the build.
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStyle>

namespace dw::ui {

// The Japanese UI font and the fixed-pitch one, first choice first.
QStringList UiFontFamilies();
QStringList FixedFontFamilies();

// A font naming `families` in order (the first one found is used).
inline QFont FontOf(const QStringList& families) {
  QFont font(families.value(0));
  if (families.size() > 1) font.setFamilies(families);
  return font;
}

// The places listed above the removable volumes: the home folder, or Desktop and Documents.
struct FixedPlace {
  QString name;
  QString path;
  QStyle::StandardPixmap icon;
};
QList<FixedPlace> FixedPlaces();

// The roots the "場所" list offers: memory cards and other removable media, whatever size they
// report. Cheap: it asks nothing of a volume itself, which could block on a network drive.
QStringList RemovableRoots();

}  // namespace dw::ui
