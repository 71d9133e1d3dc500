#include "ui/paraxial_drag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "drawing/recording_surface.h"
#include "app/presentation.h"
#include "engine/selection.h"
#include "support/numeric.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using drawing::DrawingExtents;
using drawing::RecordingSurface;
using drawing::ScaleRect;

using namespace engine;  // parameter indices
using ui::Capture;
using ui::Snapshot;

// A window with its picture, redrawn the way the window redraws it after every change.
struct Drag : test::WindowFixture {
    RecordingSurface surface;
    DrawingExtents extents;
    ParaxialTouchPoints touch;

    void Redraw() {
        app::DrawDesign(surface, s().design, s().machine.IsDragging(), extents, touch);
    }
    double Px(float x) const { return touch.scale.WorldToScreenX(x); }
    double Py(float y) const { return touch.scale.WorldToScreenY(y); }
    double PerPixel() const { return 1.0 / touch.scale.scaleX; }  // mm (both axes)
    float Cardinal(int i) const { return p().cardinal[static_cast<std::size_t>(i)]; }
    bool Has(int index) const { return p().params.Contains(index); }
    // The usual lens with some parameters swapped for others.
    void Swap(std::initializer_list<int> off, std::initializer_list<int> on) {
        Lens();
        for (int i : off) w().SetParamChecked(i, false);
        for (int i : on) w().SetParamChecked(i, true);
        Redraw();
    }

    std::optional<DragSession> Grab(double x, double y) {
        auto session = BeginParaxialDrag(w(), touch, x, y);
        Redraw();
        return session;
    }
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

TouchPoints Sample() {
    TouchPoints t;
    t.axisY = 300;
    t.objectTipY = 250;
    t.imageTipY = 340;
    t.apertureTopY = 260;
    t.apertureBottomY = 340;
    t.objectX = 100;
    t.frontFocusX = 200;
    t.principalX = 400;
    t.secondPrincipalX = 430;
    t.rearFocusX = 600;
    t.imageX = 700;
    return t;
}

TEST(ParaxialDragHitTest, TargetsAreTriedInOrderWithinTheirReach) {
    using T = DragTarget;
    TouchPoints t = Sample();
    TouchConditions all;
    all.apertureDefined = true;
    all.advancedOptions = true;
    auto hit = [&](double x, double y, const TouchConditions& c) {
        return TouchHitTest(t, c, x, y);
    };
    struct Case {
        double x, y;
        T want;
    };
    // Each target, and the strict edge of its reach.
    for (const Case& c : {Case{100, 300, T::ObjectFoot},
                          {111.9, 288.1, T::ObjectFoot},
                          {112, 300, T::None},
                          {100, 250, T::ObjectTip},
                          {109.9, 275, T::ObjectArrow},
                          {110, 275, T::None},
                          {700, 301, T::ImageFoot},
                          {695, 345, T::ImageTip},
                          {700, 320, T::ImageArrow},
                          {400, 349.9, T::ApertureRim},
                          {400, 350, T::None},
                          {430, 330, T::SecondPrincipalPlane},
                          {200, 300, T::FrontFocus},
                          {600, 300, T::RearFocus}}) {
        EXPECT_EQ(hit(c.x, c.y, all), c.want) << c.x << ", " << c.y;
    }

    // Where two targets overlap, the one tried first wins: the foot over its arrow and tip,
    // the rim over the second principal plane, F over F'.
    t.objectTipY = 295;
    EXPECT_EQ(hit(100, 290, all), T::ObjectFoot);
    t.secondPrincipalX = 405;
    EXPECT_EQ(hit(404, 300, all), T::ApertureRim);
    t.rearFocusX = t.frontFocusX;
    EXPECT_EQ(hit(200, 300, all), T::FrontFocus);

    // Conditions: the rim only without construction rays and with an aperture; the second
    // principal plane only with the advanced options and not for a mirror, and without an
    // aperture only at the axis.
    t = Sample();
    auto with = [&](bool TouchConditions::*flag, bool value) {
        TouchConditions c = all;
        c.*flag = value;
        return c;
    };
    EXPECT_EQ(hit(400, 270, with(&TouchConditions::constructionRays, true)), T::None);
    EXPECT_EQ(hit(400, 270, with(&TouchConditions::apertureDefined, false)), T::None);
    EXPECT_EQ(hit(430, 305, with(&TouchConditions::apertureDefined, false)),
              T::SecondPrincipalPlane);
    EXPECT_EQ(hit(430, 330, with(&TouchConditions::apertureDefined, false)), T::None);
    EXPECT_EQ(hit(430, 330, with(&TouchConditions::advancedOptions, false)), T::None);
    EXPECT_EQ(hit(430, 330, with(&TouchConditions::mirror, true)), T::None);

    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e300, -1e300}) {
        EXPECT_EQ(hit(v, 300, all), T::None);
        EXPECT_EQ(hit(100, v, all), T::None);
    }
    EXPECT_TRUE(MovesHorizontally(T::SecondPrincipalPlane) &&
                !MovesVertically(T::SecondPrincipalPlane));
    EXPECT_TRUE(!MovesHorizontally(T::ApertureRim) && MovesVertically(T::ApertureRim));
    EXPECT_FALSE(RegisterTouchPoints(ParaxialTouchPoints{}));
}

