#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Edits Korvane's input box as a user on an X11 desktop does: through the two input method
frameworks of Linux desktops, IBus and Fcitx 5, and with the mouse, dragging a selection within
the box.

Run inside a D-Bus session of its own with a home of its own (check_x11_input.sh does that).
Starts an X server, a window manager and the accessibility bus; then, for each framework, its
daemon with m17n's Latin postfix method and the program with Qt's module for it. Types and drags
with xdotool, through the X server, and reads both big boxes over the AT-SPI bus.
- The postfix method composes each letter until the next key: the letter is pre-edit text,
  shown at the caret, and the next key commits it, or turns it into an accented letter (e, then
  an apostrophe, gives é, committed by the next key). A letter still being composed is not in
  the text, so the output does not show it; the accent and a space commit one é; the output
  follows every commit.
- A selection dragged to the end of the text moves there, through the X server's drag and drop,
  and one Ctrl+Z takes the move back.
Exits 0 when all holds, 1 on a failure and 77 when a framework or a tool the check needs cannot
be brought up here.
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_atspi import (Hang, Refused, find_application,  # noqa: E402
                         program_and_launcher, program_environment, report_failures, set_text, skip,
                         start_desktop, stop_processes, wait_for_bus_name, wait_for_text,
                         window_boxes)
import pyatspi  # noqa: E402

WAIT_SECONDS = 10  # how long a framework may take to start, and a typed key to arrive
# Fcitx 5's list of input methods: the keyboard and the postfix method, which is the default.
FCITX_PROFILE = """[Groups/0]
Name=Default
Default Layout=us
DefaultIM=m17n_t_latn-post

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=m17n_t_latn-post
Layout=

[GroupOrder]
0=Default
"""


def output_of(command):
    return subprocess.run(command, capture_output=True, text=True, check=False).stdout.strip()


def wait_until(predicate):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.2)
    return False


class IBus:
    name = "IBus"
    module = "ibus"
    method = "m17n:t:latn-post"

    def start(self, processes, log):
        processes.append(subprocess.Popen(
            ["ibus-daemon", "--replace", "--panel=disable", "--emoji-extension=disable"],
            stdout=log, stderr=log))
        # Setting an engine may report a failure that did not happen: it is read back.
        if not wait_until(lambda: self.activate(log)):
            skip(f"IBus did not start with {self.method}")

    def activate(self, log):
        subprocess.run(["ibus", "engine", self.method], stdout=log, stderr=log, check=False)
        return output_of(["ibus", "engine"]) == self.method


class Fcitx:
    name = "Fcitx 5"
    module = "fcitx"
    method = "m17n_t_latn-post"

    def start(self, processes, log):
        config = os.path.join(os.environ["XDG_CONFIG_HOME"], "fcitx5")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "profile"), "w") as profile:
            profile.write(FCITX_PROFILE)
        processes.append(subprocess.Popen(["fcitx5", "--replace"], stdout=log, stderr=log))
        # Until it owns its name, fcitx5-remote would have the bus start a second daemon.
        if not wait_for_bus_name("org.fcitx.Fcitx5", WAIT_SECONDS):
            skip("Fcitx 5 did not start")

    def activate(self, log):
        # Turns the input method on for the focused box, which starts with the keyboard.
        subprocess.run(["fcitx5-remote", "-o"], stdout=log, stderr=log, check=False)
        return output_of(["fcitx5-remote", "-n"]) == self.method


def type_and_read(steps, box, when, failures):
    """Types the keys of the steps one at a time, each once the input box holds what the keys
    before it committed: an input method that falls behind a queue of keys may let one through
    uncomposed, ahead of what it still composes. Then reads both big boxes: the input box once it
    holds the last step's text and still does a moment later, the output box once it shows that
    text in capitals."""
    for key, committed in steps:
        subprocess.run(["xdotool", "type", key], check=True)
        wait_for_text("input box", box["input"], committed)
    expected = steps[-1][1]
    for name, text in (("input", expected), ("output", expected.upper())):
        got = wait_for_text(f"{name} box", box[name], text)
        if got == text and name == "input":
            time.sleep(0.5)
            got = box[name].queryText().getText(0, -1)
        if got != text:
            failures.append(f"{when} the {name} box read {got!r}, not {text!r}")


