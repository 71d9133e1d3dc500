// The drawing surface on real paint devices: where its pixels land, in which colour, and that
// nothing a drawing can hand it breaks the painter.
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QWidget>
#include <QtTest>
#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>

#include "render/qt_surface.h"

using rs::drawing::Colour;
using rs::drawing::LineStyle;
using rs::drawing::Pen;
using rs::render::QtSurface;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 120;
const QRgb kWhite = qRgb(255, 255, 255);

// A white image with whatever `paint` does on a surface covering all of it.
QImage Paint(const std::function<void(QtSurface&)>& paint, int width = kWidth,
             int height = kHeight) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QtSurface surface(painter, QRectF(0, 0, width, height));
        paint(surface);
    }
    return image;
}

bool IsWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == kWhite;
}

int Darkness(QRgb c) {
    return 765 - qRed(c) - qGreen(c) - qBlue(c);
}

// The smallest rectangle holding every pixel that is not white (empty when there is none).
QRect Ink(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!IsWhite(image, x, y)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int CountInk(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += IsWhite(image, x, y) ? 0 : 1;
    }
    return n;
}

}  // namespace

class TestQtSurface : public QObject {
    Q_OBJECT

private slots:

    void colourByteOrder_data() {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<QColor>("expected");
        // The drawings' numbers carry red in the low byte.
        QTest::newRow("red 255") << uint(rs::drawing::kRed) << QColor(255, 0, 0);
        QTest::newRow("blue 16711680") << uint(rs::drawing::kBlue) << QColor(0, 0, 255);
        QTest::newRow("mixed 0x336699") << 0x336699u << QColor(0x99, 0x66, 0x33);
        QTest::newRow("bits above 24 ignored") << 0xFF0000FFu << QColor(255, 0, 0);
    }

    void colourByteOrder() {
        QFETCH(uint, colour);
        QFETCH(QColor, expected);
        QCOMPARE(rs::render::ToQColor(colour), expected);
        const QImage image = Paint([&](QtSurface& s) {
            s.Line(10, 50, 150, 50, {colour, LineStyle::Solid, 1});
            s.Box(20, 70, 40, 90, colour, true);
        });
        QCOMPARE(QColor(image.pixel(80, 50)), expected);
        QCOMPARE(QColor(image.pixel(30, 80)), expected);
    }

    void axisParallelLinesAreCrisp_data() {
        QTest::addColumn<QLine>("line");
        QTest::newRow("horizontal") << QLine(10, 20, 60, 20);
        QTest::newRow("horizontal, drawn backwards") << QLine(60, 20, 10, 20);
        QTest::newRow("vertical") << QLine(30, 5, 30, 100);
        QTest::newRow("one pixel") << QLine(40, 40, 41, 40);
    }

    void axisParallelLinesAreCrisp() {
        QFETCH(QLine, line);
        const QImage image = Paint([&](QtSurface& s) {
            s.Line(line.x1(), line.y1(), line.x2(), line.y2(), {rs::drawing::kBlack});
        });
        // Exactly the pixels from one end to the other, inclusive, in full black: no grey
        // neighbours from antialiasing, nothing beyond the ends.
        const QRect expected(
            QPoint(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
            QPoint(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2())));
        QCOMPARE(Ink(image), expected);
        for (int y = expected.top(); y <= expected.bottom(); ++y) {
            for (int x = expected.left(); x <= expected.right(); ++x) {
                QCOMPARE(image.pixel(x, y), qRgb(0, 0, 0));
            }
        }
    }

    void boxesIncludeBothCornersAndCircles() {
        const QImage filled =
            Paint([](QtSurface& s) { s.Box(30, 40, 10, 20, rs::drawing::kBlue, true); });
        QCOMPARE(Ink(filled), QRect(QPoint(10, 20), QPoint(30, 40)));
        QCOMPARE(filled.pixel(20, 30), qRgb(0, 0, 255));

        const QImage outlined =
            Paint([](QtSurface& s) { s.Box(10, 20, 30, 40, rs::drawing::kBlack, false); });
        QCOMPARE(Ink(outlined), QRect(QPoint(10, 20), QPoint(30, 40)));
        QCOMPARE(outlined.pixel(10, 30), qRgb(0, 0, 0));
        QCOMPARE(outlined.pixel(30, 40), qRgb(0, 0, 0));
        QVERIFY(IsWhite(outlined, 20, 30));  // only the frame

        // The white box of a thick system wipes the axis between its planes.
        const QImage wiped = Paint([](QtSurface& s) {
            s.Line(0, 60, 199, 60, {rs::drawing::kBlack});
            s.Box(50, 30, 80, 90, rs::drawing::kWhite, true);
        });
        QVERIFY(IsWhite(wiped, 50, 60) && IsWhite(wiped, 80, 60));
        QCOMPARE(wiped.pixel(49, 60), qRgb(0, 0, 0));
        QCOMPARE(wiped.pixel(81, 60), qRgb(0, 0, 0));

        const QImage circles = Paint([](QtSurface& s) {
            s.Circle(50, 50, 20, rs::drawing::kGreen, true);
            s.Circle(150, 50, 20, rs::drawing::kGreen, false);
        });
        QCOMPARE(circles.pixel(50, 50), qRgb(0, 255, 0));
        QVERIFY(IsWhite(circles, 150, 50));  // an outline only
        QVERIFY(qGreen(circles.pixel(170, 50)) > 200 && qRed(circles.pixel(170, 50)) < 160);
        const QRect ink = Ink(circles);
        QVERIFY(std::abs(ink.left() - 30) <= 1 && std::abs(ink.right() - 170) <= 1);
        QVERIFY(std::abs(ink.top() - 30) <= 1 && std::abs(ink.bottom() - 70) <= 1);
    }

