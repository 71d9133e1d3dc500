#pragma once
// popEditParamWave, the wavelength picker of the beam mode: the laser lines, the spectral lines
// of glass catalogues and the user's own list, one grid each on three tabs. A click on a line,
// or Enter on the current line, picks its wavelength; Escape or "&Abbrechen" picks nothing. It
// opens beside the button that called it, at the size it had when it last closed, with the
// line last picked from each list made current.
#include <QDialog>
#include <QPoint>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "app/user_settings_store.h"
#include "ui/dialogs.h"
#include "wavelengths/wavelengths.h"

class QTableWidget;

namespace rs::gui {

// The picker's size in the per-user store: top, left, height and width in pixels, joined by
// "|"; only the size is used, the place is always beside the button.
inline constexpr const char* kPickerPlaceSection = "FormPositions";
inline constexpr const char* kPickerPlaceKey = "popEditParamWave";

class PopEditParamWave final : public QDialog {
public:
    // Reads the user's list (beside `settingsFile`) and fills the grids. The ports must outlive
    // the picker.
    PopEditParamWave(app::UserSettingsStore& store, ui::Dialogs& dialogs,
                     const std::filesystem::path& settingsFile, QWidget* parent = nullptr);

    // Shows the picker modally with its top left corner at `anchor` (global), to the left of it
    // or above it where the screen would end first; the chosen wavelength in nm, or nothing.
    std::optional<float> Pick(QPoint anchor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    struct WaveGrid {
        wavelengths::WaveList list = wavelengths::WaveList::Laser;
        QTableWidget* table = nullptr;
        std::vector<wavelengths::WaveRecord> records;
        int pressedRow = 0;  // 1-based line under the last mouse press, 0 for none
    };

    QTableWidget* MakeGrid(WaveGrid& grid, const std::vector<wavelengths::WaveRecord>& records,
                           std::string (*row)(const wavelengths::WaveRecord&),
                           const QStringList& header);
    // Line `row` (1-based; 0 for none) of `grid` chosen: picks it, says why it cannot, or does
    // nothing.
    void Choose(WaveGrid& grid, int row);
    // The line under `pos` of the grid's viewport, 1-based; 0 for the empty area.
    static int RowAt(const WaveGrid& grid, QPoint pos);
    QSize RestoredSize(const QRect& screen) const;

    app::UserSettingsStore& store_;
    ui::Dialogs& dialogs_;
    bool userUnreadable_ = false;
    std::optional<text::FileNotRead> userNotRead_;  // why the user's file was not read
    std::array<WaveGrid, 3> grids_;
    std::optional<float> chosen_;
};

// The picker for the wavelength button `button`, opened at its bottom left corner.
std::optional<float> PickWavelength(QWidget* button, app::UserSettingsStore& store,
                                    ui::Dialogs& dialogs,
                                    const std::filesystem::path& settingsFile);

}  // namespace rs::gui
