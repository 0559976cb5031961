#!/bin/bash
# Whole processes side by side on the rebuild benchmark's home (50 records of 20 documents, a
# shared recently-used file of 2,000 bookmarks over 30 applications): vorlane-recents --json,
# GLib's GBookmarkFile doing a smaller job, and the I/O floor. Runs are interleaved; prints the
# median of each and the ratios.
#   bench/process/compare.sh [build folder, default build/bench] [runs, default 21]
set -euo pipefail
build=${1:-build/bench}
runs=${2:-21}
bin=$build/bin
home=$("$bin/bench_process_home")
trap 'rm -rf "$home"' EXIT

export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_DATA_DIRS=$home/system/share \
    XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
unset TZ
uptime
python3 - "$runs" "$bin" "$home" <<'PY'
import statistics, subprocess, sys, time
runs, bin, home = int(sys.argv[1]), sys.argv[2], sys.argv[3]
programs = {
    "vorlane-recents --json": [f"{bin}/vorlane-recents", "--json"],
    "GLib GBookmarkFile": [f"{bin}/bench_process_glib", f"{home}/.local/share/recently-used.xbel"],
    "I/O floor": [f"{bin}/bench_process_floor", home],
}
times = {name: [] for name in programs}
for name, command in programs.items():  # warm the caches once
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
for _ in range(runs):
    for name, command in programs.items():
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        times[name].append((time.perf_counter() - start) * 1000)
medians = {name: statistics.median(values) for name, values in times.items()}
glib, floor = medians["GLib GBookmarkFile"], medians["I/O floor"]
print(f"| Program | Median of {runs} | × GLib | × floor |")
print("|---|---|---|---|")
for name, median in medians.items():
    print(f"| {name} | {median:.1f} ms | {median / glib:.2f} | {median / floor:.2f} |")
PY
