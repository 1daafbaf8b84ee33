#!/usr/bin/env bash
# Start-up to the window and resident memory with a library of N songs in 30
# folders, for N = 100,000 and 1,000,000: the program is started under Xvfb
# in a folder whose vollo.ini names the folders, the window is looked for
# every 10 ms, and the resident set is read one second after it appeared.
# The processor time the program had used when its window was found is
# printed too: on a busy machine it says more than the wall time.
# Several builds given are run in turn within each round (the first is the
# baseline), so a busy machine slows them alike; medians are printed.
# The folders are the ones bench_scan makes once under the temporary directory.
# Usage: bench/startup.sh [BUILD_DIR...] (default build/release); ROUNDS=5, SIZES="100000 1000000".
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=("$here/build/release")
rounds="${ROUNDS:-5}"
sizes="${SIZES:-100000 1000000}"
tmp="${TMPDIR:-/tmp}"
for b in "${builds[@]}"; do
  [ -x "$b/src/vollo" ] || { echo "no $b/src/vollo: build first" >&2; exit 1; }
done
[ -x "${builds[0]}/bench/bench_scan" ] || { echo "no ${builds[0]}/bench/bench_scan: build it first" >&2; exit 1; }

work="$(mktemp -d "$tmp/vollo-startup-XXXXXX")"
xvfb_pid=""
vollo_pid=""
cleanup() {
  [ -n "$vollo_pid" ] && kill "$vollo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=":$((100 + $$ % 800))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
export VOLLO_AUDIO_SINK="fakesink sync=true"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# One start: prints "milliseconds-to-window resident-kB cpu-milliseconds-to-window".
measure() {
  local vollo="$1" dir="$2"
  local t0 t1 found=""
  t0="$(date +%s%N)"
  (cd "$dir" && exec "$vollo") >/dev/null 2>&1 &
  vollo_pid=$!
  for _ in $(seq 3000); do
    if xdotool search --onlyvisible --pid "$vollo_pid" --name '^Vollo' >/dev/null 2>&1; then
      found=1
      break
    fi
    sleep 0.01
  done
  t1="$(date +%s%N)"
  [ -n "$found" ] || { echo "no window from $vollo" >&2; exit 1; }
  local cpu
  cpu="$(awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$vollo_pid/stat")"
  sleep 1
  local rss
  rss="$(awk '/^VmRSS:/ {print $2}' "/proc/$vollo_pid/status")"
  kill "$vollo_pid"
  wait "$vollo_pid" 2>/dev/null || true
  vollo_pid=""
  echo "$(((t1 - t0) / 1000000)) $rss $cpu"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for n in $sizes; do
  root="$tmp/vollo-bench-library-$n"
  "${builds[0]}/bench/bench_scan" --benchmark_filter="BM_PlainEnumeration/$n\$" >/dev/null 2>&1
  dir="$work/$n"
  mkdir -p "$dir"
  for f in $(seq 0 29); do echo "$root/folder$f/"; done >"$dir/vollo.ini"
  for ((r = 0; r < rounds; r++)); do
    for i in "${!builds[@]}"; do
      measure "${builds[$i]}/src/vollo" "$dir" >>"$work/result-$n-$i"
    done
  done
  for i in "${!builds[@]}"; do
    ms="$(cut -d' ' -f1 "$work/result-$n-$i" | median)"
    kb="$(cut -d' ' -f2 "$work/result-$n-$i" | median)"
    cpu="$(cut -d' ' -f3 "$work/result-$n-$i" | median)"
    awk -v n="$n" -v b="${builds[$i]}" -v ms="$ms" -v kb="$kb" -v cpu="$cpu" \
      -v runs="$(cut -d' ' -f1 "$work/result-$n-$i" | tr '\n' ' ')" \
      'BEGIN { printf "%8d songs  %-36s window %5d ms  cpu %5d ms  resident %6.1f MB  (ms: %s)\n", n, b, ms, cpu, kb / 1024, runs }'
  done
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
