#include "ui/data_backup.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using engine::kFocal;
using engine::kImgDist;
using engine::kObjDist;
using engine::kObjHeight;
using test::WindowFixture;

TEST(Undo, SecondUndoRedoesAndSliderRunsAreOneStep) {
    WindowFixture f;
    f.w().Undo();  // nothing to undo yet
    EXPECT_EQ(f.p().params.Count(), 0);
    f.Lens();
    f.Type(kFocal, "150");
    f.w().Undo();
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 150.0f);
    EXPECT_EQ(f.Table(kImgDist), 600.0f);
    f.w().Undo();

    for (int pos = 51; pos <= 90; ++pos) f.w().ApplyPosition(0, pos);
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);

    // Slider 0, then slider 1: undo takes back slider 1 only.
    f.w().Undo();  // back to 108 (redo)
    f.w().ApplyPosition(1, 0);
    f.w().ApplyPosition(1, 10);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);

    // After an undo, moving the same slider again is a new run with a backup of its own.
    f.w().ApplyPosition(0, 10);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
    f.w().ApplyPosition(0, 30);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
}

TEST(Undo, ChangesAreRememberedOnlyWhenTheyChangeSomething) {
    WindowFixture f;
    auto kind = [&] { return f.s().backup.Kind(); };
    f.Lens();
    EXPECT_EQ(kind(), kBackupTypedValue);
    f.w().ApplyPosition(0, 10);
    EXPECT_EQ(kind(), kBackupSlider);
    // Handlers of the extras panels run through the same discipline.
    auto coc = [](app::DesignState& d) { return analysis::SetCoCCustom(d.dof, 0.05); };
    f.w().ApplyChange(kBackupCoC, coc);
    EXPECT_EQ(kind(), kBackupCoC);
    f.w().ApplyChange(kBackupDiode, coc);  // unchanged: no backup
    EXPECT_EQ(kind(), kBackupCoC);
    f.w().Undo();
    EXPECT_EQ(f.s().design.dof.cocCustom, analysis::kDefaultCoC);
    f.w().Undo();
    f.w().Clear();
    EXPECT_EQ(kind(), kBackupClear);

    DataBackup b;  // a drag step stores nothing but is remembered
    b.TakeBackup(kBackupDrag, 0, f.s().design);
    EXPECT_FALSE(b.Exists());
    EXPECT_EQ(b.Kind(), kBackupDrag);
}

TEST(Undo, ClearEmptiesEverythingAndCanBeUndone) {
    WindowFixture f;
    f.Lens();
    f.w().SetApertureChecked(engine::kStopRadius, true);
    f.w().ApplyApertureValue("10");
    f.w().SetAdvancedOptions(true);
    f.w().ApplyAdvancedValue(1, "1.5");
    f.w().Clear();
    EXPECT_EQ(f.p().params.Count(), 0);
    EXPECT_EQ(f.p().aperture.Count(), 0);
    EXPECT_EQ(f.p().options.advanced, engine::AdvancedOptions{});
    for (const std::string& v : f.View("lstResVals").items) EXPECT_TRUE(v.empty() || v == " ") << v;
    f.w().Undo();
    EXPECT_EQ(f.p().params.Count(), 3);
    EXPECT_EQ(f.p().aperture.Count(), 1);
    EXPECT_EQ(f.Table(kImgDist), 400.0f);  // n = 1.5 makes f = -150
    EXPECT_EQ(f.p().options.advanced.n, 1.5f);

    // The cleared system does not come back through the next parameter chosen.
    WindowFixture g;
    g.Lens();
    g.w().Clear();
    g.Select({kImgDist});
    EXPECT_FALSE(g.Param(kImgDist).bVarValDef);
}

TEST(Undo, RecallReloadsTheStoredDesign) {
    WindowFixture f;
    f.Lens();
    ASSERT_TRUE(app::SaveSettings(f.s().design, *f.ini).ok);
    f.Type(kFocal, "50");
    f.w().SetParamChecked(kObjHeight, false);
    f.w().ChooseMirrorMode(1);
    f.w().Recall();
    EXPECT_EQ(f.p().params.Count(), 3);
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    EXPECT_FALSE(f.p().options.mirrorMode);
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    // The recalled state can be undone.
    f.w().Undo();
    EXPECT_TRUE(f.p().options.mirrorMode);
    EXPECT_EQ(f.p().params.Count(), 2);

    // Recall also takes what someone else wrote to the file since.
    std::ofstream(f.path, std::ios::binary)
        << "[LastValues]\r\nVarTypeNos=1\r\n1VarTypeVal=2|75|True|False|0|False|0\r\n";
    f.w().Recall();
    ASSERT_EQ(f.p().params.Count(), 1);
    EXPECT_EQ(f.Param(kImgDist).sVarValue, 75.0f);
}

}  // namespace
}  // namespace rs::ui
