#!/usr/bin/env bash
# Builds Vorlane and starts it on the user's own recent documents. Arguments are passed on
# (--toggle shows or hides the window of a Vorlane that is already running).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# Vorlane is a desktop program: without an X11 or Wayland session Qt could only abort. Help,
# version and Qt's own platform choice need no display.
needs_display=1
[[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" || -n "${QT_QPA_PLATFORM:-}" ]] && needs_display=0
for argument in "$@"; do
    case "$argument" in
        -h|--help|-v|--version|-platform|--platform) needs_display=0 ;;
    esac
done
if (( needs_display )); then
    cat >&2 <<'TEXT'
Vorlane needs a desktop session: it shows a window, and this shell has no X11 or Wayland
display (neither DISPLAY nor WAYLAND_DISPLAY is set). Run scripts/run.sh from a terminal of
your desktop, or over "ssh -X".

To try it without a desktop, run it on a virtual X server (Debian package xvfb) and take a
screenshot once the window is up (xwd comes with x11-apps):
    xvfb-run -n 99 -s "-screen 0 1280x800x24" scripts/run.sh &
    xwd -root -display :99 -out vorlane.xwd
scripts/shell-tour.py walks through Vorlane's windows that way and keeps its screenshots.
TEXT
    exit 1
fi

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DVORLANE_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
exec build/release/Vorlane.app/Contents/MacOS/Vorlane "$@"
