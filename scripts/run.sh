#!/usr/bin/env bash
# Builds Tenzor and starts it, passing on the command line.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" --target tenzor
exec "${TENZOR_BUILD_DIR:-$here/build}/src/tenzor" "$@"
