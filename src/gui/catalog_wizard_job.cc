#include "gui/catalog_wizard_job.h"

#include <QRadioButton>

#include "convert/catalog_job.h"
#include "dataset/layout.h"
#include "gui/confirm_text.h"
#include "gui/dialogs.h"
#include "gui/job_errors.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/make_data_type_select.h"
#include "gui/page_parts.h"
#include "gui/radio_group.h"
#include "gui/status_form.h"
#include "gui/ui_texts.h"

namespace dw::ui {

CatalogRunEnd StartCatalogJob(const CatalogWizardPages& pages, Dialogs& dialogs,
                              const std::filesystem::path& workspace, dw::StopRequest* stop) {
  dialogs.Beep();
  const QString source = pages.source.ChosenFolder();
  const QString destination = pages.destination.ChosenFolder();
  if (source.isEmpty() || destination.isEmpty()) return CatalogRunEnd::kNotStarted;  // gone since

  const QString shown_destination =
      WithTrailingSeparator(WithTrailingSeparator(destination) + Utf8(kZavoDsFolder));
  const int mode = pages.mode.RadioGroup1()->ItemIndex();
  const QString mode_lines = Utf8(text::kLineBreak) + Utf8(text::kLineBreak) + Utf8(text::kModeGroup) +
                             Utf8(text::kLineBreak) +
                             (mode >= 0 ? pages.mode.RadioGroup1()->Item(mode)->text() : QString());
  if (!dialogs.Confirm(ConfirmText(text::kConfirmSourceFolder, WithTrailingSeparator(source),
                                   text::kConfirmConvertedFolder, shown_destination) +
                       mode_lines)) {
    return CatalogRunEnd::kNotStarted;
  }

  dw::CatalogJobParams params;
  params.source_root = ToFsPath(source);
  params.destination = ToFsPath(destination);
  params.workspace = workspace;
  params.mode = mode;
  params.stop = stop;
  dw::CatalogJobOutcome outcome = dw::CatalogJobOutcome::kDefinitionNotFound;
  bool stopped = false;
  // The job ends with a beep, also after its orderly stop. A failure puts the status page in
  // its error state before the error box comes up.
  const bool ran = RunShowingErrors(
      dialogs, [&] { outcome = dw::RunCatalogJob(params, pages.status); },
      [&](const JobFailure& failure) {
        stopped = failure.stopped;
        pages.status.ShowFailure(failure.text);
      });
  if (!ran) return stopped ? CatalogRunEnd::kStopped : CatalogRunEnd::kFailed;
  if (outcome == dw::CatalogJobOutcome::kCompleted) pages.status.ShowFinished(shown_destination);
  dialogs.Beep();
  return outcome == dw::CatalogJobOutcome::kCompleted ? CatalogRunEnd::kEnded : CatalogRunEnd::kNoCatalog;
}

}  // namespace dw::ui
