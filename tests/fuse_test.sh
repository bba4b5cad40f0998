#!/usr/bin/env bash
# A folder on a FUSE file system with FAT's 2-second times, as a stick or a desktop
# mount gives it: the copy arrives with its time and the comparison finds the pair
# aligned. Skipped (77) where the machine cannot mount one.
set -u
tenzor="$1"
command -v fusefat >/dev/null && command -v mkfs.vfat >/dev/null || { echo "no fusefat here"; exit 77; }
work="$(mktemp -d)"
cleanup() {
  fusermount -u "$work/fat" 2>/dev/null || umount "$work/fat" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/loc/one" "$work/fat"
truncate -s 8M "$work/fat.img"
mkfs.vfat "$work/fat.img" >/dev/null 2>&1 || { echo "cannot make a FAT image"; exit 77; }
fusefat -o rw+ "$work/fat.img" "$work/fat" >/dev/null 2>&1 || { echo "cannot mount through FUSE here"; exit 77; }
mkdir "$work/fat/two"
printf 'odd second\n' >"$work/loc/one/a.txt"
printf 'left alone\n' >"$work/loc/one/b.txt"
touch -d '2024-01-01 10:00:01' "$work/loc/one/a.txt" "$work/loc/one/b.txt"

failures=0
total=0
expect() {  # description, condition...
  total=$((total + 1))
  "${@:2}" || { echo "FAIL: $1"; failures=$((failures + 1)); }
}
export TENZOR_DRIVES="C=$work/loc;F=$work/fat"
"$tenzor" --copy-file "$work/loc/one/a.txt" "$work/fat/two/a.txt"
expect "the copy succeeds" [ $? -eq 0 ]
expect "the copy holds the data" cmp -s "$work/loc/one/a.txt" "$work/fat/two/a.txt"
report="$("$tenzor" --report --all 'C:\one | F:\two')"
expect "the report runs" [ $? -eq 1 ]
expect "the copy is aligned, within FAT's two seconds" grep -qxF "aligned	a.txt" <<<"$report"
expect "the other file is only in dir 1" grep -qxF "only in dir 1	b.txt" <<<"$report"
expect "no temporary file is left" [ -z "$(ls -A "$work/fat/two" | grep -v '^a.txt$')" ]
echo "$((total - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
