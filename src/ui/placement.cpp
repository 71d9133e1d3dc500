#include "ui/placement.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/settings.h"
#include "text/number_text.h"
#include "text/strings.h"

namespace rs::ui {
namespace {

// One direction: position and size along it.
void Fit(double& pos, double& size, double def, double screen, bool missing) {
    if (missing || !(size >= 1)) {
        size = def >= 1 ? def : screen / 3;
        pos = screen / 2 - size / 2;
    }
    if (size >= screen) size = 0.9 * screen;
    if (!(pos >= 0)) pos = 0;  // also a NaN from a damaged file
}

}  // namespace

WindowRect RestorePlacement(const std::optional<WindowRect>& stored, double defaultWidth,
                            double defaultHeight, double screenWidth, double screenHeight) {
    WindowRect r = stored.value_or(WindowRect{});
    Fit(r.top, r.height, defaultHeight, screenHeight, !stored);
    Fit(r.left, r.width, defaultWidth, screenWidth, !stored);
    return r;
}

WindowRect PlaceOnScreen(const std::optional<WindowRect>& stored, double defaultWidth,
                         double defaultHeight, double leastWidth, double leastHeight,
                         double screenWidth, double screenHeight) {
    WindowRect r =
        RestorePlacement(stored, std::max(defaultWidth, leastWidth),
                         std::max(defaultHeight, leastHeight), screenWidth, screenHeight);
    // The window is never smaller than its controls need; what then reaches past the right or
    // bottom edge moves back onto the screen, as far as its top left corner allows.
    const auto fit = [](double& pos, double& size, double least, double screen) {
        size = std::max(size, least);
        if (pos + size > screen) pos = std::max(0.0, screen - size);
    };
    fit(r.top, r.height, leastHeight, screenHeight);
    fit(r.left, r.width, leastWidth, screenWidth);
    return r;
}

WindowRect MainWindowPlacement(const app::IniFile& settings, double leastWidth, double leastHeight,
                               double screenWidth, double screenHeight) {
    constexpr double kDefaultWidth = 12300;
    constexpr double kDefaultHeight = 8400;
    std::optional<WindowRect> stored;
    if (const auto p = app::ReadFormPosition(settings, kMainFormName)) {
        stored = WindowRect{(*p)[0], (*p)[1], (*p)[2], (*p)[3]};
    }
    return PlaceOnScreen(stored, kDefaultWidth, kDefaultHeight, leastWidth, leastHeight,
                         screenWidth, screenHeight);
}

app::WriteStatus StoreMainWindowPlacement(app::IniFile& settings, const WindowRect& placement) {
    return app::WriteFormPosition(
        settings, kMainFormName,
        {placement.top, placement.left, placement.height, placement.width});
}

std::optional<WindowRect> ReadApFieldPlotLocation(const app::UserSettingsStore& store,
                                                  const char* section) {
    const std::string raw = store.Get(section, kApFieldPlotKey, "");
    const auto f = text::SplitFields(raw, '|');
    if (f.size() < 4) return std::nullopt;
    for (std::size_t i = 0; i < 4; ++i) {
        if (text::TrimBlanks(f[i]).empty()) return std::nullopt;
    }
    return WindowRect{text::ReadNumberTolerant(f[1]), text::ReadNumberTolerant(f[0]),
                      text::ReadNumberTolerant(f[3]), text::ReadNumberTolerant(f[2])};
}

void StoreApFieldPlotLocation(app::UserSettingsStore& store, const WindowRect& placement,
                              const char* section) {
    std::string value;
    for (const double v : {placement.left, placement.top, placement.width, placement.height}) {
        value += text::ShortestText(v) + "|";
    }
    store.Save(section, kApFieldPlotKey, value);
}

}  // namespace rs::ui
