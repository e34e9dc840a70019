// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <span>

namespace korvane::runtime {

// One control of a stored form: its name, first contents, geometry in twips relative to the
// client area, tab index, what assistive technology says of it, its value range, and whether a
// text box is locked.
struct ControlDescription {
    const char* name;
    const char* caption;  // a label's or a button's caption, a text box's first text
    int left, top, width, height;
    int tabIndex;
    const char* accessibleName = "";
    const char* accessibleDescription = "";
    int min = 0, max = 0, value = 0;  // scroll bar
    bool locked = false;              // a text box the user reads and copies but cannot change
};

// A stored form: its caption, the size of its client area in twips (as first shown and the
// least the user can shrink it to), what assistive technology says of it and its icon's
// pictures. Its controls are the form class's members, each made from its own description.
struct FormDescription {
    const char* caption;
    int clientWidth, clientHeight;
    int minClientWidth, minClientHeight;
    const char* accessibleDescription = "";
    // The icon's pictures, one per size: those the window shows from the start (in its title
    // bar), as XPM arrays compiled in, which need no image reader; and the larger ones that docks
    // and task switchers show, as Qt resource paths, added once the window has been painted, so
    // that reading them does not hold up its appearance.
    std::span<const char* const* const> iconPictures = {};
    std::span<const char* const> largeIconResources = {};
};

}  // namespace korvane::runtime
