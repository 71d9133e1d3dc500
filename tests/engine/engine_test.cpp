// The paraxial engine: solver, aperture, continuity, catalogue, result list and report.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "engine/aperture.h"
#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "engine/design_builder.h"
#include "engine/numbers.h"
#include "engine/options.h"
#include "engine/report.h"
#include "support/numeric.h"

namespace rs::engine {
namespace {

using test::Ap;
using test::Choose;
using test::ChooseAperture;
using test::P;
using test::Solved;

ParaxialDesign OneToOne() {
    ParaxialDesign d;
    Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    return d;
}

// The imaging relations themselves are swept below; here one lens and one mirror in numbers, the
// choice of root and the infinite conjugates.
TEST(SolveParaxial, LensAndMirrorFromFocalLengthAndObject) {
    const ParaxialDesign d = Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
    ASSERT_FALSE(d.bCalcInvalid);
    EXPECT_REL(P(d, kImgHeight), -10);
    EXPECT_FALSE(IsVirtualImage(d) || IsVirtualObject(d));

    const ParaxialDesign mirror =
        Solved({{kFocal, -100}, {kObjDist, -200}, {kObjAngle, 0.05f}}, 0, true);
    EXPECT_REL(P(mirror, kImgDist), -200);  // real image in front of the mirror
    EXPECT_REL(P(mirror, kImgAngle), -0.05);
    EXPECT_FALSE(IsVirtualImage(mirror));
}

TEST(SolveParaxial, FocalLengthAndThrowChoosesTheConjugatePair) {
    // clang-format off
    const struct { float t; bool solvable; float a, ap; } rows[] = {
        {300, false, 0, 0},      // shorter than 4f': no real pair
        {450, true, -300, 150},  // the more distant object of the two pairs
        {1e6f, true, -999899.99f, 100.01f}};
    // clang-format on
    for (const auto& r : rows) {
        const ParaxialDesign d = Solved({{kFocal, 100}, {kObjImgDist, r.t}, {kObjHeight, 1}});
        ASSERT_EQ(d.bCalcInvalid, !r.solvable) << r.t;
        if (!r.solvable) continue;
        EXPECT_REL(P(d, kObjDist), r.a);
        EXPECT_REL(P(d, kImgDist), r.ap);
    }
}

TEST(SolveParaxial, InfiniteConjugates) {
    ParaxialDesign d = Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}});
    EXPECT_TRUE(ObjectInFrontFocalPlane(d));
    EXPECT_EQ(P(d, kImgDist), kInfinity);
    EXPECT_EQ(P(d, kMagnif), 0.0f);
    EXPECT_EQ(P(d, kObjImgDist), 0.0f);

    d = Solved({{kFocal, 100}, {kObjDist, kInfinity}, {kObjAngle, 0.1f}});
    EXPECT_REL(P(d, kImgDist), 100);
    EXPECT_EQ(P(d, kMagnif), 0.0f);
    EXPECT_EQ(P(d, kObjImgDist), 0.0f);
    EXPECT_REL(P(d, kImgHeight), 100 * std::tan(0.1f));

    // Zero magnification with the image distance given puts the object at infinity.
    d = Solved({{kImgDist, 80}, {kMagnif, 0}, {kObjAngle, 0.1f}});
    EXPECT_EQ(P(d, kObjDist), kInfinity);
    EXPECT_REL(P(d, kFocal), 80);

    // A diverging lens with the object at infinity forms a virtual image.
    EXPECT_TRUE(IsVirtualImage(test::AtInfinity(-50)));
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
        {"non-finite input", {{kFocal, NAN}, {kObjDist, -200}, {kObjHeight, 1}}},
        // A half-field angle of 90° or more, given or rounded to it, describes no system.
        {"object angle of 95°", {{kFocal, 100}, {kObjDist, -200}, {kObjAngle, 1.6580628f}}},
        {"image angle of -90°", {{kFocal, 100}, {kObjDist, -200}, {kImgAngle, -1.5707964f}}},
        {"object against the element", {{kFocal, 100}, {kObjDist, -1e-8f}, {kObjHeight, 10}}},
    };
    for (const auto& r : rows) {
        ParaxialDesign d = OneToOne();
        ASSERT_TRUE(SolveParaxial(d, true));
        const DataContinuity before = d.continuity;
        Choose(d, r.values);
        EXPECT_FALSE(SolveParaxial(d, true)) << r.what;
        EXPECT_TRUE(d.bCalcInvalid) << r.what;
        EXPECT_EQ(d.continuity, before) << r.what;
        for (int i = 0; i < kParamCount; ++i) EXPECT_TRUE(std::isfinite(P(d, i))) << r.what;
    }
    // An incomplete selection, or a value without its flag, is no failure.
    ParaxialDesign d = OneToOne();
    d.params.Entry(3).bVarValDef = false;
    EXPECT_FALSE(SolveParaxial(d, false) || d.bCalcInvalid);
}

