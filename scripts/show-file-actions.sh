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

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane standin-file-manager e2e-documents e2e-screen-grab" "$0" "$build" "$out"
show_prepare_home
mkdir -p "$home/bin"

# The application that recorded the documents: it writes down when it started and its arguments.
launches=$out/launches.txt
cat >"$home/bin/recorder" <<EOF
#!/bin/sh
{ date +%s%N; printf '%s\n' "\$#"; printf '%s\n' "\$@"; } >> "$launches"
EOF
chmod +x "$home/bin/recorder"
desktop_entry org.example.Recorder Recorder accessories-text-editor "$home/bin/recorder %f"

documents=$home/Documents
"$bin/e2e-documents" "$documents"
{
    xbel_open
    for entry in "Harbour at dusk.jpg|5|image/jpeg" "Field manual.pdf|10|application/pdf" \
        "Release notes.txt|15|text/plain"; do
        IFS='|' read -r name minutes type <<<"$entry"
        bookmark "$documents/$name" "$minutes" org.example.Recorder "$type" "recorder %u"
    done
    xbel_close
} >"$XDG_DATA_HOME/recently-used.xbel"

show_window_manager metacity --replace --sm-disable
"$bin/standin-file-manager" >"$out/file-manager.txt" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q ready "$out/file-manager.txt" 2>/dev/null && break; sleep 0.1; done

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
    shot_framed "$window" "window-$look"

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
        shot_framed "$(visible "$name")" "preview-$look-${name%%.*}"
        [[ $name == "Release notes.txt" ]] || xdotool key Down
    done
    xdotool key space
    wait_for 100 bash -c "! xdotool search --onlyvisible --name '^Release notes.txt\$' >/dev/null"
    echo "$look: the preview closed with Space"
    wait_for 50 focused "$window" && echo "$look: the keys are back with the window"
    shot_framed "$window" "window-$look-after"
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
    shot_framed "$(visible "Harbour at dusk.jpg")" "preview-auto-hide"
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
