#include "ui/beam_drag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "drawing/recording_surface.h"
#include "support/numeric.h"
#include "text/vb_format.h"
#include "ui/extras_panel.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace beam;  // parameter and extras indices
using T = BeamDragTarget;
using Chosen = std::vector<std::pair<int, const char*>>;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// f' 100, s 200, r 0.05 mm at 632.8 nm: zr 12.4, the image waist 198.5 behind the element.
const Chosen kUsual{{kGbFocal, "100"}, {kGbObjDist, "200"}, {kGbObjRadius, "0.05"}};

// A window in the beam mode with its picture, redrawn as the window redraws it.
struct BeamDrag : test::WindowFixture {
    drawing::RecordingSurface surface;
    drawing::BeamDrawingMemory memory;
    BeamTouchPoints& touch = memory.touch;

    explicit BeamDrag(const Chosen& chosen = kUsual) {
        w().SetBeamMode(true);
        for (const auto& [index, text] : chosen) w().SetBeamChecked(index, true);
        for (const auto& [index, text] : chosen) w().ApplyTypedValue(Slot(index), text);
        Redraw();
    }
    void Redraw() {
        drawing::RedrawBeam(surface, s().design.beam, {false, s().machine.IsDragging()}, memory);
    }
    const BeamAxis& axis() const { return s().design.beam.axes[0]; }
    int Slot(int index) const { return *axis().selection.Find(index) - 1; }
    double Table(int i) const { return axis().table[static_cast<std::size_t>(i)]; }
    double Extra(int i) const { return axis().extras[static_cast<std::size_t>(i)]; }
    double WorldX(double px) const { return touch.scale.ScreenToWorldX(static_cast<float>(px)); }
    double WorldY(double py) const { return touch.scale.ScreenToWorldY(static_cast<float>(py)); }
    std::optional<BeamDragSession> Grab(double x, double y) {
        auto session = BeginBeamDrag(w(), touch, x, y);
        Redraw();
        return session;
    }
    bool Move(BeamDragSession& session, double x, double y) {
        const bool changed = BeamDragTo(w(), session, x, y);
        Redraw();
        return changed;
    }
    void Release(BeamDragSession& session) {
        EndBeamDrag(w(), session);
        Redraw();
    }
};

TEST(BeamDragHitTest, TargetsWhoseFeatureIsNotThereFallThrough) {
    // The second principal plane only with the advanced options and not for a mirror (the
    // image waist's line behind it is hit then); the detector only while it is shown.
    BeamTouchPoints t;
    t.axisY = 300, t.belowAxisY = 314, t.elementRadiusY = 100, t.markY = 320;
    t.secondPrincipalX = 340, t.imageWaistX = 345, t.detectorX = 700;
    const BeamTouchConditions all{true, false, true}, plain{}, mirror{true, true, true};
    EXPECT_EQ(BeamHitTest(t, all, 340, 200), T::SecondPrincipalPlane);
    EXPECT_EQ(BeamHitTest(t, plain, 340, 200), T::ImageWaist);
    EXPECT_EQ(BeamHitTest(t, mirror, 340, 200), T::ImageWaist);
    EXPECT_EQ(BeamHitTest(t, all, 700, 320), T::Detector);
    EXPECT_EQ(BeamHitTest(t, plain, 700, 320), T::None);
    EXPECT_EQ(BeamHitTest(t, all, kNan, 200), T::None);
}

