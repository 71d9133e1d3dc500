#include "analysis/dof.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/aperture.h"
#include "engine/design_builder.h"
#include "support/numeric.h"

namespace rs::analysis {
namespace {

using namespace engine;  // the design and its parameter indices
using test::Ap;
using test::Choose;
using test::ChooseAperture;

// Status lines by their own word.
const std::string kNoAperture = "Apertur", kFault = "Fehler", kTooSmall = "Airy";

bool Says(const std::string& status, const std::string& word) {
    return status.empty() == word.empty() && status.find(word) != std::string::npos;
}

DofOptions Custom(float c) {
    return DofOptions{kCoCCustom, c, false};
}

// Solves the way the program does: the evaluation runs as the completion of a successful solve.
DofResults Solve(ParaxialDesign& d, const DofOptions& options, DofResults results = {}) {
    const bool ok = engine::SolveParaxial(
        d, false, [&](ParaxialDesign& solved) { ComputeDOF(options, solved, results); });
    EXPECT_TRUE(ok);
    return results;
}

// A lens (or, with mirrorMode, the equivalent concave mirror) imaging an object at `a`.
ParaxialDesign Camera(float a, int apertureIndex = kFNumber, float apertureValue = 4,
                      bool mirror = false) {
    ParaxialDesign d;
    d.options.mirrorMode = mirror;
    Choose(d, {{kFocal, mirror ? -50.0f : 50.0f}, {kObjDist, a}, {kObjAngle, 0.1f}});
    ChooseAperture(d, apertureIndex, apertureValue);
    return d;
}

DofDisplayUnit Mm(int, double) {
    return {};
}

TEST(ComputeDOF, LimitsFollowTheClassicalFormulasAtEveryDistance) {
    // Exactly representable c·F and f' so that a = -(H0 + f') hits 1 + k = 0 exactly.
    const double fp = 50, cF = 0.03125 * 4, h0 = fp * fp / cF;  // h0 = 20000
    // At a = -20050 the near limit is half the hyperfocal distance and the far one at infinity.
    for (const float a : {-1000.0f, -20049.0f, -20050.0f, -30000.0f, engine::kInfinity}) {
        SCOPED_TRACE(a);
        ParaxialDesign d = Camera(a);
        const DofResults r = Solve(d, Custom(0.03125f));
        ASSERT_TRUE(r.valid);
        const double s = -static_cast<double>(a);
        EXPECT_REL(r.values[kDofHyperfocal], h0 + fp);
        EXPECT_REL(r.values[kDofNear], s * h0 / (h0 + (s - fp)));
        if (s - fp < h0) {
            const double far = s * h0 / (h0 - (s - fp));
            EXPECT_REL(r.values[kDofFar], far);
            EXPECT_REL_TOL(r.values[kDofField], far - r.values[kDofNear], 1e-4);
        } else {
            // Focused at or beyond the hyperfocal distance: sharp to infinity.
            EXPECT_TRUE(r.values[kDofFar] == kDofInfinity && r.values[kDofField] == kDofInfinity);
        }
    }
}

TEST(ComputeDOF, ConcaveMirrorMatchesTheEquivalentLens) {
    // Whether the aperture is given as f-number or stop radius changes the sign of the stored
    // f-number of a mirror; neither may change the figures.
    ParaxialDesign lens = Camera(-1000);
    const DofResults expected = Solve(lens, Custom(0.025f));
    ASSERT_TRUE(expected.valid);
    for (const bool mirror : {false, true}) {
        for (const auto& ap : {std::pair{kFNumber, 4.0f}, std::pair{kStopRadius, 6.25f}}) {
            SCOPED_TRACE(::testing::Message() << "mirror " << mirror << " aperture " << ap.first);
            ParaxialDesign d = Camera(-1000, ap.first, ap.second, mirror);
            const DofResults r = Solve(d, Custom(0.025f));
            ASSERT_TRUE(r.valid);
            ASSERT_EQ(Ap(d, kFNumber) < 0, mirror && ap.first == kStopRadius);
            for (std::size_t i = 0; i < kDofRowCount; ++i) {
                EXPECT_REL(r.values[i], expected.values[i]) << "entry " << i;
            }
        }
    }
}

TEST(BuildDofPanel, ObjectAtInfinityIsSharpToInfinityInEveryUnit) {
    ParaxialDesign d = Camera(engine::kInfinity);
    const DofResults r = Solve(d, Custom(0.025f));
    ASSERT_TRUE(r.valid);
    const DofPanel p = BuildDofPanel(Custom(0.025f), r, d, [&](int row, double mm) {
        // Autoscaling units see the value as it is shown, never the infinity marker.
        EXPECT_TRUE(row != kDofField && row != kDofFar &&
                    (row != kDofNear || test::RelNear(mm, -r.values[kDofNear])));
        return DofDisplayUnit{25.4, "in"};
    });
    EXPECT_EQ(std::tuple(p.values[kDofField], p.values[kDofFar], p.values[kDofNear]),
              std::tuple("  Infinity", "  Infinity", " -984.25in"));
}

TEST(ComputeDOF, ArithmeticFaultKeepsOnlyTheEntriesWrittenSoFar) {
    // A virtual object at a = H0 - f' makes k = 1: the near limit divides by zero.
    ParaxialDesign d = Camera(19950);
    DofResults before;
    before.values.fill(7.0);
    const DofResults r = Solve(d, Custom(0.03125f), before);
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(std::tuple(r.values[kDofCoC], r.values[kDofHyperfocal], r.values[kDofField],
                         r.values[kDofNear], r.values[kDofFar]),
              std::tuple(0.03125, 20050.0, 7.0, 7.0, 7.0));

    const DofPanel p = BuildDofPanel(Custom(0.03125f), r, d, Mm);
    for (const std::string& v : p.values) EXPECT_EQ(v, "  ---");
    EXPECT_TRUE(Says(p.status, kFault) && p.statusColour == kColourRed);
    EXPECT_FALSE(d.bCalcInvalid);  // the solve itself stands
}

TEST(ComputeDOF, NoFigureIsEverNonFinite) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float fp : {-1e6f, -50.0f, 1e-3f, 50.0f, 3e30f}) {
        for (const float a : {engine::kInfinity, -1e30f, -1e6f, -50.0f, -1e-3f, 1e3f}) {
            for (const float c : {1e-38f, 1e-3f, 1.0f, 3e38f, nan}) {
                for (const bool mirror : {false, true}) {
                    ParaxialDesign d =
                        test::Solved({{kFocal, fp}, {kObjDist, a}, {kObjAngle, 0.1f}}, 5, mirror);
                    DofResults r;
                    if (!d.bCalcInvalid) ComputeDOF(Custom(c), d, r);
                    for (double v : r.values)
                        EXPECT_TRUE(std::isfinite(v)) << fp << ' ' << a << ' ' << c;
                    for (const std::string& v : BuildDofPanel(Custom(c), r, d, Mm).values)
                        EXPECT_FALSE(v.empty());
                }
            }
        }
    }
}

