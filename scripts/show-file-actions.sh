#!/usr/bin/env bash
# Shows the file actions as a person meets them, on a private X server and session bus
# (scripts/session.sh) with metacity, a stand-in file manager on the bus and Vorlane on a
# temporary home that holds three recent documents of an application of its own, which writes
# down what it is started with. xdotool is the person's fingers:
#   Tab, Return        opens the selected document with that application;
#   Ctrl+Return        shows it in the file manager (a ShowItems call on the bus);
#   Space, Down, Space previews the picture, the PDF and the text file, then closes the preview;
# in the light look and again in the dark one. Screenshots, logs and the time from Return to the
# launch request land in OUTPUT (default BUILD/show-file-actions).
# Usage: scripts/show-file-actions.sh [BUILD [OUTPUT]]   (BUILD defaults to build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-file-actions}")

if [[ -z "${VORLANE_SHOW_IN_SESSION:-}" ]]; then
    cmake --build "$build" -j2 --target Vorlane standin-file-manager e2e-documents e2e-screen-grab
    export VORLANE_SHOW_IN_SESSION=1
    exec "$top/scripts/session.sh" "$0" "$build" "$out"
fi

vorlane=$build/Vorlane.app/Contents/MacOS/Vorlane
bin=$build/bin
rm -rf "$out" && mkdir -p "$out"
home=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config
export XDG_CACHE_HOME=$home/.cache XDG_DATA_DIRS=/usr/share
unset QT_QPA_PLATFORM
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/ostrel" "$home/bin"

# The application that recorded the documents: it writes down when it started and its arguments.
launches=$out/launches.txt
cat >"$home/bin/recorder" <<EOF
#!/bin/sh
{ date +%s%N; printf '%s\n' "\$#"; printf '%s\n' "\$@"; } >> "$launches"
EOF
chmod +x "$home/bin/recorder"
cat >"$XDG_DATA_HOME/applications/org.example.Recorder.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Recorder
Exec=$home/bin/recorder %f
Icon=accessories-text-editor
EOF

documents=$home/Documents
"$bin/e2e-documents" "$documents"
stamp() { date -u -d "$1" +%Y-%m-%dT%H:%M:%S.000000Z; }
bookmark() {
    local uri="file://${1// /%20}"
    cat <<EOF
  <bookmark href="$uri" added="$2" modified="$2" visited="$2">
    <info><metadata owner="http://freedesktop.org">
      <mime:mime-type>$3</mime:mime-type>
      <bookmark:applications>
        <bookmark:application name="org.example.Recorder" exec="&apos;recorder %u&apos;" modified="$2" count="1"/>
      </bookmark:applications>
    </metadata></info>
  </bookmark>
EOF
}
{
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">'
    bookmark "$documents/Harbour at dusk.jpg" "$(stamp '-5 minutes')" image/jpeg
    bookmark "$documents/Field manual.pdf" "$(stamp '-10 minutes')" application/pdf
    bookmark "$documents/Release notes.txt" "$(stamp '-15 minutes')" text/plain
    echo '</xbel>'
} >"$XDG_DATA_HOME/recently-used.xbel"

metacity --replace --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done
"$bin/standin-file-manager" >"$out/file-manager.txt" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$out/file-manager.txt" 2>/dev/null && break; sleep 0.1; done

shot() {
    local window=$1 name=$2 info x y w h
    info=$(xwininfo -id "$window")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info"); h=$(sed -n 's/.*Height: *//p' <<<"$info")
    # With the window manager's frame around it.
    "$bin/e2e-screen-grab" "$out/$name.png" "$((x - 8))" "$((y - 32))" "$((w + 16))" "$((h + 40))"
    echo "screenshot: $out/$name.png"
}
wait_for() { # tries, command...
    local tries=$1; shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    echo "gave up waiting for: $*" >&2
    return 1
}
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [[ -n "$(visible "$1")" ]]; }
focused() { [[ $(xdotool getwindowfocus) == "$1" ]]; }
count_lines() { # pattern file
    [[ -f $2 ]] || { echo 0; return; }
    awk -v pattern="$1" 'index($0, pattern) == 1 { n++ } END { print n + 0 }' "$2"
}
more_than() { [[ $(count_lines "$1" "$2") -gt $3 ]]; } # pattern file count

