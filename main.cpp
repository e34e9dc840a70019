// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include <memory>

#include "runtime/program.h"
#include "window/frm_main.h"
#include "window/project.h"

int main(int argc, char** argv) {
    return korvane::runtime::start(argc, argv, korvane::window::korvaneProject(),
                                   [] { return std::make_unique<korvane::window::frmMain>(); });
}
