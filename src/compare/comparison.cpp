#include "compare/comparison.h"

#include <QHash>
#include <QSet>
#include <QThreadPool>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <vector>

#include "compare/panes.h"
#include "compare/plain_files.h"
#include "core/common.h"
#include "core/context.h"
#include "core/parallel.h"
#include "core/texts.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

struct Name {
  ListedEntry listed;
  QString key;  // what names are matched by
};

// Names are matched by their folded, composed form; a name that is not valid UTF-8
// matches only the same bytes (its shown form is no name another file could have).
QString match_key(const ListedEntry& e) {
  if (e.name.contains(u'\\') && e.name.toUtf8() != e.raw)
    return QChar(0) + QString::fromLatin1(e.raw);
  return name_key(e.name);
}

std::vector<Name> keyed(std::vector<ListedEntry> listed) {
  std::vector<Name> names;
  names.reserve(listed.size());
  for (ListedEntry& e : listed) {
    QString key = match_key(e);
    names.push_back(Name{std::move(e), std::move(key)});
  }
  return names;
}

// A length as the warning writes it: a blank before a number of 0 or more.
QString signed_number(qint64 n) {
  return n >= 0 ? QStringLiteral(" %1").arg(n) : QString::number(n);
}

// The five lists under construction; they reach the window in one fill each.
struct Lists {
  std::vector<Entry> only1, only2, newer1, newer2, aligned;

  // Room for the most each list can get, so that filling never moves what it holds;
  // pages that stay unused are never touched.
  Lists(size_t count1, size_t count2) {
    only1.reserve(count1);
    only2.reserve(count2);
    for (std::vector<Entry>* both : {&newer1, &newer2, &aligned})
      both->reserve(std::min(count1, count2));
  }

  std::vector<Entry>& of(ListId id) {
    std::vector<Entry>* by_number[] = {&only1, &only2, &newer1, &newer2, &aligned};
    return *by_number[list_number(id) - 1];
  }

  void fill(WindowModel& w) {
    w.List1.assign(std::move(only1));
    w.List2.assign(std::move(only2));
    w.List3.assign(std::move(newer1));
    w.List4.assign(std::move(newer2));
    w.List5.assign(std::move(aligned));
  }
};

// One directory's files, keyed, with the status of those the comparison needs.
struct Side {
  std::shared_ptr<OpenDirectory> dir;
  QString path;  // names the directory when it cannot be read
  std::vector<Name> names;
  std::vector<int> wanted;          // indices into `names`, in the order they are used
  std::vector<Seen> seen;           // by index into `names`, for those wanted
  std::map<int, FileError> failed;  // why a wanted file's status could not be read

  // Reads the status of the files wanted; a file that cannot be read fails only when
  // the lists come to it.
  void read_status() {
    seen.resize(names.size());
    for (int i : wanted) {
      const size_t at = static_cast<size_t>(i);
      try {
        seen[at] = dir->info(names[at].listed.raw);
      } catch (const FileError& e) {
        failed.emplace(i, e);
      }
    }
  }

  // The side's files as the file box of pane `pane`.
  FileBox file_box(int pane) const {
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      Entry entry{names[i].listed.name, std::nullopt, std::nullopt};
      entry.side(pane) = FileRef{dir, names[i].listed.raw, seen[i]};
      entries.push_back(std::move(entry));
    }
    return tz::file_box(dir, std::move(entries));
  }

  FileRef file(int i, QString& reading) const {
    const size_t at = static_cast<size_t>(i);
    const ListedEntry& name = names[at].listed;
    if (!failed.empty()) {
      if (const auto error = failed.find(i); error != failed.end()) {
        // Named only when it failed: a path for each of 100,000 files would cost time.
        reading = dir->path() + name.name;
        throw error->second;
      }
    }
    return FileRef{dir, name.raw, seen[at]};
  }

  // A file found on this side only goes to its list whatever its status: one that could
  // not be read is held by its name, and an action reads it again.
  FileRef one_sided_file(int i) const {
    const size_t at = static_cast<size_t>(i);
    if (!failed.empty() && failed.count(i) > 0) return FileRef{dir, names[at].listed.raw, {}};
    return FileRef{dir, names[at].listed.raw, seen[at]};
  }
};

