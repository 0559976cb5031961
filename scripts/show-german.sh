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

if [[ -z "${VORLANE_SHOW_IN_SESSION:-}" ]]; then
    cmake --build "$build" -j2 --target Vorlane vorlane_translations e2e-screen-grab
    export VORLANE_SHOW_IN_SESSION=1
    exec "$top/scripts/session.sh" "$0" "$build" "$out"
fi

vorlane=$build/Vorlane.app/Contents/MacOS/Vorlane
bin=$build/bin
rm -rf "$out" && mkdir -p "$out"
home=$(mktemp -d)
pids=()
failures=0
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
export XDG_CACHE_HOME=$home/.cache XDG_DATA_DIRS=/usr/share
unset LC_ALL LC_MESSAGES QT_QPA_PLATFORM XDG_CURRENT_DESKTOP DESKTOP_SESSION
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/ostrel" "$home/Dokumente"

ok() { echo "ok: $*"; }
failed() { echo "FAILED: $*"; failures=$((failures + 1)); }

applications=(
    "org.example.Writer|Textverarbeitung|accessories-text-editor"
    "org.example.Sheets|Tabellenkalkulation|x-office-spreadsheet"
    "org.example.Painter|Bildbearbeitung|applications-graphics"
)
stamp() { date -u -d "$1" +%Y-%m-%dT%H:%M:%S.000000Z; }
bookmark() { # path minutes-ago application
    local uri="file://${1// /%20}" when
    when=$(stamp "-$2 minutes")
    cat <<EOF
  <bookmark href="$uri" added="$when" modified="$when" visited="$when">
    <info><metadata owner="http://freedesktop.org">
      <mime:mime-type>text/plain</mime:mime-type>
      <bookmark:applications>
        <bookmark:application name="$3" exec="&apos;true %u&apos;" modified="$when" count="1"/>
      </bookmark:applications>
    </metadata></info>
  </bookmark>
EOF
}
write_history() {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
    local minutes document
    for entry in "${applications[@]}"; do
        IFS='|' read -r id name icon <<<"$entry"
        printf '[Desktop Entry]\nType=Application\nName=%s\nExec=true %%U\nIcon=%s\n' "$name" "$icon" \
            >"$XDG_DATA_HOME/applications/$id.desktop"
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
    echo '</xbel>'
}

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done

shot() { # window name
    local info x y w h
    info=$(xwininfo -id "$1")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info"); h=$(sed -n 's/.*Height: *//p' <<<"$info")
    "$bin/e2e-screen-grab" "$out/$2.png" "$x" "$y" "$w" "$h"
    echo "screenshot: $out/$2.png"
}
# Menus are windows of their own beside the main one: the region around it.
shot_around() { # window name
    local info x y
    info=$(xwininfo -id "$1")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    x=$((x > 100 ? x - 100 : 0)); y=$((y > 100 ? y - 100 : 0))
    "$bin/e2e-screen-grab" "$out/$2.png" "$x" "$y" 1100 700
    echo "screenshot: $out/$2.png"
}
wait_for() { # tries command...
    local tries=$1; shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [[ -n "$(visible "$1")" ]]; }
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
