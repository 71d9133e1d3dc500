#include "app/held_lens.h"

#include <cmath>

#include "beam/beam_design.h"
#include "engine/catalogue.h"
#include "engine/numbers.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::app {
using text::Tr;
namespace {

// A lens has between two and four surfaces; a damaged value must not make the reader build more.
constexpr std::size_t kMaxSurfaces = 8;

const engine::Selection& FocalSelection(const DesignState& s) {
    return s.beam.beamMode ? s.beam.axes[0].selection : s.paraxial.params;
}
int FocalIndex(const DesignState& s) {
    return s.beam.beamMode ? int{beam::kGbFocal} : int{engine::kFocal};
}

std::string SurfaceText(const analysis::CatalogueSurface& s) {
    using text::ShortestText;
    return ShortestText(s.radius) + "," + ShortestText(s.semiDiameter) + "," +
           ShortestText(s.thickness) + "," + ShortestText(s.index) + "," + ShortestText(s.abbe) +
           "," + s.glass;
}

std::optional<double> Number(std::string_view field) {
    const auto v = text::ParseTypedNumber(field);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<float> Single(std::string_view field) {
    const auto v = Number(field);
    if (!v || !engine::FitsFloat(*v)) return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<analysis::CatalogueSurface> ParseSurface(std::string_view text) {
    const auto f = text::SplitFields(text, ',', 6);
    if (f.size() != 6) return std::nullopt;
    analysis::CatalogueSurface s;
    double* numbers[] = {&s.radius, &s.semiDiameter, &s.thickness, &s.index, &s.abbe};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto v = Number(f[i]);
        if (!v) return std::nullopt;
        *numbers[i] = *v;
    }
    if (!(s.semiDiameter > 0.0) || s.thickness < 0.0 || s.index < 1.0) return std::nullopt;
    s.glass = std::string(text::TrimBlanks(f[5]));
    return s;
}

}  // namespace

double DesignWavelengthNm(const DesignState& state) {
    return state.beam.beamMode ? state.beam.WavelengthNm()
                               : state.paraxial.options.TestWavelength();
}

std::optional<analysis::ThickLens> HeldThickLens(const DesignState& state) {
    const engine::OptionState& o = state.paraxial.options;
    if (!state.lens || o.mirrorMode) return std::nullopt;
    return analysis::ThickLensOf(state.lens->surfaces, DesignWavelengthNm(state), o.ObjectIndex(),
                                 o.ImageIndex());
}

std::optional<float> ChosenFocal(const DesignState& state) {
    const engine::Selection& sel = FocalSelection(state);
    const auto pos = sel.Find(FocalIndex(state));
    if (!pos || !sel.ValueDefined(*pos)) return std::nullopt;
    return sel.Value(*pos);
}

void ForgetEditedLens(DesignState& state) {
    if (!state.lens) return;
    const engine::OptionState& o = state.paraxial.options;
    const auto focal = ChosenFocal(state);
    const bool kept = !o.mirrorMode && focal && *focal == state.lens->focal &&
                      static_cast<float>(o.PrincipalPlaneSeparation()) == state.lens->separation;
    if (!kept) state.lens.reset();
}

std::string HeldLensTitle(const DesignState& state) {
    if (!state.lens) return {};
    std::string title = Tr("Katalog-Linse: ") + state.lens->code;
    if (!state.lens->description.empty()) title += " " + state.lens->description;
    if (state.lens->turned) title += Tr(" [gewendet]");
    return title;
}

std::vector<engine::ResultRow> HeldLensRows(const DesignState& state,
                                            const engine::ParaxialDesign& shown,
                                            const engine::ReportUnits& units) {
    const auto lens = HeldThickLens(state);
    if (!lens || state.beam.beamMode) return {};
    const bool valid = !shown.bCalcInvalid;
    const engine::ParamTable& p = shown.paramTable;
    const analysis::VertexDistances vertex =
        analysis::VertexDistancesOf(*lens, p.Get(engine::kObjDist), p.Get(engine::kImgDist));
    auto distance = [&](int index, double v, bool atInfinity) -> std::string {
        if (!valid) return {};
        if (atInfinity) return Tr(" In Unendlich");
        return engine::ValueText(shown, units, index, engine::ClampToFloat(v));
    };
    auto length = [&](double v) -> std::string {
        if (!valid) return {};
        return engine::ValueText(shown, units, engine::kFocal, engine::ClampToFloat(v));
    };
    const bool objectAtInfinity =
        shown.options.objAtInfinity || p.Get(engine::kObjDist) == engine::kInfinity;
    return {
        engine::NamedRow(Tr(kFrontVertexRow),
                         distance(engine::kObjDist, vertex.front, objectAtInfinity),
                         kFrontVertexRow),
        engine::NamedRow(Tr(kBackVertexRow),
                         distance(engine::kImgDist, vertex.back, engine::ImageAtInfinity(shown)),
                         kBackVertexRow),
        engine::NamedRow(Tr(kLensThicknessRow), length(lens->thickness), kLensThicknessRow),
        engine::NamedRow(Tr(kBackFocalRow), length(lens->backFocal), kBackFocalRow),
    };
}

std::vector<std::pair<std::string, std::string>> HeldLensKeys(const HeldLens& lens) {
    std::vector<std::pair<std::string, std::string>> keys = {
        {kHeldLensKey, lens.code + "|" + (lens.turned ? "True" : "False") + "|" +
                           text::ShortestText(lens.focal) + "|" +
                           text::ShortestText(lens.separation) + "|" + lens.description}};
    for (std::size_t i = 0; i < lens.surfaces.size(); ++i) {
        keys.emplace_back(kHeldLensSurfaceKey + std::to_string(i + 1),
                          SurfaceText(lens.surfaces[i]));
    }
    return keys;
}

std::optional<HeldLens> ParseHeldLens(
    const std::function<std::string(const std::string& key)>& read) {
    const std::string text = read(kHeldLensKey);
    const auto f = text::SplitFields(text, '|', 5);
    if (f.size() != 5) return std::nullopt;
    HeldLens lens;
    lens.code = std::string(text::TrimBlanks(f[0]));
    lens.turned = text::TrimBlanks(f[1]) == "True";
    const auto focal = Single(f[2]);
    const auto separation = Single(f[3]);
    if (lens.code.empty() || !focal || !separation) return std::nullopt;
    lens.focal = *focal;
    lens.separation = *separation;
    lens.description = std::string(text::TrimBlanks(f[4]));
    for (std::size_t i = 1; i <= kMaxSurfaces; ++i) {
        const std::string surface = read(kHeldLensSurfaceKey + std::to_string(i));
        if (surface.empty()) break;
        auto parsed = ParseSurface(surface);
        if (!parsed) return std::nullopt;
        lens.surfaces.push_back(std::move(*parsed));
    }
    if (lens.surfaces.size() < 2 || !analysis::ThickLensOf(lens.surfaces, 587.6)) {
        return std::nullopt;
    }
    return lens;
}

}  // namespace rs::app
