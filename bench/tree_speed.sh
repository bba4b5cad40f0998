#!/usr/bin/env bash
# Measures the window-less tree report on two trees of DIRS directories and FILES files
# (default 5000 and 100000) that differ in a few branches and a few hundred files, against
# a dry run of rsync on the same pair and a find that lists every entry of both trees with
# its time and size. Prints the median wall and CPU seconds of RUNS runs (default 5) of
# each, and the ratios. A report still running after REPORT_TIMEOUT seconds (default 300)
# is not measured.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
dirs="${1:-5000}"
files="${2:-100000}"
runs="${RUNS:-5}"
report_timeout="${REPORT_TIMEOUT:-300}"
TENZOR_BUILD_TYPE=Release "$here/scripts/build.sh" --target make_bench_trees
# The others can be measured while the program does not build.
tenzor_built=yes
TENZOR_BUILD_TYPE=Release "$here/scripts/build.sh" --target tenzor || tenzor_built=no

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/time -f '%e' -o "$work/time" \
  "$build/bench/make_bench_trees" "$work/t1" "$work/t2" "$dirs" "$files" >"$work/made"
cat "$work/made"
echo "made in $(tail -n 1 "$work/time") s"

# shellcheck source=bench/measure.sh
. "$here/bench/measure.sh"

# The trees came out as made: rsync lists each differing entry once.
rsync -rltn --delete -i --modify-window=2 "$work/t1/" "$work/t2/" >"$work/rsync.out"
made=$(sed -n 's/^differing entries: //p' "$work/made")
seen=$(wc -l <"$work/rsync.out")
[ "$seen" -eq "$made" ] || echo "warning: rsync lists $seen differing entries, not $made"

# The tree separator, § in UTF-8.
tree_sep=$'\xc2\xa7'
report=(env TENZOR_DRIVES="C=/;T=$work" "$build/src/tenzor" --report 'T:\t1' "$tree_sep" 'T:\t2')
status=none
if [ "$tenzor_built" = yes ]; then
  status=0
  timeout "$report_timeout" "${report[@]}" >"$work/report.out" 2>"$work/report.err" ||
    status=$?
fi
case "$status" in
  none) echo "report: not measured (tenzor did not build)" ;;
  1) echo "report: exit status 1 (the trees differ), $(wc -l <"$work/report.out") lines" ;;
  124) echo "warning: report still running after $report_timeout s; not measured" ;;
  0) echo "warning: report exit status 0 (aligned), expected 1 (the trees differ)" ;;
  *) echo "warning: report exit status $status, expected 1 (the trees differ); not measured"
     head -n 5 "$work/report.err" ;;
esac
if [ "$status" = 0 ] || [ "$status" = 1 ]; then
  grep -q '^Only in tree 1: ' "$work/report.out" ||
    echo "warning: the report names no branch only in tree 1"
fi

echo "Two trees of $dirs directories and $files files, median of $runs runs:"
if [ "$status" = 0 ] || [ "$status" = 1 ]; then
  measure report "${report[@]}"
fi
measure rsync_dry_run rsync -rltn --delete -i --modify-window=2 "$work/t1/" "$work/t2/"
measure find_listing find "$work/t1" "$work/t2" -printf '%T@ %s %p\n'

awk 'function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "n/a" }
     { wall[$1] = $2; cpu[$1] = $3 }
     END {
       if (!("report" in wall)) exit
       printf "report / rsync_dry_run: wall %s  cpu %s  (goal: at most 1, aim 0.7)\n", ratio(wall["report"], wall["rsync_dry_run"]), ratio(cpu["report"], cpu["rsync_dry_run"])
       printf "report / find_listing:  wall %s  cpu %s\n", ratio(wall["report"], wall["find_listing"]), ratio(cpu["report"], cpu["find_listing"])
     }' "$work/results"
