#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "runtime/events.h"
#include "runtime/form_description.h"

namespace korvane::runtime {

// A control of a form: a named Qt widget with the runtime's properties and events. The form
// owns the controls; the widgets are the form's children.
class Control : public QObject {
public:
    Control(const ControlDescription& description, QWidget* widget);

    QString name() const { return objectName(); }
    int tabIndex() const { return tabIndex_; }
    QWidget* widget() const { return widget_; }

    // Width in twips. A negative width is an invalid property value.
    double width() const;
    void setWidth(double twips);

    // Focus moving from one control of the form to another.
    EventHandler GotFocus;
    EventHandler LostFocus;

private:
    int tabIndex_;
    QPointer<QWidget> widget_;
};

}  // namespace korvane::runtime
