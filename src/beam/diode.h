#pragma once
// The diode-laser mode: a rectangular beam handled as two independent Gaussian axes that share
// the element and the object distance; with circularisation, two crossed cylinders, one per
// axis, whose focal lengths make the beam leave both with the same size.
#include <optional>

#include "beam/beam_design.h"

namespace rs::beam {

// Circularisation and its collimation modes.
inline constexpr int kCollimateMinDivergence = 0;     // object waist in the front focal plane
inline constexpr int kCollimateMaxWaistDistance = 1;  // image waist as far out as it can be

// True while diode mode and circularisation are both on.
bool Circularising(const BeamDesign& design);

// The object distance an element of focal length f' gets under circularisation: f' in the
// minimum-divergence mode, f' + zr in the maximum-waist-distance mode (any other mode counts as
// the first).
double CircularisedObjectDistance(int collimationMode, double focal, double objRayleigh);

// While circularising, rewrites the object-distance entry of an axis whose selection is f', s
// and an object-beam parameter from its f' entry and the axis's object Rayleigh length (already
// in the table). `objBeamKnown` tells whether that Rayleigh length was derived. Runs inside the
// axis solve, before the entries are used.
void ApplyCircularisedObjectDistance(BeamDesign& design, int axis, bool objBeamKnown);

// Replaces axis 1's selection by f', s and the diode parameter, from axis 0's solution (which
// must be valid). Returns false when a value could not be formed; its entry is then left
// without a value, so the solve of axis 1 finds no solution.
bool BuildAxis1(BeamDesign& design);

// Turns axis 0's selection into f', s and an object-beam parameter when circularisation is
// switched on in diode mode; does nothing otherwise.
void ReshapeAxis0ForCircularisation(BeamDesign& design);

// While circularising, editing f' or s of axis 0 rewrites the other one at once.
struct CoupledValue {
    int index = 0;
    double value = 0.0;
};
// The new value of the partner of `editedIndex` (0 or 1) after it was set to `editedValue`;
// nothing when not circularising or for another index.
std::optional<CoupledValue> CoupledConjugateValue(const BeamDesign& design, int editedIndex,
                                                  double editedValue);

// The object-beam index (5..7) whose value axis 1 is given: that of axis 0's third selected
// parameter while axis 0 has three (an image-side one counts as its object-side kind), else the
// stored kind, 6 when the stored one is no object-beam index.
int DiodeParamKind(const BeamDesign& design);
// True while axis 0's third parameter decides the kind: the list shows that kind and takes no
// choice, and the settings file receives it with its value.
bool DiodeParamKindForced(const BeamDesign& design);
// A stored kind that axis 0 overrules (its third parameter changed, or a file holds a kind
// chosen while it was forced) gives way to the kind in force; its value describes axis 1's beam,
// so the forced kind takes the value of the same beam at the design's wavelength (and keeps its
// own when the stored value describes no beam). Every solve in diode mode runs it first.
void AdoptDiodeParamKind(BeamDesign& design);
// Choosing a kind in the list: stores it with the value of the same beam, solved or not. False
// (nothing changed) for an index outside 5..7 and while the kind is forced.
bool SetDiodeParamKind(BeamDesign& design, int kind);
// The value of the current kind: the stored one, or axis 0's current value of that index while
// none (0) is stored.
double DiodeParamValue(const BeamDesign& design);
// The value box: accepted (and stored for the current kind) when finite and greater than 0.
bool SetDiodeParamValue(BeamDesign& design, double value);

// Whether beam check box `index` can be used: while circularising only the object-beam boxes;
// the waist-to-waist distance never.
bool BeamCheckBoxEnabled(const BeamDesign& design, int index);

}  // namespace rs::beam