// |lhs - rhs| small against the magnitudes of the terms that make them up.
bool Balanced(double lhs, double rhs, double scale) {
    return std::fabs(lhs - rhs) <= 1e-4 * scale + 1e-30;
}

// Whatever the selection and the values, a valid solve is finite and satisfies the imaging
// relations, and a failed one leaves nothing non-finite behind.
TEST(SolveParaxialProperty, RandomDesignsAreFiniteAndConsistent) {
    std::mt19937 rng(20261206);
    const float special[] = {0.f, 1.f, -1.f, 1e-30f, -1e-30f, 1e30f, -1e30f, kInfinity, 3e38f};
    auto randomValue = [&](int index) -> float {
        if (rng() % 10 < 3) return special[rng() % std::size(special)];
        const bool angle = index == kObjAngle || index == kImgAngle;
        const double x =
            std::uniform_real_distribution<double>(angle ? -1.4 : -3, angle ? 1.4 : 5)(rng);
        return static_cast<float>(angle ? x : std::pow(10.0, x) * (rng() % 2 ? 1 : -1));
    };

    int valid = 0, checked = 0;
    for (int iter = 0; iter < 40000; ++iter) {
        ParaxialDesign d;
        d.options.mirrorMode = rng() % 4 == 0;
        d.options.advOptions = rng() % 3 == 0;
        d.options.advanced = {1.0f + 0.5f * static_cast<float>(rng() % 3),
                              1.0f + 0.33f * static_cast<float>(rng() % 3),
                              static_cast<float>(rng() % 3) * 7.0f, 632.8f};
        // Any three distinct indices: rule-abiding and rule-bypassing selections alike.
        int t[3];
        do {
            for (int& i : t) i = static_cast<int>(rng() % 9);
        } while (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]);
        std::sort(std::begin(t), std::end(t));
        Choose(d,
               {{t[0], randomValue(t[0])}, {t[1], randomValue(t[1])}, {t[2], randomValue(t[2])}});
        if (rng() % 2) ChooseAperture(d, static_cast<int>(rng() % 5), std::fabs(randomValue(0)));

        const bool ok = SolveParaxial(d, true);
        for (int i = 0; i < kParamCount; ++i) ASSERT_TRUE(std::isfinite(P(d, i)));
        for (int i = 0; i < kApertureCount; ++i) ASSERT_TRUE(std::isfinite(Ap(d, i)));
        ASSERT_EQ(ok, !d.bCalcInvalid);
        if (!ok) continue;
        ++valid;
        ASSERT_TRUE(FieldAnglesInRange(d.paramTable));
        for (int k = 0; k < 3; ++k) ASSERT_EQ(P(d, t[k]), d.params.Value(k + 1));
        for (float c : d.cardinal) ASSERT_TRUE(std::isfinite(c));
        ASSERT_TRUE(std::isfinite(d.mtfCutOff));

        const double a = P(d, kObjDist), ap = P(d, kImgDist), fp = P(d, kFocal);
        const double m = P(d, kMagnif), tt = P(d, kObjImgDist);
        const double e = d.options.PrincipalPlaneSeparation();
        const double K = d.options.ObjectIndex() / d.options.ImageIndex();
        if (a == kInfinity || ap == kInfinity || a == 0 || ap == 0 || fp == 0) continue;
        if (std::fabs(a) > 1e15 || std::fabs(ap) > 1e15) continue;
        ++checked;
        SCOPED_TRACE(::testing::Message() << "indices " << t[0] << t[1] << t[2] << " a=" << a
                                          << " a'=" << ap << " f'=" << fp << " K=" << K);
        // Each distance carries rounding of the order of eps·D (it may be the difference of
        // the others), so the relations are checked against the terms plus that propagation.
        const double D = std::fabs(a) + std::fabs(ap) + std::fabs(e) + std::fabs(tt);
        EXPECT_TRUE(Balanced(tt, -a + e + ap, D));
        EXPECT_TRUE(
            Balanced(m * a, K * ap,
                     std::fabs(m * a) + std::fabs(K * ap) + D * (std::fabs(m) + std::fabs(K))));
        EXPECT_TRUE(
            Balanced(a * fp - K * ap * fp, a * ap,
                     std::fabs(a * fp) + std::fabs(K * ap * fp) + std::fabs(a * ap) +
                         D * (std::fabs(fp) + std::fabs(K * fp) + std::fabs(a) + std::fabs(ap))));
        EXPECT_TRUE(Balanced(P(d, kObjFocal), -K * fp, std::fabs(K * fp)));
        // Heights and field angles: u' = m·u, u = a·tan w, u' = a'·tan w', tan w' = K·tan w.
        const double u = P(d, kObjHeight), uImg = P(d, kImgHeight);
        const double tw = std::tan(P(d, kObjAngle)), twImg = std::tan(P(d, kImgAngle));
        if (std::fabs(P(d, kObjAngle)) > 1.4 || std::fabs(P(d, kImgAngle)) > 1.4) continue;
        // u is a float: below about 1e-38 it has no relative precision left.
        EXPECT_TRUE(
            Balanced(uImg, m * u, std::fabs(uImg) + std::fabs(m * u) + std::fabs(m) * 1e-33));
        EXPECT_TRUE(Balanced(u, a * tw, std::fabs(u) + std::fabs(a * tw) + D * std::fabs(tw)));
        EXPECT_TRUE(Balanced(uImg, ap * twImg,
                             std::fabs(uImg) + std::fabs(ap * twImg) + D * std::fabs(twImg)));
        EXPECT_TRUE(Balanced(twImg, K * tw, std::fabs(twImg) + std::fabs(K * tw)));
    }
    // The sweep must actually reach the interesting cases.
    EXPECT_GT(valid, 4000);
    EXPECT_GT(checked, 2000);
}

