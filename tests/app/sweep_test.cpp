// The sweep engine: its plan, the spacing of its values, and rows handed on one at a time.
#include "app/sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "beam/beam_extras.h"
#include "beam/beam_report.h"
#include "engine/report.h"

namespace rs::app {
namespace {

TEST(Sweep, ParsesItsPlanAndSpacesTheValuesEvenly) {
    const auto plan = std::get<SweepPlan>(ParseSweep("f'=-1000:-150,5:3"));
    EXPECT_EQ(plan.name, "f'");
    EXPECT_EQ(plan.from, -1000);
    EXPECT_EQ(plan.to, -150.5);  // a comma is a decimal separator as in the window's boxes
    EXPECT_EQ(SweepValue(plan, 0), -1000);
    EXPECT_EQ(SweepValue(plan, 1), -575.25);
    EXPECT_EQ(SweepValue(plan, 2), -150.5);
    // One step is FROM alone; TO is reached exactly however the steps round.
    EXPECT_EQ(SweepValue(std::get<SweepPlan>(ParseSweep("a=3:7:1")), 0), 3);
    const auto third = std::get<SweepPlan>(ParseSweep("a=0:0.3:4"));
    EXPECT_EQ(SweepValue(third, 3), 0.3);
    // Huge ends of opposite sign: every value between them is finite.
    EXPECT_EQ(SweepValue(std::get<SweepPlan>(ParseSweep("a=1e308:-1e308:3")), 1), 0.0);
}

// Rows reach the sink in step order as they are solved, each as wide as the header, and a sink
// that can take no more ends the sweep at once.
TEST(Sweep, HandsOnRowByRowAndStopsWhenTheSinkDoes) {
    DesignState design;
    LoadSettings(IniFile(std::string(RAYSKETCHER_TEST_DATA) + "/relay.ini"), design);
    const auto plan = std::get<SweepPlan>(ParseSweep("a=-200:0:5"));
    auto sweep = std::get<DesignSweep>(DesignSweep::Prepare(design, plan));
    std::int64_t next = 0;
    const SweepOutcome all = sweep.Run([&](const SweepRow& row) {
        EXPECT_EQ(row.step, next++);
        EXPECT_EQ(row.numbers.size(), sweep.Header().size());
        EXPECT_EQ(row.numbers[0].value, SweepValue(plan, row.step));
        // a = 0 (the object on the lens) has no solution and no number but the swept value.
        EXPECT_EQ(row.solved, row.step != 4);
        if (!row.solved) {
            EXPECT_TRUE(std::isnan(row.numbers[1].value));
        }
        return true;
    });
    EXPECT_EQ(next, 5);
    EXPECT_EQ(all.unsolved, 1);
    EXPECT_FALSE(all.stopped);

    int taken = 0;
    const SweepOutcome stopped = sweep.Run([&](const SweepRow&) { return ++taken < 2; });
    EXPECT_EQ(taken, 2);
    EXPECT_TRUE(stopped.stopped);
}

// The first column whose header begins with `name`.
std::size_t ColumnOf(const DesignSweep& sweep, std::string_view name) {
    for (std::size_t k = 1; k < sweep.Header().size(); ++k) {
        if (sweep.Header()[k].starts_with(name)) return k;
    }
    ADD_FAILURE() << "no column " << name;
    return 0;
}

// The Airy radius grows and the MTF cut-off falls in proportion to the wavelength, once the
// advanced options let it count; a wavelength the box refuses has no solution.
TEST(Sweep, TheWavelengthScalesTheDiffractionFigures) {
    DesignState design;
    LoadSettings(IniFile(std::string(RAYSKETCHER_TEST_DATA) + "/relay.ini"), design);
    design.paraxial.options.advOptions = true;
    auto sweep = std::get<DesignSweep>(
        DesignSweep::Prepare(design, std::get<SweepPlan>(ParseSweep("Wellenlänge=5:1000:3"))));
    EXPECT_EQ(sweep.Header()[0], "Wellenlänge [nm]");
    const std::size_t airy = ColumnOf(sweep, "Airy-Radius");
    const std::size_t mtf = ColumnOf(sweep, engine::kMtfCutOffRow);
    std::vector<std::vector<double>> rows;
    sweep.Run([&](const SweepRow& row) {
        rows.emplace_back();
        for (const SweepNumber& n : row.numbers) rows.back().push_back(n.value);
        EXPECT_EQ(row.solved, row.step > 0);
        return true;
    });
    ASSERT_EQ(rows.size(), 3u);
    const double ratio = rows[2][0] / rows[1][0];
    EXPECT_NEAR(rows[2][airy] / rows[1][airy], ratio, 1e-5);
    EXPECT_NEAR(rows[1][mtf] / rows[2][mtf], ratio, 1e-3);
}

// The beam's radius at the detector follows the caustic of the image waist, at the whole
// millimetre the detector stands at (which the swept column shows).
TEST(Sweep, TheDetectorRunsAlongTheImageCaustic) {
    DesignState design;
    LoadSettings(IniFile(std::string(RAYSKETCHER_EXAMPLES) + "/hene-focus-100mm.ini"), design);
    design.beam.extrasOptions.detectorOn = true;
    SolveDesign(design, false);
    const auto& table = design.beam.axes[0].table;
    const double waistAt = table[beam::kGbImgDist];
    const double rayleigh = table[beam::kGbImgRayleigh];
    const double unit = design.units.UnitFactor(units::Group::GBExtra, 0);
    const SweepPlan plan{"Detektor", (waistAt - 10) / unit, (waistAt + 10) / unit, 5};
    auto sweep = std::get<DesignSweep>(DesignSweep::Prepare(design, plan));
    const std::size_t detector = ColumnOf(sweep, beam::ExtraName(beam::kExRadiusAtDetector));
    const std::size_t waist = ColumnOf(sweep, beam::BeamLabel(design.beam, beam::kGbImgRadius));
    int rows = 0;
    sweep.Run([&](const SweepRow& row) {
        ++rows;
        const double at = row.numbers[0].value * unit;
        EXPECT_EQ(at, std::round(at));
        const double off = (at - waistAt) / rayleigh;
        EXPECT_NEAR(row.numbers[detector].value / row.numbers[waist].value,
                    std::sqrt(1 + off * off), 1e-9)
            << at;
        return true;
    });
    EXPECT_EQ(rows, 5);
}

}  // namespace
}  // namespace rs::app
