#include "platform/name_matching.h"

namespace tz {

namespace {

// Below U+0300 there are no combining marks, so such text is already composed.
bool surely_composed(const QString& name) {
  for (QChar c : name) {
    if (c.unicode() >= 0x300) return false;
  }
  return true;
}

// Advances past one character, keeping surrogate pairs together.
qsizetype next_char(const QString& text, qsizetype at) {
  if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
    return at + 2;
  return at + 1;
}

}  // namespace

QString composed(const QString& name) {
  return surely_composed(name) ? name : name.normalized(QString::NormalizationForm_C);
}

QString name_key(const QString& name) {
  return composed(name).toCaseFolded();
}

bool has_wildcards(const QString& pattern) {
  return pattern.contains(u'*') || pattern.contains(u'?');
}

bool wildcard_match(const QString& pattern_key, const QString& key) {
  // Greedy matching with one backtrack point: the last `*` seen.
  qsizetype p = 0, k = 0;
  qsizetype star = -1, star_k = 0;
  while (k < key.size()) {
    if (p < pattern_key.size() && pattern_key[p] == u'*') {
      star = ++p;
      star_k = k;
    } else if (p < pattern_key.size() && pattern_key[p] == u'?') {
      ++p;
      k = next_char(key, k);
    } else if (p < pattern_key.size() && pattern_key[p] == key[k]) {
      ++p;
      ++k;
    } else if (star >= 0) {
      p = star;
      k = star_k = next_char(key, star_k);
    } else {
      return false;
    }
  }
  while (p < pattern_key.size() && pattern_key[p] == u'*') ++p;
  return p == pattern_key.size();
}

}  // namespace tz
