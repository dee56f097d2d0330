"""AT-SPI client for accessibility_atspi.sh: reads and toggles grid numbers as a screen reader
would, presses keys through X11, and checks state, focus, events and the pixels on the screen;
then follows full searches as a reader does, edits the star while one runs, replaces the list
again and again, and destroys the open boxes from another X client. With --poll it only waits for
the counter to read 960 and prints the time."""

import ctypes
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


LINES = ((1, 2, 3, 4), (4, 5, 6, 7), (1, 7, 8, 9), (3, 5, 10, 11), (6, 8, 11, 12), (2, 9, 10, 12))
COUNTER, LIST = "Anzahl der Lösungen", "Lösungen"


def text_of(item):
    return item.queryText().getText(0, -1)


def poll():
    """Prints the moment the counter reads 960, on the clock every process shares."""
    counter = [o for o in pyatspi.findAllDescendants(find_program(), lambda o: o.name == COUNTER)]
    print("ready", flush=True)
    while text_of(counter[0]) != "960":
        time.sleep(0.01)
    print(time.monotonic(), flush=True)


def read_as_orca_does(source):
    """What a screen reader reads of an event's source: name, role, states and text."""
    try:
        source.name, source.getRole(), source.getState()
        source.queryText().getText(0, -1)
    except NotImplementedError:
        pass


def check_solutions(list_text):
    """The list holds the 960 magic stars, each once, in the order the search finds them."""
    stars = [tuple(int(cell) for cell in line.split(",")) for line in list_text.split("\n") if line]
    if len(stars) != 960 or stars != sorted(set(stars)):
        fail("expected 960 different stars in order, got %d" % len(stars))
    for star in stars:
        if sorted(star) != list(range(1, 13)) or any(
                sum(star[f - 1] for f in line) != 26 for line in LINES):
            fail("not a magic star: %s" % (star,))


def full_search(item, toggle, during=None):
    """Starts a full search with every number allowed and both check boxes unticked, and runs
    `during` until a separate process has seen the counter at 960; returns the times of start and
    end."""
    for field in range(1, 13):
        item("Alle Zahlen für Feld %d erlauben" % field).queryAction().doAction(0)
    for name in ("Einzellösung", "Einzelschritt"):
        if is_checked(item(name)):
            item(name).queryAction().doAction(toggle)
        wait_for(lambda: not is_checked(item(name)), name + " unticked")
    poller = subprocess.Popen([sys.executable, __file__, "--poll"], stdout=subprocess.PIPE,
                              text=True)
    if poller.stdout.readline().strip() != "ready":
        fail("the poller did not start")
    started = time.monotonic()
    item("Start").queryAction().doAction(0)
    while poller.poll() is None:
        if during:
            during()
        while GLib.MainContext.default().iteration(False):
            pass
        if time.monotonic() - started > 120:
            fail("the full search took more than 120 s")
    return started, float(poller.stdout.read())


def hear_a_full_search(item, toggle):
    """A full search heard by a listener that reads every event's source; returns its length,
    how far the listener was behind at its end, and the events it heard."""
    heard = []

    def listener(event):
        read_as_orca_does(event.source)
        heard.append(time.monotonic())

    kinds = ("object:text-changed", "object:state-changed", "object:property-change", "focus:")
    pyatspi.Registry.registerEventListener(listener, *kinds)
    started, reached = full_search(item, toggle)
    wait_for(lambda: time.monotonic() > max(heard[-1:] + [reached]) + 1, "the events to end", 30)
    pyatspi.Registry.deregisterEventListener(listener, *kinds)
    return reached - started, max(0.0, heard[-1] - reached) if heard else 0.0, len(heard)


def follow_a_full_search(item, toggle):
    """A reader that reads every event's source keeps up with a search at full speed."""
    seconds, behind, events = hear_a_full_search(item, toggle)
    bound = 5 * seconds + 150  # a few a second, and each box once at the end
    print("full search: %.2f s, %d events, listener behind by %.2f s" % (seconds, events, behind))
    if behind > 0.5:
        fail("the listener was %.2f s behind" % behind)
    if events > bound:
        fail("%d events in a %.1f s search, more than %d" % (events, seconds, bound))
    if text_of(item(COUNTER)) != "960":
        fail("the counter reads %r" % text_of(item(COUNTER)))
    check_solutions(text_of(item(LIST)))


