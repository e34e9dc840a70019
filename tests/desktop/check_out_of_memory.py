#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Runs Korvane in an address space of 1.5 GB, as `ulimit -v 1500000` gives it, and brings it a
text of 300 MB that it cannot hold twice over: pasted with Ctrl+V from another program's
clipboard (xclip), pasted with the middle button from the primary selection, and dropped from
another program's window. Each is refused whole: the program keeps running, the input box holds
exactly the text typed before, the output box its transform, Orca reads the one "Out of memory"
report once as an alert, and the next keystroke is typed as usual. The undo history is the one
the keys made: Ctrl+Z takes back the last Backspace, and Ctrl+Shift+Z makes it again.

Run inside a D-Bus session of its own (check_out_of_memory.sh does that), with the program and
the accessibility bus launcher as arguments; drag_source.py beside it is the other program. Exits 0 when all holds, 1
on a failure and 77 when a tool it needs cannot be brought up here.
"""

import os
import re
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_orca  # noqa: E402
from check_atspi import (encipher, failure_of, find_application,  # noqa: E402
                         program_and_launcher, program_environment, pyatspi, report_failures,
                         set_text, start_desktop, stop_processes, wait_for_text, window_boxes)
from check_orca import find_window, key, orca_home, start_orca  # noqa: E402

ADDRESS_SPACE = 1_500_000 * 1024  # bytes, as ulimit -v 1500000 counts in KiB
BIG_TEXT_BYTES = 300_000_000
TYPED = "keep this text"
MULTIPLIER = 3
PROSE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cipher", "data",
                     "english_prose.txt")
DRAG_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "drag_source.py")
# A paste of 300 MB goes through the X server a piece at a time before it is refused, and a
# machine's first start of GTK, Orca and their caches is slow. Every wait ends as soon as what it
# waits for comes: this only bounds the wait for what never does.
check_orca.WAIT_SECONDS = 120


def wait_for_other_orcas(seconds=300):
    """Orca ends at once when another Orca of the same user runs, as another check's may: waits
    until none does."""
    deadline = time.monotonic() + seconds
    while subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                         capture_output=True, check=False).returncode == 0:
        if time.monotonic() > deadline:
            raise AssertionError("another Orca of this user kept running")
        time.sleep(1)


def write_big_text(path):
    """Writes prose, repeated, to exactly BIG_TEXT_BYTES bytes."""
    with open(PROSE, "rb") as file:
        prose = file.read()
    block = prose * (4 * 1024 * 1024 // len(prose) + 1)
    with open(path, "wb") as file:
        left = BIG_TEXT_BYTES
        while left > 0:
            piece = block[:left]
            file.write(piece)
            left -= len(piece)


def centre(box):
    x, y, width, height = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return x + width // 2, y + height // 2


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=check_orca.WAIT_SECONDS)


def offer(selection, big, processes, output):
    """Has xclip, another program, offer the file's text as the selection, and waits until it
    does: it reads the whole file first."""
    processes.append(subprocess.Popen(["xclip", "-quiet", "-selection", selection, "-i", big],
                                      stdout=output, stderr=output))
    deadline = time.monotonic() + check_orca.WAIT_SECONDS
    while time.monotonic() < deadline:
        targets = subprocess.run(["xclip", "-o", "-selection", selection, "-t", "TARGETS"],
                                 capture_output=True, text=True, check=False, timeout=10)
        if "UTF8_STRING" in targets.stdout:
            return
        time.sleep(0.2)
    raise AssertionError(f"xclip never offered the text as the {selection} selection")


class DragSource:
    """drag_source.py, the other program, with the lines it says, as they come, of how far its
    drag has come."""

    def __init__(self, program, big, processes, output):
        self.process = subprocess.Popen([sys.executable, program, big], stdout=subprocess.PIPE,
                                        stderr=output, text=True)
        processes.append(self.process)
        self.lines = []
        self.ended = False
        self.said = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            with self.said:
                self.lines.append(line.strip())
                self.said.notify_all()
        with self.said:
            self.ended = True
            self.said.notify_all()

    def wait_for(self, word, what, poke=None):
        """The first line whose first word is the word, once the source has said it. While it has
        not, `poke`, if given, runs every fifth of a second: a move of the pointer, which GTK
        answers with the next step."""
        deadline = time.monotonic() + check_orca.WAIT_SECONDS
        while True:
            with self.said:
                found = next((line for line in self.lines if line.split()[:1] == [word]), None)
                ended = self.ended
            if found:
                return found
            if ended or time.monotonic() > deadline:
                raise AssertionError(f"{what}: the drag source never said {word!r}" +
                                     (" and ended" if ended else ""))
            if poke:
                poke()
            with self.said:
                self.said.wait(0.2)

    def report(self):
        with self.said:
            return "\n".join(self.lines) or "(nothing)"


def paste_with_keys(box, big, processes, output, sources):
    key("ctrl+v")  # the clipboard was offered before Orca started


def paste_with_middle_button(box, big, processes, output, sources):
    offer("primary", big, processes, output)
    x, y = centre(box["input"])
    xdotool("mousemove", str(x), str(y))
    xdotool("click", "2")


def window_centre(window):
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True,
        check=True, timeout=check_orca.WAIT_SECONDS).stdout.split())
    return (int(geometry["X"]) + int(geometry["WIDTH"]) // 2,
            int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2)


def drop_from_another_program(box, big, processes, output, sources):
    """Drags the text from the other program's window onto the input box and drops it there,
    going on at each step once GTK has said it took the one before: its window mapped, the
    button pressed on it, the drag begun, and the input box's answer that it takes the text."""
    source = DragSource(DRAG_SOURCE, big, processes, output)
    sources.append(source)
    window = source.wait_for("ready", "the drag source's window").split()[1]
    xdotool("windowmove", "--sync", window, "800", "560")
    from_x, from_y = window_centre(window)
    to_x, to_y = centre(box["input"])
    xdotool("mousemove", "--sync", str(from_x), str(from_y))
    xdotool("mousedown", "1")
    source.wait_for("pressed", "the button pressed on the drag source")
    # The drag begins once the pointer has gone past GTK's threshold with the button down: the
    # pointer goes on towards the input box, a tenth of the way at each poke, and then stays
    # there, a pixel to and fro, so that each poke is a move the input box answers.
    moves = [0]

    def towards_input():
        moves[0] += 1
        share = min(moves[0], 10)
        xdotool("mousemove", str(from_x + (to_x - from_x) * share // 10 + moves[0] % 2),
                str(from_y + (to_y - from_y) * share // 10))

    source.wait_for("dragging", "the drag from the other program", towards_input)
    while moves[0] < 10:
        towards_input()
    source.wait_for("accepted", "the input box taking the dragged text", towards_input)
    xdotool("mouseup", "1")


def close_report(box, program):
    """Presses Enter in the report box, made the active window first: a drop leaves the other
    program's window active, whose keys would not reach it. Waits until the box is gone."""
    def report_boxes():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid),
                                "--name", "^Korvane$"], capture_output=True, text=True,
                               check=False, timeout=check_orca.WAIT_SECONDS)
        return [window for window in found.stdout.split() if window != box["window"]]

    deadline = time.monotonic() + check_orca.WAIT_SECONDS
    while not report_boxes():
        if time.monotonic() > deadline:
            raise AssertionError("the report box's window never appeared")
        time.sleep(0.1)
    report = report_boxes()[0]
    xdotool("windowactivate", "--sync", report)
    key("Return")
    while report in report_boxes():
        if time.monotonic() > deadline:
            raise AssertionError("Enter did not close the report box")
        time.sleep(0.1)


