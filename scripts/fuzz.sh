#!/usr/bin/env bash
# Runs each fuzzer for a bounded time, seeded with the real-world samples and the regression
# inputs in fuzz/regressions. Any crash, leak or sanitizer report fails the run; the input that
# caused it is kept in the build folder to become a regression test.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS_PER_FUZZER
set -euo pipefail
build=$1
seconds=$2
top=$(cd "$(dirname "$0")/.." && pwd)
samples="$top/../shared/fixtures/real"

for fuzzer in FuzzPropertyList FuzzKeyedArchive FuzzBookmark; do
    corpus="$build/corpus/$fuzzer"
    mkdir -p "$corpus" "$build/crashes"
    seeds=("$top/fuzz/regressions")
    [[ -d "$samples" ]] && seeds+=("$samples")
    echo "-- $fuzzer for ${seconds}s"
    log="$build/$fuzzer.log"
    if ! "$build/bin/$fuzzer" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$fuzzer-" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "$fuzzer found a failure; the input is in $build/crashes" >&2
        exit 1
    fi
    grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
done
