# shellcheck shell=bash disable=SC2154
# Sourced by bench/speed.sh, which sets $runs, $work and $limit.

# The median of the numbers on standard input, one a line.
median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR) print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}

# Seconds between two readings of $EPOCHREALTIME.
elapsed() { echo "$2 - $1" | bc -l; }

# Runs a command once to warm the caches and $runs times under /usr/bin/time (for CPU
# time and peak memory, in its 10 ms and 1 KB steps); the wall time is read around it to
# the microsecond, less $harness, what starting a process this way costs by itself. A
# run that ends with a status other than 0 or 1 (a report's "differs"), or that is still
# going after $limit seconds, spoils the measurement. Appends "key wall cpu peak_kb"
# (medians) to $work/results and prints them.
measure() {  # key, label, command...
  local key="$1" label="$2"
  shift 2
  : >"$work/runs"
  timeout "$limit" "$@" >/dev/null 2>&1 || true
  for _ in $(seq "$runs"); do
    local status=0 start=$EPOCHREALTIME
    timeout "$limit" /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" \
      >/dev/null 2>"$work/err" || status=$?
    local wall
    wall=$(elapsed "$start" "$EPOCHREALTIME")
    if [ "$status" -gt 1 ]; then
      printf '  %-24s not measured: exit status %s\n' "$label" "$status"
      head -n 3 "$work/err"
      return
    fi
    echo "$wall $(tail -n 1 "$work/time")" >>"$work/runs"
  done
  record "$key" "$label" \
    "$(awk -v h="${harness:-0}" '{ print $1 - h }' "$work/runs" | median)" \
    "$(awk '{ print $2 + $3 }' "$work/runs" | median)" \
    "$(awk '{ print $4 }' "$work/runs" | median)"
}

record() {  # key, label, wall[, cpu, peak_kb]
  echo "$1 $3 ${4:--} ${5:--}" >>"$work/results"
  printf '  %-24s wall %8.4f s' "$2" "$3"
  [ -z "${4:-}" ] || printf '   cpu %6.2f s   peak %7.1f MB' "$4" "$(echo "$5 / 1024" | bc -l)"
  echo
}
