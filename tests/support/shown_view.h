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

// What a suite of the text view's tests works on: a text view in a window of its own, shown,
// active and with the keyboard focus, above a line edit that the focus goes on to. A suite's
// init() shows it and its cleanup() closes it.
class ShownView {
protected:
    // Shows `text`; false when the window could not be shown or made active.
    bool showView(const QString& text) {
        korvane::text::installTextAccessibility();
        shownWindow_ = std::make_unique<QWidget>();
        window_ = shownWindow_.get();
        view_ = new korvane::text::TextView;
        editor_ = &view_->editor();
        next_ = new QLineEdit;
        view_->setAccessibleName(QStringLiteral("Altered version of text"));
        auto* layout = new QVBoxLayout(window_);
        layout->addWidget(view_);
        layout->addWidget(next_);
        window_->resize(320, 240);
        view_->setText(text);
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_))
            return false;
        // Under a bare X server no window manager makes the window active.
        window_->activateWindow();
        QApplication::setActiveWindow(window_);
        if (!QTest::qWaitForWindowActive(window_))
            return false;
        view_->setFocus();
        return view_->hasFocus();
    }
    void closeView() { shownWindow_.reset(); }

    std::unique_ptr<QWidget> shownWindow_;
    QWidget* window_ = nullptr;
    korvane::text::TextView* view_ = nullptr;
    korvane::text::TextEditor* editor_ = nullptr;
    QLineEdit* next_ = nullptr;
};