TEST(BeamDrag, EachFeatureFollowsTheMouseAndWildMovesLeaveASolvedBeam) {
    // Grabbed on the feature, the feature goes where the mouse goes (in the frozen scale): the
    // element moved 30 pixels puts s 30 / scaleX mm farther. A fresh window for each target.
    using P = BeamTouchPoints;
    const struct {
        T target;
        float P::*x;
        float P::*y;
        double dx, dy;
        int feature;  // its world position (mm): a table entry, or with `extra` an extras entry
        bool extra;
    } cases[] = {
        {T::Element, &P::principalX, &P::elementRadiusY, 30, 0, kGbObjDist, false},
        {T::ObjectRadius, &P::objectWaistX, &P::objectRadiusY, 0, -20, kGbObjRadius, false},
        {T::ObjectRayleigh, &P::objectRayleighX, &P::belowAxisY, 25, 0, kGbObjRayleigh, false},
        {T::FrontFocus, &P::frontFocusX, &P::belowAxisY, -20, 0, kExF, true},
        {T::SecondPrincipalPlane, &P::secondPrincipalX, &P::elementRadiusY, 15, 0, kExPImage, true},
        {T::ImageWaist, &P::imageWaistX, &P::elementRadiusY, 40, 0, kExImageWaist, true},
        {T::ImageRayleigh, &P::imageRayleighX, &P::markY, -10, 0, kGbImgRayleigh, false},
        {T::RearFocus, &P::rearFocusX, &P::markY, 20, 0, kExFImage, true},
        // r' lies on the image waist's line, and is grabbed all the same.
        {T::ImageRadius, &P::imageWaistX, &P::imageRadiusY, 0, -5, kGbImgRadius, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        BeamDrag f;
        f.w().SetAdvancedOptions(true);
        f.w().ApplyAdvancedValue(0, "20");  // P' 20 mm behind P
        f.Redraw();
        const double gx = f.touch.*c.x, gy = f.touch.*c.y, x = gx + c.dx, y = gy + c.dy;
        const double waist0 = f.Extra(kExImageWaist);
        auto s = f.Grab(gx, gy);
        ASSERT_TRUE(s && s->Target() == c.target);
        EXPECT_TRUE(f.Move(*s, x, y));
        double mouse = c.dy != 0 ? f.WorldY(y) : f.WorldX(x);
        // zr' is measured from where the image waist stood at mouse-down (it may move with zr').
        if (c.target == T::ImageRayleigh) mouse = waist0 - mouse;
        EXPECT_REL_TOL(c.extra ? f.Extra(c.feature) : f.Table(c.feature), mouse, 1e-5);
        // A waist radius pulled through the axis keeps its size.
        if (c.dy != 0) {
            EXPECT_FALSE(f.Move(*s, x, 2 * f.touch.axisY - y));
        }
        for (double v : {kNan, 1e300, -1e30}) f.Move(*s, v, v);
        EXPECT_TRUE(app::DesignSolved(f.s().design));
        f.Release(*s);
        EXPECT_TRUE(f.s().machine.IsIdle());
    }
}

TEST(BeamDrag, WholeDragIsOneUndoStepAndARefusedStepKeepsTheBeam) {
    BeamDrag f;
    const Snapshot typed = Capture(f.s().design);
    // zr is chosen at mouse-down and moved; pulling the mark onto the waist would leave no
    // beam: that step is taken back and the beam before it stays.
    const double x0 = f.touch.objectRayleighX, y = f.touch.belowAxisY;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s && s->SelectionChanged());
    for (int step = 1; step <= 10; ++step) f.Move(*s, x0 + 5 * step, y);
    const BeamAxis kept = f.axis();
    EXPECT_FALSE(f.Move(*s, f.touch.objectWaistX, y));
    EXPECT_EQ(f.axis(), kept);
    f.Release(*s);
    // At mouse-up the slider's limits take the value in.
    const engine::CVarType& zr = f.axis().selection.At(f.Slot(kGbObjRayleigh) + 1);
    EXPECT_TRUE(zr.sLimLow <= zr.sVarValue && zr.sVarValue <= zr.sLimHih);
    const Snapshot after = Capture(f.s().design);
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), typed);
    f.w().Undo();  // and the drag is back
    EXPECT_EQ(Capture(f.s().design), after);
    // Nothing is grabbed while the window is busy.
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_EQ(BeamTargetAt(f.s(), f.touch, f.touch.principalX, f.touch.axisY - 20), T::None);
    f.w().EndDrag({});
}

