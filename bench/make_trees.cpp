// Makes two directory trees for speed measurements of the tree comparison, each of DIRS
// directories (not counting its root) and FILES files, 5,000 and 100,000 by default: a few
// levels deep, 10 to 20 subdirectories in a directory that has any, files spread over all
// of them. The trees are the same but for five small branches only in tree 1, five only
// in tree 2, and a few hundred files newer or only on one side. Every time is set, so
// what is the same in both trees has the same time, directories included. The layout
// comes from a fixed seed: every run makes the same trees.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

// Which tree an entry is in.
enum class Side { both, one, two };

enum class Kind { same, newer_in_1, newer_in_2, only_in_1, only_in_2 };

struct Dir {
  std::string path;  // relative to the tree's root, empty for the root
  time_t mtime;
  Side side;
};

struct File {
  size_t dir;
  std::string name;
  int length;
  time_t mtime;
  Kind kind;
};

struct Plan {
  std::vector<Dir> dirs;
  std::vector<File> files;
  int branch_dirs = 0;   // per tree, in its own branches
  int branch_files = 0;  // per tree, in its own branches
  int only_files = 0;    // per tree, elsewhere
  int newer_files = 0;   // per tree
};

class Random {
 public:
  uint64_t next() {  // splitmix64
    uint64_t z = (state_ += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
  }
  size_t below(size_t n) { return static_cast<size_t>(next() % n); }

 private:
  uint64_t state_ = 20240601;
};

constexpr int kBranches = 5;        // per tree
constexpr int kBranchSubdirs = 3;   // in each branch
constexpr int kBranchDirFiles = 5;  // in each directory of a branch
constexpr time_t kNow = 1700000000;
constexpr time_t kSpan = 3 * 365 * 86400;  // times spread over the three years before kNow

const char* const kDirWords[] = {"docs",    "src",      "Photos", "music", "archive", "notes",
                                 "build",   "data",     "lib",    "test",  "backup",  "Projects",
                                 "Reports", "Invoices", "mail",   "drafts"};
const char* const kExtensions[] = {"txt", "doc", "jpg", "pdf", "cpp", "h", "odt", "png", "csv"};

template <typename T, size_t N>
const T& pick(Random& rng, const T (&items)[N]) {
  return items[rng.below(N)];
}

std::string join(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : dir + "/" + name;
}

size_t add_dir(Plan& plan, size_t parent, const std::string& name, Side side, Random& rng) {
  plan.dirs.push_back({join(plan.dirs[parent].path, name), kNow - time_t(rng.below(kSpan)), side});
  return plan.dirs.size() - 1;
}

void add_file(Plan& plan, size_t dir, const std::string& name, Kind kind, Random& rng) {
  plan.files.push_back({dir, name, int(rng.below(64)), kNow - time_t(rng.below(kSpan)), kind});
}

// Marks `count` files that are still the same as `kind`.
void mark(Plan& plan, int count, Kind kind, Random& rng) {
  for (int n = 0; n < count;) {
    File& file = plan.files[rng.below(plan.files.size())];
    if (file.kind != Kind::same) continue;
    file.kind = kind;
    ++n;
  }
}

void add_branches(Plan& plan, size_t common_dirs, Side side, Random& rng) {
  const Kind kind = side == Side::one ? Kind::only_in_1 : Kind::only_in_2;
  const char tree = side == Side::one ? '1' : '2';
  char name[64];
  for (int b = 0; b < kBranches; ++b) {
    std::snprintf(name, sizeof name, "branch%c-%d", tree, b);
    std::vector<size_t> branch{add_dir(plan, rng.below(common_dirs), name, side, rng)};
    for (int s = 1; s <= kBranchSubdirs; ++s) {
      std::snprintf(name, sizeof name, "part%d", s);
      branch.push_back(add_dir(plan, branch[0], name, side, rng));
    }
    for (const size_t dir : branch) {
      for (int f = 0; f < kBranchDirFiles; ++f) {
        std::snprintf(name, sizeof name, "item%d.%s", f, pick(rng, kExtensions));
        add_file(plan, dir, name, kind, rng);
      }
    }
  }
  plan.branch_dirs = kBranches * (1 + kBranchSubdirs);
  plan.branch_files = plan.branch_dirs * kBranchDirFiles;
}

// The trees' layout; empty when DIRS or FILES leave no room for the differences.
Plan make_plan(int dir_count, int file_count) {
  Plan plan;
  Random rng;
  plan.newer_files = file_count / 1000 > 1 ? file_count / 1000 : 1;
  plan.only_files = file_count / 2000 > 1 ? file_count / 2000 : 1;
  const int common_dirs = dir_count - kBranches * (1 + kBranchSubdirs);
  const int common_files =
      file_count - kBranches * (1 + kBranchSubdirs) * kBranchDirFiles - plan.only_files;
  if (common_dirs < 1 || common_files < 4 * plan.newer_files) return plan;

  plan.dirs.push_back({"", kNow, Side::both});
  char name[64];
  for (size_t parent = 0; int(plan.dirs.size()) <= common_dirs; ++parent) {
    // Some directories hold only files; the last one waiting always branches, so the
    // walk cannot run dry.
    if (parent + 1 < plan.dirs.size() && rng.below(3) == 0) continue;
    const int fan_out = 10 + int(rng.below(11));
    for (int child = 0; child < fan_out && int(plan.dirs.size()) <= common_dirs; ++child) {
      std::snprintf(name, sizeof name, "%s%02d", pick(rng, kDirWords), child);
      add_dir(plan, parent, name, Side::both, rng);
    }
  }

  const size_t dirs = plan.dirs.size();  // the root and the common ones
  for (int i = 0; i < common_files; ++i) {
    std::snprintf(name, sizeof name, "file%06d.%s", i, pick(rng, kExtensions));
    add_file(plan, rng.below(dirs), name, Kind::same, rng);
  }
  mark(plan, plan.newer_files, Kind::newer_in_1, rng);
  mark(plan, plan.newer_files, Kind::newer_in_2, rng);
  for (int i = 0; i < plan.only_files; ++i) {
    std::snprintf(name, sizeof name, "added%05d.txt", i);
    add_file(plan, rng.below(dirs), name, Kind::only_in_1, rng);
    std::snprintf(name, sizeof name, "extra%05d.txt", i);
    add_file(plan, rng.below(dirs), name, Kind::only_in_2, rng);
  }
  add_branches(plan, dirs, Side::one, rng);
  add_branches(plan, dirs, Side::two, rng);
  return plan;
}

bool make_file(const std::string& path, int length, time_t mtime) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return false;
  const std::string data(static_cast<size_t>(length), 'x');
  bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
  const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ok = ::futimens(fd, times) == 0 && ok;
  return ::close(fd) == 0 && ok;
}

