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
#   gnome-shell   the real GNOME Shell, headless on Wayland (1280 x 1024), the program started as
#                 GNOME starts it: its frame (the shell's title bar through XWayland), the Dark
#                 style at start and back to light while it runs, the "Backtracking" question box
#                 centred on the window, Enter answering Ja and Escape Nein. Pictures through the
#                 shell's Screenshot interface; clicks and keys through its virtual input devices.
#   gnome-shell-150  the same shell on 1920 x 1080 at 150 %: after a search has moved the marker
#                 away, its first place shows the surface only (no pixel of it left behind). The
#                 headless shell left none there even without the window's extra repaint, so a PASS
#                 here says less than a FAIL would.
#   kwin          KWin on Wayland with XWayland (1280 x 1024) in Breeze Dark, as KDE's portal tells
#                 it: the window dark, its frame, the question box centred, Enter and Escape, then
#                 light again when Breeze Light is chosen while it runs. Pictures through KWin's ScreenShot2; clicks and keys through XWayland, so a
#                 window that comes up on Wayland (Debian 13) is started again through XWayland.
# Only some of them:  scripts/desktops.sh BUILD_DIR openbox gnome gnome-wayland gnome-shell
#                     gnome-shell-150 kwin
# On Debian 13 it runs unchanged inside a copy of the chroot scripts/debian13.sh makes, with proc,
# sys, dev, dev/pts and dev/shm mounted as that script mounts them, the program built there:
#   cp -a /var/tmp/hexorin-debian13 DIR, mount, copy the work tree to DIR/root/root/hexorin, then
#   chroot DIR/root bash -c 'cd /root/hexorin && cmake --preset test &&
#       cmake --build build/test --target hexorin && scripts/desktops.sh build/test'
# and unmount afterwards.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
set +e # the checks go on after a failure
hexorin_install_packages xvfb xauth openbox xdotool x11-utils dbus-daemon dbus-x11 \
    xdg-desktop-portal xdg-desktop-portal-gtk dconf-gsettings-backend gsettings-desktop-schemas \
    python3-gi gir1.2-gtk-3.0 gir1.2-gdkpixbuf-2.0 libglib2.0-bin gnome-shell xwayland \
    xdg-desktop-portal-gnome kwin-wayland breeze xdg-desktop-portal-kde plasma-integration

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
pixels = [at(c, r) for r in range(h) for c in range(w)]
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
    local status=$? qt
    qt="$(qtpaths6 --qt-version 2>/dev/null || echo '?')"
    verdict gnome-wayland "window on the X server (XWayland) with Qt $qt" $status
    kill "$pid" 2>/dev/null
}

