#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <functional>

#include "beam/gaussian_beam.h"
#include "ui/image_formats.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using Strings = std::vector<std::string>;
using test::WindowFixture;

// The boxes an entry can go to, and the value each one edits.
enum Box { kValue, kUpper, kLower, kApValue, kApUpper, kApLower, kAdvanced };
void Enter(MainWindow& w, Box box, int slot, std::string_view text) {
    switch (box) {
        // clang-format off
        case kValue: return w.ApplyTypedValue(slot, text);
        case kUpper: return w.ApplyUpperLimit(slot, text);
        case kLower: return w.ApplyLowerLimit(slot, text);
        case kApValue: return w.ApplyApertureValue(text);
        case kApUpper: return w.ApplyUpperLimitAp(text);
        case kApLower: return w.ApplyLowerLimitAp(text);
        case kAdvanced: return w.ApplyAdvancedValue(slot, text);
            // clang-format on
    }
}
double Edited(const app::DesignState& d, Box box, int slot) {
    const engine::OptionState& o = d.paraxial.options;
    if (box == kAdvanced) {
        const double values[] = {o.PrincipalPlaneSeparation(), o.ObjectIndex(), o.ImageIndex(),
                                 o.TestWavelength()};
        return values[slot];
    }
    const CVarType& e =
        box >= kApValue ? d.paraxial.aperture.At(1) : d.paraxial.params.At(slot + 1);
    return box == kUpper || box == kApUpper   ? e.sLimHih
           : box == kLower || box == kApLower ? e.sLimLow
                                              : e.sVarValue;
}