// Matches the names of dir 1 with those of dir 2 and sorts them into the lists.
//
// Names are matched with letter case ignored, and an entry shows the name in lower
// case. A directory on a case-sensitive file system may hold several names that differ
// only in case ("Notes.txt" and "notes.txt"). Such a group cannot be told apart in
// lower case, and pairing it by case-folded name would compare a file with the wrong
// partner. So for any name whose folded form occurs more than once in either
// directory, the names keep their exact case as entries and pair only with the same
// exact name on the other side: the same bytes first, then the same name written in
// another normalisation form. Every entry carries the exact names of its files, so
// whatever it shows, an action reaches exactly those.
//
// Matching needs the names only; the status of the files is then read for both sides at
// once, and the lists are filled in the order of dir 1's names, then dir 2's left over,
// as reading one file after another would.
class Matcher {
 public:
  Matcher(Context& ctx, Side& side1, Side& side2, bool one_sided_status)
      : ctx_(ctx), one_sided_status_(one_sided_status), side1_(side1), side2_(side2) {
    const std::vector<Name>& names1 = side1_.names;
    const std::vector<Name>& names2 = side2_.names;
    count1_.reserve(static_cast<qsizetype>(names1.size()));
    for (const Name& n : names1) ++count1_[n.key];
    first2_.reserve(static_cast<qsizetype>(names2.size()));
    for (int j = 0; j < static_cast<int>(names2.size()); ++j) {
      const Name& n = names2[static_cast<size_t>(j)];
      if (first2_.contains(n.key))
        clashing2_.insert(n.key);
      else
        first2_.insert(n.key, j);
    }
    // Exact names matter only where names differ in nothing but case.
    for (auto it = count1_.cbegin(); it != count1_.cend(); ++it)
      if (it.value() > 1) clashing1_.insert(it.key());
    for (int j = 0; j < static_cast<int>(names2.size()); ++j) {
      const Name& n = names2[static_cast<size_t>(j)];
      if (clashes(n.key)) exact2_[exact(n.listed.name)].push_back(j);
    }
    pair_names();
  }

  // Sorts every name of dir 1, then those of dir 2 left over. Returns false when the
  // window was closed meanwhile.
  bool run(Lists& lists, QString& reading) {
    const Globals& g = ctx_.globals();
    for (size_t i = 0; i < side1_.names.size(); ++i) {
      if (g.GLB_closing) return false;
      const Name& n1 = side1_.names[i];
      const bool clash = clashes(n1.key);
      const QString text = entry_text(n1, clash);
      const int j = partner_[i];
      if (j < 0) {
        lists.only1.push_back(Entry{text, one_sided(side1_, static_cast<int>(i)), {}});
        continue;
      }
      Entry entry{text, side1_.file(static_cast<int>(i), reading), side2_.file(j, reading)};
      const Seen& f1 = entry.side1->seen;
      const Seen& f2 = entry.side2->seen;
      if (lengths_decide(f1, f2, g.GLB_one_second)) {
        const Name& n2 = side2_.names[static_cast<size_t>(j)];
        warn_lengths(entry_text(n2, clash), f1.length, f2.length);
      }
      lists.of(classify(f1, f2, g.GLB_one_second)).push_back(std::move(entry));
    }
    for (size_t j = 0; j < side2_.names.size(); ++j) {
      if (g.GLB_closing) return false;
      if (matched2_[j]) continue;
      const Name& n = side2_.names[j];
      lists.only2.push_back(
          Entry{entry_text(n, clashes(n.key)), {}, one_sided(side2_, static_cast<int>(j))});
    }
    return true;
  }

 private:
  static QString exact(const QString& name) { return composed(name); }