TEST(ParaxialDrag, ObjectFootFollowsTheMouseWhateverTheScale) {
    for (ScaleRect area : {ScaleRect{0, 0, 800, 600}, ScaleRect{30, 20, 400, 300}}) {
        Drag f;
        f.Lens();
        f.surface.SetScale(area);
        f.Redraw();
        const ParaxialTouchPoints atGrab = f.touch;
        const DrawingExtents extentsAtGrab = f.extents;
        const float a0 = f.Table(kObjDist);
        const double x0 = f.Px(a0), y0 = f.Py(0);
        auto s = f.Grab(x0, y0);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Target(), DragTarget::ObjectFoot);
        EXPECT_FALSE(s->SelectionChanged());
        EXPECT_TRUE(f.s().machine.IsDragging());

        // 50 pixels further from the lens, then 30 towards it; the height stays.
        EXPECT_TRUE(f.Move(*s, x0 - 50, y0 + 3));
        EXPECT_REL(f.Param(kObjDist).sVarValue, a0 - 50 * f.PerPixel());
        EXPECT_TRUE(f.Move(*s, x0 + 30, y0));
        EXPECT_REL(f.Table(kObjDist), a0 + 30 * f.PerPixel());
        EXPECT_EQ(f.Table(kObjHeight), 10.0f);
        EXPECT_EQ(f.Table(kFocal), 100.0f);
        // The picture does not rescale under the mouse.
        EXPECT_EQ(f.touch.scale, atGrab.scale);
        EXPECT_EQ(f.extents, extentsAtGrab);

        f.Release(*s);
        EXPECT_TRUE(f.s().machine.IsIdle());
        EXPECT_FALSE(s->Active());
        EXPECT_NE(f.extents, extentsAtGrab);  // fitted to the new system again

        // A grab a few pixels nearer the lens scales the distance in proportion.
        f.Redraw();
        const float a1 = f.Table(kObjDist);
        const double xP = f.Px(0), x1 = f.Px(a1) + 6;
        auto t = f.Grab(x1, f.Py(0));
        ASSERT_TRUE(t);
        f.Move(*t, x1 - 40, f.Py(0));
        EXPECT_REL(f.Table(kObjDist), a1 * (x1 - 40 - xP) / (x1 - xP));
        f.Release(*t);
    }
}

TEST(ParaxialDrag, HeightsAndArrowsFollowTheMouse) {
    Drag f;
    f.Lens();
    f.Type(kObjHeight, "40");
    f.Redraw();
    // The object tip pulled below the axis turns the object upside down.
    auto s = f.Grab(f.Px(-200), f.Py(40));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::ObjectTip);
    f.Move(*s, f.Px(-200) + 4, f.Py(0) + 20);
    EXPECT_REL(f.Table(kObjHeight), -20 * f.PerPixel());
    EXPECT_EQ(f.Table(kObjDist), -200.0f);
    f.Release(*s);

    // The image arrow, grabbed between foot and tip, moves a' and u' together; both are chosen
    // in place of a and u, whose values the solution keeps.
    f.Type(kObjHeight, "40");
    f.Redraw();
    const float up0 = f.Table(kImgHeight);
    ASSERT_EQ(up0, -40.0f);
    const double x0 = f.Px(200), y0 = f.Py(-30);
    s = f.Grab(x0, y0);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::ImageArrow);
    EXPECT_TRUE(s->SelectionChanged());
    EXPECT_TRUE(f.Has(kImgDist) && f.Has(kImgHeight) && f.Has(kFocal));
    EXPECT_FALSE(CombinationMessage(f.p().params));
    EXPECT_REL(f.Table(kObjDist), -200.0);
    f.Move(*s, x0 + 20, y0 + 30);
    EXPECT_REL(f.Table(kImgDist), 200 + 20 * f.PerPixel());
    EXPECT_REL(f.Table(kImgHeight), up0 * (y0 + 30 - f.Py(0)) / (y0 - f.Py(0)));
    EXPECT_EQ(f.Table(kFocal), 100.0f);
    f.Release(*s);
}