TEST(MainWindow, EachEntryIsRefusedOrAskedForOrTakenAsOneUndoStep) {
    const std::string real =
        "Entfernung Objekt-erste Linsenfläche: Entsprechend der üblichen Vorzeichenkonvention "
        "ist der Abstand eines realen Objekts negativ";
    const std::string realValue = real + "! \n\n[-250]";
    const std::string realLimit =
        real + ". Deshalb muss der Grenzwert ebenfalls negativ sein! \n\n";
    const std::string fNumber = "Aperturwerte: Blendenzahl ist immer größer als 1! \n\n[1]";
    const std::string positive = "Aperturwerte: Aperturwerte müssen positiv sein!\n\n[0]";
    const std::string upperBelowLower = "Oberer Grenzwert muß größer als unterer Grenzwert sein!";
    const std::string wave = "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ";
    // From the usual lens with an aperture figure of 4 and the advanced options on: the entry,
    // the answers to the input boxes (nothing: Cancel), the message or input box texts shown,
    // the value the box edits afterwards (nothing: the design and the undo step stay as they
    // were; otherwise undo takes the entry back).
    const struct {
        Box box;
        int slot;
        const char* text;
        std::vector<std::optional<std::string>> answers;
        Strings shown;
        std::optional<double> want;
        int aperture = kFNumber;
    } cases[] = {
        // clang-format off
        {kUpper, 0, "80", {}, {upperBelowLower}, {}},
        {kUpper, 0, "95", {}, {"Oberer Grenzwert muß größer als aktueller Wert sein!"}, {}},
        {kLower, 0, "120", {}, {"Unterer Grenzwert muß kleiner als Oberer Grenzwert sein! "}, {}},
        {kLower, 0, "105", {}, {"Unterer Grenzwert muß kleiner als aktueller Wert sein! "}, {}},
        {kUpper, 0, "100", {}, {}, 100},  // equal to the value
        {kValue, 0, "120", {}, {}, 120},
        // The shown text, the same length in another unit and garbage change nothing.
        {kValue, 0, "100.0mm", {}, {}, {}}, {kValue, 0, " 10,0 cm ", {}, {}, {}},
        {kValue, 0, "x", {}, {}, {}}, {kLower, 0, "x", {}, {}, {}},
        // A real object is asked for until its distance is negative, or the user cancels; a
        // limit is compared after its sign was corrected.
        {kValue, 1, "250", {"abc", "30", "-30cm"}, {realValue, realValue, realValue}, -300},
        {kValue, 1, "250", {"5", std::nullopt}, {realValue, realValue}, {}},
        {kUpper, 1, "100", {"-300"}, {realLimit + "[-100]", upperBelowLower}, {}},
        {kLower, 1, "250", {"-250"}, {realLimit + "[-250]"}, -250},
        // F-numbers are at least 1, other aperture figures at least 0.
        {kApValue, 0, "0.5", {"0.8", "4.5"}, {fNumber, fNumber}, 4.5},
        {kApUpper, 0, "0.5", {"0.9", "5"}, {fNumber, fNumber}, 5},
        {kApLower, 0, "-1", {std::nullopt}, {positive}, {}, kStopRadius},
        // Advanced values are range checked; "546nm" is what the box shows for 546.1, and
        // leaving it unedited must not round the value.
        {kAdvanced, 3, "9.9", {}, {wave}, {}}, {kAdvanced, 3, "1000001", {}, {wave}, {}},
        {kAdvanced, 3, "546nm", {}, {}, {}}, {kAdvanced, 3, "10", {}, {}, 10},
        {kAdvanced, 1, "3.01", {}, {"Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!"}, {}},
        {kAdvanced, 2, "0,5", {}, {"Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!"}, {}},
        {kAdvanced, 2, "1.5", {}, {}, 1.5},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " " << c.slot << " " << c.text);
        WindowFixture f;
        f.Lens();
        f.w().SetApertureChecked(c.aperture, true);
        f.w().ApplyApertureValue("4");
        f.w().SetAdvancedOptions(true);
        for (const auto& answer : c.answers) answer ? f.dialogs.Enter(*answer) : f.dialogs.Cancel();
        const Snapshot before = Capture(f.s().design);
        const auto backup = f.s().backup.Backup();
        Enter(f.w(), c.box, c.slot, c.text);
        Strings shown;
        for (const auto& call : f.dialogs.calls) {
            const bool input = call.kind == test::ScriptedDialogs::Kind::Input;
            shown.push_back(input ? call.title + ": " + call.text + "[" + call.defaultText + "]"
                                  : call.text);
            EXPECT_EQ(call.icon, input ? Icon::None : Icon::Exclamation);
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(f.dialogs.ScriptDone());
        if (c.want) {
            EXPECT_FLOAT_EQ(static_cast<float>(Edited(f.s().design, c.box, c.slot)), *c.want);
            f.w().Undo();
        } else {
            EXPECT_EQ(f.s().backup.Backup(), backup);
        }
        EXPECT_EQ(Capture(f.s().design), before);
    }
}

TEST(MainWindow, ChosenParametersContinueTheSolvedSystem) {
    WindowFixture f;
    f.Lens();
    f.Type(kFocal, "120");
    EXPECT_EQ(f.Table(kImgDist), 300.0f);
    EXPECT_EQ(f.Param(kFocal).sLimHih, 132.0f);  // the limits widen to take the value
    // The solved system is kept for the parameter chosen next, with limits around its value.
    f.w().SetParamChecked(kObjDist, false);
    f.w().SetParamChecked(kImgDist, true);
    EXPECT_EQ(f.Param(kImgDist).sVarValue, 300.0f);
    EXPECT_EQ(f.Param(kImgDist).sLimLow, 270.0f);
    EXPECT_EQ(f.Table(kObjDist), -200.0f);
    // A refused combination shows its message and takes no undo step.
    f.w().SetParamChecked(kObjHeight, false);
    f.w().SetParamChecked(kObjDist, true);  // two conjugates and no field
    EXPECT_EQ(f.dialogs.Messages().size(), 1u);
    EXPECT_EQ(f.p().params.Count(), 2);
    f.w().Undo();
    EXPECT_TRUE(f.p().params.Contains(kObjHeight));
}

