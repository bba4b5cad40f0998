#!/usr/bin/env bash
# A copy killed (SIGKILL) at any moment, over and over: the target is always either the
# old file or the whole new one, the source is never touched, and what a killed copy
# left behind is removed by the next copy into that folder.
set -u
tenzor="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/from" "$work/to"
head -c 200000000 /dev/urandom >"$work/from/big.bin"
printf 'the old target\n' >"$work/old.bin"
cp "$work/old.bin" "$work/to/big.bin"
source_sum="$(sha256sum <"$work/from/big.bin")"
copy=(env -i PATH="$PATH" TENZOR_DRIVES="C=/;W=$work" "$tenzor" --copy-file 'W:\from\big.bin'
  'W:\to\big.bin')
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

killed_with_leftover=0
# The later ones still reach a copy half-way on a loaded machine or a sanitized build,
# where the program takes longer to start.
delays=(0.001 0.005 0.01 0.02 0.03 0.05 0.07 0.1 0.13 0.16 0.2 0.3 0.5 0.8 1.2 1.8 2.5)
leftovers() { find "$work/to" -name '.tenzor-copy-*' | wc -l; }
for delay in "${delays[@]}"; do
  before=$(leftovers)
  "${copy[@]}" &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  if cmp -s "$work/to/big.bin" "$work/old.bin"; then
    :
  elif cmp -s "$work/to/big.bin" "$work/from/big.bin"; then
    cp "$work/old.bin" "$work/to/big.bin"  # the copy was complete: start again from the old
  else
    fail "killed after $delay s: the target is neither the old file nor the new one"
    cp "$work/old.bin" "$work/to/big.bin"
  fi
  [ "$(sha256sum <"$work/from/big.bin")" = "$source_sum" ] || fail "the source changed"
  [ "$(leftovers)" -gt "$before" ] && killed_with_leftover=$((killed_with_leftover + 1))
done
# Without a kill half-way, nothing above was tried.
[ "$killed_with_leftover" -gt 0 ] || fail "no copy was killed half-way"

# What a killed copy of this machine left goes with the next copy into the folder.
"${copy[@]}" || fail "a copy after the kills failed"
cmp -s "$work/to/big.bin" "$work/from/big.bin" || fail "the last copy is not whole"
[ "$(leftovers)" -eq 0 ] || fail "a leftover of a killed copy stayed"
[ "$failures" -eq 0 ] || exit 1
echo "copies killed: $killed_with_leftover of ${#delays[@]} left a temporary file; targets always whole"
