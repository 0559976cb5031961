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

if [[ -z "${VORLANE_SHOW_IN_SESSION:-}" ]]; then
    cmake --build "$build" -j2 --target Vorlane e2e-screen-grab
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
# A bare window manager: no desktop environment names an icon theme, no tray host answers.
unset QT_QPA_PLATFORM XDG_CURRENT_DESKTOP DESKTOP_SESSION
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/ostrel" "$home/Documents"

ok() { echo "ok: $*"; }
failed() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Six applications, newest first, each named after what it does and with a theme icon.
applications=(
    "org.example.Writer|Writer|accessories-text-editor"
    "org.example.Terminal|Terminal|utilities-terminal"
    "org.example.Sheets|Sheets|x-office-spreadsheet"
    "org.example.Painter|Painter|applications-graphics"
    "org.example.Calculator|Calculator|accessories-calculator"
    "org.example.Browser|Browser|web-browser"
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
long_name="Quarterly review of the regional sales figures for the northern district.txt"
{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
    minutes=2
    for entry in "${applications[@]}"; do
        IFS='|' read -r id name icon <<<"$entry"
        printf '[Desktop Entry]\nType=Application\nName=%s\nExec=true %%U\nIcon=%s\n' "$name" "$icon" \
            >"$XDG_DATA_HOME/applications/$id.desktop"
        for document in "$name notes.txt" "$name plan.txt"; do
            echo "$document" >"$home/Documents/$document"
            bookmark "$home/Documents/$document" "$minutes" "$id"
            minutes=$((minutes + 3))
        done
    done
    echo "The figures" >"$home/Documents/$long_name"
    bookmark "$home/Documents/$long_name" 1 org.example.Writer
    echo '</xbel>'
} >"$XDG_DATA_HOME/recently-used.xbel"

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
wait_for() { # tries command...
    local tries=$1; shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [[ -n "$(visible "$1")" ]]; }
focused() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: *//p'; }
iconified() { [[ $(wm_state "$1") == Iconic ]]; }
shown() { [[ $(wm_state "$1") == Normal ]] && focused "$1"; }
# Ended, or ended and not yet waited for.
ended() { [[ ! -e /proc/$1 ]] || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }
skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }

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
    local look=$1
    printf '[General]\nAppearance=%s\nFilesViewType=list\nAutoHideWindow=false\nLoginItem=false\nOnboardingCompleted=true\n' \
        "$look" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    "$vorlane" >"$out/vorlane-$look.txt" 2>&1 &
    local vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window Vorlane || { failed "$look: no window"; return; }
    local window
    window=$(visible Vorlane)
    wait_for 50 focused "$window" || xdotool windowactivate --sync "$window"
    sleep 0.5
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