TEST(MainWindow, SlidersMapPositionsBetweenTheLimits) {
    WindowFixture f;
    f.Lens();
    f.Type(kObjDist, "-250");
    f.w().ApplyLowerLimit(1, "-300");
    f.w().ApplyUpperLimit(1, "-200");
    EXPECT_EQ(f.View("hscVarValue_1").position, 50);
    f.w().ApplyPosition(1, 75);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -225.0f);
    EXPECT_FLOAT_EQ(f.Table(kImgDist), static_cast<float>(100.0 / (1.0 - 100.0 / 225.0)));
    f.w().ApplyPosition(1, 500);  // clamped to the scroll bar
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    // Equal limits leave the slider where it was.
    f.w().ApplyUpperLimit(0, "100");
    f.w().ApplyLowerLimit(0, "100");
    EXPECT_EQ(f.View("hscVarValue_0").position, 100);
    // Text that is no number stays in its box until the next update.
    f.w().ApplyUpperLimit(0, "hundert");
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "hundert");
    f.w().SetDrawPoints(true);
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "100.0mm");

    // Changed from the aperture/field plot, the aperture value takes its limits and slider
    // along, and the plot's own undo stays offered until the next change.
    f.w().SetApertureChecked(kFNumber, true);
    f.w().SetApertureChecked(kStopRadius, true);  // a second one unchecks itself
    f.w().ApplyApertureValue("4");
    f.w().ApplyChange(kBackupApField, [&](app::DesignState& d) {
        d.paraxial.aperture.Entry(1).sVarValue = 8.0f;
        f.w().MatchVarTypeTxtSliderAp();
        return true;
    });
    f.w().FinishUpdate(true);
    EXPECT_EQ(f.p().aperture.Index(1), kFNumber);
    EXPECT_EQ(f.p().aperture.At(1).sLimHih, 8.8f);
    EXPECT_EQ(f.s().sliderPosAp, 85);  // 8 between 3.6 and 8.8
    EXPECT_TRUE(f.View("comApFldUndo").enabled);
    f.w().SetHideRemoteConjugates(true);
    EXPECT_FALSE(f.View("comApFldUndo").enabled);

    WindowFixture g;  // without both limits there is no slider
    g.Select({kFocal});
    g.w().ApplyPosition(0, 30);
    EXPECT_FALSE(g.Param(kFocal).bVarValDef);
}

TEST(MainWindow, ASliderNeverLeavesItsLimits) {
    // Across a wide range the interpolation rounds: the ends must still be the limits.
    for (const auto& [lower, upper] :
         {std::pair{-5.6654e10f, -0.0161541f}, {-1.74f, -1.2e-38f}, {3.0f, 3.0e30f}}) {
        EXPECT_EQ(static_cast<float>(ValueAtPosition(lower, upper, kSliderMax)), upper);
        EXPECT_EQ(static_cast<float>(ValueAtPosition(lower, upper, kSliderMin)), lower);
        for (int p = kSliderMin; p <= kSliderMax; ++p) {
            const auto v = static_cast<float>(ValueAtPosition(lower, upper, p));
            ASSERT_TRUE(v >= lower && v <= upper) << lower << " " << upper << " at " << p;
        }
    }
}

TEST(MainWindow, ObjectDistanceOptions) {
    WindowFixture g;
    g.Select({kFocal, kObjHeight});
    g.w().SetObjectAtInfinity(true);  // no object distance chosen: nothing to put at infinity
    EXPECT_FALSE(g.p().options.objAtInfinity);
    g.Lens();
    g.w().SetObjectAtInfinity(true);
    EXPECT_FALSE(g.p().params.Contains(kObjHeight));
    EXPECT_EQ(g.Param(kObjDist).sVarValue, kInfinity);
    EXPECT_FALSE(g.Param(kObjDist).bLimLowDef || g.Param(kObjDist).bLimHihDef);
    g.w().ApplyTypedValue(1, "-50");  // the box takes nothing
    g.Select({kObjAngle});
    g.Type(kObjAngle, "5");
    EXPECT_EQ(g.Table(kImgDist), 100.0f);
    // Removing the object distance ends the option; clearing the option empties the distance.
    g.w().SetParamChecked(kObjDist, false);
    EXPECT_FALSE(g.p().options.objAtInfinity);
    g.w().Undo();
    g.w().SetObjectAtInfinity(false);
    EXPECT_FALSE(g.Param(kObjDist).bVarValDef);

    // Virtual objects allowed, nothing is asked. Switched off again, the object becomes real
    // and its limits (then -220..220) are derived anew around it.
    WindowFixture h;
    h.Lens();
    h.w().SetPositiveObjectAllowed(true);
    h.Type(kObjDist, "200");
    h.w().SetPositiveObjectAllowed(false);
    EXPECT_EQ(h.Param(kObjDist).sVarValue, -200.0f);
    EXPECT_EQ(h.Param(kObjDist).sLimLow, -220.0f);
    EXPECT_EQ(h.Param(kObjDist).sLimHih, -180.0f);
    EXPECT_TRUE(h.dialogs.calls.empty());
}

