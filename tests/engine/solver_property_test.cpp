// A sweep over many random designs: whatever the selection and the values, a valid solve is
// finite and satisfies the imaging relations, and a failed one leaves nothing non-finite behind.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/aperture.h"
#include "engine/design_builder.h"

namespace rs::engine {
namespace {

// |lhs - rhs| small against the magnitudes of the terms that make them up.
bool Balanced(double lhs, double rhs, double scale, double rel = 1e-4) {
    return std::fabs(lhs - rhs) <= rel * scale + 1e-30;
}

TEST(SolveParaxialProperty, RandomDesignsAreFiniteAndConsistent) {
    std::mt19937 rng(20261206);
    std::vector<std::vector<int>> triples;
    for (int i1 = 0; i1 <= 8; ++i1)
        for (int i2 = i1 + 1; i2 <= 8; ++i2)
            for (int i3 = i2 + 1; i3 <= 8; ++i3) triples.push_back({i1, i2, i3});

    const float special[] = {0.f, 1.f, -1.f, 1e-30f, -1e-30f, 1e30f, -1e30f, kInfinity, 3e38f};
    auto randomValue = [&](int index) -> float {
        std::uniform_int_distribution<int> pick(0, 9);
        const int k = pick(rng);
        if (k < 3) return special[std::uniform_int_distribution<int>(0, 8)(rng)];
        const bool angle = index == kObjAngle || index == kImgAngle;
        const double mag = angle ? std::uniform_real_distribution<double>(-1.4, 1.4)(rng)
                                 : std::pow(10.0, std::uniform_real_distribution<double>(-3, 5)(rng)) *
                                       (rng() % 2 ? 1 : -1);
        return static_cast<float>(mag);
    };

    int valid = 0, checked = 0;
    for (int iter = 0; iter < 40000; ++iter) {
        ParaxialDesign d;
        d.options.mirrorMode = rng() % 4 == 0;
        d.options.advOptions = rng() % 3 == 0;
        d.options.advanced = {1.0f + 0.5f * static_cast<float>(rng() % 3),
                              1.0f + 0.33f * static_cast<float>(rng() % 3),
                              static_cast<float>(rng() % 3) * 7.0f, 632.8f};
        const auto& t = triples[rng() % triples.size()];
        // Both rule-abiding and rule-bypassing selections must be handled.
        test::Choose(d, {{t[0], randomValue(t[0])}, {t[1], randomValue(t[1])}, {t[2], randomValue(t[2])}});
        if (rng() % 2) test::ChooseAperture(d, static_cast<int>(rng() % 5), std::fabs(randomValue(0)));

        const bool ok = SolveParaxial(d, true);
        for (int i = 0; i < kParamCount; ++i) ASSERT_TRUE(std::isfinite(d.paramTable.Get(i)));
        for (int i = 0; i < kApertureCount; ++i) ASSERT_TRUE(std::isfinite(d.apertureTable.Get(i)));
        ASSERT_EQ(ok, !d.bCalcInvalid);
        if (!ok) continue;
        ++valid;
        for (int k = 0; k < 3; ++k) ASSERT_EQ(d.paramTable.Get(t[k]), d.params.Value(k + 1));
        for (float c : d.cardinal) ASSERT_TRUE(std::isfinite(c));
        ASSERT_TRUE(std::isfinite(MTFCutOff(d)));

        const double a = d.paramTable.Get(kObjDist), ap = d.paramTable.Get(kImgDist);
        const double fp = d.paramTable.Get(kFocal), m = d.paramTable.Get(kMagnif);
        const double tt = d.paramTable.Get(kObjImgDist);
        const double e = d.options.PrincipalPlaneSeparation();
        const double K = d.options.ObjectIndex() / d.options.ImageIndex();
        if (a == kInfinity || ap == kInfinity || a == 0 || ap == 0 || fp == 0) continue;
        if (std::fabs(a) > 1e15 || std::fabs(ap) > 1e15) continue;
        ++checked;
        const auto where = ::testing::Message() << "indices " << t[0] << t[1] << t[2] << " a=" << a
                                                << " a'=" << ap << " f'=" << fp << " m'=" << m
                                                << " t=" << tt << " K=" << K;
        // Each distance carries rounding of the order of eps·D (it may be the difference of
        // the others), so the relations are checked against the terms plus that propagation.
        const double D = std::fabs(a) + std::fabs(ap) + std::fabs(e) + std::fabs(tt);
        EXPECT_TRUE(Balanced(tt, -a + e + ap, D)) << where;
        EXPECT_TRUE(Balanced(m * a, K * ap,
                             std::fabs(m * a) + std::fabs(K * ap) + D * (std::fabs(m) + std::fabs(K))))
            << where;
        EXPECT_TRUE(Balanced(a * fp - K * ap * fp, a * ap,
                             std::fabs(a * fp) + std::fabs(K * ap * fp) + std::fabs(a * ap) +
                                 D * (std::fabs(fp) + std::fabs(K * fp) + std::fabs(a) + std::fabs(ap))))
            << where;
    }
    // The sweep must actually reach the interesting cases.
    EXPECT_GT(valid, 4000);
    EXPECT_GT(checked, 2000);
}

}  // namespace
}  // namespace rs::engine
