#include "ui/paraxial_drag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "app/presentation.h"
#include "drawing/recording_surface.h"
#include "engine/selection.h"
#include "support/numeric.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using T = DragTarget;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kRim = -1, kSeparation = -2;  // values beside the parameter table

// A window with its picture, redrawn the way the window redraws it after every change.
struct Drag : test::WindowFixture {
    drawing::RecordingSurface surface;
    app::DrawingMemory memory;
    ParaxialTouchPoints& touch = memory.touch;

    void Redraw() { app::DrawDesign(surface, s().design, s().machine.IsDragging(), memory); }
    double Px(float x) const { return touch.scale.WorldToScreenX(x); }
    double Py(float y) const { return touch.scale.WorldToScreenY(y); }
    double PerPixel() const { return 1.0 / touch.scale.scaleX; }  // mm (both axes)
    T Target(double x, double y) const { return TargetAt(s(), touch, x, y); }
    double Value(int what) const {
        return what == kRim          ? p().apertureTable.Get(kStopRadius)
               : what == kSeparation ? p().options.advanced.separation
                                     : Table(what);
    }
    std::optional<DragSession> Grab(double x, double y) {
        auto session = BeginParaxialDrag(w(), touch, x, y);
        Redraw();
        return session;
    }
    std::optional<DragSession> GrabAt(float x, float y) { return Grab(Px(x), Py(y)); }
    bool Move(DragSession& session, double x, double y) {
        const bool changed = DragTo(w(), session, x, y);
        Redraw();
        return changed;
    }
    void Release(DragSession& session) {
        EndParaxialDrag(w(), session);
        Redraw();
    }
};

TEST(ParaxialDragHitTest, TargetsAreTriedInOrderWithinTheirReach) {
    // axis, object tip, image tip, aperture top and bottom; object, F, P, P', F', image.
    const TouchPoints t{300, 250, 340, 260, 340, 100, 200, 400, 430, 600, 700};
    TouchPoints overlap = t;  // tip near the foot, P' near P, F' on F
    overlap.objectTipY = 295;
    overlap.secondPrincipalX = 405;
    overlap.rearFocusX = overlap.frontFocusX;
    const TouchConditions all{false, true, true, false}, rays{true, true, true, false},
        noStop{false, false, true, false}, simple{false, true, false, false},
        mirror{false, true, true, true};
    const struct {
        const TouchPoints& t;
        TouchConditions c;
        double x, y;
        T want;
    } cases[] = {
        // clang-format off
        // Each target, and the strict edge of its reach.
        {t, all, 100, 300, T::ObjectFoot}, {t, all, 111.9, 288.1, T::ObjectFoot},
        {t, all, 112, 300, T::None}, {t, all, 100, 250, T::ObjectTip},
        {t, all, 109.9, 275, T::ObjectArrow}, {t, all, 110, 275, T::None},
        {t, all, 700, 301, T::ImageFoot}, {t, all, 695, 345, T::ImageTip},
        {t, all, 700, 320, T::ImageArrow}, {t, all, 400, 349.9, T::ApertureRim},
        {t, all, 400, 350, T::None}, {t, all, 430, 330, T::SecondPrincipalPlane},
        {t, all, 200, 300, T::FrontFocus}, {t, all, 600, 300, T::RearFocus},
        // Where two overlap, the one tried first wins.
        {overlap, all, 100, 290, T::ObjectFoot}, {overlap, all, 404, 300, T::ApertureRim},
        {overlap, all, 200, 300, T::FrontFocus},
        // The rim only without construction rays and with an aperture; the second principal
        // plane only with the advanced options and not for a mirror, without an aperture only
        // at the axis.
        {t, rays, 400, 270, T::None}, {t, noStop, 400, 270, T::None},
        {t, noStop, 430, 305, T::SecondPrincipalPlane}, {t, noStop, 430, 330, T::None},
        {t, simple, 430, 330, T::None}, {t, mirror, 430, 330, T::None},
        // Mouse coordinates that are no numbers, or far outside, hit nothing.
        {t, all, kNan, 300, T::None}, {t, all, 100, -kInf, T::None}, {t, all, 1e300, 1, T::None},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TouchHitTest(c.t, c.c, c.x, c.y), c.want) << c.x << ", " << c.y;
    }
    EXPECT_FALSE(RegisterTouchPoints(ParaxialTouchPoints{}));
}