TEST(ComputeAperture, FiguresOfAStopInAir) {
    const ParaxialDesign d = Solved({{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}}, 10);
    ASSERT_FALSE(d.bCalcInvalid || d.bApertureUndefined);
    EXPECT_REL(Ap(d, kNA), std::sin(std::atan(0.05)));
    EXPECT_REL(Ap(d, kFNumber), 5);
    EXPECT_REL(Ap(d, kAiryRadius), 0.61 * 546.1e-6 * 200 / 10);
    EXPECT_REL(d.mtfCutOff, 20 / (200 * 546.1e-6));
    EXPECT_REL(EffectiveFNumber(d), 10);
}

TEST(ComputeAperture, EveryApertureParameterDescribesTheSameStop) {
    // In media and in a mirror, choosing any one figure of a solved aperture must give back the
    // stop and all other figures: each derivation is the inverse of its formula.
    for (const auto& [mirror, n, nImage] : {std::tuple{false, 1.0f, 1.33f},
                                            {false, 1.5f, 1.2f},
                                            {true, 1.0f, 1.0f},
                                            {true, 1.33f, 1.0f}}) {
        ParaxialDesign ref = OneToOne();
        ref.options.mirrorMode = mirror;
        ref.options.advOptions = true;
        ref.options.advanced.n = n;
        ref.options.advanced.nImage = nImage;
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
                EXPECT_TRUE(test::RelNear(airy ? std::fabs(Ap(d, k)) : Ap(d, k),
                                          airy ? std::fabs(Ap(ref, k)) : Ap(ref, k),
                                          airy ? 2e-2 : 1e-5))
                    << "figure " << k << " from " << chosen << " n'=" << nImage << " " << mirror;
            }
        }
    }
}

