#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Reads and edits Korvane's window over the real AT-SPI bus, as a screen reader does.

Run inside a D-Bus session of its own (check_atspi.sh does that). Starts an X server, the
accessibility bus and the program, then checks that every text box answers each text query at
offsets 0, 1 and the end within a second, counting characters as code points in every box,
that the single-line boxes report one attribute run over their whole text, that text typed through the bus is rewritten into the output box, that
an enciphered text typed into the input box gets the key that reads it as English at the end of
the box's description, and that the program still answers afterwards. Exits 0 when all holds, 1 on a failure and 77 when
the accessibility stack cannot be brought up here.
"""

import os
import select
import subprocess
import sys
import tempfile
import time
import traceback

SKIP = 77
QUERY_SECONDS = 1.0  # a query taking longer than this counts as a hang
# How long the checks wait for what should come: the program on the bus, a box showing what an
# edit made it. Each wait ends as soon as it comes; this only bounds a wait for what never does,
# generously, as a machine's first run of a program can be slow.
SETTLE_SECONDS = 30
answered = 0  # queries answered in time, for the summary
INPUT = "Hello, World!"
ROT13 = "URYYB, JBEYQ!"
EMOJI_INPUT = "\U0001F600 abc"
EMOJI_OUTPUT = "\U0001F600 NOP"
EMOJI_NUMBER = "\U0001F600x12"
PLAIN = ("The old mill stands at the bend of the river, where the water slows and widens before "
         "it runs on towards the sea. Nobody has ground corn there for forty years")
MORE = ", but the wheel is still in place."


def encipher(text, rotation, multiplier):
    """The window's transform of a text for an odd multiplier: upper case, then each letter at
    position p becomes the one at (multiplier * p + rotation) mod 26."""
    return "".join(chr(65 + (multiplier * (ord(c) - 65) + rotation) % 26) if "A" <= c <= "Z" else c
                   for c in text.upper())


LIKELY_KEY = "This text reads as English with rotation 7, multiplier 9."


class Hang(Exception):
    """The program stopped answering: every later query would wait in vain."""


class Refused(Exception):
    """The program answered a query at once with an error, as for a method it does not offer."""


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


try:
    import pyatspi
    from gi.repository import Atspi
except (ImportError, ValueError) as error:
    skip(f"no AT-SPI Python bindings ({error})")


def start_x_server(processes, log):
    """Starts Xvfb on a display it picks itself and returns the display name."""
    read_end, write_end = os.pipe()
    # No reset when the last client leaves: the bus launcher connects and leaves just as the
    # program connects, and a server in the middle of a reset turns the program away.
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=(write_end,), stdout=log, stderr=log)
    processes.append(server)
    os.close(write_end)
    # The read end stays open while the server runs: Xvfb ends when it is closed.
    ready, _, _ = select.select([read_end], [], [], 10)
    number = os.read(read_end, 32).decode().strip() if ready else ""
    if not number:
        skip("Xvfb did not start")
    return f":{number}"


def wait_for_bus_name(name, seconds=10):
    """Whether a process came to own the name on the session bus within the time. Asking for
    the name's owner does not have the bus start a second one, as a call to the name would."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        asked = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", f"string:{name}"],
            capture_output=True, text=True, check=False)
        if "boolean true" in asked.stdout:
            return True
        time.sleep(0.1)
    return False


def start_accessibility_bus(launcher, processes, log):
    """Starts the accessibility bus launcher and waits until it owns its name."""
    processes.append(subprocess.Popen([launcher, "--launch-immediately"], stdout=log, stderr=log))
    if not wait_for_bus_name("org.a11y.Bus"):
        skip("the accessibility bus did not start")


def program_and_launcher(script):
    """The program and the accessibility bus launcher the check was given."""
    if len(sys.argv) != 3:
        sys.exit(f"usage: {script} PROGRAM AT-SPI-BUS-LAUNCHER")
    return sys.argv[1], sys.argv[2]


def start_desktop(launcher, processes, log, window_manager=False):
    """Starts an X server, which becomes this process's display, the accessibility bus, and
    with `window_manager` openbox, which gives the window the focus as a desktop does."""
    os.environ["DISPLAY"] = start_x_server(processes, log)
    start_accessibility_bus(launcher, processes, log)
    if window_manager:
        processes.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=log, stderr=log))


def program_environment(**more):
    """The program's environment: Qt on X11, telling assistive technology of every change."""
    return dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **more)


