// Application-wide settings made once at start-up: the application title and the Japanese font.
#pragma once

class QApplication;

namespace dw::ui {

// Sets the application title and a CJK font (12 px) as the application font, so the pages
// look the same under a Japanese or an English locale.
void ApplyApplicationLook(QApplication& app);

}  // namespace dw::ui
