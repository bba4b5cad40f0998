# shellcheck shell=bash disable=SC2154
# Sourced by the speed scripts, which set $runs and $work.
measure() {  # name, command...: prints "name wall cpu" as medians
  local name="$1"; shift
  local walls=() cpus=()
  "$@" >/dev/null 2>&1 || true  # warm the caches
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1 || true
    read -r wall user sys < <(tail -n 1 "$work/time")
    walls+=("$wall")
    cpus+=("$(echo "$user + $sys" | bc)")
  done
  local mw mc
  mw=$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  mc=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  printf '%-14s wall %6.2f s   cpu %6.2f s\n' "$name" "$mw" "$mc"
  echo "$name $mw $mc" >>"$work/results"
}
