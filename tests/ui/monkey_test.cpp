// Thousands of random operations on one window, as a careless user would click and type, with
// the window's invariants checked after every one of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <set>

#include "app/presentation.h"
#include "app/settings.h"
#include "beam/beam_report.h"
#include "beam/gaussian_beam.h"
#include "engine/solver.h"
#include "ui/extras_panel.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using engine::CVarType;

// The result list of a fresh solve of only what the user chose: the selections with their
// values, the options, units and symbols; nothing of the window's solved tables, continuity
// store or presentation goes into it. Nothing when the solve fails.
std::optional<engine::ResultList> FreshList(const app::DesignState& d) {
    app::DesignState fresh;
    fresh.units = d.units;
    engine::ParaxialDesign& p = fresh.paraxial;
    p.params = d.paraxial.params;
    p.aperture = d.paraxial.aperture;
    p.options = d.paraxial.options;
    p.symbols = d.paraxial.symbols;
    if (!d.beam.beamMode) {
        if (!engine::SolveParaxial(p, false)) return std::nullopt;
        engine::ResultListCache cache;
        return engine::FillResultList(p, app::ParaxialUnits(d.units), engine::WavelengthText(p),
                                      false, false, cache);
    }
    beam::BeamDesign& b = fresh.beam;
    b.beamMode = true;
    b.altSolution = d.beam.altSolution;
    b.axes[0].selection = d.beam.axes[0].selection;
    b.extrasOptions = d.beam.extrasOptions;
    b.diode = d.beam.diode;
    b.symbols = d.beam.symbols;
    b.SetWavelengthNm(d.beam.WavelengthNm());
    beam::SolveAllAxes(b, {p.options.PrincipalPlaneSeparation(), p.options.ImageIndex(), nullptr});
    for (int axis = 0; axis < b.AxisCount(); ++axis) {
        const beam::BeamAxis& a = b.Axis(axis);
        if (a.selection.Count() < 3 || !a.valuesDefined || a.resultInvalid) return std::nullopt;
    }
    beam::BeamListCache cache;
    return beam::FillBeamResultList(b, app::BeamReportContextOf(fresh), cache);
}

class Monkey {
public:
    explicit Monkey(unsigned seed) : rng_(seed) {
        f_.dialogs.inputFallback = [this] {
            return Chance(0.3) ? std::nullopt : std::optional<std::string>(Text());
        };
        f_.dialogs.questionFallback = [this] { return static_cast<Answer>(Int(0, 2)); };
    }

    void Run(int steps) {
        for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
            const int op = Step();
            Check(step, "step " + std::to_string(step) + " op " + std::to_string(op));
            f_.dialogs.calls.clear();
        }
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // Mostly sizes a design has, sometimes anything up to the edge of what is accepted.
    std::string Number() {
        static const char* kSuffixes[] = {"",   "",    "",    "",  "",   "mm",  "cm", "m",
                                          "µm", "deg", "rad", "x", "nm", " mm", "in"};
        const double exponent = Chance(0.9) ? std::uniform_real_distribution<double>(-2, 4)(rng_)
                                            : std::uniform_real_distribution<double>(-8, 31)(rng_);
        const double v = (Chance(0.5) ? -1 : 1) * (Chance(0.05) ? 0.0 : std::pow(10.0, exponent));
        std::string t = std::to_string(v);
        if (Chance(0.3)) std::replace(t.begin(), t.end(), '.', ',');
        return t + kSuffixes[Int(0, 14)];
    }
    std::string Text() {
        static const char* kOdd[] = {"",     " ",     "abc",  "1e400", "nan",   "-",
                                     "1e30", "-1e29", "1e35", "0",     "1,5",   "∞",
                                     "--1",  "0x10",  "-0",   "1e-40", "12 34", "In Unendlich"};
        return Chance(0.15) ? kOdd[Int(0, 17)] : Number();
    }

