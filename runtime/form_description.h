#pragma once

#include <span>

namespace korvane::runtime {

enum class ControlKind { Label, TextBox, CommandButton, HScrollBar };

// One control of a stored form, with its geometry in twips relative to the client area.
struct ControlDescription {
    const char* name;
    ControlKind kind;
    const char* caption;  // a label's or a button's caption, a text box's first text
    int left, top, width, height;
    int tabIndex;
    const char* accessibleName = "";
    bool multiLine = false;           // text box: several lines, both scroll bars, no wrapping
    bool readOnly = false;            // text box: selectable and copyable, not editable
    int min = 0, max = 0, value = 0;  // scroll bar
};

// A stored form: its caption, the size of its client area in twips (as first shown and the
// least the user can shrink it to), its icon's pictures and its controls.
struct FormDescription {
    const char* caption;
    int clientWidth, clientHeight;
    int minClientWidth, minClientHeight;
    std::span<const char* const> iconResources;  // Qt resource paths, one per picture size
    std::span<const ControlDescription> controls;
};

}  // namespace korvane::runtime
