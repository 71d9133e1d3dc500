// The Gaussian-beam engine: solver, diode axes, extras and the result list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "beam/beam_extras.h"
#include "beam/beam_report.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "support/numeric.h"

namespace rs::beam {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using Chosen = std::pair<int, double>;  // a chosen parameter and its value

BeamDesign Design(const std::vector<Chosen>& chosen, bool alt = false) {
    BeamDesign d;
    d.beamMode = true;
    d.altSolution = alt;
    for (auto [index, value] : chosen) d.axes[0].selection.AddValue(index, float(value));
    return d;
}

BeamDesign Diode(const std::vector<Chosen>& axis0, bool circularise, int mode = 0) {
    BeamDesign d = Design(axis0);
    d.diode.diodeMode = true;
    d.diode.circularise = circularise;
    d.diode.collimationMode = mode;
    return d;
}

double V(const BeamDesign& d, int index, int axis = 0) {
    return d.Axis(axis).table[static_cast<std::size_t>(index)];
}

bool AllFinite(const BeamAxis& a) {
    return std::all_of(a.table.begin(), a.table.end(), [](double v) { return std::isfinite(v); });
}

std::vector<int> Indices(const engine::Selection& sel) {
    std::vector<int> out;
    for (const auto& e : sel.Entries()) out.push_back(e.nVarType);
    return out;
}

TEST(BeamCatalogue, SymbolOverridesAreKeyedByNameWithTheDefaultAsFallback) {
    BeamSymbols symbols;
    symbols.Init(1, [&](std::string_view key, std::string_view fallback) {
        EXPECT_FALSE(key.empty());  // nameless entries have no key and keep their default
        return std::string(key.substr(0, 4)) + std::string(fallback);
    });
    // f' and f share the name "Brennweite: " and keep their own defaults.
    EXPECT_EQ(std::tuple(symbols.Param(kGbFocal), symbols.Param(kGbObjFocal),
                         symbols.Extra(kExRadiusAtElement), symbols.Extra(kExWaist)),
              std::tuple("Brenf'", "Brenf", "StraR", ""));
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
}

// Two selections have a default root that depends on the beam: f', s', w (by default the one of
// larger magnification) and f', s, w'. Chosen from a reference beam (f', s, r), each gives that
// beam back on the root marked here; that every root is a beam is swept below.
TEST(BeamSolve, DefaultRootDependsOnTheBeam) {
    for (const auto& [f, s, r, row, alt] :
         {std::tuple{100.0, 200.0, 0.05, std::vector{0, 2, 6}, true},
          {50.0, 80.0, 0.1, std::vector{0, 2, 6}, false},
          {50.0, 80.0, 0.1, std::vector{0, 1, 9}, true},
          {20.0, 25.0, 0.02, std::vector{0, 1, 9}, false}}) {
        BeamDesign base = Design({{kGbFocal, f}, {kGbObjDist, s}, {kGbObjRadius, r}});
        ASSERT_TRUE(SolveAxis(base, 0, {}));
        BeamDesign d = Design(
            {{row[0], V(base, row[0])}, {row[1], V(base, row[1])}, {row[2], V(base, row[2])}}, alt);
        ASSERT_TRUE(SolveAxis(d, 0, {}));
        for (int i : {kGbObjDist, kGbImgDist, kGbObjRadius, kGbImgRadius}) {
            EXPECT_TRUE(test::RelNear(V(d, i), V(base, i), 2e-5))
                << f << " row " << row[1] << " index " << i;
        }
    }
}

TEST(BeamSolve, AlternativeSwitchIsOfferedOnlyWhereTheSolutionIsNotUnique) {
    // clang-format off
    const struct { std::vector<int> indices; bool available; } cases[] = {
        {{0, 1, 7}, false}, {{0, 2, 9}, false}, {{0, 2, 5}, true}, {{1, 2, 10}, true},
        {{0, 5, 8}, true}, {{0, 1}, false}};
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
        EXPECT_FALSE(G6(80, m, 30, true) || G7(80, m, 30, true));
    }
    EXPECT_REL(*G9(40, 40, 10, false), 0.25);                    // s = f': m = zr'/f'
    EXPECT_FALSE(G9(40, 40, 10, true) || G8(40, 40, 30, true));  // G8: m = 0 carries no beam
    // The near-geometric roots keep their digits for a thin beam.
    EXPECT_REL_TOL(*G8(200, 100, 1e-6, true), 1.0, 1e-12);
    EXPECT_REL(*G10(300, 150, 1e-9), 100.0);
    EXPECT_REL(*G11(300, 150, 1e-9, false), 100.0);
}

