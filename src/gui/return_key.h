// Return and Enter on a page: a focused push button presses itself (as Space does); otherwise
// the page's default button ("次へ", "決定", the finished status page's "戻る") is pressed.
#pragma once

class QPushButton;
class QWidget;

namespace dw::ui {

// Handles a Return or Enter that reaches `page` (no child took the key). `default_button` may
// be null (the main menu has none); it is marked as default and pressed only while it is
// enabled and shown.
void InstallReturnKey(QWidget* page, QPushButton* default_button);

}  // namespace dw::ui
