#pragma once

#include "align/bulk_align.h"
#include "align/copier.h"
#include "align/deletion.h"
#include "align/opener.h"
#include "align/transfers.h"
#include "support/tree_program.h"

namespace tz::test {

// The features below the alignment and the alignment's own: copies, drops, bulk
// alignment, deletion and opening.
struct AlignFeatures : TreeFeatures {
  explicit AlignFeatures(const Services& services)
      : TreeFeatures(services),
        copier_(context()),
        transfers_(context(), copier_, comparison()),
        bulk_align_(context(), copier_, tree()),
        deletion_(context(), panes()),
        opener_(context()) {}

  Copier& copier() { return copier_; }
  Transfers& transfers() { return transfers_; }
  BulkAlign& bulk_align() { return bulk_align_; }
  Deletion& deletion() { return deletion_; }
  Opener& opener() { return opener_; }

 private:
  Copier copier_;
  Transfers transfers_;
  BulkAlign bulk_align_;
  Deletion deletion_;
  Opener opener_;
};
using AlignProgram = ProgramOn<AlignFeatures>;

}  // namespace tz::test
