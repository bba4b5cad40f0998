#!/usr/bin/env bash
# Builds Tenzor with its tests and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
"$here/scripts/build.sh"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j2
