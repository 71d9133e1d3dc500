#include "ui/extras_panel.h"

#include <gtest/gtest.h>

#include "beam/beam_extras.h"
#include "support/numeric.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

// f' 100 mm, s 200 mm, r 0.05 mm in beam mode.
void BeamLens(WindowFixture& f) {
    f.w().SetBeamMode(true);
    for (int i : {beam::kGbFocal, beam::kGbObjDist, beam::kGbObjRadius})
        f.w().SetBeamChecked(i, true);
    f.w().ApplyTypedValue(0, "100");
    f.w().ApplyTypedValue(1, "200");
    f.w().ApplyTypedValue(2, "0.05");
}

const beam::BeamDesign& Beam(const WindowFixture& f) {
    return f.s().design.beam;
}

TEST(ExtrasPanel, BeamBoxesTakeAnUndoStepOnlyForAnAcceptedValue) {
    WindowFixture f;
    BeamLens(f);
    ASSERT_FALSE(Beam(f).axes[0].resultInvalid);
    SetMFactorUse(f.w(), true);
    EXPECT_TRUE(f.View("txtGBExtraMFactor").enabled);

    ApplyMFactorText(f.w(), 0, "4");
    EXPECT_EQ(beam::MSquared(Beam(f), 0), 4.0);
    EXPECT_EQ(f.s().backup.Kind(), kBackupBeamValue);
    EXPECT_EQ(f.s().results.rows.at(0).value, " 4.0");

    // Refused and unedited texts change nothing, not even the undo step.
    const auto backup = f.s().backup.Backup();
    for (const char* text : {"50", "0", "abc", "", "4.0"}) ApplyMFactorText(f.w(), 0, text);
    EXPECT_EQ(beam::MSquared(Beam(f), 0), 4.0);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    f.w().Undo();
    EXPECT_EQ(beam::MSquared(Beam(f), 0), 1.0);

    SetDetectorOn(f.w(), true);
    ApplyDetectorText(f.w(), "100.5");
    EXPECT_EQ(f.View("txtGBExtraDetector").text, beam::DetectorDistanceText(Beam(f)));
    EXPECT_DOUBLE_EQ(Beam(f).axes[0].extras[beam::kExDetector],
                     Beam(f).axes[0].extras[beam::kExPImage] + 100.0);

    ApplyMinSpotText(f.w(), "0");
    EXPECT_EQ(f.View("lblGBExtraMinSpotRes").text, "");
    ApplyMinSpotText(f.w(), "150");
    EXPECT_NE(f.View("lblGBExtraMinSpotRes").text.find("Current radius: "), std::string::npos);

    ChooseDofEntry(f.w(), 5);  // 41.4 %: the depth of focus is the Rayleigh length
    EXPECT_TRUE(test::RelNear(beam::HalfDepthOfFocus(Beam(f)),
                              Beam(f).axes[0].table[beam::kGbImgRayleigh], 1e-4));
    EXPECT_EQ(f.View("lstGBExtraDOFPercent").currentIndex, 5);
    ChooseDofEntry(f.w(), 9);  // no such entry
    EXPECT_EQ(f.View("lstGBExtraDOFPercent").currentIndex, 5);

    // While a drawing is dragged, every extras handler waits.
    const Snapshot before = Capture(f.s().design);
    ASSERT_TRUE(f.w().BeginDrag());
    ApplyMFactorText(f.w(), 0, "2");
    SetDiodeMode(f.w(), true);
    ChooseDofEntry(f.w(), 0);
    EXPECT_EQ(Capture(f.s().design), before);
    f.w().EndDrag({});
}

