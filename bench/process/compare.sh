#!/bin/bash
# Whole processes side by side on the rebuild benchmark's home (50 records of 20 documents, a
# shared recently-used file of 2,000 bookmarks over 30 applications): vorlane-recents --json,
# GLib's GBookmarkFile doing a smaller job, and the I/O floor. Runs are interleaved; prints the
# median of each and the ratios.
#   bench/process/compare.sh [build folder, default build/bench] [runs, default 21]
# With VORLANE_RECENTS_BEFORE naming another vorlane-recents (an earlier build), that one is
# timed in the same rounds.
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
python3 - "$runs" "$bin" "$home" "${VORLANE_RECENTS_BEFORE:-}" <<'PY'
import os, statistics, subprocess, sys, time
runs, bin, home, before = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
programs = {} if not before else {"vorlane-recents --json (before)": [before, "--json"]}
programs |= {
    "vorlane-recents --json": [f"{bin}/vorlane-recents", "--json"],
    "GLib GBookmarkFile": [f"{bin}/bench_process_glib", f"{home}/.local/share/recently-used.xbel"],
    "I/O floor": [f"{bin}/bench_process_floor", home],
}

def run(command):
    """Wall-clock and CPU (user + system) milliseconds of one run."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if status != 0:
        sys.exit(f"{command[0]} failed")
    return wall, (usage.ru_utime + usage.ru_stime) * 1000

walls = {name: [] for name in programs}
cpus = {name: [] for name in programs}
for command in programs.values():  # warm the caches once
    run(command)
for _ in range(runs):
    for name, command in programs.items():
        wall, cpu = run(command)
        walls[name].append(wall)
        cpus[name].append(cpu)
wall = {name: statistics.median(values) for name, values in walls.items()}
cpu = {name: statistics.median(values) for name, values in cpus.items()}
glib, floor = wall["GLib GBookmarkFile"], wall["I/O floor"]
print(f"| Program | Median of {runs} | × GLib | × floor | CPU (user + system) |")
print("|---|---|---|---|---|")
for name in programs:
    print(f"| {name} | {wall[name]:.1f} ms | {wall[name] / glib:.2f} | {wall[name] / floor:.2f} "
          f"| {cpu[name]:.1f} ms |")
PY
