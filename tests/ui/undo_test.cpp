#include "ui/data_backup.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using test::WindowFixture;

TEST(Undo, SecondUndoRedoesAndSliderRunsAreOneStep) {
    WindowFixture f;
    f.w().Undo();  // nothing to undo yet
    EXPECT_FALSE(f.View("comUndo").enabled);
    f.Lens();
    f.Type(kFocal, "150");
    f.w().Undo();
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    f.w().Undo();
    EXPECT_EQ(f.Table(kImgDist), 600.0f);
    f.w().Undo();

    for (int pos = 51; pos <= 90; ++pos) f.w().ApplyPosition(0, pos);
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    f.w().Undo();  // back to 108
    // Slider 0, then slider 1: undo takes back slider 1 only.
    f.w().ApplyPosition(1, 0);
    f.w().ApplyPosition(1, 10);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    // After an undo, moving the same slider again is a new run with a backup of its own.
    f.w().ApplyPosition(0, 10);
    f.w().Undo();
    f.w().ApplyPosition(0, 30);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 108.0f);

    // Handlers written elsewhere run through the same discipline: no change, no backup.
    auto coc = [](app::DesignState& d) { return analysis::SetCoCCustom(d.dof, 0.05); };
    f.w().ApplyChange(kBackupCoC, coc);
    f.w().ApplyChange(kBackupDiode, coc);
    EXPECT_EQ(f.s().backup.Kind(), kBackupCoC);
    DataBackup b;  // a drag step stores nothing but is remembered
    b.TakeBackup(kBackupDrag, 0, f.s().design);
    EXPECT_FALSE(b.Exists());
    EXPECT_EQ(b.Kind(), kBackupDrag);
}

TEST(Undo, ClearAndRecallCanBeUndone) {
    WindowFixture f;
    f.Lens();
    ASSERT_TRUE(app::SaveSettings(f.s().design, *f.ini).ok);
    f.w().SetApertureChecked(kStopRadius, true);
    f.w().ApplyApertureValue("10");
    f.w().SetAdvancedOptions(true);
    f.w().ApplyAdvancedValue(1, "1.5");
    const Snapshot full = Capture(f.s().design);
    f.w().Clear();
    EXPECT_EQ(Capture(f.s().design), Capture(app::DesignState{}));
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), full);
    EXPECT_EQ(f.Table(kImgDist), 400.0f);  // solved again: n = 1.5 makes f = -150
    // The cleared system does not come back through the next parameter chosen.
    f.w().Clear();
    f.Select({kImgDist});
    EXPECT_FALSE(f.Param(kImgDist).bVarValDef);

    // Recall reloads the stored design, and can be undone.
    f.w().ChooseMirrorMode(1);
    const Snapshot changed = Capture(f.s().design);
    f.w().Recall();
    EXPECT_EQ(f.p().params.Count(), 3);
    EXPECT_FALSE(f.p().options.mirrorMode);
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), changed);
    // Recall also takes what someone else wrote to the file since.
    std::ofstream(f.path, std::ios::binary)
        << "[LastValues]\r\nVarTypeNos=1\r\n1VarTypeVal=2|75|True|False|0|False|0\r\n";
    f.w().Recall();
    ASSERT_EQ(f.p().params.Count(), 1);
    EXPECT_EQ(f.Param(kImgDist).sVarValue, 75.0f);
}

}  // namespace
}  // namespace rs::ui
