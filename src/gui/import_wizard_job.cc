#include "gui/import_wizard_job.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "gui/confirm_text.h"
#include "gui/dialogs.h"
#include "gui/job_errors.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"
#include "checklist/check_list_import.h"
#include "checklist/job_reports.h"
#include "gui/report_text.h"
#include "dataset/layout.h"
#include "gui/make_circle_check01.h"
#include "gui/make_circle_check02.h"

namespace dw::ui {

WizardJobEnd StartImportJob(const TMakeCircleCheck01& file_page, TMakeCircleCheck02& folder_page,
                            dw::CheckListImport& job, Dialogs& dialogs, const std::filesystem::path& workspace) {
  const QString chosen = folder_page.ChosenFolder();
  const QString csv = file_page.Edit1()->text();
  const QString shown_output =
      WithTrailingSeparator(WithTrailingSeparator(chosen) + Utf8(kCheckListFolder));
  const std::filesystem::path output = dw::ImportOutputFolder(ToFsPath(chosen));
  QString confirm = ConfirmText(text::kConfirmSourceFile, csv, text::kConfirmImportFolder, shown_output);
  if (const dw::ExistingCheckData held = dw::ReadExistingCheckData(output); !chosen.isEmpty() && held.holds_data) {
    confirm += Utf8(text::kLineBreak) + Utf8(text::kLineBreak) + ExistingDataText(held, dw::ImportBackupBeside(output));
  }
  dialogs.Beep();
  if (chosen.isEmpty() || !dialogs.Confirm(confirm)) return WizardJobEnd::kDeclined;

  job.params.csv_file = ToFsPath(csv);
  job.params.output_folder = output;
  job.params.workspace = workspace;
  job.process_events = [] { QCoreApplication::processEvents(); };
  folder_page.DisableNext();  // the job cannot be started twice while it loads

  dw::CheckListImportResult result;
  if (!RunShowingErrors(dialogs, [&] { result = job.Run(); })) return WizardJobEnd::kFailed;

  switch (result.outcome) {
    case dw::CheckListImportOutcome::kCompleted:
      dialogs.Beep();
      dialogs.Information(ClosingText(dw::ImportReportLines(result, job.params.output_folder)));
      break;
    case dw::CheckListImportOutcome::kNotVer1:
      dialogs.Beep();
      dialogs.Error(QString::fromStdString(result.message), Dialogs::ErrorButton::kAbort);
      break;
    case dw::CheckListImportOutcome::kDayLimitExceeded:
      dialogs.Beep();
      dialogs.Error(QString::fromStdString(result.message), Dialogs::ErrorButton::kOk);
      break;
  }
  return result.outcome == dw::CheckListImportOutcome::kCompleted ? WizardJobEnd::kFinished
                                                                   : WizardJobEnd::kFileRefused;
}

}  // namespace dw::ui
