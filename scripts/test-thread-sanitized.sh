#!/usr/bin/env bash
# Builds the logic tests with ThreadSanitizer into build-tsan/ and runs them: the
# comparison reads the two sides and their statuses on threads of its own. The widget
# tests and the stress test are left out; the host's address-space layout is fixed for
# the run, as the sanitizer's memory map needs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-tsan"
"$here/scripts/install-deps.sh"
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTENZOR_SANITIZE_THREAD=ON \
  -DTENZOR_WERROR="$werror" >/dev/null
# The copy fallback runs the program itself.
cmake --build "$build" --target tenzor logic_test_binaries
QT_QPA_PLATFORM=offscreen \
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$here/scripts/tsan-suppressions.txt" \
  setarch "$(uname -m)" -R ctest --test-dir "$build" --output-on-failure -j2 -L logic