# A GNOME Shell of its own, headless, on a private session and system bus: the shell's Eval and
# Screenshot answer any caller once a small extension has put the shell in unsafe mode, the mode
# GNOME's own tests use. Leaves the shell's pid and its system bus's in shell_pids.
start_gnome_shell() { # [monitor size, 1280x1024 if none]
    local version uuid=hexorin-check@hexorin.local folder
    version="$(gnome-shell --version | sed -E 's/[^0-9]*([0-9]+).*/\1/')"
    folder="$HOME/.local/share/gnome-shell/extensions/$uuid"
    mkdir -p "$folder"
    printf '{"uuid": "%s", "name": "check", "description": "unsafe mode", "shell-version": ["%s"]}\n' \
        "$uuid" "$version" >"$folder/metadata.json"
    if [ "$version" -ge 45 ]; then
        printf '%s\n' "import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';" \
            'export default class Check extends Extension {' \
            '    enable() { global.context.unsafe_mode = true; }' \
            '    disable() {}' '}' >"$folder/extension.js"
    else
        printf '%s\n' 'function init() {}' 'function enable() { global.context.unsafe_mode = true; }' \
            'function disable() {}' >"$folder/extension.js"
    fi
    gsettings set org.gnome.shell enabled-extensions "['$uuid']"
    gsettings set org.gnome.shell welcome-dialog-last-shown-version '999'
    dbus-daemon --session --address="unix:path=$XDG_RUNTIME_DIR/system_bus" --nofork >/dev/null 2>&1 &
    shell_pids=($!)
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/system_bus" \
        gnome-shell --headless --wayland --virtual-monitor "${1:-1280x1024}" >"$HOME/shell.log" 2>&1 &
    shell_pids=($! "${shell_pids[@]}")
    # Up, in unsafe mode, and out of the overview it opens with.
    for _ in $(seq 100); do
        [ "$(shell_eval 'global.context.unsafe_mode && !Main.layoutManager._startingUp &&
            (Main.overview.hide(), Main.messageTray.bannerBlocked = true, !Main.overview.visible)')" = true ] &&
            shell_input "p.notify_absolute_motion(t, 1, 1)" && return 0
        sleep 0.3
    done
    return 1
}
stop_gnome_shell() {
    shell_eval 'global.context.terminate(); true' >/dev/null
    for _ in $(seq 50); do kill -0 "${shell_pids[0]}" 2>/dev/null || break; sleep 0.2; done
    kill "${shell_pids[@]}" 2>/dev/null
    wait "${shell_pids[@]}" 2>/dev/null
}

# JavaScript run in the shell; prints its value as JSON.
shell_eval() { # code
    /usr/bin/python3 -c '
import sys, gi
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
ok, value = bus.call_sync("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
                          GLib.Variant("(s)", (sys.argv[1],)), None, 0, 10000).unpack()
print(value if ok else "null")
' "$1" 2>/dev/null
}

# The shell's windows of one title: one line each, "sequence x11 decorated frame(x y w h)
# client(x y w h)".
shell_windows() { # title
    shell_eval "global.get_window_actors().map(a => a.meta_window).filter(w => w.get_title() === '$1')
        .map(w => { const f = w.get_frame_rect(), c = w.frame_rect_to_client_rect(f);
            return [w.get_stable_sequence(), w.get_client_type() === 1 ? 1 : 0, w.decorated ? 1 : 0,
                    f.x, f.y, f.width, f.height, c.x, c.y, c.width, c.height].join(' '); }).join('\n')" |
        /usr/bin/python3 -c 'import sys, json; print(json.loads(sys.stdin.read() or "\"\""))'
}

# Real input through the shell's own virtual devices: a click at a point of the screen, a key, or
# one event.
shell_input() { # "click x y", "key NAME" or code
    local action
    case "$1" in
    click) # moved onto the point from beside it: a Wayland window may miss the first motion
        shell_input "p.notify_absolute_motion(t, $(($2 - 8)), $(($3 - 8)))"
        shell_input "p.notify_absolute_motion(t, $2, $3)"
        shell_input "p.notify_button(t, C.BUTTON_PRIMARY, C.ButtonState.PRESSED)"
        shell_input "p.notify_button(t, C.BUTTON_PRIMARY, C.ButtonState.RELEASED)"
        return ;;
    key)
        shell_input "k.notify_keyval(t, C.KEY_$2, C.KeyState.PRESSED)"
        shell_input "k.notify_keyval(t, C.KEY_$2, C.KeyState.RELEASED)"
        return ;;
    *) action="$1;" ;;
    esac
    shell_eval "const C = imports.gi.Clutter, t = imports.gi.GLib.get_monotonic_time();
        if (!globalThis.hexorinInput) { const seat = C.get_default_backend().get_default_seat();
            globalThis.hexorinInput = [seat.create_virtual_device(C.InputDeviceType.POINTER_DEVICE),
                                       seat.create_virtual_device(C.InputDeviceType.KEYBOARD_DEVICE)]; }
        const [p, k] = globalThis.hexorinInput; $action true" >/dev/null
    sleep 0.2
}

