#!/usr/bin/env bash
# CPU while playing: Vollo playing a 60 s WAV into "fakesink sync=true" beside
# gst-launch-1.0 playbin playing the same file into the same sink, measured
# side by side as whole-process CPU time over the same wall time.
# Usage: bench/cpu_while_playing.sh [BUILD_DIR] (default build/release)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build/release}"
vollo="$build/src/vollo"
[ -x "$vollo" ] || { echo "no $vollo: build first" >&2; exit 1; }

work="$(mktemp -d /tmp/vollo-cpu-XXXXXX)"
trap 'kill $vollo_pid $gst_pid 2>/dev/null || true; rm -rf "$work"' EXIT
# 60 s of 44.1 kHz stereo: 2584 buffers of 1024 samples.
gst-launch-1.0 -q audiotestsrc num-buffers=2584 samplesperbuffer=1024 ! \
  audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$work/song.wav"

ticks="$(getconf CLK_TCK)"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

cd "$work"
export VOLLO_AUDIO_SINK="fakesink sync=true"
xvfb-run -a -s "-screen 0 1280x1024x24" "$vollo" "$work/song.wav" &
vollo_launcher=$!
gst-launch-1.0 -q playbin uri="file://$work/song.wav" audio-sink="fakesink sync=true" \
  video-sink=fakesink >/dev/null 2>&1 &
gst_pid=$!
# xvfb-run starts Xvfb and then vollo: find vollo's own process.
for _ in $(seq 50); do
  vollo_pid="$(pgrep -n -f "^$vollo " || true)"
  [ -n "$vollo_pid" ] && break
  sleep 0.1
done
[ -n "${vollo_pid:-}" ] || { echo "vollo did not start" >&2; exit 1; }

sleep 5   # past start-up: both are playing now
v0="$(cpu_ticks "$vollo_pid")"; g0="$(cpu_ticks "$gst_pid")"; t0="$(date +%s.%N)"
sleep 40
v1="$(cpu_ticks "$vollo_pid")"; g1="$(cpu_ticks "$gst_pid")"; t1="$(date +%s.%N)"

awk -v v="$((v1 - v0))" -v g="$((g1 - g0))" -v t0="$t0" -v t1="$t1" -v hz="$ticks" 'BEGIN {
  wall = t1 - t0
  vp = 100 * v / hz / wall; gp = 100 * g / hz / wall
  printf "wall %.1f s\nvollo      %.2f %% of one core\ngst-launch %.2f %% of one core\ndifference %.2f points\n", wall, vp, gp, vp - gp
}'
kill "$vollo_pid" 2>/dev/null || true
wait "$vollo_launcher" 2>/dev/null || true
