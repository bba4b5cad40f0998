#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "platform/services.h"

namespace tz {

// One pair of directories at the same relative place in the two trees.
struct Branch {
  // The side's directory was there, and could be opened as a directory of its own.
  bool exists1 = false, exists2 = false;
  // Drive form, for messages and for creating a missing side: the parent's path, `\`
  // and the name (the side's own name where it exists, else the other side's). The
  // root keeps the pane path as given.
  QString path1, path2;
  // Its subdirectories have been listed.
  bool scanned = false;
  // The branch this one lies in (its position in the table; -1 for the root), and the
  // exact on-disk name on each side: the name found there, or for a missing side the
  // name it would be created with.
  std::ptrdiff_t parent = -1;
  QByteArray name1, name2;
  // The flag file lies in the directory of tree 1, of tree 2 (known once scanned).
  bool flagged1 = false, flagged2 = false;
  // Why a directory of the branch that exists cannot be walked or compared, with its
  // path: "C:\a\b (70 Permission denied)". Empty for a branch that can. Such a branch
  // is never listed, offered or compared; it is said.
  QString not_compared;
};

// `path` and why it was not compared, as a "Not compared" line gives them.
inline QString not_compared_because(const QString& path, const QString& why) {
  return path + QStringLiteral(" (") + why + u')';
}

// The branches of two trees, and their directories reached by exact names.
class BranchTable {
 public:
  BranchTable() = default;
  BranchTable(std::shared_ptr<OpenDirectory> root1, std::shared_ptr<OpenDirectory> root2);

  std::vector<Branch> branches;

  // The directory of the branch at `at` on `side` (1 or 2), reached from its root by
  // the exact names of its branch and of every parent, never through a symbolic link;
  // null where the branch is missing on that side. Only the directories on the way to
  // the last one asked for stay open, so that trees of any size fit the process's
  // limit on open files. Throws FileError when one cannot be opened now.
  std::shared_ptr<OpenDirectory> dir(std::size_t at, int side);
  // The root of `side`, once it has been made.
  void set_root(int side, std::shared_ptr<OpenDirectory> root);
  // The directories dir() holds on the way to the branch at `at` on `side`, each with its
  // branch's position: the root first, the branch's parent last. Empty where a side on
  // the way is missing. Throws FileError as dir() does.
  std::vector<std::pair<std::size_t, std::shared_ptr<OpenDirectory>>> way_to(std::size_t at,
                                                                             int side);

  // The plain files of the branch at `at` on `side` as the walk listed them, where it
  // kept them and listed them in `dir`; null otherwise.
  std::shared_ptr<const std::vector<ListedEntry>> files(std::size_t at, int side,
                                                        OpenDirectory& dir);
  void keep_files(std::size_t at, int side, std::vector<ListedEntry> files,
                  const FileInfo& listed_in);
  // Forgets the files of the branch at `at`, once it has been compared.
  void drop_files(std::size_t at);

 private:
  std::shared_ptr<OpenDirectory> roots_[2];
  struct KeptFiles {
    std::shared_ptr<const std::vector<ListedEntry>> files;
    FileInfo listed_in;
  };
  // By branch position; only as long as the table where files are kept.
  std::vector<KeptFiles> files_[2];
  // The last directories opened on each side, root-most first, by branch position.
  std::vector<std::pair<std::size_t, std::shared_ptr<OpenDirectory>>> chain_[2];
};

// True when `dir` holds an entry of any kind named exactly `name`, a link of exactly that
// name that reaches nothing, or a file of that name in another case (a name that is not
// UTF-8 only as the same bytes). A directory in another case does not count: it is a
// twin's partner. Throws FileError when `dir` cannot be read.
bool holds_name(OpenDirectory& dir, const QByteArray& name);

// Walks the trees below `root1` and `root2` level by level into their branches: the
// root pair first, then each level in the order the listings return the names, tree 1's
// subdirectories before tree 2's that tree 1 lacks. Directories pair as files do: the
// same bytes first, then what is left without regard to case (the one spelt as in tree
// 1 first, else the first in byte order); a name never pairs twice, and a twin left over
// is a branch of its own side. Names beginning with "." and hidden ones are skipped, a
// pair where either directory holds the flag file (text::no_tenzor_flag) stays in the
// table without being entered, a directory that cannot be opened stays in it as not
// compared (Branch::not_compared) without being entered, and a symbolic link is no
// directory of the tree.
// `progress` gets "checking dir " and the directory before each listing; events run after
// it. Throws FileError when a directory cannot be read; `reading` then names it.
// With `keep_files`, for a comparison of every branch that follows with nothing changing
// the files meanwhile (a report), the table keeps the plain files of each pair that can be
// compared as listed here, up to a bound on the names held, so that they are not listed
// again.
BranchTable walk_trees(FileSystem& fs, const QString& root1, const QString& root2, EventPump& pump,
                       const std::function<void(const QString&)>& progress, QString& reading,
                       bool keep_files = false);

}  // namespace tz