TEST(BeamSolve, DegenerateInputsFailWithoutLeavingFaults) {
    const std::pair<std::vector<Chosen>, bool> cases[] = {
        // the choices, the alternative root
        {{{kGbObjDist, 100}, {kGbMagnif, 0}, {kGbObjRadius, 0.1}}, false},  // m = 0
        {{{kGbFocal, 100}, {kGbImgDist, 100}, {kGbObjRadius, 0.1}}, true},  // G8 gives m = 0
        {{{kGbFocal, 100}, {kGbObjDist, 0}, {kGbObjRadius, 0.1}}, false},
        {{{kGbMagnif, 2}, {kGbObjRadius, 0.1}, {kGbImgRadius, 0.2}}, false},   // m vs two beams
        {{{kGbFocal, 3e38}, {kGbMagnif, 3e38}, {kGbObjRadius, 1}}, false},     // zr' overflows
        {{{kGbFocal, 3e38}, {kGbObjDist, 2.9e38}, {kGbObjRadius, 1}}, false},  // s' beyond float
        {{{kGbFocal, 100}, {kGbTrack, 200}, {kGbObjRadius, 1}}, false},
    };
    for (const auto& [chosen, alt] : cases) {
        BeamDesign d = Design(chosen, alt);
        EXPECT_FALSE(SolveAxis(d, 0, {})) << chosen[0].first << "," << chosen[1].first;
        EXPECT_TRUE(d.axes[0].resultInvalid && AllFinite(d.axes[0]));
    }
}

