#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "beam/gaussian_beam.h"
#include "support/numeric.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using engine::kFocal;
using engine::kImgDist;
using engine::kImgHeight;
using engine::kObjAngle;
using engine::kObjDist;
using engine::kObjHeight;
using test::ScriptedDialogs;
using test::WindowFixture;

constexpr const char* kObjDistPrompt =
    "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen Objekts "
    "negativ! \n\n";

std::string FileText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(MainWindow, TypedValuesSolveAndWidenTheLimits) {
    WindowFixture f;
    f.Lens();
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    EXPECT_EQ(f.Table(engine::kMagnif), -1.0f);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 90.0f);
    EXPECT_EQ(f.Param(kFocal).sLimHih, 110.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);

    // A larger value moves only the upper limit.
    f.Type(kFocal, "120");
    EXPECT_EQ(f.Param(kFocal).sLimHih, 132.0f);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 90.0f);
    EXPECT_EQ(f.Table(kImgDist), 300.0f);
    EXPECT_EQ(f.View("txtVarType_0").text, "120.0mm");
    EXPECT_EQ(f.View("lstResVals").items.at(0), " 120.0mm");

    // The shown text, the same length in centimetres and a box left alone change nothing and
    // take no undo step: undo still goes back to 100.
    f.Type(kFocal, "120.0mm");
    f.Type(kFocal, "12cm");
    f.Type(kFocal, " 12,0 cm ");
    f.Type(kFocal, "garbage");
    EXPECT_EQ(f.Param(kFocal).sVarValue, 120.0f);
    EXPECT_EQ(f.View("txtVarType_0").text, "120.0mm");
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_TRUE(f.s().machine.IsIdle());

    // A parameter without a value stays empty on garbage.
    WindowFixture g;
    g.Select({kFocal});
    g.Type(kFocal, "x");
    EXPECT_FALSE(g.Param(kFocal).bVarValDef);
    EXPECT_EQ(g.View("txtVarType_0").text, "");
}

TEST(MainWindow, RealObjectSignConventionAsksUntilNegativeOrCancelled) {
    WindowFixture f;
    f.Lens();
    f.dialogs.Enter("abc").Enter("30").Enter("-30cm");
    f.Type(kObjDist, "250");
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -300.0f);
    ASSERT_EQ(f.dialogs.calls.size(), 3u);
    for (const auto& call : f.dialogs.calls) {
        EXPECT_EQ(call.title, "Entfernung Objekt-erste Linsenfläche");
        EXPECT_EQ(call.text, kObjDistPrompt);
        EXPECT_EQ(call.defaultText, "-250");
    }

    // Cancel abandons the entry: the value stays and no undo step is spent on it.
    f.dialogs.Enter("5").Cancel();
    f.Type(kObjDist, "250");
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -300.0f);
    EXPECT_TRUE(f.s().machine.IsIdle());
    f.w().Undo();
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);

    // With virtual objects allowed nothing is asked.
    f.w().SetPositiveObjectAllowed(true);
    f.dialogs.Forget();
    f.Type(kObjDist, "250");
    EXPECT_EQ(f.Param(kObjDist).sVarValue, 250.0f);
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.View("lstResVals").items.at(1), " 250.0mm     [Virtuell]");
    EXPECT_EQ(f.View("lblVirtualImage").text, "Virtuelles Objekt");
}

