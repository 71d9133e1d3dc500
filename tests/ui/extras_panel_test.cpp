#include "ui/extras_panel.h"

#include <gtest/gtest.h>

#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

TEST(ExtrasPanel, ChoicesTakeNoUndoStepAndEntriesBeyondAListAreIgnored) {
    test::WindowFixture f;
    MainWindow& w = f.w();
    f.Lens();
    // The custom circle of confusion is taken only while its type is chosen.
    ChooseCoCType(w, analysis::kCoCDiffraction);
    ApplyCoCText(w, "0.1");
    ChooseCoCType(w, 2);
    w.SetBeamMode(true);
    SetDiodeMode(w, true);
    const auto backup = f.s().backup.Backup();
    ChooseCollimationMode(w, 1);
    ChooseCollimationMode(w, 7);
    ChooseDofEntry(w, 5);
    ChooseDofEntry(w, 9);
    const app::DesignState& d = f.s().design;
    EXPECT_EQ(d.dof.cocType, analysis::kCoCDiffraction);
    EXPECT_FLOAT_EQ(d.dof.cocCustom, analysis::kDefaultCoC);
    EXPECT_EQ(d.beam.diode.collimationMode, 1);
    EXPECT_EQ(f.View("lstGBExtraDOFPercent").currentIndex, 5);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    w.Undo();  // takes back the diode mode; an undo step does not hold the type
    EXPECT_FALSE(d.beam.diode.diodeMode);
    EXPECT_EQ(d.dof.cocType, analysis::kCoCDiffraction);
}

}  // namespace
}  // namespace rs::ui