TEST(ComputeAperture, SignsAndSpecialValues) {
    // f-number 4 at infinity: r = 12.5, no object-side aperture; in a medium too.
    ParaxialDesign inf = test::AtInfinity(100, 4);
    EXPECT_TRUE(test::RelNear(Ap(inf, kStopRadius), 12.5) && std::fabs(Ap(inf, kNA)) < 1e-12);
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
    EXPECT_LT(Solved({{kFocal, 100}, {kObjDist, -50}, {kObjHeight, 1}}, 5).mtfCutOff, 0);
    const ParaxialDesign mirror =
        Solved({{kFocal, -100}, {kObjDist, -200}, {kObjHeight, 10}}, 5, true);
    EXPECT_TRUE(P(mirror, kImgDist) < 0 && mirror.mtfCutOff > 0);

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
        EXPECT_TRUE(!SolveParaxial(d, false) && d.bCalcInvalid) << index << " " << value;
    }
    // A zero image distance has no cut-off frequency: (f', m' = 1) puts both conjugates at P.
    EXPECT_FALSE(Solved({{kFocal, 100}, {kMagnif, 1}, {kObjAngle, 0.1f}}).bCalcInvalid);
    EXPECT_TRUE(Solved({{kFocal, 100}, {kMagnif, 1}, {kObjAngle, 0.1f}}, 5).bCalcInvalid);
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
    for (std::size_t i = 0; i < kCardinalCount; ++i) {
        EXPECT_TRUE(test::RelNear(d.cardinal[i], expected[i], 1e-5, 1e-6)) << i;
    }
}

TEST(DataContinuity, ExchangedParameterContinuesTheSystem) {
    ParaxialDesign d = OneToOne();
    ASSERT_TRUE(SolveParaxial(d, true));
    // Exchange a for a': it starts at the solved 200 with limits 10 % around it.
    d.params.Remove(kObjDist);
    ASSERT_TRUE(d.AddParam(kImgDist).ok());
    const CVarType& e = d.params.At(*d.params.Find(kImgDist));
    EXPECT_TRUE(e.bVarValDef && test::RelNear(e.sVarValue, 200) && test::RelNear(e.sLimLow, 180) &&
                test::RelNear(e.sLimHih, 220));
    ASSERT_TRUE(SolveParaxial(d, true));
    EXPECT_REL(P(d, kObjDist), -200);

    // A failed solve records nothing; an incomplete one forgets the values.
    Choose(d, {{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}});
    EXPECT_FALSE(SolveParaxial(d, true));
    EXPECT_TRUE(d.continuity.General(kImgDist).defined);
    Choose(d, {{kFocal, 100}});
    EXPECT_FALSE(SolveParaxial(d, true));
    const CVarType fresh = d.continuity.PrefillGeneral(kImgDist, d.Margin());
    EXPECT_FALSE(fresh.bVarValDef || fresh.bLimLowDef || fresh.bLimHihDef);

    // Beam axes are kept apart.
    const double axis0[kContinuityBeam] = {0, 0, 0, 0.25};
    d.continuity.RecordBeam(0, axis0, true);
    EXPECT_TRUE(d.continuity.Beam(0, 3).value == 0.25f && !d.continuity.Beam(1, 3).defined);
}

TEST(LimitRule, MarginExtensionAndEquality) {
    EXPECT_DOUBLE_EQ(LimitMargin(5), 0.10);  // too small a margin falls back to the standard
    CVarType e;
    std::tie(e.bLimLowDef, e.bLimHihDef, e.sLimLow, e.sLimHih) = std::tuple(true, true, 180, 220);
    EXPECT_FALSE(ExtendLimitsToValue(e, 200, 1, 0.1));  // already inside
    EXPECT_TRUE(ExtendLimitsToValue(e, 250, 1, 0.1));
    EXPECT_TRUE(test::RelNear(e.sLimHih, 275) && test::RelNear(e.sLimLow, 180));
    // The value is in display units: 20 cm into mm limits.
    EXPECT_TRUE(ExtendLimitsToValue(e, -5, 10, 0.1));
    EXPECT_REL(e.sLimLow, -55);

    const AutoLimits huge = LimitsAround(3e38, 0.8);  // finite at the end of single precision
    EXPECT_TRUE(std::isfinite(huge.high) && std::isfinite(huge.low));

    // Without limits a value of 0 has nothing to extend; any other gets limits around it.
    CVarType empty;
    EXPECT_FALSE(ExtendLimitsToValue(empty, 0, 1, 0.1));
    EXPECT_TRUE(ExtendLimitsToValue(empty, -4, 1, 0.1));
    EXPECT_TRUE(test::RelNear(empty.sLimLow, -4.4) && test::RelNear(empty.sLimHih, -3.6));

    // One equality rule for every box: relative, and zero equals only zero.
    EXPECT_TRUE(SameValue(100.0, 100.00000005) && SameValue(0.0, 0.0));
    EXPECT_FALSE(SameValue(0.0, 1e-9) || SameValue(100.0, 100.001));
}

