// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/form.h"

#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <algorithm>
#include <utility>

#include "runtime/events.h"
#include "runtime/form_font.h"
#include "runtime/twips.h"

namespace korvane::runtime {
Form::Form(const FormDescription& description)
    : scale_(desktopFontScale()),
      storedClientWidth_(description.clientWidth),
      storedClientPixels_(twipsToPixels(description.clientWidth)) {
    markProgramRunning();
    setFont(formFont(scale_));
    setWindowTitle(QString::fromUtf8(description.caption));
    setAccessibleDescription(QString::fromUtf8(description.accessibleDescription));
    QIcon icon;
    for (const char* const* picture : description.iconPictures)
        icon.addPixmap(QPixmap(picture));
    setWindowIcon(icon);
    largeIconResources_ = description.largeIconResources;
    resize(storedClientPixels_, twipsToPixels(description.clientHeight));
    setMinimumSize(twipsToPixels(description.minClientWidth),
                   twipsToPixels(description.minClientHeight));
    focusChanged_ = connect(qApp, &QApplication::focusChanged, this,
                            [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

Form::~Form() {
    // ~QWidget then closes the window, and focus leaves it when this form's own members are
    // already destroyed: the form must not hear of that any more.
    disconnect(focusChanged_);
}

void Form::enrol(Control& control) {
    controls_.push_back(&control);
    control.widget()->installEventFilter(this);
    // Later controls lie over earlier ones, and every control over the labels.
    if (!qobject_cast<QLabel*>(control.widget()))
        control.widget()->raise();
}

void Form::withdraw(Control& control) noexcept {
    std::erase(controls_, &control);
}

int Form::twipsToPixels(double twips) const {
    return runtime::twipsToPixels(twips, scale_);
}

double Form::pixelsToTwips(int pixels) const {
    return runtime::pixelsToTwips(qRound(pixels / scale_));
}

float Form::clientWidth() const {
    // The stored width reads back as stored while the window keeps the pixels it became, also
    // at a desktop font below the reference, where pixels are fewer than reference pixels.
    if (width() == storedClientPixels_)
        return float(storedClientWidth_);
    return float(pixelsToTwips(width()));
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Q_EMIT Resize();
}

void Form::showEvent(QShowEvent* event) {
    if (!tabOrderApplied_) {
        tabOrderApplied_ = true;
        applyTabOrder();
    }
    QWidget::showEvent(event);
}

void Form::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (largeIconResources_.empty())
        return;
    // Once the window is on the screen, the next time the event loop turns.
    QMetaObject::invokeMethod(
        this,
        [this, pictures = std::exchange(largeIconResources_, {})] { addIconResources(pictures); },
        Qt::QueuedConnection);
}

void Form::addIconResources(std::span<const char* const> resources) {
    QIcon icon = windowIcon();
    for (const char* picture : resources)
        icon.addFile(QString::fromUtf8(picture));
    setWindowIcon(icon);
}

void Form::applyTabOrder() {
    std::vector<Control*> tabOrder;
    for (Control* control : controls_) {
        if (control->widget()->focusPolicy() & Qt::TabFocus)
            tabOrder.push_back(control);
    }
    std::stable_sort(tabOrder.begin(), tabOrder.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1]->widget(), tabOrder[i]->widget());
    if (!tabOrder.empty())
        tabOrder.front()->widget()->setFocus(Qt::OtherFocusReason);
}

bool Form::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        lastFocusInReason_ = static_cast<QFocusEvent*>(event)->reason();
    return false;
}

Control* Form::controlOf(QWidget* widget) const {
    for (; widget && widget != this; widget = widget->parentWidget()) {
        for (Control* control : controls_) {
            if (control->widget() == widget)
                return control;
        }
    }
    return nullptr;
}

void Form::onFocusChanged(QWidget* now) {
    Control* control = controlOf(now);
    // Focus coming back from a message box or another window finds the control it left.
    if (!control || control == active_)
        return;
    QPointer<Control> previous = active_;
    active_ = control;
    if (previous)
        Q_EMIT previous->LostFocus();
    if (active_ != control)
        return;  // the LostFocus handler sent focus elsewhere
    if (lastFocusInReason_ == Qt::MouseFocusReason) {
        // A click takes focus before it places the caret; GotFocus sees the caret where the
        // click put it.
        QMetaObject::invokeMethod(
            this,
            [this, target = QPointer<Control>(control)] {
                if (target && active_ == target)
                    Q_EMIT target->GotFocus();
            },
            Qt::QueuedConnection);
        return;
    }
    Q_EMIT control->GotFocus();
}

}  // namespace korvane::runtime
