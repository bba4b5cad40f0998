#include "tree/tree_comparison.h"

#include "core/common.h"
#include "core/context.h"

namespace tz {

// The same listing test as file_exists: directories, hidden and system entries count.
bool TreeComparison::path_exists(const QString& path) {
  return ctx_.common().file_exists(path);
}

bool TreeComparison::differenza_trovata() {
  return ctx_.window().difference_count() > 0;
}

void TreeComparison::compare_trees() {
  // The walk of both trees and the step-through of their branches come here.
}

void TreeComparison::bot_compare_tree_Click() {
  compare_trees();
}

void TreeComparison::m_tree_Click() {
  compare_trees();
}

void TreeComparison::b_next_alignment_Click() {
  // The step-through of the branch table comes here.
}

}  // namespace tz
