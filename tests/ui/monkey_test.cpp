// Thousands of random operations on one window, as a careless user would click and type, with
// the window's invariants checked after every one of them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "app/settings.h"
#include "ui/refresh.h"
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
        f_.dialogs.questionFallback = [this] {
            return static_cast<Answer>(Int(0, 2));
        };
    }

    void Run(int steps) {
        for (int i = 0; i < steps; ++i) {
            const int op = Step();
            Check(i, op);
            if (::testing::Test::HasFailure()) return;
            f_.dialogs.Forget();
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
        static const char* kSuffixes[] = {"",    "",    "",  "",   "", "mm", "cm", "m", "µm",
                                          "deg", "rad", "x", "nm", " mm", "in"};
        return t + kSuffixes[Int(0, 14)];
    }

    std::string Text() {
        static const char* kOdd[] = {"",     " ",     "abc",   "1e400", "nan", "-",
                                     "1e30", "-1e29", "1e35",  "0",     "1,5", "∞",
                                     "12 34", "--1",  "0x10",  "1e-40", "-0", "In Unendlich"};
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

    int Step() {
        MainWindow& w = f_.w();
        const int op = Int(0, 33);
        switch (op) {
            case 0:
            case 1: w.SetParamChecked(Int(-1, 9), Chance(0.6)); break;
            case 2: w.SetApertureChecked(Int(-1, 4), Chance(0.6)); break;
            case 3:
            case 4:
            case 5: w.ApplyTypedValue(Int(-1, 3), Text()); break;
            case 6: w.ApplyApertureValue(Text()); break;
            case 7: w.ApplyUpperLimit(Int(-1, 3), Text()); break;
            case 8: w.ApplyLowerLimit(Int(-1, 3), Text()); break;
            case 9: (Chance(0.5) ? w.ApplyUpperLimitAp(Text()) : w.ApplyLowerLimitAp(Text())); break;
            case 10:
            case 11: w.ApplyPosition(Int(-1, 3), Int(-10, 110)); break;
            case 12: w.ApplyPositionAp(Int(-10, 110)); break;
            case 13: w.ChooseImageFormat(Int(-1, 53)); break;
            case 14: w.SetAdvancedOptions(Chance(0.5)); break;
            case 15: w.ApplyAdvancedValue(Int(-1, 4), Chance(0.5) ? Text() : "1.5"); break;
            case 16: w.DefaultAdvancedValues(); break;
            case 17: w.ChooseMirrorMode(Int(0, 2)); break;
            case 18: w.SetPositiveObjectAllowed(Chance(0.5)); break;
            case 19: w.SetObjectAtInfinity(Chance(0.5)); break;
            case 20: w.SetListOption(Int(0, 1), Chance(0.5)); break;
            case 21:
            case 22: w.Undo(); break;
            case 23:
                if (Chance(0.2)) w.Clear();
                break;
            case 24:
                if (Chance(0.5)) {
                    app::SaveSettings(f_.s().design, *f_.ini);
                } else {
                    w.Recall();
                }
                break;
            case 25:
                if (Chance(0.3)) w.SetBeamMode(!f_.s().design.beam.beamMode);
                break;
            case 26: w.SetBeamChecked(Int(-1, 11), Chance(0.6)); break;
            case 27: w.ToggleAltSolution(); break;
            case 28: w.ApplyBeamWavelength(Text()); break;
            case 29:
                // A handler during a drag must change nothing.
                if (w.BeginDrag()) {
                    const Snapshot before = Capture(f_.s().design);
                    w.ApplyTypedValue(0, Text());
                    w.Undo();
                    EXPECT_EQ(Capture(f_.s().design), before);
                    w.EndDrag();
                }
                break;
            case 30: w.RequestClose(std::nullopt); break;
            case 31: w.ChooseSymbolSet(Int(-1, 2)); break;
            default: ChooseAllowedSet(); break;
        }
        return op;
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
        SolveDesign(copy, false);
        engine::ResultListCache cache;
        beam::BeamListCache beamCache;
        ASSERT_EQ(ListedRows(copy, false, cache, beamCache).rows, s.results.rows) << where;

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
        Monkey(seed).Run(2000);
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace
}  // namespace rs::ui