TEST(ExtrasPanel, DiodeSwitchesReshapeTheSelectionAndNameTheMode) {
    WindowFixture f;
    f.w().SetBeamMode(true);
    for (int i : {beam::kGbFocal, beam::kGbImgDist, beam::kGbImgRadius}) {
        f.w().SetBeamChecked(i, true);
    }
    EXPECT_FALSE(f.View("cmbGBExtraDiodeParamType").enabled);
    SetDiodeMode(f.w(), true);
    EXPECT_NE(BuildView(f.s()).title.find(" Diode"), std::string::npos);
    EXPECT_TRUE(f.View("cmbGBExtraDiodeParamType").enabled);
    EXPECT_FALSE(f.View("cmbGBExtraBeamRectCircMode").enabled);

    SetCircularise(f.w(), true);
    const engine::Selection& sel = Beam(f).axes[0].selection;
    ASSERT_EQ(sel.Count(), 3);
    EXPECT_TRUE(sel.Contains(beam::kGbFocal) && sel.Contains(beam::kGbObjDist) &&
                sel.Contains(beam::kGbObjRadius));
    EXPECT_FALSE(f.View("chkVarTypeGB_0").enabled);
    EXPECT_TRUE(f.View("chkVarTypeGB_5").enabled);
    EXPECT_EQ(f.s().backup.Kind(), kBackupDiode);

    // The collimation mode is no undo step of its own.
    const auto backup = f.s().backup.Backup();
    ChooseCollimationMode(f.w(), 1);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    EXPECT_TRUE(BuildView(f.s()).title.ends_with(" [zirkularisiert - max Taillenabstand]"));
    ChooseCollimationMode(f.w(), 7);
    EXPECT_EQ(Beam(f).diode.collimationMode, 1);

    f.w().Undo();  // circularisation off again, with the selection it had
    EXPECT_FALSE(Beam(f).diode.circularise);
    EXPECT_TRUE(Beam(f).axes[0].selection.Contains(beam::kGbImgRadius));
}

TEST(ExtrasPanel, DiodeParameterKindAndValue) {
    WindowFixture f;
    BeamLens(f);
    SetDiodeMode(f.w(), true);
    // With axis 0 complete, its beam parameter names the kind.
    EXPECT_EQ(f.View("cmbGBExtraDiodeParamType").currentIndex, 0);
    EXPECT_EQ(DiodeParamBoxText(f.s()), "0.05mm");
    ApplyDiodeParamText(f.w(), "-1");
    ApplyDiodeParamText(f.w(), "x");
    EXPECT_EQ(DiodeParamBoxText(f.s()), "0.05mm");
    ApplyDiodeParamText(f.w(), "0.1");
    EXPECT_EQ(DiodeParamBoxText(f.s()), "0.1mm");
    EXPECT_DOUBLE_EQ(Beam(f).diode.paramValues[beam::kGbObjRadius], 0.1);
    EXPECT_TRUE(test::RelNear(Beam(f).axes[1].table[beam::kGbObjRadius], 0.1));
    ChooseDiodeParamKind(f.w(), 5);  // beyond the list
    ChooseDiodeParamKind(f.w(), -1);
    EXPECT_EQ(Beam(f).diode.paramKind, 6);
}

TEST(ExtrasPanel, CircleOfConfusionBoxAndType) {
    WindowFixture f(
        "[LastValues]\nVarTypeNos=3\n1VarTypeVal=0|50|True|True|55|True|45\n"
        "2VarTypeVal=1|-1000|True|True|-900|True|-1100\n3VarTypeVal=8|0.35|True|False|0|False|0\n"
        "VarTypeApNos=1\n1VarTypeApVal=1|4|True|True|4.4|True|3.6\n");
    EXPECT_EQ(f.View("lblDOFName_0").text, "Unschärfekreis");
    EXPECT_EQ(f.View("txtDOFCoC").text, " 0.025mm");
    const double hyperfocal = f.s().design.dofResults.values[analysis::kDofHyperfocal];
    EXPECT_TRUE(test::RelNear(hyperfocal, 25050.0, 1e-4));

    ApplyCoCText(f.w(), "0.05");
    EXPECT_FLOAT_EQ(f.s().design.dof.cocCustom, 0.05f);
    EXPECT_EQ(f.s().backup.Kind(), kBackupCoC);
    EXPECT_LT(f.s().design.dofResults.values[analysis::kDofHyperfocal], hyperfocal);
    const auto backup = f.s().backup.Backup();
    for (const char* text : {"0", "-1", "abc", "50µm", " 0.050mm"}) ApplyCoCText(f.w(), text);
    EXPECT_FLOAT_EQ(f.s().design.dof.cocCustom, 0.05f);
    EXPECT_EQ(f.s().backup.Backup(), backup);

    ChooseCoCType(f.w(), 1);
    EXPECT_FALSE(f.View("txtDOFCoC").enabled);
    EXPECT_TRUE(f.View("optCoCType_1").checked);
    ApplyCoCText(f.w(), "0.1");  // the custom value waits for its own type
    EXPECT_FLOAT_EQ(f.s().design.dof.cocCustom, 0.05f);
    ChooseCoCType(f.w(), 2);
    EXPECT_EQ(f.s().design.dof.cocType, 1);
    f.w().Undo();  // the type is no undo step: undo takes back the custom value
    EXPECT_EQ(f.s().design.dof.cocType, 1);
    EXPECT_FLOAT_EQ(f.s().design.dof.cocCustom, 0.025f);
}

}  // namespace
}  // namespace rs::ui