shell_shot() { # file
    gdbus call --session -d org.gnome.Shell.Screenshot -o /org/gnome/Shell/Screenshot \
        -m org.gnome.Shell.Screenshot.Screenshot false false "$1" >/dev/null
}

# The start of the Python that reads a picture, its first argument: at(c, r) is a pixel, (r, g, b).
picture_reader='
import sys, collections, gi
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf
shot = GdkPixbuf.Pixbuf.new_from_file(sys.argv[1])
data, stride, step = shot.get_pixels(), shot.get_rowstride(), shot.get_n_channels()
def at(c, r):
    return tuple(data[r * stride + c * step: r * stride + c * step + 3])
'

# The most common colour of a box of a picture, "r g b".
picture_colour() { # file, x, y, width, height
    /usr/bin/python3 -c "$picture_reader"'
x, y, w, h = map(int, sys.argv[2:6])
pixels = [at(c, r) for r in range(y, y + h) for c in range(x, x + w)]
print(*collections.Counter(pixels).most_common(1)[0][0])
' "$@"
}

# Where the Start button's sign is in a picture, inside a box: the middle of its yellow, "x y".
# The window's content lies at a fixed offset from it, whoever draws the title bar.
sign_middle() { # file, x, y, width, height
    /usr/bin/python3 -c "$picture_reader"'
x, y, w, h = map(int, sys.argv[2:6])
found = [(c, r) for r in range(max(y, 0), min(y + h, shot.get_height())) for c in range(max(x, 0), min(x + w, shot.get_width()))
         if at(c, r) == (255, 214, 0)]
if len(found) > 100:
    print(round(sum(c for c, r in found) / len(found)), round(sum(r for c, r in found) / len(found)))
' "$@"
}
sign_offset=(552 443)

# Waits until the shell shows windows of a title other than the ones given; prints the first.
await_window() { # title, sequences to ignore...
    local title="$1" line
    shift
    for _ in $(seq 50); do
        while read -r line; do
            [ -n "$line" ] && [[ " $* " != *" ${line%% *} "* ]] && echo "$line" && return 0
        done < <(shell_windows "$title")
        sleep 0.2
    done
    return 1
}

