#include "gui/folder_places.h"

#include <QDir>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QWheelEvent>

#include "gui/desktop_platform.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

bool IsRemovableMountPoint(const QString& root) {
  for (const char* prefix : {"/media", "/run/media", "/mnt"}) {
    const QString p = QString::fromLatin1(prefix);
    if (root == p || root.startsWith(p + QLatin1Char('/'))) return true;
  }
  return false;
}

FolderPlaces::FolderPlaces(QWidget* parent) : QComboBox(parent) {
  setObjectName(QStringLiteral("Places"));
  setPlaceholderText(Utf8(text::kPlaces));
  setToolTip(Utf8(text::kPlacesTip));
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(6);
  Rebuild();
  // Showing the chosen place would go stale as soon as the tree moves on; the box always reads
  // "場所" and only its list names places.
  connect(this, &QComboBox::activated, this, [this](int index) {
    const QString path = itemData(index).toString();
    setCurrentIndex(-1);
    if (!path.isEmpty()) emit PlaceChosen(path);
  });
}

void FolderPlaces::Rebuild() {
  clear();
  for (const FixedPlace& place : FixedPlaces()) addItem(style()->standardIcon(place.icon), place.name, place.path);
  for (const QString& root : RemovableRoots()) {
    const QStorageInfo volume(root);
    QString name = volume.rootPath() == root ? volume.displayName() : root;
    if (name != root) name += QStringLiteral("  (") + root + QLatin1Char(')');
    addItem(style()->standardIcon(QStyle::SP_DriveFDIcon), name, root);
  }
  setCurrentIndex(-1);
}

void FolderPlaces::showPopup() {
  Rebuild();
  QComboBox::showPopup();
}

void FolderPlaces::keyPressEvent(QKeyEvent* event) {
  // The arrows open the list rather than jumping to its first place.
  if ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) && event->modifiers() == Qt::NoModifier) {
    showPopup();
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

void FolderPlaces::wheelEvent(QWheelEvent* event) { event->ignore(); }

}  // namespace dw::ui
