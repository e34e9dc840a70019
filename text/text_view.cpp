// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_view.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>

#include "text/line_breaks.h"
#include "text/primary_selection.h"
#include "text/text_view_accessible.h"

// The view's text, its edits and the document's changes it follows, the caret and the
// selection, the clipboard and the context menu. Layout and painting are in
// text_view_layout.cpp, the keyboard, the mouse, input methods and drag and drop in
// text_view_input.cpp.
namespace korvane::text {
namespace {

// How many surrogate pairs `text` holds. Most texts hold no surrogate at all, which a loop
// without jumps finds at the speed of the vector unit, so a whole rewrite of megabytes costs
// little; only a text with one is walked pair by pair.
qsizetype countPairs(QStringView text) {
    const char16_t* units = text.utf16();
    bool anySurrogate = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        anySurrogate |= (units[i] & 0xF800) == 0xD800;
    if (!anySurrogate)
        return 0;
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    return pairs;
}

QString shortcutText(QKeySequence::StandardKey key) {
    if (key == QKeySequence::UnknownKey ||
        !QGuiApplication::styleHints()->showShortcutsInContextMenus())
        return QString();
    return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

}  // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent), document_(new TextDocument(this)) {
    connect(document_, &TextDocument::contentsAboutToChange, this, &TextView::noteComingChange);
    connect(document_, &TextDocument::contentsChanged, this, &TextView::followChange);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    updateFontMetrics();
    adjustScrollBars();
}

TextView::~TextView() {
    keepPrimarySelection();
}

void TextView::setText(QString text) {
    document_->replace(0, document_->length(), std::move(text));
    wantedX_ = -1;
    forgetLayouts();
    adjustScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    select(0, 0);
}

void TextView::replace(qsizetype position, qsizetype removed, QStringView inserted) {
    document_->replace(position, removed, inserted);
}

qsizetype TextView::surrogatePairCount() const {
    if (surrogatePairs_ < 0) {
        // A pair may lie across the buffer's gap: the text is counted in its two pieces and
        // where they meet.
        const GapBuffer& text = document_->buffer();
        const QStringView before = text.beforeGap();
        const QStringView after = text.afterGap();
        surrogatePairs_ = countPairs(before) + countPairs(after);
        // A high half ending the first piece pairs with nothing in it, a low half starting the
        // second with nothing in that one.
        if (!before.isEmpty() && !after.isEmpty() && before.back().isHighSurrogate() &&
            after.front().isLowSurrogate())
            ++surrogatePairs_;
    }
    return surrogatePairs_;
}

void TextView::setReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setAcceptDrops(!readOnly);
    viewport()->setAcceptDrops(!readOnly);
    if (readOnly && !preedit_.isEmpty()) {
        preedit_.clear();
        layouts_.erase(document_->lineAt(caret_));
        viewport()->update();
    }
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void TextView::editAt(qsizetype position, qsizetype removed, QString text,
                      TextDocument::EditKind kind) {
    if (readOnly_)
        return;
    text = withLineFeeds(std::move(text));
    const qsizetype added = text.size();
    wantedX_ = -1;
    document_->replace(position, removed, std::move(text), kind);
    select(position + added, position + added);
    ensureVisible(caret_);
    restartBlinking();
}

void TextView::insertTyped(const QString& text) {
    // A typed line break is an undo step of its own, as in Qt's editors.
    const bool lineBreak = text == u"\n" || text == u"\r";
    editAt(selectionStart(), selectionEnd() - selectionStart(), text,
           lineBreak ? TextDocument::EditKind::Other : TextDocument::EditKind::Typing);
}

void TextView::insertText(QString text) {
    editAt(selectionStart(), selectionEnd() - selectionStart(), std::move(text),
           TextDocument::EditKind::Other);
}

void TextView::deleteSelection() {
    if (hasSelection())
        editAt(selectionStart(), selectionEnd() - selectionStart(), QString(),
               TextDocument::EditKind::Other);
}

void TextView::undo() {
    if (readOnly_ || !document_->isUndoAvailable())
        return;
    document_->undo();
    setCursorPosition(document_->lastUndoRedoPosition());
    ensureVisible(caret_);
}

void TextView::redo() {
    if (readOnly_ || !document_->isRedoAvailable())
        return;
    document_->redo();
    setCursorPosition(document_->lastUndoRedoPosition());
    ensureVisible(caret_);
}

void TextView::cut() {
    if (readOnly_ || !hasSelection())
        return;
    copy();
    deleteSelection();
}

void TextView::paste() {
    if (readOnly_)
        return;
    // The clipboard's string goes into the document as it is; an empty document takes its
    // storage, so a paste of megabytes is not copied again.
    QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        insertText(std::move(text));
}

void TextView::noteComingChange(qsizetype position, qsizetype removed) {
    if (hasSelection() && position <= selectionEnd() && position + removed >= selectionStart())
        keepPrimarySelection();
    // What assistive technology is told of the edit, read only if it listens.
    const bool listened = QAccessible::isActive();
    coming_.removedText = listened ? document_->mid(position, removed) : QString();
    coming_.position = listened ? textViewOffset(*this, position) : position;
    // The pairs of the span and of the characters either side of it, so that a pair the edit
    // splits or joins is counted too. Without a listener the count is left to be made afresh
    // when asked for: a rewrite of megabytes then walks none of them.
    if (listened && surrogatePairs_ >= 0) {
        const qsizetype from = std::max<qsizetype>(0, position - 1);
        const qsizetype to = std::min(document_->length(), position + removed + 1);
        surrogatePairs_ -= countPairs(document_->span(from, to - from));
    } else {
        surrogatePairs_ = -1;
    }
    coming_.editLine = document_->lineAt(position);
    coming_.lastOldLine = document_->lineAt(position + removed);
    coming_.lineCount = document_->lineCount();
    coming_.firstVisibleLine = firstVisibleLine();
}

void TextView::followChange(qsizetype position, qsizetype removed, qsizetype added) {
    const int editLine = coming_.editLine;
    const int lastOldLine = coming_.lastOldLine;
    const int first = coming_.firstVisibleLine;
    const int lineDelta = document_->lineCount() - coming_.lineCount;
    const int lastNewLine = document_->lineAt(position + added);
    if (surrogatePairs_ >= 0) {
        const qsizetype from = std::max<qsizetype>(0, position - 1);
        const qsizetype to = std::min(document_->length(), position + added + 1);
        surrogatePairs_ += countPairs(document_->span(from, to - from));
    }

    // Layouts above the edit stay, those below move with their lines; the edited line keeps
    // where its slice was placed, so that a long line does not jump sideways.
    std::map<int, LineLayout> kept;
    for (auto& [line, layout] : layouts_) {
        if (line < editLine) {
            kept.emplace(line, std::move(layout));
        } else if (line > lastOldLine) {
            kept.emplace(line + lineDelta, std::move(layout));
        } else if (line == editLine) {
            layout.layout.reset();
            kept.emplace(line, std::move(layout));
        }
    }
    layouts_ = std::move(kept);

    // The line at the top stays at the top; if the edit removed its start, the view goes to
    // where the new text ends. A rewrite of the same length that left as many lines, such as
    // the output under a new key, keeps the view, the caret and the selection where they were.
    const bool rewrite = removed == added && lineDelta == 0;
    int newFirst = first;
    if (first > lastOldLine)
        newFirst = first + lineDelta;
    else if (first > editLine && !rewrite)
        newFirst = lastNewLine;

    // Positions after the edit move with the text; those inside the replaced span go to its end.
    const qsizetype delta = added - removed;
    const auto moved = [&](qsizetype p) {
        return p < position || rewrite ? p : std::max(p + delta, position + added);
    };
    const qsizetype anchor = moved(anchor_);
    const qsizetype caret = moved(caret_);

    adjustScrollBars();
    verticalScrollBar()->setValue(newFirst);
    // With the view where it was, only the edited lines change, and with them every line below
    // when lines came or went.
    if (newFirst == first)
        updateLines(editLine, lineDelta == 0 ? lastNewLine : std::numeric_limits<int>::max());
    else
        viewport()->update();
    notifyTextChange(coming_.position, coming_.removedText,
                     QAccessible::isActive() ? document_->mid(position, added) : QString());
    coming_.removedText.clear();
    Q_EMIT textChanged();
    select(anchor, caret);
}

void TextView::notifyTextChange(qsizetype position, const QString& removed,
                                const QString& inserted) {
    if (!QAccessible::isActive() || (removed.isEmpty() && inserted.isEmpty()))
        return;
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(this, int(position), inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, int(position), removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(this, int(position), removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

QString TextView::selectedText() const {
    QString selected = document_->mid(selectionStart(), selectionEnd() - selectionStart());
    if (QStringView(selected).contains(QChar(QChar::LineSeparator)))
        selected.replace(QChar(QChar::LineSeparator), QChar(u'\n'));
    return selected;
}

qsizetype TextView::clamped(qsizetype position) const {
    position = std::clamp<qsizetype>(position, 0, document_->length());
    if (position > 0 && position < document_->length() &&
        document_->at(position).isLowSurrogate() && document_->at(position - 1).isHighSurrogate())
        --position;
    return position;
}

void TextView::setSelection(qsizetype anchor, qsizetype position) {
    select(anchor, position);
}

void TextView::select(qsizetype anchor, qsizetype caret) {
    anchor = clamped(anchor);
    caret = clamped(caret);
    const qsizetype oldStart = selectionStart();
    const qsizetype oldEnd = selectionEnd();
    const bool caretMoved = caret != caret_;
    if (hasSelection() && anchor == caret)
        keepPrimarySelection();
    anchor_ = anchor;
    caret_ = caret;
    const bool selectionMoved = (oldStart != oldEnd || hasSelection()) &&
                                (oldStart != selectionStart() || oldEnd != selectionEnd());
    if (!caretMoved && !selectionMoved)
        return;
    // A selection may span many lines; a caret that moved without one repaints only its two
    // lines, which restartBlinking() below does.
    if (oldStart != oldEnd || hasSelection())
        viewport()->update();
    if (caretMoved) {
        restartBlinking();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, int(textViewOffset(*this, caret_)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT cursorPositionChanged();
    }
    if (selectionMoved) {
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this, int(textViewOffset(*this, selectionStart())),
                                                int(textViewOffset(*this, selectionEnd())));
            event.setCursorPosition(int(textViewOffset(*this, caret_)));
            QAccessible::updateAccessibility(&event);
        }
        Q_EMIT selectionChanged();
    }
}

void TextView::selectAll() {
    select(0, document_->length());
    updatePrimarySelection();
}

void TextView::copy() const {
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TextView::updatePrimarySelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!hasSelection() || !clipboard->supportsSelection())
        return;
    // The clipboard owns the data, and drops the selection this view offered before.
    primary_ = new PrimarySelection([this] { return selectedText(); });
    clipboard->setMimeData(primary_, QClipboard::Selection);
}

void TextView::keepPrimarySelection() {
    if (primary_)
        primary_->keep();
    primary_ = nullptr;
}

QMenu* TextView::createStandardContextMenu() {
    auto* menu = new QMenu(this);
    const auto add = [&](const char* text, QKeySequence::StandardKey key, const char* name,
                         bool enabled, auto action) {
        QAction* added = menu->addAction(QCoreApplication::translate("QWidgetTextControl", text) +
                                         shortcutText(key));
        added->setObjectName(QString::fromLatin1(name));
        added->setEnabled(enabled);
        connect(added, &QAction::triggered, this, action);
    };
    if (!readOnly_) {
        add("&Undo", QKeySequence::Undo, "edit-undo", document_->isUndoAvailable(),
            [this] { undo(); });
        add("&Redo", QKeySequence::Redo, "edit-redo", document_->isRedoAvailable(),
            [this] { redo(); });
        menu->addSeparator();
        add("Cu&t", QKeySequence::Cut, "edit-cut", hasSelection(), [this] { cut(); });
    }
    QAction* copyAction =
        menu->addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy") +
                        shortcutText(QKeySequence::Copy));
    copyAction->setObjectName(QStringLiteral("edit-copy"));
    copyAction->setEnabled(hasSelection());
    connect(copyAction, &QAction::triggered, this, [this] { copy(); });
    if (!readOnly_) {
        const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
        add("&Paste", QKeySequence::Paste, "edit-paste", clipboard && clipboard->hasText(),
            [this] { paste(); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", hasSelection(),
            [this] { deleteSelection(); });
    }
    menu->addSeparator();
    QAction* selectAllAction =
        menu->addAction(QCoreApplication::translate("QWidgetTextControl", "Select All") +
                        shortcutText(QKeySequence::SelectAll));
    selectAllAction->setObjectName(QStringLiteral("select-all"));
    selectAllAction->setEnabled(!document_->isEmpty());
    connect(selectAllAction, &QAction::triggered, this, [this] { selectAll(); });
    return menu;
}

}  // namespace korvane::text
