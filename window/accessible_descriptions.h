#pragma once

class QWidget;

namespace korvane {

// Gives the window and each of its controls an accessible description: what the control is for
// and how to work it from the keyboard. The names come with the stored window description.
void DescribeControls(QWidget& form);

}  // namespace korvane