def check_input_method(framework, box, log, failures):
    # The input box has the focus from the start; the method is chosen for its context.
    if not wait_until(lambda: framework.activate(log)):
        raise AssertionError(f"{framework.name} did not switch to {framework.method}")
    when = f"through {framework.name},"
    # "cafe": c and a are committed each by the key after it, f, which takes no accent, at once;
    # e is still being composed.
    type_and_read([("c", ""), ("a", "c"), ("f", "caf"), ("e", "caf")], box,
                  f"{when} while e was composed", failures)
    # The apostrophe turns the e being composed into é, which the space then commits before
    # it goes in itself.
    type_and_read([("'", "caf"), (" ", "café ")], box, f"{when} after e, ' and a space",
                  failures)


def check_drag(box, failures):
    """Drags "beta " to the end of "alpha beta gamma" with the pointer, then presses Ctrl+Z."""
    set_text("input box", box["input"], "alpha beta gamma")
    text = box["input"].queryText()
    text.setSelection(0, 6, 11)

    def middle(offset):
        x, y, width, height = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        return x + width // 2, y + height // 2

    (x, y), (to_x, _) = middle(8), middle(15)
    to_x += 3 * (to_x - x) // 7  # past the last character
    steps = [["mousemove", str(x), str(y)], ["mousedown", "1"]]
    steps += [["mousemove", str(x + (to_x - x) * k // 8), str(y)] for k in range(1, 9)]
    steps += [["mouseup", "1"]]
    for step in steps:
        subprocess.run(["xdotool", *step], check=True)
        time.sleep(0.1)
    moved = wait_for_text("input box", box["input"], "alpha gammabeta ")
    if moved != "alpha gammabeta ":
        failures.append(f"after the drag the input box read {moved!r}, not 'alpha gammabeta '")
        return
    # The drop gave the box the focus: Ctrl+Z there takes back the whole move.
    subprocess.run(["xdotool", "key", "ctrl+z"], check=True)
    undone = wait_for_text("input box", box["input"], "alpha beta gamma")
    if undone != "alpha beta gamma":
        failures.append(f"Ctrl+Z after the drag left {undone!r}, not 'alpha beta gamma'")


def run_program(program_path, framework, log, failures, drag):
    """Runs the program with Qt's module for the framework and checks its input box."""
    environment = program_environment(QT_IM_MODULE=framework.module)
    program = subprocess.Popen([program_path], env=environment, stdout=log, stderr=log)
    try:
        application = find_application(program.pid, program)
        box = window_boxes(application)
        set_text("multiplier box", box["multiplier"], "1")  # rotation 0, multiplier 1
        check_input_method(framework, box, log, failures)
        if drag:
            check_drag(box, failures)
        if program.poll() is not None:
            raise AssertionError(f"the program ended with code {program.returncode}")
    finally:
        stop_processes([program])


def main():
    program_path, launcher = program_and_launcher("check_x11_input.py")
    processes = []
    failures = []
    log = tempfile.TemporaryFile()
    try:
        start_desktop(launcher, processes, log, window_manager=True)
        pyatspi.setTimeout(1000, 1000)
        for framework in (IBus(), Fcitx()):
            daemon = []
            try:
                framework.start(daemon, log)
                run_program(program_path, framework, log, failures,
                            drag=isinstance(framework, IBus))
            except (Hang, Refused, AssertionError, subprocess.CalledProcessError) as error:
                failures.append(str(error))
            finally:
                stop_processes(daemon)
    finally:
        states = stop_processes(processes)
    if report_failures(states, failures, log, "the X server, the input methods and the program"):
        return 1
    print("PASS: through IBus and through Fcitx 5 (m17n's Latin postfix method) the composed e "
          "stayed out of the text until the accent and a space committed 'é', and the output "
          "followed; a dragged selection moved and one Ctrl+Z took the move back")
    return 0


if __name__ == "__main__":
    sys.exit(main())
