#!/usr/bin/env bash
# Fails when a C++ source of the project is not formatted by the repository's
# .clang-format (clang-format --dry-run --Werror); prints what would change.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
  xargs clang-format --dry-run --Werror
echo "format: every source as .clang-format wants it"
