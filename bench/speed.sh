#!/usr/bin/env bash
# Measures, side by side, how long the program takes on two directories and on two trees of
# COUNT files, for each COUNT given (10000 and 100000 by default), and what other programs
# take on the same files. Prints median times, ratios and the time per 100,000 files.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: bench/speed.sh [COUNT...]

For each COUNT (default: 10000 100000) it makes a pair of directories (COUNT files in
dir 1, nine in ten of them in dir 2, one in ten of those newer in dir 1, one extra in
dir 2 for every thirteen) and a pair of trees (COUNT files and COUNT/20 directories in
each, differing in a few branches and a few hundred files), then measures, median of RUNS
runs (default 5) after one run that warms the caches:
  floor         bench/list_and_stat: lists both directories and reads every file's time
                and size by its name in the open directory; the least any comparison does
  find          find listing both directories with every file's time and size
  rsync         rsync -rltn --delete -i --modify-window=2 one/ two/ (a dry run)
  report        tenzor --report on the pair
  window        the window on the pair (offscreen) until first painted, as it tells
                counting from main, and until idle with the five lists filled, timed
                from outside as the others are (TENZOR_BENCH_IDLE=1)
  tree rsync    the dry run of rsync on the two trees
  tree find     find listing both trees with every entry's time and size
  tree report   tenzor --report on the two trees
A run still going after LIMIT seconds (default 600) is not measured.

Making the files is the slow part (pair and trees together hold four times COUNT files).
On this machine's disk COUNT 100,000 takes 15 to 25 s to make; 1,000,000 takes 5 to 6
minutes to make, about 5 more to remove, 16 GB of disk, and some 17 minutes in all.
So 1,000,000 is opt-in: bench/speed.sh 10000 100000 1000000
Files go to a temporary folder under TMPDIR (default /tmp), removed at the end.
Builds into TENZOR_BUILD_DIR (default build/) as Release, JOBS (default 2) at a time.
EOF
}

counts=()
for arg in "$@"; do
  case "$arg" in
    -h | --help) usage; exit 0 ;;
    *[!0-9]* | '' | 0*) usage >&2; exit 2 ;;
    *) [ "$arg" -ge 420 ] || { echo "speed.sh: COUNT must be at least 420" >&2; exit 2; }
       counts+=("$arg") ;;
  esac
