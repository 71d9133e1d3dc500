#pragma once
// The whole design as the program keeps it between runs: the paraxial design with its options,
// the display units, the depth-of-field choices, the window's drawing flags and the beam
// settings. One object, owned by the window (or the command-line program), loaded from and saved
// to the settings file.

#include <optional>
#include <string>
#include <vector>

#include "analysis/catalogue_lenses.h"
#include "analysis/dof.h"
#include "beam/beam_design.h"
#include "beam/caustic_fit.h"
#include "engine/paraxial_design.h"
#include "units/units.h"

namespace rs::app {

// Flags of the main window that the settings file keeps.
struct WindowOptions {
    int unitType = 0;  // symbol set: 0 standard, 1 the user's
    bool hideRemConj = false;
    bool drawPoints = false;
    bool positiveObj = false;
    bool drawHaltingRay = false;  // construction rays
    // Image height taken from the image-format list, and which entry.
    bool imgHgtFixed = false;
    int imgHgtOption = 0;

    friend bool operator==(const WindowOptions&, const WindowOptions&) = default;
};

// A catalogue lens taken into the design: which one, its surfaces front to back as it stands
// (turned round or not), and the f' and e it set. The design holds it while its f' and e keep
// those values; a hand-made change of either lets it go (app/held_lens.h).
struct HeldLens {
    std::string code;
    std::string description;
    bool turned = false;
    std::vector<analysis::CatalogueSurface> surfaces;
    float focal = 0.0f;
    float separation = 0.0f;

    friend bool operator==(const HeldLens&, const HeldLens&) = default;
};

// The measured beam of the "Messung" tab, kept between runs: the table (mm), where the element
// stands on the measurement's z axis (mm), and the units its columns are shown and typed in.
struct MeasurementState {
    beam::MeasurementTable table;
    double elementPosition = 0.0;
    int zUnit = units::kMillimetre;
    int dUnit = units::kMillimetre;

    friend bool operator==(const MeasurementState&, const MeasurementState&) = default;
};

// A study of one mode: a chosen parameter run over a range, with one or two numeric rows of the
// result list plotted against it. Empty names or an unset range give the mode's default.
struct StudyChoice {
    std::string parameter;  // as a sweep plan names it ("a", "Blendenzahl")
    bool rangeSet = false;  // else the parameter's slider limits
    double from = 0.0;      // in display units
    double to = 0.0;
    bool logarithmic = false;
    std::string quantity;   // a result row's name
    std::string quantity2;  // on the right axis; empty: none

    friend bool operator==(const StudyChoice&, const StudyChoice&) = default;
};

struct DesignState {
    engine::ParaxialDesign paraxial;
    units::UnitState units;
    analysis::DofOptions dof;
    analysis::DofResults dofResults;
    WindowOptions window;
    beam::BeamDesign beam;
    std::optional<HeldLens> lens;
    MeasurementState measurement;
    StudyChoice study;      // the paraxial mode's study
    StudyChoice studyBeam;  // the beam mode's study
};

}  // namespace rs::app
