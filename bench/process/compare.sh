#!/bin/bash
# Whole processes side by side on the rebuild benchmark's home (50 records of 20 documents, a
# shared recently-used file of 2,000 bookmarks over 30 applications): vorlane-recents --json,
# GLib's GBookmarkFile doing a smaller job, and the I/O floor. Runs are interleaved; prints the
# median of each and the ratios.
#   bench/process/compare.sh [build folder, default build/bench] [runs, default 21]
# With VORLANE_RECENTS_BEFORE naming another vorlane-recents (an earlier build), that one is
# timed in the same rounds. With VORLANE_COUNT_INSTRUCTIONS=1, each program also runs once under
# valgrind's callgrind, whose count of instructions does not depend on the machine's load.
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
python3 - "$runs" "$bin" "$home" "${VORLANE_RECENTS_BEFORE:-}" \
    "${VORLANE_COUNT_INSTRUCTIONS:-0}" <<'PY'
import os, random, re, statistics, subprocess, sys, tempfile, time
runs, bin, home, before = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
count_instructions = sys.argv[5] == "1"
programs = {} if not before else {"vorlane-recents --json (before)": [before, "--json"]}
programs |= {
    "vorlane-recents --json": [f"{bin}/vorlane-recents", "--json"],
    "GLib GBookmarkFile": [f"{bin}/bench_process_glib", f"{home}/.local/share/recently-used.xbel"],
    "I/O floor": [f"{bin}/bench_process_floor", home],
}

def instructions(command):
    """Millions of instructions the program runs in user space, counted by callgrind."""
    with tempfile.TemporaryDirectory() as folder:
        result = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={folder}/out"]
                                + command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                text=True, check=True)
    return int(re.search(r"Collected : (\d+)", result.stderr).group(1)) / 1e6

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
    # In a new order each round: on some machines the program run first in a round is slower.
    for name in random.sample(list(programs), len(programs)):
        wall, cpu = run(programs[name])
        walls[name].append(wall)
        cpus[name].append(cpu)
wall = {name: statistics.median(values) for name, values in walls.items()}
cpu = {name: statistics.median(values) for name, values in cpus.items()}
glib, floor = wall["GLib GBookmarkFile"], wall["I/O floor"]
counts = {name: f" {instructions(command):.0f} M |" for name, command in programs.items()} \
    if count_instructions else {name: "" for name in programs}
extra = " Instructions |" if count_instructions else ""
print(f"| Program | Median of {runs} | × GLib | × floor | CPU (user + system) |{extra}")
print("|---|---|---|---|---|" + ("---|" if count_instructions else ""))
for name in programs:
    print(f"| {name} | {wall[name]:.1f} ms | {wall[name] / glib:.2f} | {wall[name] / floor:.2f} "
          f"| {cpu[name]:.1f} ms |{counts[name]}")
PY
