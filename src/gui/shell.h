// The desktop program: the frame, every page created once in start-up order, the job objects
// of the check-list wizards, and the navigation between the pages. Closing the frame while the
// catalog conversion runs asks whether to stop; on Yes the run is asked to stop at its next
// safe point and the frame closes when the job has returned.
#pragma once

#include <filesystem>
#include <memory>

#include <QObject>

#include "common/stop_request.h"

namespace dw {
class CheckListImport;
class CheckListExport;
}  // namespace dw

namespace dw::ui {

class Dialogs;
class TMainForm;
class TMainMenu;
class TMakeCircleCheck01;
class TMakeCircleCheck02;
class TMakeData01;
class TMakeData02;
class TMakeData03;
class TMakeDataTypeSelect;
class TMakePcCheck01;
class TMakePcCheck02;
class TMakePcCheck03;
class TMakePcCheck04;
class TStatusForm;

struct ShellOptions {
  Dialogs* dialogs = nullptr;          // boxes and beeps; must outlive the shell
  std::filesystem::path workspace;     // where the catalog conversion assembles the data set
};

class Shell : public QObject {
  Q_OBJECT

 public:
  explicit Shell(const ShellOptions& options);
  ~Shell() override;

  // Shows the frame with the main menu in front.
  void Start();

  TMainForm& Frame() const { return *frame_; }
  TMainMenu& MainMenu() const { return *main_menu_; }
  TMakeData01& Data01() const { return *data01_; }
  TMakeData02& Data02() const { return *data02_; }
  TMakeData03& Data03() const { return *data03_; }
  TMakeDataTypeSelect& DataTypeSelect() const { return *type_select_; }
  TStatusForm& Status() const { return *status_; }
  TMakeCircleCheck01& CircleCheck01() const { return *circle_check01_; }
  TMakeCircleCheck02& CircleCheck02() const { return *circle_check02_; }
  TMakePcCheck01& PcCheck01() const { return *pc_check01_; }
  TMakePcCheck02& PcCheck02() const { return *pc_check02_; }
  TMakePcCheck03& PcCheck03() const { return *pc_check03_; }
  TMakePcCheck04& PcCheck04() const { return *pc_check04_; }
  bool CatalogJobRunning() const { return catalog_job_running_; }
  const dw::StopRequest& CatalogStopRequest() const { return stop_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectMainMenu();
  void ConnectCatalogWizard();
  void ConnectImportWizard();
  void ConnectExportWizard();
  void Show(QWidget* page);
  void RunCatalogJob();

  Dialogs& dialogs_;
  std::filesystem::path workspace_;
  std::unique_ptr<TMainForm> frame_;
  TMakeData01* data01_ = nullptr;
  TMakeData02* data02_ = nullptr;
  TMakeData03* data03_ = nullptr;
  TStatusForm* status_ = nullptr;
  TMainMenu* main_menu_ = nullptr;
  TMakeCircleCheck01* circle_check01_ = nullptr;
  TMakeCircleCheck02* circle_check02_ = nullptr;
  TMakeDataTypeSelect* type_select_ = nullptr;
  std::unique_ptr<dw::CheckListImport> import_job_;
  TMakePcCheck01* pc_check01_ = nullptr;
  TMakePcCheck02* pc_check02_ = nullptr;
  TMakePcCheck03* pc_check03_ = nullptr;
  std::unique_ptr<dw::CheckListExport> export_job_;
  TMakePcCheck04* pc_check04_ = nullptr;
  dw::StopRequest stop_;
  QWidget* after_status_ = nullptr;  // where the status page's "戻る" leads
  bool catalog_job_running_ = false;
  bool close_after_job_ = false;  // the user chose to stop and quit
  bool asking_to_stop_ = false;   // the question is open
};

}  // namespace dw::ui
