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
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_orca  # noqa: E402
from check_atspi import (encipher, find_application, program_and_launcher,  # noqa: E402
                         program_environment, pyatspi, report_failures, set_text, start_desktop,
                         stop_processes,
                         wait_for_text, window_boxes)
from check_orca import check_alert, find_window, key, orca_home, start_orca  # noqa: E402

ADDRESS_SPACE = 1_500_000 * 1024  # bytes, as ulimit -v 1500000 counts in KiB
BIG_TEXT_BYTES = 300_000_000
TYPED = "keep this text"
MULTIPLIER = 3
PROSE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cipher", "data",
                     "english_prose.txt")
# A paste of 300 MB goes through the X server a piece at a time before it is refused.
check_orca.WAIT_SECONDS = 60


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
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        targets = subprocess.run(["xclip", "-o", "-selection", selection, "-t", "TARGETS"],
                                 capture_output=True, text=True, check=False, timeout=10)
        if "UTF8_STRING" in targets.stdout:
            return
        time.sleep(0.2)
    raise AssertionError(f"xclip never offered the text as the {selection} selection")


def paste_with_keys(box, big, processes, output):
    key("ctrl+v")  # the clipboard was offered before Orca started


def paste_with_middle_button(box, big, processes, output):
    offer("primary", big, processes, output)
    x, y = centre(box["input"])
    xdotool("mousemove", str(x), str(y))
    xdotool("click", "2")


def drop_from_another_program(box, big, processes, output, drag_source):
    source = subprocess.Popen([sys.executable, drag_source, big], stdout=subprocess.PIPE,
                              stderr=output, text=True)
    processes.append(source)
    if source.stdout.readline().strip() != "ready":
        raise AssertionError("the drag source did not start")
    deadline = time.monotonic() + 10
    window = ""
    while not window and time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Drag source$"],
                               capture_output=True, text=True, check=False)
        window = found.stdout.split()[0] if found.stdout.split() else ""
        time.sleep(0.1)
    if not window:
        raise AssertionError("the drag source's window never appeared")
    xdotool("windowmove", "--sync", window, "800", "560")
    time.sleep(0.5)
    to_x, to_y = centre(box["input"])
    from_x, from_y = 880, 620
    steps = [["mousemove", str(from_x), str(from_y)], ["mousedown", "1"]]
    steps += [["mousemove", str(from_x + (to_x - from_x) * k // 10),
               str(from_y + (to_y - from_y) * k // 10)] for k in range(1, 11)]
    steps += [["mousemove", str(to_x + 2), str(to_y)], ["mouseup", "1"]]
    for step in steps:
        xdotool(*step)
        time.sleep(0.15)


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
    key("Return")
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


def run_checks(program, box, log, big, drag_source, processes, output, failures):
    set_text("multiplier box", box["multiplier"], str(MULTIPLIER))
    subprocess.run(["xdotool", "type", "--delay", "40", TYPED], check=True)
    check_boxes(box, program, TYPED, "after typing", failures)
    check_refusal(paste_with_keys, "a paste of 300 MB with Ctrl+V", "The pasted text", box,
                  program, log, failures, big, processes, output)
    check_refusal(paste_with_middle_button, "a paste of 300 MB with the middle button",
                  "The selection pasted with the middle button", box, program, log, failures,
                  big, processes, output)
    check_refusal(drop_from_another_program, "a drop of 300 MB from another program",
                  "The dropped text", box, program, log, failures, big, processes, output,
                  drag_source)
    # The refusals left no step to undo: Ctrl+Z takes back the last Backspace, and Ctrl+Shift+Z
    # makes it again.
    key("ctrl+z")
    check_boxes(box, program, TYPED + "!", "Ctrl+Z after the refusals", failures)
    key("ctrl+shift+z")
    check_boxes(box, program, TYPED, "Ctrl+Shift+Z after the refusals", failures)


def main():
    program_path, launcher = program_and_launcher("check_out_of_memory.py")
    drag_source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "drag_source.py")
    processes = []
    failures = []
    scratch = tempfile.TemporaryDirectory(prefix="korvane-oom-")
    output = open(os.path.join(scratch.name, "processes.log"), "wb")
    orca_log_path = os.environ.get("KORVANE_ORCA_LOG") or os.path.join(scratch.name, "orca.log")
    big = os.path.join(scratch.name, "big.txt")
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
        try:
            window = find_window(program)
            log.wait_for(lambda u: u.startswith("Enter Original text:"), "the input box at start")
            application = find_application(program.pid, program)
            box = window_boxes(application)
            box["window"] = window
            run_checks(program, box, log, big, drag_source, processes, output, failures)
        except (AssertionError, subprocess.SubprocessError) as error:
            failures.append(str(error))
    finally:
        states = stop_processes(processes)
    if report_failures(states, failures, output, "the program and the tools", tail=3000):
        return 1
    print("PASS: in 1.5 GB of address space, 300 MB pasted with Ctrl+V, pasted with the middle "
          "button and dropped from another program were each refused with one 'Out of memory' "
          "report that Orca read once as an alert; the boxes kept the typed text and its "
          "transform, the next key was typed, and undo and redo took back and made the last key")
    return 0


if __name__ == "__main__":
    sys.exit(main())
