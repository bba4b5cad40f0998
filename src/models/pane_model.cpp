#include "models/pane_model.h"

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

void PaneModel::set_files(const QString& path, PaneFiles files) {
  file_path_ = path;
  files_ = std::move(files);
  emit files_changed();
}

std::vector<Entry> PaneModel::file_entries() const {
  std::vector<Entry> entries;
  entries.reserve(files_.names.size());
  for (size_t row = 0; row < files_.order.size(); ++row) {
    const size_t i = files_.order[row];
    Entry entry{files_.texts[static_cast<qsizetype>(row)], std::nullopt, std::nullopt};
    entry.side(number_) =
        FileRef{files_.dir, files_.names.name(i), files_.seen.empty() ? Seen() : files_.seen[i]};
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace tz
