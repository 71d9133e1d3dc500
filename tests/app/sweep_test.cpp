// The sweep engine: its plan, the spacing of its values, and rows handed on one at a time.
#include "app/sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/ini_file.h"
#include "app/settings.h"

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

}  // namespace
}  // namespace rs::app
