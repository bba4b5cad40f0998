#include "compare/comparison.h"

#include <QHash>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <array>
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
#include "models/collation.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"
#include "texts/texts.h"

namespace tz {

namespace {

// Names are matched by their folded, composed form; a name that is not valid UTF-8
// matches only the same bytes (its shown form is no name another file could have).
QString match_key(const ListedEntry& e) {
  if (e.name.contains(u'\\') && e.name.toUtf8() != e.raw)
    return QChar(0) + QString::fromLatin1(e.raw);
  return name_key(e.name);
}

// A length as the warning writes it: a blank before a number of 0 or more.
QString signed_number(qint64 n) {
  return n >= 0 ? QStringLiteral(" %1").arg(n) : QString::number(n);
}

// Which of the lists an entry goes to, by its files' places in the two directories (-1:
// none on that side). Entries are made from these only when a list is filled.
struct Pick {
  int i1, i2;
};

// The five lists under construction, one list of picks each.
struct Lists {
  std::vector<Pick> only1, only2, newer1, newer2, aligned;

  std::vector<Pick>& of(ListId id) {
    std::vector<Pick>* by_number[] = {&only1, &only2, &newer1, &newer2, &aligned};
    return *by_number[list_number(id) - 1];
  }
};

// One directory's files, keyed, with the status of those the comparison needs.
struct Side {
  std::shared_ptr<OpenDirectory> dir;
  QString path;       // names the directory when it cannot be read
  PackedNames names;  // the exact on-disk names, in listing order
  // What each name is matched by, in UTF-8 (half the room of UTF-16 for most names); gone
  // once the names are paired.
  PackedNames keys;
  std::vector<int> wanted;          // indices into `names`, in the order they are used
  std::vector<Seen> seen;           // by index into `names`; unknown where not read
  std::map<int, FileError> failed;  // why a wanted file's status could not be read
  // The texts a file box shows, where one was made: the lists share them.
  std::vector<QString> shown_shared;

  size_t count() const { return names.size(); }

  void add(const ListedEntry& e) {
    keys.append(match_key(e).toUtf8());
    names.append(e.raw);
  }
  void add_all(const PendingFiles& pending) {
    pending.each([this](ListedEntry& e) { add(e); });
  }

  QByteArray raw(int i) const { return names.name(static_cast<size_t>(i)); }
  QString shown(int i) const {
    const size_t at = static_cast<size_t>(i);
    return shown_shared.empty() ? display_name(names.name(at)) : shown_shared[at];
  }

  // Reads the status of the files wanted; a file that cannot be read fails only when
  // the lists come to it.
  void read_status() {
    seen.resize(count());
    for (int i : wanted) {
      const size_t at = static_cast<size_t>(i);
      try {
        seen[at] = dir->info(names.name(at));
      } catch (const FileError& e) {
        failed.emplace(i, e);
      }
    }
  }

  // Makes the texts a file box shows, once, for the box and the lists.
  void share_texts() {
    shown_shared.reserve(count());
    for (size_t i = 0; i < count(); ++i) shown_shared.push_back(display_name(names.name(i)));
  }

  // The side's files as a pane's file box, which takes over their names and status.
  FileBox take_file_box() {
    if (shown_shared.empty()) share_texts();
    return tz::file_box(dir, shown_shared, std::move(names), std::move(seen));
  }

  // Throws why the status of file `i`, needed now, could not be read.
  void check(int i, QString& reading) const {
    if (failed.empty()) return;
    if (const auto error = failed.find(i); error != failed.end()) {
      // Named only when it failed: a path for each of 100,000 files would cost time.
      reading = dir->path() + shown(i);
      throw error->second;
    }
  }

