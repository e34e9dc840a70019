// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

// What a user does to a text box, step by step, as a row of a table writes it: steps separated
// by '|', each "type:TEXT" (typed, a line feed with Return), "paste:TEXT" (pasted from the
// clipboard with Ctrl+V), "middle:TEXT" (pasted as the primary selection with the middle
// button), "drop:TEXT" (dragged in from another program and dropped), "commit:TEXT" (committed
// by an input method), or else keys as a key sequence names them, such as "Ctrl+Shift+Right",
// several separated by spaces.
struct UserStep {
    enum Action { Type, Paste, PasteSelection, Drop, Commit, Keys } action;
    QString text;
};

inline QList<UserStep> userSteps(const QString& steps) {
    const std::pair<const char16_t*, UserStep::Action> prefixes[] = {
        {u"type:", UserStep::Type},
        {u"paste:", UserStep::Paste},
        {u"middle:", UserStep::PasteSelection},
        {u"drop:", UserStep::Drop},
        {u"commit:", UserStep::Commit}};
    QList<UserStep> parsed;
    for (const QString& step : steps.split(u'|', Qt::SkipEmptyParts)) {
        UserStep next{UserStep::Keys, step};
        for (const auto& [prefix, action] : prefixes) {
            const QStringView name(prefix);
            if (step.startsWith(name))
                next = {action, step.mid(name.size())};
        }
        parsed.append(next);
    }
    return parsed;
}

#ifdef QT_WIDGETS_LIB
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

// Makes the steps on a text box's widget through the events Qt delivers. The mouse and drops
// go to `point` of a scroll area's viewport, or of the widget.
inline void runUserSteps(QWidget* box, const QString& steps, QPoint point = QPoint(2, 2)) {
    auto* scrollArea = qobject_cast<QAbstractScrollArea*>(box);
    QWidget* area = scrollArea ? scrollArea->viewport() : box;
    for (const UserStep& step : userSteps(steps)) {
        switch (step.action) {
            case UserStep::Type:
                for (const QChar character : step.text) {
                    if (character == u'\n')
                        QTest::keyClick(box, Qt::Key_Return);
                    else
                        QTest::keyClicks(box, QString(character));
                }
                break;
            case UserStep::Paste:
                QGuiApplication::clipboard()->setText(step.text);
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                break;
            case UserStep::PasteSelection:
                QGuiApplication::clipboard()->setText(step.text, QClipboard::Selection);
                QTest::mouseClick(area, Qt::MiddleButton, {}, point);
                break;
            case UserStep::Drop: {
                QMimeData data;
                data.setText(step.text);
                QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(area, &enter);
                QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
                QApplication::sendEvent(area, &drop);
                break;
            }
            case UserStep::Commit: {
                QInputMethodEvent event;
                event.setCommitString(step.text);
                QApplication::sendEvent(box, &event);
                break;
            }
            case UserStep::Keys:
                for (const QString& keys : step.text.split(u' ', Qt::SkipEmptyParts)) {
                    const QKeyCombination key = QKeySequence::fromString(keys)[0];
                    QTest::keyClick(box, key.key(), key.keyboardModifiers());
                }
                break;
        }
    }
}
#endif
