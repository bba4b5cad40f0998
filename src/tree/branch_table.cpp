#include "tree/branch_table.h"

#include <QHash>
#include <algorithm>
#include <optional>

#include "core/parallel.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"
#include "texts/texts.h"

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
// subdirectory why it cannot be entered, if it cannot (no permission): such a
// subdirectory is said, never entered, and never taken for missing, which would offer to
// create it. A symbolic link is no directory of the tree, wherever it points.
struct Side {
  std::vector<ListedEntry> dirs;
  std::vector<QString> refused;  // by subdirectory: empty, or why
  bool flagged = false;
  bool listed = false;
  // The plain files, as the comparison lists them (no attributes), when they are kept,
  // and the directory they were listed in.
  std::vector<ListedEntry> files;
  std::optional<FileInfo> listed_in;
};

Side read_side(OpenDirectory* dir, bool keep_files) {
  static const QString flag_key = name_key(text::no_tenzor_flag);
  Side side;
  if (!dir) return side;  // the side where the branch is missing lists nothing
  side.listed = true;
  if (keep_files) {
    try {
      side.listed_in = dir->self();
    } catch (const FileError&) {
      keep_files = false;  // files of an unknown directory are of no use
    }
  }
  for (ListedEntry& entry : dir->entries(attr::directory | attr::link)) {
    if (entry.name.startsWith(u'.')) continue;
    if (entry.attributes & attr::directory) {
      // A link to a directory is neither a branch nor a file.
      if (!(entry.attributes & attr::link)) side.dirs.push_back(std::move(entry));
      continue;
    }
    // A link to a file is a file, as the comparison lists it; never the flag.
    if (!(entry.attributes & attr::link) && entry.name.size() == flag_key.size() &&
        name_key(entry.name) == flag_key)
      side.flagged = true;
    if (side.listed_in) {
      entry.attributes = attr::normal;
      side.files.push_back(std::move(entry));
    }
  }
  for (const ListedEntry& entry : side.dirs) {
    QString why;
    try {
      dir->open_subdirectory(entry.raw);
    } catch (const FileError& e) {
      why = e.number_and_description();
    }
    side.refused.push_back(std::move(why));
  }
  return side;
}

// Pairs the subdirectories of a branch's two sides: for each of tree 1's, the index of
// its partner among tree 2's, or -1. The same bytes pair first, then what is left by its
// folded name, the one spelt as in tree 1 first, else the first in byte order; a name
// never pairs twice.
std::vector<int> pair_subdirectories(const Side& side1, const Side& side2) {
  const std::vector<ListedEntry>& dirs1 = side1.dirs;
  const std::vector<ListedEntry>& dirs2 = side2.dirs;
  std::vector<int> partner(dirs1.size(), -1);
  if (dirs2.empty()) return partner;
  std::vector<bool> taken(dirs2.size(), false);
  QHash<QByteArray, int> exactly;
  QHash<QString, std::vector<int>> by_name;
  for (int j = 0; j < static_cast<int>(dirs2.size()); ++j) {
    const ListedEntry& entry = dirs2[static_cast<std::size_t>(j)];
    exactly.insert(entry.raw, j);
    by_name[name_part(entry)].push_back(j);
  }
  for (std::size_t i = 0; i < dirs1.size(); ++i) {
    const int j = exactly.value(dirs1[i].raw, -1);
    if (j < 0) continue;
    partner[i] = j;
    taken[static_cast<std::size_t>(j)] = true;
  }
  for (std::size_t i = 0; i < dirs1.size(); ++i) {
    if (partner[i] >= 0) continue;
    const auto candidates = by_name.constFind(name_part(dirs1[i]));
    if (candidates == by_name.constEnd()) continue;
    const QString spelt = composed(dirs1[i].name);
    int pick = -1;
    for (const int j : *candidates) {
      if (taken[static_cast<std::size_t>(j)]) continue;
      const ListedEntry& entry = dirs2[static_cast<std::size_t>(j)];
      if (composed(entry.name) == spelt) {
        pick = j;
        break;
      }
      if (pick < 0 || entry.raw < dirs2[static_cast<std::size_t>(pick)].raw) pick = j;
    }
    if (pick < 0) continue;
    partner[i] = pick;
    taken[static_cast<std::size_t>(pick)] = true;
  }
  return partner;
}

