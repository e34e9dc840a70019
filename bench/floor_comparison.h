// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace korvane::bench {

// Korvane's window against the floor program (the same window in stock Qt widgets that only
// reads the clipboard) in a real X window: a paste of 10 MB that another program (xclip) offers
// on the X clipboard, at 1000-char and at 70-char lines, into the window as it starts and with a
// multiplier typed first, and the start-up. Korvane and the floor run in turn, each run a fresh
// process, and the table gives the medians and their ratios. With a folder for callgrind, each
// paste also runs once under callgrind, which counts the instructions of the paste alone and
// leaves its profile in that folder. Needs an X display (DISPLAY) and xclip; returns 1 without.
int compareWithFloor(const QString& callgrindFolder);

}  // namespace korvane::bench
