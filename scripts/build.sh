#!/usr/bin/env bash
# Configures and builds Tenzor into build/ (or $TENZOR_BUILD_DIR).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${TENZOR_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build" "$@"
