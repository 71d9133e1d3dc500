#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "app/user_settings_store.h"
#include "ui/placement.h"
#include "ui/symbols_editor.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

TEST(SymbolsEditor, RefusesEmptyAndRepeatedSymbols) {
    WindowFixture f;
    SymbolsEditorModel m(*f.ini);
    EXPECT_TRUE(m.Ok(*f.ini, f.dialogs));  // nothing changed: nothing written
    EXPECT_FALSE(std::filesystem::exists(f.path));

    m.SetSymbol(3, "   ");
    EXPECT_FALSE(m.Ok(*f.ini, f.dialogs));
    m.SetSymbol(3, "m'");
    // Characters the settings file cannot hold would read back alike.
    m.SetSymbol(1, "α");
    m.SetSymbol(2, "β");
    EXPECT_FALSE(m.Ok(*f.ini, f.dialogs));
    EXPECT_EQ(f.dialogs.Messages(),
              (std::vector<std::string>{
                  "Alle Symbole müssen definiert werden [nicht leer lassen]! ",
                  "Zwei oder mehrere Symbole sind identisch [?]. Alle Symbole dürfen nur einmal "
                  "auftreten. "}));

    m.SetSymbol(1, "s");
    m.SetSymbol(2, " s' ");
    m.SetSymbol(0, "f");  // "f" and "F" differ
    EXPECT_TRUE(m.Ok(*f.ini, f.dialogs));
}

TEST(Application, NewFeatureNoteOnceAndAPlacementThatFitsTheScreen) {
    app::MemoryUserSettingsStore store;
    EXPECT_TRUE(MainWindow::TakeNewFeatureNote(store));
    EXPECT_FALSE(MainWindow::TakeNewFeatureNote(store));
    // First start: default size, centred; a width of 0 takes the default and is centred; too
    // large for the screen: 90 %; off the top left: 0.
    const struct {
        std::optional<WindowRect> stored;
        WindowRect want;
    } cases[] = {
        {std::nullopt, {5800, 8850, 8400, 12300}},
        {WindowRect{100, 50, 5000, 0}, {100, 8850, 5000, 12300}},
        {WindowRect{-10, -20, 25000, 40000}, {0, 0, 18000, 27000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestorePlacement(c.stored, 12300, 8400, 30000, 20000), c.want);
}

// Whatever a damaged file holds, the main window opens finite, at least its least size, no
// bigger than the screen allows and with its top left corner on the screen, so that the
// conversion to pixels cannot overflow.
TEST(Application, DamagedPlacementsStayOnTheScreen) {
    const double least[2] = {9000, 6000}, screen[2] = {30000, 20000};
    for (const char* stored :
         {"1e15|0|5|12300", "-1e15|-1e15|1e15|1e15", "0|0|-1e15|-1e15", "NaN|nan|NaN|nan",
          "1e400|1e400|1e400|1e400", "-1e400|-1e400|-1e400|-1e400", "5|5|1e300|4e9"}) {
        const app::IniFile ini = app::IniFile::FromText(
            "a.ini", std::string("[FormPositions]\nFormPosn_frmRaysketch=") + stored + "\n");
        const WindowRect r = MainWindowPlacement(ini, least[0], least[1], screen[0], screen[1]);
        SCOPED_TRACE(stored);
        for (const auto& [pos, size, low, high] :
             {std::tuple{r.left, r.width, least[0], screen[0]},
              std::tuple{r.top, r.height, least[1], screen[1]}}) {
            EXPECT_GE(pos, 0);
            EXPECT_LT(pos, high);
            EXPECT_GE(size, low);
            EXPECT_LE(size, high);
        }
    }
    // A screen smaller than the window's least size: the least size, at the top left.
    const app::IniFile big = app::IniFile::FromText(
        "a.ini", "[FormPositions]\nFormPosn_frmRaysketch=1e15|-1e15|1e15|1e15\n");
    EXPECT_EQ(MainWindowPlacement(big, 9000, 6000, 4000, 3000), (WindowRect{0, 0, 6000, 9000}));
}

}  // namespace
}  // namespace rs::ui
