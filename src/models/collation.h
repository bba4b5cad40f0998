#pragma once

#include <QString>
#include <vector>

namespace tz {

// The order of the lists, the same in the window and the report: the user's locale,
// letter case ignored (`é` sorts with `e`, not after `z`). Texts that collate equal
// (they differ only in case) are ordered by their exact text, so the order is total.
namespace collation {

// Negative, zero or positive as `a` sorts before, with or after `b`; zero only for
// equal texts.
int compare(const QString& a, const QString& b);

// The positions of `texts` in ascending order. Fast for large lists.
std::vector<size_t> order(const std::vector<QString>& texts);

}  // namespace collation

}  // namespace tz