TEST(ParaxialDrag, FocalPointGrabChoosesTheFocalLength) {
    Drag f;
    f.Select({kObjDist, kImgDist, kObjHeight});
    f.Type(kObjDist, "-200");
    f.Type(kImgDist, "200");
    f.Type(kObjHeight, "10");
    ASSERT_FALSE(f.p().bCalcInvalid);
    ASSERT_TRUE(test::RelNear(f.Table(kFocal), 100.0));
    f.Redraw();
    const double xF = f.Px(f.Cardinal(kF)), y = f.Py(0);
    auto s = f.Grab(xF, y);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::FrontFocus);
    // At mouse-down: f' takes the place of a', with its value and limits around it; the other
    // two keep theirs, and the combination is one the selection allows.
    EXPECT_TRUE(s->SelectionChanged());
    ASSERT_TRUE(f.Has(kFocal) && f.Has(kObjDist) && f.Has(kObjHeight));
    EXPECT_FALSE(f.Has(kImgDist));
    EXPECT_REL(f.Param(kFocal).sVarValue, 100.0);
    EXPECT_TRUE(f.Param(kFocal).bLimLowDef && f.Param(kFocal).bLimHihDef);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    EXPECT_EQ(f.Param(kObjHeight).sVarValue, 10.0f);
    Selection check = f.p().params;
    EXPECT_FALSE(CheckCombination(check, kFocal));
    EXPECT_REL(f.Table(kImgDist), 200.0);
    EXPECT_EQ(f.s().backup.Kind(), ui::kBackupDrag);

    // F follows the mouse, further from the lens: a longer focal length.
    f.Move(*s, xF - 30, y);
    EXPECT_REL(f.Cardinal(kF), f.touch.scale.ScreenToWorldX(static_cast<float>(xF - 30)));
    EXPECT_REL(f.Table(kFocal), 100 + 30 * f.PerPixel());
    f.Release(*s);

    // F' is measured from the second principal plane.
    const float fp = f.Table(kFocal);
    const double xFp = f.Px(f.Cardinal(kFImage));
    s = f.Grab(xFp, y);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::RearFocus);
    EXPECT_FALSE(s->SelectionChanged());
    f.Move(*s, xFp - 10, y);
    EXPECT_REL(f.Table(kFocal), fp - 10 * f.PerPixel());
    f.Release(*s);
}

TEST(ParaxialDrag, ReplacementKeepsTheCombinationAllowed) {
    // a', u, w': putting a in the place of a' would fix a twice (u and w' give it), so u makes
    // way instead.
    Drag f;
    f.Swap({kFocal, kObjDist}, {kImgDist, kImgAngle});
    ASSERT_EQ(f.p().params.Count(), 3);
    ASSERT_FALSE(f.p().bCalcInvalid);
    ASSERT_TRUE(f.Has(kImgAngle));
    const float wp = f.Param(kImgAngle).sVarValue;
    auto s = f.Grab(f.Px(f.Table(kObjDist)), f.Py(0));
    ASSERT_TRUE(s);
    EXPECT_TRUE(f.Has(kObjDist) && f.Has(kImgDist) && !f.Has(kObjHeight));
    ASSERT_TRUE(f.Has(kImgAngle));
    EXPECT_EQ(f.Param(kImgAngle).sVarValue, wp);
    EXPECT_FALSE(CombinationMessage(f.p().params));
    EXPECT_FALSE(f.p().bCalcInvalid);
    EXPECT_REL(f.Table(kObjHeight), 10.0);
    f.Release(*s);

    // a', u, u': with a field parameter at position 2, the only conjugate makes way for f'.
    Drag h;
    h.Swap({kFocal, kObjDist}, {kImgDist, kImgHeight});
    ASSERT_FALSE(h.p().bCalcInvalid);
    s = h.Grab(h.Px(h.Cardinal(kF)), h.Py(0));
    ASSERT_TRUE(s);
    ASSERT_TRUE(h.Has(kFocal) && h.Has(kObjHeight) && h.Has(kImgHeight));
    EXPECT_FALSE(h.Has(kImgDist));
    EXPECT_EQ(h.Param(kObjHeight).sVarValue, 10.0f);
    EXPECT_EQ(h.Param(kImgHeight).sVarValue, -10.0f);
    h.Release(*s);

    // Object tip with f', a, u': u takes the place of u' (position 3).
    Drag g;
    g.Swap({kObjHeight}, {kImgHeight});
    g.Type(kImgHeight, "-10");
    g.Redraw();
    s = g.Grab(g.Px(-200), g.Py(10));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::ObjectTip);
    EXPECT_EQ(g.p().params.Index(1), kFocal);
    EXPECT_EQ(g.p().params.Index(2), kObjDist);
    EXPECT_EQ(g.p().params.Index(3), kObjHeight);
    g.Release(*s);
}

