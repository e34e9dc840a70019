// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The floor program of the window benchmark: Korvane's window built from stock Qt widgets, with
// the same controls at the same places in the same font (labels, line edits, a button, a
// horizontal scroll bar and two empty plain-text editors), that on Ctrl+V in the input box reads
// the clipboard's text into a string it keeps and does nothing else. What Korvane costs beyond
// it is what Korvane itself does; what both cost is the platform's. It runs the window
// benchmark's start-up and clipboard-paste scenarios with the same driver as Korvane's window.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cstdio>
#include <string_view>

#include "runtime/form_font.h"
#include "runtime/twips.h"
#include "window/frm_main_description.h"
#include "window_driver.h"

namespace {

using korvane::runtime::ControlDescription;
using korvane::runtime::twipsToPixels;
namespace frm_main = korvane::window::frm_main;

bool named(const ControlDescription& control, std::string_view name) {
    return std::string_view(control.name) == name;
}

class FloorWindow final : public QWidget {
public:
    FloorWindow() {
        const double scale = korvane::runtime::desktopFontScale();
        setFont(korvane::runtime::formFont(scale));
        setWindowTitle(QString::fromUtf8(frm_main::kForm.caption));
        resize(twipsToPixels(frm_main::kForm.clientWidth, scale),
               twipsToPixels(frm_main::kForm.clientHeight, scale));
        for (const ControlDescription& control : frm_main::kControls) {
            QWidget* widget = make(control);
            widget->setGeometry(
                twipsToPixels(control.left, scale), twipsToPixels(control.top, scale),
                twipsToPixels(control.width, scale), twipsToPixels(control.height, scale));
        }
        input_->installEventFilter(this);
    }

    QWidget* input() const { return input_; }
    QWidget* multiplier() const { return multiplier_; }
    qsizetype pastedLength() const { return pasted_.size(); }

protected:
    // Ctrl+V in the input box reads the clipboard and keeps its text; the box shows nothing.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != input_ || event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
            return false;
        pasted_ = QGuiApplication::clipboard()->text();
        return true;
    }

private:
    QWidget* make(const ControlDescription& control) {
        const QString caption = QString::fromUtf8(control.caption);
        if (named(control, "txtOriginal") || named(control, "txtDecrypted")) {
            auto* box = new QPlainTextEdit(this);
            box->setLineWrapMode(QPlainTextEdit::NoWrap);
            box->setReadOnly(control.locked);
            if (named(control, "txtOriginal"))
                input_ = box;
            return box;
        }
        if (named(control, "txtRotate") || named(control, "txtMultiply")) {
            auto* box = new QLineEdit(caption, this);
            if (named(control, "txtMultiply"))
                multiplier_ = box;
            return box;
        }
        if (named(control, "HSRotate")) {
            auto* bar = new QScrollBar(Qt::Horizontal, this);
            bar->setRange(control.min, control.max);
            bar->setValue(control.value);
            return bar;
        }
        if (named(control, "cmdExit")) {
            auto* button = new QPushButton(caption, this);
            connect(button, &QPushButton::clicked, qApp, &QApplication::quit);
            return button;
        }
        return new QLabel(caption, this);
    }

    QPlainTextEdit* input_ = nullptr;
    QLineEdit* multiplier_ = nullptr;
    QString pasted_;
};

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    korvane::bench::WindowRun run;
    if (!korvane::bench::fromArguments(arguments, &run)) {
        std::fprintf(stderr, "usage: %s --scenario <scenario> <length> <line length> <runs>\n",
                     argv[0]);
        return 1;
    }
    QApplication application(argc, argv);
    FloorWindow window;
    switch (run.scenario) {
        case korvane::bench::WindowScenario::Startup:
            return korvane::bench::runStartup(window);
        case korvane::bench::WindowScenario::ClipboardPaste:
        case korvane::bench::WindowScenario::ClipboardPasteMultiplied:
            return korvane::bench::runClipboardPaste(run,
                                                     {&window, window.input(), window.multiplier(),
                                                      [&window] { return window.pastedLength(); }});
        default:
            std::fprintf(stderr, "The floor program has no such scenario\n");
            return 1;
    }
}
