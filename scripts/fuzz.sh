#!/usr/bin/env bash
# Runs each fuzzer for a bounded time (or a number of executions), seeded with the real-world
# samples (and, for GVDB, the document portal fixtures) and the regression inputs in
# fuzz/regressions. Any crash, leak, sanitizer report or memory use above the limit fails the
# run; the input that caused it is kept in the build folder to become a regression test.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS_PER_FUZZER [RUNS [FUZZER...]]
#   (VORLANE_FUZZ_MAX_LEN and VORLANE_FUZZ_RSS_LIMIT_MB change the input size and memory limits)
#   RUNS > 0 runs each fuzzer for that many executions instead (SECONDS_PER_FUZZER is then ignored);
#   FUZZER... chooses fuzzers by name (default: all of them).
set -euo pipefail
build=$1
seconds=$2
runs=${3:-0}
shift $(($# < 3 ? $# : 3))
fuzzers=("$@")
[[ ${#fuzzers[@]} -gt 0 ]] ||
    fuzzers=(FuzzPropertyList FuzzKeyedArchive FuzzBookmark FuzzRecordFile FuzzRecentlyUsed FuzzPickList
             FuzzGvdb)
top=$(cd "$(dirname "$0")/.." && pwd)
samples="$top/../shared/fixtures/real"
# Peak memory is part of what is checked: no input of at most max_len bytes may need more.
rss_limit_mb=${VORLANE_FUZZ_RSS_LIMIT_MB:-512}
max_len=${VORLANE_FUZZ_MAX_LEN:-65536}
# AddressSanitizer keeps freed memory in a quarantine of 256 MB to catch late uses of it; over
# millions of executions that memory, not the readers', would fill the limit. A quarter of it
# still spans thousands of executions.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}

if ((runs > 0)); then
    budget=(-runs="$runs")
else
    budget=(-max_total_time="$seconds")
fi
for fuzzer in "${fuzzers[@]}"; do
    corpus="$build/corpus/$fuzzer"
    mkdir -p "$corpus" "$build/crashes"
    seeds=("$top/fuzz/regressions")
    [[ -d "$samples" ]] && seeds+=("$samples")
    # GVDB files as the document portal and GLib's resource compiler wrote them.
    [[ $fuzzer == FuzzGvdb ]] && seeds+=("$top/tests/fixtures/portal")
    echo "-- $fuzzer (${budget[*]})"
    log="$build/$fuzzer.log"
    if ! "$build/bin/$fuzzer" "$corpus" "${seeds[@]}" "${budget[@]}" -timeout=10 \
        -rss_limit_mb="$rss_limit_mb" -max_len="$max_len" \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$fuzzer-" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "$fuzzer found a failure; the input is in $build/crashes" >&2
        exit 1
    fi
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb|new_units_added)' \
        "$log" || true
done