  // A file as an entry holds it. One found on this side only goes to its list whatever
  // its status: one that could not be read, or was not read, is held by its name, and an
  // action reads it again.
  FileRef file(int i, const QByteArray& raw) const {
    return FileRef{dir, raw, seen[static_cast<size_t>(i)]};
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
    {
      // Exact names matter only where names differ in nothing but case.
      QHash<QByteArrayView, int> first1;
      first1.reserve(static_cast<qsizetype>(side1_.count()));
      for (size_t i = 0; i < side1_.count(); ++i) {
        const QByteArrayView key = side1_.keys.at(i);
        if (first1.contains(key))
          clashing1_.insert(key.toByteArray());
        else
          first1.insert(key, static_cast<int>(i));
      }
    }
    first2_.reserve(static_cast<qsizetype>(side2_.count()));
    for (size_t j = 0; j < side2_.count(); ++j) {
      const QByteArrayView key = side2_.keys.at(j);
      if (first2_.contains(key))
        clashing2_.insert(key.toByteArray());
      else
        first2_.insert(key, static_cast<int>(j));
    }
    flags1_ = flags(side1_);
    flags2_ = flags(side2_);
    for (size_t j = 0; j < side2_.count(); ++j)
      if (flags2_[j] & clash) exact2_[exact(side2_, j)].push_back(static_cast<int>(j));
    pair_names();
    // Only the pairs and the flags are needed from here on.
    first2_ = {};
    exact2_ = {};
    side1_.keys = PackedNames();
    side2_.keys = PackedNames();
  }

  // Sorts every name of dir 1, then those of dir 2 left over. Returns false when the
  // window was closed meanwhile.
  bool run(Lists& lists, QString& reading) {
    const Globals& g = ctx_.globals();
    for (size_t i = 0; i < side1_.count(); ++i) {
      if (g.GLB_closing) return false;
      const int j = partner_[i];
      if (j < 0) {
        lists.only1.push_back(Pick{static_cast<int>(i), -1});
        continue;
      }
      side1_.check(static_cast<int>(i), reading);
      side2_.check(j, reading);
      const Seen& f1 = side1_.seen[i];
      const Seen& f2 = side2_.seen[static_cast<size_t>(j)];
      if (lengths_decide(f1, f2, g.GLB_one_second))
        warn_lengths(text(side2_, flags2_, j), f1.length, f2.length);
      lists.of(classify(f1, f2, g.GLB_one_second)).push_back(Pick{static_cast<int>(i), j});
    }
    for (size_t j = 0; j < side2_.count(); ++j) {
      if (g.GLB_closing) return false;
      if (!matched2_[j]) lists.only2.push_back(Pick{-1, static_cast<int>(j)});
    }
    return true;
  }

  // What a list shows for `pick`.
  QString text(Pick pick) const {
    return pick.i1 >= 0 ? text(side1_, flags1_, pick.i1) : text(side2_, flags2_, pick.i2);
  }

  // The entry of `pick`. Where both files have one name, the entry holds its bytes once.
  Entry entry(Pick pick) const {
    Entry made{text(pick), std::nullopt, std::nullopt};
    if (pick.i1 >= 0) made.side1 = side1_.file(pick.i1, side1_.raw(pick.i1));
    if (pick.i2 >= 0) {
      const bool same = made.side1 && side2_.names.at(static_cast<size_t>(pick.i2)) ==
                                          QByteArrayView(made.side1->name);
      made.side2 = side2_.file(pick.i2, same ? made.side1->name : side2_.raw(pick.i2));
    }
    return made;
  }

  // The exact name the report gives for `pick`: dir 1's file's where there is one.
  QByteArrayView name(Pick pick) const {
    return pick.i1 >= 0 ? side1_.names.at(static_cast<size_t>(pick.i1))
                        : side2_.names.at(static_cast<size_t>(pick.i2));
  }

 private:
  enum : uint8_t { clash = 1, not_utf8 = 2 };

