#!/usr/bin/env bash
# The grid through a real screen-reader interface and real X11 input: starts Xvfb, a session bus
# and the accessibility bus, runs the program with accessibility on, and lets an AT-SPI client
# (accessibility_atspi.py) read and toggle numbers and press keys through xdotool.
# Usage: accessibility_atspi.sh <hexorin program>. Exit 77 (skipped) when a tool is missing.
set -euo pipefail

program="$1"
client="$(dirname "${BASH_SOURCE[0]}")/accessibility_atspi.py"
python=/usr/bin/python3 # Debian's, which has pyatspi

for tool in Xvfb dbus-run-session xdotool "$python"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
bus_launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && bus_launcher="$candidate" && break
done
[ -n "$bus_launcher" ] || { echo "skipped: at-spi-bus-launcher is missing"; exit 77; }
"$python" -c 'import pyatspi' 2>/dev/null || { echo "skipped: pyatspi is missing"; exit 77; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# The frame buffer is also a file, so the client can see what the window shows.
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$work" -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
# The program refuses to start on a display that does not answer yet.
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { cat "$work/xvfb.log"; echo "$DISPLAY does not answer"; exit 1; }
export HEXORIN_FRAMEBUFFER="$work/Xvfb_screen0"

# Inside a private session bus: the accessibility bus, the program, then the client. The client
# ends the program through its menu, and the program must then exit with status 0.
export HEXORIN_PROGRAM="$program" HEXORIN_BUS_LAUNCHER="$bus_launcher" HEXORIN_CLIENT="$client"
export HEXORIN_PYTHON="$python" HEXORIN_WORK="$work"
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
