// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Destroying the main window while one of its controls has focus: closing the window moves
// focus away after the form's own part is gone, and no handler may run then (a sanitizer build
// also reports any call into the destroyed form).
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "runtime/message_box.h"
#include "window/frm_main.h"

class tst_FormLifetime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void destroyedWithFocus_data();
    void destroyedWithFocus();
};

void tst_FormLifetime::destroyedWithFocus_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("rotation");  // typed into the rotation box beforehand
    QTest::newRow("txtOriginal") << "txtOriginal"
                                 << "5";
    // Leaving the box with seven characters would show a message.
    QTest::newRow("txtRotate holding 1234567") << "txtRotate"
                                               << "1234567";
    QTest::newRow("HSRotate") << "HSRotate"
                              << "5";
    QTest::newRow("txtDecrypted") << "txtDecrypted"
                                  << "5";
    QTest::newRow("cmdExit") << "cmdExit"
                             << "5";
    QTest::newRow("txtMultiply") << "txtMultiply"
                                 << "5";
}

void tst_FormLifetime::destroyedWithFocus() {
    QFETCH(QString, control);
    QFETCH(QString, rotation);
    QList<korvane::runtime::MessageBoxRequest> boxes;
    const auto previous = korvane::runtime::setMessageBoxPresenter(
        [&boxes](const korvane::runtime::MessageBoxRequest& box) { boxes.append(box); });
    auto form = std::make_unique<korvane::window::frmMain>();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->findChild<QLineEdit*>(QStringLiteral("txtRotate"))->setText(rotation);
    QWidget* target = form->findChild<QWidget*>(control);
    QVERIFY(target);
    target->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), target);

    form.reset();
    QCoreApplication::processEvents();
    korvane::runtime::setMessageBoxPresenter(previous);
    QCOMPARE(boxes.size(), 0);
    QCOMPARE(QApplication::focusWidget(), nullptr);
}

QTEST_MAIN(tst_FormLifetime)
#include "tst_form_lifetime.moc"
