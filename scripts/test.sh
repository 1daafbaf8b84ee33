#!/usr/bin/env bash
# Sets up, builds and runs every test: unit, Qt binding, GStreamer player and
# scenario tests, once in a normal build and once with AddressSanitizer and
# UndefinedBehaviorSanitizer. Fails when any test fails.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export VOLLO_AUDIO_SINK="fakesink sync=true"
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

echo "== normal build"
run_suite "$here/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLLO_BENCH=ON

echo "== sanitizer build (address, undefined)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite "$here/build/asan" -DCMAKE_BUILD_TYPE=Debug -DVOLLO_BENCH=OFF -DVOLLO_SANITIZE=address,undefined
