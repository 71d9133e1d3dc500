#pragma once
// How the command line names a design's parameters: by the symbol the result list shows (a, f',
// in the beam mode s, ...) or by catalogue index, an aperture parameter by the first word of its
// name (Blendenzahl). --sweep, --choose and --set all read names this way.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/design_state.h"

namespace rs::app {

struct NamedParameter {
    int index = 0;
    bool aperture = false;  // an aperture parameter of the paraxial mode
    friend bool operator==(const NamedParameter&, const NamedParameter&) = default;
};

// The parameters of the design's mode with their names, in catalogue order (the general ones
// before the aperture ones): only the chosen ones, or every one the window offers a box for.
struct ParameterName {
    NamedParameter parameter;
    std::string name;
};
std::vector<ParameterName> ParameterNames(const DesignState& design, bool chosenOnly);

// The parameter called `name` among ParameterNames(design, chosenOnly); nothing when none is.
std::optional<NamedParameter> FindParameter(const DesignState& design, std::string_view name,
                                            bool chosenOnly);

// "<option>: "NAME" ist kein gewählter Parameter des Systems (gewählt: a, f')": the German
// message for a name that is not among the chosen parameters, listing those.
std::string NotChosenMessage(const DesignState& design, std::string_view option,
                             std::string_view name);
// The same message with the chosen names `chosen` already listed ("a, f'"; empty for none).
std::string NotChosenText(std::string_view option, std::string_view name, std::string_view chosen);

}  // namespace rs::app
