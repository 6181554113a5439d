#include "gui/make_data03.h"

#include <QPushButton>

#include "gui/folder_tree.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

QPushButton* MakeSettingsButton() {
  QPushButton* button = MakeButton(nullptr, "Button3", text::kSettings);
  button->setFocusPolicy(Qt::ClickFocus);  // the tab key skips it
  button->setFixedWidth(48);
  return button;
}

}  // namespace

TMakeData03::TMakeData03(QWidget* parent)
    : FolderPage(parent, "TMakeData03", {text::kData03Heading1, text::kData03Heading2}, MakeSettingsButton()) {
  settings_ = findChild<QPushButton*>(QStringLiteral("Button3"));
  ShellTreeView1()->SetRightClickSelects(true);
}

}  // namespace dw::ui
