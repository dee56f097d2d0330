#!/usr/bin/env bash
# Tries Hexorin on desktops as their users meet them, where the test command cannot: the real
# program on an X server with a window manager, and GNOME's settings read through the real
# freedesktop portal. For a developer, not part of test.sh; it needs no desktop of its own.
#   scripts/desktops.sh [BUILD_DIR]    (default build/test; the program must be built there)
# Each check prints one line, PASS or FAIL; the pictures it takes go into HEXORIN_SHOTS (default:
# a new temporary directory, named at the end). Look at them.
#   openbox-200   1280 x 1024 at 200 % under openbox: the whole frame inside the work area, the
#                 help line whole when scrolled to the end
#   gnome-dark    GNOME's Dark style (color-scheme prefer-dark) through xdg-desktop-portal and its
#                 GTK backend: the window dark at start, light again when the setting goes back
#   gnome-hc      GNOME's High Contrast switch through the portal, while the window is open: the
#                 grid's row numbers read at 4.5:1
#   gnome-wayland GNOME on Wayland with Qt before 6.8: the window comes up through XWayland
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
set +e # the checks go on after a failure
hexorin_install_packages xvfb xauth openbox xdotool x11-utils dbus-daemon dbus-x11 \
    xdg-desktop-portal xdg-desktop-portal-gtk dconf-gsettings-backend gsettings-desktop-schemas \
    python3-gi gir1.2-gtk-3.0

build="${1:-$hexorin_root/build/test}"
program="$build/hexorin"
[ -x "$program" ] || hexorin_fail "no program at $program: build it first (cmake --build --preset test)."
shots="${HEXORIN_SHOTS:-$(mktemp -d)}"
mkdir -p "$shots"
failures=0

verdict() { # name, condition text, status
    if [ "$3" -eq 0 ]; then echo "PASS $1: $2"; else
        echo "FAIL $1: $2"
        failures=$((failures + 1))
    fi
}

# The screen as it stands into a PNG, or one pixel of it as "r g b".
grab() { # file
    /usr/bin/python3 -c '
import sys, gi
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk
root = Gdk.get_default_root_window()
Gdk.pixbuf_get_from_window(root, 0, 0, root.get_width(), root.get_height()).savev(sys.argv[1], "png", [], [])
' "$1"
}
pixel() { # x, y
    /usr/bin/python3 -c '
import sys, gi
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk
x, y = int(sys.argv[1]), int(sys.argv[2])
pixels = Gdk.pixbuf_get_from_window(Gdk.get_default_root_window(), x, y, 1, 1).get_pixels()
print(pixels[0], pixels[1], pixels[2])
' "$1" "$2"
}

# The contrast of the darkest pixel in a box of the screen (a text) against its most common one
# (what the text stands on), as the WCAG count it.
text_contrast() { # x, y, width, height
    /usr/bin/python3 -c '
import sys, collections, gi
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk
x, y, w, h = map(int, sys.argv[1:5])
shot = Gdk.pixbuf_get_from_window(Gdk.get_default_root_window(), x, y, w, h)
data, stride, step = shot.get_pixels(), shot.get_rowstride(), shot.get_n_channels()
def lum(p):
    c = [v / 255 for v in p]
    c = [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]
pixels = [tuple(data[r * stride + c * step: r * stride + c * step + 3]) for r in range(h) for c in range(w)]
back = collections.Counter(pixels).most_common(1)[0][0]
ink = max(pixels, key=lambda p: abs(lum(p) - lum(back)))
one, other = sorted((lum(back), lum(ink)))
print("%.2f" % ((other + 0.05) / (one + 0.05)))
' "$@"
}

# The program's window, once it is up: its id.
window_of() { # pid
    local id=""
    for _ in $(seq 50); do
        id="$(xdotool search --onlyvisible --pid "$1" --name '^Hexorin$' 2>/dev/null | head -1)"
        [ -n "$id" ] && break
        sleep 0.2
    done
    echo "$id"
}

