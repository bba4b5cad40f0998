#include "tree/branch_table.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

#include "core/parallel.h"
#include "core/texts.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

// A name as the pairing compares it: folded, so that Data and DATA pair. A name that is
// not UTF-8 is compared byte for byte, marked by a leading "/", so that it cannot meet a
// name that merely shows alike. "/" is never part of a name, and so also joins the
// names of a relative path: a name holding `\` stays one name.
QString name_part(const QString& name, const QByteArray& raw) {
  if (name.toUtf8() == raw) return name_key(name);
  return u'/' + name;
}

QString name_part(const ListedEntry& entry) {
  return name_part(entry.name, entry.raw);
}

// The subdirectories and the flag of one side of a pair, as listed, and for each
// subdirectory whether it can be opened as a directory of its own: one that cannot (a
// symbolic link, no permission) keeps its whole pair out, since a side taken for missing
// would be offered for creation.
struct Side {
  std::vector<ListedEntry> dirs;
  std::vector<bool> opens;
  bool flagged = false;

  bool can_open(const ListedEntry* name) const {
    return !name || opens[static_cast<std::size_t>(name - dirs.data())];
  }
};

Side read_side(OpenDirectory* dir) {
  static const QString flag_key = name_key(text::no_tenzor_flag);
  Side side;
  if (!dir) return side;  // the side where the branch is missing lists nothing
  for (ListedEntry& entry : dir->entries(attr::directory)) {
    if (entry.name.startsWith(u'.')) continue;
    if (entry.attributes & attr::directory) {
      side.dirs.push_back(std::move(entry));
    } else if (entry.name.size() == flag_key.size() && name_key(entry.name) == flag_key) {
      side.flagged = true;
    }
  }
  for (const ListedEntry& entry : side.dirs) {
    bool opens = true;
    try {
      dir->open_subdirectory(entry.raw);
    } catch (const FileError&) {
      opens = false;
    }
    side.opens.push_back(opens);
  }
  return side;
}

// One tree's side of the branches of a level, read in table order, up to the first
// that cannot be read.
struct LevelSide {
  std::vector<Side> sides;
  std::optional<FileError> failed;
  std::size_t failed_at = 0;
  bool failed_opening = false;  // the directory itself, not its listing
  QString failed_path;

  void read(BranchTable& table, std::size_t begin, std::size_t end, int side) {
    sides.reserve(end - begin);
    for (std::size_t at = begin; at < end; ++at) {
      std::shared_ptr<OpenDirectory> dir;
      try {
        dir = table.dir(at, side);
        sides.push_back(read_side(dir.get()));
      } catch (const FileError& e) {
        failed = e;
        failed_at = at;
        failed_opening = !dir;
        failed_path = dir         ? dir->path()
                      : side == 1 ? table.branches[at].path1
                                  : table.branches[at].path2;
        return;
      }
    }
  }
};

// The path a pane shows, without the final `\` of a drive root, as the walk names it.
QString walk_name(const QString& path) {
  return path.endsWith(u'\\') ? path.chopped(1) : path;
}

std::shared_ptr<OpenDirectory> open_root(FileSystem& fs, const QString& path) {
  try {
    return fs.open_directory(path);
  } catch (const FileError& error) {
    // A root that is not there lists nothing, like a missing branch.
    if (error.number() == err::file_not_found || error.number() == err::path_not_found) {
      return nullptr;
    }
    throw;
  }
}

class TreeWalk {
 public:
  TreeWalk(EventPump& pump, const std::function<void(const QString&)>& progress, QString& reading)
      : pump_(pump), progress_(progress), reading_(reading) {}

  BranchTable run(FileSystem& fs, const QString& root1, const QString& root2) {
    table_ = BranchTable(open_root(fs, root1), open_root(fs, root2));
    Branch root;
    root.exists1 = table_.dir(0, 1) != nullptr;
    root.exists2 = table_.dir(0, 2) != nullptr;
    root.path1 = root1;
    root.path2 = root2;
    root.scanned = true;
    add(std::move(root), QString(), QString());
    // Branches added during a pass lie beyond its bound and wait for the next pass:
    // level by level.
    for (std::size_t begin = 0; begin < branches().size();) {
      const std::size_t end = branches().size();
      list_level(begin, end);
      begin = end;
    }
    return std::move(table_);
  }

 private:
  std::vector<Branch>& branches() { return table_.branches; }

  // The two trees' sides of a level are read at the same time, each on a thread of its
  // own (nothing else touches the table meanwhile), then paired here in table order.
  void list_level(std::size_t begin, std::size_t end) {
    LevelSide read1, read2;
    both_at_once([&] { read1.read(table_, begin, end, 1); },
                 [&] { read2.read(table_, begin, end, 2); });
    // The failure met first when reading branch by branch, tree 1 before tree 2.
    const LevelSide* failed = read1.failed ? &read1 : nullptr;
    if (read2.failed &&
        (!failed || read2.failed_at < failed->failed_at ||
         (read2.failed_at == failed->failed_at && read2.failed_opening && !failed->failed_opening)))
      failed = &read2;
    if (failed) {
      reading_ = failed->failed_path;
      throw *failed->failed;
    }
    for (std::size_t at = begin; at < end; ++at) {
      list(at, read1.sides[at - begin], read2.sides[at - begin]);
      branches()[at].scanned = true;
    }
  }

