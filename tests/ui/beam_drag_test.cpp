#include "ui/beam_drag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
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
constexpr double kInf = std::numeric_limits<double>::infinity();

// f' 100, s 200, r 0.05 mm at 632.8 nm: zr 12.4, the image waist 198.5 behind the element.
const Chosen kUsual{{kGbFocal, "100"}, {kGbObjDist, "200"}, {kGbObjRadius, "0.05"}};

// A window in the beam mode with its picture, redrawn the way the window redraws it.
struct BeamDrag : test::WindowFixture {
    drawing::RecordingSurface surface;
    drawing::BeamDrawingMemory memory;
    BeamTouchPoints& touch = memory.touch;

    void Redraw() {
        drawing::RedrawBeam(surface, s().design.beam, {false, s().machine.IsDragging()}, memory);
    }
    void Beam(const Chosen& chosen = kUsual) {
        w().SetBeamMode(true);
        for (const auto& [index, text] : chosen) w().SetBeamChecked(index, true);
        for (const auto& [index, text] : chosen) {
            w().ApplyTypedValue(*axis().selection.Find(index) - 1, text);
        }
        Redraw();
    }
    const BeamAxis& axis() const { return s().design.beam.axes[0]; }
    double Table(int i) const { return axis().table[static_cast<std::size_t>(i)]; }
    double Extra(int i) const { return axis().extras[static_cast<std::size_t>(i)]; }
    std::vector<int> Chosen() const {
        std::vector<int> out;
        for (const engine::CVarType& e : axis().selection.Entries()) out.push_back(e.nVarType);
        return out;
    }
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

TEST(BeamDragHitTest, TargetsAreTriedInOrderAndOnlyWhileTheirFeatureIsThere) {
    BeamTouchPoints t;
    t.registered = true;
    t.axisY = 300, t.objectRadiusY = 270, t.belowAxisY = 314, t.elementRadiusY = 100;
    t.imageRadiusY = 280, t.markY = 320;
    t.objectWaistX = 50, t.objectRayleighX = 100, t.frontFocusX = 200, t.principalX = 300;
    t.secondPrincipalX = 340, t.rearFocusX = 450, t.imageWaistX = 600, t.imageRayleighX = 560;
    t.detectorX = 700;
    BeamTouchPoints close = t;  // P' just beside the element
    close.secondPrincipalX = 305;
    const BeamTouchConditions all{true, false, true}, plain{false, false, false},
        mirror{true, true, true};
    const struct {
        const BeamTouchPoints& t;
        BeamTouchConditions c;
        double x, y;
        T want;
    } cases[] = {
        // clang-format off
        {t, all, 300, 200, T::Element}, {t, all, 309.9, 90.1, T::Element},
        {t, all, 310, 200, T::None}, {t, all, 300, 310, T::None},
        {t, all, 61.9, 258.1, T::ObjectRadius}, {t, all, 100, 314, T::ObjectRayleigh},
        {t, all, 200, 314, T::FrontFocus}, {t, all, 340, 200, T::SecondPrincipalPlane},
        // The radius point lies on the image waist's line and is still grabbed.
        {t, all, 600, 280, T::ImageRadius}, {t, all, 600, 200, T::ImageWaist},
        {t, all, 560, 320, T::ImageRayleigh}, {t, all, 450, 320, T::RearFocus},
        {t, all, 700, 320, T::Detector},
        // Where two overlap the earlier wins; a target whose feature is not there falls through.
        {close, all, 303, 200, T::Element}, {t, plain, 340, 200, T::None},
        {t, mirror, 340, 200, T::None}, {t, plain, 700, 320, T::None},
        {t, all, kNan, 200, T::None}, {t, all, 300, -kInf, T::None},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BeamHitTest(c.t, c.c, c.x, c.y), c.want) << c.x << ", " << c.y;
    }
    EXPECT_TRUE(MovesVertically(T::ImageRadius) && !MovesHorizontally(T::ImageRadius));
    EXPECT_TRUE(MovesHorizontally(T::Detector) && !MovesVertically(T::None));
}

