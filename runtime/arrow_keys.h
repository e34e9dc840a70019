#pragma once

class QScrollBar;

namespace korvane::runtime {

// Makes Left and Right step a horizontal scroll bar the way they point, one step at a time, as
// on Windows. Qt's scroll bars invert their controls so that Up and Page Up scroll back, which
// on a horizontal bar also makes Right step backwards.
void StepWithArrowKeys(QScrollBar* bar);

}  // namespace korvane::runtime
