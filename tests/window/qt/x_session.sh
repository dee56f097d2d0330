# Sourced by the tests that run the program on a real X server with real buses
# (accessibility_atspi.sh, orca_speech.sh): the tools they need, an Xvfb of their own, and an end
# that leaves nothing of theirs running. Expects `work`, the test's temporary directory.

# Exits 77 (skipped) unless every tool named is there.
require_tools() { # tool...
    local tool
    for tool; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
    done
}

# Sets bus_launcher to the accessibility bus's launcher, or skips.
find_bus_launcher() {
    local candidate
    bus_launcher=""
    for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
        [ -x "$candidate" ] && bus_launcher="$candidate" && return 0
    done
    echo "skipped: at-spi-bus-launcher is missing"
    exit 77
}

# Starts Xvfb with the arguments given and sets xvfb_pid and DISPLAY. Another test's X server
# starting at the same moment can take the display Xvfb picked: then this one ends or does not
# answer, and a second one picks another.
start_xvfb() { # Xvfb argument...
    local attempt
    for attempt in 1 2 3; do
        try_xvfb "$@" && return 0
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    done
    cat "$work/xvfb.log"
    echo "Xvfb did not start"
    exit 1
}
try_xvfb() {
    : >"$work/display"
    Xvfb -displayfd 3 "$@" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" 9>&- &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || return 1
    export DISPLAY=":$(cat "$work/display")"
    # The program refuses to start on a display that does not answer yet.
    for _ in $(seq 100); do
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The session bus starts services on demand (the desktop portal and its backends) that outlive it
# and keep the test's output open, so ctest would wait for them until its timeout. After Xvfb,
# every process whose environment carries this test's HEXORIN_WORK ends with the test.
end_session() {
    local environ pid
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    for environ in /proc/[0-9]*/environ; do
        pid="${environ#/proc/}"
        pid="${pid%/environ}"
        if [ "$pid" != "$$" ] && grep -qzx "HEXORIN_WORK=$work" "$environ" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
}