TEST(MainWindow, LimitBoxesRefuseLimitsThatDoNotEncloseTheValue) {
    WindowFixture f;
    f.Lens();  // f' 100 within 90..110
    const int s = f.Slot(kFocal);
    f.w().ApplyUpperLimit(s, "80");
    f.w().ApplyUpperLimit(s, "95");
    f.w().ApplyLowerLimit(s, "120");
    f.w().ApplyLowerLimit(s, "105");
    EXPECT_EQ(f.dialogs.Messages(),
              (std::vector<std::string>{"Oberer Grenzwert muß größer als unterer Grenzwert sein!",
                                        "Oberer Grenzwert muß größer als aktueller Wert sein!",
                                        "Unterer Grenzwert muß kleiner als Oberer Grenzwert sein! ",
                                        "Unterer Grenzwert muß kleiner als aktueller Wert sein! "}));
    for (const auto& call : f.dialogs.calls) EXPECT_EQ(call.icon, Icon::Exclamation);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 90.0f);
    EXPECT_EQ(f.Param(kFocal).sLimHih, 110.0f);

    // A limit equal to the value is accepted; equal limits leave the slider where it was.
    f.w().ApplyUpperLimit(s, "100");
    const int before = f.View("hscVarValue_0").position;
    EXPECT_EQ(before, 100);
    f.w().ApplyLowerLimit(s, "10cm");
    EXPECT_EQ(f.Param(kFocal).sLimHih, 100.0f);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 100.0f);
    EXPECT_EQ(f.View("hscVarValue_0").position, before);

    // Text that is no number stays in the box until the next update.
    f.w().ApplyUpperLimit(s, "hundert");
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "hundert");
    EXPECT_EQ(f.Param(kFocal).sLimHih, 100.0f);
    f.w().SetDrawPoints(true);
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "100.0mm");
}

TEST(MainWindow, ObjectDistanceLimitIsCheckedAfterItsSignIsCorrected) {
    WindowFixture f;
    f.Lens();  // a -200 within -220..-180
    const int s = f.Slot(kObjDist);
    // 100 passes every comparison; corrected to -300 it lies below the lower limit and must be
    // refused rather than stored.
    f.dialogs.Enter("-300");
    f.w().ApplyUpperLimit(s, "100");
    EXPECT_EQ(f.dialogs.Messages(),
              std::vector<std::string>{"Oberer Grenzwert muß größer als unterer Grenzwert sein!"});
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);
    EXPECT_EQ(f.dialogs.calls.front().text,
              "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen "
              "Objekts negativ. Deshalb muss der Grenzwert ebenfalls negativ sein! \n\n");
    f.dialogs.Forget();
    f.dialogs.Enter("-190");
    f.w().ApplyLowerLimit(s, "190");
    EXPECT_EQ(f.dialogs.Messages(),
              std::vector<std::string>{"Unterer Grenzwert muß kleiner als aktueller Wert sein! "});
    f.dialogs.Enter("-250");
    f.w().ApplyLowerLimit(s, "250");
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -250.0f);
}

TEST(MainWindow, ApertureValuesAndLimitsFollowTheirRules) {
    WindowFixture f;
    f.Lens();
    f.w().SetApertureChecked(engine::kFNumber, true);
    f.w().SetApertureChecked(engine::kStopRadius, true);  // a second one unchecks itself
    ASSERT_EQ(f.p().aperture.Count(), 1);
    EXPECT_TRUE(f.View("comApFNosStandard").visible);
    f.dialogs.Enter("0.8").Enter("4");
    f.w().ApplyApertureValue("0.5");
    EXPECT_EQ(f.p().aperture.Value(1), 4.0f);
    ASSERT_EQ(f.dialogs.calls.size(), 2u);
    EXPECT_EQ(f.dialogs.calls[0].title, "Aperturwerte");
    EXPECT_EQ(f.dialogs.calls[0].text, "Blendenzahl ist immer größer als 1! \n\n");
    EXPECT_EQ(f.dialogs.calls[0].defaultText, "1");
    EXPECT_FALSE(f.p().bApertureUndefined);
    EXPECT_FLOAT_EQ(f.p().apertureTable.Get(engine::kStopRadius), 12.5f);

    // An upper limit of 0.5 asks until at least 1; 2 then lies below the lower limit 3.6.
    f.dialogs.Forget();
    f.dialogs.Enter("0.9").Enter("2");
    f.w().ApplyUpperLimitAp("0.5");
    EXPECT_EQ(f.dialogs.Messages(),
              std::vector<std::string>{"Oberer Grenzwert muß größer als unterer Grenzwert sein!"});
    f.dialogs.Enter("5");
    f.w().ApplyUpperLimitAp("0.5");
    EXPECT_EQ(f.p().aperture.LimHih(1), 5.0f);

    // Other aperture figures must not be negative.
    f.w().SetApertureChecked(engine::kFNumber, false);
    f.w().SetApertureChecked(engine::kStopRadius, true);
    f.dialogs.Forget();
    f.dialogs.Cancel();
    f.w().ApplyLowerLimitAp("-1");
    EXPECT_EQ(f.dialogs.calls.at(0).text, "Aperturwerte müssen positiv sein!\n\n");
    EXPECT_EQ(f.dialogs.calls.at(0).defaultText, "0");
}