// While the advanced options are off the standard values count whatever is stored; a mirror
// reflects into the object medium and has no separation; a stored zero stands for the standard.
TEST(OptionState, EffectiveValues) {
    // Stored: n = 1.5, n' = 1.33, separation 7, 632.8 nm; n and the wavelength 0 where marked.
    // clang-format off
    const struct { bool adv, mirror, zeros; float n, nImage, separation, nm; } rows[] = {
        {false, false, false, 1, 1, 0, 546.1}, {false, true, false, 1, -1, 0, 546.1},
        {true, true, false, 1.5, -1.5, 0, 632.8}, {true, false, true, 1, 1.33f, 7, 546.1}};
    // clang-format on
    for (const auto& r : rows) {
        const float n = r.zeros ? 0 : 1.5f, nm = r.zeros ? 0 : 632.8f;
        const OptionState o{r.adv, r.mirror, false, {n, 1.33f, 7, nm}};
        EXPECT_EQ(std::tuple(float(o.ObjectIndex()), float(o.ImageIndex()),
                             float(o.PrincipalPlaneSeparation()), float(o.TestWavelength())),
                  std::tuple(r.n, r.nImage, r.separation, r.nm))
            << r.adv << r.mirror;
    }
    // Typing a zero index keeps n and gives n' the standard of the mode.
    OptionState o{false, true, false, {1.4f, 0, 0, 0}};
    o.SetObjectIndex(0);
    o.SetImageIndex(0);
    EXPECT_EQ(std::pair(o.advanced.n, o.advanced.nImage), std::pair(1.4f, -1.0f));
}

ResultList Fill(const ParaxialDesign& d) {
    ResultListCache cache;
    return FillResultList(d, {}, WavelengthText(d), true, false, cache);
}

std::map<std::string, std::string> Values(const ParaxialDesign& d) {
    std::map<std::string, std::string> m;
    for (const auto& r : Fill(d).rows) m[r.name] = r.value;
    return m;
}

TEST(ResultList, ValueTexts) {
    // The rows of a plain 1:1 lens are compared as a whole with tests/data/relay.expected; here
    // the conjugates at infinity, the virtual ones and the failures. An image at infinity has no
    // magnification, image height or anything image-side; without the flag the solver's own
    // infinity marker reads "unendlich"; a failed solve empties the values; a stop too small
    // for the working f-number shows dashes.
    const ParaxialDesign focalPlane =
        Solved({{kFocal, 100}, {kObjDist, -100}, {kObjHeight, 10}}, 10);
    const ParaxialDesign inf = test::AtInfinity(100);
    const ParaxialDesign virt = Solved({{kObjDist, 50}, {kImgDist, 100}, {kObjHeight, 1}});
    const ParaxialDesign marker = Solved({{kFocal, 100}, {kMagnif, 0}, {kObjAngle, 0.1f}});
    const ParaxialDesign failed = Solved({{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}}, 5);
    const ParaxialDesign slow =
        Solved({{kFocal, 100}, {kObjDist, -100.01f}, {kObjHeight, 1}}, 0.001f);
    ASSERT_TRUE(failed.bCalcInvalid);
    // clang-format off
    const struct { const ParaxialDesign& d; const char* name; const char* text; } rows[] = {
        {focalPlane, "Bildweite: a'", " In Unendlich"}, {focalPlane, "Vergrößerung: m'", " ---"},
        {focalPlane, "Airy-Radius", ""}, {inf, "Vergrößerung: m'", " Null"},
        {inf, "Objekthöhe: u", " ---"}, {inf, "Blendenradius", "    ----"},  // no aperture chosen
        {virt, "Objektweite: a", " 50.0mm     [Virtuell]"}, {marker, "Objektweite: a", "unendlich"},
        {failed, "Brennweite: f'", ""}, {failed, "Blendenradius", " "},
        {slow, "Blendenzahl effektiv", "----"}};
    // clang-format on
    for (const auto& r : rows) EXPECT_EQ(Values(r.d)[r.name], r.text) << r.name;
}

