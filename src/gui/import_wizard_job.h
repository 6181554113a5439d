// The start button of the import wizard's last page: confirmation, the import, its stop
// messages, and the closing box when it ran to its end.
#pragma once

#include <filesystem>

namespace dw {
class CheckListImport;
}

namespace dw::ui {

class Dialogs;
class TMakeCircleCheck01;
class TMakeCircleCheck02;

enum class WizardJobEnd {
  kDeclined,   // the confirmation was not answered Yes; nothing ran
  kFinished,     // the job ran to its end: back to the main menu
  kFileRefused,  // the job stopped with its own message about the file: back to the file page
  kFailed,     // an error box was shown; the wizard stays where it is
};

// TMakeCircleCheck02.Button1Click. The CSV path comes from page 1's box, the output folder from
// page 2's tree; the day tables are read from `workspace`.
WizardJobEnd StartImportJob(const TMakeCircleCheck01& file_page, TMakeCircleCheck02& folder_page,
                            dw::CheckListImport& job, Dialogs& dialogs, const std::filesystem::path& workspace);

}  // namespace dw::ui
