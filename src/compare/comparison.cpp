#include "compare/comparison.h"

#include <QHash>
#include <QSet>
#include <cstdlib>
#include <vector>

#include "app/common.h"
#include "app/tenzor.h"
#include "app/texts.h"
#include "compare/panes.h"
#include "history/history.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

struct Name {
  QString name;  // as the listing returned it
  QString key;   // name_key(name)
};

std::vector<Name> list_plain_files(FileSystem& fs, const QString& dir) {
  std::vector<Name> names;
  auto listing = fs.list(dir + QStringLiteral("*.*"), attr::normal);
  while (auto entry = listing->next()) {
    QString key = name_key(entry->name);
    names.push_back(Name{std::move(entry->name), std::move(key)});
  }
  return names;
}

// A length as the warning writes it: a blank before a number of 0 or more.
QString signed_number(qint64 n) {
  return n >= 0 ? QStringLiteral(" %1").arg(n) : QString::number(n);
}

// The five lists under construction; they reach the window in one fill each, also
// when the comparison stops half-way.
struct Lists {
  std::vector<QString> only1, only2, newer1, newer2, aligned;

  void fill(WindowModel& w) {
    w.List1.assign(std::move(only1));
    w.List2.assign(std::move(only2));
    w.List3.assign(std::move(newer1));
    w.List4.assign(std::move(newer2));
    w.List5.assign(std::move(aligned));
  }
};

// Matches the names of dir 1 with those of dir 2 and sorts them into the lists.
//
// Names are matched with letter case ignored, and an entry is the name in lower case.
// A directory on a case-sensitive file system may hold several names that differ
// only in case ("Notes.txt" and "notes.txt"). Such a group cannot be told apart in
// lower case, and pairing it by case-folded name would compare a file with the wrong
// partner. So for any name whose folded form occurs more than once in either
// directory, the names keep their exact case as entries and pair only with the same
// exact name on the other side. Each such entry then names exactly one file on each
// side (exact case wins when a path is resolved) and no name stands in two lists.
class Matcher {
 public:
  Matcher(Tenzor& tz, std::vector<Name> names1, std::vector<Name> names2)
      : tz_(tz), names1_(std::move(names1)), names2_(std::move(names2)) {
    count1_.reserve(static_cast<qsizetype>(names1_.size()));
    for (const Name& n : names1_) ++count1_[n.key];
    first2_.reserve(static_cast<qsizetype>(names2_.size()));
    for (int j = 0; j < static_cast<int>(names2_.size()); ++j) {
      const Name& n = names2_[static_cast<size_t>(j)];
      if (first2_.contains(n.key))
        clashing2_.insert(n.key);
      else
        first2_.insert(n.key, j);
    }
    // Exact names matter only where names differ in nothing but case.
    for (auto it = count1_.cbegin(); it != count1_.cend(); ++it)
      if (it.value() > 1) clashing1_.insert(it.key());
    for (int j = 0; j < static_cast<int>(names2_.size()); ++j) {
      const Name& n = names2_[static_cast<size_t>(j)];
      if (clashes(n.key)) exact2_.insert(exact(n.name), j);
    }
    matched2_.assign(names2_.size(), false);
  }

  void run(Lists& lists) {
    const Globals& g = tz_.globals();
    const std::unique_ptr<OpenDirectory> dir1 = tz_.fs().open_directory(g.GLB_path1);
    const std::unique_ptr<OpenDirectory> dir2 = tz_.fs().open_directory(g.GLB_path2);
    for (const Name& n1 : names1_) {
      const bool clash = clashes(n1.key);
      const QString entry = clash ? n1.name : n1.name.toLower();
      const int j = clash ? exact2_.value(exact(n1.name), -1) : first2_.value(n1.key, -1);
      if (j < 0 || matched2_[static_cast<size_t>(j)]) {
        lists.only1.push_back(entry);
        continue;
      }
      const Name& n2 = names2_[static_cast<size_t>(j)];
      // The names as listed, read in the directories that listed them.
      const FileInfo f1 = dir1->info(n1.name);
      const FileInfo f2 = dir2->info(n2.name);
      matched2_[static_cast<size_t>(j)] = true;
      const LocalTime apart = std::llabs(f1.modified - f2.modified);
      if (apart > 2 * g.GLB_one_second) {
        (f1.modified > f2.modified ? lists.newer1 : lists.newer2).push_back(entry);
      } else if (f1.length == f2.length) {
        lists.aligned.push_back(entry);
      } else {
        const QString m = clash ? n2.name : n2.name.toLower();
        warn_lengths(m, f1.length, f2.length);
        (f1.length > f2.length ? lists.newer1 : lists.newer2).push_back(entry);
      }
    }
  }

