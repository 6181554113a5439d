#include "gui/make_data02.h"

#include "convert/catalog_job.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

TMakeData02::TMakeData02(QWidget* parent)
    : FolderPage(parent, "TMakeData02", {text::kData02Heading1, text::kData02Heading2}) {}

// A catalog folder holds CDATA/C??DEF.TXT; near a wrong choice there may be one to offer.
FolderVerdict TMakeData02::Judge(const QString& folder) const {
  const std::filesystem::path path = ToFsPath(folder);
  if (!dw::FindDefinitionFile(path).empty()) return {};
  const std::optional<std::filesystem::path> near = dw::CatalogFolderNear(path);
  return {false, Utf8(text::kHintNoCatalog), near ? FromFsPath(*near) : QString()};
}

}  // namespace dw::ui
