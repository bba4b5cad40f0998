// The lists' order on 100,000 names: the locale's collation against the plain
// case-folded sort it replaced.
#include <benchmark/benchmark.h>

#include <QLocale>
#include <QString>
#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "models/collation.h"

namespace {

constexpr int name_count = 100000;

std::vector<QString> numbered_names() {
  std::vector<QString> names;
  for (int i = 0; i < name_count; ++i) names.push_back(QString::asprintf("file%06d.txt", i));
  std::shuffle(names.begin(), names.end(), std::mt19937(1));
  return names;
}

std::vector<QString> document_names(int accented_percent) {
  const QStringList words = {"Report",  "invoice", "Minutes", "budget", "Draft",  "notes",
                             "Summary", "letter",  "Photo",   "scan",   "Backup", "agenda"};
  const QStringList accented = {"Résumé", "café",   "Übersicht", "niño",    "Ærø",
                                "crème",  "façade", "Straße",    "Øresund", "élève"};
  const QStringList kinds = {"final", "v2", "copy", "old", "draft", "signed"};
  const QStringList extensions = {".docx", ".pdf", ".txt", ".xlsx", ".jpg", ".odt"};
  std::mt19937 random(2);
  const auto pick = [&](const QStringList& list) {
    return list[static_cast<int>(random() % static_cast<unsigned>(list.size()))];
  };
  std::vector<QString> names;
  for (int i = 0; i < name_count; ++i) {
    const bool accent = static_cast<int>(random() % 100) < accented_percent;
    names.push_back(QStringLiteral("%1 %2-%3 (%4) %5%6")
                        .arg(accent ? pick(accented) : pick(words))
                        .arg(2000 + random() % 25)
                        .arg(1 + random() % 12, 2, 10, QChar('0'))
                        .arg(pick(kinds))
                        .arg(random() % 1000)
                        .arg(pick(extensions)));
  }
  return names;
}

// The order the lists had before: case-folded text, ties by exact text.
std::vector<size_t> folded_order(const std::vector<QString>& texts) {
  std::vector<QString> keys;
  keys.reserve(texts.size());
  for (const QString& t : texts) keys.push_back(t.toCaseFolded());
  std::vector<size_t> order(texts.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int c = QString::compare(keys[a], keys[b]);
    return c != 0 ? c < 0 : texts[a] < texts[b];
  });
  return order;
}

const std::vector<QString>& sample(int kind) {
  static const std::vector<QString> samples[] = {numbered_names(), document_names(0),
                                                 document_names(10), document_names(100)};
  return samples[kind];
}

void set_label(benchmark::State& state) {
  static const char* const labels[] = {"file000123.txt", "documents, ASCII",
                                       "documents, 10% accented", "documents, all accented"};
  state.SetLabel(labels[state.range(0)]);
}

void BM_FoldedSort(benchmark::State& state) {
  const std::vector<QString>& names = sample(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(folded_order(names));
  set_label(state);
}

void BM_CollationOrder(benchmark::State& state) {
  QLocale::setDefault(QLocale(QStringLiteral("en_US")));
  const std::vector<QString>& names = sample(static_cast<int>(state.range(0)));
  tz::collation::order({QStringLiteral("a"), QStringLiteral("b")});  // the one-time set-up
  for (auto _ : state) benchmark::DoNotOptimize(tz::collation::order(names));
  set_label(state);
}

// What the first sort of a run pays once: the locale's ASCII order derived and checked.
void BM_CollationFirstUse(benchmark::State& state) {
  int locale = 0;
  for (auto _ : state) {
    // A different locale each time, so nothing learnt about the last one is reused.
    QLocale::setDefault(QLocale(locale++ % 2 ? QStringLiteral("en_US") : QStringLiteral("en_GB")));
    benchmark::DoNotOptimize(tz::collation::order({QStringLiteral("a"), QStringLiteral("b")}));
  }
}

BENCHMARK(BM_FoldedSort)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollationOrder)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollationFirstUse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
