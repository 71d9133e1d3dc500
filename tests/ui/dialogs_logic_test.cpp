#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/user_settings_store.h"
#include "ui/placement.h"
#include "ui/symbols_editor.h"
#include "ui/units_dialog.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

int ListNamed(std::string_view name) {
    const auto lists = UnitLists();
    const auto it = std::find_if(lists.begin(), lists.end(),
                                 [&](const UnitListInfo& s) { return s.name == name; });
    return it == lists.end() ? -1 : static_cast<int>(it - lists.begin());
}

std::vector<int> Codes(const UnitsDialogModel& m, std::string_view list) {
    std::vector<int> codes;
    for (const UnitEntry& e : m.Entries(ListNamed(list))) codes.push_back(e.code);
    return codes;
}

TEST(UnitsDialog, EditsACopyOfTheUnitsOfferedForEachQuantity) {
    const units::UnitState original;
    UnitsDialogModel m(original);
    // Each list edits its own quantity, offering only that quantity's units.
    EXPECT_EQ(Codes(m, "cmbParaxAp00_StopRad"), (std::vector<int>{0, 1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(Codes(m, "cmbParaxRes00_CofC"), (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(Codes(m, "cmbParaxDepth02_nearfar"), (std::vector<int>{1, 2, 5, 15, 16}));
    EXPECT_EQ(Codes(m, "cmbGBBeamImg01_Div"), (std::vector<int>{9, 10, 11, 12}));
    const int efl = ListNamed("cmbParaxConj00_Efl");
    EXPECT_EQ(m.Entries(efl).at(static_cast<std::size_t>(m.SelectedEntry(efl))).text,
              "Millimeters [mm]");

    m.Choose(ListNamed("cmbParaxAp00_StopRad"), units::kKilometre);  // not offered there
    EXPECT_FALSE(m.Changed());
    m.Choose(efl, units::kCentimetre);
    m.Choose(ListNamed("cmbGBConj00_Efl"), units::kInch);
    EXPECT_TRUE(m.Changed());
    EXPECT_EQ(original.UnitCode(units::Group::Parax, 0), units::kMillimetre);
    m.DefaultsParaxial();  // leaves the beam tab alone
    EXPECT_EQ(m.Working().UnitCode(units::Group::Parax, 0), units::kMillimetre);
    EXPECT_EQ(m.Working().UnitCode(units::Group::GB, 0), units::kInch);
    m.DefaultsBeam();
    EXPECT_EQ(m.Working(), original);
}

TEST(UnitsDialog, OkStoresTheUnitsAndTheWindowShowsThem) {
    WindowFixture f;
    f.Lens();
    UnitsDialogModel m(f.s().design.units);
    m.Choose(ListNamed("cmbParaxConj00_Efl"), units::kCentimetre);
    f.w().ApplyUnits(m.Working());
    EXPECT_EQ(f.View("txtVarType_0").text, "10.0cm");
    EXPECT_EQ(f.View("lstResVals").items.at(0), " 10.0cm");
    std::stringstream file;
    file << std::ifstream(f.path, std::ios::binary).rdbuf();
    EXPECT_NE(file.str().find("Parax=2, 1, 1,"), std::string::npos);
    // Typed values are read in the new unit.
    f.Type(engine::kFocal, "12");
    EXPECT_EQ(f.Param(engine::kFocal).sVarValue, 120.0f);
}

TEST(SymbolsEditor, RefusesEmptyAndRepeatedSymbols) {
    WindowFixture f;
    SymbolsEditorModel m(*f.ini);
    EXPECT_EQ(m.Symbol(0), "f'");
    EXPECT_EQ(m.Symbol(9), "P");
    EXPECT_EQ(SymbolsEditorModel::BoxName(9), "txtCardPoint_0");
    EXPECT_TRUE(m.Ok(*f.ini, f.dialogs));  // nothing changed: nothing written
    EXPECT_FALSE(std::filesystem::exists(f.path));

    m.SetSymbol(3, "   ");
    EXPECT_FALSE(m.Ok(*f.ini, f.dialogs));
    m.SetSymbol(3, "m'");
    m.SetSymbol(1, "P");
    EXPECT_FALSE(m.Ok(*f.ini, f.dialogs));
    // Characters the settings file cannot hold would read back alike.
    m.SetSymbol(1, "α");
    m.SetSymbol(2, "β");
    EXPECT_FALSE(m.Ok(*f.ini, f.dialogs));
    EXPECT_EQ(f.dialogs.Messages(),
              (std::vector<std::string>{
                  "Alle Symbole müssen definiert werden [nicht leer lassen]! ",
                  "Zwei oder mehrere Symbole sind identisch [P]. Alle Symbole dürfen nur einmal "
                  "auftreten. ",
                  "Zwei oder mehrere Symbole sind identisch [?]. Alle Symbole dürfen nur einmal "
                  "auftreten. "}));

    m.SetSymbol(1, "s");
    m.SetSymbol(2, " s' ");
    m.SetSymbol(0, "f");  // "f" and "F" differ
    EXPECT_TRUE(m.Ok(*f.ini, f.dialogs));
    f.w().ChooseSymbolSet(1);
    EXPECT_EQ(f.View("chkVarType_0").text, "Brennweite: f");
    EXPECT_EQ(f.View("chkVarType_2").text, "Bildweite: s'");
    EXPECT_TRUE(f.View("comSymbols").enabled);
    f.w().ChooseSymbolSet(0);
    EXPECT_EQ(f.View("chkVarType_0").text, "Brennweite: f'");
    EXPECT_EQ(f.ini->ReadIniInt("Options", "UnitType"), 0);
}

TEST(SymbolsEditor, CharacterListSkipsDigitsAndControlCodes) {
    const auto chars = SymbolsEditorModel::CharacterList();
    EXPECT_EQ(chars.size(), 179u);
    EXPECT_EQ(chars.front(), "ÿ");
    EXPECT_EQ(chars.back(), "!");
    for (const char* absent : {"5", "~", "€"}) {
        EXPECT_EQ(std::count(chars.begin(), chars.end(), absent), 0) << absent;
    }
}

TEST(Application, NewFeatureNoteOncePerUser) {
    app::MemoryUserSettingsStore store;
    EXPECT_TRUE(MainWindow::TakeNewFeatureNote(store));
    EXPECT_EQ(store.Get("NewFeature", "V22", ""), "-1");
    EXPECT_FALSE(MainWindow::TakeNewFeatureNote(store));
    store.Save("NewFeature", "V22", "Wahr");
    EXPECT_FALSE(MainWindow::TakeNewFeatureNote(store));
}

TEST(Application, PlacementFitsTheScreen) {
    // First start: default size, centred.
    EXPECT_EQ(RestorePlacement(std::nullopt, 12300, 8400, 30000, 20000),
              (WindowRect{5800, 8850, 8400, 12300}));
    // A width of 0 takes the default and is centred; top and height stay.
    EXPECT_EQ(RestorePlacement(WindowRect{100, 50, 5000, 0}, 12300, 8400, 30000, 20000),
              (WindowRect{100, 8850, 5000, 12300}));
    // Too large for the screen: 90 %; off the top left: 0.
    EXPECT_EQ(RestorePlacement(WindowRect{-10, -20, 25000, 40000}, 12300, 8400, 30000, 20000),
              (WindowRect{0, 0, 18000, 27000}));
    WindowFixture f("[FormPositions]\r\nFormPosn_frmRaysketch=1|2|3000|4000\r\n");
    EXPECT_EQ(MainWindowPlacement(*f.ini, 0, 0, 30000, 20000), (WindowRect{1, 2, 3000, 4000}));
}

}  // namespace
}  // namespace rs::ui
