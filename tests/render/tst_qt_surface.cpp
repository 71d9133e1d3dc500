// The drawing surface on real paint devices: where its pixels land, in which colour, and that
// nothing a drawing can hand it breaks the painter.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "render/qt_surface.h"

using rs::drawing::LineStyle;
using rs::render::QtSurface;

namespace {

constexpr QRgb kBlackPixel = 0xFF000000, kWhitePixel = 0xFFFFFFFF;

// A white image with whatever `paint` does on a surface covering all of it.
QImage Paint(const std::function<void(QtSurface&)>& paint, int width = 200, int height = 120) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtSurface surface(painter, QRectF(0, 0, width, height));
        paint(surface);
    }
    return image;
}

// The smallest rectangle holding every pixel that is not white (empty when there is none).
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kWhitePixel) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

class TestQtSurface : public QObject {
    Q_OBJECT

private slots:
    // The drawings' numbers carry red in the low byte; bits above 24 do not count.
    void colourByteOrder() {
        for (const auto& [colour, expected] :
             {std::pair{0x336699u, qRgb(0x99, 0x66, 0x33)}, {0xFF0000FFu, qRgb(255, 0, 0)}}) {
            QCOMPARE(
                Paint([c = colour](QtSurface& s) { s.Line(10, 50, 150, 50, {c}); }).pixel(80, 50),
                expected);
        }
    }

    // Exactly the pixels from one end to the other, inclusive, in full black: no grey neighbours
    // from antialiasing, nothing beyond the ends.
    void axisParallelLinesAreCrisp() {
        for (const QLine line :
             {QLine(60, 20, 10, 20), QLine(30, 5, 30, 100), QLine(40, 40, 41, 40)}) {
            const QImage image = Paint([&](QtSurface& s) {
                s.Line(line.x1(), line.y1(), line.x2(), line.y2(), {rs::drawing::kBlack});
            });
            const QRect expected(QPoint(std::min(line.x1(), line.x2()), line.y1()),
                                 QPoint(std::max(line.x1(), line.x2()), line.y2()));
            QCOMPARE(Ink(image), expected);
            QCOMPARE(image.pixel(expected.topLeft()), kBlackPixel);
            QCOMPARE(image.pixel(expected.bottomRight()), kBlackPixel);
        }
    }

    void boxesIncludeBothCornersAndCircles() {
        const QImage boxes = Paint([](QtSurface& s) {
            s.Box(30, 40, 10, 20, rs::drawing::kBlue, true);
            s.Box(110, 20, 130, 40, rs::drawing::kBlack, false);
        });
        QCOMPARE(Ink(boxes), QRect(QPoint(10, 20), QPoint(130, 40)));
        QCOMPARE(Ink(boxes.copy(0, 0, 100, 120)), QRect(QPoint(10, 20), QPoint(30, 40)));
        QCOMPARE(boxes.pixel(20, 30), qRgb(0, 0, 255));
        QCOMPARE(boxes.pixel(110, 30), kBlackPixel);
        QCOMPARE(boxes.pixel(120, 30), kWhitePixel);  // only the frame

        const QImage circles = Paint([](QtSurface& s) {
            s.Circle(50, 50, 20, rs::drawing::kGreen, true);
            s.Circle(150, 50, 20, rs::drawing::kGreen, false);
        });
        QCOMPARE(circles.pixel(50, 50), qRgb(0, 255, 0));
        QCOMPARE(circles.pixel(150, 50), kWhitePixel);  // an outline only
        const QRect ink = Ink(circles);
        QVERIFY(std::abs(ink.left() - 30) <= 1 && std::abs(ink.right() - 170) <= 1);
        QVERIFY(std::abs(ink.top() - 30) <= 1 && std::abs(ink.bottom() - 70) <= 1);
    }

