// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>
#include <QStringList>
#include <QTest>
#include <utility>

// One text and how a screen reader's boundaries cut it, each cut written with '|' between the
// segments: a row for each boundary kind of the text, in the columns (QString text,
// QAccessible::TextBoundaryType boundary, QStringList segments). Lines, paragraphs and no
// boundary at all are the whole text.
struct SegmentRow {
    const char* text;
    const char* characters;
    const char* words;
    const char* sentences;
};

inline void addSegmentRows(const SegmentRow& row) {
    const QString text = QString::fromUtf8(row.text);
    const auto cut = [](const char* segments) {
        return QString::fromUtf8(segments).split(u'|', Qt::SkipEmptyParts);
    };
    const QStringList whole = text.isEmpty() ? QStringList() : QStringList{text};
    const std::pair<const char*, QStringList> kinds[] = {
        {"char", cut(row.characters)}, {"word", cut(row.words)}, {"sentence", cut(row.sentences)},
        {"paragraph", whole},          {"line", whole},          {"none", whole},
    };
    const QAccessible::TextBoundaryType boundaries[] = {
        QAccessible::CharBoundary,      QAccessible::WordBoundary, QAccessible::SentenceBoundary,
        QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary};
    for (int i = 0; i < 6; ++i)
        QTest::addRow("'%s' %s", row.text, kinds[i].first)
            << text << boundaries[i] << kinds[i].second;
}
