// A wizard page that asks for one folder: heading, path box with the places list, folder tree,
// Back and Next. The path box names the folder the wizard uses: it follows the tree's current
// folder (mouse, arrow keys, type-ahead), accepts a typed or pasted path (with a completer of
// folders) and moves the tree there. Next is enabled exactly while the box names an existing
// folder; a path that does not exist is marked as such.
#pragma once

#include <initializer_list>

#include <QString>
#include <QWidget>

class QAction;
class QCompleter;
class QLineEdit;
class QPushButton;

namespace dw::ui {

class FolderPlaces;
class FolderTree;

class FolderPage : public QWidget {
  Q_OBJECT

 public:
  QLineEdit* Edit1() const { return edit1_; }
  FolderTree* ShellTreeView1() const { return tree_; }
  FolderPlaces* Places() const { return places_; }
  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }

  // The folder the box names, absolute and cleaned ("~" is the home folder); empty while the box
  // is empty or names no existing folder.
  QString ChosenFolder() const;
  // The box holds a path that is not an existing folder.
  bool PathIsMissing() const;

  // Empties the path box, which disables Next.
  void ClearPath();
  // Disables Next until the box changes or the user picks a folder again.
  void DisableNext();

 protected:
  FolderPage(QWidget* parent, const char* page_name, std::initializer_list<const char*> heading,
             QWidget* bottom_left = nullptr);
  void showEvent(QShowEvent* event) override;

 private:
  void ShowTreeFolder(const QString& path);
  void BoxChanged();
  void UpdateEnabling();

  QLineEdit* edit1_;
  QAction* missing_mark_;
  QCompleter* completer_;
  FolderPlaces* places_;
  FolderTree* tree_;
  QPushButton* next_;
  QPushButton* back_;
  bool next_held_ = false;  // DisableNext until the next choice
  bool box_from_tree_ = false;
};

}  // namespace dw::ui
