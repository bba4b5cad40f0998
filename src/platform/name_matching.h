#pragma once

#include <QString>

namespace tz {

// The form names are compared in: Unicode normalisation form C, case-folded, so that
// `É`, `é` and a decomposed `é` all compare equal.
QString name_key(const QString& name);

// `name` in normalisation form C (no work for names that cannot change).
QString composed(const QString& name);

bool has_wildcards(const QString& pattern);

// Matches a key against a pattern key with `*` (any run) and `?` (one character).
bool wildcard_match(const QString& pattern_key, const QString& key);

}  // namespace tz