TEST(BeamDrag, EveryFeatureFollowsTheMouseAndWildMovesLeaveASolvedBeam) {
    // Grabbed on the feature and moved, the feature goes where the mouse goes (in the frozen
    // scale): the value scales by the ratio of the distances from its reference line.
    struct Case {
        T target;
        Chosen chosen;
        double dx, dy;
        // The feature's position (world mm) after the move, and where the mouse is.
        std::function<double(const BeamDrag&)> feature;
    };
    const auto extra = [](int i) { return [i](const BeamDrag& f) { return f.Extra(i); }; };
    const Chosen fixedWaists{{kGbObjDist, "200"}, {kGbImgDist, "198.5"}, {kGbObjRadius, "0.05"}};
    const Case cases[] = {
        {T::Element, kUsual, 30, 0, extra(kExP)},
        {T::ObjectRayleigh, kUsual, 25, 0,
         [](const BeamDrag& f) { return f.Table(kGbObjRayleigh); }},
        {T::FrontFocus, kUsual, -20, 0, extra(kExF)},
        {T::SecondPrincipalPlane, kUsual, 15, 0, extra(kExPImage)},
        {T::ImageWaist, kUsual, 40, 0, extra(kExImageWaist)},
        {T::ImageRayleigh, fixedWaists, -10, 0,
         [](const BeamDrag& f) { return f.Extra(kExImageWaist) - f.Table(kGbImgRayleigh); }},
        {T::RearFocus, kUsual, 20, 0, extra(kExFImage)},
        {T::ObjectRadius, kUsual, 0, -40, [](const BeamDrag& f) { return f.Table(kGbObjRadius); }},
        {T::ImageRadius, kUsual, 0, -5, [](const BeamDrag& f) { return f.Table(kGbImgRadius); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        BeamDrag f;
        f.w().SetAdvancedOptions(true);
        f.w().ApplyAdvancedValue(0, "20");  // P' 20 mm behind P
        f.Beam(c.chosen);
        ASSERT_TRUE(app::DesignSolved(f.s().design));
        const BeamTouchPoints& t = f.touch;
        const std::pair<double, double> at[] = {
            {0, 0},
            {t.principalX, (t.axisY + t.elementRadiusY) / 2},
            {t.objectWaistX, t.objectRadiusY},
            {t.objectRayleighX, t.belowAxisY},
            {t.frontFocusX, t.belowAxisY},
            {t.secondPrincipalX, (t.belowAxisY + t.elementRadiusY) / 2},
            {0, 0},
            {t.imageWaistX, (t.belowAxisY + t.elementRadiusY) / 2},
            {t.imageWaistX, t.imageRadiusY},
            {t.imageRayleighX, t.markY},
            {t.rearFocusX, t.markY},
        };
        const auto [gx, gy] = at[static_cast<int>(c.target)];
        auto s = f.Grab(gx, gy);
        ASSERT_TRUE(s);
        ASSERT_EQ(s->Target(), c.target);
        EXPECT_TRUE(f.s().machine.IsDragging());
        const double x = gx + c.dx, y = gy + c.dy;
        EXPECT_TRUE(f.Move(*s, x, y));
        const double mouse = c.dy != 0 ? f.WorldY(y) : f.WorldX(x);
        EXPECT_REL_TOL(c.feature(f), mouse, 1e-5);
        // A waist radius pulled through the axis keeps its size.
        if (c.dy != 0) {
            EXPECT_FALSE(f.Move(*s, x, 2 * t.axisY - y));
        }
        for (double v : {kNan, kInf, -kInf, 1e300, -1e300, 1e30}) {
            f.Move(*s, v, y);
            f.Move(*s, x, v);
            EXPECT_TRUE(app::DesignSolved(f.s().design));
            for (int i = 0; i <= kGbImgRayleigh; ++i) EXPECT_TRUE(std::isfinite(f.Table(i)));
        }
        f.Release(*s);
        EXPECT_TRUE(f.s().machine.IsIdle());
        EXPECT_FALSE(s->Active());
    }
}

TEST(BeamDrag, TheElementMovesByThePixelsDragged) {
    BeamDrag f;
    f.Beam();
    const double x = f.touch.principalX, y = f.touch.axisY - 20;
    auto s = f.Grab(x, y);
    ASSERT_TRUE(s && !s->SelectionChanged());
    f.Move(*s, x + 30, y);
    EXPECT_REL(f.Table(kGbObjDist), 200 + 30 / f.touch.scale.scaleX);
    f.Release(*s);
    // The slider's limits (180..220 around 200) take the new value in.
    const engine::CVarType& e = f.axis().selection.At(2);
    EXPECT_LE(e.sLimLow, e.sVarValue);
    EXPECT_GE(e.sLimHih, e.sVarValue);
}

TEST(BeamDrag, AGrabChoosesItsParameterWithoutChangingTheBeam) {
    const Chosen bothRadii{{kGbFocal, "100"}, {kGbObjRadius, "0.05"}, {kGbImgRadius, "0.0496"}};
    const Chosen imageRadius{{kGbFocal, "100"}, {kGbObjDist, "200"}, {kGbImgRadius, "0.0496"}};
    const struct {
        Chosen chosen;
        T target;
        std::vector<int> want;
    } cases[] = {
        // zr takes the place of the beam parameter after two distances, or of the object-side
        // one beside an image-side one.
        {kUsual, T::ObjectRayleigh, {kGbFocal, kGbObjDist, kGbObjRayleigh}},
        {bothRadii, T::ObjectRayleigh, {kGbFocal, kGbObjRayleigh, kGbImgRadius}},
        {imageRadius, T::ObjectRadius, {kGbFocal, kGbObjRadius, kGbImgRadius}},
        {kUsual, T::ImageRadius, {kGbFocal, kGbObjDist, kGbImgRadius}},
        // s' in the place of s would reach the other root of its quadratic: the beam would jump,
        // so f' makes way instead.
        {kUsual, T::ImageWaist, {kGbObjDist, kGbImgDist, kGbObjRadius}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        BeamDrag f;
        f.Beam(c.chosen);
        ASSERT_TRUE(app::DesignSolved(f.s().design));
        const auto system = f.axis().table;
        const BeamTouchPoints& t = f.touch;
        const double x = c.target == T::ObjectRayleigh ? t.objectRayleighX
                         : c.target == T::ObjectRadius ? t.objectWaistX
                                                       : t.imageWaistX;
        const double y = c.target == T::ObjectRayleigh ? t.belowAxisY
                         : c.target == T::ObjectRadius ? t.objectRadiusY
                         : c.target == T::ImageRadius  ? t.imageRadiusY
                                                       : t.elementRadiusY;
        auto s = f.Grab(x, y);
        ASSERT_TRUE(s && s->SelectionChanged());
        EXPECT_EQ(f.Chosen(), c.want);
        EXPECT_TRUE(app::DesignSolved(f.s().design));
        for (int i : {kGbFocal, kGbObjDist, kGbImgDist, kGbObjRayleigh, kGbImgRayleigh}) {
            EXPECT_REL_TOL(f.Table(i), system[static_cast<std::size_t>(i)], 1e-4) << i;
        }
        EXPECT_EQ(f.s().backup.Kind(), kBackupDrag);
        f.Release(*s);
    }

    // A combination the beam rules refuse (as a settings file may hold two object-side
    // parameters) makes the rule's position give way to the other one of its pair.
    BeamDrag f;
    f.Beam();
    app::DesignState d = f.s().design;
    engine::Selection& sel = d.beam.axes[0].selection;
    ASSERT_TRUE(sel.Replace(kGbObjDist, kGbObjRayleigh, 12.4115f).ok());
    const auto chosen = ChooseBeamParameter(d, kGbObjDist);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(chosen->Contains(kGbFocal) && chosen->Contains(kGbObjDist) &&
                chosen->Contains(kGbObjRayleigh));

    // While circularising only the object side can be chosen: r' is not grabbed at all.
    BeamDrag c;
    c.Beam();
    SetDiodeMode(c.w(), true);
    SetCircularise(c.w(), true);
    c.Redraw();
    const Snapshot before = Capture(c.s().design);
    EXPECT_FALSE(c.Grab(c.touch.imageWaistX, c.touch.imageRadiusY));
    EXPECT_TRUE(c.s().machine.IsIdle());
    EXPECT_EQ(Capture(c.s().design), before);
}

TEST(BeamDrag, WholeDragIsOneUndoStepAndARefusedStepKeepsTheBeam) {
    BeamDrag f;
    f.Beam();
    const Snapshot typed = Capture(f.s().design);
    // A click that moves nothing keeps the user's last undo step.
    auto click = f.Grab(f.touch.principalX, f.touch.axisY - 20);
    ASSERT_TRUE(click);
    f.Release(*click);
    EXPECT_EQ(f.s().backup.Kind(), kBackupBeamValue);

    // zr is chosen at mouse-down and moved many times; pulling the mark onto the waist would
    // leave no beam: that step is taken back and the beam before it stays.
    const double x0 = f.touch.objectRayleighX, y = f.touch.belowAxisY;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s && s->SelectionChanged());
    for (int step = 1; step <= 10; ++step) f.Move(*s, x0 + step, y);
    const Snapshot kept = Capture(f.s().design);
    const auto table = f.axis().table;
    EXPECT_FALSE(f.Move(*s, f.touch.objectWaistX, y));
    EXPECT_EQ(Capture(f.s().design), kept);
    EXPECT_EQ(f.axis().table, table);
    EXPECT_TRUE(app::DesignSolved(f.s().design));
    f.Release(*s);
    const Snapshot after = Capture(f.s().design);
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), typed);
    f.w().Undo();  // and the drag is back
    EXPECT_EQ(Capture(f.s().design), after);
}