def stop_processes(processes):
    """Ends the processes, the last started first, and returns how each stood before: its
    program's name and whether it was still running or with what code it had ended."""
    states = [f"{os.path.basename(p.args[0])} " +
              ("running" if p.poll() is None else f"ended with {p.returncode}")
              for p in processes]
    for process in reversed(processes):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=3)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
    return states


def written_to(output, tail):
    """The end of what the processes wrote to `output`, read again from its start: through the
    file's name where it has one, so that a file opened for writing alone is read as well, else
    through its descriptor. What cannot be read is said instead."""
    try:
        output.flush()
        if isinstance(output.name, str):
            with open(output.name, "rb") as written:
                text = written.read()
        else:
            with open(output.fileno(), "rb", closefd=False) as written:
                written.seek(0)
                text = written.read()
    except OSError as error:
        return f"(it cannot be read again: {error})"
    return text.decode(errors="replace")[-tail:]


def failure_of(error):
    """A failure's line for an error a check raised: the message of an expected one, and the
    whole traceback of any other, which says where the check itself went wrong."""
    if isinstance(error, (AssertionError, subprocess.SubprocessError, Hang, Refused)):
        return str(error)
    return "".join(traceback.format_exception(error)).rstrip()


def report_failures(states, failures, output=None, what="", tail=2000, more=()):
    """Prints how the processes stood when the checks ended, the end of what they wrote to
    `output` (a file they write to), the further (title, text) sections of `more`, and each
    failure; returns the exit status: 1 when anything failed, else 0."""
    if not failures:
        return 0
    print("When the checks ended:", ", ".join(states))
    if output is not None:
        print(f"What {what} wrote:\n" + written_to(output, tail))
    for title, text in more:
        print(f"{title}:\n{text}")
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1


def find_application(pid, program):
    """The program's application on the registry, matched by process id."""
    deadline = time.monotonic() + SETTLE_SECONDS
    while time.monotonic() < deadline:
        if program.poll() is not None:
            raise AssertionError(f"the program ended early with code {program.returncode}")
        try:
            for application in pyatspi.Registry.getDesktop(0):
                if application is not None and application.get_process_id() == pid:
                    return application
        except Exception:  # an application still starting may not answer in time
            pass
        time.sleep(0.2)
    raise AssertionError("the program never appeared on the accessibility registry")


def window_boxes(application):
    """The window's input, output and multiplier boxes on the bus, by their accessible names."""
    boxes = {a.name: a for a in descendants(application) if a.getRole() == pyatspi.ROLE_TEXT}
    box = {"input": boxes.get("Enter Original text:"),
           "output": boxes.get("Altered version of text"),
           "multiplier": boxes.get("Multiply by:")}
    if None in box.values():
        raise AssertionError(f"the window's text boxes are not all there: {sorted(boxes)}")
    return box


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def timed(what, query):
    """Runs one query over the bus; a query that times out or takes too long is a hang."""
    started = time.monotonic()
    try:
        answer = query()
    except Exception as error:  # the bindings report every failed call as a GLib error
        if time.monotonic() - started < QUERY_SECONDS / 2 and "imeout" not in str(error):
            raise Refused(f"{what}: {error}") from error
        raise Hang(f"{what}: no answer ({error})") from error
    if time.monotonic() - started > QUERY_SECONDS:
        raise Hang(f"{what}: answered only after {time.monotonic() - started:.1f} s")
    global answered
    answered += 1
    return answer


BOUNDARIES = {
    "char": Atspi.TextBoundaryType.CHAR,
    "word start": Atspi.TextBoundaryType.WORD_START,
    "word end": Atspi.TextBoundaryType.WORD_END,
    "sentence start": Atspi.TextBoundaryType.SENTENCE_START,
    "sentence end": Atspi.TextBoundaryType.SENTENCE_END,
    "line start": Atspi.TextBoundaryType.LINE_START,
    "line end": Atspi.TextBoundaryType.LINE_END,
}
GRANULARITIES = {
    "char": Atspi.TextGranularity.CHAR,
    "word": Atspi.TextGranularity.WORD,
    "sentence": Atspi.TextGranularity.SENTENCE,
    "line": Atspi.TextGranularity.LINE,
    "paragraph": Atspi.TextGranularity.PARAGRAPH,
}