    void textStaysInsideItsMeasuredExtent() {
        rs::drawing::TextExtent shortExtent, longExtent;
        const QImage image = Paint([&](QtSurface& s) {
            shortExtent = s.MeasureText("o");
            longExtent = s.MeasureText("o [unendlich]");
            s.Text(40, 30, "o [unendlich]", rs::drawing::kRed);
        });
        // A readable label: about 9 pt on a screen, and wider for a longer text.
        QVERIFY(longExtent.height >= 11 && longExtent.height <= 20);
        QVERIFY(longExtent.width > 5 * shortExtent.width);
        const QRect ink = Ink(image);
        QVERIFY(!ink.isEmpty());
        const QRectF extent(40, 30, longExtent.width, longExtent.height);
        QVERIFY(extent.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
        // The glyphs fill most of the measured width, starting at the given corner.
        QVERIFY(ink.left() <= 42 && ink.width() > longExtent.width * 0.8);
        // Text in the asked colour: the darkest pixel is red, not blue.
        QRgb darkest = kWhite;
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            for (int x = ink.left(); x <= ink.right(); ++x) {
                if (Darkness(image.pixel(x, y)) > Darkness(darkest)) darkest = image.pixel(x, y);
            }
        }
        QVERIFY(qRed(darkest) > 180 && qBlue(darkest) < 80 && qGreen(darkest) < 80);

        // Umlauts arrive as UTF-8 and are measured as one character, not as two bytes.
        double umlaut = 0, plain = 0;
        Paint([&](QtSurface& s) {
            umlaut = s.MeasureText("Ä").width;
            plain = s.MeasureText("A").width;
        });
        QVERIFY(std::abs(umlaut - plain) < 2);
    }

    void labelsInterruptTheLinesBeneath() {
        // A label over the axis or the element's plane stays readable: the line beneath is cut
        // around the glyphs, and only there.
        double width = 0;
        const QImage image = Paint([&](QtSurface& s) {
            width = s.MeasureText("PPPP").width;
            s.Line(0, 12, 199, 12, {rs::drawing::kBlack});
            s.Text(20, 5, "PPPP", rs::drawing::kBlack);
        });
        int cut = 0;
        for (int x = 20; x < 20 + int(width); ++x) cut += IsWhite(image, x, 12) ? 1 : 0;
        QVERIFY2(cut >= 4, qPrintable(QString::number(cut)));
        for (int x : {5, 15, int(20 + width + 4), 190}) QCOMPARE(image.pixel(x, 12), qRgb(0, 0, 0));
    }

    void rotatedTextTurnsCounterClockwise() {
        rs::drawing::RotatedFont font;
        font.faceName = "Sans";
        font.escapement = 900;  // a quarter turn counter-clockwise: the text runs upwards
        font.pixelHeight = 14;
        const QImage image =
            Paint([&](QtSurface& s) { s.RotatedText(60, 110, "Bildweite", font); });
        const QRect ink = Ink(image);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.height() > 3 * ink.width(), "turned text is tall and narrow");
        // Turned about its top-left corner: it rises from y = 110 and lies right of x = 60.
        QVERIFY(ink.bottom() <= 111 && ink.left() >= 59 && ink.right() <= 60 + 20);

