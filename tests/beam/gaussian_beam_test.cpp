#include "beam/gaussian_beam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "support/numeric.h"

namespace rs::beam {
namespace {

struct Chosen {
    int index;
    double value;
};

BeamDesign Design(const std::vector<Chosen>& chosen, bool alt = false) {
    BeamDesign d;
    d.beamMode = true;
    d.altSolution = alt;
    for (const Chosen& c : chosen) d.axes[0].selection.AddValue(c.index, float(c.value));
    return d;
}

double V(const BeamDesign& d, int index) {
    return BeamValue(d, 0, index);
}

bool AllFinite(const BeamAxis& a) {
    return std::all_of(a.table.begin(), a.table.end(), [](double v) { return std::isfinite(v); });
}

TEST(BeamCatalogue, SymbolOverridesAreKeyedByNameWithTheDefaultAsFallback) {
    BeamSymbols symbols;
    symbols.Init(1, [&](std::string_view key, std::string_view fallback) {
        EXPECT_FALSE(key.empty());  // nameless entries have no key and keep their default
        return std::string(key.substr(0, 4)) + std::string(fallback);
    });
    // f' and f share the name "Brennweite: " and keep their own defaults.
    EXPECT_EQ(symbols.Param(kGbFocal), "Brenf'");
    EXPECT_EQ(symbols.Param(kGbObjFocal), "Brenf");
    EXPECT_EQ(symbols.Extra(kExRadiusAtElement), "StraR");
    EXPECT_EQ(symbols.Extra(kExWaist), "");
}

TEST(BeamSolve, DocumentedExample) {
    BeamDesign d = Design({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    engine::DataContinuity store;
    ASSERT_TRUE(SolveAxis(d, 0, {7.0, 1.0, &store}));
    // The beam relations (radius, divergence, Rayleigh length, f = -f') are swept in the
    // property test below.
    EXPECT_REL(V(d, kGbObjRayleigh), 12.4115);
    EXPECT_REL(V(d, kGbImgDist), 198.483);
    EXPECT_REL(V(d, kGbMagnif), 0.99239);
    EXPECT_REL(V(d, kGbTrack), 200 + 198.483 + 7.0);
    EXPECT_REL(V(d, kGbParaxImage), 200.0);  // where the geometric image would be
    EXPECT_TRUE(store.Beam(0, kGbImgDist).defined);
    EXPECT_REL(store.Beam(0, kGbImgDist).value, 198.483);
}

// A reference beam solved from (f', s, r); every other allowed selection, given the reference
// values it takes, must describe the same beam again.
struct Reference {
    double f, s, r;
    // Whether the reference lies on the alternative root of the two rows whose default root
    // depends on the beam: f', s', w (by default the large-magnification one) and f', s, w'.
    bool altFocalImgDist, altFocalObjDist;
};

class DispatchRows : public ::testing::TestWithParam<Reference> {};

TEST_P(DispatchRows, EveryRowReproducesTheReferenceBeam) {
    const Reference ref = GetParam();
    BeamDesign base = Design({{kGbFocal, ref.f}, {kGbObjDist, ref.s}, {kGbObjRadius, ref.r}});
    ASSERT_TRUE(SolveAxis(base, 0, {}));

    const std::vector<std::vector<int>> rows = {
        {0, 5, 8}, {1, 5, 8},  {2, 5, 8}, {0, 2, 6}, {0, 3, 7},  {1, 2, 5}, {1, 3, 6},  {2, 3, 7},
        {0, 1, 9}, {0, 2, 10}, {0, 3, 8}, {1, 2, 9}, {1, 3, 10}, {2, 3, 8}, {0, 6, 10}, {1, 7, 9},
    };
    for (const auto& row : rows) {
        const bool alt = (row == std::vector{0, 2, 6} && ref.altFocalImgDist) ||
                         (row == std::vector{0, 1, 9} && ref.altFocalObjDist);
        BeamDesign d = Design(
            {{row[0], V(base, row[0])}, {row[1], V(base, row[1])}, {row[2], V(base, row[2])}}, alt);
        ASSERT_FALSE(ValidateBeamSelection(d.axes[0].selection));
        SCOPED_TRACE(::testing::Message() << "row " << row[0] << "," << row[1] << "," << row[2]);
        ASSERT_TRUE(SolveAxis(d, 0, {}));
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20}) {
            EXPECT_TRUE(test::RelNear(V(d, i), V(base, i), 2e-5)) << "index " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Beams, DispatchRows,
                         ::testing::Values(Reference{100, 200, 0.05, true, false},
                                           Reference{50, 80, 0.1, false, true},
                                           Reference{20, 25, 0.02, true, false}));

TEST(BeamSolve, AlternativeSwitchIsOfferedOnlyWhereTheSolutionIsNotUnique) {
    // clang-format off
    const struct { std::vector<int> indices; bool available; } cases[] = {
        {{0, 1, 7}, false}, {{1, 2, 6}, false}, {{0, 2, 9}, false}, {{0, 2, 5}, true},
        {{0, 1, 8}, true}, {{1, 2, 10}, true}, {{0, 5, 8}, true}, {{0, 1}, false}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d;
        d.beamMode = true;
        for (int i : c.indices) d.axes[0].selection.Add(i);
        EXPECT_EQ(AltSolutionAvailable(d), c.available) << c.indices[0] << c.indices[1];
        d.beamMode = false;
        EXPECT_FALSE(AltSolutionAvailable(d));
    }
    // f', m, beam: the object waist moves from f' + q to f' − q.
    BeamDesign d = Design({{kGbFocal, 100}, {kGbMagnif, 0.5}, {kGbObjRadius, 0.1}});
    ASSERT_TRUE(SolveAxis(d, 0, {}));
    const double q = V(d, kGbObjDist) - 100;
    d.altSolution = true;
    ASSERT_TRUE(SolveAxis(d, 0, {}));
    EXPECT_GT(q, 0);
    EXPECT_REL(V(d, kGbObjDist), 100 - q);
}

// Where a quadratic degenerates only one root is left; the other gives nothing.
TEST(BeamFormula, DegenerateQuadraticsKeepTheirOneRoot) {
    using namespace formula;
    for (double m : {1.0, -1.0}) {  // a 1:1 relay
        EXPECT_REL(*G6(80, m, 30, false), (80 * 80 + 30 * 30) / 160.0);
        EXPECT_REL(*G7(80, m, 30, false), (80 * 80 + 30 * 30) / 160.0);
        EXPECT_FALSE(G6(80, m, 30, true));
        EXPECT_FALSE(G7(80, m, 30, true));
    }
    EXPECT_REL(*G9(40, 40, 10, false), 0.25);  // s = f': m = zr'/f'
    EXPECT_FALSE(G9(40, 40, 10, true));
    EXPECT_FALSE(G8(40, 40, 30, true));  // m = 0 carries no beam
    // The near-geometric roots keep their digits for a thin beam.
    EXPECT_REL_TOL(*G8(200, 100, 1e-6, true), 1.0, 1e-12);
    EXPECT_REL(*G10(300, 150, 1e-9), 100.0);
    EXPECT_REL(*G11(300, 150, 1e-9, false), 100.0);
}

TEST(BeamSolve, DegenerateInputsFailWithoutLeavingFaults) {
    const struct {
        std::vector<Chosen> chosen;
        bool alt;
    } cases[] = {
        {{{kGbObjDist, 100}, {kGbMagnif, 0}, {kGbObjRadius, 0.1}}, false},  // m = 0
        {{{kGbFocal, 100}, {kGbImgDist, 100}, {kGbObjRadius, 0.1}}, true},  // G8 gives m = 0
        {{{kGbFocal, 100}, {kGbObjDist, 0}, {kGbObjRadius, 0.1}}, false},
        {{{kGbMagnif, 2}, {kGbObjRadius, 0.1}, {kGbImgRadius, 0.2}}, false},   // m vs two beams
        {{{kGbFocal, 3e38}, {kGbMagnif, 3e38}, {kGbObjRadius, 1}}, false},     // zr' overflows
        {{{kGbFocal, 3e38}, {kGbObjDist, 2.9e38}, {kGbObjRadius, 1}}, false},  // s' beyond float
        {{{kGbFocal, 100}, {kGbTrack, 200}, {kGbObjRadius, 1}}, false},
    };
    for (const auto& c : cases) {
        BeamDesign d = Design(c.chosen, c.alt);
        EXPECT_FALSE(SolveAxis(d, 0, {})) << c.chosen[0].index << "," << c.chosen[1].index;
        EXPECT_TRUE(d.axes[0].resultInvalid);
        EXPECT_TRUE(AllFinite(d.axes[0]));
    }
}

TEST(BeamSolve, StatusFlagsAndTheGivenBeamSurviveAFailure) {
    BeamDesign d = Design({{kGbObjRadius, 0.05}});
    engine::DataContinuity store;
    store.RecordBeam(0, std::array<double, kBeamTableSize>{1, 1, 1}.data(), true);
    EXPECT_FALSE(SolveAxis(d, 0, {0, 1, &store}));
    EXPECT_FALSE(d.axes[0].objBeamMissing);
    EXPECT_TRUE(d.axes[0].imgBeamMissing);
    EXPECT_REL(V(d, kGbObjRayleigh), 12.4115);
    EXPECT_FALSE(store.Beam(0, kGbFocal).defined);

    // A value without its defined flag does not count as a given beam.
    d = Design({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    d.axes[0].selection.Entry(3).bVarValDef = false;
    EXPECT_FALSE(SolveAxis(d, 0, {}));
    EXPECT_TRUE(d.axes[0].objBeamMissing);
}

TEST(BeamSelection, CheckBoxesFollowTheCombinationRules) {
    const std::string oneBeam =
        "Nur ein Strahlparameter im Objekt- und Bildraum kann unabhängig sein!";
    const std::string noBeam = "Sie müssen mindestens eine Strahloption wählen!";
    const std::string magnif =
        "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für die "
        "Vergrößerung! ";
    // A fourth unchecks itself; the waist distance (4) is never an input.
    // clang-format off
    const struct {
        std::vector<int> before; int index; std::optional<std::string> message; bool selected;
    } cases[] = {{{5}, 6, oneBeam, false}, {{9}, 8, oneBeam, false}, {{0, 1}, 2, noBeam, false},
                 {{5, 8}, 7, oneBeam, false}, {{6, 9}, 0, {}, true}, {{3, 5}, 8, magnif, false},
                 {{0, 1}, 5, {}, true}, {{}, 11, {}, false}, {{0, 1, 5}, 9, {}, false},
                 {{0}, 4, {}, false}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d;
        for (int i : c.before) d.axes[0].selection.Add(i);
        const auto before = d.axes[0].selection;
        const ToggleOutcome out = ToggleBeamParam(d, c.index, true);
        EXPECT_EQ(out.message, c.message) << c.index;
        EXPECT_EQ(out.selected, c.selected) << c.index;
        EXPECT_EQ(d.axes[0].selection.Contains(c.index), c.selected) << c.index;
        if (!c.selected) {
            EXPECT_EQ(d.axes[0].selection, before);
        }
    }
    BeamDesign d = Design({{kGbFocal, 100}, {kGbObjDist, 200}});
    EXPECT_FALSE(ToggleBeamParam(d, kGbObjDist, false).selected);
    EXPECT_EQ(d.axes[0].selection.Count(), 1);
}

// Whatever is chosen and typed, a solve never leaves a fault behind, and every solution it
// calls valid is a Gaussian beam through a thin element.
TEST(BeamSolveProperty, RandomInputsGiveFiniteConsistentBeams) {
    std::vector<std::vector<int>> allowed;
    const int choosable[] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10};
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            for (int c = b + 1; c < 10; ++c) {
                engine::Selection sel(3);
                for (int k : {a, b, c}) sel.Add(choosable[k]);
                if (!ValidateBeamSelection(sel)) {
                    allowed.push_back({choosable[a], choosable[b], choosable[c]});
                }
            }
    ASSERT_EQ(allowed.size(), 63u);  // 36 with one beam side, 27 with both

    std::mt19937 rng(4711);
    const float special[] = {0.f, 1.f, -1.f, 1e-30f, -1e-30f, 1e30f, -1e30f, 3e38f, -3e38f};
    auto value = [&](int index) -> double {
        if (rng() % 5 == 0) return special[rng() % std::size(special)];
        const bool beam = index >= kGbObjRadius;
        const double lo = index == kGbObjDiv || index == kGbImgDiv ? -5 : beam ? -4 : -2;
        const double hi = index == kGbMagnif ? 1.5 : beam ? 1 : 4;
        const double mag = std::pow(10.0, std::uniform_real_distribution<double>(lo, hi)(rng));
        return static_cast<float>(rng() % 4 == 0 ? -mag : mag);
    };

    int valid = 0;
    for (int iter = 0; iter < 30000; ++iter) {
        const auto& sel = allowed[rng() % allowed.size()];
        BeamDesign d =
            Design({{sel[0], value(sel[0])}, {sel[1], value(sel[1])}, {sel[2], value(sel[2])}},
                   rng() % 2 == 0);
        d.SetWavelengthNm(rng() % 3 == 0 ? 10600.0 : 632.8);
        const bool ok = SolveAxis(d, 0, {});
        const BeamAxis& a = d.axes[0];
        ASSERT_TRUE(AllFinite(a));
        ASSERT_EQ(ok, !a.resultInvalid);
        if (!ok) continue;
        ++valid;
        const double f = V(d, 0), s = V(d, 1), sp = V(d, 2), m = V(d, 3);
        const double r = V(d, 5), w = V(d, 6), zr = V(d, 7);
        const double rp = V(d, 8), wp = V(d, 9), zrp = V(d, 10);
        const double lambda = d.WavelengthMm();
        SCOPED_TRACE(::testing::Message()
                     << sel[0] << "," << sel[1] << "," << sel[2] << " f=" << f << " s=" << s
                     << " s'=" << sp << " m=" << m << " zr=" << zr);
        for (auto [given, expected] : {std::pair{zr, engine::kPi * r * r / lambda},
                                       {zrp, engine::kPi * rp * rp / lambda},
                                       {std::fabs(r) * w, lambda / engine::kPi},
                                       {std::fabs(rp) * wp, lambda / engine::kPi},
                                       {std::fabs(rp), std::fabs(m * r)}}) {
            ASSERT_TRUE(test::RelNear(given, expected, 1e-9, 0));
        }
        ASSERT_EQ(V(d, kGbObjFocal), -f);
        // (s' − f')((s − f')² + zr²) = f'²(s − f') and m² ((s − f')² + zr²) = f'², each against
        // the size of the terms that make it up.
        const double u = s - f, spread = (std::fabs(s) + std::fabs(f)), q = u * u + zr * zr;
        const double scale =
            (std::fabs(sp) + std::fabs(f)) * (spread * spread + zr * zr) + f * f * spread;
        ASSERT_LE(std::fabs((sp - f) * q - f * f * u), 1e-6 * scale);
        ASSERT_LE(std::fabs(m * m * q - f * f),
                  1e-6 * (m * m * (spread * spread + zr * zr) + f * f));
    }
    EXPECT_GT(valid, 5000);
}

}  // namespace
}  // namespace rs::beam
