#!/usr/bin/env bash
# Shows Vorlane as a new user meets it on a bare desktop: a private X server and session bus
# (scripts/session.sh) with openbox and no tray host, Vorlane in its ordinary window mode on a
# temporary home with six applications (each with its own theme icon, none of them from a
# desktop environment) and their recent documents, one with a long name. xdotool is the user's
# fingers. It checks and prints:
#   - Escape and the title bar's close button (Alt+F4) leave the window iconified in the task
#     bar: WM_STATE Iconic, no _NET_WM_STATE_SKIP_TASKBAR; Shift+Ctrl+Space brings it back;
#   - Ctrl+Q in the window quits Vorlane;
# and keeps screenshots, in the light and the dark look, of: the applications with their icons
# and the chosen one's name above its documents; the pointer over another application beside
# the selected one; the keys on the applications (the document's row outlined) and on the
# documents (the application outlined), also in the grid; the long name shortened in its middle
# with its type.
# Everything lands in OUTPUT (default BUILD/show-new-user).
# Usage: scripts/show-new-user.sh [BUILD [OUTPUT]]   (BUILD defaults to build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-new-user}")

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane e2e-screen-grab" "$0" "$build" "$out"
show_prepare_home
mkdir -p "$home/Documents"

# Six applications, newest first, each named after what it does and with a theme icon.
applications=(
    "org.example.Writer|Writer|accessories-text-editor"
    "org.example.Terminal|Terminal|utilities-terminal"
    "org.example.Sheets|Sheets|x-office-spreadsheet"
    "org.example.Painter|Painter|applications-graphics"
    "org.example.Calculator|Calculator|accessories-calculator"
    "org.example.Browser|Browser|web-browser"
)
long_name="Quarterly review of the regional sales figures for the northern district.txt"
{
    xbel_open
    minutes=2
    for entry in "${applications[@]}"; do
        IFS='|' read -r id name icon <<<"$entry"
        desktop_entry "$id" "$name" "$icon"
        for document in "$name notes.txt" "$name plan.txt"; do
            echo "$document" >"$home/Documents/$document"
            bookmark "$home/Documents/$document" "$minutes" "$id"
            minutes=$((minutes + 3))
        done
    done
    echo "The figures" >"$home/Documents/$long_name"
    bookmark "$home/Documents/$long_name" 1 org.example.Writer
    xbel_close
} >"$XDG_DATA_HOME/recently-used.xbel"

show_window_manager openbox --sm-disable

shown() { [[ $(wm_state "$1") == Normal ]] && focused "$1"; }

check_iconified() { # window how
    if wait_for 50 iconified "$1"; then
        ok "$2 leaves the window iconified (WM_STATE $(wm_state "$1"))"
    else
        failed "$2: WM_STATE is '$(wm_state "$1")', not Iconic"
    fi
    if skips_taskbar "$1"; then failed "$2: the window skips the task bar"; else
        ok "$2: the window stays in the task bar (no _NET_WM_STATE_SKIP_TASKBAR)"; fi
}
summon() { # window
    xdotool key shift+ctrl+space
    if wait_for 50 shown "$1"; then ok "Shift+Ctrl+Space brings the window back with the focus"
    else failed "Shift+Ctrl+Space: WM_STATE '$(wm_state "$1")', focus $(xdotool getwindowfocus)"; fi
}

run_look() {
    local look=$1 vorlane_pid window
    show_start_vorlane "$look" || return
    shot "$window" "$look-1-applications"

    # The pointer over the third application while the first is selected.
    xdotool mousemove --window "$window" 46 180
    sleep 0.5
    shot "$window" "$look-2-hover-and-selection"
    xdotool mousemove --window "$window" 600 420

    # Tab gives the keys to the documents, Shift+Tab back to the applications.
    xdotool key Tab
    sleep 0.3
    shot "$window" "$look-3-keys-on-documents"
    xdotool key shift+Tab
    sleep 0.3
    shot "$window" "$look-4-keys-on-applications"

    # Narrow enough for the long name to be shortened.
    xdotool windowsize "$window" 520 440
    sleep 0.5
    shot "$window" "$look-5-long-name"
    xdotool windowsize "$window" 780 440
    sleep 0.5

    # The grid takes the selected document over, with the keys.
    xdotool key ctrl+2
    sleep 0.5
    shot "$window" "$look-6-grid-keys-on-documents"
    xdotool key ctrl+1
    sleep 0.3

    if [[ $look == light ]]; then
        xdotool key Escape
        check_iconified "$window" "Escape"
        summon "$window"
        xdotool key alt+F4
        check_iconified "$window" "The close button (Alt+F4)"
        summon "$window"
    fi

    xdotool key ctrl+q
    if wait_for 100 ended "$vorlane_pid"; then
        ok "$look: Ctrl+Q quit Vorlane"
    else
        failed "$look: Ctrl+Q left Vorlane running"
        kill "$vorlane_pid"
    fi
    wait "$vorlane_pid" 2>/dev/null || true
}

run_look light
run_look dark
echo "Vorlane said:"; grep -h -v "^qt\." "$out"/vorlane-*.txt || true
if ((failures)); then echo "$failures check(s) FAILED"; exit 1; fi
echo "every check passed; screenshots in $out"