TEST(MainWindow, SlidersMapPositionsToValues) {
    WindowFixture f;
    f.Lens();
    const int s = f.Slot(kObjDist);
    f.Type(kObjDist, "-250");
    f.w().ApplyLowerLimit(s, "-300");
    f.w().ApplyUpperLimit(s, "-200");
    EXPECT_EQ(f.View("hscVarValue_1").position, 50);
    f.w().ApplyPosition(s, 75);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -225.0f);
    EXPECT_EQ(f.View("txtVarType_1").text, "-225.0mm");
    EXPECT_REL(f.Table(kImgDist), 100.0 / (1.0 - 100.0 / 225.0));
    // Positions outside the scroll bar are clamped; the window's own position changes nothing.
    f.w().ApplyPosition(s, 500);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    f.w().ApplyPosition(s, 100);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);

    // Without both limits there is no slider.
    WindowFixture g;
    g.Select({kFocal});
    EXPECT_FALSE(g.View("hscVarValue_0").enabled);
    g.w().ApplyPosition(0, 30);
    EXPECT_FALSE(g.Param(kFocal).bVarValDef);
}

TEST(MainWindow, LensMirrorSwitchTurnsTheFocalLength) {
    WindowFixture f;
    f.Lens();
    f.w().ChooseMirrorMode(1);
    EXPECT_EQ(f.Param(kFocal).sVarValue, -100.0f);
    EXPECT_EQ(f.Param(kFocal).sLimLow, -110.0f);
    EXPECT_EQ(f.Param(kFocal).sLimHih, -90.0f);
    EXPECT_TRUE(f.p().options.mirrorMode);
    EXPECT_EQ(f.p().options.ImageIndex(), -1.0);
    EXPECT_EQ(f.Table(kImgDist), -200.0f);  // a concave mirror images in front of itself
    EXPECT_NE(f.View("txtVarType_0").text.find("-100.0"), std::string::npos);
    EXPECT_EQ(ui::BuildView(f.s()).title,
              "Kestrelon: System Raysketcher 0.1.0    [Spiegelsystem]   paraxiale Berechnung");
    EXPECT_EQ(f.View("lstResNames").items.at(1), "Spiegelradius");
    EXPECT_EQ(f.View("lstMirrorMode").currentIndex, 1);
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    EXPECT_FALSE(f.p().options.mirrorMode);
}

TEST(MainWindow, ObjectAtInfinityTakesTheObjectHeightAway) {
    WindowFixture f;
    f.Select({kFocal, kObjHeight});
    f.w().SetObjectAtInfinity(true);  // no object distance chosen: nothing to put at infinity
    EXPECT_FALSE(f.p().options.objAtInfinity);
    EXPECT_FALSE(f.View("chkObjAtInfinity").enabled);

    WindowFixture g;
    g.Lens();
    g.w().SetObjectAtInfinity(true);
    EXPECT_FALSE(g.p().params.Contains(kObjHeight));
    EXPECT_EQ(g.Param(kObjDist).sVarValue, engine::kInfinity);
    EXPECT_FALSE(g.Param(kObjDist).bLimLowDef || g.Param(kObjDist).bLimHihDef);
    EXPECT_EQ(g.View("txtVarType_1").text, "In Unendlich");
    EXPECT_FALSE(g.View("txtVarType_1").enabled);
    EXPECT_FALSE(g.View("txtVarLimHi_1").enabled);
    g.w().ApplyTypedValue(1, "-50");  // the box takes nothing
    EXPECT_EQ(g.Param(kObjDist).sVarValue, engine::kInfinity);
    g.Select({kObjAngle});
    g.Type(kObjAngle, "5");
    EXPECT_EQ(g.Table(kImgDist), 100.0f);
    EXPECT_EQ(g.View("lstResVals").items.at(1), " In Unendlich");

    // Removing the object distance ends the option as well.
    g.w().SetParamChecked(kObjDist, false);
    EXPECT_FALSE(g.p().options.objAtInfinity);
    g.w().Undo();
    EXPECT_TRUE(g.p().options.objAtInfinity);
    g.w().SetObjectAtInfinity(false);
    EXPECT_FALSE(g.Param(kObjDist).bVarValDef);
    EXPECT_EQ(g.View("txtVarType_1").text, "");
}

