#include "screenshots/screenshots.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "gui/folder_page.h"
#include "gui/folder_places.h"
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
#include "gui/ui_texts.h"

namespace dw::ui {
namespace {

constexpr int kPageCount = 12;
constexpr int kFolderStates = 4;  // typed path, missing path, places list, catalog hint
constexpr int kRunStates = 6;     // confirmation, close question, finished, error, two folder hints

// Lets the window system draw for `ms` milliseconds (pictures only, never in tests).
void Settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

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
  Settle(500);
}

bool SaveFrame(Shell& shell, const QString& folder, const QString& name) {
  return shell.Frame().grab().save(QDir(folder).filePath(name));
}

// The frame with `over` (a box or a list) drawn where it stands on screen, on a plain background
// where `over` reaches beyond the frame.
bool SaveFrameWith(Shell& shell, QWidget* over, const QString& folder, const QString& name) {
  if (!over) return false;
  const QRect frame = shell.Frame().geometry();
  const QRect top = over->geometry();
  const QRect area = frame.united(top);
  QPixmap picture(area.size());
  picture.fill(QColor(0xD8, 0xD8, 0xD8));
  QPainter painter(&picture);
  painter.drawPixmap(frame.topLeft() - area.topLeft(), shell.Frame().grab());
  painter.drawPixmap(top.topLeft() - area.topLeft(), over->grab());
  painter.end();
  return picture.save(QDir(folder).filePath(name));
}

void ClickBoxButton(const QString& caption) {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box) return;
  for (QAbstractButton* button : box->buttons()) {
    if (caption.isEmpty() || button->text() == caption) {
      button->click();
      return;
    }
  }
}

int SaveFolderStates(Shell& shell, const QString& folder, const QString& sample_catalog) {
  TMakeData02& page = shell.Data02();
  shell.Frame().ShowPage(&page);
  const QString typed = sample_catalog.isEmpty() ? QDir::homePath() : QDir::cleanPath(sample_catalog);
  int written = 0;
  page.Edit1()->setText(typed);
  Settle(500);
  if (SaveFrame(shell, folder, QStringLiteral("TMakeData02_typed.png"))) ++written;

  page.Edit1()->setText(QFileInfo(typed).path() + QStringLiteral("/Lumenfold_DVD"));
  Settle(300);
  if (SaveFrame(shell, folder, QStringLiteral("TMakeData02_missing.png"))) ++written;

  // Only the home entry: the volumes mounted on the machine taking the pictures are not the
  // reader's.
  page.Edit1()->setText(typed);
  Settle(300);
  FolderPlaces* places = page.Places();
  places->Rebuild();
  while (places->count() > 1) places->removeItem(places->count() - 1);
  places->QComboBox::showPopup();
  Settle(500);
  if (SaveFrameWith(shell, places->view()->window(), folder, QStringLiteral("TMakeData02_places.png"))) ++written;
  places->hidePopup();

  // One level above the catalog: the page says so and offers the catalog folder.
  page.Edit1()->setText(QFileInfo(typed).path());
  Settle(300);
  if (SaveFrame(shell, folder, QStringLiteral("TMakeData02_hint.png"))) ++written;
  page.Edit1()->setText(typed);
  return written;
}

// `page` in front with `path` in its box.
bool SaveFolderHint(Shell& shell, FolderPage& page, const QString& path, const QString& folder, const QString& name) {
  shell.Frame().ShowPage(&page);
  page.Edit1()->setText(path);
  Settle(300);
  return SaveFrame(shell, folder, name);
}

