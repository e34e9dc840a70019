// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QTest>
#include <memory>

#include "message_box_capture.h"
#include "runtime/accessibility.h"
#include "runtime/program.h"
#include "window/frm_main.h"
#include "window/project.h"

// The report of an Overflow in the window, as the user reads it: the error's number and message,
// then the sentence on what overflowed.
inline QString overflowReport(const QString& sentence) {
    return QStringLiteral("Run-time error '6':\n\nOverflow\n\n") + sentence;
}

// A freshly loaded and shown main window whose message boxes are recorded instead of shown,
// so a test sees every box the program asked for without a modal loop.
class WindowFixture {
public:
    WindowFixture() {
        korvane::runtime::installAccessibleInterfaces();
        korvane::runtime::useProject(korvane::window::korvaneProject());
        form_ = std::make_unique<korvane::window::frmMain>();
        form_->show();
        form_->activateWindow();
        exposed_ = QTest::qWaitForWindowExposed(form_.get());
    }

    bool exposed() const { return exposed_; }
    korvane::window::frmMain& form() { return *form_; }

    // The Qt widgets that show the controls, for driving them with keys and mouse clicks.
    QAbstractScrollArea* input() {
        return static_cast<QAbstractScrollArea*>(form_->txtOriginal.widget());
    }
    QLineEdit* rotation() { return static_cast<QLineEdit*>(form_->txtRotate.widget()); }
    QScrollBar* scrollBar() { return static_cast<QScrollBar*>(form_->HSRotate.widget()); }
    QLineEdit* multiplier() { return static_cast<QLineEdit*>(form_->txtMultiply.widget()); }
    QPushButton* exitButton() { return static_cast<QPushButton*>(form_->cmdExit.widget()); }
    QAbstractScrollArea* output() {
        return static_cast<QAbstractScrollArea*>(form_->txtDecrypted.widget());
    }

private:
    MessageBoxCapture capture_;  // made before the window and outlives it

public:
    // Every box the program asked for, in order.
    QList<korvane::runtime::MessageBoxRequest>& boxes = capture_.boxes;

private:
    std::unique_ptr<korvane::window::frmMain> form_;
    bool exposed_ = false;
};
