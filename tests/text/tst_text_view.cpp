// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The text view as its user sees it: the caret blinks only with focus, edits made by the program
// keep the reader's place, long lines scroll and repaint right, an input method is told where
// the caret is drawn, and assistive technology is told of every edit and move.
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "shown_view.h"
#include "text_samples.h"
#include "user_steps.h"

using korvane::text::TextEditor;
using korvane::text::TextView;
using namespace Qt::StringLiterals;

namespace {

struct Captured {
    QAccessible::Event type;
    int position;
    int secondPosition;
    QString removed;
    QString inserted;
};
QList<Captured> gEvents;

void captureEvent(QAccessibleEvent* event) {
    Captured captured{event->type(), -1, -1, {}, {}};
    switch (event->type()) {
        case QAccessible::TextInserted: {
            auto* insert = static_cast<QAccessibleTextInsertEvent*>(event);
            captured.position = insert->changePosition();
            captured.inserted = insert->textInserted();
            break;
        }
        case QAccessible::TextRemoved: {
            auto* remove = static_cast<QAccessibleTextRemoveEvent*>(event);
            captured.position = remove->changePosition();
            captured.removed = remove->textRemoved();
            break;
        }
        case QAccessible::TextUpdated: {
            auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
            captured.position = update->changePosition();
            captured.removed = update->textRemoved();
            captured.inserted = update->textInserted();
            break;
        }
        case QAccessible::TextCaretMoved:
            captured.position = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
            break;
        case QAccessible::TextSelectionChanged: {
            auto* selection = static_cast<QAccessibleTextSelectionEvent*>(event);
            captured.position = selection->selectionStart();
            captured.secondPosition = selection->selectionEnd();
            break;
        }
        default:
            return;
    }
    gEvents.append(captured);
}

}  // namespace

class tst_TextView : public QObject, private ShownView {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void caretBlinksOnlyWithFocus();
    void inputMethodQueries();
    void replaceKeepsThePlace_data();
    void replaceKeepsThePlace();
    void scrollRangeFollowsTheLongestLine_data();
    void scrollRangeFollowsTheLongestLine();
    void scrollRangeReachesLinesLaidOutInPart();
    void longLineShowsTheCaret();
    void repaintsLeaveNothingStale_data();
    void repaintsLeaveNothingStale();
    void accessibleEvents_data();
    void accessibleEvents();
};

void tst_TextView::init() {
    QVERIFY(showView(sampleText()));
    gEvents.clear();
}

void tst_TextView::cleanup() {
    QAccessible::installUpdateHandler(nullptr);
    closeView();
}

// The caret blinks while the view has focus, and is not drawn without it.
void tst_TextView::caretBlinksOnlyWithFocus() {
    const int flashTime = QApplication::cursorFlashTime();
    if (flashTime < 2)
        QSKIP("The platform does not blink the caret");
    editor_->setCursorPosition(3);
    const QRect caret = view_->characterRect(3).adjusted(-1, 0, 0, 0);
    const auto caretPixels = [&] { return view_->viewport()->grab(caret).toImage(); };
    const auto blinked = [&] {
        const QImage before = caretPixels();
        return QTest::qWaitFor([&] { return caretPixels() != before; }, flashTime);
    };
    QVERIFY(blinked());
    QVERIFY(blinked());
    next_->setFocus();
    QVERIFY(!blinked());
    const QImage unfocused = caretPixels();
    editor_->setCursorPosition(4);  // the caret's old place is drawn without it
    QCOMPARE(view_->viewport()->grab(caret).toImage(), unfocused);
}

