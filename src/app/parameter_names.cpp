#include "app/parameter_names.h"

#include "beam/beam_design.h"
#include "engine/aperture.h"
#include "text/tr.h"

namespace rs::app {

std::vector<ParameterName> ParameterNames(const DesignState& design, bool chosenOnly) {
    std::vector<ParameterName> names;
    if (design.beam.beamMode) {
        const engine::Selection& chosen = design.beam.axes[0].selection;
        for (int i = 0; i < beam::kBeamTableSize; ++i) {
            if (chosenOnly ? !chosen.Contains(i) : !beam::IsSelectableBeamIndex(i)) continue;
            names.push_back({{i, false}, design.beam.symbols.Param(i)});
        }
        return names;
    }
    const engine::ParaxialDesign& p = design.paraxial;
    for (int i = 0; i <= engine::kImgAngle; ++i) {
        if (chosenOnly && !p.params.Contains(i)) continue;
        names.push_back({{i, false}, p.symbols.Param(i)});
    }
    // Aperture parameters have no symbol: the first word of their name ("Blendenzahl").
    for (int i = 0; i <= engine::kNAImage; ++i) {
        if (chosenOnly && !p.aperture.Contains(i)) continue;
        const std::string_view label = engine::ApertureLabel(i);
        names.push_back({{i, true}, std::string(label.substr(0, label.find(' ')))});
    }
    return names;
}

std::optional<NamedParameter> FindParameter(const DesignState& design, std::string_view name,
                                            bool chosenOnly) {
    for (const ParameterName& n : ParameterNames(design, chosenOnly)) {
        if (name == n.name ||
            (!n.parameter.aperture && name == std::to_string(n.parameter.index))) {
            return n.parameter;
        }
    }
    return std::nullopt;
}

std::string NotChosenMessage(const DesignState& design, std::string_view option,
                             std::string_view name) {
    std::string chosen;
    for (const ParameterName& n : ParameterNames(design, true))
        chosen += (chosen.empty() ? "" : ", ") + n.name;
    return NotChosenText(option, name, chosen);
}

std::string NotChosenText(std::string_view option, std::string_view name, std::string_view chosen) {
    return std::string(option) + ": " +
           (chosen.empty()
                ? text::TrFormat(
                      "\"%1\" ist kein gewählter Parameter des Systems (es ist keiner gewählt)",
                      {name})
                : text::TrFormat("\"%1\" ist kein gewählter Parameter des Systems (gewählt: %2)",
                                 {name, chosen}));
}

}  // namespace rs::app
