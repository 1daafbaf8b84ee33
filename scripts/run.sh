#!/usr/bin/env bash
# Sets up, builds and starts Vollo. "vollo.ini" and "options.ini" live in the
# directory you start it from.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOLLO_BENCH=OFF >/dev/null
cmake --build "$here/build/release" --target vollo
exec "$here/build/release/src/vollo" "$@"