TEST(ParaxialDrag, WholeDragIsOneUndoStep) {
    Drag f;
    f.Lens();
    f.Type(kFocal, "120");
    f.Redraw();
    // A click on a feature that moves nothing keeps the user's last undo step.
    const Snapshot typed = Capture(f.s().design);
    const double xa = f.Px(f.Table(kObjDist)), y0 = f.Py(0);
    auto click = f.Grab(xa, y0);
    ASSERT_TRUE(click);
    f.Move(*click, xa, y0);
    f.Release(*click);
    EXPECT_EQ(Capture(f.s().design), typed);
    EXPECT_EQ(f.s().backup.Kind(), ui::kBackupTypedValue);

    // A drag of a chosen value stores the backup at its first change.
    auto plain = f.Grab(xa, y0);
    ASSERT_TRUE(plain);
    ASSERT_FALSE(plain->SelectionChanged());
    f.Move(*plain, xa - 10, y0);
    f.Move(*plain, xa - 20, y0);
    f.Release(*plain);
    ASSERT_NE(Capture(f.s().design), typed);
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), typed);

    // A drag that chooses a' at mouse-down and moves many times.
    f.Redraw();
    const Snapshot before = Capture(f.s().design);
    const float ap0 = f.Table(kImgDist);
    const double x0 = f.Px(ap0);
    auto s = f.Grab(x0, y0);
    ASSERT_TRUE(s);
    ASSERT_TRUE(s->SelectionChanged());
    for (int step = 1; step <= 20; ++step) f.Move(*s, x0 + 3 * step, y0);
    f.Release(*s);
    const Snapshot after = Capture(f.s().design);
    ASSERT_NE(after, before);
    EXPECT_EQ(f.s().backup.Kind(), ui::kBackupDrag);

    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), before);
    EXPECT_EQ(f.Table(kImgDist), ap0);
    f.w().Undo();  // and the drag is back
    EXPECT_EQ(Capture(f.s().design), after);
}

TEST(ParaxialDrag, NothingStartsWithoutAGrabOrWhileBusy) {
    Drag f;
    f.Lens();
    f.Redraw();
    const Snapshot before = Capture(f.s().design);
    const double xa = f.Px(-200), y = f.Py(0);

    // Misses.
    EXPECT_FALSE(f.Grab(xa + 40, y - 100));
    EXPECT_FALSE(f.Grab(f.Px(0), f.Py(0) + 200));
    EXPECT_EQ(TargetAt(f.s(), f.touch, xa + 40, y - 100), DragTarget::None);
    EXPECT_EQ(TargetAt(f.s(), f.touch, xa, y), DragTarget::ObjectFoot);

    // Busy: another drag, or a handler at work.
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_FALSE(f.Grab(xa, y));
    EXPECT_EQ(TargetAt(f.s(), f.touch, xa, y), DragTarget::None);
    f.w().EndDrag({});
    EXPECT_TRUE(f.s().machine.IsIdle());
    EXPECT_EQ(Capture(f.s().design), before);
    EXPECT_EQ(f.s().backup.Kind(), ui::kBackupTypedValue);

    // No picture to grab: touch points never registered, the beam mode, an incomplete system.
    EXPECT_FALSE(BeginParaxialDrag(f.w(), ParaxialTouchPoints{}, xa, y));
    f.w().SetBeamMode(true);
    EXPECT_FALSE(BeginParaxialDrag(f.w(), f.touch, xa, y));
    f.w().SetBeamMode(false);
    f.w().SetParamChecked(kObjHeight, false);
    EXPECT_FALSE(BeginParaxialDrag(f.w(), f.touch, xa, y));
    f.w().SetParamChecked(kObjHeight, true);
    ASSERT_TRUE(f.Has(kObjHeight));

    // An ended session moves nothing, nor does one whose drag the window ended.
    f.Redraw();
    auto s = f.Grab(xa, y);
    ASSERT_TRUE(s);
    f.Release(*s);
    const Snapshot ended = Capture(f.s().design);
    EXPECT_FALSE(f.Move(*s, xa - 50, y));
    f.Release(*s);
    EXPECT_EQ(Capture(f.s().design), ended);
    s = f.Grab(xa, y);
    ASSERT_TRUE(s);
    f.w().EndDrag({});
    EXPECT_FALSE(f.Move(*s, xa - 50, y));
    EXPECT_EQ(Capture(f.s().design), ended);
    EXPECT_TRUE(f.s().machine.IsIdle());
}

