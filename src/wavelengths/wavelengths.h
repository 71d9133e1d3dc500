#pragma once
// Wavelengths to pick for the beam: the laser lines and the spectral lines of glass catalogues
// (built once, read-only), and the user's own list from the text file "WaveLen.lst" in the folder
// "UserData" beside the settings file. Also the rows the picker's three grids show, the rows it
// remembers per user, the choice of a row, and where the picker window opens.
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/file_read.h"

namespace rs::wavelengths {

struct WaveRecord {
    // A name may hold one "|": the part before it is the first name column, the part after it
    // the second (laser lines: a tab and a note such as "main"; glass lines: the source).
    std::string name;
    float nm = 0.0f;
};

const std::vector<WaveRecord>& LaserLines();           // 81 lines
const std::vector<WaveRecord>& GlassCatalogueLines();  // 22 lines

// The name's two columns, split at its first "|"; the second is empty without one.
struct NameParts {
    std::string first;
    std::string second;
    bool bar = false;
};
NameParts SplitName(std::string_view name);

// --- The user's list -----------------------------------------------------------------------------

// "UserData/WaveLen.lst" in the folder of the settings file; empty without a settings file.
std::filesystem::path UserWavelengthFile(const std::filesystem::path& settingsFile);

struct UserList {
    bool readable = false;  // the file could be read
    std::vector<WaveRecord> entries;
    // The file is there but was not read (too big, a folder, a pipe, no permission): the user
    // is told why instead of seeing an empty list. Nothing for a file that does not exist.
    std::optional<text::FileNotRead> notRead;
};

// One entry per line: a name, "|" (the last one of the line: names may hold one) and the
// wavelength in nm with a point or a comma, blanks around it allowed. Lines without a bar, or
// with anything but a finite wavelength above 0 and below 1e7 nm, are skipped. Text that is
// not UTF-8 is read as Windows-1252.
std::vector<WaveRecord> ParseUserWavelengths(std::string_view text);
// Reads the file, creating its folder when it is missing (unless `createFolder` is false); not
// readable (and empty) when the file is missing, cannot be opened, is no regular file or is
// larger than a user list can sensibly be (kMaxUserFileBytes).
inline constexpr std::size_t kMaxUserFileBytes = std::size_t{4} << 20;
UserList ReadUserWavelengths(const std::filesystem::path& file, bool createFolder = true);

// --- The picker's grids ---------------------------------------------------------------------

enum class WaveList { Laser = 0, GlassCat = 1, User = 2 };

// A grid row as tab-separated cells: the wavelength (with its lead of spaces) and the name parts.
std::string LaserRow(const WaveRecord& record);
std::string GlassRow(const WaveRecord& record);
std::string UserRow(const WaveRecord& record);  // with the entry's name after the wavelength

// The per-user store's section and keys of the remembered rows.
inline constexpr std::string_view kRememberSection = "WaveLine";
std::string_view RememberKey(WaveList list);  // "Laser", "GlassCat", "User"

// The row (1-based) to preselect from a remembered text: nothing for 0, a row beyond the list
// or a text that is not a whole number.
std::optional<int> PreselectedRow(std::string_view remembered, int rowCount);

// A click on row `row` (1-based) of a list: the wavelength when the row holds one above 0;
// nothing for the header, the empty area below the rows or an empty list. A click in the user
// grid while the file could not be read gives the message instead.
struct RowChoice {
    std::optional<float> nm;
    std::optional<std::string> message;
};
RowChoice ChooseRow(std::span<const WaveRecord> rows, int row, bool userListUnreadable);
inline constexpr std::string_view kNoUserWavelengths =
    "Es wurden keine beutzerdefinierten Wellenlängen gefunden.";

// The beam wavelength box text for a chosen wavelength: "632.8000".
std::string BoxText(float nm);

// --- Placement ----------------------------------------------------------------------------------

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct WindowPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};
// The top-left corner of a window of the given size put at (x, y): left of the point when it
// would reach past the screen's right edge, above it when past the bottom edge.
WindowPoint AtMouse(int x, int y, int width, int height, const ScreenRect& screen);

}  // namespace rs::wavelengths
