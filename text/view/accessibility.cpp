// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/view/accessibility.h"

#include <QAccessible>
#include <memory>

#include "text/accessible/accessible_text.h"
#include "text/view/accessible_sources.h"
#include "text/view/line_edit.h"
#include "text/view/text_view.h"

namespace korvane::text {
namespace {

// Qt asks the factories for the most derived class first: a LineEdit gets this interface rather
// than Qt's own line-edit one.
QAccessibleInterface* makeAccessibleText(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1StringView(TextView::staticMetaObject.className())) {
        auto* view = static_cast<TextView*>(object);
        return new AccessibleText(view, makeTextViewSource(*view));
    }
    if (className == QLatin1StringView(LineEdit::staticMetaObject.className())) {
        auto* line = static_cast<LineEdit*>(object);
        return new AccessibleText(line, makeLineEditSource(*line));
    }
    return nullptr;
}

}  // namespace

void installTextAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(makeAccessibleText);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace korvane::text
