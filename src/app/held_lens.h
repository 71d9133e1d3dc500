#pragma once
// The catalogue lens a design holds, seen from the design: its thick-lens figures at the
// design's wavelength and media, when the design lets it go, the result rows it adds, and how
// the settings file keeps it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/thick_lens.h"
#include "app/design_state.h"
#include "engine/report.h"
#include "text/tr.h"

namespace rs::app {

// Names of the rows a held lens adds to the paraxial result list.
inline constexpr const char* kFrontVertexRow = text::TrNoop("Objekt bis erster Scheitel");
inline constexpr const char* kBackVertexRow = text::TrNoop("Letzter Scheitel bis Bild");
inline constexpr const char* kLensThicknessRow = text::TrNoop("Linsendicke");
inline constexpr const char* kBackFocalRow = text::TrNoop("Bildseitige Schnittweite");

// The wavelength (nm) the design's figures are computed for: the beam's in beam mode, the test
// wavelength otherwise.
double DesignWavelengthNm(const DesignState& state);

// The held lens's figures at the design's wavelength between its media; nothing without a lens,
// in mirror mode, or for a lens without power there.
std::optional<analysis::ThickLens> HeldThickLens(const DesignState& state);

// The f' the current mode's selection gives by hand, or nothing when f' is not chosen with a
// value.
std::optional<float> ChosenFocal(const DesignState& state);

// Lets the held lens go once the design no longer carries what it set: f' not chosen or with
// another value, another principal-plane separation in effect, or the mirror mode.
void ForgetEditedLens(DesignState& state);

// "Katalog-Linse: CODE Beschreibung [gewendet]" for the printed page and the window; empty
// without a lens.
std::string HeldLensTitle(const DesignState& state);

// The rows a held lens adds to the paraxial list of `shown` (the presented design): the object
// to the first vertex and the last vertex to the image (signed like a and a'), the thickness
// and the back focal length. Empty without a lens.
std::vector<engine::ResultRow> HeldLensRows(const DesignState& state,
                                            const engine::ParaxialDesign& shown,
                                            const engine::ReportUnits& units);

// The settings keys of a held lens: the lens under kHeldLensKey ("code|turned|f'|e|description")
// and each surface under kHeldLensSurfaceKey with its number from 1, every value short enough
// for the file's 199 characters. Read back through `read` (key to value, empty when missing); keys
// that do not describe a lens with power give nothing.
inline constexpr const char* kHeldLensKey = "CatalogueLens";
inline constexpr const char* kHeldLensSurfaceKey = "CatalogueLensSurface";
std::vector<std::pair<std::string, std::string>> HeldLensKeys(const HeldLens& lens);
std::optional<HeldLens> ParseHeldLens(
    const std::function<std::string(const std::string& key)>& read);

}  // namespace rs::app
