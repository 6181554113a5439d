#include "gui/catalog_wizard_job.h"

#include <QDir>

#include "convert/catalog_job.h"
#include "gui/confirm_text.h"
#include "gui/dialogs.h"
#include "gui/folder_tree.h"
#include "gui/job_errors.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/make_data_type_select.h"
#include "gui/page_parts.h"
#include "gui/radio_group.h"
#include "gui/status_form.h"
#include "gui/ui_texts.h"

namespace dw::ui {

void StartCatalogJob(const CatalogWizardPages& pages, Dialogs& dialogs, const std::filesystem::path& workspace) {
  dialogs.Beep();
  const QString source = pages.source.ShellTreeView1()->SelectedPath();
  const QString destination = pages.destination.ShellTreeView1()->SelectedPath();
  if (source.isEmpty() || destination.isEmpty()) return;  // Next is only enabled after a click

  const QString shown_destination =
      WithTrailingSeparator(WithTrailingSeparator(destination) + Utf8(text::kZavoDsFolder));
  if (!dialogs.Confirm(ConfirmText(text::kConfirmSourceFolder, WithTrailingSeparator(source),
                                   text::kConfirmConvertedFolder, shown_destination))) {
    return;
  }

  dw::CatalogJobParams params;
  params.source_root = ToFsPath(source);
  params.destination = ToFsPath(destination);
  params.workspace = workspace;
  params.mode = pages.mode.RadioGroup1()->ItemIndex();
  // The job ends with a beep, also after its orderly stop; a failure shows its error instead,
  // and the status page keeps its lines with the back button disabled.
  if (RunShowingErrors(dialogs, [&] { dw::RunCatalogJob(params, pages.status); })) dialogs.Beep();
}

}  // namespace dw::ui
