#include "engine/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/design_builder.h"
#include "support/numeric.h"

namespace rs::engine {
namespace {

using test::Choose;
using test::P;

// The imaging relations themselves are swept in the property test; here what they leave open:
// heights, angles, the object-side focal length, the choice of root and the infinite conjugates.
TEST(SolveParaxial, LensAndMirrorFromFocalLengthAndObject) {
    const ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    ASSERT_FALSE(d.bCalcInvalid);
    EXPECT_REL(P(d, kObjFocal), -100);
    EXPECT_REL(P(d, kObjAngle), std::atan(10.0 / -200.0));
    EXPECT_REL(P(d, kImgAngle), std::atan(10.0 / -200.0));
    EXPECT_REL(P(d, kImgHeight), -10);
    EXPECT_FALSE(IsVirtualImage(d) || IsVirtualObject(d));

    const ParaxialDesign mirror =
        test::Solved({{kFocal, -100}, {kObjDist, -200}, {kObjAngle, 0.05f}}, 0, true);
    EXPECT_REL(P(mirror, kObjFocal), -100);  // f = f' in a mirror
    EXPECT_REL(P(mirror, kImgDist), -200);   // real image in front of the mirror
    EXPECT_REL(P(mirror, kImgAngle), -0.05);
    EXPECT_FALSE(IsVirtualImage(mirror));
}

TEST(SolveParaxial, FocalLengthAndThrowChoosesTheConjugatePair) {
    // clang-format off
    const struct { float t; bool solvable; float a, ap; } rows[] = {
        {300, false, 0, 0},      // shorter than 4f': no real pair
        {400, true, -200, 200},  // 1:1
        {450, true, -300, 150},  // the more distant object of the two pairs
        {1e6f, true, -999899.99f, 100.01f}};
    // clang-format on
    for (const auto& r : rows) {
        const ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjImgDist, r.t}, {kObjHeight, 1}});
        ASSERT_EQ(d.bCalcInvalid, !r.solvable) << r.t;
        if (!r.solvable) continue;
        EXPECT_REL(P(d, kObjDist), r.a);
        EXPECT_REL(P(d, kImgDist), r.ap);
    }
}

