// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

#include "text/accessible/text_attributes.h"

#include <QFontInfo>
#include <QPalette>
#include <QWidget>

namespace korvane::text {
namespace {

QString rgbOf(const QColor& color) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// A font family in the attribute syntax: quoted, with the separators escaped.
QString quotedFamily(QString family) {
    for (const QChar special : {u'\\', u':', u',', u'=', u';', u'"'})
        family.replace(special, QStringLiteral("\\") + special);
    return u'"' + family + u'"';
}

QString alignmentName(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    return QStringLiteral("left");
}

QString styleName(QFont::Style style) {
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

QString accessibleTextAttributes(const QWidget& widget, Qt::Alignment alignment) {
    const QFont font = widget.font();
    const QPalette palette = widget.palette();
    const QString pairs[][2] = {
        {QStringLiteral("font-family"), quotedFamily(font.family())},
        {QStringLiteral("font-size"),
         QString::number(qRound(QFontInfo(font).pointSizeF())) + QStringLiteral("pt")},
        {QStringLiteral("font-weight"),
         font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal")},
        {QStringLiteral("font-style"), styleName(font.style())},
        {QStringLiteral("color"), rgbOf(palette.color(QPalette::Text))},
        {QStringLiteral("background-color"), rgbOf(palette.color(QPalette::Base))},
        {QStringLiteral("text-align"), alignmentName(alignment)},
    };
    QString joined;
    for (const auto& [name, value] : pairs)
        joined += name + u':' + value + u';';
    return joined;
}

}  // namespace korvane::text