def edit_during_a_full_search(item, toggle, program):
    """Edits a reader makes while the search runs land on what the boxes hold; a list replaced
    again and again keeps the program's memory bounded."""
    item("Startwerte").queryAction().doAction(0)
    wait_for(lambda: text_of(item(COUNTER)) == "", "the reset")
    fields = [item("Feld %d" % field).queryEditableText() for field in range(1, 13)]
    # A reader that sets a field's whole text builds on what it read a moment before, which the
    # search may since have replaced.
    edits = {"past the end": lambda box: box.insertText(40, "x", 1),
             "longer than typed": lambda box: box.insertText(40, "y", 4),
             "whole text read and a blank": lambda box: box.setTextContents(
                 box.getText(0, -1) + " ")}
    made = []

    def append_to_a_field():
        kind = list(edits)[len(made) % len(edits)]
        edits[kind](fields[len(made) % 12])
        made.append(kind)

    full_search(item, toggle, append_to_a_field)
    if len(made) < 100:
        fail("only %d edits during the search" % len(made))
    check_solutions(text_of(item(LIST)))
    for field in range(1, 13):
        if text_of(item("Feld %d" % field)).strip("xy "):
            fail("Feld %d holds %r after the search" % (field, text_of(item("Feld %d" % field))))

    def resident_kb():
        with open("/proc/%d/status" % program.get_process_id()) as status:
            return int(next(line for line in status if line.startswith("VmRSS")).split()[1])

    whole_list = text_of(item(LIST))
    replace = item(LIST).queryEditableText()
    before = resident_kb()
    for turn in range(300):
        replace.setTextContents(whole_list if turn % 2 else whole_list.replace(",", ";"))
    grown = (resident_kb() - before) / 1024
    print("%d edits during the search; 300 list replaces grew the program by %.1f MB" %
          (len(made), grown))
    if grown > 20:
        fail("300 replaces of the list grew the program by %.1f MB" % grown)
    if text_of(item(LIST)) != whole_list:
        fail("the list does not hold the last text it was given")


def destroy_window(window):
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    x11.XDestroyWindow(display, ctypes.c_ulong(int(window)))
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


def boxes_destroyed_by_another_client(item, toggle, main_window):
    """A box whose window another X client destroys counts as closed without an answer: the
    message as closed, the question as Nein; the window stays usable."""
    for name in ("Einzellösung", "Einzelschritt"):
        item(name).queryAction().doAction(toggle)
        wait_for(lambda: is_checked(item(name)), name + " ticked")
    item("Start").queryAction().doAction(0)  # on the exhausted search: the message first
    steps = [("Hexorin", lambda: text_of(item(COUNTER)) == "", "the reset after the message"),
             ("Backtracking", lambda: text_of(item(COUNTER)) == "1" and
              not is_checked(item("Einzelschritt")), "Nein: the run to the first solution")]
    def boxes(title):  # xdotool matches names without case, and the leader window is "hexorin"
        shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               capture_output=True, text=True).stdout.split()
        return [window for window in shown if window != main_window]

    for title, then, what in steps:
        wait_for(lambda: boxes(title), "the box titled " + title)
        if len(boxes(title)) != 1:
            fail("expected one box titled %s, found %s" % (title, boxes(title)))
        destroy_window(boxes(title)[0])
        wait_for(then, what + " once the box is destroyed")
    item("Startwerte").queryAction().doAction(0)
    wait_for(lambda: text_of(item(COUNTER)) == "", "Startwerte after the destroyed boxes")


def named_items(program):
    named = {o.name: o for o in pyatspi.findAllDescendants(program, lambda o: bool(o.name))}

    def item(name):
        if name not in named:
            fail("no object named " + name)
        return named[name]

    return item


def main():
    pyatspi.setTimeout(10000, 60000)  # a sanitized build on a busy machine answers slowly
    program = find_program()
    item = named_items(program)

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

    # What a reader takes for the focus and speaks wherever the focus is.
    heard = []
    heard_kinds = ("focus:", "object:text-caret-moved", "object:text-selection-changed",
                   "object:state-changed:showing")
    def hear(event):
        heard.append((event.type, event.source.name))

    pyatspi.Registry.registerEventListener(hear, *heard_kinds)

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
        ("shift+Tab " * 20, "Zahlenvorrat 1", {}),
        ("shift+Tab", "Zahlenvorrat 2", {}),
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
    # A box's selected text comes and goes with the focus: a reader hears the focus first, and
    # no selection of its own. A row button says what it did.
    for box in ("Zahlenvorrat 1", "Zahlenvorrat 2"):
        events = [kind for kind, name in heard if name == box]
        if not events or not events[0].startswith("focus:") or any(
                kind.startswith("object:text-selection-changed") for kind in events):
            fail("%s sent %s" % (box, events))
    if ("object:state-changed:showing", "Alle Zahlen für Feld 2 erlaubt.") not in heard:
        fail("no notification of the row button: %s" % heard[-10:])
    pyatspi.Registry.deregisterEventListener(hear, *heard_kinds)

    # A menu bar entry lights up under the pointer (after Alt: the window tests).
    entry = item("Startwerte")
    x, y, width, height = entry.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for to, lit in (((x + width // 2, y + height // 2), True), ((1020, 760), False)):
        subprocess.run(["xdotool", "mousemove", str(to[0]), str(to[1])], check=True)
        wait_for(lambda: (pixel(entry, 3, height // 2) == HIGHLIGHT) == lit,
                 "Startwerte %s with the pointer at %s" % ("lit" if lit else "plain", to))

    follow_a_full_search(item, toggle)
    edit_during_a_full_search(item, toggle, program)
    boxes_destroyed_by_another_client(item, toggle, window)
    item("Beenden").queryAction().doAction(0)
    print("ok: toggles, %d state changes, %d key steps" % (len(checked_events), len(steps)))


if sys.argv[1:] == ["--poll"]:
    poll()
else:
    main()
