// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "text/view/accessibility.h"
#include "text/view/text_view.h"

// A text view in a window of its own, shown, active and with the keyboard focus, above a line
// edit that the focus goes on to.
struct ShownView {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    korvane::text::TextView* view = new korvane::text::TextView;
    korvane::text::TextEditor* editor = &view->editor();
    QLineEdit* next = new QLineEdit;

    // Shows `text`; false when the window could not be shown or made active.
    bool show(const QString& text) {
        korvane::text::installTextAccessibility();
        view->setAccessibleName(QStringLiteral("Altered version of text"));
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(view);
        layout->addWidget(next);
        window->resize(320, 240);
        view->setText(text);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        // Under a bare X server no window manager makes the window active.
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get()))
            return false;
        view->setFocus();
        return view->hasFocus();
    }
};
