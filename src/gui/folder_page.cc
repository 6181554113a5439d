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
#include <QTimer>
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
  hint_ = new QLabel(this);
  hint_->setObjectName(QStringLiteral("Hint"));
  hint_->setTextFormat(Qt::PlainText);
  hint_->setWordWrap(true);
  QPalette hint_palette = hint_->palette();
  hint_palette.setColor(QPalette::WindowText, QColor(0xA0, 0x40, 0x00));
  hint_->setPalette(hint_palette);
  hint_->hide();
  offer_ = MakeButton(this, "Offer", "");
  offer_->hide();
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
  auto* hint_row = new QHBoxLayout;
  hint_row->addWidget(hint_, 1);
  hint_row->addWidget(offer_);
  layout->addLayout(hint_row);
  layout->addWidget(tree_, 1);
  if (bottom_left) bottom_left->setParent(this);
  layout->addLayout(MakeButtonRow(bottom_left, back_, next_));
  // Top to bottom, left to right, as the page reads.
  QWidget* previous = edit1_;
  for (QWidget* next : {static_cast<QWidget*>(places_), static_cast<QWidget*>(offer_),
                        static_cast<QWidget*>(tree_), bottom_left, static_cast<QWidget*>(back_),
                        static_cast<QWidget*>(next_)}) {
    if (!next) continue;
    setTabOrder(previous, next);
    previous = next;
  }
  rejudge_ = new QTimer(this);
  rejudge_->setSingleShot(true);
  rejudge_->setInterval(200);
  connect(rejudge_, &QTimer::timeout, this, &FolderPage::Rejudge);
  connect(offer_, &QPushButton::clicked, this, &FolderPage::TakeOffer);

  setFocusProxy(tree_);
  InstallReturnKey(this, next_, back_);
  auto* to_box = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
  to_box->setContext(Qt::WidgetWithChildrenShortcut);
  connect(to_box, &QShortcut::activated, this, [this] {
    edit1_->setFocus(Qt::ShortcutFocusReason);
    edit1_->selectAll();
  });

  connect(tree_, &FolderTree::FolderClicked, this, [this] { ShowTreeFolder(tree_->SelectedPath()); });
  connect(tree_, &FolderTree::CurrentFolderChanged, this, &FolderPage::ShowTreeFolder);
  connect(tree_, &FolderTree::ListingChanged, this, [this] {
    UpdateEnabling();
    rejudge_->start();  // the chosen folder's contents may have changed with it
  });
  connect(tree_, &FolderTree::Refreshed, this, [this] {
    completer_->setModel(tree_->FileSystem());
    places_->Rebuild();
    Rejudge();
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

void FolderPage::DisableNext() {
  next_held_ = true;
  UpdateEnabling();
}

void FolderPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The box names the folder the tree highlights, also after a visit elsewhere; a typed path
  // that moved the tree is that folder already.
  const QString current = tree_->SelectedPath();
  if (!current.isEmpty() && ChosenFolder() != current) ShowTreeFolder(current);
  Rejudge();  // the folder may have changed or gone while the page was hidden
}

FolderVerdict FolderPage::Judge(const QString&) const { return {}; }

void FolderPage::Rejudge() {
  judged_folder_.clear();
  UpdateEnabling();
}

void FolderPage::TakeOffer() {
  const QString folder = verdict_.offer;
  if (folder.isEmpty()) return;
  tree_->SelectFolder(folder);
  ShowTreeFolder(folder);
  next_->setFocus(Qt::OtherFocusReason);  // the offered folder is the one to go on with
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
  const QString folder = ChosenFolder();
  if (folder != judged_folder_) {
    judged_folder_ = folder;
    verdict_ = folder.isEmpty() ? FolderVerdict{} : Judge(folder);
    hint_->setText(verdict_.hint);
    hint_->setVisible(!verdict_.hint.isEmpty());
    offer_->setText(Utf8(text::kOfferFolder).arg(QFileInfo(verdict_.offer).fileName()));
    offer_->setToolTip(QDir::toNativeSeparators(verdict_.offer));
    offer_->setVisible(!verdict_.offer.isEmpty());
  }
  const bool missing = PathIsMissing();
  next_->setEnabled(!next_held_ && !folder.isEmpty() && verdict_.complete);
  if (missing == missing_mark_->isVisible()) return;  // listings arrive often; repaint on change only
  missing_mark_->setVisible(missing);
  QPalette palette = edit1_->palette();
  palette.setColor(QPalette::Text, missing ? QColor(0xC0, 0x00, 0x00) : QApplication::palette().color(QPalette::Text));
  edit1_->setPalette(palette);
}

}  // namespace dw::ui
