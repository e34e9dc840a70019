// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>
#include <optional>

namespace korvane::window {
class frmMain;
}

namespace korvane::testing {

// Watches the three things that recompute the window's output (the input text, the multiplier
// text, the scroll bar's value) and, right after each recompute, works out from the boxes what
// the output box must show: the reference transform of the input when the rotation, the
// multiplier and every letter stay in range, or else the output it showed before. Leaving the
// rotation box with a text it takes brings the output up to date as well, where it can be.
class OutputOracle : public QObject {
public:
    // Connects after the window's own handlers, so it runs after each recompute.
    explicit OutputOracle(window::frmMain& form);

    const QString& expectedOutput() const { return expected_; }
    // How many recomputes had to fail with Overflow so far.
    int failedRecomputes() const { return failed_; }
    int recomputes() const { return recomputes_; }

private:
    void onRecompute();
    void onRotationLeft();
    std::optional<QString> transformOfTheBoxes() const;

    window::frmMain& form_;
    QString expected_;
    int failed_ = 0;
    int recomputes_ = 0;
};

}  // namespace korvane::testing
