#include "gui/folder_tree.h"

#include <functional>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/mount_table.h"

namespace dw::ui {
namespace {

QFileSystemModel* NewFolderModel(QObject* parent) {
  auto* model = new QFileSystemModel(parent);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model->setReadOnly(true);
  model->setRootPath(QDir::rootPath());
  return model;
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
  header()->hide();
  setSortingEnabled(true);
  sortByColumn(0, Qt::AscendingOrder);
  setContextMenuPolicy(Qt::NoContextMenu);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setAnimated(false);
  UseModel(NewFolderModel(this));
  setCurrentIndex(model_->index(QDir::homePath()));  // current, but not chosen
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { expanded_.insert(model_->filePath(index)); });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { expanded_.remove(model_->filePath(index)); });
  connect(new MountWatch(this), &MountWatch::MountsAdded, this, &FolderTree::Refresh);
}

void FolderTree::UseModel(QFileSystemModel* model) {
  model_ = model;
  setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    // Only the user chooses: a listing that drops the current folder (a card pulled out) moves
    // the current item too, and that must not name another folder.
    if (user_input_ && current.isValid()) emit CurrentFolderChanged(model_->filePath(current));
  });
  // Folder listings arrive from a background gatherer and shift the rows; keep the current
  // folder in view until the user moves.
  auto keep_in_view = [this] {
    if (!user_moved_) KeepSelectionVisible();
  };
  connect(model_, &QFileSystemModel::directoryLoaded, this, keep_in_view);
  connect(model_, &QAbstractItemModel::layoutChanged, this, keep_in_view);  // sorted rows
  connect(model_, &QAbstractItemModel::rowsInserted, this, &FolderTree::ListingChanged);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &FolderTree::ListingChanged);
}

QString FolderTree::SelectedPath() const {
  const QModelIndex index = currentIndex();
  return index.isValid() ? model_->filePath(index) : QString();
}

QModelIndex FolderTree::IndexOf(const QString& path) const { return model_->index(path); }

bool FolderTree::SelectFolder(const QString& path) {
  const QModelIndex index = model_->index(path);
  if (!index.isValid()) return false;
  setCurrentIndex(index);
  user_moved_ = false;  // keep it in view while the listings on the way to it arrive
  KeepSelectionVisible();
  return true;
}

void FolderTree::Refresh() {
  QString keep = SelectedPath();
  while (!keep.isEmpty() && !QFileInfo(keep).isDir()) {
    const QString parent = QFileInfo(keep).path();
    keep = parent == keep ? QString() : parent;
  }
  QFileSystemModel* old = model_;
  QItemSelectionModel* old_selection = selectionModel();  // setModel leaves it to us
  const QSet<QString> open = expanded_;
  UseModel(NewFolderModel(this));
  expanded_.clear();
  for (const QString& path : open) {
    const QModelIndex index = model_->index(path);
    if (index.isValid() && QFileInfo(path).isDir()) expand(index);
  }
  if (!keep.isEmpty()) SelectFolder(keep);
  emit Refreshed();
  old_selection->deleteLater();
  old->deleteLater();  // after anyone holding it has moved to the new model
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
    Refresh();
    event->accept();
    return;
  }
  user_moved_ = true;
  UserInput([&] { QTreeView::keyPressEvent(event); });
}

void FolderTree::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !right_click_selects_) {
    event->accept();  // no selection, no menu
    return;
  }
  user_moved_ = true;
  UserInput([&] { QTreeView::mousePressEvent(event); });
}

void FolderTree::mouseReleaseEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  const bool selecting_button =
      event->button() == Qt::LeftButton || (event->button() == Qt::RightButton && right_click_selects_);
  UserInput([&] { QTreeView::mouseReleaseEvent(event); });
  if (selecting_button && index.isValid() && index == currentIndex()) emit FolderClicked();
}

void FolderTree::UserInput(const std::function<void()>& handle) {
  const bool outer = user_input_;
  user_input_ = true;
  handle();
  user_input_ = outer;
}

void FolderTree::showEvent(QShowEvent* event) {
  QTreeView::showEvent(event);
  if (!user_moved_) KeepSelectionVisible();
}

void FolderTree::KeepSelectionVisible() {
  if (currentIndex().isValid()) scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

}  // namespace dw::ui
