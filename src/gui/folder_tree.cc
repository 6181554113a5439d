#include "gui/folder_tree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>

namespace dw::ui {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
  model_->setOption(QFileSystemModel::DontWatchForChanges, true);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setReadOnly(true);
  model_->setRootPath(QDir::rootPath());
  setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
  header()->hide();
  setSortingEnabled(true);
  sortByColumn(0, Qt::AscendingOrder);
  setContextMenuPolicy(Qt::NoContextMenu);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAnimated(false);

  const QModelIndex home = model_->index(QDir::homePath());
  setCurrentIndex(home);
  // Folder listings arrive from a background gatherer and shift the rows; keep the home
  // folder in view until the user picks something.
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this] {
    if (!user_moved_) KeepSelectionVisible();
  });
}

QString FolderTree::SelectedPath() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? model_->filePath(index) : QString();
}

QModelIndex FolderTree::IndexOf(const QString& path) const { return model_->index(path); }

void FolderTree::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !right_click_selects_) {
    event->accept();  // no selection, no menu
    return;
  }
  user_moved_ = true;
  QTreeView::mousePressEvent(event);
}

void FolderTree::mouseReleaseEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  const bool selecting_button =
      event->button() == Qt::LeftButton || (event->button() == Qt::RightButton && right_click_selects_);
  QTreeView::mouseReleaseEvent(event);
  if (selecting_button && index.isValid() && index == currentIndex()) emit FolderClicked();
}

void FolderTree::showEvent(QShowEvent* event) {
  QTreeView::showEvent(event);
  if (!user_moved_) KeepSelectionVisible();
}

void FolderTree::KeepSelectionVisible() {
  if (currentIndex().isValid()) scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

}  // namespace dw::ui
