#include "gui/make_pc_check02.h"

#include "dataset/layout.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakePcCheck02::TMakePcCheck02(QWidget* parent)
    : FolderPage(parent, "TMakePcCheck02", {text::kExport02Heading1, text::kExport02Heading2}) {}

// A data set folder holds CDATA/DEF.dat; the card's root is offered its ZAVO_DS.
FolderVerdict TMakePcCheck02::Judge(const QString& folder) const {
  const std::filesystem::path path = ToFsPath(folder);
  if (dw::HoldsDataSet(path)) return {};
  const std::optional<std::filesystem::path> inner = dw::DataSetFolderIn(path);
  return {false, Utf8(text::kHintNoDataSet), inner ? FromFsPath(*inner) : QString()};
}

}  // namespace dw::ui