def check_boxes(box, program, expected, when, failures):
    """The program still runs, the input box holds the expected text and the output box its
    transform."""
    if program.poll() is not None:
        raise AssertionError(f"{when}: the program ended with code {program.returncode}")
    got = wait_for_text("input box", box["input"], expected)
    if got != expected:
        failures.append(f"{when}: the input box reads {got!r}, not {expected!r}")
    transformed = encipher(expected, 0, MULTIPLIER)
    got = wait_for_text("output box", box["output"], transformed)
    if got != transformed:
        failures.append(f"{when}: the output box reads {got!r}, not {transformed!r}")


def check_refusal(bring, what, sentence, box, program, log, failures, *arguments):
    log.settle(0.5)
    started = time.monotonic()
    bring(box, *arguments)
    said = log.wait_for(lambda u: "Out of memory" in u, what, settle=1.5)
    print(f"{what}: refused after {time.monotonic() - started:.1f} s; Orca said {said!r}")
    if sum("Out of memory" in u for u in said) != 1:
        failures.append(f"{what}: 'Out of memory' is spoken {len(said)} times: {said!r}")
    if not any("alert" in u.lower() for u in said):
        failures.append(f"{what}: the report is not announced as an alert: {said!r}")
    # The size is told when the program could see it: Qt fetches another program's text whole,
    # and a fetch that fails for want of memory leaves it unknown.
    if not any(re.search(sentence + r"(, 30\d MB,)? does not fit in memory; the box keeps its "
                         r"text\.", u) for u in said):
        failures.append(f"{what}: the report does not say what was refused: {said!r}")
    close_report(box, program)
    # A drop leaves the other program's window active: the user comes back to the program's.
    xdotool("windowactivate", "--sync", box["window"])
    log.wait_for(lambda u: "Enter Original text:" in u or "keep" in u,
                 f"{what}: focus back in the input box", settle=0.5)
    check_boxes(box, program, TYPED, f"after {what}", failures)
    # The next keystroke is typed, and followed by the output.
    key("End")
    key("exclam")
    check_boxes(box, program, TYPED + "!", f"the key after {what}", failures)
    key("BackSpace")
    check_boxes(box, program, TYPED, f"Backspace after {what}", failures)


