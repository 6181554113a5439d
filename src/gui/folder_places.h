// The "場所" chooser above a folder tree: the home folder and every mounted removable volume
// (a memory card under /media, /run/media or /mnt), whatever size it reports. The mount table
// is read afresh each time the list opens, so a card inserted after start-up is there.
#pragma once

#include <QComboBox>
#include <QString>

namespace dw::ui {

// True for the mount points of removable volumes: /media, /run/media and /mnt and folders below
// them (not /mediaX).
bool IsRemovableMountPoint(const QString& root);

class FolderPlaces : public QComboBox {
  Q_OBJECT

 public:
  explicit FolderPlaces(QWidget* parent = nullptr);

  // Reads the home folder and the mounted removable volumes again.
  void Rebuild();
  void showPopup() override;

 signals:
  void PlaceChosen(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
};

}  // namespace dw::ui
