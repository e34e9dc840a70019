// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "runtime/control.h"
#include "runtime/form_description.h"

namespace korvane::runtime {

// A top-level window built from its stored description; its controls are members of the form
// class. It raises its own Resize event, and raises GotFocus and LostFocus when focus moves from
// one of its controls to another; focus leaving for another window (a message box, another
// program) and coming back raises nothing. When first shown, it orders its controls for Tab by
// their tab index and gives focus to the first; once first painted, it adds its icon's larger
// pictures.
class Form : public QWidget {
    Q_OBJECT

public:
    explicit Form(const FormDescription& description);
    ~Form() override;

    // The width of the client area in twips.
    float clientWidth() const;

    // Twips to logical pixels and back at this form's scale: 15 twips to a pixel at the
    // reference desktop font of 9 points, as many fewer as the desktop's font is larger, so that
    // the stored layout grows with the text. Pixels read back as twips of whole reference
    // pixels, multiples of 15, as they do at the reference font. The scale is taken from the
    // application font when the form is made.
    int twipsToPixels(double twips) const;
    double pixelsToTwips(int pixels) const;
    double scale() const { return scale_; }

    // The control that has, or last had, focus.
    Control* activeControl() const { return active_; }

Q_SIGNALS:
    // Raised when the form is first shown and after every change of its size.
    void Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Control;
    void enrol(Control& control);
    void withdraw(Control& control) noexcept;

    void applyTabOrder();
    void addIconResources(std::span<const char* const> resources);
    Control* controlOf(QWidget* widget) const;
    void onFocusChanged(QWidget* now);

    double scale_;
    double storedClientWidth_;  // twips, and the pixels they became
    int storedClientPixels_;
    std::vector<Control*> controls_;  // members of the form class, in the order they were made
    QPointer<Control> active_;
    bool tabOrderApplied_ = false;
    std::span<const char* const> largeIconResources_;  // until they are added
    Qt::FocusReason lastFocusInReason_ = Qt::OtherFocusReason;
    QMetaObject::Connection focusChanged_;
};

}  // namespace korvane::runtime
