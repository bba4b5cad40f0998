#include "core/pane_model.h"

namespace tz {

PaneModel::PaneModel(int number, QObject* parent) : QObject(parent), number_(number) {
  setObjectName(QStringLiteral("pane%1").arg(number));
}

void PaneModel::set_drives(const QList<QChar>& drives) {
  drives_ = drives;
  emit drive_changed();
}

void PaneModel::set_drive(QChar drive) {
  if (drive_ == drive) return;
  drive_ = drive;
  emit drive_changed();
}

void PaneModel::set_directory(const QString& path, const QStringList& chain,
                              const QStringList& subdirs) {
  path_ = path;
  rows_ = chain + subdirs;
  chain_count_ = static_cast<int>(chain.size());
  highlighted_ = chain_count_ - 1;
  emit directory_changed();
}

void PaneModel::insert_subdirectory(int position, const QString& path) {
  rows_.insert(chain_count_ + position, path);
  emit directory_changed();
}

void PaneModel::set_highlighted(int row) {
  if (row < -1 || row >= rows_.size()) row = -1;
  if (highlighted_ == row) return;
  highlighted_ = row;
  emit directory_changed();
}

QString PaneModel::row_caption(const QString& row_path) {
  const qsizetype cut = row_path.lastIndexOf(u'\\');
  if (cut < 0 || cut == row_path.size() - 1) return row_path;
  return row_path.mid(cut + 1);
}

void PaneModel::set_files(const QString& path, std::shared_ptr<OpenDirectory> dir,
                          std::vector<Entry> entries) {
  file_path_ = path;
  file_dir_ = std::move(dir);
  files_.clear();
  files_.reserve(static_cast<qsizetype>(entries.size()));
  for (const Entry& e : entries) files_.append(e.text);
  file_entries_ = std::move(entries);
  emit files_changed();
}

}  // namespace tz