TEST(BeamSolve, StatusFlagsAndTheGivenBeamSurviveAFailure) {
    BeamDesign d = Design({{kGbObjRadius, 0.05}});
    engine::DataContinuity store;
    store.RecordBeam(0, std::array<double, kBeamTableSize>{1, 1, 1}.data(), true);
    EXPECT_FALSE(SolveAxis(d, 0, {0, 1, &store}));
    EXPECT_EQ(std::pair(d.axes[0].objBeamMissing, d.axes[0].imgBeamMissing),
              std::pair(false, true));
    EXPECT_REL(V(d, kGbObjRayleigh), 12.4115);
    EXPECT_FALSE(store.Beam(0, kGbFocal).defined);  // an incomplete selection forgets
    // A complete selection without a solution keeps the last one available.
    d = Design({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    ASSERT_TRUE(SolveAxis(d, 0, {0, 1, &store}));
    const engine::DataContinuity solved = store;
    d.axes[0].selection.SetValue(2, 0.0f);
    EXPECT_TRUE(!SolveAxis(d, 0, {0, 1, &store}) && store == solved);

    // A value without its defined flag does not count as a given beam.
    d = Design({{kGbFocal, 100}, {kGbObjDist, 200}, {kGbObjRadius, 0.05}});
    d.axes[0].selection.Entry(3).bVarValDef = false;
    EXPECT_FALSE(SolveAxis(d, 0, {}));
    EXPECT_TRUE(d.axes[0].objBeamMissing);
}

TEST(BeamSelection, CheckBoxesFollowTheCombinationRules) {
    // Each rule by its message's own word; a fourth unchecks itself silently; the waist
    // distance (4) is never an input.
    // clang-format off
    const struct { std::vector<int> before; int index; std::string word; bool selected; } cases[] = {
        {{5}, 6, "Strahlparameter", false}, {{0, 1}, 2, "Strahloption", false},
        {{5, 8}, 7, "Strahlparameter", false}, {{6, 9}, 0, "", true},
        {{3, 5}, 8, "Vergrößerung", false}, {{0, 1}, 5, "", true}, {{}, 11, "", false},
        {{0, 1, 5}, 9, "", false}, {{0}, 4, "", false}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d;
        for (int i : c.before) d.axes[0].selection.Add(i);
        const auto before = d.axes[0].selection;
        const ToggleOutcome out = ToggleBeamParam(d, c.index, true);
        const std::string message = out.message.value_or("");
        EXPECT_TRUE(message.empty() == c.word.empty() &&
                    message.find(c.word) != std::string::npos && out.selected == c.selected)
            << c.index << message;
        EXPECT_TRUE(c.selected ? d.axes[0].selection.Contains(c.index)
                               : d.axes[0].selection == before)
            << c.index;
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
                if (!ValidateBeamSelection(sel)) allowed.push_back(Indices(sel));
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
        for (int k = 0; k < 3; ++k) {  // the chosen values stay, beam sizes as magnitudes
            const float chosen = d.axes[0].selection.Value(k + 1);
            ASSERT_EQ(float(V(d, sel[k])), sel[k] >= kGbObjRadius ? std::fabs(chosen) : chosen);
        }
        const double f = V(d, 0), s = V(d, 1), sp = V(d, 2), m = V(d, 3);
        const double r = V(d, 5), w = V(d, 6), zr = V(d, 7);
        const double rp = V(d, 8), wp = V(d, 9), zrp = V(d, 10);
        const double lambda = d.WavelengthMm();  // the relations of a Gaussian beam
        SCOPED_TRACE(::testing::Message() << ::testing::PrintToString(sel) << " f=" << f
                                          << " s=" << s << " m=" << m << " zr=" << zr);
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

// The second cylinder makes the beam leave both axes with the same waist, whichever kind
// describes axis 1; mode 0 puts both object waists in the front focal planes, mode 1 one
// Rayleigh length further out, so that the image waists lie as far out as they can. With M² in
// use the real beams (radii and divergences times M) leave matched; their divergences then
// differ by M1²/M0², as no pair of cylinders can match both for beams of unequal quality.
TEST(DiodeCircularisation, BothAxesLeaveMatchedForEveryKindAndMode) {
    // w0 = 2 mrad, 6 mrad on axis 1, f0 = 9 mm: the cylinders stand 6 mm apart.
    // clang-format off
    const struct { int kind; double f0, axis0, value, f1; } kinds[] = {
        {kGbObjDiv, 9, 0.002, 0.006, 3}, {kGbObjRadius, 8, 0.002, 0.004, 16},
        {kGbObjRayleigh, 8, 0.05, 0.02, 8 * std::sqrt(0.4)}};
    // clang-format on
    for (int mode : {0, 1}) {
        for (const auto& k : kinds) {
            BeamDesign d =
                Diode({{kGbFocal, k.f0}, {kGbObjDist, 20}, {k.kind, k.axis0}}, true, mode);
            d.diode.paramValues[static_cast<std::size_t>(k.kind)] = k.value;
            SolveAllAxes(d, {});
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " kind " << k.kind);
            ASSERT_FALSE(d.axes[1].resultInvalid);
            EXPECT_EQ(Indices(d.axes[1].selection), (std::vector<int>{0, 1, k.kind}));
            EXPECT_REL(V(d, k.kind, 1), k.value);
            EXPECT_REL(V(d, kGbFocal, 1), k.f1);
            for (int axis : {0, 1}) {
                const double f = V(d, kGbFocal, axis), zr = V(d, kGbObjRayleigh, axis);
                EXPECT_REL(V(d, kGbObjDist, axis), mode == 0 ? f : f + zr);
                if (mode == 1) {
                    EXPECT_REL(V(d, kGbImgDist, axis), f + f * f / (2 * zr));
                }
            }
            EXPECT_REL(V(d, kGbImgRadius, 1), V(d, kGbImgRadius, 0));

            // M² of axis 0 and 1, in use: equal qualities, or none in use, change nothing.
            const std::tuple<double, double, bool> qualities[] = {
                {4, 1, true}, {1, 9, true}, {2, 2, true}, {4, 1, false}};
            for (const auto& [m0, m1, use] : qualities) {
                BeamDesign q = d;
                std::tie(q.extrasOptions.mFactor, q.diode.mFactor, q.extrasOptions.mFactorUse) =
                    std::tuple(m0, m1, use);
                SolveAllAxes(q, {});
                auto real = [&](int axis) { return V(q, kGbImgRadius, axis) * MFactor(q, axis); };
                // The distances are singles: in mode 1 one ulp of s is a part in 1e5 of s − f'.
                EXPECT_REL_TOL(real(1), real(0), 1e-4) << m0 << " " << m1 << " " << use;
                if (m0 == m1 || !use) {
                    EXPECT_EQ(q.axes[1].table, d.axes[1].table);
                }
            }
        }
    }
}

TEST(DiodeAxis1, SharesElementAndObjectDistanceWithAxis0) {
    BeamDesign d = Diode({{kGbFocal, 50}, {kGbImgDist, 60}, {kGbImgRadius, 0.2}}, false);
    d.diode.paramValues[kGbObjRadius] = 0.003;  // axis 0's kind maps to the object radius
    engine::DataContinuity store;
    SolveAllAxes(d, {0, 1, &store});
    ASSERT_FALSE(d.axes[1].resultInvalid);
    EXPECT_EQ(Indices(d.axes[1].selection), (std::vector<int>{0, 1, kGbObjRadius}));
    EXPECT_REL(V(d, kGbObjDist, 1), V(d, kGbObjDist, 0));
    EXPECT_REL(V(d, kGbObjRadius, 1), 0.003);
    EXPECT_TRUE(store.Beam(1, kGbImgDist).defined);

    // No stored value: axis 1 starts from axis 0's beam, and keeps it.
    d.diode.paramValues = {};
    SolveAllAxes(d, {});
    EXPECT_REL(d.diode.paramValues[kGbObjRadius], V(d, kGbObjRadius, 0));

    // Outside diode mode axis 1 is left alone; without a solution on axis 0 it is emptied.
    const BeamAxis axis1 = d.axes[1];
    d.axes[0].selection.SetValue(1, 0.0f);
    BeamDesign plain = d;
    plain.diode.diodeMode = false;
    SolveAllAxes(plain, {});
    SolveAllAxes(d, {});
    EXPECT_EQ(plain.axes[1], axis1);
    EXPECT_TRUE(d.axes[1].resultInvalid && d.axes[1].selection.Count() == 0);
}

// Axis 1 keeps its own beam (0.03 rad at 808 nm) however axis 0's is given: every change of axis
// 0's third parameter (an image-side one forces its object-side kind), with and without
// circularisation, re-expresses axis 1's value in the kind now in force, and so does a kind
// chosen in the list while axis 0 is incomplete.
TEST(DiodeAxis1, KeepsItsBeamWhenAxis0ChangesItsKind) {
    const auto axis0 = *TripleFrom(kGbObjDiv, 0.1, 808e-6);
    const double axis0Values[] = {axis0.radius, axis0.divergence, axis0.rayleigh};
    for (bool circularise : {false, true}) {
        for (int from = kGbObjRadius; from <= kGbObjRayleigh; ++from) {
            for (int to = kGbObjRadius; to <= kGbImgRayleigh; ++to) {
                if (to == from || (circularise && IsImageBeam(to))) continue;
                for (bool choose : {false, true}) {
                    SCOPED_TRACE(::testing::Message() << circularise << " " << from << " → " << to
                                                      << (choose ? " chosen between" : ""));
                    BeamDesign d = Diode(
                        {{kGbFocal, 4}, {kGbObjDist, 4}, {from, axis0Values[from - kGbObjRadius]}},
                        circularise);
                    d.SetWavelengthNm(808);
                    d.diode.paramValues[kGbObjDiv] = 0.03;
                    SolveAllAxes(d, {});
                    ASSERT_FALSE(d.axes[1].resultInvalid);
                    const BeamAxis before = d.axes[1];
                    engine::CVarType entry{static_cast<std::int16_t>(to), float(V(d, to)), true};

                    ToggleBeamParam(d, from, false);
                    SolveAllAxes(d, {});
                    if (choose) {
                        EXPECT_TRUE(SetDiodeParamKind(d, kGbObjRadius + (from - 4) % 3));
                    }
                    ASSERT_TRUE(ToggleBeamParam(d, to, true, entry).selected);
                    SolveAllAxes(d, {});
                    ASSERT_FALSE(d.axes[1].resultInvalid);
                    for (int i : {kGbObjRadius, kGbObjDiv, kGbObjRayleigh, kGbFocal}) {
                        EXPECT_REL_TOL(V(d, i, 1), before.table[static_cast<std::size_t>(i)], 1e-6);
                    }
                }
            }
        }
    }
}

TEST(DiodeReshape, EveryStartingSelectionEndsAsFocalDistanceAndObjectBeam) {
    // A lone object beam and the beam of a full selection stay (an image beam as its object
    // kind); otherwise the divergence.
    // clang-format off
    const struct { std::vector<int> before, after; int kind; } cases[] = {
        {{3}, {0, 1, 6}, 6}, {{10}, {0, 1, 7}, 7}, {{1, 5}, {0, 1, 6}, 6},
        {{0, 2, 8}, {0, 1, 5}, 5}, {{1, 5, 9}, {0, 1, 6}, 6}, {{0, 1, 5}, {0, 1, 5}, 5}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d = Diode({}, true);
        for (int i : c.before) d.axes[0].selection.Add(i);
        ReshapeAxis0ForCircularisation(d);
        SCOPED_TRACE(::testing::PrintToString(c.before));
        EXPECT_EQ(Indices(d.axes[0].selection), c.after);
        EXPECT_EQ(DiodeParamKind(d), c.kind);
    }
    // New parameters take solved values and the distance the focal length.
    BeamDesign d = Diode({{kGbFocal, 100}, {kGbImgDist, 150}, {kGbImgRadius, 0.05}}, false);
    ASSERT_TRUE(SolveAxis(d, 0, {}));
    d.diode.circularise = true;
    ReshapeAxis0ForCircularisation(d);
    const engine::Selection& sel = d.axes[0].selection;
    EXPECT_EQ(std::pair(sel.Value(2), sel.Value(3)), std::pair(100.0f, float(V(d, kGbObjRadius))));
    // Only s has a value: f' takes it; without a solution the divergence has none.
    d = Diode({{kGbObjDist, 40}, {kGbMagnif, 2}}, true);
    d.axes[0].resultInvalid = true;
    ReshapeAxis0ForCircularisation(d);
    EXPECT_EQ(sel.Value(1), 40.0f);
    EXPECT_FALSE(sel.ValueDefined(3));
}

TEST(DiodeControls, CoupledValuesKindValueAndCheckBoxes) {
    BeamDesign d = Diode({{kGbFocal, 10}, {kGbObjDist, 10}, {kGbObjRayleigh, 4}}, true, 1);
    SolveAllAxes(d, {});
    for (int mode : {0, 1}) {  // s = f' in mode 0, one Rayleigh length (4) beyond in mode 1
        d.diode.collimationMode = mode;
        const auto s = CoupledConjugateValue(d, kGbFocal, 12);
        const auto f = CoupledConjugateValue(d, kGbObjDist, 12);
        ASSERT_TRUE(s && f);
        EXPECT_EQ(std::tuple(s->index, s->value, f->index, f->value),
                  std::tuple(int{kGbObjDist}, 12.0 + 4 * mode, int{kGbFocal}, 12.0 - 4 * mode));
    }

    // Axis 0's third parameter decides the kind: the list takes no other, and the solve stores
    // the kind in force.
    EXPECT_TRUE(DiodeParamKindForced(d) && !SetDiodeParamKind(d, kGbObjRadius));
    EXPECT_EQ(std::pair(DiodeParamKind(d), d.diode.paramKind), std::pair(7, 7));

    for (int i = 0; i <= 10; ++i) EXPECT_EQ(BeamCheckBoxEnabled(d, i), i >= 5 && i <= 7) << i;
    EXPECT_FALSE(ToggleBeamParam(d, kGbObjDist, false).message);
    EXPECT_EQ(d.axes[0].selection.Count(), 3);  // a disabled box changes nothing
    d.diode.circularise = false;
    EXPECT_FALSE(CoupledConjugateValue(d, kGbFocal, 12));
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(BeamCheckBoxEnabled(d, i), i != kGbTrack) << i;

    // With axis 0 incomplete the stored kind counts and the list takes object-side kinds (their
    // values are those of the same beam, see KeepsItsBeamWhenAxis0ChangesItsKind).
    d.axes[0].selection.Remove(kGbObjRayleigh);
    EXPECT_EQ(DiodeParamKind(d), kGbObjRayleigh);
    EXPECT_TRUE(SetDiodeParamKind(d, kGbObjRadius));
    EXPECT_FALSE(SetDiodeParamKind(d, kGbImgRadius));
    d.diode.paramKind = 9;  // as an old settings file may hold it
    EXPECT_EQ(DiodeParamKind(d), kGbObjDiv);

    for (double bad : {0.0, -1.0, kNaN}) EXPECT_FALSE(SetDiodeParamValue(d, bad));
    EXPECT_TRUE(SetDiodeParamValue(d, 0.5) && DiodeParamValue(d) == 0.5);
}

// A solved axis 0: element f', object waist radius r at distance s.
BeamDesign Beam(double f, double s, double r, double nm = 632.8) {
    BeamDesign d = Design({{kGbFocal, f}, {kGbObjDist, s}, {kGbObjRadius, r}});
    d.SetWavelengthNm(nm);
    SolveAllAxes(d, {});
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
        EXPECT_REL_TOL(x[static_cast<std::size_t>(index)], value, 2e-6) << index;
    }
    EXPECT_EQ(std::pair(x[kExMinSpotPos], x[kExMinSpotRadius]), std::pair(0.0, 0.0));
}

TEST(BeamExtras, DetectorDistanceRoundsHalfToEvenWhereverUsed) {
    // clang-format off
    const struct { double typed, used; const char* text; } cases[] = {
        {100.5, 100, "100.0mm"}, {101.5, 102, "102.0mm"}, {kNaN, 0, "0.0mm"}};
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
    BeamDesign extreme;
    for (std::size_t i = 0; i < kBeamTableSize; ++i)
        extreme.axes[0].table[i] = i % 2 ? 1e300 : 1e-300;
    std::vector<BeamDesign> designs = {BeamDesign{}, Beam(100, 100, 0.05), extreme,
                                       Beam(100, 200, 0.05)};
    auto& poisoned = designs.back();
    for (int i : {kGbObjRayleigh, kGbImgRadius, kGbFocal})
        poisoned.axes[0].table[i] = i == kGbObjRayleigh ? kInf : kNaN;
    poisoned.extrasOptions = {.detectorOn = true, .detectorDistance = 1e308, .dofFraction = kInf};
    for (BeamDesign& d : designs) {
        for (const double e : {0.0, kNaN, 1e308}) {
            for (const double v : Extras(d, {e, 0.0, nullptr})) EXPECT_TRUE(std::isfinite(v));
            const AxialRange range = BeamDrawingRange(d);
            EXPECT_TRUE(std::isfinite(range.min) && range.min <= range.max);
        }
        const MinSpot m = ComputeMinSpot(d, 150);
        EXPECT_TRUE(std::isfinite(m.currentRadius + m.objectDistance + m.imageDistance +
                                  m.magnification + m.minimumRadius + HalfDepthOfFocus(d)));
    }
    // f' = 0: no ratios, no geometric image.
    EXPECT_EQ(std::pair(designs[0].axes[0].extras[kExRatioS], designs[0].axes[0].extras[kExAiry]),
              std::pair(0.0, 0.0));
}

TEST(BeamRadius, PropagationAndCurvature) {
    const double lambda = 632.8e-6, r0 = 0.05, zr = engine::kPi * r0 * r0 / lambda;
    EXPECT_REL_TOL(BeamRadiusAtDistance(r0, 1e6 * zr, lambda), r0 * 1e6, 1e-9);
    // Flat at the waist, most curved (R = 2 zr) one Rayleigh length away.
    EXPECT_EQ(WavefrontCurvatureRadius(r0, 0, lambda), kFlatWavefront);
    EXPECT_REL(WavefrontCurvatureRadius(r0, -zr, lambda), -2 * zr);
    for (const double k : {0.99, 1.01}) {
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
    using enum EditResult;
    // M² lies in [1, 50) (no real beam beats the Gaussian); within the tolerance of the stored 1
    // is no change; the other axis keeps its own.
    for (const auto& [value, accepted] : {std::pair{50.0, false},
                                          {49.9, true},
                                          {kNaN, false},
                                          {1.00000005, false},
                                          {0.5, false},
                                          {1.5, true}}) {
        BeamDesign d;
        EXPECT_EQ(SetMFactor(d, 1, value) == Accepted, accepted) << value;
        EXPECT_EQ(std::pair(MSquared(d, 1), MSquared(d, 0)), std::pair(accepted ? value : 1, 1.0));
    }
    BeamDesign d;
    EXPECT_EQ(ApplyMFactorText(d, 0, " 4,0 "), Accepted);
    EXPECT_EQ(MFactor(d, 0), 1.0);  // use switch off: the embedded beam is shown
    d.extrasOptions.mFactorUse = true;
    EXPECT_EQ(MFactor(d, 0), 2.0);
    for (const double old : {0.0, 0.5}) {  // as an old settings file may hold it
        d.diode.mFactor = old;
        EXPECT_EQ(MFactorText(d, 1), "1.0");
    }

    // An unchanged wavelength and a wrong unit are refused.
    for (const auto& [apply, text, result] : {std::tuple{&ApplyWavelengthText, "632,8nm", Refused},
                                              {ApplyWavelengthText, "532mm", Refused},
                                              {ApplyWavelengthText, "1064 nm", Accepted},
                                              {ApplyWavelengthText, "1064 nm", Refused}}) {
        EXPECT_EQ(apply(d, text), result) << text;
    }
    EXPECT_EQ(ApplyDetectorDistanceText(d, "-20mm"), Accepted);
    EXPECT_EQ(ApplyMinSpotDistanceText(d, "25mm"), Accepted);
    EXPECT_EQ(std::tuple(WavelengthText(d), DetectorDistanceText(d), MinSpotDistanceText(d)),
              std::tuple("1064.0nm", "-20.0mm", "25.0mm"));
    // In the window's unit for distances (here cm), typed with or without it.
    const DistanceUnit cm{10.0, "cm"};
    EXPECT_EQ(ApplyDetectorDistanceText(d, "3,55cm", cm), Accepted);
    EXPECT_EQ(DetectorDistanceText(d, cm), "3.6cm");  // 35.5 mm rounds to 36 (half to even)
    EXPECT_EQ(ApplyMinSpotDistanceText(d, "25mm", cm), Refused);
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
    for (const auto& [half, text] : {std::pair{0.00125, "±0.001mm"}, {1.23e-5, "±0.012um"}}) {
        d.axes[0].table[kGbImgRadius] = std::sqrt(half / perRadius2);
        EXPECT_EQ(DepthOfFocusText(d), text);
    }
    d.extrasOptions.dofFraction = -1;
    EXPECT_EQ(DepthOfFocusText(d), "±0.012um");
}

// The smallest spot at D behind the element is the object waist imaged geometrically to D.
TEST(MinSpot, ClosedFormInAnyUnit) {
    for (const auto& [f, s, r, distance] :
         {std::tuple{100.0, 200.0, 0.05, 300.0}, {-50.0, 200.0, 0.05, 300.0}}) {
        SCOPED_TRACE(distance);
        const MinSpot m = ComputeMinSpot(Beam(f, s, r), distance);
        ASSERT_EQ(m.lineCount, 6);
        EXPECT_REL(m.minimumRadius, r * std::fabs(distance - f) / std::fabs(f));
        // Every length ten times larger (wavelength included): positions and radius scale.
        const MinSpot big = ComputeMinSpot(Beam(10 * f, 10 * s, 10 * r, 6328), 10 * distance);
        EXPECT_REL(big.objectDistance, 10 * m.objectDistance);
        EXPECT_REL(big.imageDistance, 10 * m.imageDistance);
        EXPECT_REL(big.minimumRadius, 10 * m.minimumRadius);
    }
}

TEST(MinSpot, TextLinesAndEarlyEndings) {
    BeamDesign d = Beam(100, 300, 0.05);
    EXPECT_EQ(MinSpotText(d), "");  // no distance entered yet
    ASSERT_EQ(SetMinSpotDistance(d, 200), EditResult::Accepted);
    // Six lines; 2f'–2f' imaging at unit magnification keeps the waist radius.
    const std::string text = MinSpotText(d);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    EXPECT_NE(text.find("\nminimaler Radius 0.05mm"), std::string::npos);
    // D = f' has no conjugate; without f' the conjugate is found but not its image waist.
    EXPECT_EQ(ComputeMinSpot(d, 100).lineCount, 2);
    d.axes[0].table[kGbFocal] = 0;
    EXPECT_EQ(ComputeMinSpot(d, 50).lineCount, 3);
    d.axes[0].resultInvalid = true;
    EXPECT_EQ(MinSpotText(d), "");
}

TEST(Range, WaistsBeyondTwentyFocalLengthsOnlyExtendThePicture) {
    // Near waists are included; an object waist 30 f' away extends 20 f' left of F; a tight
    // object beam whose farthest image waist lies 51 f' behind the element extends 20 f' right.
    // The ends are given relative to F and F', margins excluded.
    const double tight = std::sqrt(632.8e-6 / engine::kPi);  // zr = 1
    for (const auto& [s, r, min, max] : {std::tuple{200.0, 0.5, -100.0, 4.028},
                                         {3000.0, 0.5, -2000.0, 4.028},
                                         {100.0, tight, 0.0, 2000.0}}) {
        BeamDesign d = Beam(100, s, r);
        const auto& x = Extras(d);
        const double margin = 0.02 * (x[kExFImage] - x[kExF]);
        const AxialRange range = BeamDrawingRange(d);
        EXPECT_REL_TOL(range.min, x[kExF] + min - margin, 1e-4) << s;
        EXPECT_REL_TOL(range.max, x[kExFImage] + max + margin, 1e-4) << s;
        d.extrasOptions = {.detectorOn = true, .detectorDistance = 5000};
        EXPECT_GT(BeamDrawingRange(d).max, Extras(d)[kExDetector]) << s;
    }
    // The second diode axis has a range of its own.
    BeamDesign two = Beam(100, 200, 0.5);
    two.axes[1] = Beam(50, 3000, 0.5).axes[0];
    EXPECT_EQ(BeamDrawingRange(two, 1).min, BeamDrawingRange(Beam(50, 3000, 0.5)).min);
}

std::map<std::string, std::string> Rows(const BeamDesign& d, const BeamReportContext& c = {}) {
    BeamListCache cache;
    std::map<std::string, std::string> m;
    for (const auto& r : FillBeamResultList(d, c, cache).rows) m[r.name] = r.value;
    return m;
}

TEST(BeamResultList, ValueTexts) {
    BeamDesign d = Beam(100, 200, 0.05);
    ASSERT_FALSE(d.axes[0].resultInvalid);
    auto v = Rows(d);
    EXPECT_EQ(v["Bildweite: s'"], " 198.48mm");
    EXPECT_EQ(v["paraxialer Bildabstand"], " 200.0");  // the catalogue gives it no unit of its own
    EXPECT_EQ(v["Strahlradius [Detektor]: Rd"], "");   // detector off
    EXPECT_FALSE(ShowInvalidLabel(d));

    // M² scales radii and divergences by M, not the Rayleigh lengths.
    d.extrasOptions.mFactorUse = true;
    d.extrasOptions.mFactor = 4;
    auto m = Rows(d);
    EXPECT_EQ(m["Strahl rad [in]: r"], " 0.1mm");
    EXPECT_EQ(m["Strahl div [in]:w"], " 8.057mrad");
    EXPECT_EQ(m["Rayeigh [in]: zr"], v["Rayeigh [in]: zr"]);

    // A waist in the front focal plane is imaged to infinity geometrically.
    EXPECT_EQ(Rows(Beam(100, 100, 0.05))["paraxialer Bildabstand"], " unendlich");
}

TEST(BeamResultList, FailedSolveKeepsTheGivenBeam) {
    // The given object beam and its partners stay visible; nothing that needs the solution.
    BeamDesign d = Design({{kGbObjDist, 100}, {kGbMagnif, 1e6}, {kGbObjRadius, 0.05}});
    SolveAllAxes(d, {});
    d.axes[0].resultInvalid = true;
    auto v = Rows(d);
    EXPECT_EQ(std::tuple(v["Strahl rad [in]: r"], v["Strahl rad [aus]: r'"], v["Verhältnis s/f"]),
              std::tuple(" 0.05mm", "", " "));
    EXPECT_TRUE(ShowInvalidLabel(d));
}

TEST(BeamNumber, ScientificOutsideTheOrdinaryRange) {
    EXPECT_EQ(BeamNumber(0.00005, "0.0###"), "5.0e-5");
    EXPECT_EQ(BeamNumber(2e6, "0.0#"), "2.0e+6");
    EXPECT_EQ(BeamNumber(0.0002, "0.0###"), "0.0002");
}

TEST(BeamResultList, DiodeAxesInBrackets) {
    BeamDesign d = Diode({{kGbFocal, 10.0}, {kGbObjDist, 20.0}, {kGbObjDiv, 0.1}}, false);
    d.diode.paramValues[kGbObjDiv] = 0.03;
    SolveAllAxes(d, {});
    ASSERT_FALSE(d.axes[1].resultInvalid);
    auto v = Rows(d);
    EXPECT_EQ(v["Brennweite: f'"], " 10.0 [10.0]mm");
    EXPECT_EQ(v["Strahl div [in]:w"], " 100.0 [30.0]mrad");

    // The names are rewritten when diode mode comes or goes, not on every fill.
    BeamListCache cache;
    EXPECT_TRUE(FillBeamResultList(d, {}, cache).rewriteNames);
    EXPECT_FALSE(FillBeamResultList(d, {}, cache).rewriteNames);
    d.diode.diodeMode = false;
    EXPECT_TRUE(FillBeamResultList(d, {}, cache).rewriteNames);
}

TEST(BeamReport, RefusalsAndColumns) {
    BeamDesign two;
    two.axes[0].selection.Add(kGbFocal);
    EXPECT_EQ(BuildBeamReport(two, {}, {}).refusal.value_or(""),
              "Sie haben noch nicht alle Parameter ausgewählt! ");

    // A diode design adds the second axis as a column of its own and says so.
    BeamDesign d = Beam(100, 200, 0.05);
    d.diode.diodeMode = true;
    d.diode.paramValues[kGbObjDiv] = 0.003;
    SolveAllAxes(d, {});
    const engine::ReportResult r = BuildBeamReport(d, {}, {"1.0.0", "heute", {}});
    ASSERT_FALSE(r.refusal);
    const auto& rows = r.page.rows;
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                            [](const auto& row) { return row.pieces.size() == 3; }));
}

}  // namespace
}  // namespace rs::beam
