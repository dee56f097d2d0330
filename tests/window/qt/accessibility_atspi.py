"""AT-SPI client for accessibility_atspi.sh: reads and toggles grid numbers as a screen reader
would, presses keys through X11, and checks state, focus, events and the pixels on the screen."""

import os
import struct
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WHITE, DARK_BLUE, HIGHLIGHT = (255, 255, 255), (0, 0, 128), (48, 140, 198)  # Fusion's highlight
checked_events = []  # (name, checked) of every object:state-changed:checked


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def wait_for(condition, what, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        if condition():
            return
        time.sleep(0.02)
    fail("timed out waiting for " + what)


def find_program():
    found = []

    def look():
        found[:] = [app for app in pyatspi.Registry.getDesktop(0) if app and app.name == "hexorin"]
        return found

    wait_for(look, "the program on the accessibility bus", 60)
    return found[0]


def is_checked(item):
    return item.getState().contains(pyatspi.STATE_CHECKED)


def has_focus(item):
    return item.getState().contains(pyatspi.STATE_FOCUSED)


def pixel(item, dx, dy):
    """The colour on the screen at (dx, dy) inside the item, from Xvfb's frame buffer file."""
    x, y, _, _ = item.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    with open(os.environ["HEXORIN_FRAMEBUFFER"], "rb") as frame:
        data = frame.read()
    order = ">" if struct.unpack(">I", data[:4])[0] < 4096 else "<"
    header = struct.unpack(order + "25I", data[:100])
    header_size, byte_order, bits, line = header[0], header[7], header[11], header[12]
    masks, colours = header[14:17], header[19]
    offset = header_size + 12 * colours + (y + dy) * line + (x + dx) * bits // 8
    value = int.from_bytes(data[offset:offset + bits // 8], "little" if byte_order == 0 else "big")
    return tuple((value & mask) >> ((mask & -mask).bit_length() - 1) for mask in masks)


def shows(item, colour, dx=3, dy=3):
    return lambda: pixel(item, dx, dy) == colour


def main():
    pyatspi.setTimeout(10000, 60000)  # a sanitized build on a busy machine answers slowly
    program = find_program()
    named = {o.name: o for o in pyatspi.findAllDescendants(program, lambda o: bool(o.name))}

    def item(name):
        if name not in named:
            fail("no object named " + name)
        return named[name]

    pyatspi.Registry.registerEventListener(
        lambda event: checked_events.append((event.source.name, event.detail1 == 1)),
        "object:state-changed:checked")

    # A number reads as a check box; its toggle action does what a click does.
    cell = item("Zahl 5 in Feld 2")
    if cell.getRole() != pyatspi.ROLE_CHECK_BOX or not is_checked(cell):
        fail("expected a checked check box, got %s %s" % (cell.getRoleName(), cell.getState()))
    wait_for(shows(cell, WHITE), "an allowed number in white")
    action = cell.queryAction()
    toggle = [action.getName(i) for i in range(action.nActions)].index("Toggle")
    for checked, colour in ((False, DARK_BLUE), (True, WHITE)):
        action.doAction(toggle)
        wait_for(lambda: ("Zahl 5 in Feld 2", checked) in checked_events and
                 is_checked(cell) == checked, "the toggle's state change to %s" % checked)
        wait_for(shows(cell, colour), "the number shown as %s" % (colour,))

    # A row button: one event for each of the row's twelve numbers.
    for button, checked in (("Alle Zahlen für Feld 2 verbieten", False),
                            ("Alle Zahlen für Feld 2 erlauben", True)):
        item(button).queryAction().doAction(0)
        row = {("Zahl %d in Feld 2" % number, checked) for number in range(1, 13)}
        wait_for(lambda: row <= set(checked_events), "twelve events from " + button)
    time.sleep(0.3)
    wait_for(lambda: True, "events still queued")
    if len(checked_events) != 26:
        fail("expected 26 state changes, got %s" % checked_events)

    # The keyboard, through X11: from a row's allow-all button into the numbers and out again.
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Hexorin$"], check=True,
                            capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    start = item("Alle Zahlen für Feld 2 erlauben")
    start.queryComponent().grabFocus()
    wait_for(lambda: has_focus(start), "the focus on " + start.name)
    steps = [  # keys, the object that then has the focus, numbers that must then be (un)checked
        ("Left", "Zahl 12 in Feld 2", {}),
        ("Left " * 7, "Zahl 5 in Feld 2", {}),
        ("space", "Zahl 5 in Feld 2", {"Zahl 5 in Feld 2": False}),
        ("Down", "Zahl 5 in Feld 3", {"Zahl 5 in Feld 3": True}),
        ("Up Up Up", "Zahl 5 in Feld 1", {}),
        ("space", "Zahl 5 in Feld 1", {"Zahl 5 in Feld 1": False, "Zahl 5 in Feld 2": False}),
        ("Right " * 8, "Alle Zahlen für Feld 1 erlauben", {}),
        ("Right Right", "Alle Zahlen für Feld 1 verbieten", {}),
        ("Left Left Down", "Zahl 12 in Feld 2", {}),
        ("Tab", "Alle Zahlen für Feld 3 erlauben", {}),
        ("Left shift+Tab", "Alle Zahlen für Feld 2 erlauben", {}),
        ("space", "Alle Zahlen für Feld 2 erlauben", {"Zahl 5 in Feld 2": True}),
        ("Up Left shift+Tab", "Summe äußeres Sechseck", {"Zahl 5 in Feld 1": False}),
    ]
    for keys, focused, states in steps:
        subprocess.run(["xdotool", "key", "--delay", "30"] + keys.split(), check=True)
        wait_for(lambda: has_focus(item(focused)), "the focus on %s after %s" % (focused, keys))
        for name, checked in states.items():
            wait_for(lambda: is_checked(item(name)) == checked,
                     "%s %s after %s" % (name, "checked" if checked else "unchecked", keys))
        if keys == "space" and focused == "Zahl 5 in Feld 2":
            # The focus frame is drawn in the text colour, which reads on the dark blue.
            wait_for(shows(cell, DARK_BLUE), "the forbidden number in dark blue")
            wait_for(shows(cell, WHITE, 1, 8), "the focus frame in white on dark blue")
    wait_for(shows(cell, WHITE, 1, 8), "an allowed number without a focus frame")

    # A menu bar entry lights up under the pointer (after Alt: the window tests).
    entry = item("Startwerte")
    x, y, width, height = entry.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for to, lit in (((x + width // 2, y + height // 2), True), ((1020, 760), False)):
        subprocess.run(["xdotool", "mousemove", str(to[0]), str(to[1])], check=True)
        wait_for(lambda: (pixel(entry, 3, height // 2) == HIGHLIGHT) == lit,
                 "Startwerte %s with the pointer at %s" % ("lit" if lit else "plain", to))

    item("Beenden").queryAction().doAction(0)
    print("ok: toggles, %d state changes, %d key steps" % (len(checked_events), len(steps)))


main()
