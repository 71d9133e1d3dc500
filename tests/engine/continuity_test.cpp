#include "engine/continuity.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/design_builder.h"
#include "support/numeric.h"

namespace rs::engine {
namespace {

using test::Choose;
using test::P;

TEST(DataContinuity, ExchangedParameterContinuesTheSystem) {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    ASSERT_TRUE(SolveParaxial(d, true));

    // Exchange a for a': it starts at the solved 200 with limits 10 % around it.
    d.params.Remove(kObjDist);
    ASSERT_TRUE(d.AddParam(kImgDist).ok());
    const CVarType& e = d.params.At(*d.params.Find(kImgDist));
    EXPECT_TRUE(e.bVarValDef);
    EXPECT_REL(e.sVarValue, 200);
    EXPECT_REL(e.sLimLow, 180);
    EXPECT_REL(e.sLimHih, 220);
    ASSERT_TRUE(SolveParaxial(d, true));
    EXPECT_REL(P(d, kObjDist), -200);

    // A negative value gets mirrored limits; a larger margin widens them.
    d.sliderDefaultPercent = 50;
    const CVarType a = d.continuity.PrefillGeneral(kObjDist, d.Margin());
    EXPECT_REL(a.sLimLow, -300);
    EXPECT_REL(a.sLimHih, -100);

    // A failed solve records nothing; an incomplete one forgets the values.
    Choose(d, {{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}});
    EXPECT_FALSE(SolveParaxial(d, true));
    EXPECT_TRUE(d.continuity.General(kImgDist).defined);
    Choose(d, {{kFocal, 100}});
    EXPECT_FALSE(SolveParaxial(d, true));
    const CVarType fresh = d.continuity.PrefillGeneral(kImgDist, d.Margin());
    EXPECT_FALSE(fresh.bVarValDef || fresh.bLimLowDef || fresh.bLimHihDef);
}

TEST(LimitRule, MarginAndExtension) {
    EXPECT_DOUBLE_EQ(LimitMargin(5), 0.10);  // too small a margin falls back to the standard
    EXPECT_DOUBLE_EQ(LimitMargin(80), 0.80);

    CVarType e;
    e.bLimLowDef = e.bLimHihDef = true;
    e.sLimLow = 180;
    e.sLimHih = 220;
    EXPECT_FALSE(ExtendLimitsToValue(e, 200, 1, 0.1));  // already inside
    EXPECT_TRUE(ExtendLimitsToValue(e, 250, 1, 0.1));
    EXPECT_REL(e.sLimHih, 275);
    EXPECT_REL(e.sLimLow, 180);
    // The value is in display units: 20 cm into mm limits.
    EXPECT_TRUE(ExtendLimitsToValue(e, -5, 10, 0.1));
    EXPECT_REL(e.sLimLow, -55);

    // Limits stay finite at the end of single precision.
    const AutoLimits huge = LimitsAround(3e38, 0.8);
    EXPECT_TRUE(std::isfinite(huge.high) && std::isfinite(huge.low));

    // Without limits a value of 0 has nothing to extend; any other gets limits around it.
    CVarType empty;
    EXPECT_FALSE(ExtendLimitsToValue(empty, 0, 1, 0.1));
    EXPECT_TRUE(ExtendLimitsToValue(empty, -4, 1, 0.1));
    EXPECT_REL(empty.sLimLow, -4.4);
    EXPECT_REL(empty.sLimHih, -3.6);
}

TEST(DataContinuity, BeamAxesAreSeparate) {
    DataContinuity c;
    double axis0[kContinuityBeam] = {};
    axis0[3] = 0.25;
    c.RecordBeam(0, axis0, true);
    EXPECT_FLOAT_EQ(c.Beam(0, 3).value, 0.25f);
    EXPECT_FALSE(c.Beam(1, 3).defined);
    const CVarType p = c.PrefillBeam(0, 3, 0.2);
    EXPECT_REL(p.sLimHih, 0.3);
    c.Clear();
    EXPECT_FALSE(c.Beam(0, 3).defined);
}

}  // namespace
}  // namespace rs::engine
