// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/text_attributes.h"

#include <QFontInfo>
#include <QPalette>
#include <QWidget>

namespace korvane::text {
namespace {

QString RgbOf(const QColor& color) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// A font family in the attribute syntax: quoted, with the separators escaped.
QString QuotedFamily(QString family) {
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'})
        family.replace(special, QStringLiteral("\\") + special);
    return u'"' + family + u'"';
}

QString AlignmentName(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    return QStringLiteral("left");
}

QString StyleName(QFont::Style style) {
    switch (style) {
        case QFont::StyleItalic:
            return QStringLiteral("italic");
        case QFont::StyleOblique:
            return QStringLiteral("oblique");
        case QFont::StyleNormal:
            break;
    }
    return QStringLiteral("normal");
}

}  // namespace

QString AccessibleTextAttributes(const QWidget& widget, Qt::Alignment alignment) {
    const QFont font = widget.font();
    const QPalette palette = widget.palette();
    const QString pairs[][2] = {
        {QStringLiteral("font-family"), QuotedFamily(font.family())},
        {QStringLiteral("font-size"),
         QString::number(qRound(QFontInfo(font).pointSizeF())) + QStringLiteral("pt")},
        {QStringLiteral("font-weight"),
         font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal")},
        {QStringLiteral("font-style"), StyleName(font.style())},
        {QStringLiteral("color"), RgbOf(palette.color(QPalette::Text))},
        {QStringLiteral("background-color"), RgbOf(palette.color(QPalette::Base))},
        {QStringLiteral("text-align"), AlignmentName(alignment)},
    };
    QString joined;
    for (const auto& [name, value] : pairs)
        joined += name + u':' + value + u';';
    return joined;
}

}  // namespace korvane::text