// An input method is told where the caret is drawn, inside its pre-edit while it composes, and
// what the text around the caret is; only an editable view takes its input.
void tst_TextView::inputMethodQueries() {
    view_->setText(u"first\nsecond line\nthird"_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QVERIFY(!view_->testAttribute(Qt::WA_InputMethodEnabled));
    editor_->setReadOnly(false);
    QVERIFY(view_->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(view_->inputMethodQuery(Qt::ImEnabled).toBool(), true);
    editor_->setSelection(9, 13);  // "ond " on the second line
    QCOMPARE(view_->inputMethodQuery(Qt::ImSurroundingText).toString(), u"second line"_s);
    QCOMPARE(view_->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 3);
    QCOMPARE(view_->inputMethodQuery(Qt::ImFont).value<QFont>(), view_->font());
    const QRect caret = view_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QVERIFY(view_->viewport()->geometry().contains(caret.topLeft()));
    QCOMPARE(caret.left(), view_->characterRect(13).left() + view_->viewport()->pos().x());
    // Composing, the caret is drawn after the pre-edit, not where the text's caret is.
    editor_->setCursorPosition(13);
    QInputMethodEvent event(u"ni"_s, {});
    QApplication::sendEvent(view_, &event);
    QCOMPARE(editor_->preedit().text, u"ni"_s);
    QVERIFY(view_->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() > caret.left());
}

void tst_TextView::replaceKeepsThePlace_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("topLine");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");

    // Lines "line 00" to "line 99" of 8 characters each; the view starts at line 50, the
    // selection goes from 482 (line 60) to 491 (line 61).
    QTest::newRow("lines added above") << 42 << 0 << "x\ny\nz"
                                       << "line 50" << 487 << 496;
    QTest::newRow("lines removed above") << 81 << 16 << ""
                                         << "line 50" << 466 << 475;
    QTest::newRow("a change on the top line") << 403 << 2 << "LL\nMM"
                                              << "linLL" << 485 << 494;
    QTest::newRow("the top line's start removed") << 397 << 8 << ""
                                                  << "line 50" << 474 << 483;
    QTest::newRow("inside the selection") << 485 << 3 << "xx\n"
                                          << "line 50" << 482 << 491;
    QTest::newRow("over the caret") << 490 << 4 << "AB"
                                    << "line 50" << 482 << 492;
    QTest::newRow("at the caret") << 491 << 0 << "Q"
                                  << "line 50" << 482 << 492;
    QTest::newRow("below everything") << 720 << 8 << ""
                                      << "line 50" << 482 << 491;
    // As a new key rewrites the output: every line, each as long as before.
    QString rewritten;
    for (int i = 0; i < 100; ++i)
        rewritten += u"LINE %1\n"_s.arg(i, 2, 10, QChar(u'0'));
    QTest::newRow("the whole text rewritten, as long")
        << 0 << 800 << rewritten << "LINE 50" << 482 << 491;
}

void tst_TextView::replaceKeepsThePlace() {
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);
    QFETCH(QString, topLine);
    QFETCH(int, anchor);
    QFETCH(int, caret);

    QString text;
    for (int i = 0; i < 100; ++i)
        text += u"line %1\n"_s.arg(i, 2, 10, QChar(u'0'));
    view_->setText(text);
    editor_->setSelection(482, 491);
    view_->verticalScrollBar()->setValue(50);

    editor_->document().replace(position, removed, inserted);
    text.replace(position, removed, inserted);
    QCOMPARE(editor_->text(), text);
    const int top = view_->firstVisibleLine();
    QCOMPARE(text.mid(editor_->document().lineStart(top),
                      editor_->document().lineEnd(top) - editor_->document().lineStart(top)),
             topLine);
    QCOMPARE(editor_->anchorPosition(), anchor);
    QCOMPARE(editor_->cursorPosition(), caret);
    QCOMPARE(editor_->selectedText(), text.mid(anchor, caret - anchor));
}

void tst_TextView::scrollRangeFollowsTheLongestLine_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("inserted");

    // "short", a line of 5000 a's from 6, a line of 4000 b's from 5007, then "end".
    QTest::newRow("the longest line shortened below another") << 100 << 3000 << QString();
    QTest::newRow("the longest line shortened, still longest") << 100 << 500 << QString();
    QTest::newRow("another line grown past the longest") << 6000 << 0 << QString(3000, u'c');
    QTest::newRow("the longest line removed") << 6 << 5001 << QString();
    QTest::newRow("the two long lines joined") << 5006 << 1 << QString();
    QTest::newRow("the longest line split in two") << 2000 << 0 << u"\n"_s;
    QTest::newRow("an edit in a short line") << 2 << 1 << u"xyz"_s;
}

void tst_TextView::scrollRangeFollowsTheLongestLine() {
    QFETCH(int, position);
    QFETCH(int, removed);
    QFETCH(QString, inserted);

    // Lines this long are not laid out whole: the scroll range comes from the longest one's
    // length, which must be the same after the edit as for the edited text shown afresh.
    QString text = u"short\n"_s + QString(5000, u'a') + u'\n' + QString(4000, u'b') + u"\nend"_s;
    view_->setText(text);
    editor_->document().replace(position, removed, inserted);
    text.replace(position, removed, inserted);
    const int edited = view_->horizontalScrollBar()->maximum();
    view_->setText(text);
    QCOMPARE(edited, view_->horizontalScrollBar()->maximum());
    QVERIFY(edited > 0);
}

