// The start button of the catalog wizard's last page: confirmation, the conversion job with the
// status log in front, the closing beep, and the error box when the job fails.
#pragma once

#include <filesystem>

namespace dw::ui {

class Dialogs;
class TMakeData02;
class TMakeData03;
class TMakeDataTypeSelect;
class TStatusForm;

struct CatalogWizardPages {
  const TMakeData02& source;
  const TMakeData03& destination;
  const TMakeDataTypeSelect& mode;
  TStatusForm& status;
};

// TMakeData03.Button1Click. The folders come from the two pages' trees, the mode from the
// selection page; the data set is assembled in `workspace`.
void StartCatalogJob(const CatalogWizardPages& pages, Dialogs& dialogs, const std::filesystem::path& workspace);

}  // namespace dw::ui
