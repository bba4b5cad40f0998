#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "models/entry.h"
#include "models/list_id.h"
#include "models/packed_names.h"

namespace tz {

// What a listed name is matched by, in UTF-8 (half the room of UTF-16 for most names): its
// folded, composed form. A name that is not valid UTF-8 (`shown` holds its escapes)
// matches only the same bytes: its shown form is no name another file could have.
QByteArray match_key(const QString& shown, const QByteArray& raw);

// The list a name found on both sides goes to, by the times and lengths of its two
// files: List3 (newer in dir 1), List4 (newer in dir 2) or List5 (aligned). Times more
// than two of `one_second` apart decide; otherwise equal lengths are aligned and the
// larger file counts as newer.
ListId classify(const Seen& file1, const Seen& file2, FileTime one_second);
// True when the two times decide nothing and the lengths differ: the user is warned.
bool lengths_decide(const Seen& file1, const Seen& file2, FileTime one_second);

// The files an entry of a list is made from: their places among each side's names, -1
// where the side has none. Entries are made from these only when a list is filled.
struct Pick {
  int i1, i2;
  bool operator==(const Pick&) const = default;
};

// The five lists under construction, one list of picks each.
struct Lists {
  std::array<std::vector<Pick>, 5> picks;
  std::vector<Pick>& of(ListId id) { return picks[static_cast<size_t>(list_number(id) - 1)]; }
  const std::vector<Pick>& of(ListId id) const {
    return picks[static_cast<size_t>(list_number(id) - 1)];
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
// another normalisation form. A name never pairs twice.
//
// Matching needs the names only; the status of the files is then read for both sides at
// once, and sorted in the order of dir 1's names, then dir 2's left over, as reading one
// file after another would.
class Matcher {
 public:
  // Pairs the names: `names` are each side's exact names, `keys` what each of them is
  // matched by (`match_key`), in the same order. Neither is needed afterwards.
  Matcher(const PackedNames& names1, const PackedNames& keys1, const PackedNames& names2,
          const PackedNames& keys2);

  // The place in dir 2 of the partner of dir 1's name `i`, or -1.
  int partner(size_t i) const { return partner_[i]; }

  // The places of the files whose status sorting needs, dir 1's and dir 2's, in the
  // order it needs them: both files of every pair and, when `one_sided`, also those
  // found on one side only (whose status only an action needs).
  std::array<std::vector<int>, 2> wanted(bool one_sided) const;

  // What a list shows for name `i` of directory `dir` (1 or 2), whose shown form is
  // `shown`: in lower case, but a name with a case twin keeps its case, and a name that
  // is not valid UTF-8 keeps its escapes, which are no case.
  QString text(int dir, int i, QString shown) const;

  // What sorting needs beside the status of the files.
  struct Sorting {
    FileTime one_second = 1;
    // True when sorting is to stop (the window was closed).
    std::function<bool()> stopped;
    // Asked before a pair is sorted; throws why the status of one of its files could
    // not be read.
    std::function<void(Pick)> check;
    // Told of a pair whose times decide nothing and whose lengths differ, before it is
    // sorted.
    std::function<void(Pick)> lengths_differ;
  };
  // Sorts every name of dir 1, then those of dir 2 left over, into `lists`, by the status
  // of their files (by place; only those `wanted` asks for need to be known). Returns
  // false when stopped.
  bool sort(const std::vector<Seen>& seen1, const std::vector<Seen>& seen2, const Sorting& how,
            Lists& lists) const;

 private:
  enum : uint8_t { clash = 1, not_utf8 = 2 };

  std::vector<uint8_t> flags_[2];  // by name of each side: clash, not_utf8
  std::vector<int> partner_;       // by name of dir 1: its partner's place in dir 2, or -1
  std::vector<bool> matched2_;     // by name of dir 2
};

}  // namespace tz
