// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/message_box_accessible.h"

#include <QAccessibleWidget>
#include <QMessageBox>

namespace korvane::runtime {
namespace {

class MessageBoxAccessible final : public QAccessibleWidget {
public:
    explicit MessageBoxAccessible(QMessageBox* box)
        : QAccessibleWidget(box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override {
        const auto* box = static_cast<const QMessageBox*>(widget());
        switch (kind) {
            case QAccessible::Name:
                return box->windowTitle();
            case QAccessible::Value:
                return box->text();
            case QAccessible::Description:
                // Not the text again: a screen reader speaks the text from the box's label
                // and would speak it a second time from the description.
                return box->informativeText();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = widget()->isModal();
        return state;
    }
};

QAccessibleInterface* messageBoxFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QMessageBox"))
        return nullptr;
    auto* box = qobject_cast<QMessageBox*>(object);
    return box ? new MessageBoxAccessible(box) : nullptr;
}

}  // namespace

void installMessageBoxAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(messageBoxFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace korvane::runtime
