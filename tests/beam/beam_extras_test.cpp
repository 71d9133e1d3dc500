#include "beam/beam_extras.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/numeric.h"

namespace rs::beam {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Thin-lens Gaussian imaging of an object waist at s with Rayleigh length zr.
double ImageWaist(double f, double s, double zr) {
    return f + f * f * (s - f) / ((s - f) * (s - f) + zr * zr);
}
double Magnification(double f, double s, double zr) {
    return 1.0 / std::sqrt((1 - s / f) * (1 - s / f) + (zr / f) * (zr / f));
}

// A solved axis 0 filled by hand: element f', object waist radius r at distance s.
BeamDesign Beam(double f, double s, double r, double nm = 632.8) {
    BeamDesign d;
    d.SetWavelengthNm(nm);
    const double lambda = d.WavelengthMm();
    const double zr = engine::kPi * r * r / lambda;
    const double m = Magnification(f, s, zr);
    auto& t = d.axes[0].table;
    t[kGbFocal] = f;
    t[kGbObjDist] = s;
    t[kGbImgDist] = ImageWaist(f, s, zr);
    t[kGbMagnif] = m;
    t[kGbObjRadius] = r;
    t[kGbObjDiv] = lambda / (engine::kPi * r);
    t[kGbObjRayleigh] = zr;
    t[kGbImgRadius] = m * r;
    t[kGbImgDiv] = lambda / (engine::kPi * m * r);
    t[kGbImgRayleigh] = m * m * zr;
    t[kGbParaxImage] = s == f ? kParaxImageAtInfinity : s * f / (s - f);
    t[kGbObjFocal] = -f;
    return d;
}

const std::array<double, kExtrasCount>& Extras(BeamDesign& d, BeamContext c = {}) {
    ComputeExtras(d, 0, c);
    return d.axes[0].extras;
}

TEST(BeamExtras, TableOfASolvedAxis) {
    BeamDesign d = Beam(100, 200, 0.05);  // zr = 12.4115, s' = 198.483
    const auto& x = Extras(d, {5.0, 1.5, nullptr});
    const double radius = 0.05 * std::sqrt(1 + (200 / 12.4115) * (200 / 12.4115));
    // clang-format off
    const std::vector<std::pair<int, double>> expected = {
        {kExP, 200}, {kExPImage, 205}, {kExF, 100}, {kExFImage, 305}, {kExN, 200},
        {kExNImage, 205}, {kExDetector, 205}, {kExImageWaist, 403.483}, {kExGeometricImage, 405},
        {kExImageWaistMax, 305 + 1e4 / (2 * 12.4115)}, {kExRadiusAtElement, radius},
        {kExRadiusAtDetector, radius}, {kExAiry, 0.61 * 632.8e-6 * 200 / (1.5 * radius)},
        {kExRatioS, 2}, {kExRatioSImage, 1.98483}, {kExRatioZr, 0.124115}};
    // clang-format on
    for (const auto& [index, value] : expected) {
        SCOPED_TRACE(index);
        EXPECT_REL_TOL(x[static_cast<std::size_t>(index)], value, 2e-6);
    }
    EXPECT_EQ(x[kExMinSpotPos], 0.0);
    EXPECT_EQ(x[kExMinSpotRadius], 0.0);
}

TEST(BeamExtras, DetectorDistanceRoundsHalfToEvenWhereverUsed) {
    // clang-format off
    const struct { double typed, used; const char* text; } cases[] = {
        {100.5, 100, "100.0"}, {101.5, 102, "102.0"}, {-0.5, 0, "0.0"}, {kNaN, 0, "0.0"}};
    // clang-format on
    for (const auto& [typed, used, text] : cases) {
        SCOPED_TRACE(typed);
        BeamDesign d = Beam(100, 200, 0.05);
        d.extrasOptions.detectorOn = true;
        d.extrasOptions.detectorDistance = typed;
        EXPECT_EQ(DetectorDistanceText(d), text);
        const auto& x = Extras(d);
        EXPECT_REL(x[kExDetector], x[kExPImage] + used);
        const auto& t = d.axes[0].table;
        const double z = (used - t[kGbImgDist]) / t[kGbImgRayleigh];
        EXPECT_REL(x[kExRadiusAtDetector], t[kGbImgRadius] * std::sqrt(1 + z * z));
    }
}

TEST(BeamExtras, DegenerateTablesNeverGiveNonFiniteFigures) {
    std::vector<BeamDesign> designs = {BeamDesign{}, Beam(100, 100, 0.05),
                                       Beam(1e-300, 1e300, 1e-300), Beam(100, 200, 0.05)};
    auto& poisoned = designs.back();
    poisoned.axes[0].table[kGbObjRayleigh] = kInf;
    poisoned.axes[0].table[kGbImgRadius] = kNaN;
    poisoned.axes[0].table[kGbFocal] = kNaN;
    poisoned.extrasOptions = {.detectorOn = true, .detectorDistance = 1e308, .dofFraction = kInf};
    for (BeamDesign& d : designs) {
        for (const double e : {0.0, kNaN, 1e308}) {
            for (const double v : Extras(d, {e, 0.0, nullptr})) EXPECT_TRUE(std::isfinite(v));
            const AxialRange range = BeamDrawingRange(d);
            EXPECT_TRUE(std::isfinite(range.min) && range.min <= range.max);
        }
        const MinSpot m = ComputeMinSpot(d, 150);
        EXPECT_TRUE(std::isfinite(m.currentRadius + m.objectDistance + m.imageDistance +
                                  m.magnification + m.minimumRadius));
        EXPECT_TRUE(std::isfinite(HalfDepthOfFocus(d)));
    }
    EXPECT_EQ(designs[0].axes[0].extras[kExRatioS], 0.0);  // f' = 0: no ratios
    EXPECT_EQ(designs[0].axes[0].extras[kExAiry], 0.0);    // no geometric image
}

TEST(BeamRadius, PropagationAndCurvature) {
    const double lambda = 632.8e-6, r0 = 0.05;
    const double zr = engine::kPi * r0 * r0 / lambda;
    EXPECT_REL(BeamRadiusAtDistance(r0, -zr, lambda), r0 * std::sqrt(2.0));
    EXPECT_REL_TOL(BeamRadiusAtDistance(r0, 1e6 * zr, lambda), r0 * 1e6, 1e-9);
    // Flat at the waist, most curved (R = 2 zr) one Rayleigh length away.
    EXPECT_EQ(WavefrontCurvatureRadius(r0, 0, lambda), kFlatWavefront);
    EXPECT_REL(WavefrontCurvatureRadius(r0, -zr, lambda), -2 * zr);
    for (const double k : {0.5, 0.99, 1.01, 2.0}) {
        EXPECT_GE(WavefrontCurvatureRadius(r0, k * zr, lambda), 2 * zr * (1 - 1e-12));
    }
    for (const double bad : {kNaN, kInf, 0.0, 1e-300, 1e300}) {
        EXPECT_TRUE(std::isfinite(BeamRadiusAtDistance(bad, 1e300, lambda) +
                                  BeamRadiusAtDistance(r0, bad, bad) +
                                  WavefrontCurvatureRadius(bad, 1e-300, lambda) +
                                  WavefrontCurvatureRadius(r0, bad, bad)));
    }
}

TEST(BeamExtrasEdit, ValueBoxesAcceptOrRefuse) {
    // The M² range is open at both ends; a value within the tolerance of the stored 1 is no
    // change; the other axis keeps its own.
    const std::pair<double, bool> mSquared[] = {
        {50, false}, {49.9, true}, {0, false}, {kNaN, false}, {1.00000005, false}};
    for (const auto& [value, accepted] : mSquared) {
        SCOPED_TRACE(value);
        BeamDesign d;
        EXPECT_EQ(SetMFactor(d, 1, value) == EditResult::Accepted, accepted);
        EXPECT_EQ(MSquared(d, 1), accepted ? value : 1.0);
        EXPECT_EQ(MSquared(d, 0), 1.0);
    }
    BeamDesign d;
    EXPECT_EQ(ApplyMFactorText(d, 0, " 4,0 "), EditResult::Accepted);
    EXPECT_EQ(MFactor(d, 0), 1.0);  // use switch off: the embedded beam is shown
    d.extrasOptions.mFactorUse = true;
    EXPECT_EQ(MFactor(d, 0), 2.0);
    d.diode.mFactor = 0;  // as an old settings file may hold it
    EXPECT_EQ(MFactorText(d, 1), "1.0");

    const struct {
        EditResult (*apply)(BeamDesign&, std::string_view);
        const char* text;
        EditResult result;
    } typed[] = {{ApplyWavelengthText, "632,8nm", EditResult::Refused},  // unchanged
                 {ApplyWavelengthText, "532mm", EditResult::Refused},
                 {ApplyWavelengthText, "1064 nm", EditResult::Accepted},
                 {ApplyDetectorDistanceText, "-20mm", EditResult::Accepted},
                 {ApplyMinSpotDistanceText, "x5", EditResult::Refused},
                 {ApplyMinSpotDistanceText, "25mm", EditResult::Accepted}};
    for (const auto& t : typed) EXPECT_EQ(t.apply(d, t.text), t.result) << t.text;
    EXPECT_EQ(WavelengthText(d), "1064.0nm");
    EXPECT_EQ(DetectorDistanceText(d), "-20.0");
    EXPECT_EQ(MinSpotDistanceText(d), "25.0mm");
}

TEST(DepthOfFocus, FractionsAndText) {
    for (int i = 0; i < kDofEntryCount; ++i) EXPECT_EQ(DofEntryOf(DofFraction(i)), i);
    BeamDesign d = Beam(100, 200, 0.05);
    EXPECT_EQ(SetDofEntry(d, 5), EditResult::Accepted);  // 41.4 %: √2 growth, one zr'
    EXPECT_REL_TOL(HalfDepthOfFocus(d), d.axes[0].table[kGbImgRayleigh], 1e-4);
    EXPECT_EQ(SetDofEntry(d, 7), EditResult::Accepted);  // outside the list: 5 %
    EXPECT_EQ(d.extrasOptions.dofFraction, 0.05);

    // Text in mm down to 1 µm, then in µm; a stored fraction ≤ 0 reads as 5 %.
    const double perRadius2 = engine::kPi * std::sqrt(1.05 * 1.05 - 1) / d.WavelengthMm();
    for (const auto& [half, text] : std::vector<std::pair<double, std::string>>{
             {2.5, "±2.5mm"}, {0.00125, "±0.001mm"}, {0.0005, "±0.5um"}, {1.23e-5, "±0.012um"}}) {
        d.axes[0].table[kGbImgRadius] = std::sqrt(half / perRadius2);
        EXPECT_EQ(DepthOfFocusText(d), text);
    }
    d.extrasOptions.dofFraction = -1;
    EXPECT_EQ(DepthOfFocusText(d), "±0.012um");
}

// Radius at D behind the element for an object waist at s, from the thin-lens imaging relation.
double SpotAt(double f, double s, double r, double lambda, double distance) {
    const double zr = engine::kPi * r * r / lambda;
    return BeamRadiusAtDistance(r * Magnification(f, s, zr), distance - ImageWaist(f, s, zr),
                                lambda);
}

TEST(MinSpot, FindsTheTrueMinimumInAnyUnit) {
    struct Case {
        double f, s, r, distance;
    };
    const std::vector<Case> cases = {
        {100, 200, 0.05, 300}, {50, 80, 0.01, 20}, {-50, 200, 0.05, 300}, {25, 40, 1.0, 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.distance);
        const BeamDesign d = Beam(c.f, c.s, c.r);
        const MinSpot m = ComputeMinSpot(d, c.distance);
        ASSERT_EQ(m.lineCount, 6);
        EXPECT_REL(m.minimumRadius, c.r * std::fabs(c.distance - c.f) / std::fabs(c.f));
        // No object distance does better: scan around the answer and far out.
        const double span = 10 * std::fabs(c.f) + std::fabs(m.objectDistance);
        double best = kInf, bestS = 0;
        for (int i = -20000; i <= 20000; ++i) {
            const double s = m.objectDistance + span * i / 20000.0;
            const double spot = SpotAt(c.f, s, c.r, d.WavelengthMm(), c.distance);
            if (spot < best) best = spot, bestS = s;
        }
        EXPECT_GE(best, m.minimumRadius * (1 - 1e-9));
        EXPECT_NEAR(bestS, m.objectDistance, 2 * span / 20000.0);
        // Every length ten times larger (wavelength included): positions and radius scale.
        const MinSpot big =
            ComputeMinSpot(Beam(10 * c.f, 10 * c.s, 10 * c.r, 6328), 10 * c.distance);
        EXPECT_REL(big.objectDistance, 10 * m.objectDistance);
        EXPECT_REL(big.imageDistance, 10 * m.imageDistance);
        EXPECT_REL(big.minimumRadius, 10 * m.minimumRadius);
    }
}

TEST(MinSpot, TextLinesAndEarlyEndings) {
    BeamDesign d = Beam(100, 300, 0.05);
    EXPECT_EQ(MinSpotText(d), "");  // no distance entered yet
    ASSERT_EQ(SetMinSpotDistance(d, 200), EditResult::Accepted);
    const std::string text = MinSpotText(d);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    // 2f'–2f' imaging at unit magnification keeps the waist radius.
    EXPECT_NE(text.find("\ngeforderter Abstand 200.0mm\n"), std::string::npos);
    EXPECT_NE(text.find("\nminimaler Radius 0.05mm"), std::string::npos);

    ASSERT_EQ(SetMinSpotDistance(d, 100), EditResult::Accepted);  // D = f': no conjugate
    const std::string twoLines = MinSpotText(d);
    EXPECT_EQ(std::count(twoLines.begin(), twoLines.end(), '\n'), 1);
    d.axes[0].table[kGbFocal] = 0;  // conjugate found, its image waist not
    EXPECT_EQ(ComputeMinSpot(d, 50).lineCount, 3);
    d.axes[0].resultInvalid = true;
    EXPECT_EQ(MinSpotText(d), "");
}

TEST(Range, WaistsBeyondTwentyFocalLengthsOnlyExtendThePicture) {
    struct Case {
        double s, r;
        double min, max;  // relative to F and F' (margins excluded)
    };
    // Near waists are included; an object waist 30 f' away extends 20 f' left of F; a tight
    // object beam whose farthest image waist lies 51 f' behind the element extends 20 f' right.
    const double tight = std::sqrt(632.8e-6 / engine::kPi);  // zr = 1
    for (const Case& c : std::vector<Case>{
             {200, 0.5, -100, 4.028}, {3000, 0.5, -2000, 4.028}, {100, tight, 0, 2000}}) {
        SCOPED_TRACE(c.s);
        BeamDesign d = Beam(100, c.s, c.r);
        const auto& x = Extras(d);
        const double margin = 0.02 * (x[kExFImage] - x[kExF]);
        const AxialRange range = BeamDrawingRange(d);
        EXPECT_REL_TOL(range.min, x[kExF] + c.min - margin, 1e-4);
        EXPECT_REL_TOL(range.max, x[kExFImage] + c.max + margin, 1e-4);
        d.extrasOptions = {.detectorOn = true, .detectorDistance = 5000};
        EXPECT_GT(BeamDrawingRange(d).max, Extras(d)[kExDetector]);
    }
}

}  // namespace
}  // namespace rs::beam