run_look() {
    local look=$1
    printf '[General]\nAppearance=%s\nFilesViewType=list\nAutoHideWindow=false\nLoginItem=false\nOnboardingCompleted=true\n' \
        "$look" >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    QT_LOGGING_RULES="vorlane.actions.debug=true" "$vorlane" >"$out/vorlane-$look.txt" 2>&1 &
    local vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window Vorlane
    local window
    window=$(visible Vorlane)
    xdotool windowactivate --sync "$window"
    sleep 0.5
    shot "$window" "window-$look"

    # Tab into the documents, Return opens the first one with the recording application.
    xdotool key Tab
    local before
    before=$(count_lines "$documents/" "$launches")
    local pressed
    pressed=$(date +%s%N)
    xdotool key Return
    wait_for 100 more_than "$documents/" "$launches" "$before"
    local started
    started=$(grep -E '^[0-9]{19}$' "$launches" | tail -1)
    echo "$look: Return -> recording application running: $(((started - pressed) / 1000000)) ms" |
        tee -a "$out/figures.txt"
    grep "launch request sent" "$out/vorlane-$look.txt" | tail -1 | sed "s/^/$look: /" |
        tee -a "$out/figures.txt"

    # Ctrl+Return shows it in the file manager.
    local shown
    shown=$(count_lines ShowItems "$out/file-manager.txt")
    xdotool key ctrl+Return
    wait_for 100 more_than ShowItems "$out/file-manager.txt" "$shown"

    # Space previews the picture, Down the PDF and the text file, Space closes the preview.
    xdotool key space
    local name
    for name in "Harbour at dusk.jpg" "Field manual.pdf" "Release notes.txt"; do
        wait_for 100 has_window "$name"
        sleep 1
        shot "$(visible "$name")" "preview-$look-${name%%.*}"
        [[ $name == "Release notes.txt" ]] || xdotool key Down
    done
    xdotool key space
    wait_for 100 bash -c "! xdotool search --onlyvisible --name '^Release notes.txt\$' >/dev/null"
    echo "$look: the preview closed with Space"
    wait_for 50 focused "$window" && echo "$look: the keys are back with the window"
    shot "$window" "window-$look-after"
    kill "$vorlane_pid"
    wait "$vorlane_pid" 2>/dev/null || true
}

# Auto-hide mode: the preview keeps the window up, Escape gives the keys back to it, and opening a
# document hides it at once.
run_auto_hide() {
    printf '[General]\nAppearance=light\nFilesViewType=list\nAutoHideWindow=true\nLoginItem=false\nOnboardingCompleted=true\n' \
        >"$XDG_CONFIG_HOME/ostrel/Vorlane.conf"
    "$vorlane" >"$out/vorlane-auto-hide.txt" 2>&1 &
    local vorlane_pid=$!
    pids+=("$vorlane_pid")
    wait_for 300 has_window Vorlane
    local window
    window=$(visible Vorlane)
    wait_for 50 focused "$window"
    xdotool key Tab space
    wait_for 100 has_window "Harbour at dusk.jpg"
    sleep 0.5
    has_window Vorlane && echo "auto-hide: the window stays up while the preview is in front"
    shot "$(visible "Harbour at dusk.jpg")" "preview-auto-hide"
    xdotool key Escape
    wait_for 50 focused "$window" && echo "auto-hide: Escape closed the preview, the keys are back"
    xdotool key Return
    wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Vorlane\$' >/dev/null" &&
        echo "auto-hide: Return opened the document and hid the window"
    kill "$vorlane_pid"
    wait "$vorlane_pid" 2>/dev/null || true
}

run_look light
run_look dark
run_auto_hide
echo "launches:"; cat "$launches"
echo "file manager:"; cat "$out/file-manager.txt"
echo "Vorlane said:"; grep -h -v "^qt\.\|vorlane.actions" "$out"/vorlane-*.txt || true
echo "figures:"; cat "$out/figures.txt"
