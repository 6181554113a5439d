#include <QDir>

#include "gui/desktop_platform.h"
#include "gui/folder_places.h"
#include "gui/mount_table.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

QStringList UiFontFamilies() { return {Utf8(text::kUiFontFamily)}; }
QStringList FixedFontFamilies() { return {Utf8(text::kFixedFontFamily)}; }

QList<FixedPlace> FixedPlaces() { return {{Utf8(text::kPlaceHome), QDir::homePath(), QStyle::SP_DirHomeIcon}}; }

// From the system's mount table rather than the volume list, which leaves out file systems that
// report no size (a card through a user-space driver).
QStringList RemovableRoots() {
  QStringList roots;
  for (const QString& root : MountPoints()) {
    if (IsRemovableMountPoint(root)) roots << root;
  }
  return roots;
}

}  // namespace dw::ui
