#include "runtime/control.h"

#include "runtime/errors.h"
#include "runtime/twips.h"

namespace korvane::runtime {

Control::Control(const ControlDescription& description, QWidget* widget)
    : QObject(widget), tabIndex_(description.tabIndex), widget_(widget) {
    setObjectName(QString::fromUtf8(description.name));
    widget->setObjectName(objectName());
    widget->setGeometry(TwipsToPixels(description.left), TwipsToPixels(description.top),
                        TwipsToPixels(description.width), TwipsToPixels(description.height));
    if (*description.accessibleName) {
        widget->setAccessibleName(QString::fromUtf8(description.accessibleName));
    }
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

}  // namespace korvane::runtime
