#!/usr/bin/env bash
# Builds Vorlane and runs every test: the suite with warnings as errors, the suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzzing run of the readers.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${VORLANE_FUZZ_SECONDS:-25}

echo "== build (warnings as errors)"
# Unity builds compile several sources at once: the whole suite builds in about half the time.
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANE_WERROR=ON \
      -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build/ci -j "$jobs"
echo "== tests"
scripts/session.sh ctest --test-dir build/ci --output-on-failure -j "$jobs"

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORLANE_WERROR=ON \
      -DVORLANE_SANITIZE=ON -DVORLANE_BENCH=OFF -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build build/asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    scripts/session.sh ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== fuzzing (${fuzz_seconds}s per reader)"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DVORLANE_FUZZ=ON -DBUILD_TESTING=OFF -DVORLANE_BENCH=OFF >/dev/null
cmake --build build/fuzz -j "$jobs" --target FuzzPropertyList FuzzKeyedArchive FuzzBookmark \
      FuzzRecordFile FuzzRecentlyUsed FuzzPickList FuzzGvdb
scripts/fuzz.sh build/fuzz "$fuzz_seconds"

echo "== all tests passed in $((SECONDS / 60)) min $((SECONDS % 60)) s"
