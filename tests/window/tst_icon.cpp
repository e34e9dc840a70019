// SPDX-FileCopyrightText: 2026 Korvane contributors
//
// SPDX-License-Identifier: MIT

// The window's icon at every size and at high DPI, and the scalable icon the desktop installs.
// CTest runs this at QT_SCALE_FACTOR=2: the window then draws at twice its logical size, and its
// 16-pixel icon must come from the 32-pixel picture, not an enlarged 16-pixel one.
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QWindow>

#include "window/frm_main.h"

namespace {

QImage rendered(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

// The window's picture of a size: the hand-made bitmap at 16 and 32 pixels, the scalable icon
// drawn at that size above them.
QImage expectedPicture(int size) {
    if (size > 32) {
        QSvgRenderer svg(QFINDTESTDATA("../../packaging/icons/korvane.svg"));
        return rendered(svg, size);
    }
    QImage image(QFINDTESTDATA(QStringLiteral("../../window/icon/icon-%1.xpm").arg(size)));
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool opaque(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) >= 128;
}

}  // namespace

class tst_Icon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowAtScaleFactor();
    void windowIcon_data();
    void windowIcon();
    void scalableIcon_data();
    void scalableIcon();
};

void tst_Icon::windowAtScaleFactor() {
    QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    korvane::window::frmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowHandle()->devicePixelRatio(), 2.0);
    // Drawn at twice the pixels, not enlarged: the grab has the device size.
    const QPixmap shot = form.grab();
    QCOMPARE(shot.devicePixelRatio(), 2.0);
    QCOMPARE(shot.size(), form.size() * 2);
}

void tst_Icon::windowIcon_data() {
    QTest::addColumn<int>("logicalSize");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("picture");

    QTest::newRow("16 at scale 1") << 16 << 1.0 << 16;
    QTest::newRow("32 at scale 1") << 32 << 1.0 << 32;
    QTest::newRow("16 at scale 2") << 16 << 2.0 << 32;
    // Docks and task switchers ask for the large sizes; each has its own sharp picture.
    QTest::newRow("48 at scale 1") << 48 << 1.0 << 48;
    QTest::newRow("64 at scale 1") << 64 << 1.0 << 64;
    QTest::newRow("128 at scale 1") << 128 << 1.0 << 128;
    QTest::newRow("256 at scale 1") << 256 << 1.0 << 256;
    QTest::newRow("128 at scale 2") << 128 << 2.0 << 256;
}

// The shown window's icon: the title bar's pictures from the start, the larger ones once the
// window has been painted.
void tst_Icon::windowIcon() {
    QFETCH(int, logicalSize);
    QFETCH(qreal, ratio);
    QFETCH(int, picture);

    korvane::window::frmMain form;
    const QSize size(picture, picture);
    if (picture <= 32)
        QVERIFY(form.windowIcon().availableSizes().contains(size));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.windowIcon().availableSizes().contains(size));
    const QPixmap pixmap = form.windowIcon().pixmap(QSize(logicalSize, logicalSize), ratio);
    QCOMPARE(pixmap.size(), QSize(picture, picture));
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QImage pixels = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    pixels.setDevicePixelRatio(1.0);
    QCOMPARE(pixels, expectedPicture(picture));
}

void tst_Icon::scalableIcon_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
}

// The SVG shows the same pencil as the bitmap of that size: the opaque areas mostly overlap,
// the point is at the top left, and the picture is mostly green.
void tst_Icon::scalableIcon() {
    QFETCH(int, size);
    QSvgRenderer svg(QFINDTESTDATA("../../packaging/icons/korvane.svg"));
    QVERIFY(svg.isValid());
    const QImage drawn = rendered(svg, size);
    const QImage bitmap = expectedPicture(size);

    int both = 0;
    int either = 0;
    int green = 0;
    int drawnOpaque = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool a = opaque(drawn, x, y);
            const bool b = opaque(bitmap, x, y);
            both += a && b;
            either += a || b;
            if (a) {
                ++drawnOpaque;
                const QRgb pixel = drawn.pixel(x, y);
                green += qGreen(pixel) > qRed(pixel) + 40 && qGreen(pixel) > qBlue(pixel) + 40;
            }
        }
    }
    QVERIFY2(both * 10 >= either * 6,
             qPrintable(QStringLiteral("overlap %1 of %2").arg(both).arg(either)));
    QVERIFY2(green * 2 >= drawnOpaque,
             qPrintable(QStringLiteral("%1 of %2 green").arg(green).arg(drawnOpaque)));
    // Corners: opaque near the top left (the point), clear at the top right and bottom left.
    const int edge = size / 4;
    bool pointAtTopLeft = false;
    for (int y = 0; y < edge; ++y) {
        for (int x = 0; x < edge; ++x)
            pointAtTopLeft = pointAtTopLeft || opaque(drawn, x, y);
    }
    QVERIFY(pointAtTopLeft);
    QVERIFY(!opaque(drawn, size - 1, 0));
    QVERIFY(!opaque(drawn, 0, size - 1));
}

QTEST_MAIN(tst_Icon)
#include "tst_icon.moc"
