#!/usr/bin/env bash
# The install as a package sees it: `cmake --install` of the built tree into a private
# root, then the desktop's own checkers on what landed there; then the Debian package
# that scripts/package.sh makes (in <build>/package), as lintian and a user's system see it.
set -u
build="$1"
cmake="${2:-cmake}"
here="$(cd "$(dirname "$0")/.." && pwd)"
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
usr/share/doc/tenzor/changelog.Debian.gz
usr/share/doc/tenzor/copyright
usr/share/lintian/overrides/tenzor
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

# The launcher: valid, starting the installed program on the dropped folders, and no
# handler of folders (it would become the desktop's way to open every folder).
quiet "desktop-file-validate" desktop-file-validate "$desktop"
for line in 'Exec=tenzor %F' 'Icon=tenzor' 'Terminal=false' 'StartupWMClass=tenzor' \
  'Categories=Utility;FileTools;' 'Name=Tenzor' 'GenericName=Directory comparison'; do
  total=$((total + 1))
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
total=$((total + 1))
! grep -q '^MimeType=' "$desktop" || fail "desktop entry claims a type: $(grep '^MimeType=' "$desktop")"

# The description, checked together with the tree it lists: its launcher and icon.
passes "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
passes "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"
for tag in '<project_license>GPL-3.0-or-later</project_license>' \
  '<url type="homepage">https://tenzor.org</url>' \
  "<release version=\"$(env -i "$usr/bin/tenzor" --version | cut -d' ' -f2)\" date="; do
  total=$((total + 1))
  grep -qF -- "$tag" "$metainfo" || fail "description lacks '$tag'"
done

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
total=$((total + 1))
grep -qE '^\.TH TENZOR 1 "[0-9]{4}-[0-9]{2}-[0-9]{2}"' <(zcat "$man_page") || fail "manual page has no date"
total=$((total + 1))
sed -n '/^FILES$/,/^[A-Z]/p' <<<"$page" | grep -qE '^ +tenzor\.log$' ||
  fail "manual page lists no tenzor.log under FILES"
for topic in TENZOR_DRIVES --report --all '~/.local/share/tenzor/temp/tenzor_his.tmp'; do
  total=$((total + 1))
  grep -qF -- "$topic" <<<"$page" || fail "manual page lacks '$topic'"
done

# The package: lintian finds no error and no warning; the program in it is stripped and
# hardened; it recommends the Wayland plugin and states its licence.
total=$((total + 1))
if ! package="$(TENZOR_PACKAGE_DIR="$build/package" "$here/scripts/package.sh" 2>"$root/package.log")"; then
  fail "scripts/package.sh: $(tail -n 20 "$root/package.log")"
else
  total=$((total + 1))
  # (Run as root, lintian says so on standard error: that is no finding.)
  lint="$(lintian --fail-on error,warning "$package" 2>"$root/lintian.err")" ||
    fail "lintian: $lint $(grep -v 'root privileges' "$root/lintian.err")"
  # apt takes it: every library it needs is there or to be had (simulated, as a test
  # must not install anything).
  passes "apt-get install --simulate" apt-get install --simulate --no-install-recommends "$package"
  unpacked="$root/package"
  dpkg-deb -x "$package" "$unpacked"
  program="$unpacked/usr/bin/tenzor"
  total=$((total + 1))
  file -b "$program" | grep -q ', stripped' || fail "the packaged program is not stripped: $(file -b "$program")"
  total=$((total + 1))
  readelf -d "$program" | grep -qE 'BIND_NOW|FLAGS.*\bNOW\b' || fail "the packaged program binds lazily (no -z now)"
  total=$((total + 1))
  readelf -lW "$program" | grep -q GNU_RELRO || fail "the packaged program has no read-only relocations"
  symbols="$(readelf --dyn-syms -W "$program")"
  total=$((total + 1))
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "the packaged program has no stack protector"
  total=$((total + 1))
  grep -qE '__[a-z_]+_chk\b' <<<"$symbols" || fail "the packaged program calls no fortified functions"
  total=$((total + 1))
  dpkg-deb -f "$package" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"
  total=$((total + 1))
  grep -q '^License: GPL-3+$' "$unpacked/usr/share/doc/tenzor/copyright" ||
    fail "the package's copyright names no GPL-3+"
fi

echo "$((total - failures)) passed, $failures failed"
[ "$failures" = 0 ]
