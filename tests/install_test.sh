#!/usr/bin/env bash
# The install as a package sees it: `cmake --install` of the built tree into a private
# root, then the desktop's own checkers on what landed there.
set -u
build="$1"
cmake="${2:-cmake}"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
failures=0
total=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# description, command...: the command must succeed (and with `quiet`, print nothing).
passes() {
  local what="$1"
  shift
  total=$((total + 1))
  local out status
  out="$("$@" 2>&1)"
  status=$?
  if [ "$status" != 0 ] || { [ -n "$silent" ] && [ -n "$out" ]; }; then
    fail "$what: status $status: $out"
  fi
}
quiet() { silent=1 passes "$@"; }
silent=

if ! DESTDIR="$root" "$cmake" --install "$build" --prefix /usr >"$root.log" 2>&1; then
  cat "$root.log"
  rm -f "$root.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$root.log"
usr="$root/usr"
share="$usr/share"
desktop="$share/applications/org.tenzor.Tenzor.desktop"
metainfo="$share/metainfo/org.tenzor.Tenzor.metainfo.xml"
man_page="$share/man/man1/tenzor.1.gz"
sizes="16 22 24 32 48 64 128 256"

# Exactly these files: a missing one breaks the menu, a stray one lands on users' disks.
total=$((total + 1))
expected="usr/bin/tenzor
usr/share/applications/org.tenzor.Tenzor.desktop
usr/share/icons/hicolor/scalable/apps/tenzor.svg
usr/share/man/man1/tenzor.1.gz
usr/share/metainfo/org.tenzor.Tenzor.metainfo.xml"
for size in $sizes; do
  expected+=$'\n'"usr/share/icons/hicolor/${size}x${size}/apps/tenzor.png"
done
got="$(cd "$root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)"
expected="$(LC_ALL=C sort <<<"$expected")"
[ "$got" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$got"))"

total=$((total + 1))
help="$(env -i PATH=/usr/bin:/bin "$usr/bin/tenzor" --help 2>&1)" &&
  [ "$(head -n 1 <<<"$help")" = "Usage:" ] || fail "installed program: --help said '$help'"

# The launcher: valid, starting the installed program on the dropped folders.
quiet "desktop-file-validate" desktop-file-validate "$desktop"
for line in 'Exec=tenzor %F' 'Icon=tenzor' 'Terminal=false' 'StartupWMClass=tenzor' \
  'MimeType=inode/directory;' 'Categories=Utility;FileTools;' 'Name=Tenzor' \
  'GenericName=Directory comparison'; do
  total=$((total + 1))
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done

# The description, checked together with the tree it lists: its launcher and icon.
passes "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
passes "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"

# Each PNG is a PNG of its folder's size (width and height sit at bytes 16-23).
for size in $sizes; do
  total=$((total + 1))
  png="$share/icons/hicolor/${size}x${size}/apps/tenzor.png"
  header="$(od -An -tx1 -N24 "$png" 2>/dev/null | tr -d ' \n')"
  want="$(printf '89504e470d0a1a0a%s49484452%08x%08x' 0000000d "$size" "$size")"
  [ "$header" = "$want" ] || fail "$png is not a ${size}x${size} PNG: $header"
done
total=$((total + 1))
grep -q '<svg[^>]*viewBox=' "$share/icons/hicolor/scalable/apps/tenzor.svg" ||
  fail "scalable icon has no viewBox"

# The manual page renders without a warning and covers what a user looks it up for.
total=$((total + 1))
page="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -P cat -l "$man_page" 2>"$root/man.err")"
[ $? = 0 ] && [ ! -s "$root/man.err" ] || fail "man -l: $(cat "$root/man.err")"
for section in SYNOPSIS 'COMMAND LINE' DRIVES 'REPORT MODE' 'EXIT STATUS' FILES; do
  total=$((total + 1))
  grep -qxF -- "$section" <<<"$page" || fail "manual page lacks the section $section"
done
for topic in TENZOR_DRIVES --report --all '~/.local/share/tenzor/temp/tenzor_his.tmp'; do
  total=$((total + 1))
  grep -qF -- "$topic" <<<"$page" || fail "manual page lacks '$topic'"
done

echo "$((total - failures)) passed, $failures failed"
[ "$failures" = 0 ]
