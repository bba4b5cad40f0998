#!/usr/bin/env bash
# Measures the window-less report on two directories of COUNT files (default 100000)
# against a minimal program that only lists both directories and reads every file's
# time and size, and against a dry run of rsync on the same pair. Prints the median
# wall and CPU seconds of RUNS runs (default 5) of each, and the ratios.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
count="${1:-100000}"
runs="${RUNS:-5}"
TENZOR_BUILD_TYPE=Release "$here/scripts/build.sh" --target tenzor list_and_stat make_bench_pair

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/make_bench_pair" "$work/one" "$work/two" "$count"

# shellcheck source=bench/measure.sh
. "$here/bench/measure.sh"

echo "Two directories of $count files, median of $runs runs:"
measure list_and_stat "$build/bench/list_and_stat" "$work/one" "$work/two"
measure report env TENZOR_DRIVES="C=/;T=$work" "$build/src/tenzor" --report 'T:\one' '|' 'T:\two'
measure rsync_dry_run rsync -rltn --delete -i --modify-window=2 "$work/one/" "$work/two/"

awk '{ wall[$1] = $2; cpu[$1] = $3 }
     END {
       printf "report / list_and_stat: wall %.2f  cpu %.2f  (goal: at most 1.5)\n", wall["report"] / wall["list_and_stat"], cpu["report"] / cpu["list_and_stat"]
       printf "report / rsync_dry_run: wall %.2f  cpu %.2f  (goal: below 1)\n", wall["report"] / wall["rsync_dry_run"], cpu["report"] / cpu["rsync_dry_run"]
     }' "$work/results"
