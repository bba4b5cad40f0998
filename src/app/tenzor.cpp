#include "app/tenzor.h"

#include "align/bulk_align.h"
#include "align/copier.h"
#include "align/deletion.h"
#include "align/opener.h"
#include "align/transfers.h"
#include "app/common.h"
#include "app/texts.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "history/history.h"
#include "tree/tree_comparison.h"

namespace tz {

Tenzor::Tenzor(const Services& services)
    : services_(services),
      common_(std::make_unique<Common>(*this)),
      panes_(std::make_unique<Panes>(*this)),
      comparison_(std::make_unique<Comparison>(*this)),
      tree_(std::make_unique<TreeComparison>(*this)),
      history_(std::make_unique<History>(*this)),
      copier_(std::make_unique<Copier>(*this)),
      transfers_(std::make_unique<Transfers>(*this)),
      bulk_align_(std::make_unique<BulkAlign>(*this)),
      deletion_(std::make_unique<Deletion>(*this)),
      opener_(std::make_unique<Opener>(*this)) {}

Tenzor::~Tenzor() = default;

Answer Tenzor::message(const QString& text, Buttons buttons, Icon icon, int default_button) {
  return services_.dialogs.message_box(
      MessageBox{text, QString::fromUtf8(text::app_title), buttons, icon, default_button});
}

}  // namespace tz
