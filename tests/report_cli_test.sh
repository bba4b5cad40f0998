#!/usr/bin/env bash
# The report as a script sees it: no display, no Qt platform, real files.
set -u
tenzor="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/a" "$work/b"
echo x >"$work/a/same.txt"; echo x >"$work/b/same.txt"
touch -d '2024-01-01 10:00:00' "$work/a/same.txt" "$work/b/same.txt"
echo y >"$work/a/only.txt"
failures=0
total=0
check() {  # description, expected status, expected output, command...
  local what="$1" want_status="$2" want_out="$3"; shift 3
  total=$((total + 1))
  local got status
  got="$("$@" 2>"$work/err")"; status=$?
  if [ "$status" != "$want_status" ] || [ "$got" != "$want_out" ]; then
    echo "FAIL: $what: status $status, output '$got', stderr '$(cat "$work/err")'"
    failures=$((failures + 1))
  fi
}
run() { env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES="C=/;W=$work" "$tenzor" "$@"; }
check "differences" 1 "only in dir 1	only.txt" run --report 'W:\a' '|' 'W:\b'
check "native paths" 1 "only in dir 1	only.txt" run --report "$work/a" '|' "$work/b"
rm "$work/a/only.txt"
check "aligned" 0 "" run --report 'W:\a | W:\b'
check "aligned, all" 0 "aligned	same.txt" run --report --all 'W:\a | W:\b'
check "invalid line" 2 "" run --report 'W:\a W:\b'
check "missing path" 2 "" run --report 'W:\a | W:\none'
total=$((total + 1)); grep -q "Path does not exist: W:\\\\none" "$work/err" || { echo "FAIL: missing path message"; failures=$((failures + 1)); }
check "window without display" 1 "" run 'W:\a | W:\b'
total=$((total + 1)); grep -q "no display" "$work/err" || { echo "FAIL: no display message"; failures=$((failures + 1)); }
# Bad input is named, before any display is needed and before anything is compared.
check "unknown option" 2 "" run --bogus 'W:\a | W:\b'
total=$((total + 1)); grep -q "^tenzor: unknown option --bogus$" "$work/err" || { echo "FAIL: unknown option message"; failures=$((failures + 1)); }
check "unknown report option" 2 "" run --report --bogus 'W:\a | W:\b'
total=$((total + 1)); grep -q "^tenzor: unknown option --bogus$" "$work/err" || { echo "FAIL: unknown report option message"; failures=$((failures + 1)); }
check "bad drive table" 2 "" env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES='C:/x;D:/y' "$tenzor" --report '/a | /b'
total=$((total + 1)); grep -qF 'tenzor: TENZOR_DRIVES: "C:/x" is not a drive: write it as LETTER=/absolute/folder, e.g. C=/home/ann' "$work/err" || { echo "FAIL: bad drive table message"; failures=$((failures + 1)); }
check "outside every drive" 2 "" env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES="W=$work" "$tenzor" --report '/nowhere/a | W:\b'
total=$((total + 1)); grep -qF '"/nowhere/a" lies outside every drive of the drive table (TENZOR_DRIVES)' "$work/err" || { echo "FAIL: outside message"; failures=$((failures + 1)); }
total=$((total + 1)); [ "$(ls -A "$work" | sort | tr '\n' ' ')" = "a b err " ] || { echo "FAIL: wrote files: $(ls -A "$work")"; failures=$((failures + 1)); }
echo "$(( total - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
