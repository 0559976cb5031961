#!/usr/bin/env bash
# Builds Vorlane and starts it on the user's own recent documents. Arguments are passed on
# (--toggle shows or hides the window of a Vorlane that is already running).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DVORLANE_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
exec build/release/Vorlane.app/Contents/MacOS/Vorlane "$@"