TEST(MainWindow, MirrorTurnsTheFocalLengthAndItsImageIndexFollowsTheObjectIndex) {
    WindowFixture f;
    f.Lens();
    f.w().SetAdvancedOptions(true);
    f.w().ChooseMirrorMode(1);
    const CVarType& e = f.Param(kFocal);
    EXPECT_TRUE(e.sVarValue == -100 && e.sLimLow == -110 && e.sLimHih == -90);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    f.w().Undo();
    EXPECT_FALSE(f.View("txtAdv_2").enabled);  // a mirror has no image-side box
    f.w().ApplyAdvancedValue(1, "1.33");
    f.w().ApplyAdvancedValue(2, "2");
    EXPECT_FLOAT_EQ(static_cast<float>(f.p().options.ImageIndex()), -1.33f);
    f.w().DefaultAdvancedValues();
    EXPECT_EQ(f.p().options.ObjectIndex(), 1.0);
    EXPECT_EQ(f.p().options.ImageIndex(), -1.0);
}

TEST(MainWindow, ImageFormatSetsTheImageHeight) {
    WindowFixture f;
    f.Select({kFocal, kObjDist, kImgHeight});
    f.w().ChooseImageFormat(25);
    EXPECT_EQ(f.Param(kImgHeight).sVarValue, -ImageFormatHeight(25));
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 25);
    f.Type(kImgHeight, "-5");  // typing goes back to the user's own height
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 0);

    WindowFixture g;  // without the image height only the choice changes
    g.Lens();
    g.w().ChooseImageFormat(25);
    EXPECT_TRUE(g.s().design.window.imgHgtFixed);
    EXPECT_FALSE(g.p().params.Contains(kImgHeight));
}

TEST(MainWindow, BusyWindowIgnoresEveryHandler) {
    WindowFixture f;
    f.Lens();
    const Snapshot before = Capture(f.s().design);
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_FALSE(f.w().BeginDrag());
    // (The monkey tries every other handler while a drawing is dragged.)
    f.w().ApplyTypedValue(0, "50");
    f.w().ApplyUpperLimit(0, "500");
    f.w().ApplyAdvancedValue(3, "600");
    f.w().Undo();
    EXPECT_EQ(Capture(f.s().design), before);
    EXPECT_FALSE(f.w().PrintPage("heute"));
    EXPECT_TRUE(f.dialogs.calls.empty());
    f.w().EndDrag({});
    f.Type(kFocal, "50");
    EXPECT_EQ(f.Param(kFocal).sVarValue, 50.0f);
    // Early returns go back to idle as well.
    f.w().ApplyTypedValue(7, "1");
    f.w().SetParamChecked(99, true);
    EXPECT_TRUE(f.s().machine.IsIdle());
    // Printing an incomplete design tells the user why it cannot be printed.
    f.w().SetParamChecked(kFocal, false);
    EXPECT_FALSE(f.w().PrintPage("heute"));
    EXPECT_EQ(f.dialogs.Messages().size(), 1u);
}

