#!/usr/bin/env bash
# The program on a real X display with a screen reader's D-Bus: it joins the accessibility bus,
# its window, menu and controls read their German names there, and "Beenden" chosen through the
# bus ends it with status 0. This is the desktop path that no offscreen test takes: the X platform,
# the accessibility bridge and Qt's own event dispatcher together.
#   check_accessibility.sh PROGRAM
# Exits 77 (skipped) where Xvfb, D-Bus or the accessibility bus are not installed.
set -uo pipefail

program="${1:?usage: check_accessibility.sh PROGRAM}"
launcher=/usr/libexec/at-spi-bus-launcher

if [ -z "${HEXORIN_INSIDE_SESSION:-}" ]; then
    for tool in xvfb-run dbus-run-session gdbus "$launcher"; do
        command -v "$tool" >/dev/null || {
            echo "no $tool: the accessibility bus is not checked here"
            exit 77
        }
    done
    export HEXORIN_INSIDE_SESSION=1
    unset QT_QPA_PLATFORM
    exec xvfb-run -a dbus-run-session -- "$0" "$@"
fi

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Tries a command every tenth of a second for up to five seconds.
poll() {
    local _
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

"$launcher" --launch-immediately >/dev/null 2>&1 &
poll gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress \
    >/dev/null || {
    echo "FAIL: the accessibility bus did not start" >&2
    exit 1
}
address="$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress |
    sed "s/^('\(.*\)',)$/\1/")"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT

on_bus() { # bus name, object, method, arguments...
    local name="$1" object="$2" method="$3"
    shift 3
    gdbus call --address "$address" -d "$name" -o "/org/a11y/atspi/accessible/$object" \
        -m "$method" "$@"
}
children() { # bus name, object: the objects of its children, one a line
    on_bus "$1" "$2" org.a11y.atspi.Accessible.GetChildren |
        grep -o "/org/a11y/atspi/accessible/[0-9a-z]*" | sed 's|.*/||'
}
name() { # bus name, object
    on_bus "$1" "$2" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name |
        sed "s/^(<'\(.*\)'>,)$/\1/"
}
application() {
    on_bus org.a11y.atspi.Registry root org.a11y.atspi.Accessible.GetChildren |
        grep -o "':[0-9.]*'" | head -n 1 | tr -d "'"
}
window_shown() {
    app="$(application)"
    [ -n "$app" ] && [ -n "$(children "$app" root)" ]
}

poll window_shown || {
    echo "FAIL: the program did not appear on the accessibility bus" >&2
    exit 1
}
frame="$(children "$app" root | head -n 1)"
[ "$(name "$app" "$frame")" = Hexorin ] || fail "window named '$(name "$app" "$frame")'"
mapfile -t top < <(children "$app" "$frame")
[ "$(name "$app" "${top[0]}")" = "Menü" ] || fail "menu bar named '$(name "$app" "${top[0]}")'"
[ "$(name "$app" "${top[1]}")" = "Fensterfläche" ] || fail "client area named '$(name "$app" "${top[1]}")'"
mapfile -t entries < <(children "$app" "${top[0]}")
menu="$(for entry in "${entries[@]}"; do name "$app" "$entry"; done | paste -sd,)"
[ "$menu" = "Startwerte,Beenden" ] || fail "menu entries '$menu'"
controls="$(children "$app" "${top[1]}" | wc -l)"
[ "$controls" -gt 100 ] || fail "only $controls controls on the client area"

on_bus "$app" "${entries[1]}" org.a11y.atspi.Action.DoAction 0 >/dev/null ||
    fail "'Beenden' could not be chosen over the bus"
ended() { ! kill -0 "$pid" 2>/dev/null; }
if poll ended; then
    wait "$pid"
    status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
else
    fail "the program did not end after 'Beenden'"
fi

[ "$failures" -eq 0 ] && echo "the window reads its names over the accessibility bus and ends there"
exit $((failures > 0))
