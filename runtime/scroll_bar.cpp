#include "runtime/scroll_bar.h"

#include <QScrollBar>

#include "runtime/errors.h"

namespace korvane::runtime {
namespace {

QScrollBar* MakeBar(const ControlDescription& description, QWidget* form) {
    auto* bar = new QScrollBar(Qt::Horizontal, form);
    bar->setRange(description.min, description.max);
    bar->setValue(description.value);
    bar->setSingleStep(1);
    bar->setPageStep(5);
    bar->setTracking(false);               // Change follows the released thumb
    bar->setInvertedControls(false);       // Right and End raise the value, as drawn
    bar->setFocusPolicy(Qt::StrongFocus);  // in the tab order; the arrow keys step it
    return bar;
}

}  // namespace

HScrollBar::HScrollBar(const ControlDescription& description, QWidget* form)
    : Control(description, MakeBar(description, form)), bar_(static_cast<QScrollBar*>(widget())) {
    connect(bar_, &QScrollBar::valueChanged, this, [this] { Deliver(Change); });
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
