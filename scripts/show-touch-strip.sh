#!/usr/bin/env bash
# Shows the touch strips as a person meets them, on a private X server and session bus
# (scripts/session.sh) with metacity and Vorlane on a temporary home where six applications of
# its own (each writes down what it is started with) have recent documents. xdotool is the
# person's finger (a click is what a tap becomes for the strip):
#   the applications strip, then the third icon touched: the files strip slides in over it;
#   a document touched: it opens with its application, the window and the strip stay;
#   in the light look and in the dark one; then "Clear Files" clears the third application.
# Before that, with "ShowTouchStrip" absent on an X server without a touch screen, the window
# must be exactly, pixel for pixel, as the Vorlane at BASELINE draws it (a build without the touch
# strips), in the grid and in the list. Screenshots (PNG; PPM for the comparison) and logs land
# in OUTPUT (default BUILD/show-touch-strip). Exits non-zero when a step fails.
# Usage: scripts/show-touch-strip.sh [BUILD [OUTPUT [BASELINE]]]   (BUILD defaults to build/dev;
#        BASELINE is a Vorlane executable; without it the comparison is skipped)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-touch-strip}")
baseline=${3:+$(realpath "$3")}

if [[ -z "${VORLANE_SHOW_IN_SESSION:-}" ]]; then
    cmake --build "$build" -j2 --target Vorlane e2e-documents e2e-screen-grab
    export VORLANE_SHOW_IN_SESSION=1
    exec "$top/scripts/session.sh" "$0" "$build" "$out" "$baseline"
fi

vorlane=$build/Vorlane.app/Contents/MacOS/Vorlane
bin=$build/bin
rm -rf "$out" && mkdir -p "$out"
home=$(mktemp -d)
pids=()
failed=0
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
step() { # ok|FAILED what
    echo "$1  $2" | tee -a "$out/steps.txt"
    [[ $1 == ok ]] || failed=1
}

export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
export XDG_CACHE_HOME=$home/.cache XDG_DATA_DIRS=/usr/share
unset QT_QPA_PLATFORM
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/ostrel" "$home/bin"

# The applications write down their arguments, so a document touched on the strip can be seen
# arriving at the application that recorded it.
launches=$out/launches.txt
cat >"$home/bin/recorder" <<EOF
#!/bin/sh
{ printf '%s\n' "\$0" "\$@"; } >> "$launches"
EOF
chmod +x "$home/bin/recorder"
applications=(Writer:accessories-text-editor Painter:applications-graphics
    Player:multimedia-player Reckoner:accessories-calculator Browser:applications-internet
    Office:applications-office)
for application in "${applications[@]}"; do
    name=${application%%:*}
    ln -s "$home/bin/recorder" "$home/bin/$name"
    cat >"$XDG_DATA_HOME/applications/org.example.$name.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=$name
Exec=$home/bin/$name %f
Icon=/usr/share/icons/Adwaita/48x48/legacy/${application#*:}.png
EOF
done

documents=$home/Documents
"$bin/e2e-documents" "$documents"
for name in "Quarterly figures" "Minutes of the harbour committee meeting held in March" \
    "Packing list" "Letter to the editor" "Recipes" "Reading list"; do
    echo "$name" >"$documents/$name.txt"
done
stamp() { date -u -d "$1" +%Y-%m-%dT%H:%M:%S.000000Z; }
bookmark() { # file minutes-ago mime-type application
    local uri="file://${1// /%20}" when
    when=$(stamp "-$2 minutes")
    cat <<EOF
  <bookmark href="$uri" added="$when" modified="$when" visited="$when">
    <info><metadata owner="http://freedesktop.org">
      <mime:mime-type>$3</mime:mime-type>
      <bookmark:applications>
        <bookmark:application name="org.example.$4" exec="&apos;$4 %u&apos;" modified="$when" count="1"/>
      </bookmark:applications>
    </metadata></info>
  </bookmark>
EOF
}
{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
    bookmark "$documents/Release notes.txt" 5 text/plain Writer
    bookmark "$documents/Harbour at dusk.jpg" 10 image/jpeg Painter
    # The third application: a long name to be cut, a picture, a PDF and text.
    bookmark "$documents/Minutes of the harbour committee meeting held in March.txt" 15 text/plain Player
    bookmark "$documents/Harbour at dusk.jpg" 16 image/jpeg Player
    bookmark "$documents/Field manual.pdf" 17 application/pdf Player
    bookmark "$documents/Packing list.txt" 18 text/plain Player
    bookmark "$documents/Letter to the editor.txt" 19 text/plain Player
    bookmark "$documents/Quarterly figures.txt" 20 text/plain Reckoner
    bookmark "$documents/Reading list.txt" 25 text/plain Browser
    bookmark "$documents/Recipes.txt" 30 text/plain Office
    echo '</xbel>'
} >"$XDG_DATA_HOME/recently-used.xbel"

metacity --replace --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done

wait_for() { # tries, command...
    local tries=$1; shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}
visible() { xdotool search --onlyvisible --name '^Vorlane$' 2>/dev/null | head -1; }
has_window() { [[ -n "$(visible)" ]]; }
geometry() { # window -> "x y w h" of its inside
    local info
    info=$(xwininfo -id "$1")
    echo "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")" \
        "$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")" \
        "$(sed -n 's/.*Width: *//p' <<<"$info")" "$(sed -n 's/.*Height: *//p' <<<"$info")"
}
# Grabs the window's inside until two grabs in a row agree: pictures and icons arrive late.
shot() { # window name [suffix]
    local suffix=${3:-png} x y w h previous=""
    read -r x y w h <<<"$(geometry "$1")"
    for _ in $(seq 40); do
        sleep 0.25
        "$bin/e2e-screen-grab" "$out/$2.$suffix" "$x" "$y" "$w" "$h"
        [[ -n $previous ]] && cmp -s "$previous" "$out/$2.$suffix" && break
        previous=$out/.previous.$suffix
        cp "$out/$2.$suffix" "$previous"
    done
    rm -f "$out/.previous.$suffix"
    echo "screenshot: $out/$2.$suffix"
}
settings() { # look [more lines]
    printf '[General]\nAppearance=%s\nAutoHideWindow=false\nLoginItem=false\nOnboardingCompleted=true\n' \
        "$1" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    shift
    for line in "$@"; do echo "$line" >>"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"; done
}
start() { # executable log-name -> sets window and vorlane_pid
    "$1" >"$out/$2.txt" 2>&1 &
    vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window || { step FAILED "$2: no window"; return 1; }
    window=$(visible)
    xdotool windowactivate --sync "$window" mousemove 0 0
}
stop() {
    kill "$vorlane_pid"
    wait "$vorlane_pid" 2>/dev/null || true
}
tap() { # x y inside the window
    xdotool mousemove --window "$window" "$1" "$2" click 1 mousemove 0 0
}
count_launches() { [[ -f $launches ]] && wc -l <"$launches" || echo 0; }

