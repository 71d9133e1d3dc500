#include "ui/extras_panel.h"

#include <gtest/gtest.h>

#include "app/presentation.h"
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

// Choosing axis 1's kind while axis 0 has two parameters keeps the value axis 0's third box gave
// up, so ticking it again solves at once; while that box forces the kind, the list's tip says so.
TEST(ExtrasPanel, DiodeKindChoiceKeepsAxis0sValue) {
    test::WindowFixture f(
        "[ExtraGB]\nGaussianBeam=True\nGBWaveLen=808\nGaussianBeamRect=True\n"
        "GBDiodeParamUserType=6\nGBDiodeParamUserVal=0.03\n[LastValues]\nVarTypeGBNos=3\n"
        "1VarTypeGBVal=0|4|True|False|0|False|0\n2VarTypeGBVal=1|4|True|False|0|False|0\n"
        "3VarTypeGBVal=6|0.1|True|False|0|False|0\n");
    MainWindow& w = f.w();
    const auto locked = [&] {
        return f.View("cmbGBExtraDiodeParamType").toolTip.find("Festgelegt") != std::string::npos;
    };
    EXPECT_TRUE(locked());
    w.SetBeamChecked(beam::kGbObjDiv, false);
    ChooseDiodeParamKind(w, 0);
    EXPECT_FALSE(locked());
    w.SetBeamChecked(beam::kGbObjDiv, true);
    const engine::Selection& sel = f.s().design.beam.axes[0].selection;
    EXPECT_TRUE(sel.ValueDefined(3) && sel.Value(3) == 0.1f);
    EXPECT_TRUE(app::DesignSolved(f.s().design));
}

}  // namespace
}  // namespace rs::ui