TEST(BeamDrag, NothingIsGrabbedWhileBusyOrWithoutAPicture) {
    BeamDrag f;
    f.Beam();
    const double x = f.touch.principalX, y = f.touch.axisY - 20;
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_EQ(BeamTargetAt(f.s(), f.touch, x, y), T::None);
    EXPECT_FALSE(f.Grab(x, y));
    f.w().EndDrag({});
    f.w().SetBeamChecked(kGbObjRadius, false);  // incomplete: no picture, an old registration
    EXPECT_EQ(BeamTargetAt(f.s(), f.touch, x, y), T::None);
    f.w().SetBeamChecked(kGbObjRadius, true);
    f.Redraw();
    // An ended session moves nothing, nor does one whose drag the window ended.
    auto s = f.Grab(x, y);
    ASSERT_TRUE(s);
    f.w().EndDrag({});
    EXPECT_FALSE(f.Move(*s, x + 50, y));
    f.Release(*s);
    EXPECT_FALSE(f.Move(*s, x + 50, y));
    EXPECT_TRUE(f.s().machine.IsIdle());
}

TEST(BeamDrag, DetectorNearTheElementCanBeDraggedAndStopsThere) {
    BeamDrag f;
    f.Beam();
    SetDetectorOn(f.w(), true);
    ApplyDetectorText(f.w(), "0.3");  // stands at P' (0 whole mm)
    f.Redraw();
    const BeamExtrasOptions& o = f.s().design.beam.extrasOptions;
    ASSERT_EQ(f.touch.detectorX, f.touch.secondPrincipalX);
    const double x0 = f.touch.detectorX + 6, y = f.touch.markY;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Target(), T::Detector);
    EXPECT_TRUE(f.Move(*s, x0 + 6, y));
    EXPECT_REL(o.detectorDistance, 0.6);
    f.Move(*s, x0 - 20, y);  // through the element
    EXPECT_EQ(o.detectorDistance, 0.0);
    f.Release(*s);
}