// Lines of 1000 characters are laid out only as far as the view reaches: the horizontal scroll
// range still takes them whole, the rest of each as wide as its start, and the view scrolled to
// the end of the range shows where the widest of them ends.
void tst_TextView::scrollRangeReachesLinesLaidOutInPart() {
    const QString line = u"Word wider "_s.repeated(90) + u"end"_s;
    view_->setText((line + u'\n').repeated(5) + line + u" and more"_s);
    const qreal width =
        QFontMetricsF(view_->font(), view_->viewport()).horizontalAdvance(line + u" and more"_s);
    view_->repaint();  // lays out the lines in view, which sets how far the view goes sideways
    QApplication::processEvents();
    QScrollBar* sideways = view_->horizontalScrollBar();
    const int reach = sideways->maximum() + view_->viewport()->width();
    QVERIFY2(reach >= width && reach <= 1.05 * width + sideways->pageStep() / 4,
             qPrintable(u"reaches %1 of %2"_s.arg(reach).arg(width)));
    sideways->setValue(sideways->maximum());
    const qsizetype length = editor_->document().length();
    const QRect end = view_->characterRect(length);
    QVERIFY(view_->viewport()->rect().contains(end.center()));
    // The last word is drawn where its characters are.
    const QRect word = view_->characterRect(length - 4).united(view_->characterRect(length - 1));
    const QImage shown = view_->viewport()->grab().toImage();
    const QRgb background = view_->palette().color(QPalette::Base).rgb();
    bool inked = false;
    for (int y = word.top(); y <= word.bottom(); ++y) {
        for (int x = word.left(); x <= word.right(); ++x)
            inked = inked || shown.pixel(x, y) != background;
    }
    QVERIFY(inked);
}

void tst_TextView::longLineShowsTheCaret() {
    // A line of a megabyte: the caret at its end, and back at its start, are drawn where the
    // view shows them, and a click there finds the same place.
    QString text = u"first\n"_s + QString(1 << 20, u'm') + u"\nlast"_s;
    view_->setText(text);
    for (const QString& keys : {u"Down End"_s, u"Home"_s, u"End Ctrl+Left"_s}) {
        runUserSteps(view_, keys);
        const QRect caret = view_->characterRect(editor_->cursorPosition());
        QVERIFY2(view_->viewport()->rect().contains(caret.center()), qPrintable(keys));
        view_->repaint();
        QCOMPARE(view_->positionAt(caret.topLeft() + QPoint(0, 2)), editor_->cursorPosition());
    }
}

void tst_TextView::repaintsLeaveNothingStale_data() {
    // Steps: keys as runUserSteps() takes them, "type:TEXT", or "insert:POSITION:TEXT" by the
    // program.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("typing on a line") << QStringList{u"Down"_s, u"type:abc"_s};
    QTest::newRow("a line break typed and taken back")
        << QStringList{u"End"_s, u"Return"_s, u"type:x"_s, u"Backspace"_s, u"Backspace"_s};
    QTest::newRow("the caret moved between lines")
        << QStringList{u"Down"_s, u"Down"_s, u"Up"_s, u"Ctrl+End"_s, u"Ctrl+Home"_s};
    QTest::newRow("a selection made and dropped")
        << QStringList{u"Shift+Down"_s, u"Shift+Down"_s, u"Right"_s, u"Up"_s};
    QTest::newRow("lines put in above the caret by the program")
        << QStringList{u"Down"_s, u"Down"_s, u"insert:0:new\nlines\n"_s, u"insert:3:x"_s};
    // A line laid out only as far as the view reached, laid out further as the view goes on.
    QTest::newRow("typing at the end of a line of 1000 characters")
        << QStringList{u"insert:0:"_s + QString(1000, u'n') + u"\n"_s, u"Ctrl+Home"_s, u"End"_s,
                       u"type:abc"_s, u"Home"_s};
}

