#pragma once
// Depth of field of the current paraxial system: the accepted circle of confusion, the depth of
// focus, the near and far limits of sharpness, the hyperfocal distance, and the six-row panel
// that shows them.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/paraxial_design.h"

namespace rs::analysis {

inline constexpr int kDofRowCount = 6;

// Result entries, all in mm.
enum DofIndex : int {
    kDofCoC = 0,         // circle of confusion diameter c
    kDofFocusDepth = 1,  // image-side depth of focus (half width)
    kDofField = 2,       // object-side depth of field, far limit minus near limit
    kDofNear = 3,        // near limit, positive distance in front of the element
    kDofFar = 4,         // far limit, positive distance, or kDofInfinity
    kDofHyperfocal = 5,  // hyperfocal distance, positive distance
};

// A far limit (and so a depth of field) that lies at infinity.
inline constexpr double kDofInfinity = -1e20;

// Circle-of-confusion types.
inline constexpr int kCoCCustom = 0;       // the user's value
inline constexpr int kCoCDiffraction = 1;  // the diffraction-limited spot, twice the Airy radius

inline constexpr float kDefaultCoC = 0.025f;  // mm

struct DofOptions {
    int cocType = kCoCCustom;
    float cocCustom = kDefaultCoC;  // mm
    bool showExtra = false;

    friend bool operator==(const DofOptions&, const DofOptions&) = default;
};

struct DofResults {
    std::array<double, kDofRowCount> values{};
    // True when the last evaluation ran to its end. An evaluation ended by an arithmetic fault
    // leaves the entries it had written and keeps the older ones; none is ever non-finite.
    bool valid = false;
};

// The accepted circle of confusion in mm: the custom value, twice the Airy radius (0 while no
// aperture is defined), or 0 for an unknown type.
double CircleOfConfusion(const DofOptions& options, const engine::ParaxialDesign& design);

// Evaluates the depth of field of the solved design into `results`.
void ComputeDOF(const DofOptions& options, const engine::ParaxialDesign& design,
                DofResults& results);

// Stores a new custom circle of confusion (mm). Values that are not greater than 0, do not fit a
// single, or equal the stored value change nothing; returns true when the value was stored, so
// the caller knows to evaluate again.
bool SetCoCCustom(DofOptions& options, double mm);

// The two number formatters of the panel; both append `unit` where the value has one.
std::string FormatSmallLength(double value, std::string_view unit);
std::string FormatDistance(double value, std::string_view unit);

// Colours of the status line, as 0xBBGGRR numbers.
inline constexpr std::uint32_t kColourRed = 255;
inline constexpr std::uint32_t kColourYellow = 65535;
inline constexpr std::uint32_t kColourWhite = 16777215;

struct DofDisplayUnit {
    double factor = 1;  // mm per display unit
    std::string suffix = "mm";
};

struct DofPanel {
    std::array<std::string, kDofRowCount> names;
    std::array<std::string, kDofRowCount> values;
    std::string status;
    std::uint32_t statusColour = kColourWhite;
};

// The display unit of panel row `row` for a value of `valueMm` (already negated for the
// object-side rows 3..5), so that autoscaling units can pick their scale.
using DofUnitLookup = std::function<DofDisplayUnit(int row, double valueMm)>;

// The panel as shown after a solve or a change of the circle of confusion. `unitFor` may be
// empty: every row is then shown in mm.
DofPanel BuildDofPanel(const DofOptions& options, const DofResults& results,
                       const engine::ParaxialDesign& design, const DofUnitLookup& unitFor);

// Text of the custom-value box: the current circle of confusion in `unit`.
std::string CustomCoCText(const DofOptions& options, const engine::ParaxialDesign& design,
                          const DofDisplayUnit& unit);

}  // namespace rs::analysis
