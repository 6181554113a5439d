// A tree of folders only, over the whole file system, with the user's home folder selected.
#pragma once

#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace dw::ui {

class FolderTree : public QTreeView {
  Q_OBJECT

 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // The selected folder's path; empty when nothing is selected.
  QString SelectedPath() const;
  QModelIndex IndexOf(const QString& path) const;
  QFileSystemModel* FileSystem() const { return model_; }
  // A right click selects the folder under the pointer (off by default).
  void SetRightClickSelects(bool on) { right_click_selects_ = on; }

 signals:
  // A click with the left button, or with the right one where that selects.
  void FolderClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void KeepSelectionVisible();

  QFileSystemModel* model_;
  bool right_click_selects_ = false;
  bool user_moved_ = false;  // until the user picks a folder, keep the home folder in view
};

}  // namespace dw::ui
