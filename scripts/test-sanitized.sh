#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs them, but for the stress test on 100,000 files (label "stress"),
# which the plain run has run already.
#
# With --thread: the logic tests (label "logic") with ThreadSanitizer into build-tsan/,
# where the comparison and the tree walk read on threads of their own. The widget and
# stress tests are left out; the address-space layout is fixed for the run, as that
# sanitizer's memory map needs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
werror=OFF
[ -n "${CI:-}" ] && werror=ON
if [ "${1:-}" = --thread ]; then
  build="$here/build-tsan"
  option=-DTENZOR_SANITIZE_THREAD=ON
  # The copy fallback runs the program itself.
  targets=(--target tenzor logic_test_binaries)
  run=(setarch "$(uname -m)" -R)
  select=(-L logic)
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$here/scripts/tsan-suppressions.txt"
else
  build="$here/build-asan"
  option=-DTENZOR_SANITIZE=ON
  targets=()
  run=()
  select=(-LE stress)
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$option" \
  -DTENZOR_WERROR="$werror" >/dev/null
cmake --build "$build" "${targets[@]}"
QT_QPA_PLATFORM=offscreen "${run[@]}" ctest --test-dir "$build" --output-on-failure -j2 \
  "${select[@]}"
