// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/scroll_bar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "runtime/events.h"
#include "runtime/form.h"

namespace korvane::runtime {
namespace {

// Qt's horizontal scroll bar steps back with Right and End unless its controls are inverted,
// and then steps back with Down and Page Down; this one takes every key the way it points.
class KeyedScrollBar final : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->modifiers() & ~Qt::KeypadModifier) {
            QScrollBar::keyPressEvent(event);
            return;
        }
        switch (event->key()) {
            case Qt::Key_Right:
            case Qt::Key_Down:
                triggerAction(SliderSingleStepAdd);
                break;
            case Qt::Key_Left:
            case Qt::Key_Up:
                triggerAction(SliderSingleStepSub);
                break;
            case Qt::Key_PageDown:
                triggerAction(SliderPageStepAdd);
                break;
            case Qt::Key_PageUp:
                triggerAction(SliderPageStepSub);
                break;
            case Qt::Key_Home:
                triggerAction(SliderToMinimum);
                break;
            case Qt::Key_End:
                triggerAction(SliderToMaximum);
                break;
            default:
                QScrollBar::keyPressEvent(event);
                return;
        }
        event->accept();
    }

    // The style draws no focus on a scroll bar; this one shows it as the style shows a focused
    // line edit's, in a frame of the palette's highlight round the whole bar.
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(0.5, 0.5);
        QColor highlight = palette().color(QPalette::Highlight);
        painter.setPen(highlight);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0, 0, -1, -1), 2, 2);
        highlight.setAlpha(110);
        painter.setPen(highlight);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -2, -2), 1.7, 1.7);
    }
};

QScrollBar* makeBar(const ControlDescription& description, QWidget* form) {
    auto* bar = new KeyedScrollBar(Qt::Horizontal, form);
    bar->setRange(description.min, description.max);
    bar->setValue(description.value);
    bar->setSingleStep(1);
    bar->setPageStep(5);
    bar->setTracking(false);               // Change follows the released thumb
    bar->setFocusPolicy(Qt::StrongFocus);  // in the tab order; the keys step it
    return bar;
}

}  // namespace

HScrollBar::HScrollBar(Form& form, const ControlDescription& description)
    : Control(form, description, makeBar(description, &form)),
      bar_(static_cast<QScrollBar*>(widget())) {
    connect(bar_, &QScrollBar::valueChanged, this, &HScrollBar::Change);
}

qint16 HScrollBar::value() const {
    return static_cast<qint16>(bar_->value());
}

void HScrollBar::setValue(qint16 value) {
    if (value < bar_->minimum() || value > bar_->maximum())
        throw invalidPropertyValueError();
    writeRaisingEvents([&] { bar_->setValue(value); });
}

}  // namespace korvane::runtime
