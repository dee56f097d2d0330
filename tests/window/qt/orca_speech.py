"""Driver for orca_speech.sh: starts the program under a running Orca, presses real keys through
xdotool, and checks what Orca said at each step against PHRASES. Every step's transcript is
printed. Arguments: the steps to run (default: all, in order; a later step runs the ones before
it as well) or --benchmark (one full search under Orca, in one line)."""

import os
import subprocess
import sys
import time

import pyatspi
from orca import orca_platform
from gi.repository import GLib

# What Orca must say at each step: substrings of all it said from the step's first key until it
# fell silent, blanks collapsed ("!" before one: must not be said); None prints the step without
# checking it. Orca's own words (role names) differ between its versions and translations and are
# left out. Where the focus comes back from a box or the menu, Orca 43 now and then misses it and
# then says nothing of it: that is not checked.
PHRASES = {
    "open": ["Hexorin", "Feld 12", "Zeile", "Aktuelles Feld über das"],
    "tab to a star field": ["Stern", "Feld 12", "Feld Nr. 12", "!nicht mehr ausgewählt"],
    # Tab selects a box's text, which Orca tells as part of the box.
    "back to a pool box": ["Zahlenvorrat 1", "dient der Illustration", "!nicht mehr ausgewählt"],
    "start with single step": ["Backtracking", "Jede Schleife zeigen", "Ja"],
    "Ja: one step": ["1 in Feld 1 gesetzt."],
    "Nein: on to the first solution": [
        "Einzelschritt aus.", "Suche angehalten bei Lösung 1. 1, 2, 11, 12, 3, 5, 6, 10, 9, 8, 4, 7."],
    "untick Einzellösung": ["nicht ausgewählt"],
    "on to the end": ["Suche läuft,", "Suche beendet, alle Möglichkeiten geprüft, 960 Lösungen."],
    "Startwerte": ["Startwerte gesetzt."],
}
# Orca 48 (Debian 13) reads a text box's description only when asked ("where am I"), not when the
# box takes the focus.
ONLY_ORCA_43 = {"Feld Nr. 12", "dient der Illustration"}
# Read from Orca's files: a second "orca" process, even one asked only for its version, makes
# Orca 48 refuse to start as another screen reader of the session.
ORCA_VERSION = int(orca_platform.version.split(".")[0])
QUIET = 1.0  # seconds without speech that end a step
IDLE = 0.5  # seconds in which the rig's processes must not have worked
LAST_UTTERANCE_BOUND = 1.0  # seconds after the run's end that Orca may still speak
COUNTER = "Anzahl der Lösungen"
POLLER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "accessibility_atspi.py")


started = []  # the program's process, ended on a failure


def fail(message):
    print("FAIL:", message, flush=True)
    for process in started:
        process.kill()
    sys.exit(1)


def pump():
    while GLib.MainContext.default().iteration(False):
        pass


def wait_for(condition, what, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pump()
        if condition():
            return
        time.sleep(0.02)
    fail("timed out waiting for " + what)


def transcript():
    """What Orca said so far: (wall-clock time, text) for each utterance."""
    with open(os.environ["HEXORIN_TRANSCRIPT"], encoding="utf-8", errors="replace") as spoken:
        lines = [line.rstrip("\n").split(" ", 1) for line in spoken if " " in line]
    return [(float(stamp), text.strip()) for stamp, text in lines]


def rig_activity():
    """CPU ticks used so far by the rig's processes (the X server, the buses, Orca,
    speech-dispatcher, the program: this process group but the driver), and whether one of them
    is running or waiting for a processor."""
    group, me, ticks, running = os.getpgid(0), os.getpid(), 0, False
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == me:
            continue
        try:
            with open("/proc/%s/stat" % entry) as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[2]) == group:
            ticks += int(fields[11]) + int(fields[12])
            running = running or fields[0] == "R"
    return ticks, running


def until_silent(since, seconds=60, quiet=QUIET):
    """Waits until Orca has said nothing for `quiet` seconds and the rig's processes have done
    nothing for IDLE seconds (on a busy machine they wait for a processor: the step then takes
    longer, and is not cut short); returns what Orca said since `since`."""
    deadline = time.time() + seconds
    samples = []  # (time, CPU ticks, running)
    while time.time() < deadline:
        pump()
        said = transcript()
        now = time.time()
        samples = [sample for sample in samples if now - sample[0] <= IDLE]
        samples.append((now,) + rig_activity())
        idle = now - samples[0][0] >= IDLE * 0.8 and samples[-1][1] - samples[0][1] <= 2 and \
            not any(running for _, _, running in samples)
        last = said[-1][0] if said else 0
        if idle and now - max(last, since) >= quiet:
            return [(stamp, text) for stamp, text in said if stamp >= since]
        time.sleep(0.05)
    fail("Orca did not fall silent within %d s" % seconds)


def key(*keys):
    """Presses keys as a hand does: held a tenth of a second. (A bare Alt tapped faster is lost
    while Orca answers Qt's key events late.)"""
    for name in keys:
        subprocess.run(["xdotool", "keydown", name, "sleep", "0.1", "keyup", name, "sleep", "0.05"],
                       check=True)


