#pragma once
// Where a window opens: its stored placement, repaired to fit the screen, or a default size
// centred on the screen. The main window's numbers are twips, as the settings file keeps them;
// the aperture/field plot window's are pixels, as the per-user store keeps them.
#include <optional>

#include "app/ini_file.h"
#include "app/user_settings_store.h"

namespace rs::ui {

struct WindowRect {
    double top = 0;
    double left = 0;
    double height = 0;
    double width = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// `stored` is top, left, height, width as read from "FormPositions" (nothing when missing).
// A height or width below 1 takes the default (a third of the screen when the default is below
// 1 too) and is centred in that direction; a size not smaller than the screen becomes 90 % of
// it; a negative top or left becomes 0.
WindowRect RestorePlacement(const std::optional<WindowRect>& stored, double defaultWidth,
                            double defaultHeight, double screenWidth, double screenHeight);

// A window's place: `stored`, or the default size centred when nothing is stored (as
// RestorePlacement repairs it), then at least the least size, and moved back onto the screen
// where it would reach past the right or bottom edge, as far as its top left corner allows.
WindowRect PlaceOnScreen(const std::optional<WindowRect>& stored, double defaultWidth,
                         double defaultHeight, double leastWidth, double leastHeight,
                         double screenWidth, double screenHeight);

// The main window's name in the settings file's "FormPositions".
inline constexpr const char* kMainFormName = "frmRaysketch";

// The main window's placement from the settings file: 12300 by 8400 twips by default, or what
// its controls need (`leastWidth`, `leastHeight`) when that is more. A window that would reach
// past the right or bottom edge of the screen is moved back onto it. Whatever the file holds
// (1e15, -1e15, NaN, ...), the result is finite, at least the least size, no bigger than the
// screen unless the least size is, and its top left corner lies on the screen.
WindowRect MainWindowPlacement(const app::IniFile& settings, double leastWidth, double leastHeight,
                               double screenWidth, double screenHeight);

// Stores the main window's placement under "FormPositions".
app::WriteStatus StoreMainWindowPlacement(app::IniFile& settings, const WindowRect& placement);

// The aperture/field plot window's placement in the per-user store: left, top, width and height
// in pixels from the usable screen's top left corner, each followed by "|" ("40|60|900|700|").
inline constexpr const char* kApFieldPlotSection = "ApFieldPlot";
inline constexpr const char* kApFieldPlotKey = "Location";
// Nothing when missing or when a number is missing. The study window keeps its place the same
// way under its own section.
inline constexpr const char* kStudyWindowSection = "StudyWindow";
std::optional<WindowRect> ReadApFieldPlotLocation(const app::UserSettingsStore& store,
                                                  const char* section = kApFieldPlotSection);
void StoreApFieldPlotLocation(app::UserSettingsStore& store, const WindowRect& placement,
                              const char* section = kApFieldPlotSection);

}  // namespace rs::ui
