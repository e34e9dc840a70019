#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Another program's window that offers a file's text for dragging, as a GTK editor would: a
drag started with the first button carries the whole text, which GTK hands over X11's drag and
drop a piece at a time (INCR), however large. Usage: drag_source.py FILE

It says on standard output, a line at a time, how far the drag has come, so that whoever drives
it with the pointer goes on when GTK has done each step, however long a first start takes:
"ready WINDOW" once its window is mapped (WINDOW is the X window's id), "pressed" when the first
button went down on it, "dragging" when the drag has begun, "accepted" or "refused" when the
window under the pointer answers whether it takes the text, "asked" when the drop's target asks
for the text, and "drop: ACTION" when the drag has ended."""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
gi.require_version("GdkX11", "3.0")
from gi.repository import Gdk, GdkX11, Gtk  # noqa: E402, F401 (GdkX11 gives get_xid)


def say(line):
    print(line, flush=True)


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        text = file.read()
    window = Gtk.Window(title="Drag source")
    window.set_default_size(160, 120)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="drag me"))
    window.add(area)
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
    area.drag_source_add_text_targets()

    def begun(_widget, context):
        say("dragging")
        context.connect("action-changed",
                        lambda _c, action: say("accepted" if action else "refused"))

    def asked(_widget, _context, data, _info, _time):
        say("asked")
        data.set_text(text, -1)

    area.connect("button-press-event", lambda *_: say("pressed") and False)
    area.connect("drag-begin", begun)
    area.connect("drag-data-get", asked)
    area.connect("drag-end", lambda _w, context: say(
        f"drop: {(context.get_selected_action().value_nicks or ['none'])[0]}"))
    area.connect("drag-failed", lambda *_: say("drop: failed") and False)
    window.connect("map-event", lambda *_: say(f"ready {window.get_window().get_xid()}") and False)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
