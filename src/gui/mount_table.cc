#include "gui/mount_table.h"

#include <QFile>
#include <QSocketNotifier>

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dw::ui {
namespace {

constexpr char kMountTable[] = "/proc/self/mountinfo";

// A mount point as the table writes it: blanks, tabs, newlines and backslashes as \ooo.
QString Unescape(const QByteArray& field) {
  QByteArray out;
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      bool ok = false;
      const int code = field.mid(i + 1, 3).toInt(&ok, 8);
      if (ok) {
        out += static_cast<char>(code);
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return QString::fromUtf8(out);
}

// Field 5 of each line is the mount point.
QStringList ParseMountTable(const QByteArray& table) {
  QStringList points;
  for (const QByteArray& line : table.split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() > 4) points << Unescape(fields[4]);
  }
  return points;
}

#ifdef __linux__
QByteArray ReadAll(int fd) {
  QByteArray table;
  if (::lseek(fd, 0, SEEK_SET) != 0) return table;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    table.append(buffer, n);
  }
  return table;
}
#endif

}  // namespace

QStringList MountPoints() {
  QFile table(QString::fromLatin1(kMountTable));
  if (!table.open(QIODevice::ReadOnly)) return {};
  return ParseMountTable(table.readAll());  // a proc file: its size reads as 0, so read to the end
}

MountWatch::MountWatch(QObject* parent) : QObject(parent) {
#ifdef __linux__
  // The kernel marks the open table as exceptional when a mount comes or goes.
  fd_ = ::open(kMountTable, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  for (const QString& point : ParseMountTable(ReadAll(fd_))) known_.insert(point);
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
  connect(notifier_, &QSocketNotifier::activated, this, &MountWatch::TableChanged);
#endif
}

MountWatch::~MountWatch() {
#ifdef __linux__
  delete notifier_;  // before its descriptor goes
  if (fd_ >= 0) ::close(fd_);
#endif
}

void MountWatch::TableChanged() {
#ifdef __linux__
  QSet<QString> now;
  QStringList added;
  for (const QString& point : ParseMountTable(ReadAll(fd_))) {  // reading it re-arms the notice
    now.insert(point);
    if (!known_.contains(point)) added << point;
  }
  known_ = now;
  if (!added.isEmpty()) emit MountsAdded(added);
#endif
}

}  // namespace dw::ui
