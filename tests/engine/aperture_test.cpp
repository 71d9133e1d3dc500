#include "engine/aperture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/design_builder.h"
#include "support/numeric.h"

namespace rs::engine {
namespace {

using test::Ap;
using test::Choose;
using test::ChooseAperture;
using test::P;

ParaxialDesign OneToOne() {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    return d;
}

TEST(ComputeAperture, FiguresOfAStopInAir) {
    const ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10);
    ASSERT_FALSE(d.bCalcInvalid || d.bApertureUndefined);
    EXPECT_REL(Ap(d, kNA), std::sin(std::atan(0.05)));
    EXPECT_REL(Ap(d, kFNumber), 5);
    EXPECT_REL(Ap(d, kAiryRadius), 0.61 * 546.1e-6 * 200 / 10);
    EXPECT_REL(MTFCutOff(d), 20 / (200 * 546.1e-6));
    EXPECT_REL(EffectiveFNumber(d), 10);
}

TEST(ComputeAperture, EveryApertureParameterDescribesTheSameStop) {
    // In media and in a mirror, choosing any one figure of a solved aperture must give back the
    // stop and all other figures: each derivation is the inverse of its formula.
    struct Setup {
        bool mirror;
        float n, nImage;
    };
    for (const Setup s : {Setup{false, 1.0f, 1.33f}, Setup{false, 1.5f, 1.2f}, Setup{true, 1, 1},
                          Setup{true, 1.33f, 1}}) {
        ParaxialDesign ref = OneToOne();
        ref.options.mirrorMode = s.mirror;
        ref.options.advOptions = true;
        ref.options.advanced.n = s.n;
        ref.options.advanced.nImage = s.nImage;
        ChooseAperture(ref, kStopRadius, 12);
        ASSERT_TRUE(SolveParaxial(ref, false));
        for (int chosen = 0; chosen < kApertureCount; ++chosen) {
            ParaxialDesign d = ref;
            ChooseAperture(d, chosen, Ap(ref, chosen));
            d.apertureTable.Clear();
            ASSERT_TRUE(SolveParaxial(d, false));
            for (int k = 0; k < kApertureCount; ++k) {
                // The Airy path goes through NA' = 0.61·λ/A, the small-angle form, and carries
                // the sign of a'/n' instead of the sign of the stop.
                const bool airy = chosen == kAiryRadius && k != kAiryRadius;
                const double got = airy ? std::fabs(Ap(d, k)) : Ap(d, k);
                const double want = airy ? std::fabs(Ap(ref, k)) : Ap(ref, k);
                EXPECT_TRUE(test::RelNear(got, want, airy ? 2e-2 : 1e-5))
                    << "figure " << k << " from " << chosen << " n'=" << s.nImage
                    << " mirror=" << s.mirror;
            }
        }
    }
}

TEST(ComputeAperture, SignsAndSpecialValues) {
    // f-number 4 at infinity: r = 12.5, no object-side aperture; in a medium too.
    ParaxialDesign inf;
    Choose(inf, {{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ChooseAperture(inf, kFNumber, 4);
    ASSERT_TRUE(SolveParaxial(inf, false));
    EXPECT_REL(Ap(inf, kStopRadius), 12.5);
    EXPECT_NEAR(Ap(inf, kNA), 0.0, 1e-12);
    inf.options.advOptions = true;
    inf.options.advanced.nImage = 1.5f;
    ASSERT_TRUE(SolveParaxial(inf, false));
    EXPECT_REL(EffectiveFNumber(inf), 4);

    // Airy radius 0: no aperture at all.
    ParaxialDesign airy = OneToOne();
    ChooseAperture(airy, kAiryRadius, 0);
    ASSERT_TRUE(SolveParaxial(airy, false));
    for (int k = 0; k < kApertureCount; ++k) EXPECT_EQ(Ap(airy, k), 0.0f) << k;

    // A virtual image has a negative cut-off, a real mirror image a positive one.
    EXPECT_LT(MTFCutOff(test::Solved({{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 1}}, 5)), 0);
    const ParaxialDesign mirror =
        test::Solved({{kFocal, -100}, {kObjDist, -200}, {kObjHeight, 10}}, 5, true);
    ASSERT_LT(P(mirror, kImgDist), 0);
    EXPECT_GT(MTFCutOff(mirror), 0);

    // A negative focal length gives a signed stop radius from the f-number.
    ParaxialDesign neg;
    Choose(neg, {{kFocal, -100}, {kObjDist, -200}, {kObjHeight, 1}});
    ChooseAperture(neg, kFNumber, 4);
    ASSERT_TRUE(SolveParaxial(neg, false));
    EXPECT_REL(Ap(neg, kStopRadius), -12.5);
}

TEST(ComputeAperture, ImpossibleAperturesFailTheSolve) {
    for (auto [index, value] :
         {std::pair{kNA, 1.0f}, {kNA, -1.0f}, {kNAImage, 1.2f}, {kFNumber, 0.0f}}) {
        ParaxialDesign d = OneToOne();
        ChooseAperture(d, index, value);
        EXPECT_FALSE(SolveParaxial(d, false)) << index << " " << value;
        EXPECT_TRUE(d.bCalcInvalid);
    }
    // A zero image distance has no cut-off frequency: (f', m' = 1) puts both conjugates at P.
    EXPECT_FALSE(test::Solved({{kFocal, 100}, {kMagnif, 1}, {kObjAngle, 0.1f}}).bCalcInvalid);
    EXPECT_TRUE(test::Solved({{kFocal, 100}, {kMagnif, 1}, {kObjAngle, 0.1f}}, 5).bCalcInvalid);
}

TEST(ComputeAperture, WithoutApertureParameterTheOldFiguresStay) {
    ParaxialDesign d = OneToOne();
    ChooseAperture(d, kStopRadius, 10);
    ASSERT_TRUE(SolveParaxial(d, true));
    const ApertureTable before = d.apertureTable;
    d.aperture.Clear();
    ASSERT_TRUE(SolveParaxial(d, true));
    EXPECT_TRUE(d.bApertureUndefined);
    EXPECT_EQ(d.apertureTable, before);
    EXPECT_FALSE(d.continuity.Aperture(kStopRadius).defined);
}

TEST(ComputeCardinalPoints, MediaAndSeparation) {
    ParaxialDesign d;
    d.options.advOptions = true;
    d.options.advanced.nImage = 1.5f;
    d.options.advanced.separation = 5;
    Choose(d, {{kFocal, 100}, {kObjDist, -300}, {kObjHeight, 1}});
    ASSERT_TRUE(SolveParaxial(d, false));
    const float expected[] = {0, 5, -66.6667f, 105, 33.3333f, 38.3333f};
    for (int i = 0; i < kCardinalCount; ++i) {
        EXPECT_TRUE(test::RelNear(d.cardinal[static_cast<std::size_t>(i)], expected[i], 1e-5, 1e-6))
            << i;
    }
}

TEST(ArcSin, InsideAndOutsideTheUnitInterval) {
    EXPECT_REL(*ArcSin(-0.999), std::asin(-0.999));
    for (double bad : {1.0, -1.0, double(NAN)}) EXPECT_FALSE(ArcSin(bad)) << bad;
}

}  // namespace
}  // namespace rs::engine
