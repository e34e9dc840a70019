// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/control.h"

#include "runtime/form.h"
#include "runtime/run_time_error.h"
#include "runtime/twips.h"

namespace korvane::runtime {

Control::Control(Form& form, const ControlDescription& description, QWidget* widget)
    : form_(form),
      tabIndex_(description.tabIndex),
      widget_(widget),
      widthTwips_(description.width),
      widthPixels_(form.twipsToPixels(description.width)) {
    setObjectName(QString::fromUtf8(description.name));
    widget->setObjectName(objectName());
    widget->setGeometry(form.twipsToPixels(description.left), form.twipsToPixels(description.top),
                        widthPixels_, form.twipsToPixels(description.height));
    widget->setAccessibleName(QString::fromUtf8(description.accessibleName));
    widget->setAccessibleDescription(QString::fromUtf8(description.accessibleDescription));
    form_.enrol(*this);
}

Control::~Control() {
    form_.withdraw(*this);
}

double Control::width() const {
    // A width written in twips reads back as at the reference font, rounded to a whole reference
    // pixel, while the widget keeps the pixels it became: at a larger font those pixels are not
    // whole reference pixels.
    if (widget_->width() == widthPixels_)
        return pixelsToTwips(qRound(widthTwips_ / kTwipsPerPixel));
    return form_.pixelsToTwips(widget_->width());
}

void Control::setWidth(double twips) {
    // Written so that NaN is refused as well.
    if (!(twips >= 0.0 && twips <= form_.pixelsToTwips(QWIDGETSIZE_MAX))) {
        throw invalidPropertyValueError();
    }
    widthTwips_ = twips;
    widthPixels_ = form_.twipsToPixels(twips);
    widget_->resize(widthPixels_, widget_->height());
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