// One tree's side of the branches of a level, read in table order, up to the first
// that cannot be read.
struct LevelSide {
  std::vector<Side> sides;
  std::optional<FileError> failed;
  std::size_t failed_at = 0;
  bool failed_opening = false;  // the directory itself, not its listing
  QString failed_path;
  // Branches below the root whose directory opened but could not be listed (one that may
  // be read but not searched), with why: said and not entered, as one that cannot be
  // opened is.
  std::vector<std::pair<std::size_t, QString>> unlisted;

  // Keeps the plain files listed for up to `keep_at_most` names, so that a large level
  // is never held whole.
  void read(BranchTable& table, std::size_t begin, std::size_t end, int side,
            std::size_t keep_at_most) {
    sides.reserve(end - begin);
    std::size_t kept = 0;
    for (std::size_t at = begin; at < end; ++at) {
      if (!table.branches[at].not_compared.isEmpty()) {
        sides.emplace_back();  // never entered
        continue;
      }
      std::shared_ptr<OpenDirectory> dir;
      try {
        dir = table.dir(at, side);
        sides.push_back(read_side(dir.get(), kept < keep_at_most));
        kept += sides.back().files.size();
      } catch (const FileError& e) {
        if (dir && at > 0) {
          unlisted.emplace_back(at, e.number_and_description());
          sides.emplace_back();
          continue;
        }
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
  TreeWalk(EventPump& pump, const std::function<void(const QString&)>& progress, QString& reading,
           bool keep_files)
      : pump_(pump), progress_(progress), reading_(reading), keep_files_(keep_files) {}

  BranchTable run(FileSystem& fs, const QString& root1, const QString& root2) {
    // A root that cannot be read stops the walk, named.
    reading_ = root1;
    std::shared_ptr<OpenDirectory> dir1 = open_root(fs, root1);
    reading_ = root2;
    std::shared_ptr<OpenDirectory> dir2 = open_root(fs, root2);
    table_ = BranchTable(std::move(dir1), std::move(dir2));
    Branch root;
    root.exists1 = table_.dir(0, 1) != nullptr;
    root.exists2 = table_.dir(0, 2) != nullptr;
    root.path1 = root1;
    root.path2 = root2;
    root.scanned = true;
    branches().push_back(std::move(root));
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
    const std::size_t keep =
        keep_files_ && kept_ < names_kept_at_most ? (names_kept_at_most - kept_) / 2 : 0;
    both_at_once([&] { read1.read(table_, begin, end, 1, keep); },
                 [&] { read2.read(table_, begin, end, 2, keep); });
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
    for (const LevelSide* read : {&read1, &read2}) {
      for (const auto& [at, why] : read->unlisted) {
        Branch& branch = branches()[at];
        refuse(branch, read == &read1 ? branch.path1 : branch.path2, why);
      }
    }
    for (std::size_t at = begin; at < end; ++at) {
      list(at, read1.sides[at - begin], read2.sides[at - begin]);
      branches()[at].scanned = true;
    }
  }

  void list(std::size_t at, Side& side1, Side& side2) {
    if (!branches()[at].not_compared.isEmpty()) return;
    keep_files(at, side1, side2);
    // Held by value: adding branches moves the table.
    const QString path1 = walk_name(branches()[at].path1);
    const QString path2 = walk_name(branches()[at].path2);
    branches()[at].flagged1 = side1.flagged;
    branches()[at].flagged2 = side2.flagged;
    if (side1.flagged || side2.flagged) return;  // the pair stays, its subdirectories not

    const std::vector<int> partner = pair_subdirectories(side1, side2);
    std::vector<bool> paired(side2.dirs.size(), false);
    show(path1);
    for (std::size_t i = 0; i < side1.dirs.size(); ++i) {
      const ListedEntry& entry = side1.dirs[i];
      const int j = partner[i];
      const ListedEntry* other = j >= 0 ? &side2.dirs[static_cast<std::size_t>(j)] : nullptr;
      Branch branch = child(at, entry, other ? *other : entry);
      branch.exists1 = true;
      branch.exists2 = other != nullptr;
      if (other) paired[static_cast<std::size_t>(j)] = true;
      refuse(branch, branch.path1, side1.refused[i]);
      if (other) refuse(branch, branch.path2, side2.refused[static_cast<std::size_t>(j)]);
      branches().push_back(std::move(branch));
    }

    show(path2);
    for (std::size_t j = 0; j < side2.dirs.size(); ++j) {
      if (paired[j]) continue;
      const ListedEntry& entry = side2.dirs[j];
      Branch branch = child(at, entry, entry);
      branch.exists2 = true;
      refuse(branch, branch.path2, side2.refused[j]);
      branches().push_back(std::move(branch));
    }
  }

  // Only for a pair that will be compared: both sides there and neither flagged.
  void keep_files(std::size_t at, Side& side1, Side& side2) {
    if (!side1.listed_in || !side2.listed_in || side1.flagged || side2.flagged) return;
    const std::size_t names = side1.files.size() + side2.files.size();
    if (kept_ + names > names_kept_at_most) return;
    kept_ += names;
    table_.keep_files(at, 1, std::move(side1.files), *side1.listed_in);
    table_.keep_files(at, 2, std::move(side2.files), *side2.listed_in);
  }

  // A side that cannot be entered keeps the whole branch out, said with its path.
  static void refuse(Branch& branch, const QString& path, const QString& why) {
    if (why.isEmpty() || !branch.not_compared.isEmpty()) return;
    branch.not_compared = not_compared_because(path, why);
    branch.scanned = true;
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

  // Names of 100 bytes and more each, held while the walk goes on: past a few megabytes
  // a large tree's branches are listed again when compared rather than held.
  static constexpr std::size_t names_kept_at_most = std::size_t{1} << 15;

  EventPump& pump_;
  const std::function<void(const QString&)>& progress_;
  QString& reading_;
  const bool keep_files_;
  std::size_t kept_ = 0;
  BranchTable table_;
};

}  // namespace

BranchTable::BranchTable(std::shared_ptr<OpenDirectory> root1, std::shared_ptr<OpenDirectory> root2)
    : roots_{std::move(root1), std::move(root2)} {}

void BranchTable::set_root(int side, std::shared_ptr<OpenDirectory> root) {
  roots_[side - 1] = std::move(root);
  chain_[side - 1].clear();
}

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

std::vector<std::pair<std::size_t, std::shared_ptr<OpenDirectory>>> BranchTable::way_to(
    std::size_t at, int side) {
  std::vector<std::pair<std::size_t, std::shared_ptr<OpenDirectory>>> way{{0, roots_[side - 1]}};
  if (at == 0) return way;
  // Leaves the chain as the way to the parent.
  if (!dir(static_cast<std::size_t>(branches[at].parent), side)) return {};
  const auto& chain = chain_[side - 1];
  way.insert(way.end(), chain.begin(), chain.end());
  return way;
}

std::shared_ptr<const std::vector<ListedEntry>> BranchTable::files(std::size_t at, int side,
                                                                   OpenDirectory& dir) {
  const auto& kept = files_[side - 1];
  if (at >= kept.size() || !kept[at].files) return nullptr;
  try {
    // A directory put in the branch's place since holds other files.
    if (!dir.self().same_file(kept[at].listed_in)) return nullptr;
  } catch (const FileError&) {
    return nullptr;
  }
  return kept[at].files;
}

void BranchTable::keep_files(std::size_t at, int side, std::vector<ListedEntry> files,
                             const FileInfo& listed_in) {
  auto& kept = files_[side - 1];
  if (kept.size() <= at) kept.resize(at + 1);
  kept[at] = {std::make_shared<const std::vector<ListedEntry>>(std::move(files)), listed_in};
}

void BranchTable::drop_files(std::size_t at) {
  for (auto& kept : files_)
    if (at < kept.size()) kept[at] = {};
}

bool holds_name(OpenDirectory& dir, const QByteArray& name) {
  // A link that reaches nothing (dangling, or a loop) is never listed, yet takes the name.
  if (dir.exists(name)) return true;
  const QString wanted = name_part(display_name(name), name);
  for (const ListedEntry& entry : dir.entries(attr::directory | attr::hidden | attr::system)) {
    // A directory of another case is a twin's partner, not this name's.
    if (entry.attributes & attr::directory) continue;
    if (name_part(entry) == wanted) return true;
  }
  return false;
}

BranchTable walk_trees(FileSystem& fs, const QString& root1, const QString& root2, EventPump& pump,
                       const std::function<void(const QString&)>& progress, QString& reading,
                       bool keep_files) {
  return TreeWalk(pump, progress, reading, keep_files).run(fs, root1, root2);
}

}  // namespace tz