done
[ ${#counts[@]} -gt 0 ] || counts=(10000 100000)

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
runs="${RUNS:-5}"
limit="${LIMIT:-600}"
TENZOR_BUILD_TYPE=Release "$here/scripts/build.sh" -j "${JOBS:-2}" \
  --target tenzor list_and_stat make_bench_pair make_bench_trees

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/data"

# shellcheck source=bench/measure.sh
. "$here/bench/measure.sh"

tenzor="$build/src/tenzor"
tree_sep=$'\xc2\xa7'  # the tree separator, § in UTF-8
echo "Median of $runs runs, warm caches. $(uptime)"
harness=0
measure harness "start of a process" true
harness=$(awk '$1 == "harness" { print $2 }' "$work/results")

# The window on the pair, from start until painted (as it tells, counting from main) and
# until idle (the process ends there; timed from outside, as the others are). The five
# lists must then hold `entries` entries, as many as the report lists with --all.
measure_window() {  # count, entries
  local count="$1" entries="$2"
  local window=(env TENZOR_BENCH_IDLE=1 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run"
    XDG_DATA_HOME="$work/data" TENZOR_DRIVES="C=/;T=$work" "$tenzor" 'T:\one' '|' 'T:\two')
  : >"$work/runs"
  for run in $(seq 0 "$runs"); do
    local status=0 start=$EPOCHREALTIME
    timeout "$limit" /usr/bin/time -f '%U %S %M' -o "$work/time" "${window[@]}" \
      >/dev/null 2>"$work/err" || status=$?
    local wall answer
    wall=$(elapsed "$start" "$EPOCHREALTIME")
    answer=$(awk '/^tenzor: visible [0-9]+ ms$/ { visible = $3 }
                  /^tenzor: idle [0-9]+ ms, [0-9]+ entries$/ { seen = $5 }
                  END { print visible == "" ? "-" : visible, seen == "" ? "-" : seen }' "$work/err")
    read -r visible seen <<<"$answer"
    if [ "$status" -ne 0 ] || [ "$visible" = - ] || [ "$seen" != "$entries" ]; then
      echo "error: the window gave no answer or an unexpected one (exit status $status," \
        "painted: $visible ms, lists $seen entries where the report has $entries):" >&2
      head -n 5 "$work/err" >&2
      exit 1
    fi
    [ "$run" -eq 0 ] || echo "$visible $wall $(tail -n 1 "$work/time")" >>"$work/runs"
  done
  record "$count:window_visible" "window, until visible" \
    "$(awk '{ print $1 / 1000 }' "$work/runs" | median)"
  record "$count:window_idle" "window, until idle" \
    "$(awk -v h="$harness" '{ print $2 - h }' "$work/runs" | median)" \
    "$(awk '{ print $3 + $4 }' "$work/runs" | median)" \
    "$(awk '{ print $5 }' "$work/runs" | median)"
}

for count in "${counts[@]}"; do
  rm -rf "${work:?}/one" "$work/two" "$work/t1" "$work/t2"
  /usr/bin/time -f '%e' -o "$work/time" "$build/bench/make_bench_pair" "$work/one" "$work/two" "$count"
  made_pair=$(tail -n 1 "$work/time")
  /usr/bin/time -f '%e' -o "$work/time" \
    "$build/bench/make_bench_trees" "$work/t1" "$work/t2" $((count / 20)) "$count" >"$work/made"
  made_trees=$(tail -n 1 "$work/time")
  # Writing back what was just made would slow down what is measured next.
  sync
  echo
  echo "$count files (pair made in $made_pair s, trees in $made_trees s):"

  # What is measured must be what it claims: every file seen, every difference found.
  files=$(find "$work/one" "$work/two" -maxdepth 1 -type f | wc -l)
  floor_files=$("$build/bench/list_and_stat" "$work/one" "$work/two" | awk '{ print $1 }')
  [ "$floor_files" = "$files" ] || {
    echo "error: list_and_stat saw $floor_files files, not $files" >&2
    exit 1
  }
  report=(env TENZOR_DRIVES="C=/;T=$work" "$tenzor" --report 'T:\one' '|' 'T:\two')
  status=0
  env TENZOR_DRIVES="C=/;T=$work" "$tenzor" --report --all 'T:\one' '|' 'T:\two' >"$work/all" ||
    status=$?
  [ "$status" -eq 1 ] || { echo "error: report exit status $status, not 1" >&2; exit 1; }
  tree_report=(env TENZOR_DRIVES="C=/;T=$work" "$tenzor" --report 'T:\t1' "$tree_sep" 'T:\t2')
  status=0
  timeout "$limit" "${tree_report[@]}" >"$work/tree.out" || status=$?
  [ "$status" -eq 1 ] || echo "warning: tree report exit status $status, not 1"
  grep -q '^Only in tree 1: ' "$work/tree.out" ||
    echo "warning: the tree report names no branch only in tree 1"
  rsync -rltn --delete -i --modify-window=2 "$work/t1/" "$work/t2/" >"$work/rsync.out"
  made=$(sed -n 's/^differing entries: //p' "$work/made")
  [ "$(wc -l <"$work/rsync.out")" -eq "$made" ] ||
    echo "warning: rsync lists $(wc -l <"$work/rsync.out") differing tree entries, not $made"

  measure "$count:floor" floor "$build/bench/list_and_stat" "$work/one" "$work/two"
  measure "$count:find" find find "$work/one" "$work/two" -printf '%T@ %s %p\n'
  measure "$count:rsync" rsync rsync -rltn --delete -i --modify-window=2 "$work/one/" "$work/two/"
  measure "$count:report" report "${report[@]}"
  measure_window "$count" "$(wc -l <"$work/all")"
  measure "$count:tree_rsync" "tree rsync" \
    rsync -rltn --delete -i --modify-window=2 "$work/t1/" "$work/t2/"
  measure "$count:tree_find" "tree find" find "$work/t1" "$work/t2" -printf '%T@ %s %p\n'
  measure "$count:tree_report" "tree report" "${tree_report[@]}"
done
rm -rf "${work:?}/one" "$work/two" "$work/t1" "$work/t2"

echo
echo "Wall seconds, and per 100,000 files in brackets: where the bracketed figure stays"
echo "the same from one count to the next, doubling the files doubles the time."
awk -v counts="${counts[*]}" '
  function cell(n, key) { return (n ":" key) in wall ? sprintf("%.3f (%.3f)", wall[n ":" key], wall[n ":" key] * 100000 / n) : "n/a" }
  function ratio(n, a, b) { return (n ":" a) in wall && (n ":" b) in wall && wall[n ":" b] > 0 ? sprintf("%.2f", wall[n ":" a] / wall[n ":" b]) : "n/a" }
  function mb(n, key) { return (n ":" key) in peak ? sprintf("%.1f", peak[n ":" key] / 1024) : "n/a" }
  { wall[$1] = $2; peak[$1] = $4 }
  END {
    k = split(counts, n, " ")
    split("floor find rsync report window_visible window_idle tree_rsync tree_find tree_report", keys, " ")
    split("floor,find,rsync,report,window until visible,window until idle,tree rsync,tree find,tree report", labels, ",")
    printf "%-22s", "files"; for (i = 1; i <= k; ++i) printf "%20s", n[i]; print ""
    for (j = 1; j <= 9; ++j) {
      printf "%-22s", labels[j]; for (i = 1; i <= k; ++i) printf "%20s", cell(n[i], keys[j]); print ""
    }
    print "Ratios of wall times:"
    split("report floor,report rsync,window_idle report,tree_report tree_rsync", pairs, ",")
    split("report / floor,report / rsync,window idle / report,tree report / tree rsync", names, ",")
    for (j = 1; j <= 4; ++j) {
      split(pairs[j], ab, " ")
      printf "%-22s", names[j]; for (i = 1; i <= k; ++i) printf "%20s", ratio(n[i], ab[1], ab[2]); print ""
    }
    print "Peak memory, MB:"
    split("report window_idle tree_report", keys, " ")
    split("report,window,tree report", labels, ",")
    for (j = 1; j <= 3; ++j) {
      printf "%-22s", labels[j]; for (i = 1; i <= k; ++i) printf "%20s", mb(n[i], keys[j]); print ""
    }
  }' "$work/results"
uptime
