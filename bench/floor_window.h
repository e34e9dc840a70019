// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

namespace korvane::bench {

// The floor the window benchmark measures Korvane against: Korvane's window built from stock Qt
// widgets, with the same controls at the same places in the same font (labels, line edits, a
// button, a horizontal scroll bar and two empty plain-text editors, each named as Korvane's
// control), that on Ctrl+V in the input box reads the clipboard's text into a string it keeps
// and does nothing else. What Korvane costs beyond it is what Korvane itself does; what both
// cost is the platform's.
class FloorWindow final : public QWidget {
public:
    FloorWindow();

    QPlainTextEdit* input() const { return input_; }
    QLineEdit* multiplier() const { return multiplier_; }
    // The text the last Ctrl+V read from the clipboard.
    const QString& pasted() const { return pasted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The two large boxes take the window's width less the margins, as Korvane's do.
    void resizeEvent(QResizeEvent* event) override;

private:
    double scale_ = 1.0;
    QPlainTextEdit* input_ = nullptr;
    QLineEdit* multiplier_ = nullptr;
    QString pasted_;
};

}  // namespace korvane::bench