bool in_tree(Side side, int tree) {
  return side == Side::both || (side == Side::one) == (tree == 1);
}

// Writes tree 1 or 2 of `plan` at `root`, which may exist but must be empty.
bool write_tree(const Plan& plan, const std::string& root, int tree) {
  if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) return false;
  for (size_t d = 1; d < plan.dirs.size(); ++d) {
    const Dir& dir = plan.dirs[d];
    if (in_tree(dir.side, tree) && ::mkdir((root + "/" + dir.path).c_str(), 0755) != 0) {
      return false;
    }
  }
  for (const File& file : plan.files) {
    if ((file.kind == Kind::only_in_1 && tree != 1) ||
        (file.kind == Kind::only_in_2 && tree != 2)) {
      continue;
    }
    const bool newer_here = (file.kind == Kind::newer_in_1 && tree == 1) ||
                            (file.kind == Kind::newer_in_2 && tree == 2);
    // A newer file was edited: later and one byte longer.
    const int length = file.length + (newer_here ? 1 : 0);
    const time_t mtime = file.mtime + (newer_here ? 3600 : 0);
    const std::string path = root + "/" + join(plan.dirs[file.dir].path, file.name);
    if (!make_file(path, length, mtime)) return false;
  }
  // Last, as every new entry touches its directory's time.
  for (const Dir& dir : plan.dirs) {
    if (!in_tree(dir.side, tree)) continue;
    const struct timespec times[2] = {{dir.mtime, 0}, {dir.mtime, 0}};
    if (::utimensat(AT_FDCWD, (root + "/" + dir.path).c_str(), times, 0) != 0) return false;
  }
  return true;
}

int number(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && value > 0 && value < 100000000 ? int(value) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int dirs = argc > 3 ? number(argv[3]) : 5000;
  const int files = argc > 4 ? number(argv[4]) : 100000;
  const Plan plan =
      argc >= 3 && argc <= 5 && dirs > 0 && files > 0 ? make_plan(dirs, files) : Plan{};
  if (plan.dirs.empty()) {
    std::fputs(
        "usage: make_trees TREE1 TREE2 [DIRS [FILES]]\n"
        "  DIRS at least 21 (default 5000), FILES at least 105 (default 100000)\n",
        stderr);
    return 2;
  }
  for (int tree = 1; tree <= 2; ++tree) {
    const char* root = argv[tree];
    if (!write_tree(plan, root, tree)) {
      std::fprintf(stderr, "make_trees: cannot write %s: %s\n", root, std::strerror(errno));
      return 1;
    }
  }
  std::printf("each tree: %d directories, %d files\n", dirs, files);
  for (int tree = 1; tree <= 2; ++tree) {
    std::printf(
        "only in tree %d: %d branches of %d directories and %d files, and %d files elsewhere\n",
        tree, kBranches, plan.branch_dirs / kBranches, plan.branch_files / kBranches,
        plan.only_files);
  }
  std::printf("newer in tree 1: %d files; newer in tree 2: %d files\n", plan.newer_files,
              plan.newer_files);
  std::printf("differing entries: %d\n",
              2 * (plan.branch_dirs + plan.branch_files + plan.only_files + plan.newer_files));
  return 0;
}
