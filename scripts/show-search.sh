#!/usr/bin/env bash
# Shows finding a document by typing in Vorlane's window: a private X server and session bus
# (scripts/session.sh) with openbox, Vorlane on a temporary home with seven applications and 60
# recent documents in folders (names with accents and capitals among them). xdotool types. It
# keeps screenshots, in the light and the dark look, of:
#   - "rep" typed over the applications: the reports of every application, each row with its
#     application's icon, the best matches first;
#   - "rep q" (two words), then the selection moved down;
#   - "work/" (the slash brings the folders in): the documents of ~/Work;
#   - "cafe" finding "Café menu" (accents do not matter) and "xyzzy" finding nothing;
# and checks that Escape clears the search and leaves the window shown, the next Escape puts it
# away, and that vorlane-recents --search finds what the window finds.
# Everything lands in OUTPUT (default BUILD/show-search).
# Usage: scripts/show-search.sh [BUILD [OUTPUT]]   (BUILD defaults to build/dev)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build/dev}")
out=$(realpath -m "${2:-$build/show-search}")

# shellcheck source=scripts/lib/show.sh
source "$top/scripts/lib/show.sh"
show_enter_session "Vorlane e2e-screen-grab vorlane-recents" "$0" "$build" "$out"
show_prepare_home

applications=(
    "org.example.Writer|Writer|accessories-text-editor"
    "org.example.Sheets|Sheets|x-office-spreadsheet"
    "org.example.Painter|Painter|applications-graphics"
    "org.example.Viewer|Viewer|x-office-document"
    "org.example.Terminal|Terminal|utilities-terminal"
    "org.example.Browser|Browser|web-browser"
    "org.example.Calculator|Calculator|accessories-calculator"
)
subjects=("Quarterly Report" "Résumé" "Café menu" "MeetingNotes" "Budget" "Holiday photo"
    "Repair quote" "Thesis draft" "Tax return" "Report card" "Reptile care" "Plan")
folders=("Work" "Documents" "Downloads" "Documents/Privé" "Desktop")
{
    xbel_open
    for entry in "${applications[@]}"; do
        IFS='|' read -r id name icon <<<"$entry"
        desktop_entry "$id" "$name" "$icon"
    done
    for i in $(seq 0 59); do
        IFS='|' read -r id _ _ <<<"${applications[$((i % ${#applications[@]}))]}"
        folder="$home/${folders[$((i % ${#folders[@]}))]}"
        document="$folder/${subjects[$((i % ${#subjects[@]}))]} $((i / ${#subjects[@]} + 1)).txt"
        mkdir -p "$folder"
        echo "document $i" >"$document"
        bookmark "$document" $((i * 7 + 1)) "$id"
    done
    xbel_close
} >"$XDG_DATA_HOME/recently-used.xbel"

show_window_manager openbox --sm-disable

shown() { [[ $(wm_state "$1") == Normal ]]; }
put_away() { [[ $(wm_state "$1") != Normal ]] || ! has_window Vorlane; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.5; }

# What the window should find, from the same matcher.
"$bin/vorlane-recents" --search rep >"$out/recents-search-rep.txt"
"$bin/vorlane-recents" --json --search work/ >"$out/recents-search-work.json"
echo "vorlane-recents --search rep finds $(wc -l <"$out/recents-search-rep.txt") documents:"
head -5 "$out/recents-search-rep.txt"

run_look() {
    local look=$1 vorlane_pid window
    show_start_vorlane "$look" || return
    shot "$window" "$look-0-before"

    type_text rep
    shot "$window" "$look-1-rep"
    type_text " q"
    shot "$window" "$look-2-two-words"
    xdotool key BackSpace BackSpace Down Down
    sleep 0.3
    shot "$window" "$look-3-moved-down"

    xdotool key Escape
    sleep 0.3
    if shown "$window"; then ok "$look: Escape cleared the search and the window stays"
    else failed "$look: the first Escape put the window away"; fi
    shot "$window" "$look-4-cleared"

    type_text work/
    shot "$window" "$look-5-folder"
    xdotool key Escape
    type_text cafe
    shot "$window" "$look-6-accents"
    xdotool key Escape
    type_text xyzzy
    shot "$window" "$look-7-nothing-found"
    xdotool key Escape Escape
    if wait_for 50 put_away "$window"; then ok "$look: the second Escape put the window away"
    else failed "$look: the second Escape left the window shown"; fi

    kill "$vorlane_pid" 2>/dev/null || true
    wait_for 100 ended "$vorlane_pid" || true
    wait "$vorlane_pid" 2>/dev/null || true
}

run_look light
run_look dark
echo "Vorlane said:"; grep -h -v "^qt\." "$out"/vorlane-*.txt || true
if ((failures)); then echo "$failures check(s) FAILED"; exit 1; fi
echo "every check passed; screenshots in $out"
