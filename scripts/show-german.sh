#!/usr/bin/env bash
# Shows Vorlane in German as a person with a German desktop meets it: a private X server and
# session bus (scripts/session.sh) with openbox, LANG=de_DE.UTF-8 and LANGUAGE=de, the catalogue
# from the build tree, and a temporary home whose applications have documents of today, of this
# week and older, one with a long name. xdotool is the person's fingers. It checks that the
# windows carry their German titles and keeps screenshots of: the welcome window, the empty
# window, the main window in the list and the grid, the documents' and the applications' menus,
# the main window narrowed, the preferences, and (with trayer as the tray) the tray menu and
# About. German words are longer than English ones: the screenshots are there to be looked at
# for cut-off texts.
# Everything lands in OUTPUT (default BUILD/show-german).
# Usage: scripts/show-german.sh [BUILD [OUTPUT]]   (BUILD defaults to build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-german}")

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane vorlane_translations e2e-screen-grab" "$0" "$build" "$out"
show_prepare_home
mkdir -p "$home/Dokumente"
unset LC_ALL LC_MESSAGES

applications=(
    "org.example.Writer|Textverarbeitung|accessories-text-editor"
    "org.example.Sheets|Tabellenkalkulation|x-office-spreadsheet"
    "org.example.Painter|Bildbearbeitung|applications-graphics"
)
write_history() {
    xbel_open
    local minutes document
    for entry in "${applications[@]}"; do
        IFS='|' read -r id name icon <<<"$entry"
        desktop_entry "$id" "$name" "$icon"
        # Today, yesterday and a month ago: three date groups.
        for minutes in 5 1500 43000; do
            document="$name $minutes.txt"
            echo "$document" >"$home/Dokumente/$document"
            bookmark "$home/Dokumente/$document" "$minutes" "$id"
        done
    done
    document="Vierteljahresbericht über die Umsatzzahlen des nördlichen Vertriebsgebiets.txt"
    echo "Zahlen" >"$home/Dokumente/$document"
    bookmark "$home/Dokumente/$document" 1 org.example.Writer
    xbel_close
}

show_window_manager openbox --sm-disable

settings() { # onboarding-completed
    printf '[General]\nAppearance=light\nFilesViewType=list\nAutoHideWindow=false\nLoginItem=false\nOnboardingCompleted=%s\n' \
        "$1" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
}
start() { # log-name
    # German for Vorlane alone: the X tools complain of a locale the system lacks.
    LANG=de_DE.UTF-8 LANGUAGE=de "$vorlane" >"$out/vorlane-$1.txt" 2>&1 &
    vorlane_pid=$!
    pids+=("$vorlane_pid")
}
stop() {
    kill "$vorlane_pid" 2>/dev/null || true
    wait "$vorlane_pid" 2>/dev/null || true
}
window_titled() { # title name
    if wait_for 300 has_window "$1"; then
        ok "the window \"$1\" is shown"
        window=$(visible "$1")
        sleep 0.5
        shot "$window" "$2"
    else
        failed "no window titled \"$1\""
        window=
    fi
}

# The welcome window, on a first start.
settings false
write_history >"$XDG_DATA_HOME/recently-used.xbel"
start welcome
window_titled "Willkommen bei Vorlane" 1-welcome
stop

# The main window without any recent document.
settings true
rm "$XDG_DATA_HOME/recently-used.xbel"
start empty
window_titled Vorlane 2-empty
stop

settings true
write_history >"$XDG_DATA_HOME/recently-used.xbel"
start main
window_titled Vorlane 3-list
if [[ -n $window ]]; then
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    # The documents' menu on the first document, then the applications' menu.
    xdotool mousemove --window "$window" 300 65 click 3
    sleep 0.5
    shot_around "$window" 4-documents-menu
    xdotool key Escape
    sleep 0.3
    xdotool mousemove --window "$window" 46 36 click 3
    sleep 0.5
    shot_around "$window" 5-applications-menu
    xdotool key Escape
    sleep 0.3
    xdotool key ctrl+2
    sleep 0.5
    shot "$window" 6-grid
    xdotool key ctrl+1
    xdotool windowsize "$window" 560 440
    sleep 0.5
    shot "$window" 7-narrow
    xdotool windowsize "$window" 780 440
    sleep 0.3
    # The settings button sits in the window's bottom right corner.
    xdotool mousemove --window "$window" 758 420 click 1
    window_titled "Vorlane-Einstellungen" 8-preferences
fi
stop

# The tray menu and About, where trayer stands in for a panel's tray.
if command -v trayer >/dev/null; then
    trayer --edge top --align right --widthtype pixel --width 120 --height 28 --SetDockType true \
        --transparent false --tint 0xdddddd >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
    start tray
    wait_for 300 has_window Vorlane || failed "no window with the tray"
    # Vorlane's icon is a small window of its own embedded in the tray.
    tray_icon() {
        xwininfo -root -tree | sed -nE 's/.*"Vorlane": \("Vorlane" "Vorlane"\) +([0-9]+)x([0-9]+)\S* +\+([0-9]+)\+([0-9]+).*/\1 \2 \3 \4/p' |
            awk '$1 <= 64 && $2 <= 64 { print; exit }'
    }
    icon=
    wait_for 50 test -n "$(tray_icon)" && icon=$(tray_icon)
    if [[ -n $icon ]]; then
        read -r w h x y <<<"$icon"
        xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
        sleep 0.8
        "$bin/e2e-screen-grab" "$out/9-tray-menu.png" 1180 0 420 480
        echo "screenshot: $out/9-tray-menu.png"
        # Open, List, Grid, Center, Reset, Preferences, Welcome, About.
        for _ in $(seq 8); do xdotool key Down; sleep 0.05; done
        xdotool key Return
        # xdotool matches the title's bytes without the locale: "Über" as any first letter.
        window_titled "[^ ]+ber Vorlane" 10-about
    else
        failed "no tray icon in trayer"
    fi
    stop
else
    echo "(trayer is not installed: no tray menu or About)"
fi

echo "Vorlane said:"; grep -h -v "^qt\." "$out"/vorlane-*.txt || true
if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "All checks passed; look at the screenshots in $out"
