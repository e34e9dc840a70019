// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "floor_window.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <string_view>

#include "runtime/form_font.h"
#include "runtime/twips.h"
#include "window/frm_main_description.h"

namespace korvane::bench {
namespace {

using runtime::ControlDescription;
namespace frm_main = window::frm_main;

bool named(const ControlDescription& control, std::string_view name) {
    return std::string_view(control.name) == name;
}

// A stock widget for the control, as Korvane's window has it.
QWidget* makeControl(const ControlDescription& control, QWidget* window) {
    const QString caption = QString::fromUtf8(control.caption);
    if (named(control, "txtOriginal") || named(control, "txtDecrypted")) {
        auto* box = new QPlainTextEdit(window);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setReadOnly(control.locked);
        return box;
    }
    if (named(control, "txtRotate") || named(control, "txtMultiply"))
        return new QLineEdit(caption, window);
    if (named(control, "HSRotate")) {
        auto* bar = new QScrollBar(Qt::Horizontal, window);
        bar->setRange(control.min, control.max);
        bar->setValue(control.value);
        return bar;
    }
    if (named(control, "cmdExit")) {
        auto* button = new QPushButton(caption, window);
        QObject::connect(button, &QPushButton::clicked, qApp, &QApplication::quit);
        return button;
    }
    return new QLabel(caption, window);
}

// The large boxes' margins, left and right together, in twips.
constexpr int kBoxMargins = 240;

}  // namespace

FloorWindow::FloorWindow() : scale_(runtime::desktopFontScale()) {
    const double scale = scale_;
    setFont(runtime::formFont(scale));
    setWindowTitle(QString::fromUtf8(frm_main::kForm.caption));
    resize(runtime::twipsToPixels(frm_main::kForm.clientWidth, scale),
           runtime::twipsToPixels(frm_main::kForm.clientHeight, scale));
    for (const ControlDescription& control : frm_main::kControls) {
        QWidget* widget = makeControl(control, this);
        widget->setObjectName(QString::fromUtf8(control.name));
        widget->setGeometry(runtime::twipsToPixels(control.left, scale),
                            runtime::twipsToPixels(control.top, scale),
                            runtime::twipsToPixels(control.width, scale),
                            runtime::twipsToPixels(control.height, scale));
    }
    input_ = findChild<QPlainTextEdit*>(QStringLiteral("txtOriginal"));
    multiplier_ = findChild<QLineEdit*>(QStringLiteral("txtMultiply"));
    input_->installEventFilter(this);
}

void FloorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int boxWidth = width() - runtime::twipsToPixels(kBoxMargins, scale_);
    for (const char* name : {"txtOriginal", "txtDecrypted"}) {
        if (auto* box = findChild<QPlainTextEdit*>(QString::fromLatin1(name)); box && boxWidth >= 0)
            box->resize(boxWidth, box->height());
    }
}

// Ctrl+V in the input box reads the clipboard and keeps its text; the box shows nothing.
bool FloorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != input_ || event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
        return false;
    pasted_ = QGuiApplication::clipboard()->text();
    return true;
}

}  // namespace korvane::bench