        font.escapement = 0;
        font.weight = 800;
        const QImage bold = Paint([&](QtSurface& s) { s.RotatedText(10, 10, "Bildweite", font); });
        font.weight = 400;
        const QImage regular =
            Paint([&](QtSurface& s) { s.RotatedText(10, 10, "Bildweite", font); });
        QVERIFY(Ink(bold).width() > Ink(bold).height());
        QVERIFY(CountInk(bold) > CountInk(regular));
    }

    void paintsOnlyInsideItsArea() {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        {
            QtSurface surface(painter, QRectF(50, 20, 100, 60));
            surface.Clear();
            surface.Line(0, 0, 199, 119, {rs::drawing::kBlack});
            surface.Text(120, 70, "o [entfernt]", rs::drawing::kBlack);
            surface.Line(0, 50, 199, 50, {rs::drawing::kRed});
        }
        painter.end();
        const QRgb grey = QColor(Qt::gray).rgb();
        QCOMPARE(image.pixel(49, 50), grey);
        QCOMPARE(image.pixel(150, 50), grey);
        QCOMPARE(image.pixel(100, 19), grey);
        QCOMPARE(image.pixel(100, 80), grey);
        QCOMPARE(image.pixel(50, 50), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(149, 50), qRgb(255, 0, 0));
        QVERIFY(IsWhite(image, 60, 25));  // cleared inside
    }

    void leavesThePainterAsItWas() {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        const QPen pen(Qt::darkCyan, 3, Qt::DashLine);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(5, 7);
        {
            QtSurface surface(painter, QRectF(0, 0, 80, 60));
            surface.Line(0, 0, 30, 17, {rs::drawing::kRed, LineStyle::Dotted, 2});
            surface.Circle(10, 10, 5, rs::drawing::kBlue, true);
            rs::drawing::RotatedFont font;
            font.escapement = 450;
            surface.RotatedText(20, 20, "x", font);
        }
        QCOMPARE(painter.pen(), pen);
        QVERIFY(!painter.hasClipping());
        QVERIFY(!painter.testRenderHint(QPainter::Antialiasing));
        QCOMPARE(painter.transform(), QTransform::fromTranslate(5, 7));
    }

    void scaleAndTwips() {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        QtSurface screen(painter, QRectF(30, 40, -20, 50));
        const rs::drawing::ScaleRect r = screen.Scale();
        QCOMPARE(r.left, 10.0);
        QCOMPARE(r.top, 40.0);
        QCOMPARE(r.width, 20.0);
        QCOMPARE(r.height, 50.0);
        QCOMPARE(screen.TwipsPerPixel(), 15.0);
        QVERIFY(!screen.FontIsBold());
        QtSurface paper(painter, QRectF(0, 0, 10, 10), 1.2);
        QCOMPARE(paper.TwipsPerPixel(), 1.2);
        QtSurface broken(painter, QRectF(0, 0, 10, 10), std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(broken.TwipsPerPixel(), 15.0);
    }

    void nonsenseDrawsNothingAndDoesNotBreak() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QImage image = Paint([&](QtSurface& s) {
            s.Line(nan, 0, 10, 10, {});
            s.Line(0, inf, 10, 10, {});
            s.Box(0, 0, nan, 10, rs::drawing::kBlack, true);
            s.Circle(50, 50, -3, rs::drawing::kBlack, true);
            s.Circle(50, 50, nan, rs::drawing::kBlack, false);
            s.Text(nan, 3, "x", rs::drawing::kBlack);
            s.Text(3, 3, "", rs::drawing::kBlack);
            rs::drawing::RotatedFont font;
            s.RotatedText(inf, 3, "x", font);
        });
        QCOMPARE(CountInk(image), 0);
        // Extremes that are numbers still paint something sensible and return.
        const QImage extreme = Paint([&](QtSurface& s) {
            s.Line(-1e9, 60, 1e9, 60, {rs::drawing::kBlack, LineStyle::Dotted, INT_MAX});
            s.Line(0, 0, 5, 5, {rs::drawing::kBlack, static_cast<LineStyle>(7), INT_MIN});
            s.Box(-100000, -100000, 100000, 100000, rs::drawing::kWhite, true);
            s.Circle(0, 0, 1e12, rs::drawing::kBlack, false);
            s.Text(100000, -100000, "weit draußen", rs::drawing::kBlack);
            s.Text(5, 5, "\xff\xfe kaputt \xc3", rs::drawing::kBlack);
            rs::drawing::RotatedFont font;
            font.pixelHeight = INT_MIN;
            font.escapement = INT_MAX;
            font.faceName = std::string(32, 'z');
            s.RotatedText(20, 20, "x", font);
            font.pixelHeight = INT_MAX;
            s.RotatedText(20, 20, "y", font);
            (void)s.MeasureText("\xe2\x82");
        });
        QVERIFY(!extreme.isNull());
    }
};

QTEST_MAIN(TestQtSurface)
#include "tst_qt_surface.moc"
