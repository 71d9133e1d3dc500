#include "ui/extras_panel.h"

#include <gtest/gtest.h>

#include <functional>

#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

void BeamMode(WindowFixture& f, std::initializer_list<int> chosen) {
    f.w().SetBeamMode(true);
    for (int i : chosen) f.w().SetBeamChecked(i, true);
}

TEST(ExtrasPanel, BeamBoxesTakeAnUndoStepOnlyForAnAcceptedValue) {
    // f' 100 mm, s 200 mm, r 0.05 mm, the diode on, M² and the detector shown.
    WindowFixture f;
    MainWindow& w = f.w();
    BeamMode(f, {beam::kGbFocal, beam::kGbObjDist, beam::kGbObjRadius});
    w.ApplyTypedValue(0, "100");
    w.ApplyTypedValue(1, "200");
    w.ApplyTypedValue(2, "0.05");
    SetDiodeMode(w, true);
    SetMFactorUse(w, true);
    SetDetectorOn(w, true);
    const struct {
        const char* box;
        std::function<void(std::string_view)> apply;
        std::vector<const char*> texts;  // the first is taken, the others are refused
    } boxes[] = {
        {"txtGBExtraMFactor",
         [&](auto t) { ApplyMFactorText(w, 0, t); },
         {"4", "50", "0", "a", ""}},
        {"txtGBExtraDiodeMFactor", [&](auto t) { ApplyMFactorText(w, 1, t); }, {"2", "0"}},
        {"txtGBExtraDetector", [&](auto t) { ApplyDetectorText(w, t); }, {"100.5", "abc"}},
        {"txtGMExtraMinSpotD", [&](auto t) { ApplyMinSpotText(w, t); }, {"150", "abc"}},
        {"txtGBExtraDiodeParamVal", [&](auto t) { ApplyDiodeParamText(w, t); }, {"0.1", "-1", "x"}},
    };
    for (const auto& b : boxes) {
        SCOPED_TRACE(b.box);
        const Snapshot before = Capture(f.s().design);
        b.apply(b.texts[0]);
        const Snapshot after = Capture(f.s().design);
        EXPECT_NE(after, before);
        EXPECT_EQ(f.s().backup.Kind(), kBackupBeamValue);
        const auto backup = f.s().backup.Backup();
        for (std::size_t k = 1; k < b.texts.size(); ++k) b.apply(b.texts[k]);
        b.apply(f.View(b.box).text);  // left unedited
        EXPECT_EQ(Capture(f.s().design), after);
        EXPECT_EQ(f.s().backup.Backup(), backup);
        w.Undo();
        EXPECT_EQ(Capture(f.s().design), before);
        w.Undo();
    }
    // Choices that no undo step could hold take none; entries beyond a list are ignored.
    const auto backup = f.s().backup.Backup();
    ChooseDofEntry(w, 5);
    ChooseDofEntry(w, 9);
    ChooseDiodeParamKind(w, 2);
    ChooseDiodeParamKind(w, 5);
    ChooseDiodeParamKind(w, -1);
    EXPECT_EQ(f.View("lstGBExtraDOFPercent").currentIndex, 5);
    EXPECT_EQ(f.s().design.beam.diode.paramKind, beam::kGbObjRayleigh);
    EXPECT_EQ(f.s().backup.Backup(), backup);
}

TEST(ExtrasPanel, CircularisingReshapesTheSelectionInOneUndoStep) {
    WindowFixture f;
    BeamMode(f, {beam::kGbFocal, beam::kGbImgDist, beam::kGbImgRadius});
    SetDiodeMode(f.w(), true);
    SetCircularise(f.w(), true);
    const beam::BeamDesign& b = f.s().design.beam;
    EXPECT_TRUE(b.axes[0].selection.Contains(beam::kGbObjRadius));
    EXPECT_EQ(f.s().backup.Kind(), kBackupDiode);
    const auto backup = f.s().backup.Backup();  // the collimation mode is no undo step
    ChooseCollimationMode(f.w(), 1);
    ChooseCollimationMode(f.w(), 7);
    EXPECT_EQ(b.diode.collimationMode, 1);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    f.w().Undo();  // circularisation off again, with the selection it had
    EXPECT_FALSE(b.diode.circularise);
    EXPECT_TRUE(b.axes[0].selection.Contains(beam::kGbImgRadius));
}

TEST(ExtrasPanel, CircleOfConfusionBoxAndType) {
    WindowFixture f(
        "[LastValues]\nVarTypeNos=3\n1VarTypeVal=0|50|True|True|55|True|45\n"
        "2VarTypeVal=1|-1000|True|True|-900|True|-1100\n3VarTypeVal=8|0.35|True|False|0|False|0\n"
        "VarTypeApNos=1\n1VarTypeApVal=1|4|True|True|4.4|True|3.6\n");
    const auto& dof = f.s().design.dof;
    const double hyperfocal = f.s().design.dofResults.values[analysis::kDofHyperfocal];
    ApplyCoCText(f.w(), "0.05");
    EXPECT_FLOAT_EQ(dof.cocCustom, 0.05f);
    EXPECT_EQ(f.s().backup.Kind(), kBackupCoC);
    EXPECT_LT(f.s().design.dofResults.values[analysis::kDofHyperfocal], hyperfocal);  // solved
    const auto backup = f.s().backup.Backup();
    ApplyCoCText(f.w(), "-1");
    ApplyCoCText(f.w(), f.View("txtDOFCoC").text);  // left unedited
    EXPECT_FLOAT_EQ(dof.cocCustom, 0.05f);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    // The custom value waits for its own type; the type is no undo step.
    ChooseCoCType(f.w(), 1);
    ApplyCoCText(f.w(), "0.1");
    ChooseCoCType(f.w(), 2);
    EXPECT_EQ(dof.cocType, 1);
    f.w().Undo();
    EXPECT_EQ(dof.cocType, 1);
    EXPECT_FLOAT_EQ(dof.cocCustom, analysis::kDefaultCoC);
}

}  // namespace
}  // namespace rs::ui
