// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <string_view>

#include "runtime/form_description.h"

namespace korvane::window::frm_main {

using runtime::ControlDescription;

// The stored description of the main window: one row per control with its name, first
// contents, geometry in twips relative to the client area, tab index and what assistive
// technology says of it. Controls later in the list lie over earlier ones (txtRotate is drawn
// over the right part of Label2).
inline constexpr std::array<ControlDescription, 10> kControls{{
    {.name = "Label1",
     .caption = "Enter Original text:",
     .left = 120,
     .top = 0,
     .width = 3855,
     .height = 255,
     .tabIndex = 1,
     .accessibleDescription = "Names the input box below it."},
    {.name = "txtOriginal",
     .caption = "",
     .left = 120,
     .top = 360,
     .width = 7095,
     .height = 2205,
     .tabIndex = 0,
     .accessibleName = "Enter Original text:",
     .accessibleDescription = "Type or paste a plain or an enciphered text. The box below "
                              "follows as you type. Tab moves on to the rotation."},
    {.name = "Label2",
     .caption = "Rotate by",
     .left = 120,
     .top = 2760,
     .width = 1095,
     .height = 255,
     .tabIndex = 2,
     .accessibleDescription = "Names the rotation box and the scroll bar beside it."},
    {.name = "txtRotate",
     .caption = "0",
     .left = 960,
     .top = 2760,
     .width = 495,
     .height = 255,
     .tabIndex = 3,
     .accessibleName = "Rotate by",
     .accessibleDescription = "The rotation added to every letter. It takes effect when you "
                              "leave the box. Typing & steps it up by one and ( down by one."},
    {.name = "HSRotate",
     .caption = "",
     .left = 1440,
     .top = 2760,
     .width = 1575,
     .height = 255,
     .tabIndex = 4,
     .accessibleName = "Rotate by",
     .accessibleDescription = "Sets the rotation from 0 to 25. The arrow keys step it by one, "
                              "Page Up and Page Down by five, Home and End go to either end.",
     .min = 0,
     .max = 25,
     .value = 0},
    {.name = "Label4",
     .caption = "Multiply by:",
     .left = 3240,
     .top = 2760,
     .width = 855,
     .height = 255,
     .tabIndex = 8,
     .accessibleDescription = "Names the multiplier box beside it."},
    {.name = "txtMultiply",
     .caption = "",
     .left = 4080,
     .top = 2760,
     .width = 1215,
     .height = 285,
     .tabIndex = 9,
     .accessibleName = "Multiply by:",
     .accessibleDescription =
         "The multiplication factor applied to every letter. An empty box counts as 0."},
    {.name = "cmdExit",
     .caption = "Exit",
     .left = 6120,
     .top = 2640,
     .width = 1095,
     .height = 495,
     .tabIndex = 7,
     .accessibleName = "Exit",
     .accessibleDescription = "Ends the program at once. Space presses it."},
    {.name = "Label3",
     .caption = "Altered version of text",
     .left = 120,
     .top = 3120,
     .width = 3735,
     .height = 255,
     .tabIndex = 6,
     .accessibleDescription = "Names the output box below it."},
    {.name = "txtDecrypted",
     .caption = "",
     .left = 120,
     .top = 3360,
     .width = 7095,
     .height = 2205,
     .tabIndex = 5,
     .accessibleName = "Altered version of text",
     .accessibleDescription = "The input in capitals with every letter rewritten. Read-only: "
                              "select and copy from it.",
     .locked = true},
}};

// The window's icon: the two bitmaps drawn by hand (icon/*.xpm, compiled in), and the larger
// pictures the build draws from the scalable icon, so that a dock or task switcher showing it
// large shows it sharp.
extern const char* const kIcon16Xpm[];
extern const char* const kIcon32Xpm[];
inline constexpr std::array<const char* const*, 2> kIcon{kIcon16Xpm, kIcon32Xpm};
inline constexpr std::array<const char*, 4> kLargeIcon{
    ":/korvane/icon-48.png", ":/korvane/icon-64.png", ":/korvane/icon-128.png",
    ":/korvane/icon-256.png"};

// The window opens at 8220 × 5685 twips and can shrink no further than what shows every
// control (the Exit button ends at 7215, the output box at 5565, each with a 120 margin);
// at that width the large boxes are exactly as wide as stored.
inline constexpr runtime::FormDescription kForm{
    .caption = "Korvane",
    .clientWidth = 8220,
    .clientHeight = 5685,
    .minClientWidth = 7335,
    .minClientHeight = 5685,
    .accessibleDescription = KORVANE_USAGE_NOTE,
    .iconPictures = kIcon,
    .largeIconResources = kLargeIcon,
};

// The row of the named control, found while compiling: a name the table lacks does not compile.
consteval const ControlDescription& row(std::string_view name) {
    for (const ControlDescription& row : kControls) {
        if (std::string_view(row.name) == name)
            return row;
    }
    throw "the stored window has no control of that name";
}

}  // namespace korvane::window::frm_main
