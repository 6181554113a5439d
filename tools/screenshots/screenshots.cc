#include "screenshots/screenshots.h"

#include <exception>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileSystemModel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include "convert/catalog_job.h"
#include "gui/folder_page.h"
#include "gui/folder_tree.h"
#include "gui/main_form.h"
#include "gui/main_menu.h"
#include "gui/make_data01.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/make_data_type_select.h"
#include "gui/page_parts.h"
#include "gui/shell.h"
#include "gui/status_form.h"
#include "gui/make_circle_check01.h"
#include "gui/make_circle_check02.h"
#include "gui/make_pc_check01.h"
#include "gui/make_pc_check02.h"
#include "gui/make_pc_check03.h"
#include "gui/make_pc_check04.h"

namespace dw::ui {
namespace {

// Folder listings come from a background thread; wait until every tree shows the folders
// around the home folder, then let the views lay them out.
void SettleFolderTrees(Shell& shell) {
  auto all_loaded = [&shell] {
    for (FolderPage* page : shell.Frame().findChildren<FolderPage*>()) {
      QFileSystemModel* model = page->ShellTreeView1()->FileSystem();
      if (model->rowCount(model->index(QDir::homePath()).parent()) == 0) return false;
    }
    return true;
  };
  QDeadlineTimer deadline(5000);
  while (!all_loaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  QDeadlineTimer settle(500);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

}  // namespace

int SaveScreenshots(Shell& shell, const QString& folder, const QString& sample_catalog) {
  QDir().mkpath(folder);
  SettleFolderTrees(shell);
  const QList<QWidget*> pages = {&shell.MainMenu(),      &shell.Data01(),        &shell.Data02(),
                                 &shell.Data03(),        &shell.DataTypeSelect(), &shell.Status(),
                                 &shell.CircleCheck01(), &shell.CircleCheck02(), &shell.PcCheck01(),
                                 &shell.PcCheck02(),     &shell.PcCheck03(),     &shell.PcCheck04()};
  int written = 0;
  for (QWidget* page : pages) {
    shell.Frame().ShowPage(page);
    QCoreApplication::processEvents();
    if (auto* folder_page = qobject_cast<FolderPage*>(page)) {
      FolderTree* tree = folder_page->ShellTreeView1();
      tree->scrollTo(tree->currentIndex(), QAbstractItemView::PositionAtCenter);
      QCoreApplication::processEvents();
    }
    const QString file = QDir(folder).filePath(page->objectName() + QStringLiteral(".png"));
    if (shell.Frame().grab().save(file)) ++written;
  }
  if (!sample_catalog.isEmpty()) {
    QTemporaryDir scratch;
    dw::CatalogJobParams params;
    params.source_root = ToFsPath(sample_catalog);
    params.destination = ToFsPath(scratch.filePath(QStringLiteral("card")));
    std::filesystem::create_directories(params.destination);
    params.workspace = ToFsPath(scratch.filePath(QStringLiteral("DATA")));
    bool completed = false;
    try {
      completed = dw::RunCatalogJob(params, shell.Status()) == dw::CatalogJobOutcome::kCompleted;
    } catch (const std::exception&) {
      // No picture of a finished run then; the count tells the caller.
    }
    QCoreApplication::processEvents();
    if (completed && shell.Frame().grab().save(QDir(folder).filePath(QStringLiteral("TStatusForm_finished.png")))) {
      ++written;
    }
  }
  return written;
}

}  // namespace dw::ui