// After each step, what the window shows, repainted only where the view asked, equals the view
// painted afresh: no line is left as it was before the step.
void tst_TextView::repaintsLeaveNothingStale() {
    QFETCH(QStringList, steps);
    QScreen* screen = window_->screen();
    if (screen->grabWindow(window_->winId()).isNull())
        QSKIP("The platform cannot show what a window holds");
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);  // a caret that does not blink is in both pictures
    editor_->setReadOnly(false);
    QWidget* viewport = view_->viewport();
    const QRect inWindow(viewport->mapTo(window_, QPoint()), viewport->size());
    QCoreApplication::processEvents();
    for (const QString& step : steps) {
        if (step.startsWith(u"type:"))
            QTest::keyClicks(view_, step.section(u':', 1));
        else if (step.startsWith(u"insert:"))
            editor_->document().replace(step.section(u':', 1, 1).toInt(), 0, step.section(u':', 2));
        else
            runUserSteps(view_, step);
        QCoreApplication::processEvents();
        const QImage shown = screen->grabWindow(window_->winId())
                                 .toImage()
                                 .copy(inWindow)
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage fresh = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown != fresh) {
            QApplication::setCursorFlashTime(flashTime);
            QFAIL(qPrintable(u"stale after "_s + step));
        }
    }
    QApplication::setCursorFlashTime(flashTime);
}

void tst_TextView::accessibleEvents_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("secondPosition");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("replace sends only the span")
        << "replace" << int(QAccessible::TextUpdated) << 6 << -1 << "beta"
        << "BETA!";
    QTest::newRow("insert") << "insert" << int(QAccessible::TextInserted) << 11 << -1 << ""
                            << "new\n";
    QTest::newRow("remove") << "remove" << int(QAccessible::TextRemoved) << 0 << -1 << "alpha "
                            << "";
    QTest::newRow("set text") << "setText" << int(QAccessible::TextUpdated) << 0 << -1
                              << sampleText() << "other";
    // Positions count code points: the emoji before the edit is one.
    QTest::newRow("insert after an emoji")
        << "emoji-insert" << int(QAccessible::TextInserted) << 2 << -1 << ""
        << "y";
    QTest::newRow("caret after an emoji")
        << "emoji-key" << int(QAccessible::TextCaretMoved) << 1 << -1 << ""
        << "";
    QTest::newRow("caret moved by a key")
        << "key" << int(QAccessible::TextCaretMoved) << 1 << -1 << ""
        << "";
    QTest::newRow("selection by a key")
        << "shift-key" << int(QAccessible::TextSelectionChanged) << 0 << 6 << ""
        << "";
}

void tst_TextView::accessibleEvents() {
    QFETCH(QString, action);
    QFETCH(int, type);
    QFETCH(int, position);
    QFETCH(int, secondPosition);
    QFETCH(QString, removed);
    QFETCH(QString, inserted);

    // What assistive technology is told, watched where Qt hands it to the platform. Qt tells
    // only while a screen reader's bridge is active: tst_text_view_x11 runs this on the X11
    // platform with the AT-SPI bus.
    if (!QAccessible::isActive())
        QSKIP("no accessibility bridge is active; tst_text_view_x11 runs this");
    QAccessible::installUpdateHandler(captureEvent);
    if (action.startsWith(u"emoji"))
        view_->setText(u"\U0001F600 x"_s);
    gEvents.clear();
    if (action == u"replace")
        editor_->document().replace(6, 4, u"BETA!");
    else if (action == u"insert")
        editor_->document().replace(11, 0, u"new\n");
    else if (action == u"remove")
        editor_->document().replace(0, 6, QStringView());
    else if (action == u"setText")
        view_->setText(u"other"_s);
    else if (action == u"emoji-insert")
        editor_->document().replace(3, 0, u"y");
    else if (action == u"emoji-key")
        runUserSteps(view_, u"Right"_s);
    else if (action == u"key")
        runUserSteps(view_, u"Right"_s);
    else if (action == u"shift-key")
        runUserSteps(view_, u"Ctrl+Shift+Right"_s);
    QAccessible::installUpdateHandler(nullptr);

    const auto found = std::find_if(gEvents.begin(), gEvents.end(),
                                    [&](const Captured& event) { return event.type == type; });
    QVERIFY(found != gEvents.end());
    QCOMPARE(found->position, position);
    QCOMPARE(found->secondPosition, secondPosition);
    QCOMPARE(found->removed, removed);
    QCOMPARE(found->inserted, inserted);
}

QTEST_MAIN(tst_TextView)
#include "tst_text_view.moc"
