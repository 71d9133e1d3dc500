#include "ui/standard_fnumbers.h"

#include "analysis/f_stops.h"
#include "engine/catalogue.h"

namespace rs::ui {

bool StandardFNumbersAvailable(const WindowState& state) {
    const engine::Selection& aperture = state.design.paraxial.aperture;
    return state.machine.IsIdle() && !state.design.beam.beamMode && aperture.Count() == 1 &&
           aperture.Index(1) == engine::kFNumber;
}

void ChooseStandardFNumber(MainWindow& window, FNumberPicker& picker, Dialogs& dialogs,
                           app::UserSettingsStore& store) {
    if (!StandardFNumbersAvailable(window.State())) return;
    // Only "No" silences the hint; a missing or unreadable setting shows it.
    if (store.Get(analysis::kFStopSection, analysis::kFStopKey, "Yes") != "No" &&
        dialogs.YesNo(analysis::FStopMessage(), Icon::Question) == Answer::No) {
        store.Save(analysis::kFStopSection, analysis::kFStopKey, "No");
    }
    const std::optional<int> entry = picker.Display();
    if (!entry || analysis::StandardFNumberText(*entry).empty()) return;
    window.ApplyApertureValue(analysis::StandardFNumberText(*entry));
}

}  // namespace rs::ui