  void list(std::size_t at, const Side& side1, const Side& side2) {
    // Held by value: adding branches moves the table.
    const QString path1 = walk_name(branches()[at].path1);
    const QString path2 = walk_name(branches()[at].path2);
    branches()[at].flagged1 = side1.flagged;
    branches()[at].flagged2 = side2.flagged;
    if (side1.flagged || side2.flagged) return;  // the pair stays, its subdirectories not

    show(path1);
    // Of tree 2's names that differ only in case, the one spelt as in tree 1 wins, else
    // the first in byte order.
    QHash<QString, const ListedEntry*> in_tree2;
    QHash<QByteArray, const ListedEntry*> exactly_in_tree2;
    for (const ListedEntry& entry : side2.dirs) {
      const ListedEntry*& first = in_tree2[name_part(entry)];
      if (!first || entry.raw < first->raw) first = &entry;
      exactly_in_tree2.insert(entry.raw, &entry);
    }
    for (const ListedEntry& entry : side1.dirs) {
      const QString part = name_part(entry);
      const ListedEntry* other = exactly_in_tree2.value(entry.raw);
      if (!other) other = in_tree2.value(part);
      Branch branch = child(at, entry, other ? *other : entry);
      if (!side1.can_open(&entry) || !side2.can_open(other)) continue;
      branch.exists1 = true;
      branch.exists2 = other != nullptr;
      add(std::move(branch), keys1_[at] + u'/' + part, keys2_[at] + u'/' + part);
    }

    show(path2);
    for (const ListedEntry& entry : side2.dirs) {
      const QString part = name_part(entry);
      const QString key1 = keys1_[at] + u'/' + part, key2 = keys2_[at] + u'/' + part;
      if (pairs_.contains(pair_key(key1, key2))) continue;
      Branch branch = child(at, entry, entry);
      if (!side2.can_open(&entry)) continue;
      branch.exists2 = true;
      add(std::move(branch), key1, key2);
    }
  }

  // A new branch in the branch at `at`, named `name1` in tree 1 and `name2` in tree 2.
  Branch child(std::size_t at, const ListedEntry& name1, const ListedEntry& name2) {
    Branch branch;
    branch.path1 = walk_name(table_.branches[at].path1) + u'\\' + name1.name;
    branch.path2 = walk_name(table_.branches[at].path2) + u'\\' + name2.name;
    branch.parent = static_cast<std::ptrdiff_t>(at);
    branch.name1 = name1.raw;
    branch.name2 = name2.raw;
    return branch;
  }

  void show(const QString& path) {
    progress_(text::checking_dir + path);
    pump_.process_events();
  }

  static QString pair_key(const QString& key1, const QString& key2) {
    return key1 + QChar(0) + key2;
  }

  void add(Branch branch, QString key1, QString key2) {
    pairs_.insert(pair_key(key1, key2));
    keys1_.push_back(std::move(key1));
    keys2_.push_back(std::move(key2));
    branches().push_back(std::move(branch));
  }

  EventPump& pump_;
  const std::function<void(const QString&)>& progress_;
  QString& reading_;
  BranchTable table_;
  // Each branch's relative path on each side as the pairing compares it, and every pair
  // of them, so that tree 2's names find their pair without a search of the table.
  std::vector<QString> keys1_, keys2_;
  QSet<QString> pairs_;
};

}  // namespace

BranchTable::BranchTable(std::shared_ptr<OpenDirectory> root1, std::shared_ptr<OpenDirectory> root2)
    : roots_{std::move(root1), std::move(root2)} {}

std::shared_ptr<OpenDirectory> BranchTable::dir(std::size_t at, int side) {
  auto& chain = chain_[side - 1];
  // The way from the root down to the branch.
  std::vector<std::size_t> way;
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(at); i > 0;
       i = branches[static_cast<std::size_t>(i)].parent) {
    way.push_back(static_cast<std::size_t>(i));
  }
  std::reverse(way.begin(), way.end());
  std::size_t kept = 0;
  while (kept < way.size() && kept < chain.size() && chain[kept].first == way[kept]) ++kept;
  chain.resize(kept);
  std::shared_ptr<OpenDirectory> dir = kept > 0 ? chain.back().second : roots_[side - 1];
  for (std::size_t i = kept; i < way.size() && dir; ++i) {
    const Branch& branch = branches[way[i]];
    if (!(side == 1 ? branch.exists1 : branch.exists2)) return nullptr;
    dir = dir->open_subdirectory(side == 1 ? branch.name1 : branch.name2);
    chain.emplace_back(way[i], dir);
  }
  return dir;
}

bool holds_name(OpenDirectory& dir, const QByteArray& name) {
  // A link that reaches nothing (dangling, or a loop) is never listed, yet takes the name.
  if (dir.exists(name)) return true;
  const QString wanted = name_part(display_name(name), name);
  for (const ListedEntry& entry : dir.entries(attr::directory | attr::hidden | attr::system)) {
    if (name_part(entry) == wanted) return true;
  }
  return false;
}

BranchTable walk_trees(FileSystem& fs, const QString& root1, const QString& root2, EventPump& pump,
                       const std::function<void(const QString&)>& progress, QString& reading) {
  return TreeWalk(pump, progress, reading).run(fs, root1, root2);
}

}  // namespace tz