    // Three parameters that the rules allow (general ones, or beam ones in the beam mode), in
    // random click order, with values, so the other operations find complete designs.
    void ChooseAllowedSet() {
        MainWindow& w = f_.w();
        const bool beamMode = f_.s().design.beam.beamMode;
        const engine::Selection& set =
            beamMode ? f_.s().design.beam.axes[0].selection : f_.p().params;
        for (int i = 0; i <= beam::kGbImgRayleigh; ++i) {
            beamMode ? w.SetBeamChecked(i, false) : w.SetParamChecked(i, false);
        }
        for (int tries = 0; tries < 20 && set.Count() < 3; ++tries) {
            beamMode ? w.SetBeamChecked(Int(0, 10), true) : w.SetParamChecked(Int(0, 8), true);
        }
        for (int k = 0; k < set.Count(); ++k) w.ApplyTypedValue(k, Number());
    }

    // One random operation; the weights follow how often a user does each.
    int Step() {
        MainWindow& w = f_.w();
        auto upperOrLower = [&](auto upper, auto lower) { Chance(0.5) ? upper() : lower(); };
        const std::vector<std::pair<int, std::function<void()>>> ops = {
            // clang-format off
            {2, [&] { w.SetParamChecked(Int(-1, 9), Chance(0.6)); }},
            {1, [&] { w.SetApertureChecked(Int(-1, 4), Chance(0.6)); }},
            {3, [&] { w.ApplyTypedValue(Int(-1, 3), Text()); }},
            {1, [&] { w.ApplyApertureValue(Text()); }},
            {1, [&] { upperOrLower([&] { w.ApplyUpperLimit(Int(-1, 3), Text()); },
                                   [&] { w.ApplyLowerLimit(Int(-1, 3), Text()); }); }},
            {1, [&] { upperOrLower([&] { w.ApplyUpperLimitAp(Text()); },
                                   [&] { w.ApplyLowerLimitAp(Text()); }); }},
            {2, [&] { w.ApplyPosition(Int(-1, 3), Int(-10, 110)); }},
            {1, [&] { w.ApplyPositionAp(Int(-10, 110)); }},
            {1, [&] { w.ChooseImageFormat(Int(-1, 53)); }},
            {1, [&] { w.SetAdvancedOptions(Chance(0.5)); }},
            {1, [&] { w.ApplyAdvancedValue(Int(-1, 4), Chance(0.5) ? Text() : "1.5"); }},
            {1, [&] { w.DefaultAdvancedValues(); }},
            {1, [&] { w.ChooseMirrorMode(Int(0, 2)); }},
            {1, [&] { w.SetPositiveObjectAllowed(Chance(0.5)); }},
            {1, [&] { w.SetObjectAtInfinity(Chance(0.5)); }},
            {1, [&] { w.SetListOption(Int(0, 1), Chance(0.5)); }},
            {2, [&] { w.Undo(); }},
            {1, [&] { Chance(0.2) ? w.Clear() : void(); }},
            {1, [&] { Chance(0.5) ? void(app::SaveSettings(f_.s().design, *f_.ini)) : w.Recall(); }},
            {1, [&] { Chance(0.3) ? w.SetBeamMode(!f_.s().design.beam.beamMode) : void(); }},
            {1, [&] { w.SetBeamChecked(Int(-1, 11), Chance(0.6)); }},
            {1, [&] { w.ToggleAltSolution(); }},
            {1, [&] { w.ApplyBeamWavelength(Text()); }},
            // The diode's second axis (circularising is left to its own tests).
            {1, [&] { Chance(0.5) ? SetDiodeMode(w, Chance(0.5)) : SetMFactorUse(w, Chance(0.5)); }},
            {1, [&] { ApplyMFactorText(w, Int(0, 1), Text()); }},
            {1, [&] { ApplyDiodeParamText(w, Text()); }},
            {1, [&] { ChooseDiodeParamKind(w, Int(-1, 3)); }},
            {1, [&] { w.RequestClose(std::nullopt); }},
            {1, [&] { w.ChooseSymbolSet(Int(-1, 2)); }},
            {2, [&] { ChooseAllowedSet(); }},
            // clang-format on
        };
        int total = 0;
        for (const auto& op : ops) total += op.first;
        int pick = Int(0, total - 1);
        for (int op = 0;; ++op) {
            pick -= ops[static_cast<std::size_t>(op)].first;
            if (pick >= 0) continue;
            const auto& operation = ops[static_cast<std::size_t>(op)].second;
            if (Chance(0.05) && w.BeginDrag()) {  // while a drawing is dragged, nothing changes
                const Snapshot before = Capture(f_.s().design);
                operation();
                EXPECT_EQ(Capture(f_.s().design), before);
                w.EndDrag({});
            } else {
                operation();
            }
            return op;
        }
    }