def check_boundaries(name, box, failures, notes):
    """Asks for every kind of segment at offsets 0, 1 and the end; each answer must lie in the
    text and hold what the text holds there."""
    text = box.queryText()
    whole = timed(f"{name}: text", lambda: text.getText(0, -1))
    end = len(whole)
    for offset in sorted({0, min(1, end), end}):
        for kind, boundary in BOUNDARIES.items():
            what = f"{name}: text at offset {offset} by {kind}"
            got, start, stop = timed(what, lambda: text.getTextAtOffset(offset, boundary))
            if got and whole[start:stop] != got:
                failures.append(f"{what}: {got!r} is not the text at {start}..{stop}")
            if kind == "char" and offset < end and got != whole[offset]:
                failures.append(f"{what}: {got!r}, not {whole[offset]!r}")
            if kind.startswith("line") and got.rstrip("\n") != whole:
                failures.append(f"{what}: {got!r}, not the whole line {whole!r}")
        for kind, granularity in GRANULARITIES.items():
            if name in notes:
                break
            what = f"{name}: string at offset {offset} by {kind}"
            try:
                got, start, stop = timed(what, lambda: text.getStringAtOffset(offset, granularity))
            except Refused as refusal:
                # Older bridges lack GetStringAtOffset; readers then use GetTextAtOffset.
                notes[name] = f"GetStringAtOffset is refused ({refusal})"
                break
            if got and whole[start:stop] != got:
                failures.append(f"{what}: {got!r} is not the text at {start}..{stop}")


def check_code_points(name, box, text, failures):
    """Each character after the emoji is where a reader counts it, and the caret put on it
    stands before it."""
    reader = box.queryText()
    count = timed(f"{name}: character count", lambda: reader.characterCount)
    if count != len(text):
        failures.append(f"{name}: {count} characters in {text!r}, not {len(text)}")
    for offset in range(1, len(text)):
        got = timed(f"{name}: character at {offset}", lambda: reader.getText(offset, offset + 1))
        if got != text[offset]:
            failures.append(f"{name}: character at {offset} is {got!r}, not {text[offset]!r}")
    timed(f"{name}: set caret", lambda: reader.setCaretOffset(3))
    caret = timed(f"{name}: caret", lambda: reader.caretOffset)
    after = timed(f"{name}: text after caret", lambda: reader.getText(caret, caret + 1))
    if caret != 3 or after != text[3]:
        failures.append(f"{name}: caret at {caret} before {after!r}, not at 3 before {text[3]!r}")


def set_text(name, box, value):
    """Writes the box's text through its editable text interface, as a reader's user would."""
    editable = box.queryEditableText()
    timed(f"{name}: set text", lambda: editable.setTextContents(value))


def wait_for_text(name, box, expected):
    """The box's text once it equals the expected text, or the last read when it does not come."""
    text = box.queryText()
    deadline = time.monotonic() + SETTLE_SECONDS
    while True:
        got = timed(f"{name}: text", lambda: text.getText(0, -1))
        if got == expected or time.monotonic() > deadline:
            return got
        time.sleep(0.05)


def wait_for_description(box, ending):
    """The box's accessible description once it ends with the text, or the last read when it
    does not come."""
    deadline = time.monotonic() + SETTLE_SECONDS
    while True:
        got = timed("input box: description", lambda: box.description)
        if got.endswith(ending) or time.monotonic() > deadline:
            return got
        time.sleep(0.05)


def check_likely_key(box, failures):
    """Types a text enciphered with rotation 5 and multiplier 3 into the input box, the last part
    character by character at its end: its description must end with the key that reads it."""
    own = timed("input box: description", lambda: box.description)
    enciphered = encipher(PLAIN, 5, 3)
    set_text("input box", box, enciphered)
    editable = box.queryEditableText()
    for offset, character in enumerate(encipher(MORE, 5, 3), len(enciphered)):
        timed("input box: insert text", lambda: editable.insertText(offset, character, 1))
    got = wait_for_description(box, LIKELY_KEY)
    if got != f"{own} {LIKELY_KEY}":
        failures.append(f"input box: description {got!r} after an enciphered text, not its own "
                        f"{own!r} and then {LIKELY_KEY!r}")
    else:
        print(f"input box description after an enciphered text: {got!r}")


def check_attribute_run(name, box, value, failures):
    set_text(name, box, value)
    got = wait_for_text(name, box, value)
    if got != value:
        failures.append(f"{name}: holds {got!r} after writing {value!r}")
        return
    text = box.queryText()
    for offset in range(len(value) + 1):
        what = f"{name}: attribute run at {offset}"
        attributes, start, stop = timed(what, lambda: text.getAttributeRun(offset, False))
        if offset == 0:  # what a reader gets, shown for the log
            print(f"{name} holding {value!r}: run {start}..{stop} {text.getText(start, stop)!r} "
                  f"{sorted(attributes)}")
        if (start, stop) != (0, len(value)):
            failures.append(f"{what} is {start}..{stop}, not 0..{len(value)} ({value!r})")
        _, start, stop = timed(what, lambda: text.getAttributes(offset))
        if (start, stop) != (0, len(value)):
            failures.append(f"{what} (attributes) is {start}..{stop}, not 0..{len(value)}")


