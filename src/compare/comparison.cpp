#include "compare/comparison.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <vector>

#include "compare/matcher.h"
#include "compare/panes.h"
#include "compare/plain_files.h"
#include "core/common.h"
#include "core/context.h"
#include "core/parallel.h"
#include "models/collation.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

// A length as the warning writes it: a blank before a number of 0 or more.
QString signed_number(qint64 n) {
  return n >= 0 ? QStringLiteral(" %1").arg(n) : QString::number(n);
}

// One directory's files, keyed, with the status of those the comparison needs.
struct Side {
  std::shared_ptr<OpenDirectory> dir;
  QString path;                     // names the directory when it cannot be read
  PackedNames names;                // the exact on-disk names, in listing order
  PackedNames keys;                 // what each name is matched by; gone once the names are paired
  std::vector<int> wanted;          // indices into `names`, in the order they are used
  std::vector<Seen> seen;           // by index into `names`; unknown where not read
  std::map<int, FileError> failed;  // why a wanted file's status could not be read
  // The texts a file box shows, where one was made: the lists share them.
  std::vector<QString> shown_shared;

  size_t count() const { return names.size(); }

  void add(const ListedEntry& e) {
    keys.append(match_key(e.name, e.raw));
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

// The lists' side of the matcher: what an entry shows and holds, and the warning.
class Sorted {
 public:
  Sorted(Context& ctx, Side& side1, Side& side2, bool one_sided_status)
      : ctx_(ctx),
        side1_(side1),
        side2_(side2),
        matcher_(side1.names, side1.keys, side2.names, side2.keys) {
    // Only the pairs are needed from here on.
    side1_.keys = PackedNames();
    side2_.keys = PackedNames();
    std::array<std::vector<int>, 2> wanted = matcher_.wanted(one_sided_status);
    side1_.wanted = std::move(wanted[0]);
    side2_.wanted = std::move(wanted[1]);
  }

  // Sorts the files into `lists`. Returns false when the window was closed meanwhile.
  bool run(Lists& lists, QString& reading) {
    const Globals& g = ctx_.globals();
    Matcher::Sorting how;
    how.one_second = g.GLB_one_second;
    how.stopped = [&g] { return g.GLB_closing; };
    how.check = [this, &reading](Pick pick) {
      side1_.check(pick.i1, reading);
      side2_.check(pick.i2, reading);
    };
    how.lengths_differ = [this](Pick pick) {
      warn_lengths(matcher_.text(2, pick.i2, side2_.shown(pick.i2)),
                   side1_.seen[static_cast<size_t>(pick.i1)].length,
                   side2_.seen[static_cast<size_t>(pick.i2)].length);
    };
    return matcher_.sort(side1_.seen, side2_.seen, how, lists);
  }

  // What a list shows for `pick`.
  QString text(Pick pick) const {
    return pick.i1 >= 0 ? matcher_.text(1, pick.i1, side1_.shown(pick.i1))
                        : matcher_.text(2, pick.i2, side2_.shown(pick.i2));
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
  void warn_lengths(const QString& m, qint64 l1, qint64 l2) {
    const QString lf = QStringLiteral("\n");
    ctx_.message(text::length_warning_start + m.toUpper() + text::length_warning_middle + lf + lf +
                     text::bytes_in_dir1 + signed_number(l1) + lf + text::bytes_in_dir2 +
                     signed_number(l2) + lf + lf + text::larger_is_newer,
                 Buttons::Ok, Icon::Exclamation);
  }

  Context& ctx_;
  Side& side1_;
  Side& side2_;
  Matcher matcher_;
};

// One list after the other, each made from its picks and handed on at once: only one
// list's entries exist beside those the window holds.
void fill(WindowModel& w, std::array<NameList, 5>* names_only, Lists& lists, const Sorted& sorted) {
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
      for (Pick pick : picks) texts.push_back(sorted.text(pick));
      const std::vector<size_t> order = collation::order(texts);
      texts = std::vector<QString>();  // `= {}` would keep the room
      NameList& names = (*names_only)[static_cast<size_t>(list_number(id) - 1)];
      for (size_t at : order) names.append(sorted.name(picks[at]));
      continue;
    }
    std::vector<Entry> entries;
    entries.reserve(picks.size());
    for (Pick pick : picks) entries.push_back(sorted.entry(pick));
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
    start_in_pool([reading = reading_, i, dir = i == 0 ? pair_.dir1 : pair_.dir2,
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
  BusyScope busy(common);
  try {
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
      busy.show();
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
      Sorted sorted(ctx_, side1, side2, !read_only_);
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
        finished = sorted.run(lists, reading);
      } catch (const FileError& e) {
        failed = e;
      }
      if (finished && names_) {
        // Names only: the status of the files has done its part once they are sorted.
        side1.seen = std::vector<Seen>();
        side2.seen = std::vector<Seen>();
      }
      if (finished) fill(w, names_, lists, sorted);
      // The file boxes get what was read, whatever became of the lists.
      give_file_boxes(side1, side2, panes_, box_wanted);
      if (failed) throw *failed;
      if (!finished) outcome = Outcome::stopped;  // the window was closed: the program is ending
    }
  } catch (const FileError& error) {
    // Half a comparison would show the files not yet reached as "only in dir 2", and
    // aligning from that could copy an older file over a newer one: the lists stay
    // empty and the message says what could not be read.
    busy.release();
    common.show_stopped(text::comparison_stopped, reading, error, text::comparison_stopped_end);
    outcome = Outcome::stopped;
  }
  g.GLB_difference_found = w.difference_count() > 0 || names_differ();
  return outcome;
}

bool Comparison::names_differ() const {
  if (!names_) return false;
  for (int list = 1; list <= 4; ++list)
    if ((*names_)[static_cast<size_t>(list - 1)].size() > 0) return true;
  return false;
}

Comparison::Outcome Comparison::bot_compare_Click() {
  const BusyScope busy(ctx_.common());
  ctx_.globals().GLB_mismatch_text.clear();
  const Outcome outcome = compare_dirs();
  set_default_comment();
  return outcome;
}

void Comparison::set_default_comment() {
  WindowModel& w = ctx_.window();
  w.lab_drag_drop.set_caption(w.difference_count() > 0 ? text::default_hint : QString());
}

}  // namespace tz
