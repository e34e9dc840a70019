// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/message_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>
#include <utility>

namespace korvane::runtime {
namespace {

// Qt's box sets its text off from the left edge, or from the icon, by a spacer and the grid's
// spacing, but lets it run up to the layout's margin on the right. The text gets the same room
// on its right, so that it stands as clear of the right edge as of its left neighbour.
void indentTextFromTheRight(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!grid || !text)
        return;
    int indent = 0;
    for (int i = 0; i < grid->count(); ++i) {
        if (QSpacerItem* spacer = grid->itemAt(i)->spacerItem())
            indent = std::max(indent, spacer->sizeHint().width());
    }
    QMargins margins = text->contentsMargins();
    margins.setRight(margins.right() + indent + std::max(grid->horizontalSpacing(), 0));
    text->setContentsMargins(margins);
}

void showModal(const MessageBoxRequest& request) {
    QString shown = request.prompt;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(
        request.icon == MessageBoxIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
        request.title, shown, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);  // the text may hold what the user typed
    indentTextFromTheRight(box);
    box.exec();
}

MessageBoxPresenter& currentPresenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

void showMessageBox(const MessageBoxRequest& request) {
    if (currentPresenter()) {
        currentPresenter()(request);
    } else {
        showModal(request);
    }
}

void msgBox(const QString& prompt) {
    showMessageBox({QCoreApplication::applicationName(), prompt, MessageBoxIcon::None});
}

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter) {
    return std::exchange(currentPresenter(), std::move(presenter));
}

}  // namespace korvane::runtime
