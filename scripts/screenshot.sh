#!/usr/bin/env bash
# Starts Tenzor on a small sample pair under a virtual display and writes a PNG of its
# window to the given path. Usage: scripts/screenshot.sh <output.png>
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "Usage: $0 <output.png>" >&2
  exit 2
fi
out="$1"
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" --target tenzor >/dev/null
program="${TENZOR_BUILD_DIR:-$here/build}/src/tenzor"

work="$(mktemp -d)"
xvfb_pid=""
tenzor_pid=""
cleanup() {
  if [ -n "$tenzor_pid" ]; then kill "$tenzor_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The sample pair: one file for each of the five lists.
mkdir -p "$work/c/one/sub" "$work/d/two" "$work/data"
sample() { printf '%s\n' "$3" >"$1" && touch -d "$2" "$1"; }
sample "$work/c/one/only here.txt" "2024-03-01 10:00" "dir 1 only"
sample "$work/c/one/report.odt" "2024-03-05 09:30" "newer in dir 1"
sample "$work/d/two/report.odt" "2024-03-01 09:30" "older copy"
sample "$work/c/one/budget.ods" "2024-02-01 08:00" "older copy"
sample "$work/d/two/budget.ods" "2024-03-02 08:00" "newer in dir 2"
for name in notes.txt photo.jpg plan.pdf; do
  sample "$work/c/one/$name" "2024-01-15 12:00" "aligned"
  sample "$work/d/two/$name" "2024-01-15 12:00" "aligned"
done
sample "$work/d/two/from usb.txt" "2024-03-03 18:00" "dir 2 only"

# A display of our own; Xvfb picks a free number and writes it once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display_number="$(head -n1 "$work/display" 2>/dev/null)"
[ -n "$display_number" ] || { echo "Xvfb did not start." >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display_number"

TENZOR_DRIVES="C=$work/c;D=$work/d" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=xcb \
  "$program" 'C:\one | D:\two' >"$work/tenzor.log" 2>&1 &
tenzor_pid=$!

# The window is up and the comparison done once two captures in a row are the same.
previous=""
for _ in $(seq 1 50); do
  sleep 0.3
  kill -0 "$tenzor_pid" 2>/dev/null || { cat "$work/tenzor.log" >&2; exit 1; }
  xwd -silent -name Tenzor >"$work/now.xwd" 2>/dev/null || continue
  current="$(md5sum <"$work/now.xwd")"
  [ "$current" = "$previous" ] && break
  previous="$current"
done
[ -n "$previous" ] || { echo "The window did not appear." >&2; exit 1; }

xwdtopnm <"$work/now.xwd" 2>/dev/null | pnmtopng >"$out"
echo "Wrote $out"