  std::vector<uint8_t> flags(const Side& side) const {
    std::vector<uint8_t> out(side.count(), 0);
    const bool any_clash = !clashing1_.isEmpty() || !clashing2_.isEmpty();
    for (size_t i = 0; i < side.count(); ++i) {
      const QByteArrayView key = side.keys.at(i);
      if (key.startsWith('\0')) out[i] |= not_utf8;
      if (any_clash &&
          (clashing1_.contains(key.toByteArray()) || clashing2_.contains(key.toByteArray())))
        out[i] |= clash;
    }
    return out;
  }

  static QString exact(const Side& side, size_t i) {
    return composed(side.shown(static_cast<int>(i)));
  }

  // Pairs each name of dir 1 with its partner in dir 2, if any, and notes which files'
  // status the lists will need, in the order they need them.
  void pair_names() {
    const size_t count1 = side1_.count();
    partner_.assign(count1, -1);
    matched2_.assign(side2_.count(), false);
    const auto pair = [this](size_t i, int j) {
      partner_[i] = j;
      matched2_[static_cast<size_t>(j)] = true;
    };
    // Among twins the same bytes pair first: "é" composed must not take the partner of
    // its decomposed twin, whichever of them the directory lists first.
    for (size_t i = 0; i < count1; ++i) {
      if (!(flags1_[i] & clash)) continue;
      for (int j : exact2_.value(exact(side1_, i))) {
        if (side2_.names.at(static_cast<size_t>(j)) != side1_.names.at(i)) continue;
        pair(i, j);
        break;
      }
    }
    for (size_t i = 0; i < count1; ++i) {
      if (partner_[i] >= 0) continue;
      if (flags1_[i] & clash) {
        for (int j : exact2_.value(exact(side1_, i))) {
          if (matched2_[static_cast<size_t>(j)]) continue;
          pair(i, j);
          break;
        }
      } else if (const int j = first2_.value(side1_.keys.at(i), -1);
                 j >= 0 && !matched2_[static_cast<size_t>(j)]) {
        pair(i, j);
      }
    }
    for (size_t i = 0; i < count1; ++i) {
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

  // Names that are not valid UTF-8 are shown as they are: their escapes are no case.
  static QString text(const Side& side, const std::vector<uint8_t>& flags, int i) {
    QString shown = side.shown(i);
    return flags[static_cast<size_t>(i)] & (clash | not_utf8) ? shown : std::move(shown).toLower();
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
  QHash<QByteArrayView, int> first2_;        // views into side2_.keys
  QHash<QString, std::vector<int>> exact2_;  // twins of dir 2 by exact name, in listing order
  QSet<QByteArray> clashing1_, clashing2_;
  std::vector<uint8_t> flags1_, flags2_;  // by name: clash, not_utf8
  std::vector<int> partner_;              // by name of dir 1: its partner's index in dir 2, or -1
  std::vector<bool> matched2_;
};

// One list after the other, each made from its picks and handed on at once: only one
// list's entries exist beside those the window holds.
void fill(WindowModel& w, std::array<NameList, 5>* names_only, Lists& lists,
          const Matcher& matcher) {
  // The longest list first: the entries it is filled from then take no room beside
  // those of the other lists.
  std::array<ListId, 5> by_length = all_lists;
  std::stable_sort(by_length.begin(), by_length.end(), [&lists](ListId a, ListId b) {
    return lists.of(a).size() > lists.of(b).size();
  });
  for (ListId id : by_length) {
    std::vector<Pick> picks = std::move(lists.of(id));
    if (names_only) {
      std::vector<QString> texts;
      texts.reserve(picks.size());
      for (Pick pick : picks) texts.push_back(matcher.text(pick));
      const std::vector<size_t> order = collation::order(texts);
      texts = std::vector<QString>();  // `= {}` would keep the room
      NameList& names = (*names_only)[static_cast<size_t>(list_number(id) - 1)];
      for (size_t at : order) names.append(matcher.name(picks[at]));
      continue;
    }
    std::vector<Entry> entries;
    entries.reserve(picks.size());
    for (Pick pick : picks) entries.push_back(matcher.entry(pick));
    picks = std::vector<Pick>();
    w.list(id).assign(std::move(entries));
  }
}

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
      pending[dir - 1] = listed_plain_files(*held, files);
  }
  on_both_sides(side1, side2, reading, !open,
                [&pending, &side1](Side& side) { side.add_all(pending[&side == &side1 ? 0 : 1]); });
}

// Reads the status of the files each side wants, both sides at once when there are
// enough of them. A side whose pane waits for its file box also makes the texts that box
// will show, for the lists to share.
void read_wanted(Side& side1, Side& side2, QString& reading, const bool (&box_wanted)[2]) {
  const size_t wanted = side1.wanted.size() + side2.wanted.size();
  on_both_sides(side1, side2, reading, wanted >= files_worth_a_thread, [&](Side& side) {
    side.read_status();
    if (box_wanted[&side == &side1 ? 0 : 1]) side.share_texts();
  });
}

// Gives each pane that waits for its file box the files of its side, which are then
// gone from the side. Made once the lists hold their entries, so that the boxes never
// take room beside the entries a list is filled from.
void give_file_boxes(Side& side1, Side& side2, Panes& panes, const bool (&box_wanted)[2]) {
  FileBox boxes[2];
  const auto make = [&](int i) {
    if (box_wanted[i]) boxes[i] = (i == 0 ? side1 : side2).take_file_box();
  };
  const auto box1 = [&make] { make(0); };
  const auto box2 = [&make] { make(1); };
  if (box_wanted[0] && box_wanted[1] && side1.count() + side2.count() >= files_worth_a_thread) {
    both_at_once(box1, box2);
  } else {
    box1();
    box2();
  }
  for (int i = 0; i < 2; ++i)
    if (boxes[i].dir) panes.fill_file_box(i + 1, std::move(boxes[i]));
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
      side.add_all(files ? listed_plain_files(dir, files) : open_plain_files(dir));
    } catch (const FileError& e) {
      failed[i] = e;
      return;
    }
    side.wanted.resize(side.count());
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
      if (names_) names_->fill(NameList());
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
      // A file box waiting to be read holds just what this reads: every file of the
      // pane's directory with its status.
      bool box_wanted[2] = {false, false};
      if (!read_ahead) {
        for (int i = 0; i < 2; ++i)
          box_wanted[i] = !open && !read_only_ && panes_.file_box_unread(i + 1);
        read_wanted(side1, side2, reading, box_wanted);
      }
      Lists lists;
      bool finished = false;
      std::optional<FileError> failed;
      try {
        finished = matcher.run(lists, reading);
      } catch (const FileError& e) {
        failed = e;
      }
      if (finished && names_) {
        // Names only: the status of the files has done its part once they are sorted.
        side1.seen = std::vector<Seen>();
        side2.seen = std::vector<Seen>();
      }
      if (finished) fill(w, names_, lists, matcher);
      // The file boxes get what was read, whatever became of the lists.
      give_file_boxes(side1, side2, panes_, box_wanted);
      if (failed) throw *failed;
      if (!finished) outcome = Outcome::stopped;  // the window was closed: the program is ending
    }
  } catch (const FileError& error) {
    // Half a comparison would show the files not yet reached as "only in dir 2", and
    // aligning from that could copy an older file over a newer one: the lists stay
    // empty and the message says what could not be read.
    common.show_busy(false);
    common.show_stopped(text::comparison_stopped, reading, error, text::comparison_stopped_end);
    outcome = Outcome::stopped;
  }
  g.GLB_difference_found = w.difference_count() > 0 || names_differ();
  common.show_busy(false);
  return outcome;
}

bool Comparison::names_differ() const {
  if (!names_) return false;
  for (int list = 1; list <= 4; ++list)
    if ((*names_)[static_cast<size_t>(list - 1)].size() > 0) return true;
  return false;
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
