#!/usr/bin/env bash
# The grid through a real screen-reader interface and real X11 input: starts Xvfb, a session bus
# and the accessibility bus, runs the program with accessibility on, and lets an AT-SPI client
# (accessibility_atspi.py) read and toggle numbers and press keys through xdotool.
# Usage: accessibility_atspi.sh <hexorin program>. Exit 77 (skipped) when a tool is missing.
set -euo pipefail

program="$1"
client="$(dirname "${BASH_SOURCE[0]}")/accessibility_atspi.py"
python=/usr/bin/python3 # Debian's, which has pyatspi

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
require_tools Xvfb dbus-run-session xdotool "$python"
find_bus_launcher
"$python" -c 'import pyatspi' 2>/dev/null || { echo "skipped: pyatspi is missing"; exit 77; }

work="$(mktemp -d)"
export HEXORIN_WORK="$work"
cleanup() {
    end_session
    rm -rf "$work"
}
trap cleanup EXIT

# The frame buffer is also a file, so the client can see what the window shows.
start_xvfb -screen 0 1024x768x24 -fbdir "$work"
export HEXORIN_FRAMEBUFFER="$work/Xvfb_screen0"

# Inside a private session bus: the accessibility bus, the program, then the client. The client
# ends the program through its menu, and the program must then exit with status 0.
export HEXORIN_PROGRAM="$program" HEXORIN_BUS_LAUNCHER="$bus_launcher" HEXORIN_CLIENT="$client"
export HEXORIN_PYTHON="$python"
dbus-run-session -- bash -c '
    set -euo pipefail
    "$HEXORIN_BUS_LAUNCHER" --launch-immediately 2>"$HEXORIN_WORK/bus.log" &
    launcher=$!
    trap "kill $launcher 2>/dev/null" EXIT
    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
        "$HEXORIN_PROGRAM" &
    program=$!
    status=0
    "$HEXORIN_PYTHON" "$HEXORIN_CLIENT" || status=$?
    if [ "$status" -ne 0 ]; then
        kill "$program" 2>/dev/null
        cat "$HEXORIN_WORK/bus.log"
        exit "$status"
    fi
    wait "$program" || { echo "the program exited with status $?"; exit 1; }
'