# Without the setting and without a touch screen the window is the one it always was.
compare() { # view type
    local view=$1 mine theirs
    settings light "FilesViewType=$view"
    start "$vorlane" "vorlane-plain-$view"
    shot "$window" "plain-$view" ppm
    read -r _ _ _ mine <<<"$(geometry "$window")"
    stop
    settings light "FilesViewType=$view"
    start "$baseline" "baseline-$view"
    shot "$window" "baseline-$view" ppm
    read -r _ _ _ theirs <<<"$(geometry "$window")"
    stop
    if cmp -s "$out/plain-$view.ppm" "$out/baseline-$view.ppm"; then
        step ok "$view: no setting, no touch screen: pixel for pixel the window without the strip (height $mine)"
    else
        step FAILED "$view: no setting, no touch screen: the window differs (height $mine, baseline $theirs)"
    fi
}

strips() { # look
    local look=$1 x y w h before
    settings "$look" "FilesViewType=list" "ShowTouchStrip=true"
    start "$vorlane" "vorlane-$look"
    read -r x y w h <<<"$(geometry "$window")"
    shot "$window" "apps-strip-$look"
    # The third icon: past the strip's 8-point margin and two 90-point items a point apart.
    local strip_y=$((h - 23))
    tap $((8 + 2 * 91 + 45)) "$strip_y"
    sleep 0.5
    shot "$window" "files-strip-$look"
    # The first document: past the close button and the files strip's margin.
    before=$(count_launches)
    tap $((6 + 30 + 8 + 75)) "$strip_y"
    if wait_for 100 bash -c "[[ -f '$launches' && \$(wc -l <'$launches') -gt $before ]]"; then
        local opened
        readarray -t opened < <(tail -2 "$launches")
        step ok "$look: the touched document went to ${opened[0]##*/}: ${opened[1]##*/}"
    else
        step FAILED "$look: the touched document did not open"
    fi
    if has_window; then step ok "$look: the window stayed"; else step FAILED "$look: the window went"; fi
    shot "$window" "files-strip-$look-after-open"
    if [[ $look == dark ]]; then
        # Clear Files: at the far right of the files strip.
        tap $((w - 8 - 40)) "$strip_y"
        if wait_for 100 bash -c "! grep -q 'org.example.Player' '$XDG_DATA_HOME/recently-used.xbel'"; then
            step ok "dark: Clear Files took the third application out of the shared record"
        else
            step FAILED "dark: Clear Files left the third application's documents"
        fi
        sleep 1
        shot "$window" "after-clear-$look"
    fi
    stop
}

if [[ -n $baseline ]]; then
    compare grid
    compare list
else
    echo "no baseline Vorlane given: the comparison with the window without the strip is skipped"
fi
strips light
strips dark
echo "Vorlane said:"; grep -h -v "^qt\." "$out"/vorlane-*.txt || true
exit "$failed"
