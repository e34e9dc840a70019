// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "runtime/form_description.h"

namespace korvane::runtime {

class Form;

// A control of a form: a named Qt widget with the runtime's properties and events. Controls are
// members of their form class; their widgets are children of the form's window.
class Control : public QObject {
    Q_OBJECT

public:
    ~Control() override;

    QString name() const { return objectName(); }
    int tabIndex() const { return tabIndex_; }
    QWidget* widget() const { return widget_; }

    // Width in twips. A negative width is an invalid property value.
    double width() const;
    void setWidth(double twips);

    // What the mouse pointer and assistive technology tell of the control.
    void setToolTip(const QString& text);
    QString accessibleDescription() const;
    void setAccessibleDescription(const QString& text);

Q_SIGNALS:
    // Focus moving from one control of the form to another.
    void GotFocus();
    void LostFocus();

protected:
    // Takes the widget made for the description, places it and enrols it with the form.
    Control(Form& form, const ControlDescription& description, QWidget* widget);

private:
    Form& form_;
    int tabIndex_;
    QPointer<QWidget> widget_;
    double widthTwips_;  // the width last written, and the pixels it became
    int widthPixels_;
};

}  // namespace korvane::runtime