    // Text stays inside its measured extent. A label over the axis or the element's plane stays
    // readable: the line beneath is cut around the glyphs, and only there.
    void textStaysInsideItsExtentAndInterruptsLines() {
        rs::drawing::TextExtent one, text, umlaut, label;
        const QImage image = Paint([&](QtSurface& s) {
            one = s.MeasureText("o");
            text = s.MeasureText("o [unendlich]");
            umlaut = s.MeasureText("Ä");  // UTF-8: one character, not two bytes
            label = s.MeasureText("PPPP");
            s.Text(40, 30, "o [unendlich]", rs::drawing::kRed);
            s.Line(0, 92, 199, 92, {rs::drawing::kBlack});
            s.Text(20, 85, "PPPP", rs::drawing::kBlack);
        });
        // A readable label: about 9 pt on a screen, wider for a longer text.
        QVERIFY(text.height >= 11 && text.height <= 20);
        QVERIFY(text.width > 5 * one.width && umlaut.width < 2 * one.width);
        const QRect ink = Ink(image.copy(0, 0, 200, 70));
        QVERIFY(QRectF(39, 29, text.width + 2, text.height + 2).contains(QRectF(ink)));
        QVERIFY(ink.left() <= 42 && ink.width() > text.width * 0.8);
        // In the asked colour: no glyph pixel has more blue or green than red.
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            for (int x = ink.left(); x <= ink.right(); ++x) {
                const QRgb c = image.pixel(x, y);
                QVERIFY(qRed(c) >= qGreen(c) && qRed(c) >= qBlue(c));
            }
        }
        int cut = 0;
        // The halo interrupts the line (white up to the glyphs' antialiasing).
        for (int x = 20; x < 20 + int(label.width); ++x) cut += qGray(image.pixel(x, 92)) >= 240;
        QVERIFY2(cut >= 4, qPrintable(QString::number(cut)));
        for (int x : {15, int(20 + label.width + 4)}) QCOMPARE(image.pixel(x, 92), kBlackPixel);
    }

    // A quarter turn counter-clockwise about the top-left corner: the text rises from y = 110
    // and lies right of x = 60.
    void rotatedTextTurnsCounterClockwise() {
        rs::drawing::RotatedFont font;
        font.escapement = 900;
        font.pixelHeight = 14;
        const QRect ink =
            Ink(Paint([&](QtSurface& s) { s.RotatedText(60, 110, "Bildweite", font); }));
        QVERIFY2(ink.height() > 3 * ink.width(), "turned text is tall and narrow");
        QVERIFY(ink.bottom() <= 111 && ink.left() >= 59 && ink.right() <= 60 + 20);
    }

    void paintsOnlyInsideItsAreaAndLeavesThePainterAsItWas() {
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        const QPen pen(Qt::darkCyan, 3, Qt::DashLine);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, false);
        {
            QtSurface surface(painter, QRectF(50, 20, 100, 60));
            surface.Clear();
            surface.Line(0, 50, 199, 50, {rs::drawing::kRed});
            surface.Line(100, 0, 100, 119, {rs::drawing::kRed});
            surface.Line(0, 0, 30, 17, {rs::drawing::kRed, LineStyle::Dotted, 2});
            rs::drawing::RotatedFont font;
            font.escapement = 450;
            surface.RotatedText(20, 20, "x", font);
        }
        QCOMPARE(painter.pen(), pen);
        QVERIFY(!painter.hasClipping());
        QVERIFY(!painter.testRenderHint(QPainter::Antialiasing));
        QCOMPARE(painter.transform(), QTransform());
        painter.end();
        const QRgb grey = QColor(Qt::gray).rgb();
        for (const QPoint outside :
             {QPoint(49, 50), QPoint(150, 50), QPoint(100, 19), QPoint(100, 80)}) {
            QCOMPARE(image.pixel(outside), grey);
        }
        QCOMPARE(image.pixel(50, 50), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(100, 79), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(60, 25), kWhitePixel);  // cleared inside
    }

    void scaleAndTwips() {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        const QtSurface screen(painter, QRectF(30, 40, -20, 50));
        const rs::drawing::ScaleRect r = screen.Scale();
        QCOMPARE(QRectF(r.left, r.top, r.width, r.height), QRectF(10, 40, 20, 50));
        QCOMPARE(screen.TwipsPerPixel(), 15.0);
        QCOMPARE(QtSurface(painter, QRectF(0, 0, 10, 10), 1.2).TwipsPerPixel(), 1.2);
        const QtSurface broken(painter, QRectF(), std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(broken.TwipsPerPixel(), 15.0);
    }

    // Nonsense draws nothing; extremes that are numbers still paint and return.
    void nonsenseDrawsNothingAndDoesNotBreak() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QImage image = Paint([&](QtSurface& s) {
            s.Line(nan, 0, 10, inf, {});
            s.Box(0, 0, nan, 10, rs::drawing::kBlack, true);
            s.Circle(50, 50, -3, rs::drawing::kBlack, true);
            s.Text(nan, 3, "x", rs::drawing::kBlack);
            s.RotatedText(inf, 3, "x", {});
        });
        QVERIFY(Ink(image).isEmpty());
        const QImage extreme = Paint([&](QtSurface& s) {
            s.Line(-1e9, 60, 1e9, 60, {rs::drawing::kBlack, LineStyle::Dotted, INT_MAX});
            s.Circle(0, 0, 1e12, rs::drawing::kBlack, false);
            s.Text(5, 5, "\xff\xfe kaputt \xc3", rs::drawing::kBlack);
            rs::drawing::RotatedFont font;
            font.pixelHeight = INT_MIN;
            font.faceName = std::string(32, 'z');
            s.RotatedText(20, 20, "x", font);
        });
        QCOMPARE(extreme.pixel(100, 60), kBlackPixel);
    }
};

QTEST_MAIN(TestQtSurface)
#include "tst_qt_surface.moc"
