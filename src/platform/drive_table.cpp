#include "platform/drive_table.h"

#include <QDir>

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

DriveTable DriveTable::from_environment() {
  DriveTable table = parse(qEnvironmentVariable("TENZOR_DRIVES"));
  if (table.roots_.isEmpty()) table.roots_.insert(u'C', QStringLiteral("/"));
  return table;
}

DriveTable DriveTable::parse(const QString& text) {
  DriveTable table;
  for (const QString& item : text.split(u';')) {
    const qsizetype equals = item.indexOf(u'=');
    if (equals < 0) continue;
    const QString letter = item.left(equals).trimmed().toUpper();
    const QString root = item.mid(equals + 1).trimmed();
    if (letter.size() != 1 || letter[0] < u'A' || letter[0] > u'Z') continue;
    if (!root.startsWith(u'/')) continue;
    table.roots_.insert(letter[0], QDir::cleanPath(root));
  }
  return table;
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
  return drive_root(*letter) + rest.replace(u'/', u'\\');
}

QString DriveTable::current_directory() const {
  if (auto drive_form = to_drive_form(QDir::currentPath())) return *drive_form;
  if (roots_.isEmpty() || roots_.contains(u'C')) return drive_root(u'C');
  return drive_root(roots_.firstKey());
}

}  // namespace tz
