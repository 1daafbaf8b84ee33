#!/usr/bin/env bash
# Sets up, builds and runs every test: unit, Qt binding, GStreamer player and
# scenario tests, once in a normal build and once with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the libFuzzer targets for VOLLO_FUZZ_SECONDS
# (30) each. Fails when any test fails or a fuzzer finds a crash.
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
export LSAN_OPTIONS="suppressions=$here/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite "$here/build/asan" -DCMAKE_BUILD_TYPE=Debug -DVOLLO_BENCH=OFF -DVOLLO_SANITIZE=address,undefined

echo "== fuzzers (libFuzzer with address and undefined, ${VOLLO_FUZZ_SECONDS:-30} s each)"
CXX=clang++ cmake -S "$here" -B "$here/build/fuzz" -G Ninja -DVOLLO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVOLLO_SANITIZE=address,undefined -DVOLLO_FUZZ_SECONDS="${VOLLO_FUZZ_SECONDS:-30}" >/dev/null
cmake --build "$here/build/fuzz" -j "$jobs"
ctest --test-dir "$here/build/fuzz" --output-on-failure --timeout 600
