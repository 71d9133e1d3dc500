// The drawing in the window: dragging its features with the mouse changes the design, one undo
// step per drag; in the beam mode the read-out below the picture follows the mouse.
#include <QLabel>
#include <QTest>
#include <cmath>

#include "app/presentation.h"
#include "drawing/recording_surface.h"
#include "gui/form_fixture.h"
#include "ui/paraxial_drag.h"

namespace rs::gui {
namespace {

// Where the grabbable features of the window's drawing are, in its pixels: the same redraw the
// window makes, on a recording surface of the same size.
app::DrawingMemory MemoryOf(const test::FormFixture& f, QWidget* area) {
    drawing::RecordingSurface surface(
        {0, 0, static_cast<double>(area->width()), static_cast<double>(area->height())});
    app::DrawingMemory memory;
    app::DrawDesign(surface, f.S().design, f.S().machine.IsDragging(), memory);
    return memory;
}
drawing::ParaxialTouchPoints TouchOf(const test::FormFixture& f, QWidget* area) {
    return MemoryOf(f, area).touch;
}

float ObjectDistance(const test::FormFixture& f) {
    return f.S().design.paraxial.paramTable.Get(engine::kObjDist);
}

}  // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    void draggingTheObjectFootMovesTheObject() {
        test::FormFixture f(test::Example("relay-1to1.ini"));
        QVERIFY(f.exposed);
        QWidget* area = f.form->Control("pctDrg");
        area->repaint();  // the window keeps the features of its last picture
        const drawing::ParaxialTouchPoints world = TouchOf(f, area);
        const ui::TouchPoints t = ui::RegisterTouchPoints(world).value();
        const QPoint foot(qRound(t.objectX), qRound(t.axisY));
        const float before = ObjectDistance(f);

        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, foot);
        QVERIFY(f.S().machine.IsDragging());
        QTest::mouseMove(area, foot + QPoint(25, 0));
        QTest::mouseMove(area, foot + QPoint(50, 0));
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, foot + QPoint(50, 0));
        QVERIFY(f.S().machine.IsIdle());

        // 50 pixels to the right at the picture's scale: the object moved 50 pixels' worth of mm
        // towards the element.
        const double mmPerPixel = 1.0 / world.scale.scaleX;
        const float after = ObjectDistance(f);
        QVERIFY2(std::fabs(after - (before + 50 * mmPerPixel)) <= mmPerPixel,
                 qPrintable(QString("a went from %1 to %2").arg(before).arg(after)));

        // The whole drag is one undo step.
        f.Click("comUndo");
        QCOMPARE(ObjectDistance(f), before);
        VERIFY_VIEW(f);
    }

    void beamReadOutAndElementDrag() {
        test::FormFixture f(test::Example("hene-focus-100mm.ini"));
        QVERIFY(f.exposed);
        QWidget* area = f.form->Control("pctDrg");
        auto* readOut = f.form->findChild<QLabel*>("lblGBHoverInfo");
        QVERIFY(readOut && readOut->isVisible());
        area->repaint();
        const drawing::BeamTouchPoints t = MemoryOf(f, area).beam.touch;
        QVERIFY(t.registered);

        // Between the object waist and the element, above the axis: the object side in red.
        const int y = qRound(t.axisY) - 20;
        QTest::mouseMove(area, QPoint(qRound((t.objectWaistX + t.principalX) / 2), y));
        QVERIFY(readOut->text().startsWith(QStringLiteral("Abstand zur Objektgröße")));
        QCOMPARE(readOut->palette().color(QPalette::WindowText), QColor(Qt::red));
        QTest::mouseMove(area, QPoint(qRound((t.principalX + t.imageWaistX) / 2), y));
        QVERIFY(readOut->text().startsWith(QStringLiteral("Abstand zur Bildgröße ")));

        // The element, grabbed on its bar and moved 30 pixels: s grows by 30 pixels' worth.
        const double s0 = f.S().design.beam.axes[0].table[beam::kGbObjDist];
        const QPoint bar(qRound(t.principalX), y);
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, bar);
        QVERIFY(f.S().machine.IsDragging());
        QVERIFY(readOut->text().isEmpty());
        QTest::mouseMove(area, bar + QPoint(30, 0));
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, bar + QPoint(30, 0));
        // The read-out under the still mouse already uses the redrawn picture's scale.
        const QString afterRelease = readOut->text();
        QTest::mouseMove(area, bar + QPoint(30, 0));
        QCOMPARE(readOut->text(), afterRelease);
        const double mmPerPixel = 1.0 / t.scale.scaleX;
        const double s1 = f.S().design.beam.axes[0].table[beam::kGbObjDist];
        QVERIFY2(std::fabs(s1 - (s0 + 30 * mmPerPixel)) <= mmPerPixel,
                 qPrintable(QString("s went from %1 to %2").arg(s0).arg(s1)));
        f.Click("comUndo");
        QCOMPARE(f.S().design.beam.axes[0].table[beam::kGbObjDist], s0);
        VERIFY_VIEW(f);
    }
};

}  // namespace rs::gui

int RunDrawingTest(int argc, char** argv) {
    rs::gui::DrawingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_drawing.moc"
