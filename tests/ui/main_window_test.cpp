#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <sstream>

#include "beam/gaussian_beam.h"
#include "support/numeric.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using Strings = std::vector<std::string>;
using test::WindowFixture;

std::string FileText(const std::filesystem::path& p) {
    std::stringstream ss;
    ss << std::ifstream(p, std::ios::binary).rdbuf();
    return ss.str();
}

TEST(MainWindow, TypedValuesSolveAndWidenTheLimits) {
    WindowFixture f;
    f.Lens();
    EXPECT_EQ(f.Table(kImgDist), 200.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);
    // A larger value moves only the upper limit.
    f.Type(kFocal, "120");
    EXPECT_EQ(f.Param(kFocal).sLimHih, 132.0f);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 90.0f);
    EXPECT_EQ(f.Table(kImgDist), 300.0f);
    EXPECT_EQ(f.View("lstResVals").items.at(0), " 120.0mm");

    // The shown text, the same length in centimetres and garbage change nothing and take no
    // undo step: undo still goes back to 100.
    for (const char* same : {"120.0mm", "12cm", " 12,0 cm ", "garbage"}) f.Type(kFocal, same);
    EXPECT_EQ(f.View("txtVarType_0").text, "120.0mm");
    f.w().Undo();
    EXPECT_EQ(f.Param(kFocal).sVarValue, 100.0f);
    EXPECT_TRUE(f.dialogs.calls.empty());

    // Deselecting keeps the system for the parameter chosen next; meanwhile nothing is listed.
    f.w().SetParamChecked(kObjDist, false);
    EXPECT_EQ(f.View("lstResVals").items.at(2), "");
    f.w().SetParamChecked(kImgDist, true);
    EXPECT_EQ(f.Param(kImgDist).sVarValue, 200.0f);
    EXPECT_EQ(f.Param(kImgDist).sLimLow, 180.0f);
    EXPECT_EQ(f.Table(kObjDist), -200.0f);
}

TEST(MainWindow, RealObjectSignConventionAsksUntilNegativeOrCancelled) {
    WindowFixture f;
    f.Lens();
    f.dialogs.Enter("abc").Enter("30").Enter("-30cm");
    f.Type(kObjDist, "250");
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -300.0f);
    ASSERT_EQ(f.dialogs.calls.size(), 3u);
    EXPECT_EQ(f.dialogs.calls[2].title, "Entfernung Objekt-erste Linsenfläche");
    EXPECT_EQ(f.dialogs.calls[2].text,
              "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen "
              "Objekts negativ! \n\n");
    EXPECT_EQ(f.dialogs.calls[2].defaultText, "-250");

    // Cancel abandons the entry: the value stays and no undo step is spent on it.
    f.dialogs.Enter("5").Cancel();
    f.Type(kObjDist, "250");
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -300.0f);
    EXPECT_TRUE(f.s().machine.IsIdle());
    f.w().Undo();
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);

    // Virtual objects allowed: nothing is asked. Switched off again, the object becomes real
    // and its limits (now -220..220) are derived anew around it.
    f.w().SetPositiveObjectAllowed(true);
    f.Type(kObjDist, "200");
    EXPECT_EQ(f.View("lstResVals").items.at(1), " 200.0mm     [Virtuell]");
    EXPECT_EQ(f.View("lblVirtualImage").text, "Virtuelles Objekt");
    f.w().SetPositiveObjectAllowed(false);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -220.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);
    EXPECT_EQ(f.dialogs.calls.size(), 5u);
}

