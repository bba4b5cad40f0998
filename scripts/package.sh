#!/usr/bin/env bash
# Builds a release of Tenzor into build-package/ (or $TENZOR_PACKAGE_DIR) and makes its
# Debian package there; prints the package's path. Install it with
#   apt install ./tenzor_*.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_PACKAGE_DIR:-$here/build-package}"
"$here/scripts/install-deps.sh" >&2
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTENZOR_TESTS=OFF >/dev/null
# Progress goes to standard error: standard output is only the package's path.
cmake --build "$build" -j2 >&2
rm -f "$build"/tenzor_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=("$build"/tenzor_*.deb)
[ -f "${package[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
echo "${package[0]}"
