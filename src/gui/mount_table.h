// The system's table of mounted file systems: the mount points it lists, and a watch that
// reports the mount points that appear (a memory card mounted on a folder that a tree has
// already listed as empty). Where the system keeps no such table, the list is empty and the
// watch reports nothing.
#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

class QSocketNotifier;

namespace dw::ui {

// Every mount point, in the table's order, whatever size its file system reports.
QStringList MountPoints();

class MountWatch : public QObject {
  Q_OBJECT

 public:
  explicit MountWatch(QObject* parent = nullptr);
  ~MountWatch() override;

 signals:
  // Mount points that were not in the table before.
  void MountsAdded(const QStringList& mount_points);

 private:
  void TableChanged();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QSet<QString> known_;
};

}  // namespace dw::ui