TEST(MainWindow, SelectionRulesAndMessages) {
    WindowFixture f;
    f.Select({kObjHeight, kFocal});
    f.w().SetParamChecked(kObjDist + 1, true);  // a third parameter that the rules accept
    EXPECT_EQ(f.p().params.Count(), 3);
    f.w().SetParamChecked(kImgDist, false);
    f.w().SetParamChecked(kObjDist, true);
    f.w().SetParamChecked(kObjDist, false);
    f.w().SetParamChecked(kImgDist, true);
    ASSERT_EQ(f.p().params.Count(), 3);
    EXPECT_EQ(f.p().params.Index(1), kFocal);
    EXPECT_EQ(f.p().params.Index(3), kObjHeight);
    // A fourth parameter unchecks itself without a word.
    f.w().SetParamChecked(kObjAngle, true);
    EXPECT_EQ(f.p().params.Count(), 3);
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_FALSE(f.View("chkVarType_6").checked);

    // A refused combination shows its message, keeps the set and costs no undo step.
    WindowFixture g;
    g.Select({kFocal, kObjDist});
    g.w().SetParamChecked(kImgDist, true);
    EXPECT_EQ(g.dialogs.Messages(),
              std::vector<std::string>{"Sie müssen mindestens eine Feld-Option wählen! "});
    EXPECT_FALSE(g.p().params.Contains(kImgDist));
    g.w().Undo();  // undoes choosing the object distance
    EXPECT_EQ(g.p().params.Count(), 1);
    WindowFixture h;
    h.Select({kObjAngle, engine::kImgAngle});
    EXPECT_EQ(h.dialogs.Messages(),
              std::vector<std::string>{"Objekt- und Bildwinkel können nicht unabhängig "
                                       "voneinander definiert werden! "});
}

TEST(MainWindow, ExchangedParameterKeepsTheSystem) {
    WindowFixture f;
    f.Lens();
    f.w().SetParamChecked(kObjDist, false);
    EXPECT_EQ(f.View("lstResVals").items.at(2), "");  // incomplete: no values shown
    f.w().SetParamChecked(kImgDist, true);
    EXPECT_EQ(f.Param(kImgDist).sVarValue, 200.0f);
    EXPECT_EQ(f.Param(kImgDist).sLimLow, 180.0f);
    EXPECT_EQ(f.Param(kImgDist).sLimHih, 220.0f);
    EXPECT_EQ(f.Table(kObjDist), -200.0f);
}

TEST(MainWindow, BusyWindowIgnoresEveryHandler) {
    WindowFixture f;
    f.Lens();
    const Snapshot before = Capture(f.s().design);
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_FALSE(f.w().BeginDrag());
    f.w().SetParamChecked(kImgDist, true);
    f.w().SetParamChecked(kFocal, false);
    f.w().ApplyTypedValue(0, "50");
    f.w().ApplyUpperLimit(0, "500");
    f.w().ApplyPosition(0, 10);
    f.w().ChooseMirrorMode(1);
    f.w().SetObjectAtInfinity(true);
    f.w().DefaultAdvancedValues();
    f.w().Undo();
    f.w().Clear();
    f.w().Recall();
    f.w().ChooseImageFormat(3);
    f.w().SetBeamMode(true);
    EXPECT_EQ(Capture(f.s().design), before);
    EXPECT_TRUE(f.dialogs.calls.empty());
    EXPECT_EQ(f.s().machine.State(), Busy::Dragging);
    f.w().EndDrag();
    EXPECT_TRUE(f.s().machine.IsIdle());
    f.Type(kFocal, "50");
    EXPECT_EQ(f.Param(kFocal).sVarValue, 50.0f);
    // Early returns go back to idle as well.
    f.w().ApplyTypedValue(7, "1");
    f.w().SetParamChecked(99, true);
    EXPECT_TRUE(f.s().machine.IsIdle());
}