# Runs on a session bus of its own: GNOME Shell, headless on Wayland, with the Dark style; the
# program as GNOME starts it (no platform chosen).
check_gnome_shell() {
    export XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=dconf XDG_SESSION_TYPE=wayland
    gsettings set org.gnome.desktop.interface color-scheme prefer-dark
    start_gnome_shell || echo "FAIL gnome-shell: no shell in unsafe mode; its log: $(tail -3 "$HOME/shell.log")"
    # The shell starts its X server at once and tells its children where: so does this check.
    local display auth
    display="$(shell_eval 'imports.gi.GLib.getenv("DISPLAY")' | tr -d '"')"
    auth="$(shell_eval 'imports.gi.GLib.getenv("XAUTHORITY")' | tr -d '"')"
    DISPLAY="$display" XAUTHORITY="$auth" WAYLAND_DISPLAY=wayland-0 "$program" >"$HOME/program.log" 2>&1 &
    local pid=$! window
    window="$(await_window Hexorin)"
    local _seq x11 decorated fx fy fw fh
    read -r _seq x11 decorated fx fy fw fh _ <<<"$window"
    sleep 1
    shell_shot "$shots/gnome-shell-dark.png"
    local sx sy cx cy dark light
    read -r sx sy <<<"$(sign_middle "$shots/gnome-shell-dark.png" "$fx" "$fy" "$fw" "$fh")"
    cx=$((${sx:-0} - sign_offset[0])) cy=$((${sy:-0} - sign_offset[1]))
    dark="$(picture_colour "$shots/gnome-shell-dark.png" $((cx + 340)) $((cy + 196)) 9 9)"
    # The title bar: the frame above the content, the shell's through XWayland, else the window's.
    local bar=$((cy - fy)) drawer="the window's own title bar (client side) on Wayland"
    [ "$x11" = 1 ] && drawer="the shell's title bar through XWayland"
    [ -n "$sx" ] && [ "$bar" -ge 24 ] && { [ "$x11" = 0 ] || [ "$decorated" = 1 ]; }
    verdict gnome-shell-frame "$drawer, $bar px high, frame $fw x $fh" $?

    # Start with Einzelschritt ticked asks first; Enter answers Ja (the next pass asks again),
    # Escape Nein (no more questions, the search goes on).
    shell_input click "${sx:-0}" "${sy:-0}"
    local box first second bx by bw bh
    box="$(await_window Backtracking)"
    read -r first _ _ bx by bw bh _ <<<"$box"
    sleep 0.5
    shell_shot "$shots/gnome-shell-box.png"
    local dx=$((bx + bw / 2 - fx - fw / 2)) dy=$((by + bh / 2 - fy - fh / 2))
    [ -n "$box" ] && [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
    verdict gnome-shell-box "question box ${bw}x$bh, its centre $dx,$dy px from the window's" $?
    shell_input key Return
    second="$(await_window Backtracking "$first" | cut -d' ' -f1)"
    shell_input key Escape
    sleep 2
    local left
    left="$(shell_windows Backtracking)"
    [ -n "$first" ] && [ -n "$second" ] && [ -z "$left" ] && kill -0 "$pid"
    local status=$? state=gone
    kill -0 "$pid" 2>/dev/null && state=running
    verdict gnome-shell-keys "Enter: box ${first:-none} closed, the next pass asks (box ${second:-none}); Escape: ${left:-no box} left, program $state" $status

    gsettings set org.gnome.desktop.interface color-scheme default
    sleep 2
    shell_shot "$shots/gnome-shell-default.png"
    light="$(picture_colour "$shots/gnome-shell-default.png" $((cx + 340)) $((cy + 196)) 9 9)"
    [ "${dark%% *}" -lt 100 ] && [ "${light%% *}" -gt 200 ]
    verdict gnome-shell-dark "surface $dark with Dark style, $light after going back to default" $?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    stop_gnome_shell
}

# A KWin of its own, on Wayland with XWayland on a virtual screen; KWin's own switches let any
# caller take pictures. Leaves its pid in kwin_pid and sets DISPLAY as KWin gives it to programs.
start_kwin() {
    local kwin
    kwin="$(command -v kwin_wayland)"
    # Debian 12's kwin_wayland carries a file capability that a container may refuse to grant: a
    # copy without it runs there all the same.
    if ! "$kwin" --version >/dev/null 2>&1; then
        cp "$kwin" "$HOME/kwin_wayland"
        kwin="$HOME/kwin_wayland"
    fi
    # A program KWin starts writes down the X display KWin gives its programs.
    printf '%s\n' '#!/bin/sh' 'echo "$DISPLAY $XAUTHORITY" >"$HOME/x11"' >"$HOME/x11.sh"
    chmod +x "$HOME/x11.sh"
    KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 "$kwin" --virtual --xwayland --width 1280 --height 1024 \
        --no-lockscreen --no-global-shortcuts --no-kactivities --socket wayland-0 "$HOME/x11.sh" \
        >"$HOME/kwin.log" 2>&1 &
    kwin_pid=$!
    for _ in $(seq 100); do [ -s "$HOME/x11" ] && break; sleep 0.2; done
    read -r DISPLAY XAUTHORITY <"$HOME/x11" && export DISPLAY XAUTHORITY
}

# The screen through KWin's ScreenShot2 interface, into a PNG.
kwin_shot() { # file
    /usr/bin/python3 -c '
import os, sys, gi
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import Gio, GLib, GdkPixbuf
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
read, write = os.pipe()
fds = Gio.UnixFDList.new_from_array([write])
reply, _ = bus.call_with_unix_fd_list_sync("org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
    "CaptureArea", GLib.Variant("(iiuua{sv}h)", (0, 0, 1280, 1024, {}, 0)), None, 0, 10000, fds, None)
os.close(write)
data = b""
while chunk := os.read(read, 1 << 20):
    data += chunk
info = reply.unpack()[0]
width, height, stride = info["width"], info["height"], info["stride"]
# Qt ARGB32 in memory: B G R A per pixel.
rgb = bytearray()
for row in range(height):
    line = data[row * stride: row * stride + width * 4]
    for index in range(0, len(line), 4):
        rgb += bytes((line[index + 2], line[index + 1], line[index]))
GdkPixbuf.Pixbuf.new_from_bytes(GLib.Bytes.new(bytes(rgb)), GdkPixbuf.Colorspace.RGB, False, 8, width, height,
                                width * 3).savev(sys.argv[1], "png", [], [])
' "$1"
}

# The shell's screen at a scale of its own (with fractional scales allowed): prints the scale set.
shell_scale() { # scale
    /usr/bin/python3 -c '
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(method, args=None):
    return bus.call_sync("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                         "org.gnome.Mutter.DisplayConfig", method, args, None, 0, 10000, None).unpack()
serial, monitors, _, _ = call("GetCurrentState")
(connector, _, _, _), modes, _ = monitors[0]
mode = next(m for m in modes if m[6].get("is-current"))
scale = min(mode[5], key=lambda s: abs(s - float(sys.argv[1])))
call("ApplyMonitorsConfig", GLib.Variant("(uua(iiduba(ssa{sv}))a{sv})",
     (serial, 1, [(0, 0, scale, 0, True, [(connector, mode[0], {})])], {})))
print("%.4g" % scale)
' "$1"
}

# The pixels of a box of a picture that differ from its most common colour, and that colour:
# "count r g b".
stray_pixels() { # file, x, y, width, height
    /usr/bin/python3 -c "$picture_reader"'
x, y, w, h = map(int, sys.argv[2:6])
pixels = [at(c, r) for r in range(y, y + h) for c in range(x, x + w)]
common = collections.Counter(pixels).most_common(1)[0][0]
print(len(pixels) - pixels.count(common), *common)
' "$@"
}

# The blue arrow of the marker in a picture, left of and below the Start sign: "x y width height".
arrow_box() { # file, sign x, sign y
    /usr/bin/python3 -c "$picture_reader"'
sx, sy = int(sys.argv[2]), int(sys.argv[3])
found = [(c, r) for r in range(max(sy - 150, 0), min(sy + 150, shot.get_height())) for c in range(max(sx - 900, 0), max(sx - 650, 0))
         if at(c, r) == (0, 0, 255)]
if found:
    xs, ys = [c for c, r in found], [r for c, r in found]
    print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)
' "$@"
}

# Runs on a session bus of its own: GNOME Shell at 150 %, where a moved widget's old place may keep
# pixels of it. The marker's first place, left when a search runs, shows the surface only.
check_gnome_shell_150() {
    export XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=dconf XDG_SESSION_TYPE=wayland
    gsettings set org.gnome.mutter experimental-features "['scale-monitor-framebuffer']"
    # 1920 x 1080 has exactly 150 %; 1280 x 1024 only 149.7 %.
    start_gnome_shell 1920x1080 || echo "FAIL gnome-shell-150: no shell in unsafe mode; its log: $(tail -3 "$HOME/shell.log")"
    local scale
    scale="$(shell_scale 1.5)"
    sleep 1
    local display auth
    display="$(shell_eval 'imports.gi.GLib.getenv("DISPLAY")' | tr -d '"')"
    auth="$(shell_eval 'imports.gi.GLib.getenv("XAUTHORITY")' | tr -d '"')"
    DISPLAY="$display" XAUTHORITY="$auth" WAYLAND_DISPLAY=wayland-0 "$program" >"$HOME/program.log" 2>&1 &
    local pid=$!
    await_window Hexorin >/dev/null
    sleep 1.5
    shell_shot "$shots/gnome-shell-150-before.png"
    local sx sy ax ay aw ah
    read -r sx sy <<<"$(sign_middle "$shots/gnome-shell-150-before.png" 0 0 1920 1080)"
    read -r ax ay aw ah <<<"$(arrow_box "$shots/gnome-shell-150-before.png" "${sx:-0}" "${sy:-0}")"
    # The run: Start, Nein, on to the first solution; the marker ends at the last place.
    local margin=12 count surface
    local logical
    logical="$(awk -v x="${sx:-0}" -v y="${sy:-0}" -v s="$scale" 'BEGIN { printf "%d %d", x / s, y / s }')"
    # shellcheck disable=SC2086 # two numbers
    shell_input click $logical
    await_window Backtracking >/dev/null
    shell_input key Escape
    sleep 4
    shell_shot "$shots/gnome-shell-150-after.png"
    read -r count surface <<<"$(stray_pixels "$shots/gnome-shell-150-after.png" $((${ax:-0} - margin)) \
        "${ay:-0}" $((${aw:-0} + 2 * margin)) "${ah:-0}")"
    [ -n "$ax" ] && [ "$scale" != 1 ] && [ "${count:-1}" -eq 0 ]
    verdict gnome-shell-150 "at scale $scale: $count pixels other than the surface ($surface) where the marker stood first (arrow ${aw:-?}x${ah:-?} at ${ax:-?},${ay:-?}, $margin px either side)" $?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    stop_gnome_shell
}

# An X window's frame on the screen, title bar and borders included, and the title bar's and the
# left border's width: "x y width height top left".
x_frame() { # window id
    [ "${1:-0}" != 0 ] || return 1
    local x y w h left right top bottom
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4} /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    echo "$((x - ${left:-0})) $((y - ${top:-0})) $((w + ${left:-0} + ${right:-0})) $((h + ${top:-0} + ${bottom:-0})) ${top:-0} ${left:-0}"
}

