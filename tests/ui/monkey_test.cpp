// Thousands of random operations on one window, as a careless user would click and type, with
// the window's invariants checked after every one of them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <set>

#include "app/settings.h"
#include "app/presentation.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using engine::CVarType;

class Monkey {
public:
    explicit Monkey(unsigned seed) : rng_(seed) {
        f_.dialogs.inputFallback = [this]() -> std::optional<std::string> {
            if (Chance(0.3)) return std::nullopt;
            return Text();
        };
        f_.dialogs.questionFallback = [this] { return static_cast<Answer>(Int(0, 2)); };
    }

    void Run(int steps) {
        for (int i = 0; i < steps; ++i) {
            const int op = Step();
            Check(i, op);
            if (::testing::Test::HasFailure()) return;
            f_.dialogs.calls.clear();
        }
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    std::string Number() {
        // Mostly sizes a design has, sometimes anything up to the edge of what is accepted.
        const double exponent = Chance(0.9) ? std::uniform_real_distribution<double>(-2, 4)(rng_)
                                            : std::uniform_real_distribution<double>(-8, 31)(rng_);
        const double v = (Chance(0.5) ? -1 : 1) * (Chance(0.05) ? 0.0 : std::pow(10.0, exponent));
        std::string t = std::to_string(v);
        if (Chance(0.3)) {
            for (char& c : t) c = c == '.' ? ',' : c;
        }
        static const char* kSuffixes[] = {"",   "",    "",    "",  "",   "mm",  "cm", "m",
                                          "µm", "deg", "rad", "x", "nm", " mm", "in"};
        return t + kSuffixes[Int(0, 14)];
    }

    std::string Text() {
        static const char* kOdd[] = {"",      " ",     "abc",  "1e400", "nan", "-",
                                     "1e30",  "-1e29", "1e35", "0",     "1,5", "∞",
                                     "12 34", "--1",   "0x10", "1e-40", "-0",  "In Unendlich"};
        if (Chance(0.15)) return kOdd[Int(0, 17)];
        return Number();
    }

    // Chooses three parameters that the rules allow (general ones, or beam ones in the beam
    // mode), in random click order, and types values, so the other operations find complete
    // designs to work on.
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
        auto drag = [&] {  // a handler during a drag must change nothing
            if (!w.BeginDrag()) return;
            const Snapshot before = Capture(f_.s().design);
            w.ApplyTypedValue(0, Text());
            w.Undo();
            EXPECT_EQ(Capture(f_.s().design), before);
            w.EndDrag({});
        };
        const std::vector<std::pair<int, std::function<void()>>> ops = {
            {2, [&] { w.SetParamChecked(Int(-1, 9), Chance(0.6)); }},
            {1, [&] { w.SetApertureChecked(Int(-1, 4), Chance(0.6)); }},
            {3, [&] { w.ApplyTypedValue(Int(-1, 3), Text()); }},
            {1, [&] { w.ApplyApertureValue(Text()); }},
            {1, [&] { w.ApplyUpperLimit(Int(-1, 3), Text()); }},
            {1, [&] { w.ApplyLowerLimit(Int(-1, 3), Text()); }},
            {1, [&] { Chance(0.5) ? w.ApplyUpperLimitAp(Text()) : w.ApplyLowerLimitAp(Text()); }},
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
            {1,
             [&] { Chance(0.5) ? void(app::SaveSettings(f_.s().design, *f_.ini)) : w.Recall(); }},
            {1, [&] { Chance(0.3) ? w.SetBeamMode(!f_.s().design.beam.beamMode) : void(); }},
            {1, [&] { w.SetBeamChecked(Int(-1, 11), Chance(0.6)); }},
            {1, [&] { w.ToggleAltSolution(); }},
            {1, [&] { w.ApplyBeamWavelength(Text()); }},
            {1, drag},
            {1, [&] { w.RequestClose(std::nullopt); }},
            {1, [&] { w.ChooseSymbolSet(Int(-1, 2)); }},
            {2, [&] { ChooseAllowedSet(); }},
        };
        int total = 0;
        for (const auto& op : ops) total += op.first;
        int pick = Int(0, total - 1);
        for (int op = 0;; ++op) {
            pick -= ops[static_cast<std::size_t>(op)].first;
            if (pick < 0) {
                ops[static_cast<std::size_t>(op)].second();
                return op;
            }
        }
    }

    void CheckSet(const engine::Selection& set, int capacity, int maxIndex, bool atInfinityA,
                  const std::string& where) {
        ASSERT_LE(set.Count(), capacity) << where;
        int last = -1;
        for (const CVarType& e : set.Entries()) {
            ASSERT_GT(e.nVarType, last) << where << ": sorted and unique";
            ASSERT_LE(e.nVarType, maxIndex) << where;
            last = e.nVarType;
            ASSERT_TRUE(std::isfinite(e.sVarValue) && std::isfinite(e.sLimLow) &&
                        std::isfinite(e.sLimHih))
                << where;
            if (atInfinityA && e.nVarType == engine::kObjDist) continue;
            if (e.bLimLowDef && e.bLimHihDef) {
                ASSERT_LE(e.sLimLow, e.sLimHih) << where << " index " << e.nVarType;
                if (e.bVarValDef) {
                    ASSERT_LE(e.sLimLow, e.sVarValue) << where << " index " << e.nVarType;
                    ASSERT_LE(e.sVarValue, e.sLimHih) << where << " index " << e.nVarType;
                }
            }
        }
    }

    void Check(int step, int op) {
        const WindowState& s = f_.s();
        const std::string where = "step " + std::to_string(step) + " op " + std::to_string(op);
        ASSERT_TRUE(s.machine.IsIdle()) << where;
        const app::DesignState& d = s.design;
        CheckSet(d.paraxial.params, 3, 8, d.paraxial.options.objAtInfinity, where + " params");
        CheckSet(d.paraxial.aperture, 1, 4, false, where + " aperture");
        CheckSet(d.beam.axes[0].selection, 3, 10, false, where + " beam");
        ASSERT_FALSE(d.beam.axes[0].selection.Contains(beam::kGbTrack)) << where;
        if (d.paraxial.options.objAtInfinity) {
            ASSERT_TRUE(d.paraxial.params.Contains(engine::kObjDist)) << where;
        }
        for (int pos : s.sliderPos) ASSERT_TRUE(pos >= kSliderMin && pos <= kSliderMax) << where;

        // The list shows exactly what a fresh solve of the same design shows.
        app::DesignState copy = d;
        app::SolveDesign(copy, false);
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        ASSERT_EQ(app::ResultRows(copy, false, cache, beamCache).rows, s.results.rows) << where;

        const WindowView view = BuildView(s);
        std::set<std::string> names;
        for (const ControlView& c : view.controls) {
            ASSERT_TRUE(names.insert(c.name).second) << where << ": " << c.name << " twice";
        }
        ASSERT_FALSE(view.title.empty());
    }

    test::WindowFixture f_;
    std::mt19937 rng_;
};

TEST(Monkey, RandomOperationsKeepTheWindowConsistent) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u}) {
        SCOPED_TRACE(seed);
        Monkey(seed).Run(1500);
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace
}  // namespace rs::ui
