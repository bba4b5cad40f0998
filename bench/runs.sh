#!/usr/bin/env bash
# Measures, side by side, the window's own long runs against the tools that do the same
# work: a bulk alignment copying FILES small files, and 20 large ones, into an empty
# dir 2, and a deletion of FILES files.
set -euo pipefail

usage() {
  cat <<'TEXT'
usage: bench/runs.sh [FILES]

FILES (default 10000) files of 1 to 8 KB are made in dir 1, then for each way of copying
them into an empty dir 2 the median of RUNS (default 3) runs is taken, after a round that
warms the caches, the ways taking turns, dir 2 emptied and flushed before each:
  cp -p         cp -p of every file
  cp + sync     the same followed by sync -f on dir 2: what the window does, each copy
                on the medium before the run ends
  rsync -a      rsync -a dir1/ dir2/
  window        the window (offscreen) on the pair, compared, then "align all files"
                under list 1 clicked: the run's own time, from the click to its end, as
                the window tells it (TENZOR_BENCH_RUN=align)
The same for 20 files of 50 MB. Then deleting FILES files of dir 1, made anew before each
run: rm -f of every file, and the window's delete button with list 1 all selected and no
questions (TENZOR_BENCH_RUN=delete). For the window's runs it also gives the longest it
went without letting its events run (a click or Cancel waits that long at most). After
each run the files on disk are checked.
Files go to a temporary folder under TMPDIR (default /tmp), removed at the end. Builds
into TENZOR_BUILD_DIR (default build/) as Release.
TEXT
}

files=10000
case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  '') ;;
  *[!0-9]* | 0*) usage >&2; exit 2 ;;
  *) files="$1" ;;
esac

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TENZOR_BUILD_DIR:-$here/build}"
runs="${RUNS:-3}"
TENZOR_BUILD_TYPE=Release "$here/scripts/build.sh" -j "${JOBS:-2}" --target tenzor make_bench_files
tenzor="$build/src/tenzor"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/data"

median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR) print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}
seconds() { echo "$2 - $1" | bc -l; }
fresh_target() { rm -rf "$work/two"; mkdir "$work/two"; sync -f "$work"; }
check_copied() {  # label
  diff -r "$work/one" "$work/two" >/dev/null || { echo "error: $1 left dir 2 unlike dir 1" >&2; exit 1; }
}
window=(env TENZOR_BENCH_IDLE=1 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run"
  XDG_DATA_HOME="$work/data" TENZOR_DRIVES="C=/;T=$work" "$tenzor" 'T:\one' '|' 'T:\two')

# Runs the window's run `what` and appends "seconds longest_ms" to `file`.
window_run() {  # what, file
  TENZOR_BENCH_RUN="$1" "${window[@]}" >/dev/null 2>"$work/err" || true
  local line
  line=$(grep -E '^tenzor: run [0-9]+ ms' "$work/err") ||
    { echo "error: the window did not run:" >&2; head -n 5 "$work/err" >&2; exit 1; }
  awk '{ print $3 / 1000, $8 }' <<<"$line" >>"$2"
  grep -q ', 0 left$' <<<"$line" || { echo "error: $line" >&2; exit 1; }
}

# One way of copying dir 1 into an empty dir 2, timed once; appends "seconds longest_ms"
# to $work/runs.<label>.
copying() {  # label, command... (or "window")
  local label="$1"
  shift
  fresh_target
  if [ "$1" = window ]; then
    window_run align "$work/runs.$label"
  else
    local start=$EPOCHREALTIME
    "$@"
    echo "$(seconds "$start" "$EPOCHREALTIME") -" >>"$work/runs.$label"
  fi
  check_copied "$label"
}

report() {  # label
  local wall longest
  wall=$(awk '{ print $1 }' "$work/runs.$1" | median)
  longest=$(awk '$2 != "-" { print $2 }' "$work/runs.$1" | sort -n | tail -n 1)
  echo "$1 $wall" >>"$work/results"
  printf '  %-12s %8.3f s' "$1" "$wall"
  [ -z "$longest" ] || printf '   longest without events %s ms' "$longest"
  echo
}

copy_all() { (cd "$work/one" && exec cp -p -- * "$work/two/"); }
copy_all_sync() { copy_all && sync -f "$work/two"; }

ratios() {
  awk '{ t[$1] = $2 } END {
    printf "  window / cp -p + sync -f %.2f, / cp -p %.2f, / rsync -a %.2f\n",
      t["window"] / t["cp+sync"], t["window"] / t["cp"], t["window"] / t["rsync"] }' "$work/results"
}

# The ways take turns, run after run, so that a machine or a disk slower for a while
# weighs on each alike; the first round warms the caches and is not counted.
align_case() {  # title, count, min, max
  rm -rf "$work/one" "$work"/runs.*
  "$build/bench/make_bench_files" "$work/one" "$2" "$3" "$4"
  sync -f "$work"
  echo
  echo "$1: $(du -sm "$work/one" | cut -f1) MB, median of $runs runs"
  : >"$work/results"
  for run in $(seq 0 "$runs"); do
    copying cp copy_all
    copying cp+sync copy_all_sync
    copying rsync rsync -a "$work/one/" "$work/two/"
    copying window window
    [ "$run" -gt 0 ] || rm -f "$work"/runs.*
  done
  for way in cp cp+sync rsync window; do report "$way"; done
  ratios
}

echo "$(uptime)"
align_case "Aligning $files files of 1 to 8 KB" "$files" 1024 8192
align_case "Aligning 20 files of 50 MB" 20 52428800 52428800

echo
echo "Deleting $files files, median of $runs runs"
rm -rf "$work/one" "$work/two" "$work/made"
"$build/bench/make_bench_files" "$work/made" "$files" 1024 8192
mkdir "$work/two"
: >"$work/results"
rm -f "$work"/runs.*
for run in $(seq 0 "$runs"); do
  for way in rm window; do
    rm -rf "$work/one"
    cp -a "$work/made" "$work/one"
    sync -f "$work"
    if [ "$way" = rm ]; then
      start=$EPOCHREALTIME
      (cd "$work/one" && exec rm -f -- *)
      echo "$(seconds "$start" "$EPOCHREALTIME") -" >>"$work/runs.$way"
    else
      window_run delete "$work/runs.$way"
    fi
    [ -z "$(ls -A "$work/one")" ] || { echo "error: $way left files in dir 1" >&2; exit 1; }
  done
  [ "$run" -gt 0 ] || rm -f "$work"/runs.*
done
for way in rm window; do report "$way"; done
awk '{ t[$1] = $2 } END { printf "  window / rm -f %.2f\n", t["window"] / t["rm"] }' "$work/results"