  // Pairs each name of dir 1 with its partner in dir 2, if any, and notes which files'
  // status the lists will need, in the order they need them.
  void pair_names() {
    const std::vector<Name>& names1 = side1_.names;
    const std::vector<Name>& names2 = side2_.names;
    partner_.assign(names1.size(), -1);
    matched2_.assign(names2.size(), false);
    const auto pair = [this](size_t i, int j) {
      partner_[i] = j;
      matched2_[static_cast<size_t>(j)] = true;
    };
    // Among twins the same bytes pair first: "é" composed must not take the partner of
    // its decomposed twin, whichever of them the directory lists first.
    for (size_t i = 0; i < names1.size(); ++i) {
      const Name& n1 = names1[i];
      if (!clashes(n1.key)) continue;
      for (int j : exact2_.value(exact(n1.listed.name))) {
        if (names2[static_cast<size_t>(j)].listed.raw != n1.listed.raw) continue;
        pair(i, j);
        break;
      }
    }
    for (size_t i = 0; i < names1.size(); ++i) {
      const Name& n1 = names1[i];
      if (partner_[i] >= 0) continue;
      if (clashes(n1.key)) {
        for (int j : exact2_.value(exact(n1.listed.name))) {
          if (matched2_[static_cast<size_t>(j)]) continue;
          pair(i, j);
          break;
        }
      } else if (const int j = first2_.value(n1.key, -1);
                 j >= 0 && !matched2_[static_cast<size_t>(j)]) {
        pair(i, j);
      }
    }
    for (size_t i = 0; i < names1.size(); ++i) {
      if (partner_[i] >= 0) {
        side1_.wanted.push_back(static_cast<int>(i));
        side2_.wanted.push_back(partner_[i]);
      } else if (one_sided_status_) {
        side1_.wanted.push_back(static_cast<int>(i));
      }
    }
    if (!one_sided_status_) return;
    for (size_t j = 0; j < matched2_.size(); ++j)
      if (!matched2_[j]) side2_.wanted.push_back(static_cast<int>(j));
  }

  FileRef one_sided(const Side& side, int i) const {
    if (one_sided_status_) return side.one_sided_file(i);
    return FileRef{side.dir, side.names[static_cast<size_t>(i)].listed.raw, {}};
  }

  // Names that are not valid UTF-8 are shown as they are: their escapes are no case.
  static QString entry_text(const Name& n, bool clash) {
    return clash || n.key.startsWith(QChar(0)) ? n.listed.name : n.listed.name.toLower();
  }

  bool clashes(const QString& key) const {
    return (!clashing1_.isEmpty() && clashing1_.contains(key)) ||
           (!clashing2_.isEmpty() && clashing2_.contains(key));
  }

  void warn_lengths(const QString& m, qint64 l1, qint64 l2) {
    const QString lf = QStringLiteral("\n");
    ctx_.message(text::length_warning_start + m.toUpper() + text::length_warning_middle + lf + lf +
                     text::bytes_in_dir1 + signed_number(l1) + lf + text::bytes_in_dir2 +
                     signed_number(l2) + lf + lf + text::larger_is_newer,
                 Buttons::Ok, Icon::Exclamation);
  }

  Context& ctx_;
  const bool one_sided_status_;
  Side& side1_;
  Side& side2_;
  QHash<QString, int> count1_, first2_;
  QHash<QString, std::vector<int>> exact2_;  // twins of dir 2 by exact name, in listing order
  QSet<QString> clashing1_, clashing2_;
  std::vector<int> partner_;  // by name of dir 1: its partner's index in dir 2, or -1
  std::vector<bool> matched2_;
};

// Reading fewer files than this, a second thread costs more time than it saves.
constexpr size_t files_worth_a_thread = 500;

// Runs `step` for both sides, at once (dir 1's here) when `at_once`. When both fail,
// dir 1's failure is the one reported, as reading one side after the other would;
// `reading` then names what was being read on that side.
void on_both_sides(Side& side1, Side& side2, QString& reading, bool at_once,
                   const std::function<void(Side&)>& step) {
  std::optional<FileError> failed1, failed2;
  const auto guarded = [&step](Side& side, std::optional<FileError>& failed) {
    try {
      step(side);
    } catch (const FileError& e) {
      failed = e;
    }
  };
  const auto here = [&] { guarded(side1, failed1); };
  const auto beside = [&] { guarded(side2, failed2); };
  if (at_once) {
    both_at_once(here, beside);
  } else {
    here();
    beside();
  }
  for (auto [side, failed] : {std::pair{&side1, &failed1}, std::pair{&side2, &failed2}}) {
    if (!*failed) continue;
    reading = side->path;
    throw **failed;
  }
}

