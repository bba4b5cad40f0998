#!/usr/bin/env bash
# Configures and builds Tenzor into build/ (or $TENZOR_BUILD_DIR).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
"$here/scripts/install-deps.sh"
# CI builds treat every compiler warning as an error.
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${TENZOR_BUILD_TYPE:-RelWithDebInfo}" \
  -DTENZOR_WERROR="$werror" >/dev/null
cmake --build "$build" "$@"
