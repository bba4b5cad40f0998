#include "models/collation.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>
#include <random>

namespace tz::collation {
namespace {

constexpr char16_t first_printable = 0x20;
constexpr char16_t last_printable = 0x7E;
constexpr size_t printable_count = last_printable - first_printable + 1;

// The place of each printable ASCII character in the locale's order, from 1 up;
// characters that collate alike (a letter and its capital) share one.
using AsciiWeights = std::array<uint8_t, printable_count>;

QCollator make_collator(const QLocale& user) {
  // The C locale has no order of its own: Qt would compare code points there and put
  // `é` after `z`. English uses the common order of all languages.
  QCollator collator(user.language() == QLocale::C ? QLocale(QLocale::English) : user);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setNumericMode(false);
  collator.setIgnorePunctuation(false);
  return collator;
}

int compare_with(const QCollator& collator, const QString& a, const QString& b) {
  const int c = collator.compare(a, b);
  if (c != 0) return c;
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool is_printable_ascii(const QString& text) {
  return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
    return c.unicode() >= first_printable && c.unicode() <= last_printable;
  });
}

// The ASCII order key of one text: the weights of its characters, a 0 that ends them
// (so a text sorts before its extensions), then the text itself, which orders texts
// that collate alike exactly as compare() does. A key is never a proper prefix of
// another: where the shorter one has its 0, the longer has a weight.
struct KeyRef {
  uint64_t head;  // 8 bytes past the prefix all keys share, so most comparisons end here
  size_t offset;
  size_t size;
  size_t index;
};

class AsciiKeys {
 public:
  // Keys of texts[i] for each i in `which`; all of them printable ASCII.
  AsciiKeys(const std::vector<QString>& texts, const std::vector<size_t>& which,
            const AsciiWeights& weights) {
    size_t total = 0;
    for (size_t i : which) total += 2 * static_cast<size_t>(texts[i].size()) + 1;
    bytes_.resize(total);
    refs_.reserve(which.size());
    size_t at = 0;
    for (size_t i : which) {
      const QString& t = texts[i];
      const size_t start = at;
      for (QChar c : t) bytes_[at++] = weights[c.unicode() - first_printable];
      bytes_[at++] = 0;
      for (QChar c : t) bytes_[at++] = static_cast<uint8_t>(c.unicode());
      refs_.push_back({0, start, at - start, i});
    }
    // Names in one folder often share a long start ("IMG_2023", "file000"): the heads
    // begin after it.
    if (!refs_.empty()) skip_ = refs_[0].size;
    for (const KeyRef& r : refs_) {
      const uint8_t* first = &bytes_[refs_[0].offset];
      const uint8_t* key = &bytes_[r.offset];
      skip_ = static_cast<size_t>(std::mismatch(first, first + std::min(skip_, r.size), key).first -
                                  first);
    }
    for (KeyRef& r : refs_) {
      for (size_t k = skip_; k < skip_ + 8; ++k)
        r.head = (r.head << 8) | (k < r.size ? bytes_[r.offset + k] : 0);
    }
  }

  std::vector<size_t> sorted() {
    std::sort(refs_.begin(), refs_.end(), [this](const KeyRef& a, const KeyRef& b) {
      if (a.head != b.head) return a.head < b.head;
      return tail_less(a, b);
    });
    std::vector<size_t> out;
    out.reserve(refs_.size());
    for (const KeyRef& r : refs_) out.push_back(r.index);
    return out;
  }

 private:
  // Equal heads: the rest of the keys decide. As no key is a proper prefix of another,
  // a key that ends within the head equals the other one, and zero padding is harmless.
  bool tail_less(const KeyRef& a, const KeyRef& b) const {
    const size_t from = skip_ + 8;
    if (a.size <= from || b.size <= from) return a.size < b.size;
    const size_t n = std::min(a.size, b.size) - from;
    const int c = std::memcmp(&bytes_[a.offset + from], &bytes_[b.offset + from], n);
    return c != 0 ? c < 0 : a.size < b.size;
  }