def run_checks(program, failures):
    application = find_application(program.pid, program)
    boxes = {}
    for accessible in descendants(application):
        if accessible.getRole() == pyatspi.ROLE_TEXT:
            boxes.setdefault(accessible.name, accessible)
    names = {"input": "Enter Original text:", "rotation": "Rotate by",
             "multiplier": "Multiply by:", "output": "Altered version of text"}
    missing = [name for name in names.values() if name not in boxes]
    if missing:
        raise AssertionError(f"no text box named {missing}; found {sorted(boxes)}")
    box = {key: boxes[name] for key, name in names.items()}

    # The multiplier box as a reader reads "400": one run from 0 to 3. The input box is still
    # empty, so no letter is multiplied by 400.
    check_attribute_run("multiplier box", box["multiplier"], "400", failures)
    check_attribute_run("rotation box", box["rotation"], "13", failures)
    set_text("multiplier box", box["multiplier"], "1")
    set_text("input box", box["input"], INPUT)
    shown = wait_for_text("output box", box["output"], ROT13)
    if shown != ROT13:
        failures.append(f"output box reads {shown!r} for {INPUT!r}, not {ROT13!r}")

    # An emoji is one character to a reader: the characters after it, and the caret there, are
    # counted in code points in both big boxes.
    set_text("input box", box["input"], EMOJI_INPUT)
    shown = wait_for_text("output box", box["output"], EMOJI_OUTPUT)
    if shown != EMOJI_OUTPUT:
        failures.append(f"output box reads {shown!r} for {EMOJI_INPUT!r}")
    # The input's caret stands after what was written, the fifth character.
    caret = timed("input box: caret", lambda: box["input"].queryText().caretOffset)
    if caret != len(EMOJI_INPUT):
        failures.append(f"input box: caret at {caret} after {EMOJI_INPUT!r}, "
                        f"not {len(EMOJI_INPUT)}")
    for key, text in (("input", EMOJI_INPUT), ("output", EMOJI_OUTPUT)):
        check_code_points(f"{key} box", box[key], text, failures)
    # So are the small boxes: an emoji pasted before a number is one character.
    for key, value in (("multiplier", "1"), ("rotation", "13")):
        set_text(f"{key} box", box[key], EMOJI_NUMBER)
        wait_for_text(f"{key} box", box[key], EMOJI_NUMBER)
        check_code_points(f"{key} box", box[key], EMOJI_NUMBER, failures)
        set_text(f"{key} box", box[key], value)
    set_text("input box", box["input"], INPUT)
    wait_for_text("output box", box["output"], ROT13)

    notes = {}  # the boxes whose bridge refuses a kind of query, with the reason
    for key in ("input", "output", "multiplier", "rotation"):
        check_boundaries(f"{key} box", box[key], failures, notes)
    for name, note in notes.items():
        print(f"NOTE: {name}: {note}")
    check_likely_key(box["input"], failures)

    timed("multiplier box: a last read", lambda: box["multiplier"].queryText().getText(0, -1))
    if program.poll() is not None:
        raise AssertionError(f"the program ended with code {program.returncode}")

    # Ends the program with its own Exit button, pressed through the bus.
    exit_button = next(a for a in descendants(application)
                       if a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "Exit")
    timed("Exit button", lambda: exit_button.queryAction().doAction(0))
    if program.wait(timeout=5) != 0:
        failures.append(f"the program ended with code {program.returncode} on Exit")


def main():
    program_path, launcher = program_and_launcher("check_atspi.py")
    processes = []
    failures = []
    log = tempfile.TemporaryFile()
    try:
        start_desktop(launcher, processes, log)
        # Every call gives up after a second, also in the program's first seconds.
        pyatspi.setTimeout(int(QUERY_SECONDS * 1000), int(QUERY_SECONDS * 1000))
        program = subprocess.Popen([program_path], env=program_environment(), stdout=log,
                                   stderr=log)
        processes.append(program)
        try:
            run_checks(program, failures)
        except Exception as error:  # noqa: BLE001 (every failure is reported with the output)
            failures.append(failure_of(error))
    finally:
        # How each process stood when the checks ended, before they are ended.
        states = stop_processes(processes)
    if report_failures(states, failures, log, "the X server, the bus and the program"):
        return 1
    print(f"PASS: {answered} queries answered in time; the multiplier box reads 0..3 '400'; "
          f"{INPUT!r} came out as {ROT13!r}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
