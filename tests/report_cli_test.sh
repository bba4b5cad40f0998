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
# Paths given as arguments of their own are taken as they are: a blank at the end, a "|"
# inside. Without a pair there is nothing to report.
mkdir "$work/b " "$work/p|q"
check "exact arguments" 1 "only in dir 1	same.txt" run --report "$work/a" '|' "$work/b "
check "separator inside a name" 0 "" run --report "$work/p|q" '|' "$work/b "
rmdir "$work/b " "$work/p|q"
check "no pair" 2 "" run --report --all
total=$((total + 1)); grep -q "^Usage:" "$work/err" || { echo "FAIL: no pair usage"; failures=$((failures + 1)); }
check "missing path" 2 "" run --report 'W:\a | W:\none'
total=$((total + 1)); grep -q "Path does not exist: W:\\\\none" "$work/err" || { echo "FAIL: missing path message"; failures=$((failures + 1)); }
# No display, an empty one or one that cannot be opened: one line of the program's own
# and status 2, never Qt's abort.
for display in unset "" ":999"; do
  if [ "$display" = unset ]; then
    check "window without display" 2 "" run 'W:\a | W:\b'
  else
    check "window on display '$display'" 2 "" env -i PATH="$PATH" HOME="$work" DISPLAY="$display" \
      TENZOR_DRIVES="C=/;W=$work" "$tenzor" 'W:\a | W:\b'
  fi
  total=$((total + 1))
  [ "$(wc -l <"$work/err")" = 1 ] && grep -q "^tenzor: .*Tenzor is a desktop program" "$work/err" ||
    { echo "FAIL: display '$display' message: $(cat "$work/err")"; failures=$((failures + 1)); }
done
check "version" 0 "tenzor 2.2.31" run --version
# Bad input is named, before any display is needed and before anything is compared.
check "unknown option" 2 "" run --bogus 'W:\a | W:\b'
total=$((total + 1)); grep -q "^tenzor: unknown option --bogus$" "$work/err" || { echo "FAIL: unknown option message"; failures=$((failures + 1)); }
check "unknown report option" 2 "" run --report --bogus 'W:\a | W:\b'
total=$((total + 1)); grep -q "^tenzor: unknown option --bogus$" "$work/err" || { echo "FAIL: unknown report option message"; failures=$((failures + 1)); }
check "bad drive table" 2 "" env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES='C:/x;D:/y' "$tenzor" --report '/a | /b'
total=$((total + 1)); grep -qF 'tenzor: TENZOR_DRIVES: "C:/x" is not a drive: write it as LETTER=/absolute/folder, e.g. C=/home/ann' "$work/err" || { echo "FAIL: bad drive table message"; failures=$((failures + 1)); }
check "outside every drive" 2 "" env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES="W=$work" "$tenzor" --report '/nowhere/a | W:\b'
total=$((total + 1)); grep -qF '"/nowhere/a" lies outside every drive of the drive table (TENZOR_DRIVES)' "$work/err" || { echo "FAIL: outside message"; failures=$((failures + 1)); }
# Names a script can act on: the exact on-disk bytes, one whole name per line, escapes
# that printf '%b' undoes; NUL records for xargs -0; a report that cannot be written
# is no answer.
export LC_ALL=C  # names are bytes here
r1="$work/r1"; r2="$work/r2"; mkdir "$r1" "$r2"
for name in Only.TXT $'tab\there' $'new\nline' $'cr\rname' 'back\slash' $'caf\xe9' \
    $'bell\a' $'ends in newline\n' ' blanks around ' 'x\ny'; do
  echo x >"$r1/$name"
done
echo y >"$r1/Pair.txt"; echo y >"$r2/pAIR.TXT"
touch -d '2024-01-01 10:00:00' "$r1/Pair.txt"
echo z >"$r2/Two.Only"
named=12  # every file of r1, and r2's one without a partner
total=$((total + 1))
run --report --all 'W:\r1 | W:\r2' >"$work/lines" 2>"$work/err"; status=$?
found=0
while IFS=$'\t' read -r caption name; do
  name="$(printf '%bx' "$name")"; name="${name%x}"
  if [ -e "$r1/$name" ] || [ -e "$r2/$name" ]; then found=$((found + 1)); else echo "FAIL: round trip: no file '$name' ($caption)"; fi
