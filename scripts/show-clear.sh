#!/usr/bin/env bash
# Shows what clearing an application asks and what it takes, under a private X server and session
# bus (scripts/session.sh) with openbox. A temporary home holds the Adobe media browser's shared
# preference file (binary) listing Photoshop, Illustrator and Lightroom, each installed, with a
# document each. xdotool is the user's fingers: the applications list's menu on Photoshop, "Clear
# Recent Documents". It checks and prints:
#   - the question names Photoshop and appears over the window; Escape keeps every list;
#   - agreeing (Alt+C) takes only Photoshop's list out of the shared file, which stays binary and
#     keeps Illustrator's and Lightroom's lists, and the window lists those two;
#   - in the auto-hide mode the panel stays while its question is open;
# and keeps screenshots of the question in the light and the dark look.
# Everything lands in OUTPUT (default BUILD/show-clear).
# Usage: scripts/show-clear.sh [BUILD [OUTPUT]]   (BUILD defaults to build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-clear}")

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane e2e-screen-grab" "$0" "$build" "$out"
show_prepare_home
adobe=$home/Library/Preferences/com.adobe.mediabrowser.plist
# The Adobe file is read where the record folder can be.
mkdir -p "$home/Documents" "$(dirname "$adobe")" \
    "$XDG_DATA_HOME/com.apple.sharedfilelist/com.apple.LSSharedFileList.ApplicationRecentDocuments"

# Photoshop's document is the newest, so Photoshop is the first row.
minutes=1
for app in photoshop:image-x-generic illustrator:applications-graphics lightroom:camera-photo; do
    key=${app%%:*}
    desktop_entry "com.adobe.$key" "${key^}" "${app#*:}"
    echo "$key" >"$home/Documents/$key work.txt"
    touch -d "-$minutes minutes" "$home/Documents/$key work.txt"
    minutes=$((minutes + 10))
done
python3 - "$adobe" "$home/Documents" <<'EOF'
import plistlib, sys, datetime
path, documents = sys.argv[1], sys.argv[2]
mru = {key: {"files": [{"file-path": f"{documents}/{key} work.txt"}], "zoom": 1.5}
       for key in ("photoshop", "illustrator", "lightroom")}
with open(path, "wb") as out:
    plistlib.dump({"MRU": mru, "LastFolder": documents,
                   "Saved": datetime.datetime(2026, 5, 4, 3, 2, 1)}, out, fmt=plistlib.FMT_BINARY)
EOF
adobe_keys() {
    python3 -c 'import plistlib, sys; print(" ".join(sorted(plistlib.load(open(sys.argv[1], "rb"))["MRU"])))' "$adobe"
}
adobe_rest() {
    python3 -c 'import plistlib, sys; p = plistlib.load(open(sys.argv[1], "rb")); print(p["LastFolder"] == sys.argv[2], p["Saved"].isoformat(), sorted(p["MRU"]["illustrator"]))' "$adobe" "$home/Documents"
}

show_window_manager openbox --sm-disable

first_row_is() { [[ $(adobe_keys) == "$1" ]]; }

start() { # look auto-hide
    printf '[General]\nAppearance=%s\nFilesViewType=list\nAutoHideWindow=%s\nLoginItem=false\nOnboardingCompleted=true\n' \
        "$1" "$2" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    "$vorlane" >>"$out/vorlane.txt" 2>&1 &
    vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window Vorlane || { failed "$1: no window"; return 1; }
    window=$(visible Vorlane)
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    sleep 0.5
}
ask_to_clear_first_row() { # top of the list: 25 in the ordinary mode, 0 in auto-hide
    xdotool mousemove --window "$window" 46 $(($1 + 36)) click 3
    sleep 0.4
    xdotool key Down Down Return
    wait_for 50 has_window "Clear Recent Documents"
}
quit() {
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    xdotool key ctrl+q
    wait_for 100 ended "$vorlane_pid" || { failed "Ctrl+Q left Vorlane running"; kill "$vorlane_pid"; }
    wait "$vorlane_pid" 2>/dev/null || true
    wait_for 50 gone Vorlane || true
}

for look in light dark; do
    start "$look" false || continue
    if ask_to_clear_first_row 25; then
        sleep 0.4
        ok "$look: clearing asks first"
        shot "$window" "$look-clear-confirmation"
        xdotool key Escape
        wait_for 50 gone "Clear Recent Documents" || failed "$look: Escape left the question open"
        sleep 0.5
        if [[ $(adobe_keys) == "illustrator lightroom photoshop" ]]; then
            ok "$look: Escape kept every Adobe list"
        else
            failed "$look: after Escape the file lists: $(adobe_keys)"
        fi
    else
        failed "$look: no question"
    fi
    quit
done

start light true
if ask_to_clear_first_row 0; then
    sleep 0.5
    if viewable "$window"; then ok "auto-hide: the panel stays while its question is open"
    else failed "auto-hide: the panel hid from its own question"; fi
    shot "$(visible "Clear Recent Documents")" "auto-hide-question"
    xdotool key alt+c
    if wait_for 100 first_row_is "illustrator lightroom"; then
        ok "agreeing took Photoshop's list out; left: $(adobe_keys)"
    else
        failed "after agreeing the file lists: $(adobe_keys)"
    fi
    if head -c 8 "$adobe" | grep -q bplist00; then ok "the file is still binary"
    else failed "the file is no longer binary"; fi
    ok "the rest of the file: $(adobe_rest)"
    sleep 1
    shot "$window" "auto-hide-after-clearing"
else
    failed "auto-hide: no question"
fi
quit

echo "Vorlane said:"; grep -h -v "^qt\." "$out"/vorlane.txt || true
if ((failures)); then echo "$failures check(s) FAILED"; exit 1; fi
echo "every check passed; screenshots in $out"