TEST(MainWindow, LimitBoxesRefuseLimitsThatDoNotEncloseTheValue) {
    WindowFixture f;
    f.Lens();
    f.w().ApplyUpperLimit(0, "80");
    f.w().ApplyUpperLimit(0, "95");
    f.w().ApplyLowerLimit(0, "120");
    f.w().ApplyLowerLimit(0, "105");
    EXPECT_EQ(f.dialogs.Messages(),
              (Strings{"Oberer Grenzwert muß größer als unterer Grenzwert sein!",
                       "Oberer Grenzwert muß größer als aktueller Wert sein!",
                       "Unterer Grenzwert muß kleiner als Oberer Grenzwert sein! ",
                       "Unterer Grenzwert muß kleiner als aktueller Wert sein! "}));
    EXPECT_EQ(f.dialogs.calls[0].icon, Icon::Exclamation);
    EXPECT_EQ(f.Param(kFocal).sLimLow, 90.0f);
    EXPECT_EQ(f.Param(kFocal).sLimHih, 110.0f);

    // A limit equal to the value is accepted; equal limits leave the slider where it was.
    f.w().ApplyUpperLimit(0, "100");
    EXPECT_EQ(f.View("hscVarValue_0").position, 100);
    f.w().ApplyLowerLimit(0, "10cm");
    EXPECT_EQ(f.Param(kFocal).sLimLow, 100.0f);
    EXPECT_EQ(f.View("hscVarValue_0").position, 100);

    // Text that is no number stays in the box until the next update.
    f.w().ApplyUpperLimit(0, "hundert");
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "hundert");
    f.w().SetDrawPoints(true);
    EXPECT_EQ(f.View("txtVarLimHi_0").text, "100.0mm");

    // An object-distance limit is compared after its sign was corrected: 100 passes, but the
    // -300 it becomes lies below the lower limit.
    f.dialogs.calls.clear();
    f.dialogs.Enter("-300").Enter("-250");
    f.w().ApplyUpperLimit(1, "100");
    f.w().ApplyLowerLimit(1, "250");
    EXPECT_EQ(f.dialogs.Messages(),
              Strings{"Oberer Grenzwert muß größer als unterer Grenzwert sein!"});
    EXPECT_EQ(f.dialogs.calls[0].text,
              "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen "
              "Objekts negativ. Deshalb muss der Grenzwert ebenfalls negativ sein! \n\n");
    EXPECT_EQ(f.Param(kObjDist).sLimHih, -180.0f);
    EXPECT_EQ(f.Param(kObjDist).sLimLow, -250.0f);
}

TEST(MainWindow, ApertureValuesAndLimitsFollowTheirRules) {
    WindowFixture f;
    f.Lens();
    f.w().SetApertureChecked(kFNumber, true);
    f.w().SetApertureChecked(kStopRadius, true);  // a second one unchecks itself
    ASSERT_EQ(f.p().aperture.Count(), 1);
    f.dialogs.Enter("0.8").Enter("4");
    f.w().ApplyApertureValue("0.5");
    EXPECT_EQ(f.p().aperture.Value(1), 4.0f);
    ASSERT_EQ(f.dialogs.calls.size(), 2u);
    EXPECT_EQ(f.dialogs.calls[0].title, "Aperturwerte");
    EXPECT_EQ(f.dialogs.calls[0].text, "Blendenzahl ist immer größer als 1! \n\n");
    EXPECT_EQ(f.dialogs.calls[0].defaultText, "1");
    EXPECT_FLOAT_EQ(f.p().apertureTable.Get(kStopRadius), 12.5f);

    // An f-number limit of 0.5 asks until at least 1; 5 is then accepted.
    f.dialogs.Enter("0.9").Enter("5");
    f.w().ApplyUpperLimitAp("0.5");
    EXPECT_EQ(f.p().aperture.At(1).sLimHih, 5.0f);

    // Changed from outside (the aperture/field plot), the value takes its limits and slider along.
    f.w().ApplyChange(kBackupApField, [&](app::DesignState& d) {
        d.paraxial.aperture.Entry(1).sVarValue = 8.0f;
        f.w().MatchVarTypeTxtSliderAp();
        return true;
    });
    EXPECT_EQ(f.p().aperture.At(1).sLimHih, 8.8f);
    EXPECT_EQ(f.s().sliderPosAp, 85);  // 8 between 3.6 and 8.8

    // Other aperture figures must not be negative.
    f.w().SetApertureChecked(kFNumber, false);
    f.w().SetApertureChecked(kStopRadius, true);
    f.dialogs.Cancel();
    f.w().ApplyLowerLimitAp("-1");
    EXPECT_EQ(f.dialogs.calls.back().text, "Aperturwerte müssen positiv sein!\n\n");
    EXPECT_EQ(f.dialogs.calls.back().defaultText, "0");
}

TEST(MainWindow, SlidersMapPositionsToValues) {
    WindowFixture f;
    f.Lens();
    f.Type(kObjDist, "-250");
    f.w().ApplyLowerLimit(1, "-300");
    f.w().ApplyUpperLimit(1, "-200");
    EXPECT_EQ(f.View("hscVarValue_1").position, 50);
    f.w().ApplyPosition(1, 75);
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -225.0f);
    EXPECT_EQ(f.View("txtVarType_1").text, "-225.0mm");
    EXPECT_REL(f.Table(kImgDist), 100.0 / (1.0 - 100.0 / 225.0));
    f.w().ApplyPosition(1, 500);  // clamped to the scroll bar
    EXPECT_EQ(f.Param(kObjDist).sVarValue, -200.0f);

    WindowFixture g;  // without both limits there is no slider
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
    EXPECT_EQ(f.p().options.ImageIndex(), -1.0);
    EXPECT_EQ(f.Table(kImgDist), -200.0f);  // a concave mirror images in front of itself
    EXPECT_EQ(f.View("lstResNames").items.at(1), "Spiegelradius");
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
    EXPECT_EQ(g.Param(kObjDist).sVarValue, kInfinity);
    EXPECT_FALSE(g.Param(kObjDist).bLimLowDef || g.Param(kObjDist).bLimHihDef);
    EXPECT_EQ(g.View("txtVarType_1").text, "In Unendlich");
    EXPECT_FALSE(g.View("txtVarType_1").enabled);
    g.w().ApplyTypedValue(1, "-50");  // the box takes nothing
    g.Select({kObjAngle});
    g.Type(kObjAngle, "5");
    EXPECT_EQ(g.Table(kImgDist), 100.0f);
    EXPECT_EQ(g.View("lstResVals").items.at(1), " In Unendlich");
    // Removing the object distance ends the option; clearing the option empties the distance.
    g.w().SetParamChecked(kObjDist, false);
    EXPECT_FALSE(g.p().options.objAtInfinity);
    g.w().Undo();
    g.w().SetObjectAtInfinity(false);
    EXPECT_FALSE(g.Param(kObjDist).bVarValDef);
    EXPECT_EQ(g.View("txtVarType_1").text, "");
}