// The sample catalog through the wizard: closing the window during the run (answered No), the
// finished page, then a run whose copy fails.
int SaveRunStates(Shell& shell, ScreenshotDialogs& dialogs, const QString& folder, const QString& sample_catalog,
                  const QString& scratch_folder) {
  int written = 0;
  QDir scratch(scratch_folder);
  scratch.mkpath(QStringLiteral("card"));
  shell.Data02().Edit1()->setText(QDir::cleanPath(sample_catalog));
  shell.Frame().ShowPage(&shell.Data03());
  shell.Data03().Edit1()->setText(scratch.filePath(QStringLiteral("card")));

  // The confirmation with the chosen mode, pictured and answered No.
  dialogs.show_start_confirmation = true;
  dialogs.answer_box = [&] {
    if (SaveFrameWith(shell, QApplication::activeModalWidget(), folder, QStringLiteral("TMakeData03_confirm.png"))) {
      ++written;
    }
    ClickBoxButton(Utf8(text::kNo));
  };
  shell.Data03().Next()->click();
  dialogs.show_start_confirmation = false;

  // The window is closed once the circle cuts are under way.
  auto close_once = QObject::connect(
      shell.Status().Memo1(), &QPlainTextEdit::textChanged, &shell.Frame(),
      [&shell] {
        if (shell.Status().Lines().contains(Utf8("サークルカット作成開始"))) shell.Frame().close();
      },
      Qt::QueuedConnection);
  bool asked = false;
  dialogs.answer_box = [&] {
    if (asked) {  // a second close while the box of the first one is open
      ClickBoxButton(Utf8(text::kNo));
      return;
    }
    asked = true;
    if (SaveFrameWith(shell, QApplication::activeModalWidget(), folder, QStringLiteral("TStatusForm_close_question.png"))) {
      ++written;
    }
    ClickBoxButton(Utf8(text::kNo));
  };
  shell.Data03().Next()->click();
  QObject::disconnect(close_once);
  Settle(300);
  if (shell.Status().Label1()->text() == Utf8("作業終了しました。") &&
      SaveFrame(shell, folder, QStringLiteral("TStatusForm_finished.png"))) {
    ++written;
  }

  // A file where the copy wants its folder: the run ends in the error state.
  scratch.mkpath(QStringLiteral("full"));
  QFile blocker(scratch.filePath(QStringLiteral("full/ZAVO_DS")));
  if (blocker.open(QIODevice::WriteOnly)) blocker.close();
  shell.Frame().ShowPage(&shell.Data03());
  shell.Data03().Edit1()->setText(scratch.filePath(QStringLiteral("full")));
  dialogs.answer_box = [] { ClickBoxButton(QString()); };
  shell.Data03().Next()->click();
  Settle(300);
  if (shell.Status().Label1()->text() == Utf8(text::kStatusErrorLabel) &&
      SaveFrame(shell, folder, QStringLiteral("TStatusForm_error.png"))) {
    ++written;
  }
  dialogs.answer_box = nullptr;

  // The card now holds ZAVO_DS: choosing it as the destination is warned of, and the export's
  // source page offers it when the card's root is chosen.
  const QString card = scratch.filePath(QStringLiteral("card"));
  if (SaveFolderHint(shell, shell.Data03(), card + QStringLiteral("/ZAVO_DS"), folder,
                     QStringLiteral("TMakeData03_hint.png"))) {
    ++written;
  }
  if (SaveFolderHint(shell, shell.PcCheck02(), card, folder, QStringLiteral("TMakePcCheck02_hint.png"))) ++written;
  return written;
}

}  // namespace

bool ScreenshotDialogs::Confirm(const QString& text) {
  if (text != Utf8(text::kConfirmStopRun) && !show_start_confirmation) return true;
  AnswerSoon();
  return QtDialogs::Confirm(text);
}

void ScreenshotDialogs::JobError(const QString& text) {
  AnswerSoon();
  QtDialogs::JobError(text);
}

void ScreenshotDialogs::AnswerSoon() {
  QTimer::singleShot(600, [this] {
    if (answer_box) answer_box();
  });
}

int ExpectedScreenshots(bool with_sample_catalog) {
  return kPageCount + kFolderStates + (with_sample_catalog ? kRunStates : 0);
}

int SaveScreenshots(Shell& shell, ScreenshotDialogs& dialogs, const QString& folder, const QString& sample_catalog,
                    const QString& scratch_folder) {
  QDir().mkpath(folder);
  // Without a window manager the boxes open in the middle of the screen: put the frame there.
  shell.Frame().move(QGuiApplication::primaryScreen()->geometry().center() - shell.Frame().rect().center());
  SettleFolderTrees(shell);
  // Active, as under a window manager: the focused control shows its focus frame.
  shell.Frame().activateWindow();
  Settle(300);
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
    if (SaveFrame(shell, folder, page->objectName() + QStringLiteral(".png"))) ++written;
  }
  written += SaveFolderStates(shell, folder, sample_catalog);
  if (!sample_catalog.isEmpty()) written += SaveRunStates(shell, dialogs, folder, sample_catalog, scratch_folder);
  return written;
}

}  // namespace dw::ui
