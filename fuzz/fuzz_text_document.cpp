// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// Fuzzes the text document against a plain string with an undo history of its own, kept as
// whole texts: the input is read as a list of edits (insertions, removals and replaces anywhere,
// of text with line feeds, U+2028 and lone surrogate halves, typed, deleted or put in by the
// program), overwrites in place with and without a history, edit blocks, undo and redo. After
// every operation the text, its lines, the line of each position, the longest line and whether
// undo and redo are available must be the string's.
// The document is the one of a text view, whose caret and selection must stay within the text
// and whose line count must be the document's.
#include <QApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "check.h"
#include "text/model/text_document.h"
#include "text/view/text_view.h"

namespace {

using korvane::text::TextDocument;
using korvane::text::TextView;
using Kind = korvane::text::EditKind;

// Reads the input a byte at a time, then zeros.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return at_ >= size_; }
    unsigned byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Text to put in: letters, line feeds, U+2028, carriage returns, pairs and lone halves.
QString readText(Reader& in) {
    static const char16_t kUnits[] = {u'a',  u'b',   u' ',   u'\n', u'\x2028',
                                      u'\r', 0xD83D, 0xDE00, u'x',  u'\n'};
    QString text;
    for (unsigned length = in.byte() % 6; length > 0; --length) {
        const unsigned unit = in.byte();
        if (unit % 16 == 15)
            text += u"\U0001F600";  // a whole pair
        else
            text += QChar(kUnits[unit % std::size(kUnits)]);
    }
    return text;
}

bool isBreak(QChar c) {
    return c == u'\n' || c == QChar(QChar::LineSeparator);
}

// The text as a string, with its undo history as the whole texts before each step, and the
// rules for which edits join the step before: typing on where the typing stopped (a line break
// typed starts a new step), Backspace or Delete on where the deleting stopped, and every edit of
// an edit block. An undo or redo, or the end of a block, ends a run.
struct Model {
    enum class Run { None, Typing, Deleting };

    QString text;
    std::vector<QString> undo;
    std::vector<QString> redo;
    Run run = Run::None;
    qsizetype runAt = 0;  // where typing goes on, or where deleting did
    int depth = 0;
    bool blockStepOpen = false;
    bool blockRecorded = false;

