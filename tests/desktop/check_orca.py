#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Runs the Orca screen reader over Korvane's window and checks what it would say.

Run inside a D-Bus session of its own (check_orca.sh does that). Starts an X server, a window
manager, the accessibility bus, Orca with its debug log and a fresh home, and the program; then
drives the window with xdotool as a user would and reads Orca's would-be speech from the
"SPEECH OUTPUT" lines of its log: every control is announced when Tab reaches it, each message
box is announced once as an alert, the multiplier box reads "400" whole, each arrow key on the
scroll bar speaks its new value, say-all speaks no empty line, and the input box's menu item of
the likely key is spoken when the keyboard reaches it and sets the key. The program ends with code 0
through its Exit button. Exits 0 when all holds, 1 on a failure and 77 when Orca or the tools it
needs cannot be brought up here.
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_atspi import (PLAIN, SKIP, encipher, failure_of,  # noqa: E402
                         program_and_launcher, program_environment, report_failures, skip,
                         start_desktop, stop_processes)

LINES = ("Zebras cross here.", "Then a second line.", "And the last one.")
WAIT_SECONDS = 10  # how long one awaited announcement may take
# One entry of the log: a time stamp, then text whose further lines are indented by 18 spaces.
ENTRY = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - ")
# What Orca would have spoken, then the voice it would have used.
SPEECH = re.compile(r"^SPEECH OUTPUT: '(.*?)'(?: voice=\S+)? ?(?:\{.*)?$", re.S)


class OrcaLog:
    """Orca's debug log, read as it grows: what it would have spoken, utterance by utterance.

    Orca writes its log through a terminal, where Python flushes each line as it is written;
    into a plain file the lines would come in blocks of kilobytes, long after they were said.
    The lines are copied to a file as they come."""

    def __init__(self, copy_path):
        self.master, self.terminal = os.openpty()
        tty.setraw(self.master)
        self.path = os.ttyname(self.terminal)  # the file name Orca is given
        self.copy = open(copy_path, "w")
        self.lock = threading.Lock()
        self.lines = []
        self.entry = None  # the entry being read, which further lines may continue
        self.utterances = []  # every utterance so far
        self.seen = 0  # the utterances the checks have already looked at
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            pending += chunk
            *whole, pending = pending.split(b"\n")
            with self.lock:
                for raw in whole:
                    line = raw.decode(errors="replace").rstrip("\r")
                    self.lines.append(line)
                    self.copy.write(line + "\n")
                    if ENTRY.match(line):
                        self._end_entry()
                        self.entry = ENTRY.sub("", line)
                    elif self.entry is not None:
                        self.entry += "\n" + line.removeprefix(" " * 18)
                self.copy.flush()

    def _end_entry(self):
        if self.entry is not None:
            match = SPEECH.match(self.entry)
            if match:
                self.utterances.append(match.group(1))
        self.entry = None

    def _said(self):
        """Every utterance so far, with the one in the entry still being read."""
        said = list(self.utterances)
        match = SPEECH.match(self.entry) if self.entry is not None else None
        if match:
            said.append(match.group(1))
        return said

    def wait_for_line(self, text, what):
        deadline = time.monotonic() + WAIT_SECONDS * 2
        while True:
            with self.lock:
                if any(text in line for line in self.lines):
                    return
            if time.monotonic() > deadline:
                raise AssertionError(f"{what}: the log never showed {text!r}")
            time.sleep(0.1)

    def _count(self):
        with self.lock:
            return len(self._said())

    def wait_for(self, predicate, what, settle=0.4):
        """Waits until an utterance since the last wait satisfies the predicate, then for the
        speech to settle, and returns every utterance since the last wait."""
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            with self.lock:
                new = self._said()[self.seen:]
            if any(predicate(u) for u in new):
                break
            if time.monotonic() > deadline:
                raise AssertionError(f"{what}: not said; Orca said {new!r}")
            time.sleep(0.05)
        # What follows in the same announcement comes within moments.
        quiet_since = time.monotonic()
        count = self._count()
        while time.monotonic() - quiet_since < settle:
            time.sleep(0.05)
            if self._count() != count:
                count = self._count()
                quiet_since = time.monotonic()
        with self.lock:
            said = self._said()
            new = said[self.seen:]
            self.seen = len(said)
        return new

    def last_said(self, count=40):
        """What Orca said last, an utterance a line, for a failure's report."""
        with self.lock:
            return "\n".join(repr(u) for u in self._said()[-count:]) or "(nothing)"

    def settle(self, seconds):
        """Waits until Orca has said nothing more for the given time, and forgets what it said."""
        count = self._count()
        quiet_since = time.monotonic()
        while time.monotonic() - quiet_since < seconds:
            time.sleep(0.05)
            if self._count() != count:
                count = self._count()
                quiet_since = time.monotonic()
        with self.lock:
            self.seen = len(self._said())


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=WAIT_SECONDS)


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def orca_home(root):
    """A home of its own for Orca, with settings that keep it from a speech server: with no
    server Orca writes each utterance to its log and speaks nothing."""
    environment = {}
    for name, folder in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"),
                         ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache"),
                         ("XDG_RUNTIME_DIR", "runtime")):
        path = os.path.join(root, folder)
        os.makedirs(path, mode=0o700, exist_ok=True)
        environment[name] = path
    prefs = os.path.join(environment["XDG_DATA_HOME"], "orca")
    os.makedirs(prefs, exist_ok=True)
    settings = {
        "general": {"firstStart": False, "speechServerFactory": "none",
                    "speechFactoryModules": [], "enableSpeech": True,
                    "sayAllStyle": 1},  # say-all by sentence, Orca's default
        "profiles": {"default": {"profile": ["Default", "default"], "pronunciations": {},
                                 "keybindings": {}}},
        "pronunciations": {},
        "keybindings": {},
    }
    with open(os.path.join(prefs, "user-settings.conf"), "w") as file:
        json.dump(settings, file)
    return environment, prefs