// f' = 100, a = -200, stop radius 10: Airy diameter 2 × 0.0066624 mm. The circle of confusion
// is the custom one or the Airy diameter; nothing for an unknown kind, nor for an aperture
// given up, whose old figures still stand in the table but describe another system.
TEST(BuildDofPanel, CircleOfConfusionAndStatusLine) {
    const DofOptions diffraction{kCoCDiffraction, 0.001f, false};
    enum Stop { kOpen, kClosed, kGivenUp };
    // clang-format off
    const struct {
        const char* what; DofOptions options; Stop stop; bool solveFailed, dashes; double coc;
        std::string status; std::uint32_t colour;
    } rows[] = {
        {"sharp enough", Custom(0.025f), kOpen, false, false, 0.025, "", kColourWhite},
        {"below the Airy disc", Custom(0.001f), kOpen, false, false, 0.001, kTooSmall, kColourRed},
        {"diffraction limited", diffraction, kOpen, false, false, 2 * 0.0066624, "", kColourWhite},
        {"aperture given up", diffraction, kGivenUp, false, true, 0, kNoAperture, kColourYellow},
        {"closed stop", Custom(0.025f), kClosed, false, true, 0.025, kNoAperture, kColourYellow},
        {"failed solve", Custom(0.025f), kOpen, true, true, 0.025, "", kColourWhite}};
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        ParaxialDesign d;
        Choose(d, {{kFocal, 100}, {kObjDist, -200}, {kObjHeight, 10}});
        ChooseAperture(d, row.stop == kClosed ? kAiryRadius : kStopRadius,
                       row.stop == kClosed ? 0 : 10);
        if (row.stop == kGivenUp) {
            ASSERT_TRUE(engine::SolveParaxial(d, false));
            d.aperture.Clear();
        }
        const DofResults r = Solve(d, row.options);
        EXPECT_TRUE(r.valid && test::RelNear(r.values[kDofCoC], row.coc, 1e-4));
        d.bCalcInvalid = row.solveFailed;
        const DofPanel p = BuildDofPanel(row.options, r, d, Mm);
        for (const std::string& v : p.values) EXPECT_EQ(v == "  ---", row.dashes) << v;
        EXPECT_TRUE(Says(p.status, row.status) && p.statusColour == row.colour) << p.status;
    }
}