TEST(MainWindow, AdvancedValuesAreRangeChecked) {
    WindowFixture f;
    f.Lens();
    f.w().ApplyAdvancedValue(3, "600");  // boxes are disabled while the options are off
    EXPECT_EQ(f.p().options.advanced.wavelength, 546.1f);
    f.w().SetAdvancedOptions(true);
    for (const char* text : {"9.9", "1000001"}) f.w().ApplyAdvancedValue(3, text);
    f.w().ApplyAdvancedValue(1, "3.01");
    f.w().ApplyAdvancedValue(2, "0,5");
    EXPECT_EQ(f.dialogs.Messages(),
              (std::vector<std::string>{"Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ",
                                        "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ",
                                        "Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 "
                                        "liegen!",
                                        "Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 "
                                        "liegen!"}));
    f.w().ApplyAdvancedValue(3, "10");
    EXPECT_EQ(f.p().options.advanced.wavelength, 10.0f);
    f.w().ApplyAdvancedValue(3, "1000000nm");
    EXPECT_EQ(f.View("txtAdv_3").text, "1000000nm");
    f.w().ApplyAdvancedValue(1, "3");
    f.w().ApplyAdvancedValue(2, "1.5");
    EXPECT_EQ(f.p().options.ObjectIndex(), 3.0);
    EXPECT_EQ(f.View("txtAdv_2").text, "1.5000");
    EXPECT_EQ(f.View("lstResNames").items.at(1), "Brennweite [Obj]: f");  // media differ

    // A mirror has no image-side box; its image index follows the object index.
    f.w().ChooseMirrorMode(1);
    EXPECT_FALSE(f.View("txtAdv_2").enabled);
    EXPECT_EQ(f.View("txtAdv_0").text, "0");
    f.w().ApplyAdvancedValue(1, "1.33");
    EXPECT_FLOAT_EQ(static_cast<float>(f.p().options.ImageIndex()), -1.33f);
    f.w().ApplyAdvancedValue(2, "2");
    EXPECT_FLOAT_EQ(static_cast<float>(f.p().options.ImageIndex()), -1.33f);

    f.w().DefaultAdvancedValues();
    EXPECT_EQ(f.p().options.ObjectIndex(), 1.0);
    EXPECT_EQ(f.p().options.TestWavelength(), 546.1f);
    EXPECT_EQ(f.p().options.ImageIndex(), -1.0);
}

TEST(MainWindow, SwitchingVirtualObjectsOffMakesTheObjectRealAgain) {
    WindowFixture f;
    f.Lens();
    f.w().SetPositiveObjectAllowed(true);
    f.Type(kObjDist, "200");  // limits now -220..220
    f.w().SetPositiveObjectAllowed(false);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);
}

TEST(MainWindow, ImageFormatSetsTheImageHeight) {
    WindowFixture f;
    f.Select({kFocal, kObjDist, kImgHeight});
    f.Type(kFocal, "100");
    f.Type(kObjDist, "-200");
    f.w().ChooseImageFormat(25);
    EXPECT_EQ(f.Param(kImgHeight).sVarValue, -21.6f);
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 25);
    EXPECT_EQ(f.View("txtVarType_2").text, "-21.6mm");
    f.Type(kImgHeight, "-5");  // typing goes back to the user's own height
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 0);
    EXPECT_FALSE(f.s().design.window.imgHgtFixed);

    WindowFixture g;
    g.Lens();
    g.w().ChooseImageFormat(25);
    EXPECT_TRUE(g.s().design.window.imgHgtFixed);
    EXPECT_FALSE(g.p().params.Contains(kImgHeight));
    EXPECT_EQ(g.p().params.Count(), 3);
}

