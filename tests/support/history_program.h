#pragma once

#include "history/history.h"
#include "support/compare_program.h"

namespace tz::test {

// The comparison's features and the history, which its hooks record in and close.
struct HistoryFeatures : CompareFeatures {
  explicit HistoryFeatures(const Services& services)
      : CompareFeatures(services), history_(context(), pair_opener()) {
    record_pair = [this] { history_.record_pair(); };
    close_history_view = [this] { history_.m_close_Click(); };
  }

  History& history() { return history_; }

 private:
  History history_;
};
using HistoryProgram = ProgramOn<HistoryFeatures>;

}  // namespace tz::test
