// The start button of the catalog wizard's last page: confirmation, the conversion job with the
// status log in front, the closing beep, and the error state when the job fails.
#pragma once

#include <filesystem>

namespace dw {
class StopRequest;
}

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

enum class CatalogRunEnd {
  kNotStarted,  // no folder, or the confirmation was declined
  kEnded,       // ran to its end
  kNoCatalog,   // the orderly stop of a catalog folder without its definition file
  kFailed,      // an error ended it; the status page shows it
  kStopped,     // the user asked it to stop
};

// TMakeData03.Button1Click. The folders are the ones the two pages' path boxes name (the box
// follows the tree), the mode comes from the selection page; the data set is assembled in
// `workspace`. `stop` (may be null) is handed to the job.
CatalogRunEnd StartCatalogJob(const CatalogWizardPages& pages, Dialogs& dialogs,
                              const std::filesystem::path& workspace, dw::StopRequest* stop);

}  // namespace dw::ui
