// Wavelengths: the built-in lists, the user's file, the picker's rows and choices, its placement.
#include "wavelengths/wavelengths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "support/temp_dir.h"

namespace rs::wavelengths {
namespace {

TEST(WaveNames, BuiltInListsAndTheirRows) {
    const auto& laser = LaserLines();
    const auto& glass = GlassCatalogueLines();
    ASSERT_EQ(laser.size(), 81u);
    ASSERT_EQ(glass.size(), 22u);
    // The principal HeNe line: a single of 632.8, and the box text it becomes.
    const auto hene = std::find_if(laser.begin(), laser.end(),
                                   [](const WaveRecord& r) { return r.name == "HeNe |\tmain"; });
    ASSERT_NE(hene, laser.end());
    EXPECT_EQ(hene->nm, 632.8f);
    EXPECT_EQ(BoxText(hene->nm), "632.8000");
    EXPECT_EQ(LaserRow(*hene), "     632.8\tHeNe \t\tmain");
    EXPECT_EQ(LaserRow(laser[0]), "   2940\tEr:YAG");
    // Both spellings stay as they are.
    EXPECT_EQ(laser[20].name, "Kr ion");
    EXPECT_EQ(laser[25].name, "Kr Ion");
    EXPECT_EQ(laser[80].name, "Nd:YAG |\t5th");
    EXPECT_EQ(laser[80].nm, 213.0f);
    // The 21st glass line has no name at all.
    EXPECT_EQ(glass[20].name, "");
    EXPECT_EQ(glass[20].nm, 312.5663f);
    EXPECT_EQ(GlassRow(glass[20]), "    312.5663    \t\t");
    EXPECT_EQ(GlassRow(glass[8]), "    656.2725    \tC  \tH alpha");
    EXPECT_EQ(GlassRow(glass[0]), "  2325.42     \t   \tHg");
}

TEST(WaveNames, RememberedRowsAndChoices) {
    EXPECT_EQ(PreselectedRow("3", 81), 3);
    for (const char* bad : {"0", "90", "-1", "x", "", "2.5", "99999999999"}) {
        EXPECT_FALSE(PreselectedRow(bad, 81)) << bad;
    }
    const std::vector<WaveRecord> rows{{"a", 405}, {"b", 0}};
    EXPECT_EQ(ChooseRow(rows, 1, false).nm, 405.0f);
    // The header, the empty area below, a row without a wavelength: nothing.
    for (int row : {0, 2, 3, -5}) EXPECT_FALSE(ChooseRow(rows, row, false).nm) << row;
    const RowChoice unreadable = ChooseRow({}, 1, true);
    EXPECT_FALSE(unreadable.nm);
    EXPECT_EQ(unreadable.message, kNoUserWavelengths);
}

TEST(WaveNames, UserFileLinesAndFaults) {
    const auto entries = ParseUserWavelengths(
        "Blau | violett|405\r\n"  // a bar in the name: split at the last one
        "Komma|  1064,5 \n"       // a comma decimal, blanks around it
        "ohne Strich 532\n"       // no bar
        "neg|-5\nnull|0\nwinzig|10e-55\nriesig|1e9\nnan|nan\ntext|rot\nleer|\n"
        "Gr\xfcn|532");  // Windows-1252
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Blau | violett");
    EXPECT_EQ(entries[0].nm, 405.0f);
    EXPECT_EQ(entries[1].nm, 1064.5f);
    EXPECT_EQ(entries[2].name, "Grün");
    EXPECT_EQ(UserRow(entries[0]), "    405.0       \tBlau | violett");
    // Binary noise and very long lines end without a crash.
    std::string noise(200000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
    EXPECT_LE(ParseUserWavelengths(noise).size(), noise.size());

    // The folder is made when missing; a file that cannot be read leaves the list unreadable.
    test::TempDir dir;
    const auto file = UserWavelengthFile(dir / "Raysketcher.INI");
    EXPECT_EQ(file, dir / "UserData" / "WaveLen.lst");
    const UserList missing = ReadUserWavelengths(file);
    EXPECT_TRUE(std::filesystem::is_directory(file.parent_path()));
    EXPECT_FALSE(missing.readable);
    std::ofstream(file) << "Diode|808\n";
    const UserList read = ReadUserWavelengths(file);
    EXPECT_TRUE(read.readable);
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].nm, 808.0f);
    EXPECT_FALSE(read.notRead);
    // A missing file is no news; one that is there but too big is named with the reason.
    EXPECT_FALSE(missing.notRead);
    std::ofstream(file, std::ios::app) << std::string(kMaxUserFileBytes, '\n');
    const UserList huge = ReadUserWavelengths(file);
    EXPECT_FALSE(huge.readable);
    EXPECT_TRUE(huge.entries.empty());
    ASSERT_TRUE(huge.notRead);
    EXPECT_EQ(huge.notRead->Message(),
              "\"" + file.string() + "\" wurde nicht gelesen: größer als 4 MiB");
}

TEST(WaveNames, AtMouseStaysOnTheScreen) {
    const ScreenRect screen{0, 0, 1280, 800};
    EXPECT_EQ(AtMouse(100, 100, 300, 200, screen), (WindowPoint{100, 100}));
    EXPECT_EQ(AtMouse(1100, 100, 300, 200, screen), (WindowPoint{800, 100}));  // right edge
    EXPECT_EQ(AtMouse(100, 700, 300, 200, screen), (WindowPoint{100, 500}));   // bottom edge
    EXPECT_EQ(AtMouse(1100, 700, 300, 200, screen), (WindowPoint{800, 500}));  // corner
    EXPECT_EQ(AtMouse(980, 600, 300, 200, screen), (WindowPoint{980, 600}));   // just fits
}

}  // namespace
}  // namespace rs::wavelengths