TEST(SolveParaxial, InfiniteConjugates) {
    ParaxialDesign d = test::Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}});
    EXPECT_TRUE(ObjectInFrontFocalPlane(d));
    EXPECT_EQ(P(d, kImgDist), kInfinity);
    EXPECT_EQ(P(d, kMagnif), 0.0f);
    EXPECT_EQ(P(d, kObjImgDist), 0.0f);

    d = test::Solved({{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    EXPECT_REL(P(d, kImgDist), 100);
    EXPECT_EQ(P(d, kMagnif), 0.0f);
    EXPECT_EQ(P(d, kObjImgDist), 0.0f);
    EXPECT_REL(P(d, kImgHeight), 100 * std::tan(0.1f));

    // Zero magnification with the image distance given puts the object at infinity.
    d = test::Solved({{kImgDist, 80}, {kMagnif, 0}, {kObjAngle, 0.1f}});
    EXPECT_EQ(P(d, kObjDist), kInfinity);
    EXPECT_REL(P(d, kFocal), 80);

    // A diverging lens with the object at infinity forms a virtual image.
    d.options.objAtInfinity = true;
    Choose(d, {{kFocal, -50}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    ASSERT_TRUE(SolveParaxial(d, false));
    EXPECT_TRUE(IsVirtualImage(d));
}

TEST(SolveParaxial, FailuresMarkTheSolveInvalidAndLeaveNoFaultInTheTable) {
    const struct {
        const char* what;
        std::initializer_list<std::pair<int, float>> values;
    } rows[] = {
        {"a = 0 in (f', a)", {{kFocal, 100}, {kObjDist, 0}, {kObjHeight, 1}}},
        {"a' = a with K = 1", {{kObjDist, -200}, {kImgDist, -200}, {kObjHeight, 1}}},
        {"zero magnification of a finite object",
         {{kObjDist, -200}, {kMagnif, 0}, {kObjHeight, 1}}},
        {"m' = K with a throw", {{kMagnif, 1}, {kObjImgDist, 100}, {kObjHeight, 1}}},
        {"zero field angle fixing a distance", {{kFocal, 100}, {kObjHeight, 1}, {kObjAngle, 0}}},
        {"throw beyond a single", {{kObjDist, -3e38f}, {kImgDist, 3e38f}, {kObjAngle, .1f}}},
        {"object distance beyond a single",
         {{kMagnif, 1.0000001f}, {kObjImgDist, 3e38f}, {kObjHeight, 1}}},
        {"zero focal length from a throw", {{kObjDist, 0}, {kObjImgDist, 100}, {kObjHeight, 1}}},
        {"object distance over-determined", {{kObjDist, -200}, {kObjHeight, 1}, {kImgAngle, .1f}}},
        {"image distance over-determined", {{kImgDist, 200}, {kObjAngle, .1f}, {kImgHeight, 1}}},
        {"non-finite input", {{kFocal, NAN}, {kObjDist, -200}, {kObjHeight, 1}}},
        {"three conjugates", {{kFocal, 100}, {kObjDist, -200}, {kImgDist, 200}}},
    };
    for (const auto& r : rows) {
        ParaxialDesign d;
        Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
        ASSERT_TRUE(SolveParaxial(d, true));
        const DataContinuity before = d.continuity;
        Choose(d, r.values);
        EXPECT_FALSE(SolveParaxial(d, true)) << r.what;
        EXPECT_TRUE(d.bCalcInvalid) << r.what;
        EXPECT_EQ(d.continuity, before) << r.what;
        for (int i = 0; i < kParamCount; ++i) EXPECT_TRUE(std::isfinite(P(d, i))) << r.what;
    }
}

TEST(SolveParaxial, IncompleteSelectionIsNotAFailure) {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}});
    EXPECT_FALSE(SolveParaxial(d, false));
    EXPECT_FALSE(d.bCalcInvalid);
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    d.params.Entry(3).bVarValDef = false;
    EXPECT_FALSE(SolveParaxial(d, false));
    EXPECT_FALSE(d.bCalcInvalid);
}

// Every way of describing one system must give that system back: solve a reference, then choose
// each allowed set of three of its own values and solve again.
void ExpectEveryDescriptionReproduces(ParaxialDesign reference) {
    ASSERT_TRUE(SolveParaxial(reference, false));
    for (int i1 = 0; i1 <= 8; ++i1) {
        for (int i2 = i1 + 1; i2 <= 8; ++i2) {
            for (int i3 = i2 + 1; i3 <= 8; ++i3) {
                ParaxialDesign d = reference;
                Choose(d, {{i1, P(reference, i1)}, {i2, P(reference, i2)}, {i3, P(reference, i3)}});
                if (CombinationMessage(d.params)) continue;
                ASSERT_TRUE(SolveParaxial(d, false)) << i1 << i2 << i3;
                for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 20}) {
                    EXPECT_TRUE(test::RelNear(P(d, k), P(reference, k), 2e-4, 1e-4))
                        << "index " << k << " from (" << i1 << "," << i2 << "," << i3 << ")";
                }
            }
        }
    }
}

TEST(SolveParaxial, EveryAllowedDescriptionReproducesTheSystem) {
    ParaxialDesign lens;
    Choose(lens, {{kFocal, 100}, {kObjDist, -250}, {kObjHeight, 10}});
    ExpectEveryDescriptionReproduces(lens);

    ParaxialDesign media = lens;
    media.options.advOptions = true;
    media.options.advanced.n = 1.2f;
    media.options.advanced.nImage = 1.5f;
    media.options.advanced.separation = 5;
    ExpectEveryDescriptionReproduces(media);

    ParaxialDesign mirror;
    mirror.options.mirrorMode = true;
    Choose(mirror, {{kFocal, -80}, {kObjDist, -300}, {kObjHeight, 12}});
    ExpectEveryDescriptionReproduces(mirror);

    ParaxialDesign virtualImage;
    Choose(virtualImage, {{kFocal, 100}, {kObjDist, -60}, {kObjHeight, 5}});
    ExpectEveryDescriptionReproduces(virtualImage);
}

}  // namespace
}  // namespace rs::engine
