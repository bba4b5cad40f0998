#include "app/tenzor.h"

#include "align/bulk_align.h"
#include "align/copier.h"
#include "align/deletion.h"
#include "align/opener.h"
#include "align/transfers.h"
#include "compare/comparison.h"
#include "compare/pair_opener.h"
#include "compare/panes.h"
#include "directory_menu/directory_menu.h"
#include "help/help.h"
#include "history/history.h"
#include "tree/results.h"
#include "tree/tree_comparison.h"

namespace tz {

Tenzor::Tenzor(const Services& services) : context_(services) {
  Context& ctx = context_;
  panes_ = std::make_unique<Panes>(ctx);
  // The comparison records its pair in the history, which sits above it.
  comparison_ = std::make_unique<Comparison>(ctx, *panes_, [this] { history_->record_pair(); });
  pair_opener_ =
      std::make_unique<PairOpener>(ctx, *panes_, *comparison_,
                                   PairOpener::Hooks{[this] { history_->m_close_Click(); },
                                                     [this] { tree_->bot_compare_tree_Click(); }});
  history_ = std::make_unique<History>(ctx, *pair_opener_);
  tree_ = std::make_unique<TreeComparison>(
      ctx, *panes_, *comparison_,
      TreeComparison::Hooks{[this] { history_->record_pair(); },
                            [this] { history_->m_close_Click(); }});
  results_ = std::make_unique<Results>(ctx);
  copier_ = std::make_unique<Copier>(ctx);
  transfers_ = std::make_unique<Transfers>(ctx, *copier_, *comparison_);
  bulk_align_ = std::make_unique<BulkAlign>(ctx, *copier_, *tree_);
  deletion_ = std::make_unique<Deletion>(ctx, *panes_);
  opener_ = std::make_unique<Opener>(ctx);
  directory_menu_ = std::make_unique<DirectoryMenu>(ctx, *panes_);
  help_ = std::make_unique<Help>(ctx);
}

Tenzor::~Tenzor() = default;

}  // namespace tz
