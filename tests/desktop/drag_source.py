#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

"""Another program's window that offers a file's text for dragging, as a GTK editor would: a
drag started with the first button carries the whole text, which GTK hands over X11's drag and
drop a piece at a time (INCR), however large. Prints "ready" once the window is up, and "drop: "
with how the drag ended. Usage: drag_source.py FILE"""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402


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
    area.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_text(text, -1))

    def ended(_widget, context):
        print(f"drop: {context.get_selected_action().value_nicks[0]}", flush=True)

    area.connect("drag-end", ended)
    area.connect("drag-failed", lambda *_: print("drop: failed", flush=True) and False)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    print("ready", flush=True)
    Gtk.main()


if __name__ == "__main__":
    main()