TEST(ParaxialDrag, EveryTargetFollowsTheMouseAndWildMovesLeaveFiniteValues) {
    const double big = std::numeric_limits<double>::max();
    const double wild[] = {kNan, kInf, -kInf, big, -big, 1e30, -1e30, 1e-310};
    // f' 100, a -200, u 40, f-number 10 (a stop radius of 5), HH' 20: the image at 220 with
    // u' -40, F at -100, F' at 120, on a picture off the surface's corner. Grabbed on the
    // feature, the feature goes where the mouse goes; an arrow's height scales from the axis.
    const struct {
        T target;
        float gx, gy, x, y;  // where the grab is, where the mouse goes
        std::vector<std::pair<int, double>> want;
    } cases[] = {
        // clang-format off
        {T::ObjectArrow, -200, 20, -250, 30, {{kObjDist, -250}, {kObjHeight, 60}}},
        {T::ObjectFoot, -200, 0, -250, 1, {{kObjDist, -250}, {kObjHeight, 40}}},
        {T::ObjectTip, -200, 40, -199, -20, {{kObjHeight, -20}, {kObjDist, -200}}},  // upside down
        {T::ImageArrow, 220, -20, 240, -30, {{kImgDist, 220}, {kImgHeight, -60}}},
        {T::ImageFoot, 220, 0, 250, 0, {{kImgDist, 230}, {kFocal, 100}}},
        {T::ImageTip, 220, -40, 219, -50, {{kImgHeight, -50}, {kImgDist, 200}}},
        {T::ApertureRim, 0, 5, 0, -8, {{kRim, 8}}},  // through the axis it keeps its sign
        {T::SecondPrincipalPlane, 20, -5, 35, -5, {{kSeparation, 35}}},
        {T::FrontFocus, -100, 0, -130, 0, {{kFocal, 130}}},
        {T::RearFocus, 120, 0, 110, 0, {{kFocal, 90}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        Drag f;
        f.surface.SetScale({30, 20, 400, 300});
        f.Lens();
        f.Type(kObjHeight, "40");  // arrows long enough to be grabbed between foot and tip
        f.w().SetApertureChecked(kFNumber, true);
        f.w().ApplyApertureValue("10");
        f.w().SetAdvancedOptions(true);
        f.w().ApplyAdvancedValue(0, "20");
        f.Redraw();
        auto s = f.GrabAt(c.gx, c.gy);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Target(), c.target);
        EXPECT_TRUE(f.s().machine.IsDragging());
        const double x = f.Px(c.x), y = f.Py(c.y);
        EXPECT_TRUE(f.Move(*s, x, y));
        for (const auto& [what, want] : c.want) EXPECT_REL(f.Value(what), want) << what;
        for (double v : wild) {
            f.Move(*s, v, y);
            f.Move(*s, x, v);
            f.Move(*s, v, -v);
            for (const CVarType& e : f.p().params.Entries())
                EXPECT_TRUE(std::isfinite(e.sVarValue));
            for (double kept : {double{f.p().aperture.Value(1)}, f.Value(kSeparation)}) {
                EXPECT_TRUE(std::isfinite(kept) && kept >= 0);
            }
        }
        f.Release(*s);
        EXPECT_TRUE(f.s().machine.IsIdle());
        EXPECT_FALSE(s->Active());
    }
}

TEST(ParaxialDrag, AGrabChoosesItsValuesWithoutChangingTheSystem) {
    // The usual lens (u 40) with some parameters swapped for others, the grab, and the
    // parameters chosen at mouse-down: the system stays, in a combination the rules allow.
    const struct {
        std::vector<int> off, on;
        float x, y;
        std::vector<int> chosen;
    } cases[] = {
        // clang-format off
        {{}, {}, 200, -20, {kFocal, kImgDist, kImgHeight}},               // the image arrow
        // a', u, w' and the object foot: a in the place of a' would fix a twice (u and w' give
        // it), so u makes way.
        {{kFocal, kObjDist}, {kImgDist, kImgAngle}, -200, 0, {kObjDist, kImgDist, kImgAngle}},
        // a', u, u' and F: with a field parameter at position 2, the conjugate makes way.
        {{kFocal, kObjDist}, {kImgDist, kImgHeight}, -100, 0, {kFocal, kObjHeight, kImgHeight}},
        // clang-format on
    };
    auto chosen = [](const Drag& f) {
        std::vector<int> out;
        for (const CVarType& e : f.p().params.Entries()) out.push_back(e.nVarType);
        return out;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        Drag f;
        f.Lens();
        f.Type(kObjHeight, "40");
        for (int i : c.off) f.w().SetParamChecked(i, false);
        for (int i : c.on) f.w().SetParamChecked(i, true);
        f.Redraw();
        ASSERT_FALSE(f.p().bCalcInvalid);
        const ParamTable system = f.p().paramTable;
        auto s = f.GrabAt(c.x, c.y);
        ASSERT_TRUE(s && s->SelectionChanged());
        EXPECT_EQ(chosen(f), c.chosen);
        EXPECT_FALSE(CombinationMessage(f.p().params) || f.p().bCalcInvalid);
        for (int i : {kFocal, kObjDist, kImgDist, kObjHeight, kImgHeight, kImgAngle}) {
            EXPECT_REL(f.Table(i), system.Get(i));
        }
        EXPECT_EQ(f.s().backup.Kind(), kBackupDrag);
        f.Release(*s);
    }
}

TEST(ParaxialDrag, WholeDragIsOneUndoStep) {
    Drag f;
    f.Lens();
    f.Type(kFocal, "120");
    f.Redraw();
    // A click on a feature that moves nothing keeps the user's last undo step.
    const Snapshot typed = Capture(f.s().design);
    auto click = f.GrabAt(-200, 0);
    ASSERT_TRUE(click);
    f.Move(*click, f.Px(-200), f.Py(0));
    f.Release(*click);
    EXPECT_EQ(Capture(f.s().design), typed);
    EXPECT_EQ(f.s().backup.Kind(), kBackupTypedValue);
    // A drag that chooses a' at mouse-down and moves many times.
    auto s = f.GrabAt(300, 0);
    ASSERT_TRUE(s && s->SelectionChanged());
    for (int step = 1; step <= 20; ++step) f.Move(*s, f.Px(300.0f + step), f.Py(0));
    f.Release(*s);
    const Snapshot after = Capture(f.s().design);
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), typed);
    f.w().Undo();  // and the drag is back
    EXPECT_EQ(Capture(f.s().design), after);
}

