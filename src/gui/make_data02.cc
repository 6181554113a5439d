#include "gui/make_data02.h"

#include "gui/ui_texts.h"

namespace dw::ui {

TMakeData02::TMakeData02(QWidget* parent)
    : FolderPage(parent, "TMakeData02", {text::kData02Heading1, text::kData02Heading2}) {}

}  // namespace dw::ui