// Reaches both directories here, then lists them each on a thread of its own: the two
// sides have nothing in common until their names are matched. Waking a thread costs as
// much as reading a few dozen files, so a tree's branches, most of them small, are
// listed one side after the other.
void list_sides(FileSystem& fs, const Globals& g, const OpenPair* open, Side& side1, Side& side2,
                QString& reading) {
  PendingFiles pending[2];
  for (int dir = 1; dir <= 2; ++dir) {
    Side& side = dir == 1 ? side1 : side2;
    const std::shared_ptr<OpenDirectory>* held = nullptr;
    if (open) held = dir == 1 ? &open->dir1 : &open->dir2;
    side.path = reading = held ? (*held)->path() : dir == 1 ? g.GLB_path1 : g.GLB_path2;
    pending[dir - 1] = held ? open_plain_files(*held) : open_plain_files(fs, side.path);
    side.dir = pending[dir - 1].dir;
    if (!held) continue;
    if (const auto& files = dir == 1 ? open->files1 : open->files2)
      pending[dir - 1].list = [files] { return *files; };
  }
  on_both_sides(side1, side2, reading, !open, [&pending, &side1](Side& side) {
    side.names = keyed(pending[&side == &side1 ? 0 : 1].list());
  });
}

// Reads the status of the files each side wants, both sides at once when there are
// enough of them. With `panes`, a pane whose file box waits to be read gets the files of
// its side as its file box.
void read_wanted(Side& side1, Side& side2, QString& reading, Panes* panes) {
  const bool box_wanted[2] = {panes && panes->file_box_unread(1),
                              panes && panes->file_box_unread(2)};
  FileBox boxes[2];
  const size_t wanted = side1.wanted.size() + side2.wanted.size();
  on_both_sides(side1, side2, reading, wanted >= files_worth_a_thread, [&](Side& side) {
    side.read_status();
    const int i = &side == &side1 ? 0 : 1;
    if (box_wanted[i]) boxes[i] = side.file_box(i + 1);
  });
  for (int i = 0; i < 2; ++i)
    if (boxes[i].dir) panes->fill_file_box(i + 1, std::move(boxes[i]));
}

}  // namespace

// Each side listed and every file's status read, each side on a thread of its own.
struct ReadAhead::Reading {
  Side sides[2];
  std::optional<FileError> failed[2];

  void read(int i, const std::shared_ptr<OpenDirectory>& dir,
            const std::shared_ptr<const std::vector<ListedEntry>>& files) {
    Side& side = sides[i];
    side.dir = dir;
    side.path = dir->path();
    try {
      side.names = keyed(files ? *files : open_plain_files(dir).list());
    } catch (const FileError& e) {
      failed[i] = e;
      return;
    }
    side.wanted.resize(side.names.size());
    std::iota(side.wanted.begin(), side.wanted.end(), 0);
    side.read_status();
    side.wanted.clear();
  }

  // Hands over what was read; throws what stopped a listing, dir 1's first.
  void take(Side& side1, Side& side2, QString& reading) {
    for (int i = 0; i < 2; ++i) {
      if (!failed[i]) continue;
      reading = sides[i].path;
      throw *failed[i];
    }
    side1 = std::move(sides[0]);
    side2 = std::move(sides[1]);
  }
};

ReadAhead::ReadAhead(OpenPair pair)
    : pair_(std::move(pair)), reading_(std::make_shared<Reading>()) {
  for (int i = 0; i < 2; ++i) {
    auto done = std::make_shared<std::promise<void>>();
    done_[i] = done->get_future();
    QThreadPool::globalInstance()->start([reading = reading_, i,
                                          dir = i == 0 ? pair_.dir1 : pair_.dir2,
                                          files = i == 0 ? pair_.files1 : pair_.files2, done] {
      try {
        reading->read(i, dir, files);
        done->set_value();
      } catch (...) {
        done->set_exception(std::current_exception());
      }
    });
  }
}

ReadAhead::~ReadAhead() {
  for (std::future<void>& done : done_)
    if (done.valid()) done.wait();
}

namespace {

bool times_apart(const Seen& file1, const Seen& file2, FileTime one_second) {
  return seconds_apart(file1.modified, file2.modified) > static_cast<quint64>(2 * one_second);
}

}  // namespace

bool lengths_decide(const Seen& file1, const Seen& file2, FileTime one_second) {
  return !times_apart(file1, file2, one_second) && file1.length != file2.length;
}