TEST(BuildDofPanel, CameraFocusedAtOneMetreEachRowInItsOwnUnit) {
    ParaxialDesign d = Camera(-1000);
    const DofResults camera = Solve(d, Custom(0.025f));
    ASSERT_TRUE(camera.valid);
    // The limits are checked against the classical formulas above; here the depth of focus.
    const double imageDistance = 1.0 / (1.0 / 50 - 1.0 / 1000);
    EXPECT_REL(camera.values[kDofFocusDepth], imageDistance / (2 * 6.25) * 0.025);
    // Object-side positions are negative; beyond 1000 the distance format drops the decimals;
    // an unusable factor falls back to millimetres.
    const DofPanel p = BuildDofPanel(Custom(0.025f), camera, d, [](int row, double) {
        const DofDisplayUnit units[] = {{1e-3, "µm"}, {0, "xx"}, {1000, "m"}, {10, "cm"}};
        return units[row == kDofCoC ? 0 : row == kDofFocusDepth ? 1 : row == kDofNear ? 2 : 3];
    });
    const std::array<std::string, 6> values = {"  25.0µm", "±0.105mm",   "  7.61cm",
                                               " -0.963m", " -103.95cm", " -2505cm"};
    EXPECT_EQ(p.values, values);
}

TEST(CustomCoC, OnlyNewPositiveValuesAreStoredAndTheBoxShowsTheValueInUse) {
    // Unchanged (within the program's tolerance), non-positive, stored as 0, beyond single.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double mm : {0.05, 0.025 + 5e-8, 0.0, 1e39, nan}) {
        DofOptions o = Custom(0.025f);
        const bool stored = mm == 0.05;
        EXPECT_EQ(SetCoCCustom(o, mm), stored) << mm;
        EXPECT_EQ(o.cocCustom, stored ? 0.05f : 0.025f) << mm;
    }
    ParaxialDesign d = Camera(-1000);
    ASSERT_TRUE(engine::SolveParaxial(d, false));
    EXPECT_EQ(CustomCoCText(Custom(0.025f), d, {1e-3, "µm"}), " 25.0µm");
}

// The ordinary texts are in the camera panel above; here the scientific and boundary ones.
TEST(Formatters, SmallLengthAndDistanceScales) {
    // clang-format off
    const struct { double value; const char* text; } small[] = {
        {0.0, " 0.0mm"}, {9.25, " 9.25µm"}, {-2.5e-7, "-2.50e-7µm"}};
    for (const auto& r : small) EXPECT_EQ(FormatSmallLength(r.value, "µm"), r.text) << r.value;
    const struct { double value; const char* text; } distances[] = {
        {-1e20, " Infinity"}, {1000001, " 1.00e+6m"}, {1e6, " 1000000m"}, {1000, " 1000.00m"},
        {-3e-5, "-3.00e-5m"}};
    // clang-format on
    for (const auto& r : distances) EXPECT_EQ(FormatDistance(r.value, "m"), r.text) << r.value;
}

}  // namespace
}  // namespace rs::analysis
