#!/usr/bin/env bash
# Runs a command inside a private desktop session: its own D-Bus session bus and its own
# X server (Xvfb), so tests never touch the user's real session.
# Usage: scripts/session.sh COMMAND [ARGS...]
set -euo pipefail

if [[ -z "${VORLANE_IN_SESSION:-}" ]]; then
    export VORLANE_IN_SESSION=1
    exec dbus-run-session -- "$0" "$@"
fi

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 30 display <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
"$@"
