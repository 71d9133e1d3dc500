#pragma once
// The window's rules for choosing parameters and entering their values, as functions of the
// design alone: the check boxes and value boxes of the window and the command line's --choose
// and --set refuse the same things with the same words.
#include <optional>
#include <string>

#include "app/design_state.h"
#include "text/tr.h"
#include "ui/dialogs.h"

namespace rs::ui {

// What checking or unchecking a parameter's box did: whether the design changed, and the
// message the window shows when the box was refused.
struct ChoiceOutcome {
    bool changed = false;
    std::optional<std::string> message;
    Icon icon = Icon::None;
};

// chkVarType(index), 0..8: a fourth parameter simply stays unchecked (no message); a combination
// that is not allowed takes the new parameter back out, with the reason.
ChoiceOutcome ChooseParam(app::DesignState& d, int index, bool checked);
// chkVarTypeAp(index), 0..3: a second aperture parameter stays unchecked.
ChoiceOutcome ChooseAperture(app::DesignState& d, int index, bool checked);
// chkVarTypeGB(index), 0..10: a new beam parameter starts from the values last solved.
ChoiceOutcome ChooseBeamParam(app::DesignState& d, int index, bool checked);

// Why a value (internal units) for general parameter `index` is refused: a half-field angle stays
// within ±90°, as value, limit or slider position alike. Beam indices name other quantities.
std::optional<const char*> AngleRefusal(bool beamMode, int index, double value);

// The sign convention makes a real object's distance negative: a positive object distance (or
// limit) is asked for again unless virtual objects are allowed.
bool NeedsRealObject(const app::DesignState& d, int index, double value);
inline constexpr const char* kObjDistPrompt = text::TrNoop(
    "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen Objekts "
    "negativ! \n\n");
inline constexpr const char* kObjDistLimitPrompt = text::TrNoop(
    "Entsprechend der üblichen Vorzeichenkonvention ist der Abstand eines realen Objekts "
    "negativ. Deshalb muss der Grenzwert ebenfalls negativ sein! \n\n");

// F-numbers are at least 1, every other aperture figure at least 0 (in display units). The
// prompt that asks again when `displayValue` breaks the rule, or nothing.
std::optional<const char*> ApertureRuleRefusal(int index, double displayValue,
                                               const char* positivePrompt);
inline constexpr const char* kFNumberPrompt =
    text::TrNoop("Blendenzahl ist immer größer als 1! \n\n");
inline constexpr const char* kAperturePositivePrompt =
    text::TrNoop("Aperturwerte müssen positiv sein!\n\n");
inline constexpr const char* kAperturePositiveUpperPrompt =
    text::TrNoop(" Aperturwerte müssen positiv sein!\n\n");

// Stores an accepted value (internal units) of chosen general or beam parameter `entry` as a
// typed value is stored: its limits widen to take it; a beam value moves its coupled partner.
void StoreTypedValue(app::DesignState& d, engine::CVarType& entry, double value,
                     bool fromImageFormat = false);
// The same for the chosen aperture parameter.
void StoreApertureValue(app::DesignState& d, double value);

}  // namespace rs::ui