ListId classify(const Seen& file1, const Seen& file2, FileTime one_second) {
  if (times_apart(file1, file2, one_second))
    return file1.modified > file2.modified ? ListId::List3 : ListId::List4;
  if (file1.length == file2.length) return ListId::List5;
  return file1.length > file2.length ? ListId::List3 : ListId::List4;
}

Comparison::Outcome Comparison::compare_dirs(const OpenPair* open, ReadAhead* ahead,
                                             EventTurns* turns) {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  Common& common = ctx_.common();
  FileSystem& fs = ctx_.fs();
  EventPump& pump = ctx_.services().pump;

  const RunScope run(w);
  g.GLB_difference_found = false;
  Outcome outcome = Outcome::compared;
  QString reading;
  try {
    common.show_busy(true);
    const QString pane1 = w.pane1.path();
    const QString pane2 = w.pane2.path();
    // Equal texts, or two paths that reach one directory (a link, a bind mount, two
    // drive letters): comparing a directory with itself would offer to delete the
    // only copy of every file.
    const bool same =
        open ? open->dir1->self().same_file(open->dir2->self()) : common.same_place(pane1, pane2);
    if (same) {
      ctx_.message(text::dirs_equal, Buttons::Ok, Icon::Critical);
      outcome = Outcome::refused;
    } else {
      w.lab_list1.set_caption(text::only_in_dir1);
      w.lab_list2.set_caption(text::only_in_dir2);
      w.lab_list3.set_caption(text::newer_in_dir1);
      w.lab_list4.set_caption(text::newer_in_dir2);
      w.lab_list5.set_caption(text::aligned);
      for (ListId id : aligned_by_button) w.align_button(id).set_visible(true);
      w.bot_cancel.set_enabled(true);
      // One pair of many lets events run only when a turn is due.
      const auto let_events_run = [&pump, turns] {
        if (!turns)
          pump.process_events();
        else if (turns->due())
          turns->run();
      };
      let_events_run();
      w.clear_lists();
      w.file_view = false;
      let_events_run();
      panes_.read_pane_paths();
      if (!g.GLB_loading && !g.GLB_tree_mode && record_pair_) record_pair_();
      common.show_busy(true);
      Side side1, side2;
      const bool read_ahead =
          ahead && open && ahead->pair().dir1 == open->dir1 && ahead->pair().dir2 == open->dir2;
      if (read_ahead) {
        for (std::future<void>& done : ahead->done_) done.get();
        ahead->reading_->take(side1, side2, reading);
      } else {
        list_sides(fs, g, open, side1, side2, reading);
      }
      w.listed_dir1 = side1.dir;
      w.listed_dir2 = side2.dir;
      Matcher matcher(ctx_, side1, side2, !read_only_);
      if (!read_ahead) {
        // A file box waiting to be read holds just what this reads: every file of the
        // pane's directory with its status.
        read_wanted(side1, side2, reading, !open && !read_only_ ? &panes_ : nullptr);
      }
      Lists lists(side1.names.size(), side2.names.size());
      if (matcher.run(lists, reading))
        lists.fill(w);
      else
        outcome = Outcome::stopped;  // the window was closed: the program is ending
    }
  } catch (const FileError& error) {
    // Half a comparison would show the files not yet reached as "only in dir 2", and
    // aligning from that could copy an older file over a newer one: the lists stay
    // empty and the message says what could not be read.
    common.show_busy(false);
    common.show_stopped(text::comparison_stopped, reading, error, text::comparison_stopped_end);
    outcome = Outcome::stopped;
  }
  g.GLB_difference_found = w.difference_count() > 0;
  common.show_busy(false);
  return outcome;
}

Comparison::Outcome Comparison::bot_compare_Click() {
  Common& common = ctx_.common();
  common.show_busy(true);
  ctx_.globals().GLB_mismatch_text.clear();
  const Outcome outcome = compare_dirs();
  set_default_comment();
  common.show_busy(false);
  return outcome;
}

void Comparison::set_default_comment() {
  WindowModel& w = ctx_.window();
  w.lab_drag_drop.set_caption(w.difference_count() > 0 ? text::default_hint : QString());
}

}  // namespace tz
