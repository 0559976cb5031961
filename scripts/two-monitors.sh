#!/usr/bin/env bash
# Where Vorlane's window opens on a real X server with two monitors: Xorg with the dummy driver,
# its one 2560x800 screen cut into two RandR 1.5 monitors, LEFT and RIGHT, which Qt takes for two
# screens. The window must open on the monitor with the pointer, centred while it has no frame
# there, and come back to the frame it last had on that monitor.
#
# Usage: scripts/two-monitors.sh [VORLANE_EXECUTABLE]
#   default: build/dev/Vorlane.app/Contents/MacOS/Vorlane
# Needs xserver-xorg-core, xserver-xorg-video-dummy, x11-xserver-utils, xdotool, dbus.
# Exits 0 when every placement is right, 1 otherwise, 77 when Xorg is missing or cannot start
# here; prints one line per step.
set -euo pipefail

if [[ -z "${VORLANE_TWO_MONITORS_BUS:-}" ]]; then
    export VORLANE_TWO_MONITORS_BUS=1
    exec dbus-run-session -- "$0" "$@"
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
vorlane=$(realpath "${1:-$repo/build/dev/Vorlane.app/Contents/MacOS/Vorlane}")
[[ -x "$vorlane" ]] || { echo "no Vorlane at $vorlane" >&2; exit 2; }
for tool in Xorg xrandr xdotool; do
    command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done

work=$(mktemp -d)
xorg_pid=
vorlane_pid=
cleanup() {
    local status=$?
    if [[ -n "$vorlane_pid" ]]; then kill "$vorlane_pid" 2>/dev/null || true; fi
    if [[ -n "$xorg_pid" ]]; then kill "$xorg_pid" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

cat >"$work/xorg.conf" <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "2560x800" 166.92 2560 2688 2960 3360 800 801 804 828 -HSync +Vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2560 800
        Modes "2560x800"
    EndSubSection
EndSection
EOF

mkfifo "$work/displayfd"
Xorg -config "$work/xorg.conf" -configdir "$work/none" -displayfd 3 -noreset -nolisten tcp \
    -novtswitch -keeptty -logfile "$work/Xorg.log" 3>"$work/displayfd" >/dev/null 2>&1 &
xorg_pid=$!
read -r -t 30 display <"$work/displayfd" || { echo "Xorg did not start: skipped"; exit 77; }
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

xrandr --setmonitor LEFT 1280/338x800/211+0+0 DUMMY0 >/dev/null
xrandr --setmonitor RIGHT 1280/338x800/211+1280+0 none >/dev/null
echo "monitors: $(xrandr --listmonitors | tail -n +2 | awk '{print $2, $3}' | paste -sd ';')"

# A home of its own, with the onboarding done and the ordinary window mode.
home="$work/home"
mkdir -p "$home/.config/ostrel" "$home/.local/share" "$home/.cache" "$work/runtime"
chmod 700 "$work/runtime"
printf '[General]\nOnboardingCompleted=true\nAutoHideWindow=false\n' \
    >"$home/.config/ostrel/Vorlane.conf"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
export XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
unset XDG_CURRENT_DESKTOP DESKTOP_STARTUP_ID

left_centre="640 400"
right_centre="1920 400"
failures=0

window_id() { xdotool search --onlyvisible --name '^Vorlane$' 2>/dev/null | head -n 1; }

# Waits until the window's visibility is as asked ("shown" or "hidden").
wait_for() {
    local deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do
        if [[ "$1" == shown && -n "$(window_id)" ]] || [[ "$1" == hidden && -z "$(window_id)" ]]; then
            return 0
        fi
        sleep 0.1
    done
    echo "the window was not $1 in time" >&2
    return 1
}

# Waits until the window's geometry stops changing, then prints "x y width height".
geometry() {
    local previous= current= deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)); do
        eval "$(xdotool getwindowgeometry --shell "$(window_id)")"
        current="$X $Y $WIDTH $HEIGHT"
        [[ "$current" == "$previous" ]] && break
        previous=$current
        sleep 0.2
    done
    echo "$current"
}

monitor_of() { (($1 < 1280)) && echo LEFT || echo RIGHT; }

# check DESCRIPTION EXPECTED_MONITOR [EXPECTED_X EXPECTED_Y]: the window's centre lies on the
# monitor; with a position, the window stands exactly there, else it is centred on the monitor.
check() {
    local description=$1 monitor=$2 x y w h cx cy verdict=ok
    read -r x y w h <<<"$(geometry)"
    cx=$((x + w / 2)) cy=$((y + h / 2))
    if [[ "$(monitor_of "$cx")" != "$monitor" ]]; then
        verdict="WRONG (expected on $monitor)"
    elif [[ $# -eq 4 && ("$x" != "$3" || "$y" != "$4") ]]; then
        verdict="WRONG (expected at $3,$4)"
    elif [[ $# -eq 2 ]]; then
        local mx=$([[ $monitor == LEFT ]] && echo 640 || echo 1920)
        ((cx - mx <= 1 && mx - cx <= 1 && cy - 400 <= 1 && 400 - cy <= 1)) ||
            verdict="WRONG (expected centred on $monitor)"
    fi
    [[ "$verdict" == ok ]] || failures=$((failures + 1))
    printf '%-58s window %4d,%-4d %dx%d on %-5s %s\n' "$description" "$x" "$y" "$w" "$h" \
        "$(monitor_of "$cx")" "$verdict"
}

toggle() { "$vorlane" --toggle >/dev/null 2>&1; }

xdotool mousemove $right_centre
"$vorlane" >"$work/vorlane.out" 2>&1 &
vorlane_pid=$!
wait_for shown
check "started with the pointer on RIGHT" RIGHT

# Moved on RIGHT, then hidden: the frame is kept for RIGHT.
xdotool windowmove --sync "$(window_id)" 1400 120
check "moved on RIGHT" RIGHT 1400 120
toggle && wait_for hidden

xdotool mousemove $left_centre
toggle && wait_for shown
check "shown with the pointer on LEFT (no frame there yet)" LEFT
toggle && wait_for hidden

xdotool mousemove $right_centre
toggle && wait_for shown
check "shown with the pointer on RIGHT (its frame kept)" RIGHT 1400 120
toggle && wait_for hidden

xdotool mousemove $left_centre
toggle && wait_for shown
check "shown with the pointer on LEFT again" LEFT

if ((failures)); then
    echo "$failures placement(s) wrong"
    exit 1
fi
echo "every placement right"
