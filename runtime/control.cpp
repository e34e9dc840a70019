// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/control.h"

#include "runtime/form.h"
#include "runtime/run_time_error.h"
#include "runtime/twips.h"

namespace korvane::runtime {

Control::Control(Form& form, const ControlDescription& description, QWidget* widget)
    : form_(form), tabIndex_(description.tabIndex), widget_(widget) {
    setObjectName(QString::fromUtf8(description.name));
    widget->setObjectName(objectName());
    widget->setGeometry(TwipsToPixels(description.left), TwipsToPixels(description.top),
                        TwipsToPixels(description.width), TwipsToPixels(description.height));
    widget->setAccessibleName(QString::fromUtf8(description.accessibleName));
    widget->setAccessibleDescription(QString::fromUtf8(description.accessibleDescription));
    form_.Enrol(*this);
}

Control::~Control() {
    form_.Withdraw(*this);
}

double Control::width() const {
    return PixelsToTwips(widget_->width());
}

void Control::setWidth(double twips) {
    // Written so that NaN is refused as well.
    if (!(twips >= 0.0 && twips <= PixelsToTwips(QWIDGETSIZE_MAX))) {
        throw InvalidPropertyValueError();
    }
    widget_->resize(TwipsToPixels(twips), widget_->height());
}

void Control::setToolTip(const QString& text) {
    widget_->setToolTip(text);
}

QString Control::accessibleDescription() const {
    return widget_->accessibleDescription();
}

void Control::setAccessibleDescription(const QString& text) {
    widget_->setAccessibleDescription(text);
}

}  // namespace korvane::runtime
