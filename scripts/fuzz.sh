#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers)
# into build-fuzz/ and runs each for SECONDS (default 20) on its corpus in
# fuzz/corpus/<name>/. A crash, a sanitizer finding or a broken promise fails, and the
# input that caused it is kept in build-fuzz/ to reproduce it:
#   build-fuzz/fuzz/<name>_fuzz build-fuzz/crash-<hash>
# New inputs found on the way go to a temporary folder, not into the corpus.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
build="$here/build-fuzz"
"$here/scripts/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTENZOR_FUZZ=ON -DTENZOR_TESTS=OFF >/dev/null
names=(command_line drive_table path history report_escape)
cmake --build "$build" --target "${names[@]/%/_fuzz}"
found="$(mktemp -d)"
trap 'rm -rf "$found"' EXIT
for name in "${names[@]}"; do
  mkdir -p "$found/$name"
  echo "fuzz: $name for $seconds s"
  if ! "$build/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/" "$found/$name" "$here/fuzz/corpus/$name" >"$found/log" 2>&1; then
    tail -n 40 "$found/log"
    echo "fuzz: $name failed; the input is in $build/" >&2
    exit 1
  fi
  tail -n 1 "$found/log"
done
