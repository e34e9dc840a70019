#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "runtime/control.h"
#include "runtime/events.h"
#include "runtime/form_description.h"

namespace korvane::runtime {

// A top-level window built from its stored description. It owns its controls, raises its own
// Resize event, and raises GotFocus and LostFocus when focus moves from one of its controls to
// another; focus leaving for another window (a message box, another program) and coming back
// raises nothing.
class Form : public QWidget {
public:
    explicit Form(const FormDescription& description);
    ~Form() override;

    // The width of the client area in twips.
    float clientWidth() const;

    // The control that has, or last had, focus.
    Control* activeControl() const { return active_; }

    // Raised when the form is first shown and after every change of its size.
    EventHandler Resize;

protected:
    template <typename ControlType>
    ControlType& Find(const char* name) const;

    void resizeEvent(QResizeEvent* event) noexcept override;
    bool eventFilter(QObject* watched, QEvent* event) noexcept override;

private:
    Control* ControlOf(QWidget* widget) const;
    void OnFocusChanged(QWidget* now);

    std::vector<Control*> controls_;  // owned through their widgets, children of the form
    QPointer<Control> active_;
    Qt::FocusReason lastFocusInReason_ = Qt::OtherFocusReason;
    QMetaObject::Connection focusChanged_;
};

template <typename ControlType>
ControlType& Form::Find(const char* name) const {
    for (Control* control : controls_) {
        if (control->name() == QLatin1String(name)) {
            if (auto* found = dynamic_cast<ControlType*>(control))
                return *found;
        }
    }
    qFatal("The stored form has no control named %s of that kind", name);
}

}  // namespace korvane::runtime
