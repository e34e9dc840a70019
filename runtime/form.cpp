#include "runtime/form.h"

#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <algorithm>

#include "runtime/command_button.h"
#include "runtime/scroll_bar.h"
#include "runtime/text_box.h"
#include "runtime/twips.h"

namespace korvane::runtime {
namespace {

Control* MakeControl(const ControlDescription& description, QWidget* form) {
    switch (description.kind) {
        case ControlKind::TextBox:
            return new TextBox(description, form);
        case ControlKind::CommandButton:
            return new CommandButton(description, form);
        case ControlKind::HScrollBar:
            return new HScrollBar(description, form);
        case ControlKind::Label:
            break;
    }
    return new Control(description, new QLabel(QString::fromUtf8(description.caption), form));
}

// The form's controls are laid out in twips for a small interface font, as the classic form
// designers used: the desktop's family at 7.5 points, a little narrowed, lets every caption
// fit its stored label even in a wide family such as DejaVu Sans.
QFont DefaultFormFont() {
    QFont font = QApplication::font();
    font.setPointSizeF(7.5);
    font.setStretch(95);
    return font;
}

}  // namespace

Form::Form(const FormDescription& description) {
    MarkProgramRunning();
    setFont(DefaultFormFont());
    setWindowTitle(QString::fromUtf8(description.caption));
    QIcon icon;
    for (const char* picture : description.iconResources)
        icon.addFile(QString::fromUtf8(picture));
    setWindowIcon(icon);
    resize(TwipsToPixels(description.clientWidth), TwipsToPixels(description.clientHeight));
    setMinimumSize(TwipsToPixels(description.minClientWidth),
                   TwipsToPixels(description.minClientHeight));

    for (const ControlDescription& control : description.controls) {
        controls_.push_back(MakeControl(control, this));
        controls_.back()->widget()->installEventFilter(this);
    }
    // Later controls lie over earlier ones, and every control over the labels.
    for (Control* control : controls_) {
        if (!qobject_cast<QLabel*>(control->widget()))
            control->widget()->raise();
    }

    std::vector<Control*> tabOrder;
    for (Control* control : controls_) {
        if (control->widget()->focusPolicy() & Qt::TabFocus)
            tabOrder.push_back(control);
    }
    std::stable_sort(tabOrder.begin(), tabOrder.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1]->widget(), tabOrder[i]->widget());
    }
    if (!tabOrder.empty())
        tabOrder.front()->widget()->setFocus(Qt::OtherFocusReason);

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

float Form::clientWidth() const {
    return float(PixelsToTwips(width()));
}

void Form::resizeEvent(QResizeEvent* event) noexcept {
    QWidget::resizeEvent(event);
    Deliver(Resize);
}

bool Form::eventFilter(QObject*, QEvent* event) noexcept {
    if (event->type() == QEvent::FocusIn) {
        lastFocusInReason_ = static_cast<QFocusEvent*>(event)->reason();
    }
    return false;
}

Control* Form::ControlOf(QWidget* widget) const {
    for (; widget && widget != this; widget = widget->parentWidget()) {
        for (Control* control : controls_) {
            if (control->widget() == widget)
                return control;
        }
    }
    return nullptr;
}

void Form::OnFocusChanged(QWidget* now) {
    Control* control = ControlOf(now);
    // Focus coming back from a message box or another window finds the control it left.
    if (!control || control == active_)
        return;
    QPointer<Control> previous = active_;
    active_ = control;
    if (previous)
        Deliver(previous->LostFocus);
    if (active_ != control)
        return;  // the LostFocus handler sent focus elsewhere
    if (lastFocusInReason_ == Qt::MouseFocusReason) {
        // A click takes focus before it places the caret; GotFocus sees the caret where the
        // click put it.
        QMetaObject::invokeMethod(
            this,
            [this, target = QPointer<Control>(control)] {
                if (target && active_ == target)
                    Deliver(target->GotFocus);
            },
            Qt::QueuedConnection);
        return;
    }
    Deliver(control->GotFocus);
}

}  // namespace korvane::runtime