    static void CheckSet(const engine::Selection& set, int capacity, int maxIndex, bool atInfinityA,
                         const std::string& where) {
        ASSERT_LE(set.Count(), capacity) << where;
        int last = -1;
        for (const CVarType& e : set.Entries()) {
            SCOPED_TRACE(testing::Message() << where << " index " << e.nVarType);
            ASSERT_TRUE(e.nVarType > last && e.nVarType <= maxIndex);  // sorted and unique
            last = e.nVarType;
            ASSERT_TRUE(std::isfinite(e.sVarValue) && std::isfinite(e.sLimLow) &&
                        std::isfinite(e.sLimHih));
            if ((atInfinityA && e.nVarType == engine::kObjDist) || !e.bLimLowDef || !e.bLimHihDef)
                continue;
            ASSERT_LE(e.sLimLow, e.sLimHih);
            ASSERT_TRUE(!e.bVarValDef || (e.sLimLow <= e.sVarValue && e.sVarValue <= e.sLimHih));
        }
    }

    void Check(int step, const std::string& where) {
        const WindowState& s = f_.s();
        ASSERT_TRUE(s.machine.IsIdle()) << where;
        const app::DesignState& d = s.design;
        const engine::Selection& params = d.paraxial.params;
        CheckSet(params, 3, 8, d.paraxial.options.objAtInfinity, where + " params");
        CheckSet(d.paraxial.aperture, 1, 4, false, where + " aperture");
        CheckSet(d.beam.axes[0].selection, 3, 10, false, where + " beam");
        ASSERT_FALSE(d.beam.axes[0].selection.Contains(beam::kGbTrack)) << where;
        ASSERT_TRUE(!d.paraxial.options.objAtInfinity || params.Contains(engine::kObjDist))
            << where;
        for (int pos : s.sliderPos) ASSERT_TRUE(pos >= kSliderMin && pos <= kSliderMax) << where;

        // A solved design lists what a fresh solve of the user's choices lists; while the
        // paraxial selection is incomplete or has no solution, no value is shown at all.
        const bool complete = params.Count() == 3 && params.AllValuesDefined();
        const bool beamMode = d.beam.beamMode;
        const auto fresh = beamMode || complete ? FreshList(d) : std::nullopt;
        if (fresh) {
            ASSERT_EQ(s.results.rows.size(), fresh->rows.size()) << where;
        }
        for (std::size_t i = 0; i < s.results.rows.size() && (fresh || !beamMode); ++i) {
            const engine::ResultRow& row = s.results.rows[i];
            ASSERT_TRUE(fresh ? row == fresh->rows[i]
                              : row.value.find_first_not_of(' ') == std::string::npos)
                << where << ": " << row.name << " '" << row.value << "'"
                << (fresh ? " instead of '" + fresh->rows[i].value + "'" : std::string());
        }

        if (step % 50 != 0) return;  // the set of controls hardly changes from step to step
        std::set<std::string> names;
        for (const ControlView& c : BuildView(s).controls) {
            ASSERT_TRUE(names.insert(c.name).second) << where << ": " << c.name << " twice";
        }
    }

    test::WindowFixture f_;
    std::mt19937 rng_;
};

TEST(Monkey, RandomOperationsKeepTheWindowConsistent) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        Monkey(seed).Run(750);
    }
}

}  // namespace
}  // namespace rs::ui
