#include "ui/data_backup.h"

#include <gtest/gtest.h>

#include <functional>

#include "ui/extras_panel.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using test::WindowFixture;

TEST(Undo, EveryHandlerTakesOneUndoStepOnlyForAChange) {
    // A sample of the handlers, each with its box, a text it takes and one it refuses, on the
    // usual lens with the advanced options or on a beam with M² on.
    using Apply = std::function<void(MainWindow&, std::string_view)>;
    const struct {
        bool beam;
        const char* box;
        Apply apply;
        const char *taken, *refused;
        int kind;
        bool diode = false;
    } handlers[] = {
        // clang-format off
        {false, "txtVarType_0", [](MainWindow& w, auto t) { w.ApplyTypedValue(0, t); }, "120", "x", kBackupTypedValue},
        {false, "txtAdv_3", [](MainWindow& w, auto t) { w.ApplyAdvancedValue(3, t); }, "600", "9.9", kBackupAdvanced},
        {false, "txtDOFCoC", ApplyCoCText, "0.05", "-1", kBackupCoC},
        {true, "txtVarType_2", [](MainWindow& w, auto t) { w.ApplyTypedValue(2, t); }, "0.1", "x", kBackupBeamValue},
        {true, "txtGBWavelen", [](MainWindow& w, auto t) { w.ApplyBeamWavelength(t); }, "1064nm", "-5", kBackupBeamValue},
        {true, "txtGBExtraMFactor", [](MainWindow& w, auto t) { ApplyMFactorText(w, 0, t); }, "4", "0", kBackupBeamValue},
        {true, "txtGBExtraDiodeParamVal", ApplyDiodeParamText, "0.1", "-1", kBackupBeamValue, true},
        // clang-format on
    };
    for (const auto& h : handlers) {
        SCOPED_TRACE(h.box);
        WindowFixture f;
        MainWindow& w = f.w();
        f.Lens();
        w.SetAdvancedOptions(true);
        if (h.beam) {
            f.Beam("200", "0.05");
            SetMFactorUse(w, true);
            if (h.diode) SetDiodeMode(w, true);
        }
        const Snapshot before = Capture(f.s().design);
        const auto backup = f.s().backup.Backup();
        f.dialogs.calls.clear();
        // While a drawing is dragged nothing is taken and nothing is asked.
        ASSERT_TRUE(w.BeginDrag());
        h.apply(w, h.taken);
        h.apply(w, h.refused);
        w.EndDrag({});
        EXPECT_TRUE(f.dialogs.calls.empty());
        // Refused, or the shown text left unedited: no change, no undo step.
        h.apply(w, h.refused);
        h.apply(w, f.View(h.box).text);
        EXPECT_EQ(Capture(f.s().design), before);
        EXPECT_EQ(f.s().backup.Backup(), backup);
        h.apply(w, h.taken);
        EXPECT_NE(Capture(f.s().design), before);
        EXPECT_EQ(f.s().backup.Kind(), h.kind);
        const auto taken = f.s().backup.Backup();
        h.apply(w, h.taken);  // the same again changes nothing
        EXPECT_EQ(f.s().backup.Backup(), taken);
        w.Undo();
        EXPECT_EQ(Capture(f.s().design), before);
    }
}

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
}

TEST(Undo, ClearCanBeUndone) {
    WindowFixture f;
    f.Lens();
    f.w().SetApertureChecked(kStopRadius, true);
    f.w().ApplyApertureValue("10");
    const Snapshot full = Capture(f.s().design);
    f.w().Clear();
    EXPECT_EQ(Capture(f.s().design), Capture(app::DesignState{}));
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), full);
    // The cleared system does not come back through the next parameter chosen.
    f.w().Clear();
    f.Select({kImgDist});
    EXPECT_FALSE(f.Param(kImgDist).bVarValDef);
}

}  // namespace
}  // namespace rs::ui
