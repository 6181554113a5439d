#include "gui/folder_page.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/folder_tree.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

FolderPage::FolderPage(QWidget* parent, const char* page_name, std::initializer_list<const char*> heading,
                       QWidget* bottom_left)
    : QWidget(parent) {
  setObjectName(QString::fromUtf8(page_name));
  QLabel* panel = MakePanel(this, "Panel1", heading, false);
  edit1_ = MakePathBox(this, "Edit1");
  tree_ = new FolderTree(this);
  tree_->setObjectName(QStringLiteral("ShellTreeView1"));
  next_ = MakeButton(this, "Button1", text::kNext);
  back_ = MakeButton(this, "Button2", text::kBack);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->setSpacing(6);
  layout->addWidget(panel);
  layout->addWidget(edit1_);
  layout->addWidget(tree_, 1);
  if (bottom_left) bottom_left->setParent(this);
  layout->addLayout(MakeButtonRow(bottom_left, back_, next_));

  setFocusProxy(tree_);
  connect(tree_, &FolderTree::FolderClicked, this, &FolderPage::ShellTreeView1Click);
  connect(edit1_, &QLineEdit::textChanged, this, &FolderPage::UpdateEnabling);
  UpdateEnabling();
}

void FolderPage::ClearPath() {
  edit1_->clear();
  UpdateEnabling();
}

void FolderPage::DisableNext() { next_->setEnabled(false); }

void FolderPage::ShellTreeView1Click() {
  const QString path = tree_->SelectedPath();
  if (path.isEmpty()) return;
  edit1_->setText(QDir::toNativeSeparators(path));
  UpdateEnabling();  // also when the text stays the same after Next was disabled
}

void FolderPage::UpdateEnabling() { next_->setEnabled(!edit1_->text().isEmpty()); }

}  // namespace dw::ui