TEST(ParaxialDrag, WildMouseCoordinatesAreHarmless) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double big = std::numeric_limits<double>::max();
    const double wild[] = {nan, inf, -inf, big, -big, 1e30, -1e30, 1e-310};
    // A lens with a stop and separated principal planes, so every target can be grabbed.
    auto setUp = [](Drag& f) {
        f.Lens();
        f.Type(kObjHeight, "40");  // arrows long enough to be grabbed between foot and tip
        f.w().SetApertureChecked(kStopRadius, true);
        f.w().ApplyApertureValue("5");
        f.w().SetAdvancedOptions(true);
        f.w().ApplyAdvancedValue(0, "20");
        f.Redraw();
    };
    {
        Drag f;
        setUp(f);
        for (double v : wild) {
            if (std::fabs(v) < 1) continue;  // a fair pixel: near the object foot
            EXPECT_FALSE(f.Grab(v, v));
            EXPECT_FALSE(f.Grab(f.Px(-200), v));
            EXPECT_FALSE(f.Grab(v, f.Py(0)));
        }
        EXPECT_TRUE(f.s().machine.IsIdle());
    }

    // Every kind of grab, then moves anywhere: the values stay finite single-precision numbers.
    for (int target = 1; target <= 10; ++target) {
        Drag f;
        setUp(f);
        const float image = 20 + f.Table(kImgDist), up = f.Table(kImgHeight);
        // Where each target is, in the order of DragTarget.
        const std::pair<float, float> at[] = {{-200.0f, 20.0f},       {-200.0f, 0.0f},
                                              {-200.0f, 40.0f},       {image, up / 2},
                                              {image, 0.0f},          {image, up},
                                              {0.0f, 5.0f},           {20.0f, -5.0f},
                                              {f.Cardinal(kF), 0.0f}, {f.Cardinal(kFImage), 0.0f}};
        const double gx = f.Px(at[target - 1].first), gy = f.Py(at[target - 1].second);
        auto s = f.Grab(gx, gy);
        ASSERT_TRUE(s) << target;
        EXPECT_EQ(static_cast<int>(s->Target()), target);
        for (double v : wild) {
            f.Move(*s, v, gy);
            f.Move(*s, gx, v);
            f.Move(*s, v, -v);
            for (const CVarType& e : f.p().params.Entries()) {
                EXPECT_TRUE(std::isfinite(e.sVarValue));
            }
            EXPECT_TRUE(std::isfinite(f.p().aperture.Value(1)));
            EXPECT_GE(f.p().aperture.Value(1), 0.0f);
            EXPECT_TRUE(std::isfinite(f.p().options.advanced.separation));
            EXPECT_GE(f.p().options.advanced.separation, 0.0f);
        }
        f.Release(*s);
        EXPECT_TRUE(f.s().machine.IsIdle());
    }
}

