#include "ui/catalogue_lens_choice.h"

#include <cmath>

#include "analysis/thick_lens.h"
#include "app/held_lens.h"
#include "beam/beam_design.h"
#include "engine/continuity.h"
#include "engine/numbers.h"
#include "text/tr.h"
#include "ui/image_formats.h"
#include "ui/main_window.h"

namespace rs::ui {
namespace {

constexpr const char* kMirrorRefusal =
    text::TrNoop("Eine Katalog-Linse lässt sich nicht in ein Spiegelsystem übernehmen.");
constexpr const char* kNoPowerRefusal = text::TrNoop(
    "Diese Linse hat bei der gewählten Wellenlänge und den gewählten Medien keine Brechkraft.");
constexpr const char* kNoFocalRefusal = text::TrNoop(
    "Um eine Katalog-Linse zu übernehmen, muss die Brennweite f' einer der gewählten Parameter "
    "sein.");

// The paraxial f' entry, joining the selection when there is room and the combination allows
// it; nothing otherwise.
engine::CVarType* ParaxialFocalEntry(engine::ParaxialDesign& p) {
    if (!p.params.Contains(engine::kFocal)) {
        if (p.params.Full() || !p.AddParam(engine::kFocal, true).ok()) return nullptr;
        if (engine::CheckCombination(p.params, engine::kFocal)) return nullptr;
    }
    return &p.params.Entry(*p.params.Find(engine::kFocal));
}

}  // namespace

LensTake TakeCatalogueLens(app::DesignState& d, const analysis::CatalogueLens& lens, bool turned) {
    engine::OptionState& o = d.paraxial.options;
    if (o.mirrorMode) return {false, kMirrorRefusal};
    const std::vector<analysis::CatalogueSurface> surfaces =
        turned ? analysis::TurnedRound(lens.surfaces) : lens.surfaces;

    // The figures hold for the wavelength and media in force once the options are on.
    engine::OptionState on = o;
    on.advOptions = true;
    const auto thick = analysis::ThickLensOf(
        surfaces, d.beam.beamMode ? d.beam.WavelengthNm() : on.TestWavelength(), on.ObjectIndex(),
        on.ImageIndex());
    if (!thick || !engine::FitsFloat(thick->focal) || !engine::FitsFloat(thick->separation)) {
        return {false, kNoPowerRefusal};
    }
    const auto focal = static_cast<float>(thick->focal);
    const auto separation = static_cast<float>(thick->separation);

    const app::DesignState before = d;
    const double margin = d.paraxial.Margin();
    if (d.beam.beamMode) {
        engine::Selection& sel = d.beam.axes[0].selection;
        const auto pos = sel.Find(beam::kGbFocal);
        if (!pos) return {false, kNoFocalRefusal};
        MainWindow::StoreBeamValue(d, beam::kGbFocal, focal);
        engine::ExtendLimitsToValue(sel.Entry(*pos), focal, 1.0, margin);
    } else {
        engine::CVarType* entry = ParaxialFocalEntry(d.paraxial);
        if (!entry) {
            d = before;
            return {false, kNoFocalRefusal};
        }
        SetGeneralValue(d, *entry, focal);
        engine::ExtendLimitsToValue(*entry, focal, 1.0, margin);
    }
    o.advOptions = true;
    o.advanced.separation = separation;
    d.lens = app::HeldLens{std::string(lens.Code()),
                           analysis::DisplayText(lens, false),
                           turned,
                           surfaces,
                           focal,
                           separation};
    const bool changed = d.paraxial.params != before.paraxial.params ||
                         d.beam.axes[0].selection != before.beam.axes[0].selection ||
                         o != before.paraxial.options || d.lens != before.lens;
    return {changed, std::nullopt};
}

std::optional<double> OfferedStopRadius(const app::DesignState& d) {
    const auto thick = app::HeldThickLens(d);
    if (!thick || d.beam.beamMode) return std::nullopt;
    return thick->clearAperture;
}

bool UseOfferedStopRadius(app::DesignState& d) {
    const auto radius = OfferedStopRadius(d);
    if (!radius || !engine::FitsFloat(*radius)) return false;
    engine::Selection& aperture = d.paraxial.aperture;
    const auto r = static_cast<float>(*radius);
    if (!aperture.Contains(engine::kStopRadius)) {
        aperture.Clear();
        if (!d.paraxial.AddAperture(engine::kStopRadius, true).ok()) return false;
    }
    engine::CVarType& entry = aperture.Entry(*aperture.Find(engine::kStopRadius));
    if (entry.bVarValDef && entry.sVarValue == r) return false;
    entry.sVarValue = r;
    entry.bVarValDef = true;
    engine::ExtendLimitsToValue(entry, r, 1.0, d.paraxial.Margin());
    return true;
}

}  // namespace rs::ui