TEST(MainWindow, SelectionRulesAndMessages) {
    WindowFixture f;
    f.Select({kObjHeight, kImgDist, kFocal});
    EXPECT_EQ(f.p().params.Index(1), kFocal);
    f.w().SetParamChecked(kObjAngle, true);  // a fourth unchecks itself without a word
    EXPECT_EQ(f.p().params.Count(), 3);
    EXPECT_FALSE(f.View("chkVarType_6").checked);
    EXPECT_TRUE(f.dialogs.calls.empty());

    // A refused combination shows its message, keeps the set and costs no undo step.
    WindowFixture g;
    g.Select({kFocal, kObjDist, kImgDist});
    g.w().SetParamChecked(kFocal, false);
    g.Select({kObjAngle, kImgAngle});
    EXPECT_EQ(g.dialogs.Messages(),
              (Strings{"Sie müssen mindestens eine Feld-Option wählen! ",
                       "Objekt- und Bildwinkel können nicht unabhängig voneinander definiert "
                       "werden! "}));
    g.w().Undo();  // undoes choosing w
    EXPECT_EQ(g.p().params.Count(), 1);
    g.w().Undo();  // and redoes it
    EXPECT_TRUE(g.p().params.Contains(kObjAngle));
}

TEST(MainWindow, BusyWindowIgnoresEveryHandler) {
    WindowFixture f;
    f.Lens();
    const Snapshot before = Capture(f.s().design);
    ASSERT_TRUE(f.w().BeginDrag());
    EXPECT_FALSE(f.w().BeginDrag());
    f.w().SetParamChecked(kFocal, false);
    f.w().ApplyTypedValue(0, "50");
    f.w().ApplyUpperLimit(0, "500");
    f.w().ApplyPosition(0, 10);
    f.w().ChooseMirrorMode(1);
    f.w().SetObjectAtInfinity(true);
    f.w().Undo();
    f.w().Clear();
    f.w().Recall();
    f.w().SetBeamMode(true);
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
}

TEST(MainWindow, AdvancedValuesAreRangeChecked) {
    WindowFixture f;
    f.Lens();
    f.w().ApplyAdvancedValue(3, "600");  // boxes are disabled while the options are off
    EXPECT_EQ(f.p().options.advanced.wavelength, 546.1f);
    f.w().SetAdvancedOptions(true);
    for (const char* text : {"9.9", "1000001", "546nm"}) f.w().ApplyAdvancedValue(3, text);
    f.w().ApplyAdvancedValue(1, "3.01");
    f.w().ApplyAdvancedValue(2, "0,5");
    EXPECT_EQ(f.dialogs.Messages(),
              (Strings{"Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ",
                       "Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! ",
                       "Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!",
                       "Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!"}));
    // "546nm" is what the box shows for 546.1: leaving it unedited must not round the value.
    EXPECT_EQ(f.p().options.advanced.wavelength, 546.1f);
    f.w().ApplyAdvancedValue(3, "10");
    EXPECT_EQ(f.p().options.advanced.wavelength, 10.0f);
    f.w().ApplyAdvancedValue(1, "3");
    f.w().ApplyAdvancedValue(2, "1.5");
    EXPECT_EQ(f.View("txtAdv_2").text, "1.5000");
    EXPECT_EQ(f.View("lstResNames").items.at(1), "Brennweite [Obj]: f");  // media differ

    // A mirror has no image-side box; its image index follows the object index.
    f.w().ChooseMirrorMode(1);
    EXPECT_FALSE(f.View("txtAdv_2").enabled);
    EXPECT_EQ(f.View("txtAdv_0").text, "0");
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
    EXPECT_EQ(f.Param(kImgHeight).sVarValue, -21.6f);
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 25);
    EXPECT_EQ(f.View("txtVarType_2").text, "-21.6mm");
    f.Type(kImgHeight, "-5");  // typing goes back to the user's own height
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 0);

    WindowFixture g;  // without the image height only the choice changes
    g.Lens();
    g.w().ChooseImageFormat(25);
    EXPECT_TRUE(g.s().design.window.imgHgtFixed);
    EXPECT_FALSE(g.p().params.Contains(kImgHeight));
}

