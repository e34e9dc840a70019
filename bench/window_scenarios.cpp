// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "window_scenarios.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QTextDocument>
#include <cstdio>
#include <memory>

#include "bench/sample_text.h"
#include "cipher/transform.h"
#include "text/view/text_view.h"
#include "window/frm_main.h"
#include "window_driver.h"

namespace korvane::bench {
namespace {

using korvane::window::frmMain;

constexpr int kMemoryKeystrokes = 60;

// The input box is a text view: the benchmark places its caret and empties its undo history
// through it and its document. Every other box is reached only as a QWidget.
text::TextView* inputEditor(frmMain& window) {
    auto* editor = qobject_cast<text::TextView*>(window.txtOriginal.widget());
    if (editor == nullptr)
        qFatal("The input box is not a text view");
    return editor;
}

// Gives the control the keyboard focus and checks that it, or a widget inside it, took it.
void focusOn(runtime::Control& control) {
    korvane::bench::focusOn(control.widget());
}

// Counts the paint events of the output box: a timed action that changes the output must have
// repainted it, or the time would leave the painting out.
class OutputPaints final : public QObject {
public:
    explicit OutputPaints(frmMain& window) {
        auto* view = qobject_cast<QAbstractScrollArea*>(window.txtDecrypted.widget());
        if (view == nullptr)
            qFatal("The output box is not a scroll area");
        view->viewport()->installEventFilter(this);
    }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int count_ = 0;
};

std::unique_ptr<frmMain> showWindow() {
    auto window = std::make_unique<frmMain>();
    showActivated(*window);
    return window;
}

// Puts the sample text on the clipboard, which then holds its only copy, as when the user copied
// it in another program.
void copyToClipboard(const WindowRun& run) {
    QGuiApplication::clipboard()->setText(asciiText(run.textLength, run.lineLength));
}

// The caret in the middle of the input, and both boxes scrolled to show its line: each
// keystroke then changes a line in view in either box.
void placeCaretInMiddle(frmMain& window) {
    text::TextView* input = inputEditor(window);
    const qsizetype middle = input->editor().document().length() / 2;
    input->editor().setCursorPosition(middle);
    input->ensureVisible(middle);
    auto* output = qobject_cast<text::TextView*>(window.txtDecrypted.widget());
    if (output == nullptr)
        qFatal("The output box is not a text view");
    output->ensureVisible(middle);
}

// The window with the multiplier at 3 and the focus in the empty input box.
std::unique_ptr<frmMain> showReadyWindow() {
    std::unique_ptr<frmMain> window = showWindow();
    focusOn(window->txtMultiply);
    press(Qt::Key_A, Qt::ControlModifier);
    type('3');
    focusOn(window->txtOriginal);
    finishEvents();
    return window;
}

// The window as a user leaves it before the measured actions: the text pasted into the input
// box with Ctrl+V (that paste timed), the clipboard emptied, the caret in the middle of the text.
struct OpenWindow {
    std::unique_ptr<frmMain> window;
    Timing paste;
};

OpenWindow openWithText(const WindowRun& run) {
    OpenWindow open{showReadyWindow(), {}};
    copyToClipboard(run);
    open.paste = timeAction([] { press(Qt::Key_V, Qt::ControlModifier); });
    QGuiApplication::clipboard()->clear();
    placeCaretInMiddle(*open.window);
    finishEvents();
    return open;
}

// The multiplier box selected with Ctrl+A and overtyped with one digit; returns its time.
Timing changeMultiplier(frmMain& window, char digit) {
    focusOn(window.txtMultiply);
    press(Qt::Key_A, Qt::ControlModifier);
    return timeAction([digit] { type(digit); });
}

// A letter of the alphabet for each keystroke, so that the typed text is not one repeated key.
char letter(int keystroke) {
    return char('a' + keystroke % 26);
}

// The output box must show the transform of the input under the rotation and multiplier boxes,
// as the window's recompute defines it; a benchmark of a window that shows something else
// measures nothing.
bool outputIsRight(frmMain& window) {
    const QString input = window.txtOriginal.text();
    const QString output = window.txtDecrypted.text();
    const QString expected = cipher::TransformText(input, qint16(window.txtRotate.text().toShort()),
                                                   qint16(window.txtMultiply.text().toShort()))
                                 .value_or(QString());
    print("input_chars", double(input.size()));
    if (output == expected)
        return true;
    std::fprintf(stderr, "The output box shows %lld characters that are not the transform\n",
                 static_cast<long long>(output.size()));
    return false;
}

int startup() {
    frmMain window;
    return runStartup(window);
}

// One Ctrl+V of what another program offers on the clipboard, into the window as it starts or
// with a multiplier typed first; the output is checked after the peak was read.
int clipboardPaste(const WindowRun& run) {
    frmMain window;
    const int status =
        runClipboardPaste(run, {&window, window.txtOriginal.widget(), window.txtMultiply.widget(),
                                [&window] { return window.txtOriginal.length(); }});
    return status == 0 && outputIsRight(window) ? 0 : 2;
}

bool outputRepainted(const OutputPaints& paints, int before) {
    if (paints.count() > before)
        return true;
    std::fputs("The output box was not repainted\n", stderr);
    return false;
}

int keystrokes(const WindowRun& run) {
    OpenWindow open = openWithText(run);
    const OutputPaints paints(*open.window);
    for (int keystroke = 0; keystroke < run.repetitions; ++keystroke) {
        const int before = paints.count();
        print("keystroke", timeAction([=] { type(letter(keystroke)); }));
        if (!outputRepainted(paints, before))
            return 2;
    }
    return outputIsRight(*open.window) ? 0 : 2;
}

int multiplierChanges(const WindowRun& run) {
    OpenWindow open = openWithText(run);
    const OutputPaints paints(*open.window);
    for (int change = 0; change < run.repetitions; ++change) {
        const int before = paints.count();
        print("multiplier", changeMultiplier(*open.window, change % 2 == 0 ? '5' : '3'));
        if (!outputRepainted(paints, before))
            return 2;
    }
    return outputIsRight(*open.window) ? 0 : 2;
}

// The scroll bar stepped with the arrow keys, right then left: the rotation 1, then 0 again.
int scrollSteps(const WindowRun& run) {
    OpenWindow open = openWithText(run);
    focusOn(open.window->HSRotate);
    for (int step = 0; step < run.repetitions; ++step) {
        const Qt::Key key = step % 2 == 0 ? Qt::Key_Right : Qt::Key_Left;
        print("scroll", timeAction([key] { press(key); }));
    }
    return outputIsRight(*open.window) ? 0 : 2;
}

// Ctrl+A and Delete empty the input box and its undo history is cleared, untimed, so that no
// paste keeps the text of the one before; then Ctrl+V is timed.
int pastes(const WindowRun& run) {
    const std::unique_ptr<frmMain> ready = showReadyWindow();
    frmMain& window = *ready;
    copyToClipboard(run);
    for (int paste = 0; paste < run.repetitions; ++paste) {
        press(Qt::Key_A, Qt::ControlModifier);
        press(Qt::Key_Delete);
        inputEditor(window)->editor().document().clearUndoRedoStacks();
        finishEvents();
        print("paste", timeAction([] { press(Qt::Key_V, Qt::ControlModifier); }));
    }
    QGuiApplication::clipboard()->clear();
    return outputIsRight(window) ? 0 : 2;
}

// The text pasted into the empty input box and the paste undone with Ctrl+Z, which empties both
// boxes again; only the undo is timed.
int undos(const WindowRun& run) {
    const std::unique_ptr<frmMain> ready = showReadyWindow();
    frmMain& window = *ready;
    copyToClipboard(run);
    for (int undo = 0; undo < run.repetitions; ++undo) {
        press(Qt::Key_V, Qt::ControlModifier);
        finishEvents();
        if (window.txtOriginal.text().size() != run.textLength) {
            std::fputs("The paste did not put the whole text in\n", stderr);
            return 2;
        }
        print("undo", timeAction([] { press(Qt::Key_Z, Qt::ControlModifier); }));
        if (!window.txtOriginal.text().isEmpty()) {
            std::fputs("Ctrl+Z did not undo the paste\n", stderr);
            return 2;
        }
    }
    QGuiApplication::clipboard()->clear();
    return outputIsRight(window) ? 0 : 2;
}

// What a user does with a long text: paste it, type 60 letters in its middle, change the
// multiplier; with Copy, then select the whole output in its box, copy it and paste it
// elsewhere. The undo history stays as the user left it. The peak is read before anything is
// checked.
int peakMemory(const WindowRun& run) {
    OpenWindow open = openWithText(run);
    frmMain& window = *open.window;
    print("paste", open.paste);
    focusOn(window.txtOriginal);
    for (int keystroke = 0; keystroke < kMemoryKeystrokes; ++keystroke)
        print("keystroke", timeAction([=] { type(letter(keystroke)); }));
    print("multiplier", changeMultiplier(window, '5'));
    // Copied out: the clipboard read as text, as the program it is pasted into asks for it;
    // that is when the box's copy may build what it offers.
    QString pasted;
    if (run.scenario == WindowScenario::Copy) {
        focusOn(window.txtDecrypted);
        press(Qt::Key_A, Qt::ControlModifier);
        print("copy", timeAction([] { press(Qt::Key_C, Qt::ControlModifier); }));
        pasted = QGuiApplication::clipboard()->text();
    }
    print("peak_kib", double(peakResidentKiB()));
    if (run.scenario == WindowScenario::Copy) {
        if (pasted != window.txtDecrypted.text()) {
            std::fprintf(stderr, "Ctrl+C copied %lld characters that are not the whole output\n",
                         static_cast<long long>(pasted.size()));
            return 2;
        }
    }
    return outputIsRight(window) ? 0 : 2;
}

}  // namespace

int runWindowScenario(const WindowRun& run) {
    switch (run.scenario) {
        case WindowScenario::Startup:
            return startup();
        case WindowScenario::Keystroke:
            return keystrokes(run);
        case WindowScenario::Multiplier:
            return multiplierChanges(run);
        case WindowScenario::Scroll:
            return scrollSteps(run);
        case WindowScenario::Paste:
            return pastes(run);
        case WindowScenario::Memory:
        case WindowScenario::Copy:
            return peakMemory(run);
        case WindowScenario::Undo:
            return undos(run);
        case WindowScenario::ClipboardPaste:
        case WindowScenario::ClipboardPasteMultiplied:
            return clipboardPaste(run);
    }
    return 1;
}

}  // namespace korvane::bench
