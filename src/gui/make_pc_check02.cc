#include "gui/make_pc_check02.h"

#include "gui/ui_texts.h"

namespace dw::ui {

TMakePcCheck02::TMakePcCheck02(QWidget* parent)
    : FolderPage(parent, "TMakePcCheck02", {text::kExport02Heading1, text::kExport02Heading2}) {}

}  // namespace dw::ui