TEST(MainWindow, ViewFollowsTheState) {
    WindowFixture f;
    EXPECT_EQ(f.View("txtVarType_0").text, "-- Nicht definiert --");
    EXPECT_FALSE(f.View("txtVarType_0").enabled);
    EXPECT_TRUE(f.View("lblSliders").visible);
    EXPECT_FALSE(f.View("comUndo").enabled);
    f.Lens();
    EXPECT_EQ(f.View("txtVarLimLow_1").text, "-220.0mm");
    EXPECT_TRUE(f.View("hscVarValue_0").enabled);
    EXPECT_FALSE(f.View("lblSliders").visible);
    f.w().FinishUpdate(true);
    EXPECT_TRUE(f.View("comApFldUndo").enabled);
    f.w().SetHideRemoteConjugates(true);
    EXPECT_FALSE(f.View("comApFldUndo").enabled);
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
    EXPECT_TRUE(test::RelNear(beam::BeamValue(b, 0, beam::kGbImgDist), 198.483, 1e-5));
    EXPECT_EQ(f.View("txtVarType_2").text, "0.05mm");
    // The hidden waist-to-waist distance and a fourth box are never taken.
    f.w().SetBeamChecked(beam::kGbTrack, true);
    f.w().SetBeamChecked(beam::kGbMagnif, true);
    EXPECT_EQ(b.axes[0].selection.Count(), 3);

    // One undo step for a run of the beam slider.
    f.w().ApplyPosition(0, 80);
    f.w().ApplyPosition(0, 90);
    f.w().Undo();
    EXPECT_EQ(b.axes[0].selection.Value(1), 100.0f);

    // f', m and a beam: the alternative root can be chosen.
    f.w().SetBeamChecked(beam::kGbObjDist, false);
    f.w().SetBeamChecked(beam::kGbMagnif, true);
    f.w().ApplyTypedValue(1, "2");
    f.w().ToggleAltSolution();
    EXPECT_TRUE(b.altSolution);

    f.w().SetBeamChecked(beam::kGbMagnif, false);
    f.w().SetBeamChecked(beam::kGbObjDiv, true);
    EXPECT_EQ(f.dialogs.Messages(),
              Strings{"Nur ein Strahlparameter im Objekt- und Bildraum kann unabhängig sein!"});
    f.w().SetBeamChecked(beam::kGbImgDist, true);
    f.w().ApplyTypedValue(1, "150");
    f.w().ApplyTypedValue(2, "0");  // a zero beam radius has no solution: the label says so
    EXPECT_TRUE(f.View("lblInvalidCalcs").visible);

    f.w().ApplyBeamWavelength("1064nm");
    f.w().ApplyBeamWavelength("-5");
    EXPECT_EQ(f.View("txtGBWavelen").text, "1064.0nm");
    f.w().Undo();
    EXPECT_EQ(b.WavelengthNm(), 632.8);
}

TEST(MainWindow, PrintRefusesAnIncompleteDesign) {
    WindowFixture f;
    f.Select({kFocal, kObjDist});
    EXPECT_FALSE(f.w().PrintPage("1. Januar 2025"));
    f.Select({kObjHeight});
    EXPECT_FALSE(f.w().PrintPage("1. Januar 2025"));
    EXPECT_EQ(f.dialogs.Messages(),
              (Strings{"Sie haben noch nicht alle Parameter ausgewählt! ",
                       "Sie haben noch nicht für alle Parameter Werte eingetragen! "}));
    f.Lens();
    const auto page = f.w().PrintPage("1. Januar 2025");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->rows.at(0).pieces.at(1).text, "1. Januar 2025");
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
    EXPECT_TRUE(f.p().options.objAtInfinity);
    EXPECT_EQ(f.Table(kImgDist), -100.0f);
    // The title names the loaded mode; a format entry beyond the list is the user's own.
    EXPECT_EQ(BuildView(f.s()).title,
              "Kestrelon: System Raysketcher 0.1.0    [Spiegelsystem]   paraxiale Berechnung");
    EXPECT_EQ(f.View("cmbImagHeight").currentIndex, 0);
    EXPECT_EQ(f.View("hscVarValue_0").position, 50);
    EXPECT_TRUE(f.s().machine.IsIdle());
}

}  // namespace
}  // namespace rs::ui
