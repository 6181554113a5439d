// A wizard page that asks for one folder: heading, read-only path box, folder tree, Back and
// Next. Next is enabled exactly while the path box is not empty.
#pragma once

#include <initializer_list>

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace dw::ui {

class FolderTree;

class FolderPage : public QWidget {
  Q_OBJECT

 public:
  QLineEdit* Edit1() const { return edit1_; }
  FolderTree* ShellTreeView1() const { return tree_; }
  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

  // Empties the path box, which disables Next.
  void ClearPath();
  void DisableNext();

 protected:
  FolderPage(QWidget* parent, const char* page_name, std::initializer_list<const char*> heading,
             QWidget* bottom_left = nullptr);

 private:
  void ShellTreeView1Click();
  void UpdateEnabling();

  QLineEdit* edit1_;
  FolderTree* tree_;
  QPushButton* next_;
  QPushButton* back_;
};

}  // namespace dw::ui
