#include "gui/make_data03.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>

#include "common/paths.h"
#include "dataset/layout.h"
#include "gui/folder_tree.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

QPushButton* MakeSettingsButton() {
  QPushButton* button = MakeButton(nullptr, "Button3", text::kSettings);
  button->setToolTip(Utf8(text::kSettingsTip));
  button->setMinimumWidth(48);
  return button;
}

}  // namespace

TMakeData03::TMakeData03(QWidget* parent)
    : FolderPage(parent, "TMakeData03", {text::kData03Heading1, text::kData03Heading2}, MakeSettingsButton()) {
  settings_ = findChild<QPushButton*>(QStringLiteral("Button3"));
  ShellTreeView1()->SetRightClickSelects(true);
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_S), this);
  shortcut->setContext(Qt::WidgetWithChildrenShortcut);
  connect(shortcut, &QShortcut::activated, settings_, &QPushButton::click);
}

// ZAVO_DS is created inside the chosen folder: choosing a ZAVO_DS folder itself would nest them.
FolderVerdict TMakeData03::Judge(const QString& folder) const {
  if (!dw::EqualsIgnoreAsciiCase(QFileInfo(folder).fileName().toStdString(), dw::kZavoDsFolder)) return {};
  return {true, Utf8(text::kHintInsideZavoDs), QFileInfo(folder).path()};
}

}  // namespace dw::ui
