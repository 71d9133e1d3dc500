#pragma once
// Taking a catalogue lens into the design ("Übernehmen") and offering its clear aperture as the
// stop radius: the state changes the window's handlers make in one change call each.
#include <optional>
#include <string>

#include "analysis/catalogue_lenses.h"
#include "app/design_state.h"

namespace rs::ui {

struct LensTake {
    bool changed = false;
    std::optional<std::string> refusal;  // why the lens cannot be taken, for a message box
};

// Takes `lens` (turned round when `turned`) into the design: the advanced options are switched
// on, f' becomes the lens's paraxial focal length and e its HH', both at the design's wavelength
// between its media, which stay as they are; the design holds the lens from now on. f' is set
// where it is chosen (the paraxial selection, or beam axis 0, whose cylinder it is in diode
// mode); a paraxial selection with room for it gains it. Refused in mirror mode, for a lens
// without power, and when f' is not chosen and cannot join.
LensTake TakeCatalogueLens(app::DesignState& d, const analysis::CatalogueLens& lens, bool turned);

// The stop radius a held lens offers: its clear aperture (mm); nothing without a lens.
std::optional<double> OfferedStopRadius(const app::DesignState& d);

// Makes the offered stop radius the aperture parameter (replacing another aperture parameter);
// false when nothing is offered or it is already so.
bool UseOfferedStopRadius(app::DesignState& d);

}  // namespace rs::ui
