#include "platform/drive_table.h"

#include <QDir>
#include <stdexcept>

namespace tz {

namespace {

bool covers(const QString& root, const QString& clean_native) {
  if (root == u'/') return clean_native.startsWith(u'/');
  return clean_native == root ||
         (clean_native.startsWith(root) && clean_native.at(root.size()) == u'/');
}

QString drive_root(QChar letter) {
  return QString(letter) + QStringLiteral(":\\");
}

}  // namespace

DriveTableReading DriveTable::read_environment() {
  return read(qEnvironmentVariable("TENZOR_DRIVES"));
}

DriveTableReading DriveTable::read(const QString& text) {
  DriveTable table;
  for (const QString& raw_item : text.split(u';')) {
    const QString item = raw_item.trimmed();
    if (item.isEmpty()) continue;
    const qsizetype equals = item.indexOf(u'=');
    const QString letter = item.left(equals).trimmed();
    // Plain ASCII only: toUpper would turn a dotless 'ı' into 'I'.
    if (equals < 0 || letter.size() != 1 || letter[0].unicode() > 0x7F || !letter[0].isLetter()) {
      return {std::nullopt, QStringLiteral("TENZOR_DRIVES: \"%1\" is not a drive: write it as "
                                           "LETTER=/absolute/folder, e.g. C=/home/ann")
                                .arg(item)};
    }
    const QChar upper = letter[0].toUpper();
    if (table.roots_.contains(upper)) {
      return {std::nullopt,
              QStringLiteral("TENZOR_DRIVES: the letter %1 is given twice").arg(upper)};
    }
    const QString root = item.mid(equals + 1).trimmed();
    if (!root.startsWith(u'/')) {
      return {std::nullopt,
              QStringLiteral("TENZOR_DRIVES: \"%1\" needs an absolute folder (starting with /)")
                  .arg(item)};
    }
    table.roots_.insert(upper, QDir::cleanPath(root));
  }
  if (table.roots_.isEmpty()) table.roots_.insert(u'C', QStringLiteral("/"));
  return {table, QString()};
}

DriveTable DriveTable::parse(const QString& text) {
  DriveTableReading reading = read(text);
  if (!reading.table) throw std::invalid_argument(reading.error.toStdString());
  return *reading.table;
}

DriveTable DriveTable::from_environment() {
  return read_environment().table.value_or(DriveTable());
}

QString DriveTable::outside_every_drive(const QString& native) {
  if (native.contains(u'\\')) {
    return QStringLiteral(
               "\"%1\" cannot be written as a drive path: a name in it holds a "
               "backslash, which a drive path takes for a separator")
        .arg(native);
  }
  return QStringLiteral("\"%1\" lies outside every drive of the drive table (TENZOR_DRIVES)")
      .arg(native);
}

std::optional<QString> DriveTable::host_root(QChar letter) const {
  const auto it = roots_.constFind(letter.toUpper());
  if (it == roots_.constEnd()) return std::nullopt;
  return *it;
}

std::optional<QChar> DriveTable::covering_drive(const QString& clean_native) const {
  std::optional<QChar> best;
  qsizetype best_length = -1;
  for (auto it = roots_.constBegin(); it != roots_.constEnd(); ++it) {
    if (covers(*it, clean_native) && it->size() > best_length) {
      best = it.key();
      best_length = it->size();
    }
  }
  return best;
}

QChar DriveTable::drive_of_host_path(const QString& native) const {
  return covering_drive(QDir::cleanPath(native)).value_or(u'C');
}

std::optional<QString> DriveTable::to_drive_form(const QString& native_absolute) const {
  if (!native_absolute.startsWith(u'/')) return std::nullopt;
  const QString clean = QDir::cleanPath(native_absolute);
  const std::optional<QChar> letter = covering_drive(clean);
  if (!letter) return std::nullopt;
  QString rest = clean.mid(roots_.value(*letter).size());
  if (rest.startsWith(u'/')) rest.remove(0, 1);
  // A name holding "\" has no drive form: its parts would name other directories.
  if (rest.contains(u'\\')) return std::nullopt;
  return drive_root(*letter) + rest.replace(u'/', u'\\');
}

QString DriveTable::current_directory() const {
  if (auto drive_form = to_drive_form(QDir::currentPath())) return *drive_form;
  if (roots_.isEmpty() || roots_.contains(u'C')) return drive_root(u'C');
  return drive_root(roots_.firstKey());
}

}  // namespace tz