TEST(BeamHover, ReadsTheBeamUnderTheMouseOnEitherSide) {
    BeamDrag f;
    f.Beam();
    SetMFactorUse(f.w(), true);
    ApplyMFactorText(f.w(), 0, "4");  // M = 2
    const app::DesignState& d = f.s().design;
    // One pixel per mm with the object waist at pixel 100: P at 300, the image waist at 498.5.
    BeamTouchPoints t;
    t.registered = true;
    t.scale = *drawing::MakeDrawingScale(0, 1000, 0, 600, -100, 900, -1, 1);
    const double lambda = 632.8e-6, pi = 3.141592654, r = 0.05;
    const double rImg = std::fabs(f.Table(kGbImgRadius)), imageWaist = f.Extra(kExImageWaist);
    // The 1/e² radius of the real beam (M times the embedded Gaussian's) and the wavefront's
    // radius of curvature z from a waist w0.
    auto radius = [&](double w0, double z) {
        return 2 * w0 * std::sqrt(1 + std::pow(lambda * z / (pi * w0 * w0), 2));
    };
    auto curvature = [&](double w0, double z) {
        return z * (1 + std::pow(pi * w0 * w0 / (lambda * z), 2));
    };
    auto mm = [](double v) { return text::Format(v, "0.0##mm"); };
    auto read = [&](double px) { return BeamHoverInfo(f.s().design, t, 600, px, 200); };

    const auto object = read(200);
    ASSERT_TRUE(object);
    EXPECT_EQ(object->text, "Abstand zur Objektgröße100.0mm Radius: " + mm(radius(r, 100)) +
                                " Krümmungsradius " + mm(curvature(r, 100)));
    EXPECT_EQ(object->colour, drawing::kRed);
    EXPECT_EQ(read(100)->text, "Abstand zur Objektgröße0.0mm Radius: 0.1mm Krümmungsradius plan");

    const double zi = imageWaist - 300;
    const auto image = read(400);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->text, "Abstand zur Bildgröße " + mm(zi) + " Radius: " + mm(radius(rImg, zi)) +
                               " Krümmungsradius " + mm(curvature(rImg, zi)));
    EXPECT_EQ(image->colour, drawing::kBlue);
    // A few µm from the waist the curvature radius is long: in powers of ten.
    const double near = imageWaist - t.scale.ScreenToWorldX(498.48f);
    EXPECT_NE(read(498.48)->text.find(text::Format(curvature(rImg, near), "0.0e+00mm")),
              std::string::npos);

    // Nothing before the object waist or beyond the image waist, until a detector stands
    // farther out; nothing above or below the band, nor outside the beam mode.
    EXPECT_FALSE(read(99) || read(520) || read(kInf) || read(1e300));
    SetDetectorOn(f.w(), true);
    ApplyDetectorText(f.w(), "250");
    const auto beyond = read(520);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->colour, drawing::kBlue);
    for (double row : {19.9, 315.1, kNan}) EXPECT_FALSE(BeamHoverInfo(d, t, 600, 200, row));
    EXPECT_TRUE(BeamHoverInfo(d, t, 600, 200, 20) && BeamHoverInfo(d, t, 600, 200, 315));
    f.w().SetBeamMode(false);
    EXPECT_FALSE(read(200));
}

}  // namespace
}  // namespace rs::ui
