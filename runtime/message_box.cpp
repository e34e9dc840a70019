// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "runtime/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace korvane::runtime {
namespace {

void ShowModal(const MessageBoxRequest& request) {
    QString shown = request.prompt;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(
        request.icon == MessageBoxIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
        request.title, shown, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);  // the text may hold what the user typed
    box.exec();
}

MessageBoxPresenter& Presenter() {
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

void ShowMessageBox(const MessageBoxRequest& request) {
    if (Presenter()) {
        Presenter()(request);
    } else {
        ShowModal(request);
    }
}

void MsgBox(const QString& prompt) {
    ShowMessageBox({QCoreApplication::applicationName(), prompt, MessageBoxIcon::None});
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    return std::exchange(Presenter(), std::move(presenter));
}

}  // namespace korvane::runtime
