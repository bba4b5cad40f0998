#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs them, but for the stress test on 100,000 files (label "stress"),
# which the plain run has run already.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-asan"
"$here/scripts/install-deps.sh"
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTENZOR_SANITIZE=ON \
  -DTENZOR_WERROR="$werror" >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$build" --output-on-failure -j2 -LE stress
