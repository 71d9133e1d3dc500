#pragma once
// The standard f-number button (comApFNosStandard): a list of the engraved f-numbers; the chosen
// one is entered into the aperture value box as if the user had typed it.
#include <optional>

#include "app/user_settings_store.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace rs::ui {

// The list window (frmApFNosStandard) as a port: the chosen entry 0..26, or nothing on Cancel.
class FNumberPicker {
public:
    virtual ~FNumberPicker() = default;
    virtual std::optional<int> Display() = 0;
};

// Whether the button can be used: while the chosen aperture parameter is the f-number at
// infinity (an engraved f-number means nothing as a stop radius or an aperture).
bool StandardFNumbersAvailable(const WindowState& state);

// The button: first the hint, while the user has not answered No to it (kept per user), then
// the list; a chosen entry's own text is entered into the aperture value box.
void ChooseStandardFNumber(MainWindow& window, FNumberPicker& picker, Dialogs& dialogs,
                           app::UserSettingsStore& store);

}  // namespace rs::ui
