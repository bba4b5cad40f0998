#include "compare/matcher.h"

#include <QHash>
#include <QSet>

#include "platform/file_system.h"
#include "platform/name_matching.h"

namespace tz {

QByteArray match_key(const QString& shown, const QByteArray& raw) {
  if (shown.contains(u'\\') && shown.toUtf8() != raw)
    return (QChar(0) + QString::fromLatin1(raw)).toUtf8();
  return name_key(shown).toUtf8();
}

namespace {

bool times_apart(const Seen& file1, const Seen& file2, FileTime one_second) {
  return seconds_apart(file1.modified, file2.modified) > static_cast<quint64>(2 * one_second);
}

// The first place of each key; the keys found more than once go to `clashing`.
QHash<QByteArrayView, int> first_places(const PackedNames& keys, QSet<QByteArray>& clashing) {
  QHash<QByteArrayView, int> first;
  first.reserve(static_cast<qsizetype>(keys.size()));
  for (size_t i = 0; i < keys.size(); ++i) {
    const QByteArrayView key = keys.at(i);
    if (first.contains(key))
      clashing.insert(key.toByteArray());
    else
      first.insert(key, static_cast<int>(i));
  }
  return first;
}

// A twin's exact name, as it pairs with the same name in another normalisation form.
QString exact(const PackedNames& names, size_t i) {
  return composed(display_name(names.name(i)));
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

Matcher::Matcher(const PackedNames& names1, const PackedNames& keys1, const PackedNames& names2,
                 const PackedNames& keys2) {
  // Exact names matter only where names differ in nothing but case.
  QSet<QByteArray> clashing1, clashing2;
  first_places(keys1, clashing1);
  const QHash<QByteArrayView, int> first2 = first_places(keys2, clashing2);
  const bool any_clash = !clashing1.isEmpty() || !clashing2.isEmpty();
  const PackedNames* keys[] = {&keys1, &keys2};
  for (int side = 0; side < 2; ++side) {
    std::vector<uint8_t>& flags = flags_[side];
    flags.assign(keys[side]->size(), 0);
    for (size_t i = 0; i < flags.size(); ++i) {
      const QByteArrayView key = keys[side]->at(i);
      if (key.startsWith('\0')) flags[i] |= not_utf8;
      if (any_clash &&
          (clashing1.contains(key.toByteArray()) || clashing2.contains(key.toByteArray())))
        flags[i] |= clash;
    }
  }
  QHash<QString, std::vector<int>> exact2;  // twins of dir 2 by exact name, in listing order
  for (size_t j = 0; j < names2.size(); ++j)
    if (flags_[1][j] & clash) exact2[exact(names2, j)].push_back(static_cast<int>(j));

  const size_t count1 = names1.size();
  partner_.assign(count1, -1);
  matched2_.assign(names2.size(), false);
  const auto pair = [this](size_t i, int j) {
    partner_[i] = j;
    matched2_[static_cast<size_t>(j)] = true;
  };
  // Among twins the same bytes pair first: "é" composed must not take the partner of
  // its decomposed twin, whichever of them the directory lists first.
  for (size_t i = 0; i < count1; ++i) {
    if (!(flags_[0][i] & clash)) continue;
    for (int j : exact2.value(exact(names1, i))) {
      if (names2.at(static_cast<size_t>(j)) != names1.at(i)) continue;
      pair(i, j);
      break;
    }
  }
  for (size_t i = 0; i < count1; ++i) {
    if (partner_[i] >= 0) continue;
    if (flags_[0][i] & clash) {
      for (int j : exact2.value(exact(names1, i))) {
        if (matched2_[static_cast<size_t>(j)]) continue;
        pair(i, j);
        break;
      }
    } else if (const int j = first2.value(keys1.at(i), -1);
               j >= 0 && !matched2_[static_cast<size_t>(j)]) {
      pair(i, j);
    }
  }
}

std::array<std::vector<int>, 2> Matcher::wanted(bool one_sided) const {
  std::array<std::vector<int>, 2> wanted;
  for (size_t i = 0; i < partner_.size(); ++i) {
    if (partner_[i] >= 0) {
      wanted[0].push_back(static_cast<int>(i));
      wanted[1].push_back(partner_[i]);
    } else if (one_sided) {
      wanted[0].push_back(static_cast<int>(i));
    }
  }
  if (!one_sided) return wanted;
  for (size_t j = 0; j < matched2_.size(); ++j)
    if (!matched2_[j]) wanted[1].push_back(static_cast<int>(j));
  return wanted;
}

QString Matcher::text(int dir, int i, QString shown) const {
  const uint8_t flags = flags_[dir - 1][static_cast<size_t>(i)];
  return flags & (clash | not_utf8) ? shown : std::move(shown).toLower();
}

bool Matcher::sort(const std::vector<Seen>& seen1, const std::vector<Seen>& seen2,
                   const Sorting& how, Lists& lists) const {
  for (size_t i = 0; i < partner_.size(); ++i) {
    if (how.stopped && how.stopped()) return false;
    const int j = partner_[i];
    const Pick pick{static_cast<int>(i), j};
    if (j < 0) {
      lists.of(ListId::List1).push_back(pick);
      continue;
    }
    if (how.check) how.check(pick);
    const Seen& f1 = seen1[i];
    const Seen& f2 = seen2[static_cast<size_t>(j)];
    if (how.lengths_differ && lengths_decide(f1, f2, how.one_second)) how.lengths_differ(pick);
    lists.of(classify(f1, f2, how.one_second)).push_back(pick);
  }
  for (size_t j = 0; j < matched2_.size(); ++j) {
    if (how.stopped && how.stopped()) return false;
    if (!matched2_[j]) lists.of(ListId::List2).push_back(Pick{-1, static_cast<int>(j)});
  }
  return true;
}

}  // namespace tz