    void replace(qsizetype position, qsizetype removed, const QString& inserted, Kind kind) {
        position = std::clamp<qsizetype>(position, 0, text.size());
        removed = std::clamp<qsizetype>(removed, 0, text.size() - position);
        if (removed == 0 && inserted.isEmpty())
            return;
        redo.clear();
        if (depth > 0) {
            if (blockStepOpen || undo.empty())
                undo.push_back(text);
            blockStepOpen = false;
            blockRecorded = true;
            run = Run::None;
        } else if (kind == Kind::Typing) {
            // Typing over a selection starts a run that the typing after it goes on.
            const bool startsLine = std::any_of(inserted.begin(), inserted.end(), isBreak);
            if (removed > 0 || run != Run::Typing || position != runAt || startsLine)
                undo.push_back(text);
            run = Run::Typing;
            runAt = position + inserted.size();
        } else if (kind == Kind::Deleting && inserted.isEmpty()) {
            if (run != Run::Deleting || (position + removed != runAt && position != runAt))
                undo.push_back(text);
            run = Run::Deleting;
            runAt = position;
        } else {
            undo.push_back(text);
            run = Run::None;
        }
        text.replace(position, removed, inserted);
    }
    void step(std::vector<QString>& from, std::vector<QString>& to) {
        if (from.empty())
            return;
        to.push_back(text);
        text = from.back();
        from.pop_back();
        run = Run::None;
    }
    void begin() {
        if (depth++ == 0)
            blockStepOpen = true;
    }
    void end() {
        if (--depth == 0 && blockRecorded) {
            blockRecorded = false;
            run = Run::None;
        }
    }
};

// The offscreen application and the view, made once for the whole run.
TextView& sharedView() {
    static int argc = 1;
    static char name[] = "fuzz_text_document";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    static TextView* view = [] {
        auto* made = new TextView();
        made->resize(320, 120);
        return made;
    }();
    Q_UNUSED(application);
    return *view;
}

// Every property of the document against the model's text.
void compare(TextDocument& document, const Model& model, TextView& view) {
    const QString& text = model.text;
    FUZZ_CHECK(document.length() == text.size());
    FUZZ_CHECK(document.mid(0, text.size()) == text);
    int line = 0;
    qsizetype start = 0;
    qsizetype longest = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        FUZZ_CHECK(document.lineAt(at) == line);
        if (at == text.size() || isBreak(text[at])) {
            FUZZ_CHECK(document.lineStart(line) == start);
            FUZZ_CHECK(document.lineEnd(line) == at);
            longest = std::max(longest, at - start);
            start = at + 1;
            ++line;
        }
    }
    FUZZ_CHECK(document.lineCount() == line);
    FUZZ_CHECK(document.longestLineLength() == longest);
    FUZZ_CHECK(document.isUndoAvailable() == !model.undo.empty());
    FUZZ_CHECK(document.isRedoAvailable() == !model.redo.empty());
    FUZZ_CHECK(view.editor().document().lineCount() == line);
    FUZZ_CHECK(view.editor().cursorPosition() >= 0 &&
               view.editor().cursorPosition() <= text.size());
    FUZZ_CHECK(view.editor().anchorPosition() >= 0 &&
               view.editor().anchorPosition() <= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TextView& view = sharedView();
    TextDocument& document = view.editor().document();
    Reader in(data, size);

    Model model;
    model.text = readText(in) + readText(in) + readText(in);
    document.replace(0, document.length(), model.text);
    document.clearUndoRedoStacks();

    // Each edit is announced before and after, with lengths that add up.
    qsizetype announcedLength = -1;
    qsizetype announcedRemoved = -1;
    const auto before = QObject::connect(
        &document, &TextDocument::contentsAboutToChange,
        [&](qsizetype position, qsizetype removed) {
            FUZZ_CHECK(announcedLength < 0);
            FUZZ_CHECK(position >= 0 && removed >= 0 && position + removed <= document.length());
            announcedLength = document.length();
            announcedRemoved = removed;
        });
    const auto after = QObject::connect(
        &document, &TextDocument::contentsChanged, [&](const korvane::text::TextChange& change) {
            FUZZ_CHECK(announcedLength >= 0 && change.removed == announcedRemoved);
            FUZZ_CHECK(document.length() == announcedLength - change.removed + change.added);
            FUZZ_CHECK(change.position + change.added <= document.length());
            FUZZ_CHECK(change.lines.first == document.lineAt(change.position));
            FUZZ_CHECK(change.lines.lastAdded == document.lineAt(change.position + change.added));
            announcedLength = -1;
        });

    for (int ops = 0; ops < 64 && !in.atEnd(); ++ops) {
        const unsigned op = in.byte();
        // Most places are in the text or at its end; some lie past it and must be clamped.
        const qsizetype place = qsizetype(in.byte() * (model.text.size() + 1) / 250);
        switch (op % 13) {
            case 0:
            case 1:
            case 2: {  // typing, one character or a pair at a time
                const QString typed = readText(in);
                for (qsizetype i = 0, at = place; i < typed.size(); ++i, ++at) {
                    document.replace(at, 0, QStringView(typed).sliced(i, 1), Kind::Typing);
                    model.replace(at, 0, typed.mid(i, 1), Kind::Typing);
                }
                break;
            }
            case 3:
            case 4: {  // Backspace or Delete, a few times
                const bool backspace = op & 16;
                for (unsigned count = in.byte() % 5 + 1, at = unsigned(place); count > 0; --count) {
                    const qsizetype from = backspace ? qsizetype(at) - 1 : qsizetype(at);
                    if (from < 0)
                        break;
                    document.replace(from, 1, QStringView(), Kind::Deleting);
                    model.replace(from, 1, QString(), Kind::Deleting);
                    at = unsigned(from);
                }
                break;
            }
            case 5:
            case 6: {  // a replace of any kind, over a span of any length
                const qsizetype removed = in.byte() % 12;
                const QString inserted = readText(in);
                const Kind kind = Kind(in.byte() % 3);
                document.replace(place, removed, inserted, kind);
                model.replace(place, removed, inserted, kind);
                break;
            }
            case 7:
                if (model.depth < 3) {
                    document.beginEditBlock();
                    model.begin();
                } else {
                    document.endEditBlock();
                    model.end();
                }
                break;
            case 8:
                if (model.depth > 0) {
                    document.endEditBlock();
                    model.end();
                }
                break;
            case 9:
            case 10:
                // Undo and redo come from the user, never inside a program's edit block.
                if (model.depth == 0) {
                    const bool undo = op & 16;
                    if (undo) {
                        document.undo();
                        model.step(model.undo, model.redo);
                    } else {
                        document.redo();
                        model.step(model.redo, model.undo);
                    }
                }
                break;
            case 12: {  // an overwrite in place, given a few characters at a time
                const QString given = readText(in);
                const qsizetype at = std::min(place, model.text.size());
                const qsizetype length = std::min(given.size(), model.text.size() - at);
                const qsizetype piece = in.byte() % 3 + 1;
                const bool withoutHistory = (op & 16) && model.depth == 0;
                if (withoutHistory) {
                    document.setUndoRedoEnabled(false);
                    model.undo.clear();
                    model.redo.clear();
                    model.run = Model::Run::None;
                }
                document.overwrite(at, length, [&](qsizetype from, qsizetype wanted, QChar* out) {
                    const qsizetype count = std::min(wanted, piece);
                    FUZZ_CHECK(from >= at && from + count <= at + length);
                    std::copy_n(given.constData() + (from - at), count, out);
                    return count;
                });
                const QString old = model.text.mid(at, length);
                qsizetype same = 0;
                while (same < length && old[same] == given[same])
                    ++same;
                if (withoutHistory) {
                    model.text.replace(at + same, length - same, given.mid(same, length - same));
                    document.setUndoRedoEnabled(true);
                } else if (same < length) {
                    model.replace(at + same, length - same, given.mid(same, length - same),
                                  Kind::Other);
                }
                break;
            }
            case 11:
                // The caret and selection somewhere, and the whole text read once, which moves
                // the gap to the end.
                view.editor().setSelection(place,
                                           qsizetype(in.byte() * (model.text.size() + 1) / 250));
                FUZZ_CHECK(document.text() == model.text);
                break;
        }
        compare(document, model, view);
    }
    while (model.depth > 0) {
        document.endEditBlock();
        model.end();
    }
    QObject::disconnect(before);
    QObject::disconnect(after);
    return 0;
}
