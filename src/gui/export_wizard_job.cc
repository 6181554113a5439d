#include "gui/export_wizard_job.h"

#include "gui/confirm_text.h"
#include "gui/dialogs.h"
#include "gui/job_errors.h"
#include "gui/page_parts.h"
#include "gui/radio_group.h"
#include "gui/ui_texts.h"
#include "checklist/check_list_export.h"
#include "checklist/job_reports.h"
#include "gui/report_text.h"
#include "gui/make_pc_check02.h"
#include "gui/make_pc_check03.h"
#include "gui/make_pc_check04.h"

namespace dw::ui {

bool StartExportJob(const TMakePcCheck02& source_page, const TMakePcCheck03& destination_page,
                    const TMakePcCheck04& colour_page, dw::CheckListExport& job, Dialogs& dialogs) {
  const QString source_folder = source_page.ChosenFolder();
  const QString destination_folder = destination_page.ChosenFolder();
  const QString source = WithTrailingSeparator(source_folder);
  const QString destination = WithTrailingSeparator(destination_folder);
  dialogs.Beep();
  if (source_folder.isEmpty() || destination_folder.isEmpty()) return false;  // gone since Next
  const int colour = colour_page.RadioGroup1()->ItemIndex();
  const QString colour_lines = Utf8(text::kLineBreak) + Utf8(text::kLineBreak) + Utf8(text::kConfirmColour) +
                               Utf8(text::kLineBreak) + (colour >= 0 ? Utf8(text::kExportColours[colour]) : QString());
  if (!dialogs.Confirm(ConfirmText(text::kConfirmSourceFolder, source, text::kConfirmConvertedFolder, destination) +
                       colour_lines)) {
    return false;
  }

  job.params.source_folder = ToFsPath(source);
  job.params.destination_folder = ToFsPath(destination);
  job.params.substitute_colour = colour;
  dw::CheckListExportResult result;
  if (!RunShowingErrors(dialogs, [&] { result = job.Run(); })) return false;
  dialogs.Beep();
  dialogs.Information(ClosingText(dw::ExportReportLines(result)));
  return true;
}

}  // namespace dw::ui
