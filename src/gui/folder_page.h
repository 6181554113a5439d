// A wizard page that asks for one folder: heading, path box with the places list, a hint line,
// folder tree, Back and Next. The path box names the folder the wizard uses: it follows the
// tree's current folder (mouse, arrow keys, type-ahead; also when the page is shown), accepts a
// typed or pasted path (with a completer of folders) and moves the tree there. Each page judges
// the folder with its own rule (Judge): Next is enabled exactly while the box names an existing
// folder the rule accepts; a path that does not exist is marked as such, and the hint line says
// what the rule found, with a button that takes the folder it offers instead.
#pragma once

#include <initializer_list>

#include <QString>
#include <QWidget>

class QAction;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace dw::ui {

class FolderPlaces;
class FolderTree;

// What a page's rule makes of an existing folder.
struct FolderVerdict {
  bool complete = true;  // Next may be pressed
  QString hint;          // shown under the path box; empty: nothing to say
  QString offer;         // a folder to take instead; empty: none
};

class FolderPage : public QWidget {
  Q_OBJECT

 public:
  QLineEdit* Edit1() const { return edit1_; }
  FolderTree* ShellTreeView1() const { return tree_; }
  FolderPlaces* Places() const { return places_; }
  QPushButton* Next() const { return next_; }
  QPushButton* Back() const { return back_; }
  QLabel* Hint() const { return hint_; }
  QPushButton* Offer() const { return offer_; }

  // The folder the box names, absolute and cleaned ("~" is the home folder); empty while the box
  // is empty or names no existing folder.
  QString ChosenFolder() const;
  // The box holds a path that is not an existing folder.
  bool PathIsMissing() const;

  // Disables Next until the box changes or the user picks a folder again.
  void DisableNext();

 protected:
  FolderPage(QWidget* parent, const char* page_name, std::initializer_list<const char*> heading,
             QWidget* bottom_left = nullptr);
  void showEvent(QShowEvent* event) override;
  // The page's rule for an existing folder (absolute, cleaned); the default takes any.
  virtual FolderVerdict Judge(const QString& folder) const;
  // Judges the chosen folder again (its contents may have changed).
  void Rejudge();

 private:
  void ShowTreeFolder(const QString& path);
  void TakeOffer();
  void BoxChanged();
  void UpdateEnabling();

  QLineEdit* edit1_;
  QAction* missing_mark_;
  QCompleter* completer_;
  FolderPlaces* places_;
  QLabel* hint_;
  QPushButton* offer_;
  FolderTree* tree_;
  QTimer* rejudge_;  // listings arrive in bursts
  QPushButton* next_;
  QPushButton* back_;
  bool next_held_ = false;  // DisableNext until the next choice
  bool box_from_tree_ = false;
  QString judged_folder_;  // the folder `verdict_` is about
  FolderVerdict verdict_;
};

}  // namespace dw::ui
