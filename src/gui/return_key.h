// Return and Enter on a page: a focused push button presses itself (as Space does); otherwise
// the page's default button ("次へ", "決定", the finished status page's "戻る") is pressed.
// Escape presses the page's way back.
#pragma once

class QPushButton;
class QWidget;

namespace dw::ui {

// Handles a Return, Enter or Escape that reaches `page` (no child took the key). `default_button`
// and `back_button` may be null (the main menu has neither); the default one is marked as such;
// each is pressed only while it is enabled and shown.
void InstallReturnKey(QWidget* page, QPushButton* default_button, QPushButton* back_button = nullptr);

}  // namespace dw::ui