TEST(MainWindow, ViewNamesEveryControlState) {
    WindowFixture f;
    EXPECT_EQ(f.View("txtVarType_0").text, "-- Nicht definiert --");
    EXPECT_FALSE(f.View("txtVarType_0").enabled);
    EXPECT_FALSE(f.View("lblVarType_0").visible);
    EXPECT_FALSE(f.View("picSlider_0").visible);
    EXPECT_TRUE(f.View("lblSliders").visible);
    EXPECT_FALSE(f.View("comUndo").enabled);
    EXPECT_FALSE(f.View("comSymbols").enabled);
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "Oberer Grenzwert");
    EXPECT_EQ(f.View("cmbImagHeight").items.size(), 52u);
    EXPECT_EQ(ui::BuildView(f.s()).title,
              "Kestrelon: System Raysketcher 0.1.0    [Linsensystem]   paraxiale Berechnung");

    f.Lens();
    EXPECT_TRUE(f.View("chkVarType_0").checked);
    EXPECT_EQ(f.View("chkVarType_0").text, "Brennweite: f'");
    EXPECT_EQ(f.View("lblVarType_1").text, "Objektweite: a");
    EXPECT_EQ(f.View("txtVarType_1").text, "-200.0mm");
    EXPECT_EQ(f.View("txtVarLimLow_1").text, "-220.0mm");
    const ControlView slider = f.View("hscVarValue_0");
    EXPECT_TRUE(slider.enabled);
    EXPECT_EQ(slider.minimum, 0);
    EXPECT_EQ(slider.maximum, 100);
    EXPECT_EQ(slider.position, 50);
    EXPECT_FALSE(f.View("lblSliders").visible);
    EXPECT_TRUE(f.View("comUndo").enabled);
    EXPECT_EQ(f.View("lstResNames").items.size(), f.View("lstResVals").items.size());
    EXPECT_FALSE(f.View("lblVirtualImage").visible);
    EXPECT_FALSE(f.View("fraGaussBeamObj").visible);

    f.w().SetBeamMode(true);
    EXPECT_FALSE(f.View("fraOptFld").visible);
    EXPECT_TRUE(f.View("fraGaussBeamObj").visible);
    EXPECT_FALSE(f.View("chkVarTypeGB_4").visible);
    EXPECT_FALSE(f.View("chkGaussBeamAltSolution").enabled);
    EXPECT_EQ(f.View("txtGBWavelen").text, "632.8nm");
    EXPECT_NE(ui::BuildView(f.s()).title.find("Berechnung von Gaußschen Strahlen"),
              std::string::npos);
}

TEST(MainWindow, BeamModeUsesTheSameBoxesAndSliders) {
    WindowFixture f;
    f.w().SetBeamMode(true);
    for (int i : {beam::kGbFocal, beam::kGbObjDist, beam::kGbObjRadius}) f.w().SetBeamChecked(i, true);
    f.w().ApplyTypedValue(0, "100");
    f.w().ApplyTypedValue(1, "200");
    f.w().ApplyTypedValue(2, "0.05");
    const beam::BeamDesign& b = f.s().design.beam;
    EXPECT_TRUE(test::RelNear(beam::BeamValue(b, 0, beam::kGbImgDist), 198.483, 1e-5));
    EXPECT_TRUE(test::RelNear(beam::BeamValue(b, 0, beam::kGbMagnif), 0.99239, 1e-4));
    EXPECT_EQ(f.View("txtVarType_2").text, "0.05mm");
    EXPECT_EQ(f.View("lstResNames").items.at(1), "Brennweite: f'");
    EXPECT_FALSE(f.View("lblInvalidCalcs").visible);
    EXPECT_FALSE(f.View("chkGaussBeamAltSolution").enabled);
    f.w().ToggleAltSolution();
    EXPECT_FALSE(b.altSolution);

    // The hidden waist-to-waist distance and a fourth box are never taken.
    f.w().SetBeamChecked(beam::kGbTrack, true);
    f.w().SetBeamChecked(beam::kGbMagnif, true);
    EXPECT_EQ(b.axes[0].selection.Count(), 3);

    // A slider run of the beam, then undo.
    f.w().ApplyPosition(0, 80);
    f.w().ApplyPosition(0, 90);
    EXPECT_NE(b.axes[0].selection.Value(1), 100.0f);
    f.w().Undo();
    EXPECT_EQ(b.axes[0].selection.Value(1), 100.0f);

    // f', m and a beam: the switch can be used.
    f.w().SetBeamChecked(beam::kGbObjDist, false);
    f.w().SetBeamChecked(beam::kGbMagnif, true);
    f.w().ApplyTypedValue(1, "2");
    EXPECT_TRUE(f.View("chkGaussBeamAltSolution").enabled);
    f.w().ToggleAltSolution();
    EXPECT_TRUE(b.altSolution);

    // Two object-side beam parameters are refused with their message.
    f.w().SetBeamChecked(beam::kGbMagnif, false);
    f.w().SetBeamChecked(beam::kGbObjDiv, true);
    EXPECT_EQ(f.dialogs.Messages(),
              std::vector<std::string>{
                  "Nur ein Strahlparameter im Objekt- und Bildraum kann unabhängig sein!"});

    // A zero beam parameter has no solution: the label says so.
    f.w().SetBeamChecked(beam::kGbImgDist, true);
    f.w().ApplyTypedValue(1, "150");
    f.w().ApplyTypedValue(2, "0");
    EXPECT_TRUE(f.View("lblInvalidCalcs").visible);

    f.w().ApplyBeamWavelength("1064nm");
    EXPECT_EQ(b.WavelengthNm(), 1064.0);
    f.w().ApplyBeamWavelength("-5");
    EXPECT_EQ(f.View("txtGBWavelen").text, "1064.0nm");
    f.w().Undo();
    EXPECT_EQ(b.WavelengthNm(), 632.8);
}

