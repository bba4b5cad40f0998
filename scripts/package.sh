#!/usr/bin/env bash
# Builds a release of Tenzor into build-package/ (or $TENZOR_PACKAGE_DIR) and makes its
# Debian package there; prints the package's path. Install it with
#   apt install ./tenzor_*.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_PACKAGE_DIR:-$here/build-package}"
"$here/scripts/install-deps.sh" >&2
# The distribution's own flags, hardening included (stack protector, fortified calls,
# read-only relocations bound at start); the build type adds none of its own.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS) -DNDEBUG"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DTENZOR_TESTS=OFF >/dev/null
# Progress goes to standard error: standard output is only the package's path.
cmake --build "$build" -j2 --target tenzor >&2
rm -f "$build"/tenzor_*.deb
# The package's program is stripped as it is installed.
(cd "$build" && cpack -G DEB >/dev/null)
package=("$build"/tenzor_*.deb)
[ -f "${package[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
echo "${package[0]}"