done <"$work/lines"
[ "$status" = 1 ] && [ "$found" = "$named" ] && [ "$(wc -l <"$work/lines")" = "$named" ] || { echo "FAIL: round trip: status $status, $found of $named names found"; failures=$((failures + 1)); }
total=$((total + 1))
run --report -0 --all 'W:\r1 | W:\r2' >"$work/records" 2>"$work/err"; status=$?
found="$(xargs -0 -n 1 sh -c 'tab="$(printf "\t")"; name="${3#*"$tab"}"; if [ -e "$1/$name" ] || [ -e "$2/$name" ]; then echo ok; else echo "no file: $3"; fi' sh "$r1" "$r2" <"$work/records")"
[ "$status" = 1 ] && [ "$(echo "$found" | grep -cx ok)" = "$named" ] && [ "$(echo "$found" | grep -cvx ok)" = 0 ] || { echo "FAIL: null round trip: status $status, $found"; failures=$((failures + 1)); }
null_report() { run --report "$@" | tr '\0' '#'; return "${PIPESTATUS[0]}"; }
check "null records" 0 "aligned	same.txt#" null_report --null --all 'W:\a | W:\b'
check "null records, short option" 0 "aligned	same.txt#" null_report --all -0 'W:\a | W:\b'
check "unknown option after known ones" 2 "" run --report --all -0 --bogus 'W:\a | W:\b'
total=$((total + 1)); grep -q "^tenzor: unknown option --bogus$" "$work/err" || { echo "FAIL: unknown option after known ones message"; failures=$((failures + 1)); }
total=$((total + 1))
run --report 'W:\r1 | W:\r2' >/dev/full 2>"$work/err"; status=$?
[ "$status" = 2 ] && grep -q "^tenzor: write error: " "$work/err" || { echo "FAIL: full disk: status $status, stderr '$(cat "$work/err")'"; failures=$((failures + 1)); }
# Trees. Twins pair by their exact bytes first and never twice: a twin left over is a
# branch of its own. A branch found on one side only is a difference; one flagged on
# one side only is no line.
mkdir -p "$work/v1/Docs" "$work/v1/docs" "$work/v2/Docs"
echo old >"$work/v1/Docs/file"; echo old >"$work/v2/Docs/file"; echo new >"$work/v1/docs/file"
touch -d '2024-01-01 10:00:00' "$work/v1/Docs/file" "$work/v2/Docs/file"
check "tree 1 twins" 1 "Only in tree 1: W:\\v1\\docs" run --report 'W:\v1 § W:\v2'
mkdir -p "$work/w1/Docs" "$work/w2/DOCS" "$work/w2/docs/deep" "$work/w2/flagged"
touch "$work/w2/flagged/_no_tenzor.flg"
check "tree 2 twins" 1 "Only in tree 2: W:\\w2\\docs
Only in tree 2: W:\\w2\\docs\\deep" run --report 'W:\w1 § W:\w2'
rm -r "$work/w1" "$work/w2"
# Directories that cannot be read, met as an ordinary user would, are said and make
# the answer incomplete: never passed over as aligned.
chmod 755 "$work"
cp "$tenzor" "$work/tz"
mkdir -p "$work/x1/a" "$work/x2/a" "$work/x1/b" "$work/x2/b" "$work/x1/c/sub/deep" \
  "$work/x2/c/sub/deep" "$work/x1/linked" "$work/elsewhere" "$work/x1/y" "$work/x2/y/below"
ln -s ../elsewhere "$work/x2/linked"
chmod 000 "$work/x2/a" "$work/x2/c/sub/deep" "$work/x1/y"
chmod 311 "$work/x2/b"
as_user() {
  env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES="W=$work" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/tz" --report "$@" | sort
  return "${PIPESTATUS[0]}"
}
check "unreadable branches" 2 "Not compared: W:\x1\linked (the other tree holds the name as a file or a link)
Not compared: W:\x1\y (70 Permission denied)
Not compared: W:\x2\a (70 Permission denied)
Not compared: W:\x2\b (70 Permission denied)
Not compared: W:\x2\c\sub\deep (70 Permission denied)" as_user 'W:\x1 § W:\x2'
# A directory that may be read but not searched (444) is answered as one that cannot be
# opened.
mkdir -p "$work/y1/d" "$work/y2/d"
echo x >"$work/y1/d/f"; echo x >"$work/y2/d/f"
chmod 444 "$work/y2/d"
check "unsearchable branch" 2 "Not compared: W:\y2\d (70 Permission denied)" as_user 'W:\y1 § W:\y2'
chmod 755 "$work/y2/d"
rm -r "$work/y1" "$work/y2"
# A drive root that may not be searched: the permission, not a missing path.
check "root closed to the user" 2 "" env -i PATH="$PATH" HOME="$work" TENZOR_DRIVES="W=$work;X=$work/x2/a" \
  setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/tz" --report 'W:\x1 | X:\one'
total=$((total + 1)); grep -qF 'Path cannot be reached: X:\one (70 Permission denied)' "$work/err" || { echo "FAIL: closed root message: $(cat "$work/err")"; failures=$((failures + 1)); }
chmod 755 "$work/x2/a" "$work/x2/b" "$work/x2/c/sub/deep" "$work/x1/y"
rm -r "$work/v1" "$work/v2" "$work/x1" "$work/x2" "$work/elsewhere" "$work/tz"
total=$((total + 1)); [ "$(ls -A "$work" | sort | tr '\n' ' ')" = "a b err lines r1 r2 records " ] || { echo "FAIL: wrote files: $(ls -A "$work")"; failures=$((failures + 1)); }
echo "$(( total - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
