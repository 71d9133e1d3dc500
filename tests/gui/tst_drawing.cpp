// The drawing in the window: dragging its features with the mouse changes the design, one undo
// step per drag.
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
drawing::ParaxialTouchPoints TouchOf(const test::FormFixture& f, QWidget* area) {
    drawing::RecordingSurface surface(
        {0, 0, static_cast<double>(area->width()), static_cast<double>(area->height())});
    app::DrawingMemory memory;
    app::DrawDesign(surface, f.S().design, f.S().machine.IsDragging(), memory);
    return memory.touch;
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
};

}  // namespace rs::gui

int RunDrawingTest(int argc, char** argv) {
    rs::gui::DrawingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_drawing.moc"