def boxes(title):
    """The X windows of the open boxes with this title."""
    return set(subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                              capture_output=True, text=True).stdout.split())


class Program:
    """The program under Orca: its objects by name, and where the focus is."""

    def __init__(self):
        # Nothing of the test's own set-up reaches the program, nor any Qt setting (ctest's
        # offscreen platform, accessibility forced on): it starts as from a desktop.
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("HEXORIN_", "QT_")) and k != "SPEECHD_ADDRESS"}
        self.errors = os.path.join(os.environ["HEXORIN_WORK"], "program.err")
        with open(self.errors, "w") as errors:
            self.process = subprocess.Popen([os.environ["HEXORIN_PROGRAM"]], env=env,
                                            stderr=errors)
        started.append(self.process)
        self.focused = ""
        pyatspi.Registry.registerEventListener(self._focus, "object:state-changed:focused")
        found = []

        def look():
            found[:] = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "hexorin"]
            return found

        wait_for(look, "the program on the accessibility bus", 60)
        self.named = {}
        wait_for(lambda: self._collect(found[0]), "the program's objects", 60)

    def _collect(self, app):
        self.named = {o.name: o for o in pyatspi.findAllDescendants(app, lambda o: bool(o.name))}
        return COUNTER in self.named and "Start" in self.named

    def _focus(self, event):
        if event.detail1:
            self.focused = event.source.name

    def __getitem__(self, name):
        if name not in self.named:
            fail("no object named " + name)
        return self.named[name]

    def text(self, name):
        return self[name].queryText().getText(0, -1)

    def checked(self, name):
        return self[name].getState().contains(pyatspi.STATE_CHECKED)

    def focus(self, name):
        """Puts the focus on an object between steps, and waits until Orca has read it."""
        since = time.time()
        self[name].queryComponent().grabFocus()
        wait_for(lambda: self[name].getState().contains(pyatspi.STATE_FOCUSED), "focus on " + name)
        wait_for(lambda: any(text.startswith(name) for stamp, text in transcript() if stamp >= since),
                 "Orca to read " + name)
        until_silent(since)


def open_program(_):
    program = Program()
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Hexorin$",
                    "windowactivate", "--sync"], check=True, timeout=30, capture_output=True)
    first = "Feld 12 (Zeile)"
    wait_for(lambda: program[first].getState().contains(pyatspi.STATE_FOCUSED), "the first focus")
    program.focused = first
    return program


def tab_to_a_star_field(program):
    """Tab until the focus reaches a star field; the step is that last Tab."""
    for _ in range(40):
        before, since = program.focused, time.time()
        key("Tab")
        wait_for(lambda: program.focused != before, "the focus to move on Tab")
        if program.focused.startswith("Feld ") and program.focused[5:].isdigit():
            return since
        until_silent(since, quiet=0.3)
    fail("40 Tabs reached no star field")


def back_to_a_pool_box(program):
    """Shift+Tab from the star field to the pool box before it, which holds its number."""
    since = time.time()
    key("shift+Tab")
    wait_for(lambda: program.focused == "Zahlenvorrat 1", "the focus on Zahlenvorrat 1")
    return since


def start_with_single_step(program):
    if not program.checked("Einzelschritt"):
        fail("Einzelschritt is not ticked at the start")
    program.focus("Start")
    since = time.time()
    key("space")
    wait_for(lambda: boxes("Backtracking"), "the question box")
    return since


def yes_one_step(program):
    asked, since = boxes("Backtracking"), time.time()
    key("Return")
    wait_for(lambda: boxes("Backtracking") - asked, "the next question")
    return since


def no_on_to_the_first_solution(program):
    since = time.time()
    key("Escape")
    wait_for(lambda: program.text(COUNTER) == "1", "the first solution")
    return since


def untick_single_solution(program):
    program.focus("Einzellösung")
    since = time.time()
    key("space")
    wait_for(lambda: not program.checked("Einzellösung"), "Einzellösung unticked")
    return since


def last_words(said, since):
    return said[-1][0] if said else since


def on_to_the_end(program):
    """Start on to the end; returns the time of the key and prints how long after the counter
    reached 960 Orca spoke last."""
    program.focus("Start")
    poller = subprocess.Popen([sys.executable, POLLER, "--poll"], stdout=subprocess.PIPE, text=True)
    if poller.stdout.readline().strip() != "ready":
        fail("the poller did not start")
    since = time.time()
    key("space")
    while poller.poll() is None:
        pump()
        time.sleep(0.05)
        if time.time() - since > 180:
            fail("the run took more than 180 s")
    # The poller's clock is the monotonic one; the transcript's is the wall clock.
    program.ended = float(poller.stdout.read()) - time.monotonic() + time.time()
    return since


def startwerte_from_the_menu(program):
    since = time.time()
    key("alt")
    wait_for(lambda: program.focused == "Startwerte", "the menu bar")
    key("Return")
    wait_for(lambda: program.text(COUNTER) == "", "Startwerte")
    return since


