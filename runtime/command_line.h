// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

#include "runtime/program.h"

namespace korvane::runtime {

// Answers --help (or -h) and --version on standard output, as a command-line program does, before
// any window system is needed, and returns the exit status. Returns nothing when the command
// line asks for neither; Qt's own options are left to Qt.
std::optional<int> answerCommandLine(int argc, char** argv, const ProjectDescription& project);

// The one line said on standard error when no window system could be opened.
QString noDisplayMessage(const char* argv0);

}  // namespace korvane::runtime
