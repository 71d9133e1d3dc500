#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <utility>

#include "engine/numbers.h"
#include "ui/image_formats.h"
#include "ui/standard_fnumbers.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using Strings = std::vector<std::string>;
using test::WindowFixture;

// The boxes an entry can go to, and the value each one edits.
enum Box { kValue, kUpper, kLower, kApValue, kApLower, kAdvanced };
void Enter(MainWindow& w, Box box, int slot, std::string_view text) {
    switch (box) {
        // clang-format off
        case kValue: return w.ApplyTypedValue(slot, text);
        case kUpper: return w.ApplyUpperLimit(slot, text);
        case kLower: return w.ApplyLowerLimit(slot, text);
        case kApValue: return w.ApplyApertureValue(text);
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
    return box == kUpper ? e.sLimHih : box == kLower || box == kApLower ? e.sLimLow : e.sVarValue;
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
        // A real object is asked for until its distance is negative, or the user cancels; a
        // limit is compared after its sign was corrected.
        {kValue, 1, "250", {"abc", "30", "-30cm"}, {realValue, realValue, realValue}, -300},
        {kUpper, 1, "100", {"-300"}, {realLimit + "[-100]", upperBelowLower}, {}},
        {kLower, 1, "250", {"-250"}, {realLimit + "[-250]"}, -250},
        // F-numbers are at least 1, other aperture figures at least 0.
        {kApValue, 0, "0.5", {"0.8", "4.5"}, {fNumber, fNumber}, 4.5},
        {kApLower, 0, "-1", {std::nullopt}, {positive}, {}, kStopRadius},
        // Advanced values are range checked.
        {kAdvanced, 3, "9.9", {}, {"Die Wellenlänge muß zwischen 10^1 & 10^6nm liegen! "}, {}},
        {kAdvanced, 3, "10", {}, {}, 10},
        {kAdvanced, 1, "3.01", {}, {"Die Brechzahl im Objektraum muss zwischen 1.0 und 3.0 liegen!"}, {}},
        {kAdvanced, 2, "0,5", {}, {"Die Brechzahl im Bildraum muss zwischen 1.0 und 3.0 liegen!"}, {}},
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

// A half-field angle stays below 90°, whichever way it is entered; the refusal is the window's
// usual message and the design and the undo step stay as they were.
TEST(MainWindow, FieldAnglesStayBelowNinetyDegrees) {
    WindowFixture f;
    f.Select({kFocal, kObjDist, kObjAngle});
    f.Type(kFocal, "100");
    f.Type(kObjDist, "-200");
    f.Type(kObjAngle, "85");  // limits 76.5° and 93.5° around it
    const Snapshot before = Capture(f.s().design);
    const auto backup = f.s().backup.Backup();
    f.Type(kObjAngle, "95");
    f.Type(kObjAngle, "-90");
    f.w().ApplyUpperLimit(2, "90");
    f.w().ApplyLowerLimit(2, "-1.6rad");
    f.w().ApplyPosition(2, kSliderMax);  // 93.5°
    const std::string refusal = "Der Objektwinkel muss zwischen -90° und 90° liegen!";
    EXPECT_EQ(f.dialogs.Messages(), Strings(5, refusal));
    EXPECT_EQ(Capture(f.s().design), before);
    EXPECT_EQ(f.s().backup.Backup(), backup);
    EXPECT_EQ(f.View("hscVarValue_2").position, 50);

    f.w().SetParamChecked(kObjAngle, false);
    f.w().SetParamChecked(kImgAngle, true);
    f.Type(kImgAngle, "-100");
    EXPECT_EQ(f.dialogs.Messages().back(), "Der Bildwinkel muss zwischen -90° und 90° liegen!");
}

TEST(MainWindow, RefusedCombinationIsShownAndTakesNoUndoStep) {
    WindowFixture f;
    f.Lens();
    f.w().SetParamChecked(kObjHeight, false);
    f.w().SetParamChecked(kImgDist, true);  // two conjugates and no field
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
    // Equal limits leave the slider where it was.
    f.w().ApplyUpperLimit(0, "100");
    f.w().ApplyLowerLimit(0, "100");
    EXPECT_EQ(f.View("hscVarValue_0").position, 100);

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

TEST(MainWindow, ObjectAtInfinity) {
    WindowFixture g;
    g.Lens();
    g.w().SetObjectAtInfinity(true);
    EXPECT_FALSE(g.p().params.Contains(kObjHeight));
    EXPECT_EQ(g.Param(kObjDist).sVarValue, kInfinity);
    EXPECT_FALSE(g.Param(kObjDist).bLimLowDef || g.Param(kObjDist).bLimHihDef);
    g.w().ApplyTypedValue(1, "-50");  // the box takes nothing
    EXPECT_EQ(g.Param(kObjDist).sVarValue, kInfinity);
    g.w().SetObjectAtInfinity(false);  // clearing the option empties the distance
    EXPECT_FALSE(g.Param(kObjDist).bVarValDef);
}

TEST(MainWindow, MirrorTurnsTheFocalLength) {
    WindowFixture f;
    f.Lens();
    f.w().SetAdvancedOptions(true);
    f.w().ChooseMirrorMode(1);
    const CVarType& e = f.Param(kFocal);
    EXPECT_TRUE(e.sVarValue == -100 && e.sLimLow == -110 && e.sLimHih == -90);
    EXPECT_FALSE(f.View("txtAdv_2").enabled);  // a mirror has no image-side box
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
    // A stored entry beyond the list is the user's own height.
    WindowFixture h("[LastValues]\r\nImgHgtFixed2=True\r\nImgHgtOption2=99\r\n");
    EXPECT_FALSE(h.s().design.window.imgHgtFixed);
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
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Stay);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_EQ(app::IniFile(f.path).ReadIniInt("LastValues", "VarTypeNos"), 0);
    EXPECT_EQ(f.w().RequestClose(std::nullopt), CloseDecision::Close);
    EXPECT_EQ(app::IniFile(f.path).ReadIniInt("LastValues", "VarTypeNos"), 3);

    // A settings "file" that cannot be read is named at start-up; the save then refuses, keeps
    // the window open and names the file and the reason.
    WindowFixture g;
    std::filesystem::create_directory(g.path);  // nothing can be written there
    g.w().Startup();
    g.Select({kFocal});
    g.dialogs.Reply(Answer::Yes);
    EXPECT_EQ(g.w().RequestClose(std::nullopt), CloseDecision::Stay);
    ASSERT_EQ(g.dialogs.Messages().size(), 2u);
    const std::string reason = "\"" + g.path.string() + "\" ist ein Ordner";
    EXPECT_EQ(g.dialogs.Messages()[0].rfind(reason, 0), 0u) << g.dialogs.Messages()[0];
    EXPECT_NE(g.dialogs.Messages()[1].find(reason), std::string::npos);

    // A write-protected file freezes the settings: closing keeps it as it is without a word
    // about the window's place; the user's own save says why it failed.
    WindowFixture h;
    h.Lens();
    ASSERT_TRUE(app::IniFile(h.path).WriteIniString("A", "k", "v").ok);
    std::filesystem::permissions(h.path, std::filesystem::perms::owner_read);
    const WindowRect place{100, 200, 8400, 12300};
    h.dialogs.Reply(Answer::No).Reply(Answer::Yes);
    EXPECT_EQ(h.w().RequestClose(place), CloseDecision::Close);
    EXPECT_TRUE(h.dialogs.Messages().empty());
    EXPECT_EQ(h.w().RequestClose(place), CloseDecision::Stay);
    ASSERT_EQ(h.dialogs.Messages().size(), 1u);
    EXPECT_NE(h.dialogs.Messages()[0].find("schreibgeschützt"), std::string::npos);
    EXPECT_EQ(app::IniFile(h.path).ReadIniString("FormPositions", "FormPosn_frmRaysketch"), "");
}

// A click into the aperture/field plot is one undo step of the window and is taken back by the
// plot's own undo, exactly (records without limits keep none), also when it had to choose w in
// place of u.
TEST(MainWindow, ApertureFieldClickAndItsOwnUndo) {
    test::WindowFixture f(
        "[LastValues]\nVarTypeNos=3\n1VarTypeVal=0|100|True|False|0|False|0\n"
        "2VarTypeVal=1|-200|True|False|0|False|0\n3VarTypeVal=5|10|True|False|0|False|0\n"
        "VarTypeApNos=1\n1VarTypeApVal=1|4|True|False|0|False|0\n");
    const engine::Selection params = f.p().params, aperture = f.p().aperture;
    ASSERT_FALSE(f.View("comApFldUndo").enabled);
    ASSERT_TRUE(f.w().BeginDrag());  // nothing while busy
    f.w().ApFieldParamsChng(0.25, 5);
    f.w().EndDrag({});
    EXPECT_EQ(f.p().apertureTable.Get(engine::kFNumber), 4.0f);

    f.w().ApFieldParamsChng(0.25, 5);
    EXPECT_EQ(f.p().apertureTable.Get(engine::kFNumber), 2.0f);
    EXPECT_TRUE(f.p().params.Contains(engine::kObjAngle) &&
                !f.p().params.Contains(engine::kObjHeight));
    EXPECT_NEAR(std::fabs(f.Table(engine::kObjAngle)), 5 * engine::kPi / 180, 1e-6);
    EXPECT_TRUE(f.View("comApFldUndo").enabled);
    // A refused click (outside the ranges) changes nothing, and the plot's undo stays.
    f.w().ApFieldParamsChng(2.0, 5);
    EXPECT_EQ(f.p().apertureTable.Get(engine::kFNumber), 2.0f);
    EXPECT_TRUE(f.View("comApFldUndo").enabled);

    f.w().ApFieldUndo();
    EXPECT_EQ(f.p().params, params);
    EXPECT_EQ(f.p().aperture, aperture);
    EXPECT_EQ(f.p().apertureTable.Get(engine::kFNumber), 4.0f);
    EXPECT_FALSE(f.View("comApFldUndo").enabled);
    f.w().Undo();  // the window's own undo has the click's state
    EXPECT_TRUE(f.p().params.Contains(engine::kObjAngle));
}

// The engraved f-numbers: the entry's own text is entered as typed, Cancel enters nothing, and
// the hint stays away once answered No, for this user.
TEST(MainWindow, StandardFNumbers) {
    struct Picker : FNumberPicker {
        std::optional<int> choice;
        std::optional<int> Display() override { return choice; }
    } picker;
    app::MemoryUserSettingsStore store;
    test::WindowFixture f;
    f.Lens();
    EXPECT_FALSE(StandardFNumbersAvailable(f.s()));  // no f-number chosen
    f.w().SetApertureChecked(engine::kFNumber, true);
    f.w().ApplyApertureValue("4");
    ASSERT_TRUE(StandardFNumbersAvailable(f.s()));

    f.dialogs.Reply(Answer::No);
    picker.choice = 1;  // "F/1.2"
    ChooseStandardFNumber(f.w(), picker, f.dialogs, store);
    EXPECT_EQ(f.p().aperture.Value(1), 1.2f);
    ASSERT_EQ(f.dialogs.calls.size(), 1u);
    EXPECT_NE(f.dialogs.calls[0].text.find("1.1892"), std::string::npos);
    picker.choice.reset();
    ChooseStandardFNumber(f.w(), picker, f.dialogs, store);
    EXPECT_EQ(f.p().aperture.Value(1), 1.2f);
    EXPECT_EQ(f.dialogs.calls.size(), 1u);  // not asked again
    EXPECT_EQ(store.Get("ShowFirstMessage", "FStopFunction", ""), "No");
}

}  // namespace
}  // namespace rs::ui
