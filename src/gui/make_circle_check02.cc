#include "gui/make_circle_check02.h"

#include "gui/ui_texts.h"

namespace dw::ui {

TMakeCircleCheck02::TMakeCircleCheck02(QWidget* parent)
    : FolderPage(parent, "TMakeCircleCheck02", {text::kImport02Heading1, text::kImport02Heading2}) {}

}  // namespace dw::ui
