// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/scroll_bar.h"

#include <QKeyEvent>
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
};

QScrollBar* MakeBar(const ControlDescription& description, QWidget* form) {
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
    : Control(form, description, MakeBar(description, &form)),
      bar_(static_cast<QScrollBar*>(widget())) {
    connect(bar_, &QScrollBar::valueChanged, this, &HScrollBar::Change);
}

qint16 HScrollBar::value() const {
    return static_cast<qint16>(bar_->value());
}

void HScrollBar::setValue(qint16 value) {
    if (value < bar_->minimum() || value > bar_->maximum())
        throw InvalidPropertyValueError();
    WriteRaisingEvents([&] { bar_->setValue(value); });
}

}  // namespace korvane::runtime