# Runs inside Xvfb: the frame of the window at 200 % against the work area openbox gives.
check_openbox() {
    openbox >/dev/null 2>&1 &
    sleep 1.5
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 "$program" >/dev/null 2>&1 &
    local pid=$! id
    id="$(window_of "$pid")"
    sleep 1
    local x y w h extents area
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4} /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    extents="$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    area="$(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | cut -d' ' -f1-4)"
    read -r left right top bottom <<<"$extents"
    read -r ax ay aw ah <<<"$area"
    local frame="$((x - left)),$((y - top)) to $((x + w + right)),$((y + h + bottom))"
    [ $((x - left)) -ge "$ax" ] && [ $((y - top)) -ge "$ay" ] &&
        [ $((x + w + right)) -le $((ax + aw)) ] && [ $((y + h + bottom)) -le $((ay + ah)) ]
    verdict openbox-200 "frame $frame in work area $ax,$ay $aw x $ah" $?
    xdotool mousemove $((x + w / 3)) $((y + h / 2))
    for _ in $(seq 30); do xdotool click 5; done
    sleep 0.5
    grab "$shots/openbox-200-scrolled.png"
    kill "$pid"
}

# Runs inside Xvfb and a session bus of its own, with GNOME's settings in dconf.
check_gnome() {
    export XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=dconf
    XDG_RUNTIME_DIR="$(mktemp -d)"
    export XDG_RUNTIME_DIR
    gsettings set org.gnome.desktop.interface color-scheme prefer-dark
    /usr/libexec/xdg-desktop-portal >/dev/null 2>&1 &
    local portal=$!
    sleep 2
    QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
    local pid=$! id
    id="$(window_of "$pid")"
    sleep 1
    local x y
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}')"
    # The surface between the star and the grid, below the menu bar.
    local sx=$((x + 344)) sy=$((y + 200)) dark light
    dark="$(pixel "$sx" "$sy")"
    grab "$shots/gnome-dark.png"
    gsettings set org.gnome.desktop.interface color-scheme default
    sleep 1.5
    light="$(pixel "$sx" "$sy")"
    grab "$shots/gnome-default.png"
    [ "${dark%% *}" -lt 100 ] && [ "${light%% *}" -gt 200 ]
    verdict gnome-dark "surface $dark with Dark style, $light after going back to default" $?
    kill "$pid"

    # The row number of field 1, left of the grid, before and after GNOME's High Contrast switch.
    QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
    pid=$!
    id="$(window_of "$pid")"
    sleep 1
    eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}')"
    local plain raised
    plain="$(text_contrast $((x + 352)) $((y + 95)) 14 40)"
    gsettings set org.gnome.desktop.a11y.interface high-contrast true
    sleep 1.5
    raised="$(text_contrast $((x + 352)) $((y + 95)) 14 40)"
    grab "$shots/gnome-highcontrast.png"
    awk -v a="$plain" -v b="$raised" 'BEGIN { exit !(a < 4.5 && b >= 4.5) }'
    verdict gnome-hc "row number $plain:1, $raised:1 after the High Contrast switch" $?
    kill "$pid" "$portal"
}

# Runs inside Xvfb: a GNOME Wayland session's environment, the X server standing in for XWayland.
check_gnome_wayland() {
    XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-97 \
        "$program" >/dev/null 2>&1 &
    local pid=$! id
    id="$(window_of "$pid")"
    [ -n "$id" ]
    verdict gnome-wayland "window on the X server (XWayland) with Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?')" $?
    kill "$pid" 2>/dev/null
}

# The checks run in this script again, started inside their X server (and session bus): xvfb-run
# is a plain shell script that would not pass functions on.
if [ "${HEXORIN_CHECK:-}" != "" ]; then
    "$HEXORIN_CHECK"
    exit "$failures"
fi
run() { # function, wrapper...
    local check="$1" output
    shift
    output="$(mktemp)"
    # A settings database of its own, fresh each time, not the developer's: set before the session
    # bus starts the settings service.
    XDG_CONFIG_HOME="$(mktemp -d)" HEXORIN_CHECK="$check" HEXORIN_SHOTS="$shots" xvfb-run -a -s "-screen 0 1280x1024x24" "$@" \
        "${BASH_SOURCE[0]}" "$build" >"$output" 2>&1
    local status=$?
    grep -E '^(PASS|FAIL|LOOK)' "$output" || tail -5 "$output"
    rm -f "$output"
    [ "$status" -eq 0 ] || failures=$((failures + 1))
}
run check_openbox
run check_gnome dbus-run-session --
run check_gnome_wayland
echo "pictures: $shots"
[ "$failures" -eq 0 ]