TEST(BeamDrag, AGrabChoosesItsParameterWithoutChangingTheBeam) {
    const Chosen bothRadii{{kGbFocal, "100"}, {kGbObjRadius, "0.05"}, {kGbImgRadius, "0.0496"}};
    const struct {
        Chosen chosen;
        T target;
        std::vector<int> want;
    } cases[] = {
        // zr takes the place of the beam parameter after two distances, or of the object-side
        // one beside an image-side one.
        {kUsual, T::ObjectRayleigh, {kGbFocal, kGbObjDist, kGbObjRayleigh}},
        {bothRadii, T::ObjectRayleigh, {kGbFocal, kGbObjRayleigh, kGbImgRadius}},
        // s' in the place of s would reach the other root of its quadratic (the beam would
        // jump): f', the other distance, makes way instead.
        {kUsual, T::ImageWaist, {kGbObjDist, kGbImgDist, kGbObjRadius}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        BeamDrag f(c.chosen);
        const auto system = f.axis().table;
        const BeamTouchPoints& t = f.touch;
        auto s = c.target == T::ImageWaist ? f.Grab(t.imageWaistX, t.elementRadiusY)
                                           : f.Grab(t.objectRayleighX, t.belowAxisY);
        ASSERT_TRUE(s && s->SelectionChanged());
        const engine::Selection& sel = f.axis().selection;
        EXPECT_EQ((std::vector<int>{sel.Index(1), sel.Index(2), sel.Index(3)}), c.want);
        for (int i : {kGbFocal, kGbObjDist, kGbImgDist, kGbObjRayleigh, kGbImgRayleigh}) {
            EXPECT_REL_TOL(f.Table(i), system[static_cast<std::size_t>(i)], 1e-4) << i;
        }
        EXPECT_EQ(f.s().backup.Kind(), kBackupDrag);
        f.Release(*s);
    }
    // While circularising only the object side can be chosen: r' is not grabbed at all.
    BeamDrag f;
    SetDiodeMode(f.w(), true);
    SetCircularise(f.w(), true);
    f.Redraw();
    const Snapshot before = Capture(f.s().design);
    EXPECT_FALSE(f.Grab(f.touch.imageWaistX, f.touch.imageRadiusY));
    EXPECT_TRUE(f.s().machine.IsIdle());
    EXPECT_EQ(Capture(f.s().design), before);
}

TEST(BeamDrag, DetectorNearTheElementCanBeDraggedAndStopsThere) {
    BeamDrag f;
    SetDetectorOn(f.w(), true);
    ApplyDetectorText(f.w(), "0.3");  // drawn at P' (0 whole mm)
    f.Redraw();
    const double& distance = f.s().design.beam.extrasOptions.detectorDistance;
    ASSERT_EQ(f.touch.detectorX, f.touch.secondPrincipalX);
    const double x0 = f.touch.detectorX + 6, y = f.touch.markY;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s && s->Target() == T::Detector);
    EXPECT_TRUE(f.Move(*s, x0 + 6, y));
    EXPECT_REL(distance, 0.6);
    f.Move(*s, x0 - 20, y);  // through the element
    EXPECT_EQ(distance, 0.0);
    f.Release(*s);
}

TEST(BeamHover, ReadsTheBeamUnderTheMouseOnEitherSide) {
    BeamDrag f;
    SetMFactorUse(f.w(), true);
    ApplyMFactorText(f.w(), 0, "4");  // M = 2
    f.Redraw();
    const BeamTouchPoints& t = f.touch;
    const double lambda = 632.8e-6, pi = 3.141592654;
    // The real beam's 1/e² radius (M times the embedded Gaussian's) and the wavefront's radius
    // of curvature at z from a waist w0.
    auto text = [&](const char* lead, double w0, double z) {
        const double radius = 2 * w0 * std::sqrt(1 + std::pow(lambda * z / (pi * w0 * w0), 2));
        const double curvature = z * (1 + std::pow(pi * w0 * w0 / (lambda * z), 2));
        return lead + text::Format(z, "0.0##mm") + " Radius: " + text::Format(radius, "0.0##mm") +
               "\nKrümmungsradius " + text::Format(curvature, "0.0##mm");
    };
    const double y = t.axisY - 20;
    auto read = [&](double px) { return BeamHoverInfo(f.s().design, f.memory, px, y); };
    const double objectX = (t.objectWaistX + t.principalX) / 2;
    const double imageX = (t.principalX + t.imageWaistX) / 2;
    const BeamHover object = read(objectX).value_or(BeamHover{}),
                    image = read(imageX).value_or(BeamHover{});
    EXPECT_EQ(object.text, text("Abstand zur Objektgröße ", 0.05, f.WorldX(objectX)));
    EXPECT_EQ(object.colour, drawing::kRed);
    EXPECT_EQ(read(t.objectWaistX).value_or(BeamHover{}).text,
              "Abstand zur Objektgröße 0.0mm Radius: 0.1mm\nKrümmungsradius plan");
    EXPECT_EQ(image.text, text("Abstand zur Bildgröße ", std::fabs(f.Table(kGbImgRadius)),
                               f.Extra(kExImageWaist) - f.WorldX(imageX)));
    EXPECT_EQ(image.colour, drawing::kBlue);
    f.w().SetBeamMode(false);
    EXPECT_FALSE(read(objectX));
}

}  // namespace
}  // namespace rs::ui
