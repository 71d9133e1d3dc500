#include <gtest/gtest.h>

#include <algorithm>

#include "app/user_settings_store.h"
#include "ui/placement.h"
#include "ui/symbols_editor.h"
#include "ui/units_dialog.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

TEST(UnitsDialog, EachListEditsItsOwnQuantityInACopy) {
    const units::UnitState original;
    UnitsDialogModel m(original);
    for (int list = 0; list < static_cast<int>(UnitLists().size()); ++list) {
        const UnitListInfo& info = UnitLists()[static_cast<std::size_t>(list)];
        const auto entries = m.Entries(list);
        for (int code = -1; code <= units::kUnitCount; ++code) {
            SCOPED_TRACE(testing::Message() << info.name << " " << code);
            const auto it = std::find_if(entries.begin(), entries.end(),
                                         [&](const UnitEntry& e) { return e.code == code; });
            // An offered unit changes this quantity only; any other unit changes nothing.
            const bool offered = it != entries.end();
            units::UnitState expected = m.Working();
            EXPECT_EQ(expected.SetUnitCode(info.group, info.slot, code), offered);
            if (!offered) expected = m.Working();
            m.Choose(list, code);
            EXPECT_EQ(m.Working(), expected);
            if (offered) {
                EXPECT_EQ(m.SelectedEntry(list), it - entries.begin());
            }
        }
    }
    EXPECT_TRUE(m.Changed());
    EXPECT_EQ(original, units::UnitState{});
    // Each tab's defaults leave the other tab alone.
    const units::UnitState chosen = m.Working();
    m.DefaultsParaxial();
    for (const UnitListInfo& info : UnitLists()) {
        EXPECT_EQ(m.Working().UnitCode(info.group, info.slot),
                  info.beamTab ? chosen.UnitCode(info.group, info.slot)
                               : units::DefaultUnit(info.group, info.slot))
            << info.name;
    }
    m.DefaultsBeam();
    EXPECT_EQ(m.Working(), original);
}

TEST(UnitsDialog, OkStoresTheUnitsAndTheWindowShowsThem) {
    WindowFixture f;
    f.Lens();
    units::UnitState chosen = f.s().design.units;
    ASSERT_TRUE(chosen.SetUnitCode(units::Group::Parax, 0, units::kCentimetre));
    f.w().ApplyUnits(chosen);
    EXPECT_EQ(f.View("txtVarType_0").text, "10.0cm");
    EXPECT_NE(f.FileText().find("Parax=2, 1, 1,"), std::string::npos);
    // Typed values are read in the new unit.
    f.Type(engine::kFocal, "12");
    EXPECT_EQ(f.Param(engine::kFocal).sVarValue, 120.0f);
}

TEST(SymbolsEditor, RefusesEmptyAndRepeatedSymbols) {
    WindowFixture f;
    SymbolsEditorModel m(*f.ini);
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
    EXPECT_EQ(f.View("chkVarType_2").text, "Bildweite: s'");
    f.w().ChooseSymbolSet(0);
    EXPECT_EQ(f.View("chkVarType_0").text, "Brennweite: f'");
    EXPECT_EQ(f.ini->ReadIniInt("Options", "UnitType"), 0);
}

TEST(Application, NewFeatureNoteOncePerUserAndAPlacementThatFitsTheScreen) {
    app::MemoryUserSettingsStore store;
    EXPECT_TRUE(MainWindow::TakeNewFeatureNote(store));
    EXPECT_EQ(store.Get("NewFeature", "V22", ""), "-1");
    EXPECT_FALSE(MainWindow::TakeNewFeatureNote(store));
    store.Save("NewFeature", "V22", "Wahr");
    EXPECT_FALSE(MainWindow::TakeNewFeatureNote(store));

    // First start: default size, centred; a width of 0 takes the default and is centred; too
    // large for the screen: 90 %; off the top left: 0.
    EXPECT_EQ(RestorePlacement(std::nullopt, 12300, 8400, 30000, 20000),
              (WindowRect{5800, 8850, 8400, 12300}));
    EXPECT_EQ(RestorePlacement(WindowRect{100, 50, 5000, 0}, 12300, 8400, 30000, 20000),
              (WindowRect{100, 8850, 5000, 12300}));
    EXPECT_EQ(RestorePlacement(WindowRect{-10, -20, 25000, 40000}, 12300, 8400, 30000, 20000),
              (WindowRect{0, 0, 18000, 27000}));
    WindowFixture f("[FormPositions]\r\nFormPosn_frmRaysketch=1|2|3000|4000\r\n");
    EXPECT_EQ(MainWindowPlacement(*f.ini, 0, 0, 30000, 20000), (WindowRect{1, 2, 3000, 4000}));
}

}  // namespace
}  // namespace rs::ui