# An X window's own content into a PNG, where the compositor takes no pictures.
x_window_shot() { # file, window id
    [ "${2:-0}" != 0 ] || return 1
    GDK_BACKEND=x11 /usr/bin/python3 -c '
import sys, gi
gi.require_version("Gdk", "3.0")
gi.require_version("GdkX11", "3.0")
from gi.repository import Gdk, GdkX11
window = GdkX11.X11Window.foreign_new_for_display(Gdk.Display.get_default(), int(sys.argv[2]))
Gdk.pixbuf_get_from_window(window, 0, 0, window.get_width(), window.get_height()).savev(sys.argv[1], "png", [], [])
' "$1" "$2"
}

# A text as D-Bus bytes in GVariant's notation, without the closing zero a b'' string would add.
bytes() { # text
    printf '[byte '
    printf '%s' "$1" | od -An -v -tu1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /, byte /g'
    printf ']'
}

# Runs on a session bus of its own: KWin on Wayland in Breeze Dark, the program as Plasma starts
# it. KDE's colour scheme reaches the program through KDE's platform theme or portal, both reading
# kdeglobals.
check_kwin() {
    export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true
    mkdir -p "$XDG_CONFIG_HOME"
    cp /usr/share/color-schemes/BreezeDark.colors "$XDG_CONFIG_HOME/kdeglobals"
    # Plasma hands its desktop and display to the services the bus starts, the portal among them.
    dbus-update-activation-environment XDG_CURRENT_DESKTOP XDG_SESSION_TYPE KDE_FULL_SESSION \
        >/dev/null 2>&1
    start_kwin
    dbus-update-activation-environment DISPLAY XAUTHORITY WAYLAND_DISPLAY=wayland-0 >/dev/null 2>&1
    WAYLAND_DISPLAY=wayland-0 "$program" >"$HOME/program.log" 2>&1 &
    local pid=$! id where="through XWayland" portal
    id="$(window_of "$pid")"
    sleep 2
    portal="$(gdbus call --session -d org.freedesktop.portal.Desktop -o /org/freedesktop/portal/desktop \
        -m org.freedesktop.portal.Settings.Read org.freedesktop.appearance color-scheme 2>&1 | head -1)"
    if [ -z "$id" ]; then
        # On Wayland: a picture if KWin takes one, then the rest through XWayland.
        if kwin_shot "$shots/kwin-wayland-dark.png" 2>/dev/null; then
            echo "LOOK kwin-wayland: the window on Wayland: $shots/kwin-wayland-dark.png"
        else
            echo "SKIP kwin-wayland: the window is on Wayland and KWin takes no pictures here (its screenshots need OpenGL compositing); the checks below run it through XWayland"
        fi
        kill "$pid"
        wait "$pid" 2>/dev/null
        QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-0 "$program" >"$HOME/program.log" 2>&1 &
        pid=$!
        id="$(window_of "$pid")"
        where="through XWayland (QT_QPA_PLATFORM=xcb)"
        sleep 2
    fi
    # The screen, or where KWin takes no pictures the window's content: its place then added.
    local picture="$shots/kwin-dark.png" fx fy fw fh bar border ox=0 oy=0
    read -r fx fy fw fh bar border <<<"$(x_frame "${id:-0}" 2>/dev/null)"
    kwin_shot "$picture" 2>/dev/null || {
        x_window_shot "$picture" "${id:-0}"
        ox=$((${fx:-0} + ${border:-0})) oy=$((${fy:-0} + ${bar:-0}))
    }
    local sx sy dark
    read -r sx sy <<<"$(sign_middle "$picture" 0 0 1280 1024)"
    local cx=$((${sx:-0} - sign_offset[0])) cy=$((${sy:-0} - sign_offset[1]))
    dark="$(picture_colour "$picture" $((cx + 340)) $((cy + 196)) 9 9)"
    [ -n "$sx" ] && [ "${dark%% *}" -lt 100 ]
    verdict kwin-dark "surface $dark with Breeze Dark (the portal's color-scheme: $portal), window $where" $?
    [ -n "$id" ] && [ "${bar:-0}" -ge 24 ]
    verdict kwin-frame "KWin's title bar $where, ${bar:-?} px high, frame ${fw:-?} x ${fh:-?}" $?
    xdotool mousemove $((sx + ox - 8)) $((sy + oy - 8)) sleep 0.2 mousemove $((sx + ox)) $((sy + oy)) sleep 0.2 click 1
    local first second left bx by bw bh
    for _ in $(seq 50); do
        first="$(xdotool search --onlyvisible --name '^Backtracking$' 2>/dev/null | head -1)"
        [ -n "$first" ] && break
        sleep 0.2
    done
    sleep 0.5
    kwin_shot "$shots/kwin-box.png" 2>/dev/null || x_window_shot "$shots/kwin-box.png" "${first:-0}"
    read -r bx by bw bh _ <<<"$(x_frame "${first:-0}" 2>/dev/null)"
    local dx=$((${bx:-0} + ${bw:-0} / 2 - ${fx:-0} - ${fw:-0} / 2)) dy=$((${by:-0} + ${bh:-0} / 2 - ${fy:-0} - ${fh:-0} / 2))
    [ -n "$first" ] && [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
    verdict kwin-box "question box ${bw:-?}x${bh:-?}, its centre $dx,$dy px from the window's" $?
    xdotool key Return
    for _ in $(seq 50); do
        second="$(xdotool search --onlyvisible --name '^Backtracking$' 2>/dev/null | grep -vx "${first:-none}" | head -1)"
        [ -n "$second" ] && break
        sleep 0.2
    done
    xdotool key Escape
    sleep 2
    left="$(xdotool search --onlyvisible --name '^Backtracking$' 2>/dev/null | tr '\n' ' ')"
    [ -n "$first" ] && [ -n "$second" ] && [ -z "$left" ] && kill -0 "$pid" 2>/dev/null
    local status=$? state=gone
    kill -0 "$pid" 2>/dev/null && state=running
    verdict kwin-keys "Enter: box ${first:-none} closed, the next pass asks (box ${second:-none}); Escape: ${left:-no box} left, program $state" $status
    # Breeze Light chosen while the program runs, as System Settings does it: kdeglobals written,
    # then KConfig's change signal (Plasma 6) and KGlobalSettings' palette change (Plasma 5's
    # portal follows only this one).
    cp /usr/share/color-schemes/BreezeLight.colors "$XDG_CONFIG_HOME/kdeglobals"
    gdbus emit --session --object-path /kdeglobals --signal org.kde.kconfig.notify.ConfigChanged \
        "{'General': [$(bytes ColorScheme)], 'Colors:Window': [$(bytes BackgroundNormal)]}" >/dev/null 2>&1
    gdbus emit --session --object-path /KGlobalSettings --signal org.kde.KGlobalSettings.notifyChange \
        0 0 >/dev/null 2>&1
    sleep 3
    local light
    kwin_shot "$shots/kwin-light.png" 2>/dev/null || x_window_shot "$shots/kwin-light.png" "${id:-0}"
    light="$(picture_colour "$shots/kwin-light.png" $((cx + 340)) $((cy + 196)) 9 9)"
    local after
    after="$(gdbus call --session -d org.freedesktop.portal.Desktop -o /org/freedesktop/portal/desktop -m org.freedesktop.portal.Settings.Read org.freedesktop.appearance color-scheme 2>&1 | head -1)"
    [ -n "$sx" ] && [ "${light%% *}" -gt 200 ]
    verdict kwin-live "surface $dark in Breeze Dark, $light after Breeze Light was chosen while it ran (the portal then: $after)" $?
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    kill "$kwin_pid"
    wait "$kwin_pid" 2>/dev/null
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
# A session of its own: a fresh home, settings and runtime folder, a session bus, and a process
# group that is ended with everything in it when the check is done.
run_session() { # function
    local check="$1" output home
    output="$(mktemp)"
    home="$(mktemp -d)"
    mkdir -m 700 "$home/run"
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run" HEXORIN_CHECK="$check" \
        HEXORIN_SHOTS="$shots" setsid dbus-run-session -- "${BASH_SOURCE[0]}" "$build" >"$output" 2>&1 &
    local group=$!
    wait "$group"
    local status=$?
    kill -- -"$group" 2>/dev/null
    # A service the bus started as the session ended, in the group or not: found by the session's
    # runtime folder.
    sleep 1
    local left
    mapfile -t left < <(grep -lxsz "XDG_RUNTIME_DIR=$home/run" /proc/[0-9]*/environ | cut -d/ -f3)
    [ ${#left[@]} -eq 0 ] || kill -9 "${left[@]}" 2>/dev/null
    grep -E '^(PASS|FAIL|SKIP|LOOK)' "$output" || tail -5 "$output"
    rm -rf "$output" "$home"
    [ "$status" -eq 0 ] || failures=$((failures + 1))
}
# The checks named after the build directory, or all.
wanted() { [ ${#checks[@]} -eq 0 ] || [[ " ${checks[*]} " == *" $1 "* ]]; }
checks=("${@:2}")
wanted openbox && run check_openbox
wanted gnome && run check_gnome dbus-run-session --
wanted gnome-wayland && run check_gnome_wayland
wanted gnome-shell && run_session check_gnome_shell
wanted gnome-shell-150 && run_session check_gnome_shell_150
wanted kwin && run_session check_kwin
echo "pictures: $shots"
[ "$failures" -eq 0 ]