TEST(MainWindow, CloseAsksOnlyWhenThereIsSomethingToLose) {
    {
        WindowFixture f;
        EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
        EXPECT_TRUE(f.dialogs.calls.empty());
    }
    {
        WindowFixture f;  // a cleared window still asks
        f.w().Clear();
        f.dialogs.Reply(Answer::No);
        EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
        EXPECT_EQ(f.dialogs.calls.size(), 1u);
    }
    WindowFixture f;
    f.Lens();
    f.dialogs.Reply(Answer::Cancel).Reply(Answer::No).Reply(Answer::Yes);
    EXPECT_EQ(f.w().RequestClose(ui::Placement{1, 2, 3, 4}), CloseDecision::Stay);
    EXPECT_EQ(f.dialogs.calls.at(0).text, "Möchten Sie diese Daten speichern?");
    EXPECT_EQ(f.dialogs.calls.at(0).icon, Icon::Question);
    // The placement is stored even though the user cancelled.
    EXPECT_NE(FileText(f.path).find("FormPosn_frmRaysketch=1|2|3|4"), std::string::npos);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_EQ(FileText(f.path).find("VarTypeNos"), std::string::npos);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_NE(FileText(f.path).find("VarTypeNos=3"), std::string::npos);
    EXPECT_TRUE(f.dialogs.ScriptDone());
}

TEST(MainWindow, FailedSaveKeepsTheWindowOpen) {
    test::TempDir dir;
    const auto path = dir / "Raysketcher.INI";
    std::filesystem::create_directory(path);  // nothing can be written there
    app::IniFile ini(path);
    ScriptedDialogs dialogs;
    MainWindow w(dialogs, ini);
    w.Startup();
    w.SetParamChecked(kFocal, true);
    dialogs.Reply(Answer::Yes);
    EXPECT_EQ(w.RequestClose(std::nullopt), CloseDecision::Stay);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find(path.string()), std::string::npos);
    EXPECT_EQ(dialogs.calls.back().icon, Icon::Exclamation);
}

TEST(MainWindow, StartupLoadsTheLastDesignAndItsMode) {
    WindowFixture f(
        "[Options]\r\nMirrorMode=True\r\n[LastValues]\r\nVarTypeNos=3\r\n"
        "1VarTypeVal=0|-100|True|True|-90|True|-110\r\n"
        "2VarTypeVal=1|-1E+20|True|False|0|False|0\r\n"
        "3VarTypeVal=6|0.1|True|False|0|False|0\r\n"
        "ImgHgtFixed2=True\r\nImgHgtOption2=99\r\n");
    EXPECT_TRUE(f.p().options.objAtInfinity);
    EXPECT_FALSE(f.p().bCalcInvalid);
    EXPECT_EQ(f.Table(kImgDist), -100.0f);
    // The title names the loaded mode; a format entry beyond the list is the user's own.
    EXPECT_NE(ui::BuildView(f.s()).title.find("[Spiegelsystem]"), std::string::npos);
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 0);
    EXPECT_EQ(f.View("hscVarValue_0").position, 50);
    EXPECT_TRUE(f.s().machine.IsIdle());
    EXPECT_FALSE(f.s().loading);
}

}  // namespace
}  // namespace rs::ui
