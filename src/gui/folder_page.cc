#include "gui/folder_page.h"

#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/folder_places.h"
#include "gui/folder_tree.h"
#include "gui/page_parts.h"
#include "gui/return_key.h"
#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

// The box's text as an absolute, cleaned path; empty when it is not one.
QString NormalFolderPath(const QString& text) {
  QString path = QDir::fromNativeSeparators(text.trimmed());
  if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/"))) path = QDir::homePath() + path.mid(1);
  if (path.isEmpty() || !QDir::isAbsolutePath(path)) return {};
  return QDir::cleanPath(path);
}

}  // namespace

FolderPage::FolderPage(QWidget* parent, const char* page_name, std::initializer_list<const char*> heading,
                       QWidget* bottom_left)
    : QWidget(parent) {
  setObjectName(QString::fromUtf8(page_name));
  QLabel* panel = MakePanel(this, "Panel1", heading, false);
  edit1_ = new QLineEdit(this);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setToolTip(Utf8(text::kPathBoxTip));
  missing_mark_ = edit1_->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
  missing_mark_->setToolTip(Utf8(text::kFolderMissing));
  missing_mark_->setVisible(false);
  places_ = new FolderPlaces(this);
  tree_ = new FolderTree(this);
  tree_->setObjectName(QStringLiteral("ShellTreeView1"));
  completer_ = new QCompleter(tree_->FileSystem(), this);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  edit1_->setCompleter(completer_);
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(6);
  layout->addWidget(panel);
  auto* path_row = new QHBoxLayout;
  path_row->addWidget(edit1_, 1);
  path_row->addWidget(places_);
  layout->addLayout(path_row);
  layout->addWidget(tree_, 1);
  if (bottom_left) bottom_left->setParent(this);
  layout->addLayout(MakeButtonRow(bottom_left, back_, next_));
  setTabOrder(edit1_, places_);
  setTabOrder(places_, tree_);
  setTabOrder(tree_, back_);
  setTabOrder(back_, next_);

  setFocusProxy(tree_);
  InstallReturnKey(this, next_);
  auto* to_box = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
  to_box->setContext(Qt::WidgetWithChildrenShortcut);
  connect(to_box, &QShortcut::activated, this, [this] {
    edit1_->setFocus(Qt::ShortcutFocusReason);
    edit1_->selectAll();
  });

  connect(tree_, &FolderTree::FolderClicked, this, [this] { ShowTreeFolder(tree_->SelectedPath()); });
  connect(tree_, &FolderTree::CurrentFolderChanged, this, &FolderPage::ShowTreeFolder);
  connect(tree_, &FolderTree::ListingChanged, this, &FolderPage::UpdateEnabling);
  connect(tree_, &FolderTree::Refreshed, this, [this] {
    completer_->setModel(tree_->FileSystem());
    places_->Rebuild();
    UpdateEnabling();
  });
  connect(places_, &FolderPlaces::PlaceChosen, this, [this](const QString& path) {
    tree_->SelectFolder(path);
    ShowTreeFolder(path);
    tree_->setFocus(Qt::OtherFocusReason);
  });
  connect(edit1_, &QLineEdit::textChanged, this, &FolderPage::BoxChanged);
  UpdateEnabling();
}

QString FolderPage::ChosenFolder() const {
  const QString path = NormalFolderPath(edit1_->text());
  return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

bool FolderPage::PathIsMissing() const { return !edit1_->text().isEmpty() && ChosenFolder().isEmpty(); }

void FolderPage::ClearPath() {
  edit1_->clear();
  UpdateEnabling();
}

void FolderPage::DisableNext() {
  next_held_ = true;
  UpdateEnabling();
}

void FolderPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateEnabling();  // the folder may have gone while the page was hidden
}

void FolderPage::ShowTreeFolder(const QString& path) {
  if (path.isEmpty()) return;  // an item without a file system path leaves the box as it is
  box_from_tree_ = true;
  edit1_->setText(QDir::toNativeSeparators(path));
  box_from_tree_ = false;
  next_held_ = false;  // also when the text stays the same after Next was disabled
  UpdateEnabling();
}

void FolderPage::BoxChanged() {
  next_held_ = false;
  if (!box_from_tree_) {
    // A typed, pasted or completed path moves the tree along once it names a folder.
    const QString folder = ChosenFolder();
    if (!folder.isEmpty()) tree_->SelectFolder(folder);
  }
  UpdateEnabling();
}

void FolderPage::UpdateEnabling() {
  const bool missing = PathIsMissing();
  next_->setEnabled(!next_held_ && !ChosenFolder().isEmpty());
  if (missing == missing_mark_->isVisible()) return;  // listings arrive often; repaint on change only
  missing_mark_->setVisible(missing);
  QPalette palette = edit1_->palette();
  palette.setColor(QPalette::Text, missing ? QColor(0xC0, 0x00, 0x00) : QApplication::palette().color(QPalette::Text));
  edit1_->setPalette(palette);
}

}  // namespace dw::ui