TEST(ResultList, OptionalRowsKeepTheLength) {
    auto design = [](float n, float nImg, bool mirror) {
        ParaxialDesign d;
        d.options.advOptions = true;
        d.options.mirrorMode = mirror;
        d.options.advanced.n = n;
        d.options.advanced.nImage = nImg;
        Choose(d, {{kFocal, mirror ? -100.f : 100.f}, {kObjDist, -300}, {kObjHeight, 10}});
        ChooseAperture(d, kFNumber, 4);
        SolveParaxial(d, false);
        return d;
    };
    const std::size_t rows = Fill(design(1, 1, false)).rows.size();
    EXPECT_TRUE(Fill(design(1.5f, 1, false)).rows.size() == rows &&
                Fill(design(1.5f, 1.5f, false)).rows.size() == rows);
    auto m = Values(design(1.5f, 1, false));
    EXPECT_TRUE(m.count("Brennweite [Obj]: f"));
    EXPECT_EQ(m["Knotenpunkt 1 NP"], "-50.0mm");  // N - P = f + f' = -150 + 100
    EXPECT_FALSE(Values(design(1.5f, 1.5f, false)).count("Knotenpunkt 1 NP"));
    EXPECT_FALSE(Values(design(1, 1, true)).count("Brennweite [Obj]: f"));
}

TEST(ResultList, NamesAreRewrittenOnlyWhenNeeded) {
    ParaxialDesign d = OneToOne();
    ResultListCache cache;
    auto rewrites = [&](bool asked, bool dragging) {
        return FillResultList(d, {}, "546nm", asked, dragging, cache).rewriteNames;
    };
    EXPECT_TRUE(rewrites(false, false) && !rewrites(false, false) && rewrites(true, false));
    d.options.mirrorMode = true;  // a new row layout, rewritten once the drag ends
    EXPECT_TRUE(!rewrites(true, true) && rewrites(false, false));
}

TEST(ConjugateStatus, VirtualAndInfiniteConjugates) {
    const std::string atInfinity = "Bild im Unendlichen", virtualImage = "Virtuelles Bild";
    // An empty text: the label is hidden.
    // clang-format off
    const struct { float f, a; bool mirror; std::string text; unsigned colour; } rows[] = {
        {100, -200, false, "", 0}, {100, -100, false, atInfinity, 65535},
        {100, -50, false, virtualImage, 255}, {100, 50, false, "Virtuelles Objekt", 255},
        {-100, 200, false, "Virtuelles Objekt/Bild", 255}, {-100, -100, true, atInfinity, 65535},
        {100, -100, true, virtualImage, 255}};
    // clang-format on
    for (const auto& r : rows) {
        const ParaxialDesign d =
            Solved({{kFocal, r.f}, {kObjDist, r.a}, {kObjHeight, 1}}, 0, r.mirror);
        ASSERT_FALSE(d.bCalcInvalid);
        const auto label = UpdateConjugateStatus(d).value_or(StatusLabel{});
        EXPECT_EQ(std::tuple(label.text, label.colour), std::tuple(r.text, r.colour))
            << r.f << " " << r.a << " " << r.mirror;
    }
    EXPECT_FALSE(
        UpdateConjugateStatus(Solved({{kFocal, 100}, {kObjImgDist, 300}, {kObjHeight, 1}})));
}

TEST(ParaxialReport, RefusalsAndContent) {
    ParaxialDesign d = OneToOne();
    d.params.Entry(2).bVarValDef = false;
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht für alle Parameter Werte eingetragen! ");
    Choose(d, {{kFocal, 100}, {kObjDist, -200}});
    EXPECT_EQ(BuildParaxialReport(d, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht alle Parameter ausgewählt! ");

    // The chosen value and the solved one of the same parameter each have their row.
    const ReportResult r = BuildParaxialReport(test::AtInfinity(100, 4), {}, {});
    ASSERT_FALSE(r.refusal);
    std::string text;
    for (const ReportRow& row : r.page.rows) {
        for (const auto& piece : row.pieces) text += piece.text + "|";
    }
    EXPECT_NE(text.find("Objektweite: a:\t| Unendlich|"), std::string::npos) << text;
    EXPECT_NE(text.find("Objektweite: a:  | In Unendlich|"), std::string::npos) << text;
}

}  // namespace
}  // namespace rs::engine