TEST(ParaxialDrag, ApertureRimStretchesTheStop) {
    Drag f;
    f.Lens();
    f.w().SetApertureChecked(kFNumber, true);
    f.w().ApplyApertureValue("4");
    f.Redraw();
    const float r = f.p().apertureTable.Get(kStopRadius);
    ASSERT_GT(r, 0.0f);
    const double x = f.Px(0), yTop = f.Py(r);
    auto s = f.Grab(x, yTop);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::ApertureRim);
    // The f-number makes way for the stop radius at mouse-down.
    EXPECT_TRUE(s->SelectionChanged());
    ASSERT_EQ(f.p().aperture.Index(1), kStopRadius);
    EXPECT_EQ(f.p().aperture.Value(1), r);
    f.Move(*s, x, yTop - 20);
    EXPECT_REL(f.p().apertureTable.Get(kStopRadius), r + 20 * f.PerPixel());
    // Through the axis the radius keeps its sign.
    f.Move(*s, x, f.Py(-5));
    EXPECT_REL(f.p().apertureTable.Get(kStopRadius), 5.0);
    f.Release(*s);

    // The construction rays size the element by the conjugates: no rim to grab then.
    f.w().SetListOption(0, true);
    f.Redraw();
    EXPECT_NE(TargetAt(f.s(), f.touch, f.Px(0), f.Py(5)), DragTarget::ApertureRim);
}

TEST(ParaxialDrag, SecondPrincipalPlaneLeavesTheElement) {
    Drag f;
    f.Lens();
    f.Redraw();
    EXPECT_EQ(TargetAt(f.s(), f.touch, f.Px(0) + 3, f.Py(0)), DragTarget::None);
    f.w().SetAdvancedOptions(true);
    f.Redraw();
    // With no separation the plane sits on the element; scaling 0 would keep it there, so the
    // plane goes where the mouse is.
    const double x0 = f.Px(0) + 3, y = f.Py(0) + 2;
    auto s = f.Grab(x0, y);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Target(), DragTarget::SecondPrincipalPlane);
    EXPECT_TRUE(f.Move(*s, x0 + 37, y));
    EXPECT_REL(f.p().options.advanced.separation, 40 * f.PerPixel());
    EXPECT_REL(f.p().options.PrincipalPlaneSeparation(), 40 * f.PerPixel());
    f.Move(*s, x0 - 30, y);  // never before the first principal plane
    EXPECT_EQ(f.p().options.advanced.separation, 0.0f);
    f.Release(*s);

    f.w().ChooseMirrorMode(1);
    f.Redraw();
    EXPECT_EQ(TargetAt(f.s(), f.touch, f.Px(0) + 3, f.Py(0) + 2), DragTarget::None);
}

TEST(ParaxialDrag, ObjectFootStaysRealAndTakesItsLimitsAlongAtTheEnd) {
    Drag f;
    f.Lens();
    f.Redraw();
    const double xP = f.Px(0), y = f.Py(0);
    auto s = f.Grab(f.Px(-200), y);
    ASSERT_TRUE(s);
    f.Move(*s, f.Px(-200) - 100 / f.PerPixel(), y);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);  // no ratchet while the mouse roams
    f.Move(*s, xP - 20 / f.PerPixel(), y);
    EXPECT_REL(f.Table(kObjDist), -20.0);
    f.Move(*s, xP + 30 / f.PerPixel(), y);  // through the lens: refused
    EXPECT_REL(f.Table(kObjDist), -20.0);
    f.Move(*s, f.Px(-200) - 100 / f.PerPixel(), y);
    f.Release(*s);
    const CVarType& a = f.Param(kObjDist);
    EXPECT_REL(a.sVarValue, -300.0);
    EXPECT_LE(a.sLimLow, a.sVarValue);
    EXPECT_EQ(a.sLimHih, -180.0f);

    // Virtual objects allowed, it may cross the lens.
    f.w().SetPositiveObjectAllowed(true);
    f.Redraw();
    s = f.Grab(f.Px(f.Table(kObjDist)), y);
    ASSERT_TRUE(s);
    f.Move(*s, f.Px(0) + 30 / f.PerPixel(), y);
    EXPECT_REL(f.Table(kObjDist), 30.0);
    f.Release(*s);
}

TEST(ParaxialDrag, GrabAcrossTheElementStillFollowsTheMouse) {
    // The object 2 mm before the lens, grabbed a few pixels behind the lens: scaling by the
    // ratio of distances would throw it to the other side, against the mouse.
    Drag f;
    f.Lens();
    f.Type(kObjDist, "-2");
    f.Redraw();
    const double xP = f.Px(0), y = f.Py(0);
    ASSERT_LT(xP - f.Px(-2), 10.0);
    auto s = f.Grab(xP + 2, y);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Target(), DragTarget::ObjectFoot);
    f.Move(*s, xP - 20, y);
    EXPECT_REL(f.Table(kObjDist), -20 * f.PerPixel());
    f.Release(*s);
}

}  // namespace
}  // namespace rs::ui
