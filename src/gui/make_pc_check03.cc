#include "gui/make_pc_check03.h"

#include "gui/ui_texts.h"

namespace dw::ui {

TMakePcCheck03::TMakePcCheck03(QWidget* parent)
    : FolderPage(parent, "TMakePcCheck03", {text::kExport03Heading1, text::kExport03Heading2}) {}

}  // namespace dw::ui
