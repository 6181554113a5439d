// A tree of folders only, over the whole file system, with the user's home folder selected. It
// lists folders that appear after it was shown (the file-system model watches what it listed),
// lists everything afresh when a volume is mounted (a memory card on a folder already listed as
// empty), and F5 does the same by hand. Listing afresh keeps the open folders open.
#pragma once

#include <functional>

#include <QSet>
#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace dw::ui {

class FolderTree : public QTreeView {
  Q_OBJECT

 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // The current folder's path; empty when there is none.
  QString SelectedPath() const;
  QModelIndex IndexOf(const QString& path) const;
  QFileSystemModel* FileSystem() const { return model_; }
  // A right click selects the folder under the pointer (off by default).
  void SetRightClickSelects(bool on) { right_click_selects_ = on; }
  // Makes `path` the current folder, opening its parents and scrolling it into view. False when
  // the tree has no such folder.
  bool SelectFolder(const QString& path);
  // Lists every folder afresh, keeping the current folder (or its nearest existing parent).
  void Refresh();

 signals:
  // A click with the left button, or with the right one where that selects.
  void FolderClicked();
  // The user made another folder current: by mouse, arrow keys or type-ahead (not SelectFolder,
  // nor a listing that removed the current folder).
  void CurrentFolderChanged(const QString& path);
  // Folders were listed or went away; a chosen path may have stopped existing.
  void ListingChanged();
  // Refresh replaced the model; `FileSystem()` is the new one.
  void Refreshed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void UseModel(QFileSystemModel* model);
  // Runs a base-class input handler; current-item changes inside it are the user's.
  void UserInput(const std::function<void()>& handle);
  void KeepSelectionVisible();

  QFileSystemModel* model_ = nullptr;
  QSet<QString> expanded_;  // paths of the open folders
  bool right_click_selects_ = false;
  bool user_moved_ = false;  // until the user moves, keep the current folder in view
  bool user_input_ = false;
};

}  // namespace dw::ui
