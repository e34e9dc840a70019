#include "window/frm_main_description.h"

#include <array>

namespace korvane {
namespace {

using runtime::ControlDescription;
using runtime::ControlKind;

// Geometry in twips relative to the client area; controls later in the list lie over earlier
// ones (txtRotate is drawn over the right part of Label2).
constexpr std::array<ControlDescription, 10> kControls{{
    {.name = "Label1",
     .kind = ControlKind::Label,
     .caption = "Enter Original text:",
     .left = 120,
     .top = 0,
     .width = 3855,
     .height = 255,
     .tabIndex = 1},
    {.name = "txtOriginal",
     .kind = ControlKind::TextBox,
     .caption = "",
     .left = 120,
     .top = 360,
     .width = 7095,
     .height = 2205,
     .tabIndex = 0,
     .accessibleName = "Enter Original text:",
     .multiLine = true},
    {.name = "Label2",
     .kind = ControlKind::Label,
     .caption = "Rotate by",
     .left = 120,
     .top = 2760,
     .width = 1095,
     .height = 255,
     .tabIndex = 2},
    {.name = "txtRotate",
     .kind = ControlKind::TextBox,
     .caption = "0",
     .left = 960,
     .top = 2760,
     .width = 495,
     .height = 255,
     .tabIndex = 3,
     .accessibleName = "Rotate by"},
    {.name = "HSRotate",
     .kind = ControlKind::HScrollBar,
     .caption = "",
     .left = 1440,
     .top = 2760,
     .width = 1575,
     .height = 255,
     .tabIndex = 4,
     .accessibleName = "Rotate by",
     .min = 0,
     .max = 25,
     .value = 0},
    {.name = "Label4",
     .kind = ControlKind::Label,
     .caption = "Multiply by:",
     .left = 3240,
     .top = 2760,
     .width = 855,
     .height = 255,
     .tabIndex = 8},
    {.name = "txtMultiply",
     .kind = ControlKind::TextBox,
     .caption = "",
     .left = 4080,
     .top = 2760,
     .width = 1215,
     .height = 285,
     .tabIndex = 9,
     .accessibleName = "Multiply by:"},
    {.name = "cmdExit",
     .kind = ControlKind::CommandButton,
     .caption = "Exit",
     .left = 6120,
     .top = 2640,
     .width = 1095,
     .height = 495,
     .tabIndex = 7,
     .accessibleName = "Exit"},
    {.name = "Label3",
     .kind = ControlKind::Label,
     .caption = "Altered version of text",
     .left = 120,
     .top = 3120,
     .width = 3735,
     .height = 255,
     .tabIndex = 6},
    {.name = "txtDecrypted",
     .kind = ControlKind::TextBox,
     .caption = "",
     .left = 120,
     .top = 3360,
     .width = 7095,
     .height = 2205,
     .tabIndex = 5,
     .accessibleName = "Altered version of text",
     .multiLine = true,
     .readOnly = true},
}};

constexpr std::array<const char*, 2> kIcon{":/korvane/icon-16.xpm", ":/korvane/icon-32.xpm"};

// The window opens at 8220 × 5685 twips and can shrink no further than what shows every
// control (the Exit button ends at 7215, the output box at 5565, each with a 120 margin);
// at that width the large boxes are exactly as wide as stored.
constexpr runtime::FormDescription kFrmMain{
    .caption = "Korvane",
    .clientWidth = 8220,
    .clientHeight = 5685,
    .minClientWidth = 7335,
    .minClientHeight = 5685,
    .iconResources = kIcon,
    .controls = kControls,
};

}  // namespace

const runtime::FormDescription& FrmMainDescription() {
    return kFrmMain;
}

}  // namespace korvane