  std::vector<uint8_t> bytes_;
  std::vector<KeyRef> refs_;
  size_t skip_ = 0;
};

std::optional<AsciiWeights> rank_ascii(const QCollator& collator) {
  std::vector<QString> chars;
  for (char16_t c = first_printable; c <= last_printable; ++c) chars.emplace_back(QChar(c));
  std::stable_sort(chars.begin(), chars.end(),
                   [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  AsciiWeights weights{};
  uint8_t weight = 1;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (i > 0) {
      const int c = collator.compare(chars[i - 1], chars[i]);
      if (c > 0) return std::nullopt;  // not an order at all
      if (c < 0) ++weight;
    }
    weights[chars[i][0].unicode() - first_printable] = weight;
  }
  return weights;
}

// Weights per character give the collator's order only if no ASCII sequence is a unit
// of its own (Czech "ch", Danish "aa"), no character expands or is ignored, and no two
// characters differ only as accents do (Lithuanian `y` beside `i`). Rather than trust a
// list of locales, the weights must reproduce the collator on every text of one or two
// characters, every three-character text of letters and ` '-.`, and random texts.
bool weights_hold(const QCollator& collator, const AsciiWeights& weights) {
  std::vector<QString> sample;
  for (char16_t a = first_printable; a <= last_printable; ++a) {
    sample.emplace_back(QChar(a));
    for (char16_t b = first_printable; b <= last_printable; ++b) {
      const QChar pair[] = {QChar(a), QChar(b)};
      sample.emplace_back(pair, 2);
    }
  }
  const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz '-.");
  for (QChar a : letters)
    for (QChar b : letters)
      for (QChar c : letters) {
        const QChar word[] = {a, b, c};
        sample.emplace_back(word, 3);
      }
  std::mt19937 random(20240417);
  std::uniform_int_distribution<int> length(1, 16);
  std::uniform_int_distribution<int> character(first_printable, last_printable);
  for (int i = 0; i < 4000; ++i) {
    QString text;
    for (int n = length(random); n > 0; --n) text.append(QChar(char16_t(character(random))));
    sample.push_back(text);
  }
  // Sorted by the weights, neighbours must be in the collator's order: both orders are
  // total, so that makes them the same on the whole sample.
  std::vector<size_t> all(sample.size());
  std::iota(all.begin(), all.end(), size_t{0});
  const std::vector<size_t> by_weight = AsciiKeys(sample, all, weights).sorted();
  for (size_t i = 1; i < by_weight.size(); ++i) {
    if (compare_with(collator, sample[by_weight[i - 1]], sample[by_weight[i]]) > 0) return false;
  }
  return true;
}

// The collator of the current locale, and what has been learnt about it. One per
// thread: a QCollator must not be used by two threads at once.
struct LocaleOrder {
  explicit LocaleOrder(const QLocale& user) : locale(user), collator(make_collator(user)) {
    // Qt hands out empty sort keys when it could not open a collator.
    keys_work =
        collator.sortKey(QStringLiteral("a")).compare(collator.sortKey(QStringLiteral("b"))) < 0;
  }

  const AsciiWeights* ascii_weights() {
    if (!ascii_checked) {
      ascii_checked = true;
      ascii = rank_ascii(collator);
      if (ascii && !weights_hold(collator, *ascii)) ascii.reset();
    }
    return ascii ? &*ascii : nullptr;
  }

  QLocale locale;
  QCollator collator;
  bool keys_work = false;
  bool ascii_checked = false;
  std::optional<AsciiWeights> ascii;
};

LocaleOrder& current() {
  thread_local std::unique_ptr<LocaleOrder> order;
  const QLocale user;
  if (!order || order->locale != user) order = std::make_unique<LocaleOrder>(user);
  return *order;
}

// Texts that are not all printable ASCII, sorted by the collator's own keys.
std::vector<size_t> sorted_by_collator(const std::vector<QString>& texts, std::vector<size_t> which,
                                       const LocaleOrder& order) {
  const QCollator& collator = order.collator;
  if (!order.keys_work) {
    std::sort(which.begin(), which.end(),
              [&](size_t a, size_t b) { return compare_with(collator, texts[a], texts[b]) < 0; });
    return which;
  }
  // One key per text, not a collation at every comparison.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(which.size());
  for (size_t i : which) keys.push_back(collator.sortKey(texts[i]));
  std::vector<size_t> at(which.size());
  std::iota(at.begin(), at.end(), size_t{0});
  std::sort(at.begin(), at.end(), [&](size_t a, size_t b) {
    const int c = keys[a].compare(keys[b]);
    return c != 0 ? c < 0 : texts[which[a]] < texts[which[b]];
  });
  for (size_t& k : at) k = which[k];
  return at;
}

}  // namespace

int compare(const QString& a, const QString& b) {
  return compare_with(current().collator, a, b);
}

std::vector<size_t> order(const std::vector<QString>& texts) {
  LocaleOrder& locale_order = current();
  std::vector<size_t> ascii;
  std::vector<size_t> other;
  for (size_t i = 0; i < texts.size(); ++i)
    (is_printable_ascii(texts[i]) ? ascii : other).push_back(i);
  const AsciiWeights* weights = ascii.size() > 1 ? locale_order.ascii_weights() : nullptr;
  if (!weights) {
    other.resize(texts.size());
    std::iota(other.begin(), other.end(), size_t{0});
    return sorted_by_collator(texts, std::move(other), locale_order);
  }
  // Plain ASCII names, the most of most lists, take the fast way; the others their
  // collation keys. Both runs are in compare() order, so a merge by compare() joins them.
  ascii = AsciiKeys(texts, ascii, *weights).sorted();
  if (other.empty()) return ascii;
  other = sorted_by_collator(texts, std::move(other), locale_order);
  std::vector<size_t> out(texts.size());
  const QCollator& collator = locale_order.collator;
  std::merge(ascii.begin(), ascii.end(), other.begin(), other.end(), out.begin(),
             [&](size_t a, size_t b) { return compare_with(collator, texts[a], texts[b]) < 0; });
  return out;
}

}  // namespace tz::collation
