#include "window/way_back_hint.h"

#include <QAbstractScrollArea>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QWidget>

#include "cipher/way_back.h"

namespace korvane {

WayBackHint::WayBackHint(const runtime::TextBox& rotation, const runtime::TextBox& multiplier,
                         QObject* parent)
    : QObject(parent), rotation_(rotation), multiplier_(multiplier) {
    // Both small boxes are single-line editors; every change of either, typed or written by a
    // handler, changes the way back.
    for (const runtime::TextBox* box : {&rotation_, &multiplier_}) {
        if (auto* line = qobject_cast<QLineEdit*>(box->widget())) {
            connect(line, &QLineEdit::textChanged, this, [this] { RefreshDescriptions(); });
        }
    }
}

void WayBackHint::Watch(QWidget* widget) {
    watched_.push_back({widget, widget->accessibleDescription()});
    widget->installEventFilter(this);
    // A scroll area's viewport gets the tooltip request first.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        area->viewport()->installEventFilter(this);
    RefreshDescriptions();
}

QString WayBackHint::Current() const {
    return WayBackText(rotation_.text(), multiplier_.text());
}

void WayBackHint::RefreshDescriptions() noexcept {
    try {
        const QString wayBack = Current();
        for (const Watched& entry : watched_) {
            entry.widget->setAccessibleDescription(
                entry.description.isEmpty() ? wayBack : entry.description + u' ' + wayBack);
        }
    } catch (...) {  // out of memory: the descriptions keep their last text
    }
}

bool WayBackHint::eventFilter(QObject* watched, QEvent* event) noexcept {
    if (event->type() != QEvent::ToolTip)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    try {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), Current(), widget);
    } catch (...) {  // out of memory: no tooltip this time
        QToolTip::hideText();
    }
    return true;
}

}  // namespace korvane
