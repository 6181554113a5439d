#include <QDir>
#include <QStorageInfo>

#include "gui/desktop_platform.h"
#include "gui/folder_places.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

QStringList UiFontFamilies() { return {Utf8(text::kUiFontFamily)}; }
QStringList FixedFontFamilies() { return {Utf8(text::kFixedFontFamily)}; }

QList<FixedPlace> FixedPlaces() { return {{Utf8(text::kPlaceHome), QDir::homePath(), QStyle::SP_DirHomeIcon}}; }

bool IsRemovableVolume(const QStorageInfo& volume) { return IsRemovableMountPoint(volume.rootPath()); }

}  // namespace dw::ui
