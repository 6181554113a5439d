#include "gui/report_text.h"

#include <QStringList>

#include "checklist/check_list_import.h"
#include "common/messages.h"
#include "dataset/check_backup.h"
#include "gui/page_parts.h"
#include "gui/ui_texts.h"

namespace dw::ui {

QString ClosingText(const std::vector<std::string>& report) {
  QStringList lines{Utf8(text::kWorkFinished)};
  for (const std::string& line : report) lines << QString::fromStdString(line);
  return lines.join(Utf8(text::kLineBreak));
}

QString ExistingDataText(const dw::ExistingCheckData& data, const std::filesystem::path& backup_root) {
  QString held = Utf8(text::kConfirmHeldChecks).arg(data.checks);
  if (data.visits > 0) held += Utf8(text::kConfirmHeldVisits).arg(data.visits);
  held += Utf8(text::kConfirmHeldMemos).arg(data.memos);
  return held + Utf8(text::kLineBreak) + Utf8(text::kConfirmHeldKept).arg(QString::fromStdString(dw::DisplayPath(backup_root / dw::kCheckBackupFolder)));
}

}  // namespace dw::ui
