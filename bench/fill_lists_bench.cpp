// Filling the five lists with the 100,000 entries of a comparison: the models alone, and
// the models with their list boxes in a shown window (offscreen), as at the end of a
// comparison. Each entry holds its two files, as the comparison makes them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "models/file_list.h"
#include "ui/file_list_view.h"

namespace {

constexpr int entry_count = 100000;

// The five lists' entries, in the order a comparison makes them (the directory's, not
// the lists'): 5% only in each directory, 5% newer in each, the rest aligned.
std::vector<std::vector<tz::Entry>> comparison_entries() {
  std::vector<int> numbers(entry_count);
  for (int i = 0; i < entry_count; ++i) numbers[static_cast<size_t>(i)] = i;
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(1));
  std::vector<std::vector<tz::Entry>> lists(5);
  for (int n : numbers) {
    const int kind = n % 20;
    const size_t list = kind == 0 ? 0 : kind == 1 ? 1 : kind == 2 ? 2 : kind == 3 ? 3 : 4;
    const QString text = QString::asprintf("file%06d.txt", n);
    tz::Entry entry{text, {}, {}};
    if (list != 1) entry.side1 = tz::FileRef{nullptr, text.toUtf8(), {}};
    if (list != 0) entry.side2 = tz::FileRef{nullptr, text.toUtf8(), {}};
    lists[list].push_back(std::move(entry));
  }
  return lists;
}

void fill(std::vector<std::unique_ptr<tz::FileList>>& models,
          const std::vector<std::vector<tz::Entry>>& entries) {
  for (size_t i = 0; i < models.size(); ++i) models[i]->assign(entries[i]);
}

void BM_FillModels(benchmark::State& state) {
  const auto entries = comparison_entries();
  std::vector<std::unique_ptr<tz::FileList>> models;
  for (int i = 0; i < 5; ++i) models.push_back(std::make_unique<tz::FileList>());
  for (auto _ : state) {
    state.PauseTiming();
    for (auto& model : models) model->clear();
    state.ResumeTiming();
    fill(models, entries);
  }
}

void BM_FillShownLists(benchmark::State& state) {
  const auto entries = comparison_entries();
  std::vector<std::unique_ptr<tz::FileList>> models;
  for (int i = 0; i < 5; ++i) models.push_back(std::make_unique<tz::FileList>());
  QWidget window;
  for (int i = 0; i < 5; ++i) {
    auto* view = new tz::ui::FileListView(*models[static_cast<size_t>(i)], &window);
    view->setGeometry(10 + i * 110, 10, 100, 200);
  }
  window.resize(600, 240);
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    for (auto& model : models) model->clear();
    QApplication::processEvents();
    state.ResumeTiming();
    fill(models, entries);
    QApplication::processEvents();  // the views lay out and draw what they now show
  }
}

BENCHMARK(BM_FillModels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillShownLists)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