def start_orca(log_path, prefs, processes, output):
    """Starts Orca with its debug log read as it grows, once it says it has started."""
    log = OrcaLog(log_path)
    processes.append(subprocess.Popen(["orca", "--debug-file", log.path, "-u", prefs],
                                      stdout=output, stderr=output))
    log.wait_for_line("ORCA: Startup complete", "Orca starting")
    return log


def find_window(program):
    """The program's window, once mapped, raised and given the keyboard focus."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        if program.poll() is not None:
            raise AssertionError(f"the program ended early with code {program.returncode}")
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.pid),
                                "--name", "^Korvane$"], capture_output=True, text=True,
                               check=False)
        if found.stdout.split():
            window = found.stdout.split()[0]
            xdotool("windowactivate", "--sync", window)
            return window
        time.sleep(0.1)
    raise AssertionError("the program's window never appeared")


def spoken(utterances, text):
    """How many utterances hold the text."""
    return sum(text in u for u in utterances)


def check_alert(log, text, what, failures):
    """Waits for a message box's announcement, checks that its text is spoken once, and closes
    the box with Enter."""
    said = log.wait_for(lambda u: text in u, what, settle=1.0)
    print(f"{what}: {said}")
    if spoken(said, text) != 1:
        failures.append(f"{what}: its text is spoken {spoken(said, text)} times: {said!r}")
    if not any("alert" in u.lower() for u in said):
        failures.append(f"{what}: not announced as an alert: {said!r}")
    key("Return")


def run_checks(program, log, failures):
    find_window(program)
    # Orca announces the window and the input box, which has focus first.
    said = log.wait_for(lambda u: u.startswith("Enter Original text:"), "the input box at start")
    print("at start:", said)

    # Tab goes through every control in the tab order, and Orca names each one by its role.
    for announcement in ("Rotate by text", "Rotate by scroll bar 0", "Altered version of text",
                         "Exit push button", "Multiply by: text", "Enter Original text: text"):
        key("Tab")
        said = log.wait_for(lambda u, a=announcement: u.startswith(a), f"Tab to {announcement!r}")
        print(f"Tab to {announcement}: {said}")

    # Seven characters on the clipboard, then a text of three lines with a Z in it.
    type_text("1234567")
    key("ctrl+a", "ctrl+c")
    for number, line in enumerate(LINES):
        if number:
            key("Return")
        type_text(line)
    log.settle(0.5)

    # Pasted into the rotation box they are refused on leaving it, with a message.
    key("Tab")
    log.wait_for(lambda u: u.startswith("Rotate by text"), "Tab to the rotation box")
    key("ctrl+v", "Tab")
    check_alert(log, "is too long!", "the rotation message", failures)
    # Focus had gone on to the scroll bar, and comes back there.
    log.wait_for(lambda u: u.startswith("Rotate by scroll bar"), "focus back on the scroll bar")

    # The scroll bar's keys: each speaks the value it stepped to, which also rewrites the
    # rotation box.
    for step, value in (("Right", "1"), ("Right", "2"), ("Left", "1"), ("Next", "6"),
                        ("Prior", "1"), ("Down", "2"), ("Up", "1"), ("End", "25"), ("Home", "0")):
        key(step)
        said = log.wait_for(lambda u, v=value: u.strip(" .") == v, f"{step} to {value}",
                            settle=0.2)
        print(f"{step}: {said}")

    # Say-all in the output box speaks its lines and no empty utterance.
    key("Tab")
    log.wait_for(lambda u: u.startswith("Altered version of text"), "Tab to the output box")
    # Say-all reads from the caret: first to the start of the text.
    key("ctrl+Home")
    log.settle(0.5)
    key("KP_Add")
    said = log.wait_for(lambda u: u.strip() != "plus", "say-all", settle=1.0)
    print(f"say-all: {said}")
    empty = [u for u in said if not u.strip()]
    if empty:
        failures.append(f"say-all speaks {len(empty)} empty utterances: {said!r}")

    # A multiplier of 400 overflows with the Z: the error report is spoken once.
    key("Tab", "Tab")
    log.wait_for(lambda u: u.startswith("Multiply by: text"), "Tab to the multiplier box")
    type_text("400")
    check_alert(log, "Overflow", "the run-time error report", failures)
    log.wait_for(lambda u: u.startswith("Multiply by"), "focus back in the multiplier box")

    # Coming back to it, the multiplier box is read whole.
    key("shift+Tab")
    log.wait_for(lambda u: u.startswith("Exit push button"), "Shift+Tab to Exit")
    key("Tab")
    said = log.wait_for(lambda u: u.startswith("Multiply by: text"), "Tab to the multiplier box")
    print(f"the multiplier box: {said}")
    if not any(re.search(r"(^|\W)400(\W|$)", u) for u in said):
        failures.append(f"the multiplier box is not read as 400: {said!r}")

    # An enciphered text in the input box: its context menu, opened from the keyboard, ends with
    # the item that reads it as English, and Orca speaks it when the arrow reaches it.
    key("ctrl+a")
    type_text("1")
    key("Tab")
    log.wait_for(lambda u: u.startswith("Enter Original text:"), "Tab to the input box")
    key("ctrl+a", "Delete")
    type_text(encipher(PLAIN[:60], 5, 3))
    log.settle(0.5)
    key("shift+F10")
    log.settle(0.5)
    key("Up")
    item = "Read as English (rotation 7, multiplier 9)"
    said = log.wait_for(lambda u: item in u, "the likely key's menu item")
    print(f"the menu's last item: {said}")
    key("Return")
    log.settle(0.5)
    key("shift+Tab")
    said = log.wait_for(lambda u: u.startswith("Multiply by: text"), "Shift+Tab to the multiplier")
    if not any(re.search(r"(^|\W)9(\W|$)", u) for u in said):
        failures.append(f"the menu item did not set the multiplier to 9: {said!r}")

    # Exit ends the program with code 0.
    key("shift+Tab")
    log.wait_for(lambda u: u.startswith("Exit push button"), "Shift+Tab to Exit")
    key("space")
    try:
        code = program.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise AssertionError("the program did not end on Exit") from None
    if code != 0:
        failures.append(f"the program ended with code {code} on Exit")


def main():
    program_path, launcher = program_and_launcher("check_orca.py")
    processes = []
    failures = []
    scratch = tempfile.TemporaryDirectory(prefix="korvane-orca-")
    output = open(os.path.join(scratch.name, "processes.log"), "wb")
    orca_log_path = os.environ.get("KORVANE_ORCA_LOG") or os.path.join(scratch.name, "orca.log")
    log = None
    try:
        home, prefs = orca_home(scratch.name)
        os.environ.update(home)
        start_desktop(launcher, processes, output, window_manager=True)
        log = start_orca(orca_log_path, prefs, processes, output)
        program = subprocess.Popen([program_path], env=program_environment(), stdout=output,
                                   stderr=output)
        processes.append(program)
        run_checks(program, log, failures)
    except Exception as error:  # noqa: BLE001 (every failure is reported with the output)
        failures.append(failure_of(error))
    finally:
        states = stop_processes(processes)
    said = [("What Orca said last", log.last_said())] if log else []
    if report_failures(states, failures, output, "the X server, Orca and the program", 3000,
                       said):
        return 1
    print("PASS: Orca named every control, spoke each message once as an alert, read the "
          "multiplier box as 400 and each scroll-bar step's value, and say-all spoke no empty "
          "line; Exit ended the program with 0")
    return 0


if __name__ == "__main__":
    sys.exit(main())