TEST(MainWindow, BeamModeUsesTheSameBoxesAndSliders) {
    WindowFixture f;
    f.w().SetBeamMode(true);
    for (int i : {beam::kGbFocal, beam::kGbObjDist, beam::kGbObjRadius})
        f.w().SetBeamChecked(i, true);
    f.w().ApplyTypedValue(0, "100");
    f.w().ApplyTypedValue(1, "200");
    f.w().ApplyTypedValue(2, "0.05");
    const beam::BeamDesign& b = f.s().design.beam;
    EXPECT_EQ(b.axes[0].selection.Value(3), 0.05f);
    EXPECT_GT(b.axes[0].table[beam::kGbImgDist], 0.0);  // solved
    EXPECT_TRUE(f.w().PrintPage("heute"));
    // One undo step for a run of the beam slider.
    f.w().ApplyPosition(0, 80);
    f.w().ApplyPosition(0, 90);
    f.w().Undo();
    EXPECT_EQ(b.axes[0].selection.Value(1), 100.0f);
    // A refused wavelength takes no undo step.
    f.w().ApplyBeamWavelength("1064nm");
    f.w().ApplyBeamWavelength("-5");
    EXPECT_EQ(b.WavelengthNm(), 1064.0);
    f.w().Undo();
    EXPECT_EQ(b.WavelengthNm(), 632.8);
}

TEST(MainWindow, CloseAsksOnlyWhenThereIsSomethingToLose) {
    {
        WindowFixture f;
        EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
        EXPECT_TRUE(f.dialogs.calls.empty());
        f.w().Clear();  // a cleared window asks all the same
        f.dialogs.Reply(Answer::No);
        EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
        EXPECT_EQ(f.dialogs.calls.size(), 1u);
    }
    WindowFixture f;
    f.Lens();
    f.dialogs.Reply(Answer::Cancel).Reply(Answer::No).Reply(Answer::Yes);
    EXPECT_EQ(f.w().RequestClose(WindowRect{1, 2, 3, 4}), CloseDecision::Stay);
    EXPECT_EQ(f.dialogs.calls.at(0).text, "Möchten Sie diese Daten speichern?");
    EXPECT_EQ(f.dialogs.calls.at(0).icon, Icon::Question);
    // The placement is stored even though the user cancelled.
    EXPECT_NE(f.FileText().find("FormPosn_frmRaysketch=1|2|3|4"), std::string::npos);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_EQ(f.FileText().find("VarTypeNos"), std::string::npos);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_NE(f.FileText().find("VarTypeNos=3"), std::string::npos);
    EXPECT_TRUE(f.dialogs.ScriptDone());
}

TEST(MainWindow, FailedSaveKeepsTheWindowOpen) {
    test::TempDir dir;
    const auto path = dir / "Raysketcher.INI";
    std::filesystem::create_directory(path);  // nothing can be written there
    app::IniFile ini(path);
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, ini);
    w.Startup();
    w.SetParamChecked(kFocal, true);
    dialogs.Reply(Answer::Yes);
    EXPECT_EQ(w.RequestClose(std::nullopt), CloseDecision::Stay);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find(path.string()), std::string::npos);
}

TEST(MainWindow, StartupLoadsTheLastDesignAndItsMode) {
    WindowFixture f(
        "[Options]\r\nMirrorMode=True\r\n[LastValues]\r\nVarTypeNos=3\r\n"
        "1VarTypeVal=0|-100|True|True|-90|True|-110\r\n"
        "2VarTypeVal=1|-1E+20|True|False|0|False|0\r\n"
        "3VarTypeVal=6|0.1|True|False|0|False|0\r\n"
        "ImgHgtFixed2=True\r\nImgHgtOption2=99\r\n");
    EXPECT_EQ(f.Table(kImgDist), -100.0f);          // solved in its mode
    EXPECT_FALSE(f.s().design.window.imgHgtFixed);  // an entry beyond the list: the user's own
    EXPECT_EQ(f.View("hscVarValue_0").position, 50);
    EXPECT_TRUE(f.s().machine.IsIdle());
}

}  // namespace
}  // namespace rs::ui
