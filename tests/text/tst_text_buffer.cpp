// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The text buffer, a gap vector of characters, against a plain string put through the same
// edits: every span read, whether it lies before, after or across the gap, every character and
// the whole text must be the string's, and a copy of the whole text handed out earlier must not
// change under later edits.
#include <QRandomGenerator>
#include <QTest>

#include "text/model/text_buffer.h"

using korvane::text::TextBuffer;
using namespace Qt::StringLiterals;

namespace {

// How the edits of a run are placed and sized.
enum class Edits {
    Typing,  // a few characters at a time, near the last edit, with some backspaces
    Jumps,   // anywhere, replacing up to a few dozen characters, some taken from the text
    Bulk,    // long insertions and removals that outgrow the gap
};

// Characters to insert: letters, line breaks and surrogate pairs (U+1F600, U+10400).
QString randomText(QRandomGenerator& random, qsizetype length) {
    static const QString kPieces[] = {u"a"_s,          u"Z"_s,          u"\n"_s, u"\u2028"_s,
                                      u"\U0001F600"_s, u"\U00010400"_s, u" "_s};
    QString text;
    while (text.size() < length)
        text += kPieces[random.bounded(int(std::size(kPieces)))];
    return text;
}

}  // namespace

class tst_TextBuffer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editsMatchAString_data();
    void editsMatchAString();
};

void tst_TextBuffer::editsMatchAString_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<qsizetype>("startLength");
    QTest::addColumn<int>("steps");

    QTest::newRow("typing into an empty text") << 1u << Edits::Typing << qsizetype(0) << 600;
    QTest::newRow("typing in a long text") << 2u << Edits::Typing << qsizetype(50000) << 600;
    QTest::newRow("typing, another seed") << 3u << Edits::Typing << qsizetype(3000) << 600;
    QTest::newRow("jumps in a short text") << 4u << Edits::Jumps << qsizetype(200) << 800;
    QTest::newRow("jumps in a long text") << 5u << Edits::Jumps << qsizetype(40000) << 800;
    QTest::newRow("bulk edits") << 6u << Edits::Bulk << qsizetype(1000) << 120;
    QTest::newRow("bulk edits, another seed") << 7u << Edits::Bulk << qsizetype(0) << 120;
}

void tst_TextBuffer::editsMatchAString() {
    QFETCH(quint32, seed);
    QFETCH(Edits, edits);
    QFETCH(qsizetype, startLength);
    QFETCH(int, steps);
    QRandomGenerator random(seed);

    QString expected = randomText(random, startLength);
    TextBuffer buffer;
    QString adopted = expected;
    const QChar* storage = adopted.constData();
    buffer.assign(std::move(adopted));
    // The buffer takes the string's storage as it is, without a copy.
    QCOMPARE(buffer.text().constData(), storage);
    QCOMPARE(buffer.text(), expected);

    qsizetype place = expected.size() / 2;
    QString snapshot;
    QString snapshotExpected;
    for (int step = 0; step < steps; ++step) {
        const auto bounded = [&](qsizetype high) { return qsizetype(random.bounded(high + 1)); };
        qsizetype position = 0;
        qsizetype removed = 0;
        QString inserted;
        switch (edits) {
            case Edits::Typing:
                position = std::clamp<qsizetype>(place + bounded(16) - 8, 0, expected.size());
                if (random.bounded(4) == 0)
                    removed = std::min<qsizetype>(bounded(2), expected.size() - position);
                else
                    inserted = randomText(random, bounded(3));
                break;
            case Edits::Jumps:
                position = bounded(expected.size());
                removed = std::min<qsizetype>(bounded(40), expected.size() - position);
                if (random.bounded(3) == 0 && !expected.isEmpty()) {
                    // A piece of the text itself, read from the buffer, goes back in.
                    const qsizetype from = bounded(expected.size() - 1);
                    const qsizetype length =
                        std::min<qsizetype>(bounded(30), expected.size() - from);
                    const QString piece = buffer.span(from, length).toString();
                    QCOMPARE(piece, QStringView(expected).sliced(from, length));
                    buffer.replace(position, removed, piece);
                    expected.replace(position, removed, expected.mid(from, length));
                    place = position + length;
                    continue;
                }
                inserted = randomText(random, bounded(40));
                break;
            case Edits::Bulk:
                position = bounded(expected.size());
                removed = std::min<qsizetype>(bounded(30000), expected.size() - position);
                inserted = randomText(random, bounded(40000));
                break;
        }
        buffer.replace(position, removed, inserted);
        expected.replace(position, removed, inserted);
        place = position + inserted.size();
        QCOMPARE(buffer.size(), expected.size());

        // Spans ending, starting and lying across the place of the edit, where the gap is, and
        // one anywhere.
        const qsizetype around[][2] = {
            {place - bounded(20), place},
            {place, place + bounded(20)},
            {place - bounded(20), place + bounded(20)},
            {bounded(expected.size()), bounded(expected.size())},
        };
        for (const auto& ends : around) {
            const qsizetype from =
                std::clamp<qsizetype>(std::min(ends[0], ends[1]), 0, expected.size());
            const qsizetype to =
                std::clamp<qsizetype>(std::max(ends[0], ends[1]), from, expected.size());
            QCOMPARE(buffer.span(from, to - from), QStringView(expected).sliced(from, to - from));
        }
        for (int probe = 0; probe < 4 && !expected.isEmpty(); ++probe) {
            const qsizetype at = bounded(expected.size() - 1);
            QCOMPARE(buffer.at(at), expected.at(at));
        }
        if (step % 50 == 49) {
            // A copy of the whole text, which shares the buffer's storage, is kept while the next
            // edits go on.
            QCOMPARE(snapshot, snapshotExpected);
            snapshot = step % 100 == 49 ? buffer.text() : buffer.mid(0, buffer.size());
            snapshotExpected = expected;
            QCOMPARE(snapshot, expected);
        }
    }
    QCOMPARE(snapshot, snapshotExpected);
    QCOMPARE(buffer.text(), expected);
}

QTEST_APPLESS_MAIN(tst_TextBuffer)
#include "tst_text_buffer.moc"
