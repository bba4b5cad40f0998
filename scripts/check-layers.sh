#!/usr/bin/env bash
# Checks the layers by the includes of every source file: each folder includes only
# the folders below it (and itself), the folders form no cycle, and no code below the
# widgets includes a Qt header that is not part of QtCore. Prints every violation and
# exits 1 when there is any.
#
# Usage: check-layers.sh [SOURCE_DIR [QTCORE_INCLUDE_DIR]]
set -uo pipefail
src="$(realpath -m "${1:-$(dirname "$0")/../src}")"
qtcore="${2:-}"

# Folder -> the folders it may include besides itself.
declare -A allowed=(
  [platform]=""
  [platform/qt]="platform"
  [texts]=""
  [models]="texts platform"
  [core]="models texts platform"
  [compare]="core models texts platform"
  [tree]="compare core models texts platform"
  [history]="compare core models texts platform"
  [help]="core models texts platform"
  [directory_menu]="compare core models texts platform"
  [align]="tree compare core models texts platform"
  [app]="align history help directory_menu tree compare core models texts platform"
  [ui]="app align history help directory_menu tree compare core models texts platform platform/qt"
  [.]="ui app align history help directory_menu tree compare core models texts platform platform/qt"
)
# Folders whose code may see no widgets: QtCore only.
core_only="platform texts models core compare tree history help directory_menu align app"

# The file an include reaches, relative to the sources, as the compiler finds it: beside
# the including file first, then from the sources' root; `..` and links resolved, so that
# "../align/copier.h" counts as the align folder. Nothing for a header elsewhere.
reached() {  # including file, included name -> $reached
  local path
  reached=""
  for path in "${1%/*}/$2" "$src/$2"; do
    [ -f "$path" ] || continue
    # Only a name with ".." needs resolving, which takes a process of its own.
    [[ "$path" == *..* ]] && path=$(realpath -m "$path")
    case "$path" in "$src"/*) reached="${path#"$src"/}" ;; esac
    return
  done
}

folder_of() {  # src-relative path of a file or include -> its folder
  local dir
  dir=$(dirname "$1")
  case "$dir" in platform/qt*) echo platform/qt ;; *) echo "${dir%%/*}" ;; esac
}

failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}

while IFS= read -r file; do
  rel="${file#"$src"/}"
  from=$(folder_of "$rel")
  [ -n "${allowed[$from]+set}" ] || { fail "$rel: folder '$from' has no place in the layers"; continue; }
  while IFS= read -r line; do
    inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
    reached "$file" "$inc"
    [ -n "$reached" ] || continue
    to=$(folder_of "$reached")
    [ "$to" = "$from" ] && continue
    [[ " ${allowed[$from]} " == *" $to "* ]] || fail "$rel: includes $inc ($from may not include $to)"
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
  if [ -n "$qtcore" ] && [[ " $core_only " == *" $from "* ]]; then
    while IFS= read -r header; do
      name="${header#QtCore/}"
      [[ "$header" == */* && "$header" != QtCore/* ]] && { fail "$rel: includes <$header>, which is not QtCore"; continue; }
      [ -e "$qtcore/$name" ] || fail "$rel: includes <$header>, which is not QtCore"
    done < <(grep -ohE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q[A-Za-z0-9_/]*>' "$file" |
      sed -E 's/.*<([^>]+)>.*/\1/')
  fi
done < <(find "$src" -name '*.cpp' -o -name '*.h' | sort)

if [ "$failures" -gt 0 ]; then
  echo "$failures layer violation(s)"
  exit 1
fi
echo "layers: every include goes downwards"
