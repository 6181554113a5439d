#include "gui/application_look.h"

#include <QApplication>
#include <QFont>

#include "gui/desktop_platform.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

void ApplyApplicationLook(QApplication& app) {
  // The application name, not the display name: Qt appends an explicitly set display name to
  // every window title, which would spoil the frame's own title.
  QApplication::setApplicationName(Utf8(text::kApplicationTitle));
  QFont font = FontOf(UiFontFamilies());
  font.setPixelSize(text::kUiFontPixels);
  font.setStyleHint(QFont::SansSerif);
  app.setFont(font);
}

}  // namespace dw::ui