def run_checks(program, box, log, big, sources, processes, output, failures):
    set_text("multiplier box", box["multiplier"], str(MULTIPLIER))
    subprocess.run(["xdotool", "type", "--delay", "40", TYPED], check=True)
    check_boxes(box, program, TYPED, "after typing", failures)
    check_refusal(paste_with_keys, "a paste of 300 MB with Ctrl+V", "The pasted text", box,
                  program, log, failures, big, processes, output, sources)
    check_refusal(paste_with_middle_button, "a paste of 300 MB with the middle button",
                  "The selection pasted with the middle button", box, program, log, failures,
                  big, processes, output, sources)
    check_refusal(drop_from_another_program, "a drop of 300 MB from another program",
                  "The dropped text", box, program, log, failures, big, processes, output,
                  sources)
    # The refusals left no step to undo: Ctrl+Z takes back the last Backspace, and Ctrl+Shift+Z
    # makes it again.
    key("ctrl+z")
    check_boxes(box, program, TYPED + "!", "Ctrl+Z after the refusals", failures)
    key("ctrl+shift+z")
    check_boxes(box, program, TYPED, "Ctrl+Shift+Z after the refusals", failures)


def main():
    program_path, launcher = program_and_launcher("check_out_of_memory.py")
    sources = []  # the drag sources started, for the report
    processes = []
    failures = []
    scratch = tempfile.TemporaryDirectory(prefix="korvane-oom-")
    output = open(os.path.join(scratch.name, "processes.log"), "wb")
    orca_log_path = os.environ.get("KORVANE_ORCA_LOG") or os.path.join(scratch.name, "orca.log")
    big = os.path.join(scratch.name, "big.txt")
    log = None
    try:
        write_big_text(big)
        home, prefs = orca_home(scratch.name)
        os.environ.update(home)
        start_desktop(launcher, processes, output, window_manager=True)
        # Orca reads the clipboard whenever its owner changes, and xclip serves one reader at a
        # time: the clipboard is offered before Orca starts, so that the program is its reader.
        offer("clipboard", big, processes, output)
        pyatspi.setTimeout(1000, 1000)
        wait_for_other_orcas()
        log = start_orca(orca_log_path, prefs, processes, output)
        # prlimit sets the limit and becomes the program, whose process id it keeps.
        program = subprocess.Popen(["prlimit", f"--as={ADDRESS_SPACE}", program_path],
                                   env=program_environment(), stdout=output, stderr=output)
        processes.append(program)
        window = find_window(program)
        log.wait_for(lambda u: u.startswith("Enter Original text:"), "the input box at start")
        application = find_application(program.pid, program)
        box = window_boxes(application)
        box["window"] = window
        run_checks(program, box, log, big, sources, processes, output, failures)
    except Exception as error:  # noqa: BLE001 (every failure is reported with the output)
        failures.append(failure_of(error))
    finally:
        states = stop_processes(processes)
    more = [("What Orca said last", log.last_said())] if log else []
    more += [("What the drag source said", source.report()) for source in sources]
    if report_failures(states, failures, output, "the program and the tools", 3000, more):
        return 1
    print("PASS: in 1.5 GB of address space, 300 MB pasted with Ctrl+V, pasted with the middle "
          "button and dropped from another program were each refused with one 'Out of memory' "
          "report that Orca read once as an alert; the boxes kept the typed text and its "
          "transform, the next key was typed, and undo and redo took back and made the last key")
    return 0


if __name__ == "__main__":
    sys.exit(main())
