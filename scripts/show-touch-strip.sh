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

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane e2e-documents e2e-screen-grab" "$0" "$build" "$out" "$baseline"
show_prepare_home
mkdir -p "$home/bin"
failed=0
step() { # ok|FAILED what
    echo "$1  $2" | tee -a "$out/steps.txt"
    [[ $1 == ok ]] || failed=1
}

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
    desktop_entry "org.example.$name" "$name" "/usr/share/icons/Adwaita/48x48/legacy/${application#*:}.png" \
        "$home/bin/$name %f"
done

documents=$home/Documents
"$bin/e2e-documents" "$documents"
for name in "Quarterly figures" "Minutes of the harbour committee meeting held in March" \
    "Packing list" "Letter to the editor" "Recipes" "Reading list"; do
    echo "$name" >"$documents/$name.txt"
done
{
    xbel_open
    bookmark "$documents/Release notes.txt" 5 org.example.Writer text/plain "Writer %u"
    bookmark "$documents/Harbour at dusk.jpg" 10 org.example.Painter image/jpeg "Painter %u"
    # The third application: a long name to be cut, a picture, a PDF and text.
    bookmark "$documents/Minutes of the harbour committee meeting held in March.txt" 15 org.example.Player text/plain "Player %u"
    bookmark "$documents/Harbour at dusk.jpg" 16 org.example.Player image/jpeg "Player %u"
    bookmark "$documents/Field manual.pdf" 17 org.example.Player application/pdf "Player %u"
    bookmark "$documents/Packing list.txt" 18 org.example.Player text/plain "Player %u"
    bookmark "$documents/Letter to the editor.txt" 19 org.example.Player text/plain "Player %u"
    bookmark "$documents/Quarterly figures.txt" 20 org.example.Reckoner text/plain "Reckoner %u"
    bookmark "$documents/Reading list.txt" 25 org.example.Browser text/plain "Browser %u"
    bookmark "$documents/Recipes.txt" 30 org.example.Office text/plain "Office %u"
    xbel_close
} >"$XDG_DATA_HOME/recently-used.xbel"

show_window_manager metacity --replace --sm-disable

# Grabs the window's inside until two grabs in a row agree: pictures and icons arrive late.
shot() { # window name [suffix]
    local suffix=${3:-png} x y w h previous=""
    read -r x y w h <<<"$(window_geometry "$1")"
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
    wait_for 300 has_window Vorlane || { step FAILED "$2: no window"; return 1; }
    window=$(visible Vorlane)
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
    read -r _ _ _ mine <<<"$(window_geometry "$window")"
    stop
    settings light "FilesViewType=$view"
    start "$baseline" "baseline-$view"
    shot "$window" "baseline-$view" ppm
    read -r _ _ _ theirs <<<"$(window_geometry "$window")"
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
    read -r x y w h <<<"$(window_geometry "$window")"
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
    if has_window Vorlane; then step ok "$look: the window stayed"; else step FAILED "$look: the window went"; fi
    shot "$window" "files-strip-$look-after-open"
    if [[ $look == dark ]]; then
        # Clear Files: at the far right of the files strip.
        tap $((w - 8 - 40)) "$strip_y"
        # Clearing asks first; the question names the application.
        if wait_for 50 has_window "Clear Recent Documents"; then
            shot_around "$(visible "Clear Recent Documents")" "clear-question-$look"
            xdotool key alt+c
        else
            step FAILED "dark: Clear Files asked nothing"
        fi
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