STEPS = [  # name, what it does; each step starts where the one before left the program
    ("open", open_program),
    ("tab to a star field", tab_to_a_star_field),
    ("back to a pool box", back_to_a_pool_box),
    ("start with single step", start_with_single_step),
    ("Ja: one step", yes_one_step),
    ("Nein: on to the first solution", no_on_to_the_first_solution),
    ("untick Einzellösung", untick_single_solution),
    ("on to the end", on_to_the_end),
    ("Startwerte", startwerte_from_the_menu),
]


def wait_for_orca():
    wait_for(lambda: transcript(), "Orca's first words", 180)
    until_silent(0)


def quit_program(program):
    program["Beenden"].queryAction().doAction(0)
    try:
        status = program.process.wait(30)
    except subprocess.TimeoutExpired:
        program.process.kill()
        status = "none: it did not end on Beenden"
    # Qt's complaint when Orca took longer than 0.1 s to pass a key on is counted, the rest shown.
    with open(program.errors, errors="replace") as errors:
        lines = errors.read().splitlines()
    late = [line for line in lines if "QSpiApplication::keyEventError" in line]
    sys.stderr.write("".join(line + "\n" for line in lines if line not in late))
    print("keys Orca passed on late: %d" % len(late))
    if status != 0:
        fail("the program's exit status: %s" % status)


FLOOD_MARKS = {  # what Orca's debug log says when it leaves events out
    "events pruned": "pruned in a flood",
    "Ignoring event type due to deluge": "ignored in a deluge",
    "Not processing this event due to flood": "skipped in a flood",
}


def orca_overflows(began, ended):
    """How many events Orca left out between two moments, by reason, from its debug log."""
    day = time.mktime(time.localtime(began)[:3] + (0, 0, 0, 0, 0, -1))
    counts = {}
    with open(os.environ["HEXORIN_ORCA_LOG"], errors="replace") as log:
        for line in log:
            mark = next((m for m in FLOOD_MARKS if m in line), None)
            if not mark or line[2:3] != ":":
                continue
            clock = line.split(" ", 1)[0].split(":")
            moment = day + int(clock[0]) * 3600 + int(clock[1]) * 60 + float(clock[2])
            if began <= moment <= ended:
                pruned = int(line.split("MANAGER: ")[1].split()[0]) if mark == "events pruned" else 1
                counts[FLOOD_MARKS[mark]] = counts.get(FLOOD_MARKS[mark], 0) + pruned
    return counts


def run(wanted):
    wait_for_orca()
    last = max(i for i, (name, _) in enumerate(STEPS) if not wanted or name in wanted)
    program, failures, spans = None, [], []
    for name, step in STEPS[:last + 1]:
        began = time.time()
        if name == "open":
            program = step(None)
            since = began
        else:
            since = step(program)
        said = until_silent(since)
        spans.append((name, began, time.time()))
        print("== %s (%.1f s)" % (name, time.time() - began))
        for stamp, text in said:
            print("  %+7.2f  %s" % (stamp - since, text))
        if name == "on to the end":
            after = last_words(said, since) - program.ended  # negative: nothing after the end
            print("  run %.2f s; Orca's last utterance %+.2f s from the counter reading 960" %
                  (program.ended - since, after))
            if after > LAST_UTTERANCE_BOUND:
                failures.append("%s: Orca spoke until %.1f s after the end" % (name, after))
        expected = PHRASES[name]
        if expected is None:
            print("  (not checked)")
            continue
        heard = " ".join(" ".join(text for _, text in said).split())
        if ORCA_VERSION != 43:
            expected = [phrase for phrase in expected if phrase not in ONLY_ORCA_43]
        failures += ["%s: Orca did not say %r" % (name, phrase)
                     for phrase in expected if not phrase.startswith("!") and phrase not in heard]
        failures += ["%s: Orca said %r" % (name, phrase[1:])
                     for phrase in expected if phrase.startswith("!") and phrase[1:] in heard]
    quit_program(program)
    for name, began, ended in spans:  # Orca writes its log in blocks: read once it is done
        overflows = orca_overflows(began, ended)
        if overflows:
            print("Orca's queue overflowed in %r: %s" % (name, ", ".join(
                "%d events %s" % (count, reason) for reason, count in overflows.items())))
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("ok: %d steps" % (last + 1))


def benchmark():
    """One full search under Orca: its length, and how long after its end Orca spoke last."""
    wait_for_orca()
    program = open_program(None)
    for name in ("Einzelschritt", "Einzellösung"):
        program[name].queryAction().doAction(0)
        wait_for(lambda: not program.checked(name), name + " unticked")
    since = on_to_the_end(program)
    said = until_silent(since)
    after = last_words(said, since) - program.ended
    print("heard %.3f %.3f %d" % (program.ended - since, after, len(said)), flush=True)
    quit_program(program)


pyatspi.setTimeout(10000, 60000)
if sys.argv[1:] == ["--benchmark"]:
    benchmark()
else:
    unknown = [name for name in sys.argv[1:] if name not in PHRASES]
    if unknown:
        fail("unknown steps %s; the steps are %s" % (unknown, list(PHRASES)))
    run(sys.argv[1:])