TEST(ParaxialDrag, NothingStartsWithoutAGrabOrWhileBusy) {
    Drag f;
    f.Lens();
    f.Redraw();
    const double xa = f.Px(-200), y = f.Py(0);
    ASSERT_TRUE(f.w().BeginDrag());  // busy
    EXPECT_FALSE(f.Grab(xa, y));
    EXPECT_EQ(f.Target(xa, y), T::None);
    f.w().EndDrag({});
    f.w().SetBeamMode(true);  // no picture, whatever the last drawing left behind
    EXPECT_FALSE(BeginParaxialDrag(f.w(), f.touch, xa, y));
    f.w().SetBeamMode(false);
    // An ended session moves nothing, nor does one whose drag the window ended.
    auto s = f.Grab(xa, y);
    ASSERT_TRUE(s);
    f.Release(*s);
    const Snapshot ended = Capture(f.s().design);
    EXPECT_FALSE(f.Move(*s, xa - 50, y));
    s = f.Grab(xa, y);
    ASSERT_TRUE(s);
    f.w().EndDrag({});
    EXPECT_FALSE(f.Move(*s, xa - 50, y));
    EXPECT_EQ(Capture(f.s().design), ended);
    EXPECT_TRUE(f.s().machine.IsIdle());
}

TEST(ParaxialDrag, SecondPrincipalPlaneLeavesTheElement) {
    Drag f;
    f.Lens();
    f.w().SetAdvancedOptions(true);
    f.Redraw();
    // With no separation the plane sits on the element; scaling 0 would keep it there, so the
    // plane goes where the mouse is, but never before the first principal plane.
    const double x0 = f.Px(0) + 3, y = f.Py(0) + 2;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), T::SecondPrincipalPlane);
    EXPECT_TRUE(f.Move(*s, x0 + 37, y));
    EXPECT_REL(f.p().options.PrincipalPlaneSeparation(), 40 * f.PerPixel());
    f.Move(*s, x0 - 30, y);
    EXPECT_EQ(f.p().options.advanced.separation, 0.0f);
    f.Release(*s);
    f.w().ChooseMirrorMode(1);  // a mirror has none to grab
    f.Redraw();
    EXPECT_EQ(f.Target(f.Px(0) + 3, f.Py(0) + 2), T::None);
}

TEST(ParaxialDrag, ObjectFootStaysRealAndTakesItsLimitsAlongAtTheEnd) {
    Drag f;
    f.Lens();
    f.Redraw();
    const double y = f.Py(0);
    auto s = f.GrabAt(-200, 0);
    ASSERT_TRUE(s);
    f.Move(*s, f.Px(-300), y);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);  // no ratchet while the mouse roams
    f.Move(*s, f.Px(-20), y);
    f.Move(*s, f.Px(30), y);  // through the lens: refused
    EXPECT_REL(f.Table(kObjDist), -20.0);
    // Pressed against the lens, the field angle atan(u/a) would round to 90°: refused too.
    EXPECT_FALSE(f.Move(*s, f.Px(0) - 1e-8 / f.PerPixel(), y));
    EXPECT_REL(f.Table(kObjDist), -20.0);
    EXPECT_FALSE(f.p().bCalcInvalid);
    f.Move(*s, f.Px(-300), y);
    f.Release(*s);
    const CVarType& a = f.Param(kObjDist);
    EXPECT_REL(a.sVarValue, -300.0);
    EXPECT_LE(a.sLimLow, a.sVarValue);
    EXPECT_EQ(a.sLimHih, -180.0f);

    // The object 2 mm before the lens, grabbed a few pixels behind it: scaling by the ratio of
    // distances would throw it to the other side, against the mouse.
    f.Type(kObjDist, "-2");
    f.Redraw();
    ASSERT_LT(f.Px(0) - f.Px(-2), 10.0);
    s = f.Grab(f.Px(0) + 2, f.Py(0));
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Target(), T::ObjectFoot);
    f.Move(*s, f.Px(0) - 20, f.Py(0));
    EXPECT_REL(f.Table(kObjDist), -20 * f.PerPixel());
    f.Release(*s);
}

}  // namespace
}  // namespace rs::ui
