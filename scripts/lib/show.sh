# shellcheck shell=bash disable=SC2034,SC2154 # the calling script sets top, build, out and uses vorlane, bin
# What the show-*.sh scripts share: a private X server and session bus, a temporary home with its
# own desktop entries and recently-used file, the person's fingers (xdotool) and screenshots.
# A script sets top, build and out, sources this file, then calls show_enter_session and
# show_prepare_home before its own steps.

# Builds the targets, then runs the calling script again inside scripts/session.sh.
show_enter_session() { # "targets" script arguments...
    [[ -n "${VORLANE_SHOW_IN_SESSION:-}" ]] && return 0
    local targets=$1
    shift
    # shellcheck disable=SC2086 # the targets are words
    cmake --build "$build" -j2 --target $targets
    export VORLANE_SHOW_IN_SESSION=1
    exec "$top/scripts/session.sh" "$@"
}

# A fresh output folder and a temporary home, removed with every program started into pids.
show_prepare_home() {
    vorlane=$build/Vorlane.app/Contents/MacOS/Vorlane
    bin=$build/bin
    rm -rf "$out" && mkdir -p "$out"
    home=$(mktemp -d)
    pids=()
    failures=0
    trap show_cleanup EXIT
    export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
    export XDG_CACHE_HOME=$home/.cache XDG_DATA_DIRS=/usr/share
    # A bare window manager: no desktop environment names an icon theme or answers as a tray.
    unset QT_QPA_PLATFORM XDG_CURRENT_DESKTOP DESKTOP_SESSION
    mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/ostrel"
}

show_cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}

ok() { echo "ok: $*"; }
failed() { echo "FAILED: $*"; failures=$((failures + 1)); }

desktop_entry() { # id name icon [exec]
    printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nIcon=%s\n' "$2" "${4:-true %U}" "$3" \
        >"$XDG_DATA_HOME/applications/$1.desktop"
}

stamp() { date -u -d "$1" +%Y-%m-%dT%H:%M:%S.000000Z; }
xbel_open() {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
}
xbel_close() { echo '</xbel>'; }
bookmark() { # path minutes-ago application [mime-type [exec]]
    local uri="file://${1// /%20}" when
    when=$(stamp "-$2 minutes")
    cat <<EOF
  <bookmark href="$uri" added="$when" modified="$when" visited="$when">
    <info><metadata owner="http://freedesktop.org">
      <mime:mime-type>${4:-text/plain}</mime:mime-type>
      <bookmark:applications>
        <bookmark:application name="$3" exec="&apos;${5:-true %u}&apos;" modified="$when" count="1"/>
      </bookmark:applications>
    </metadata></info>
  </bookmark>
EOF
}

show_window_manager() { # command...
    "$@" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done
}

grab() { # name x y width height
    "$bin/e2e-screen-grab" "$out/$1.png" "$2" "$3" "$4" "$5"
    echo "screenshot: $out/$1.png"
}
window_geometry() { # window: prints x y width height
    local info
    info=$(xwininfo -id "$1")
    echo "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")" \
        "$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")" \
        "$(sed -n 's/.*Width: *//p' <<<"$info")" "$(sed -n 's/.*Height: *//p' <<<"$info")"
}
shot() { # window name
    local x y w h
    read -r x y w h < <(window_geometry "$1")
    grab "$2" "$x" "$y" "$w" "$h"
}
# With the window manager's frame around it.
shot_framed() { # window name
    local x y w h
    read -r x y w h < <(window_geometry "$1")
    grab "$2" "$((x - 8))" "$((y - 32))" "$((w + 16))" "$((h + 40))"
}
# Menus are windows of their own beside the main one: the region around it.
shot_around() { # window name
    local x y w h
    read -r x y w h < <(window_geometry "$1")
    grab "$2" "$((x > 100 ? x - 100 : 0))" "$((y > 100 ? y - 100 : 0))" 1100 700
}

wait_for() { # tries command...
    local tries=$1
    shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [[ -n "$(visible "$1")" ]]; }
gone() { [[ -z "$(visible "$1")" ]]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
focused() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: *//p'; }
iconified() { [[ $(wm_state "$1") == Iconic ]]; }
skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
# Ended, or ended and not yet waited for.
ended() { [[ ! -e /proc/$1 ]] || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }

# Starts Vorlane in the list view with a look (its log in OUTPUT/vorlane-LOOK.txt) and waits for its
# window to have the keys. Sets vorlane_pid and window (declare them local in the caller).
show_start_vorlane() { # look
    printf '[General]\nAppearance=%s\nFilesViewType=list\nAutoHideWindow=false\nLoginItem=false\nOnboardingCompleted=true\n' \
        "$1" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    "$vorlane" >"$out/vorlane-$1.txt" 2>&1 &
    vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window Vorlane || { failed "$1: no window"; return 1; }
    window=$(visible Vorlane)
    wait_for 50 focused "$window" || xdotool windowactivate --sync "$window"
    sleep 0.5
}
