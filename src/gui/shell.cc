#include "gui/shell.h"

#include <QEvent>
#include <QPushButton>

#include "gui/catalog_wizard_job.h"
#include "gui/dialogs.h"
#include "gui/main_form.h"
#include "gui/main_menu.h"
#include "gui/make_data01.h"
#include "gui/make_data02.h"
#include "gui/make_data03.h"
#include "gui/make_data_type_select.h"
#include "gui/page_parts.h"
#include "gui/status_form.h"
#include "gui/ui_texts.h"
#include "checklist/check_list_export.h"
#include "checklist/check_list_import.h"
#include "gui/export_wizard_job.h"
#include "gui/import_wizard_job.h"
#include "gui/make_circle_check01.h"
#include "gui/make_circle_check02.h"
#include "gui/make_pc_check01.h"
#include "gui/make_pc_check02.h"
#include "gui/make_pc_check03.h"
#include "gui/make_pc_check04.h"

namespace dw::ui {

Shell::Shell(const ShellOptions& options)
    : dialogs_(*options.dialogs), workspace_(options.workspace), frame_(std::make_unique<TMainForm>()) {
  // Start-up order: the pages and job objects come to life one after another, and the frame
  // stacks the pages in that order.
  TMainForm* f = frame_.get();
  f->AddPage(data01_ = new TMakeData01(f));
  f->AddPage(data02_ = new TMakeData02(f));
  f->AddPage(data03_ = new TMakeData03(f));
  f->AddPage(status_ = new TStatusForm(f));
  f->AddPage(main_menu_ = new TMainMenu(f));
  f->AddPage(circle_check01_ = new TMakeCircleCheck01(dialogs_, f));
  f->AddPage(circle_check02_ = new TMakeCircleCheck02(f));
  f->AddPage(type_select_ = new TMakeDataTypeSelect(f));
  import_job_ = std::make_unique<dw::CheckListImport>();
  f->AddPage(pc_check01_ = new TMakePcCheck01(f));
  f->AddPage(pc_check02_ = new TMakePcCheck02(f));
  f->AddPage(pc_check03_ = new TMakePcCheck03(f));
  export_job_ = std::make_unique<dw::CheckListExport>();
  f->AddPage(pc_check04_ = new TMakePcCheck04(f));

  after_status_ = main_menu_;
  f->installEventFilter(this);  // the close question during a run
  ConnectMainMenu();
  ConnectCatalogWizard();
  ConnectImportWizard();
  ConnectExportWizard();
  Show(main_menu_);
}

Shell::~Shell() = default;

void Shell::Start() {
  Show(main_menu_);
  frame_->show();
}

void Shell::Show(QWidget* page) { frame_->ShowPage(page); }

void Shell::RunCatalogJob() {
  if (catalog_job_running_) return;  // the status page covers the wizard; never start twice
  stop_.Reset();
  catalog_job_running_ = true;
  const CatalogRunEnd end = StartCatalogJob({*data02_, *data03_, *type_select_, *status_}, dialogs_, workspace_, &stop_);
  catalog_job_running_ = false;
  // The status page's "戻る" leads to where the fault can be mended, the entries kept: the
  // source folder when it held no catalog, the destination page after an error.
  after_status_ = end == CatalogRunEnd::kNoCatalog ? static_cast<QWidget*>(data02_)
                  : end == CatalogRunEnd::kFailed  ? static_cast<QWidget*>(data03_)
                                                   : static_cast<QWidget*>(main_menu_);
  if (close_after_job_) {
    close_after_job_ = false;
    frame_->close();
  }
}

bool Shell::eventFilter(QObject* watched, QEvent* event) {
  if (watched != frame_.get() || event->type() != QEvent::Close || !catalog_job_running_) {
    return QObject::eventFilter(watched, event);
  }
  // The job runs inside this event loop's caller: the frame stays until it has returned. The
  // run waits while the question is open.
  event->ignore();
  if (close_after_job_ || asking_to_stop_) return true;  // asked already
  asking_to_stop_ = true;
  const bool stop = dialogs_.Confirm(Utf8(text::kConfirmStopRun));
  asking_to_stop_ = false;
  if (stop) {
    close_after_job_ = true;
    stop_.Request();
  }
  return true;
}

void Shell::ConnectMainMenu() {
  connect(main_menu_->Button1(), &QPushButton::clicked, this, [this] { Show(data01_); });
  connect(main_menu_->Button2(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    circle_check01_->ClearFile();
    Show(circle_check01_);
  });
  connect(main_menu_->Button4(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(pc_check01_);
  });
  connect(main_menu_->Button3(), &QPushButton::clicked, frame_.get(), &QWidget::close);
}

void Shell::ConnectCatalogWizard() {
  // A folder page's box follows its tree when the page is shown: coming back, the last folder
  // is there again and Next follows the page's rule.
  connect(data01_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(data02_);
  });
  connect(data01_->Back(), &QPushButton::clicked, this, [this] { Show(main_menu_); });

  connect(data02_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(data03_);
  });
  connect(data02_->Back(), &QPushButton::clicked, this, [this] { Show(data01_); });

  connect(data03_->Next(), &QPushButton::clicked, this, &Shell::RunCatalogJob);
  connect(data03_->Back(), &QPushButton::clicked, this, [this] { Show(data02_); });
  connect(data03_->Settings(), &QPushButton::clicked, this, [this] { Show(type_select_); });
  connect(type_select_->Decide(), &QPushButton::clicked, this, [this] { Show(data03_); });

  connect(status_, &TStatusForm::ShowRequested, this, [this] { Show(status_); });
  connect(status_->Button1(), &QPushButton::clicked, this, [this] { Show(after_status_); });
}

void Shell::ConnectImportWizard() {
  connect(circle_check01_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(circle_check02_);
  });
  connect(circle_check01_->Back(), &QPushButton::clicked, this, [this] { Show(main_menu_); });
  connect(circle_check02_->Next(), &QPushButton::clicked, this, [this] {
    switch (StartImportJob(*circle_check01_, *circle_check02_, *import_job_, dialogs_, workspace_)) {
      case WizardJobEnd::kFinished:
        Show(main_menu_);
        break;
      case WizardJobEnd::kFileRefused:  // another file is chosen on the first page
        Show(circle_check01_);
        break;
      case WizardJobEnd::kDeclined:
      case WizardJobEnd::kFailed:
        break;
    }
  });
  connect(circle_check02_->Back(), &QPushButton::clicked, this, [this] { Show(circle_check01_); });
}

void Shell::ConnectExportWizard() {
  connect(pc_check01_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(pc_check02_);
  });
  connect(pc_check01_->Back(), &QPushButton::clicked, this, [this] { Show(main_menu_); });
  connect(pc_check02_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(pc_check03_);
  });
  connect(pc_check02_->Back(), &QPushButton::clicked, this, [this] { Show(pc_check01_); });
  connect(pc_check03_->Next(), &QPushButton::clicked, this, [this] {
    dialogs_.Beep();
    Show(pc_check04_);
  });
  connect(pc_check03_->Back(), &QPushButton::clicked, this, [this] { Show(pc_check02_); });
  connect(pc_check04_->Next(), &QPushButton::clicked, this, [this] {
    if (StartExportJob(*pc_check02_, *pc_check03_, *pc_check04_, *export_job_, dialogs_)) Show(main_menu_);
  });
  connect(pc_check04_->Back(), &QPushButton::clicked, this, [this] { Show(pc_check03_); });
}

}  // namespace dw::ui