  // The names of dir 2 not matched so far.
  void collect_unmatched(Lists& lists) const {
    for (size_t j = 0; j < names2_.size(); ++j) {
      if (matched2_[j]) continue;
      const Name& n = names2_[j];
      lists.only2.push_back(clashes(n.key) ? n.name : n.name.toLower());
    }
  }

 private:
  static QString exact(const QString& name) { return composed(name); }

  bool clashes(const QString& key) const {
    return (!clashing1_.isEmpty() && clashing1_.contains(key)) ||
           (!clashing2_.isEmpty() && clashing2_.contains(key));
  }

  void warn_lengths(const QString& m, qint64 l1, qint64 l2) {
    const QString lf = QStringLiteral("\n");
    tz_.message(QString::fromUtf8(text::length_warning_start) + m.toUpper() +
                    QString::fromUtf8(text::length_warning_middle) + lf + lf +
                    QString::fromUtf8(text::bytes_in_dir1) + signed_number(l1) + lf +
                    QString::fromUtf8(text::bytes_in_dir2) + signed_number(l2) + lf + lf +
                    QString::fromUtf8(text::larger_is_newer),
                Buttons::Ok, Icon::Exclamation);
  }

  Tenzor& tz_;
  std::vector<Name> names1_, names2_;
  QHash<QString, int> count1_, first2_, exact2_;
  QSet<QString> clashing1_, clashing2_;
  std::vector<bool> matched2_;
};

}  // namespace

Comparison::Outcome Comparison::compare_dirs() {
  Globals& g = tz_.globals();
  WindowModel& w = tz_.window();
  Common& common = tz_.common();
  FileSystem& fs = tz_.fs();
  EventPump& pump = tz_.services().pump;

  g.GLB_difference_found = false;
  Outcome outcome = Outcome::compared;
  std::unique_ptr<Matcher> matcher;
  Lists lists;
  try {
    common.show_busy(true);
    const QString pane1 = w.pane1.path();
    const QString pane2 = w.pane2.path();
    // Equal texts, or two paths that reach one directory (a link, a bind mount, two
    // drive letters): comparing a directory with itself would offer to delete the
    // only copy of every file.
    if (common.same_place(pane1, pane2)) {
      tz_.message(QString::fromUtf8(text::dirs_equal), Buttons::Ok, Icon::Critical);
      outcome = Outcome::refused;
    } else {
      w.lab_list1.set_caption(QString::fromUtf8(text::only_in_dir1));
      w.lab_list2.set_caption(QString::fromUtf8(text::only_in_dir2));
      w.lab_list3.set_caption(QString::fromUtf8(text::newer_in_dir1));
      w.lab_list4.set_caption(QString::fromUtf8(text::newer_in_dir2));
      w.lab_list5.set_caption(QString::fromUtf8(text::aligned));
      for (int n = 1; n <= 4; ++n) w.align_button(n).set_visible(true);
      w.bot_cancel.set_enabled(true);
      pump.process_events();
      w.clear_lists();
      pump.process_events();
      tz_.panes().read_pane_paths();
      if (!g.GLB_loading && !g.GLB_tree_mode) tz_.history().record_pair();
      common.show_busy(true);
      std::vector<Name> names1 = list_plain_files(fs, g.GLB_path1);
      std::vector<Name> names2 = list_plain_files(fs, g.GLB_path2);
      matcher = std::make_unique<Matcher>(tz_, std::move(names1), std::move(names2));
      matcher->run(lists);
      matcher->collect_unmatched(lists);
      lists.fill(w);
    }
    g.GLB_difference_found = w.difference_count() > 0;
  } catch (const FileError&) {
    // A file that went away or a drive that stopped answering ends the comparison
    // without a message; the lists show how far it came.
    if (matcher) {
      matcher->collect_unmatched(lists);
      lists.fill(w);
    }
    outcome = Outcome::stopped;
  }
  common.show_busy(false);
  return outcome;
}

void Comparison::bot_compare_Click() {
  Common& common = tz_.common();
  common.show_busy(true);
  tz_.globals().GLB_mismatch_text.clear();
  compare_dirs();
  set_default_comment();
  common.show_busy(false);
}

void Comparison::set_default_comment() {
  WindowModel& w = tz_.window();
  w.lab_drag_drop.set_caption(w.difference_count() > 0 ? QString::fromUtf8(text::default_hint)
                                                       : QString());
}

}  // namespace tz
