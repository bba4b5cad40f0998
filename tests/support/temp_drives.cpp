#include "support/temp_drives.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "support/raw_files.h"

namespace tz::test {

namespace {

void require(bool ok, const QString& what) {
  if (!ok) throw std::runtime_error(what.toStdString());
}

}  // namespace

TempDrives::TempDrives(const QList<QChar>& letters, const QList<QChar>& without_medium) {
  require(dir_.isValid(), QStringLiteral("cannot make a temporary folder"));
  QStringList items;
  for (QChar letter : letters) {
    require(QDir().mkpath(dir_.filePath(letter)), QStringLiteral("cannot make a drive"));
    items << QString(letter) + u'=' + dir_.filePath(letter);
  }
  for (QChar letter : without_medium) {
    items << QString(letter) + u'=' + dir_.filePath(QStringLiteral("no-medium-") + letter);
  }
  spec_ = items.join(u';');
  if (qEnvironmentVariableIsSet("TENZOR_DRIVES")) old_drives_ = qgetenv("TENZOR_DRIVES");
  qputenv("TENZOR_DRIVES", spec_.toLocal8Bit());
}

TempDrives::~TempDrives() {
  // Names that are not UTF-8 would stop the temporary folder's own removal.
  remove_raw_tree(folder());
  if (old_drives_) {
    qputenv("TENZOR_DRIVES", *old_drives_);
  } else {
    qunsetenv("TENZOR_DRIVES");
  }
}

QByteArray TempDrives::folder() const {
  return QFile::encodeName(dir_.path());
}

QString TempDrives::host(QChar letter) const {
  return table().host_root(letter).value_or(QString());
}

QString TempDrives::host_path(const QString& drive_path) const {
  QString rest = drive_path.mid(3);
  return QDir::cleanPath(host(drive_path.at(0)) + u'/' + rest.replace(u'\\', u'/'));
}

QByteArray TempDrives::native(const QString& drive_path) const {
  return QFile::encodeName(host_path(drive_path));
}

QByteArray TempDrives::content(const QString& drive_path) const {
  return file_content(host_path(drive_path));
}

QByteArray file_content(const QString& host_path) {
  QFile file(host_path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TempDrives::write_file(const QString& drive_path, const QByteArray& content,
                            std::optional<qint64> mtime_utc_secs) {
  const QString path = host_path(drive_path);
  require(QDir().mkpath(QFileInfo(path).path()), QStringLiteral("cannot make ") + path);
  QFile file(path);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(content) == content.size(),
          QStringLiteral("cannot write ") + path);
  file.close();
  if (mtime_utc_secs) set_mtime(drive_path, *mtime_utc_secs);
}

void TempDrives::make_dir(const QString& drive_path) {
  require(QDir().mkpath(host_path(drive_path)), QStringLiteral("cannot make ") + drive_path);
}

void TempDrives::set_mtime(const QString& drive_path, qint64 utc_secs) {
  const struct timespec times[2] = {{static_cast<time_t>(utc_secs), 0},
                                    {static_cast<time_t>(utc_secs), 0}};
  require(::utimensat(AT_FDCWD, native(drive_path).constData(), times, 0) == 0,
          QStringLiteral("cannot set the time of ") + drive_path);
}

void TempDrives::set_read_only(const QString& drive_path, bool read_only) {
  const QByteArray path = native(drive_path);
  struct stat st;
  require(::stat(path.constData(), &st) == 0, QStringLiteral("no ") + drive_path);
  const mode_t mode = read_only ? st.st_mode & ~0222 : st.st_mode | 0200;
  require(::chmod(path.constData(), mode & 07777) == 0,
          QStringLiteral("cannot chmod ") + drive_path);
}

}  // namespace tz::test
