#include "beam/diode.h"

#include <cmath>

#include "beam/beam_extras.h"
#include "beam/gaussian_beam.h"
#include "engine/numbers.h"

namespace rs::beam {
namespace {

double At(const BeamAxis& axis, int index) {
    return axis.table[static_cast<std::size_t>(index)];
}

// A selection record for `index`, with `value` when it can be kept in one.
engine::CVarType Record(int index, std::optional<double> value) {
    engine::CVarType e;
    e.nVarType = static_cast<std::int16_t>(index);
    if (value && engine::FitsFloat(*value)) {
        e.sVarValue = static_cast<float>(*value);
        e.bVarValDef = true;
    }
    return e;
}

// True when the record has a value that is not 0.
bool HasNonZero(const engine::CVarType& e) {
    return e.bVarValDef && e.sVarValue != 0.0f;
}

}  // namespace

bool Circularising(const BeamDesign& design) {
    return design.diode.diodeMode && design.diode.circularise;
}

double CircularisedObjectDistance(int collimationMode, double focal, double objRayleigh) {
    return collimationMode == kCollimateMaxWaistDistance ? focal + objRayleigh : focal;
}

void ApplyCircularisedObjectDistance(BeamDesign& design, int axis, bool objBeamKnown) {
    BeamAxis& a = design.Axis(axis);
    engine::Selection& sel = a.selection;
    if (sel.Count() != 3 || sel.Index(1) != kGbFocal || sel.Index(2) != kGbObjDist ||
        !IsObjectBeam(sel.Index(3))) {
        return;
    }
    const int mode = design.diode.collimationMode;
    if (mode == kCollimateMaxWaistDistance && !objBeamKnown) return;
    const double s = CircularisedObjectDistance(mode, sel.Value(1), At(a, kGbObjRayleigh));
    // An object distance that cannot be held leaves the axis without a solution rather than
    // solving with the one that was typed.
    engine::CVarType& entry = sel.Entry(2);
    const bool ok = engine::FitsFloat(s);
    entry.sVarValue = ok ? static_cast<float>(s) : 0.0f;
    entry.bVarValDef = ok && sel.ValueDefined(1);
}

bool BuildAxis1(BeamDesign& design) {
    const BeamAxis& a0 = design.axes[0];
    BeamAxis& a1 = design.axes[1];
    a1.selection.Clear();

    const int kind = DiodeParamKind(design);
    const double v = DiodeParamValue(design);
    auto& stored = design.diode.paramValues[static_cast<std::size_t>(kind)];
    if (stored == 0.0 && v > 0.0 && engine::FitsFloat(v)) stored = v;  // the first read keeps it

    const double f0 = At(a0, kGbFocal), s0 = At(a0, kGbObjDist);
    std::optional<double> f1 = f0, s1 = s0;
    if (!(v > 0.0) || !engine::FitsFloat(v)) {
        f1 = s1 = std::nullopt;
    } else if (Circularising(design)) {
        // The second cylinder makes its outgoing beam match the first one's. In both collimation
        // modes a cylinder turns an object divergence w into an image waist proportional to
        // f'·w, and the real beam's divergence is M·w (the embedded Gaussian's times M), so the
        // real image waists agree when f1·M1·w1 = f0·M0·w0. Expressed through the given kind:
        // w = λ/(π r) and w = √(λ/(π zr)). The Rayleigh length is the same for the real and the
        // embedded beam, so the object distances of the modes need no M. With equal M the
        // factor M0/M1 is exactly 1 and the result is that of a pure Gaussian.
        const double mRatio = MFactor(design, 0) / MFactor(design, 1);
        const double r0 = std::fabs(At(a0, kGbObjRadius));
        const double w0 = At(a0, kGbObjDiv), zr0 = At(a0, kGbObjRayleigh);
        if (kind == kGbObjDiv) {
            f1 = f0 * w0 / v * mRatio;
        } else if (kind == kGbObjRadius) {
            f1 = r0 > 0.0 ? std::optional(f0 * v / r0 * mRatio) : std::nullopt;
        } else {
            f1 = zr0 > 0.0 ? std::optional(f0 * std::sqrt(v / zr0) * mRatio) : std::nullopt;
        }
        // Same offset from the focal point as on axis 0; the solve then moves it by the rule of
        // the collimation mode.
        s1 = f1 ? std::optional(*f1 + (s0 - f0)) : std::nullopt;
    }
    const engine::CVarType records[] = {Record(kGbFocal, f1), Record(kGbObjDist, s1),
                                        Record(kind, v > 0.0 ? std::optional(v) : std::nullopt)};
    bool complete = true;
    for (const auto& r : records) {
        a1.selection.Add(r.nVarType, r);
        complete = complete && r.bVarValDef;
    }
    return complete;
}

void ReshapeAxis0ForCircularisation(BeamDesign& design) {
    if (!Circularising(design)) return;
    BeamAxis& a = design.axes[0];
    const engine::Selection old = a.selection;
    const int n = old.Count();

    // Every way in ends with f', s and one object-beam parameter. A single beam parameter and
    // the third of a full selection are kept; otherwise the divergence, the diode's usual datum.
    int beam = kGbObjDiv;
    if (n == 1 && old.Index(1) >= kGbObjRadius) beam = old.Index(1);
    if (n == 3 && old.Index(3) >= kGbObjRadius) beam = old.Index(3);
    if (IsImageBeam(beam)) {
        beam -= 3;  // the same kind on the object side
        design.diode.paramKind = beam;
    } else if (!IsObjectBeam(beam)) {
        beam = kGbObjDiv;
    }

    // A parameter that joins takes its solved value while the last solve was valid.
    const bool solved = !a.resultInvalid && a.valuesDefined;
    auto entryFor = [&](int index) {
        if (auto pos = old.Find(index)) return old.At(*pos);
        return Record(index, solved ? std::optional(At(a, index)) : std::nullopt);
    };
    engine::CVarType focal = entryFor(kGbFocal), dist = entryFor(kGbObjDist);
    if (!focal.bVarValDef && HasNonZero(dist)) {
        focal.sVarValue = dist.sVarValue;
        focal.bVarValDef = true;
    } else if (HasNonZero(focal)) {
        dist.sVarValue = focal.sVarValue;
        dist.bVarValDef = true;
    }

    engine::Selection reshaped(old.Capacity());
    for (const engine::CVarType& e : {focal, dist, entryFor(beam)}) reshaped.Add(e.nVarType, e);
    a.selection = reshaped;
}

std::optional<CoupledValue> CoupledConjugateValue(const BeamDesign& design, int editedIndex,
                                                  double editedValue) {
    if (!Circularising(design)) return std::nullopt;
    const bool maxDistance = design.diode.collimationMode == kCollimateMaxWaistDistance;
    const double zr = maxDistance ? At(design.axes[0], kGbObjRayleigh) : 0.0;
    if (editedIndex == kGbFocal) return CoupledValue{kGbObjDist, editedValue + zr};
    if (editedIndex == kGbObjDist) return CoupledValue{kGbFocal, editedValue - zr};
    return std::nullopt;
}

namespace {

// The object-beam kind of axis 0's third parameter, while it has three.
std::optional<int> ForcedKind(const BeamDesign& design) {
    const engine::Selection& sel = design.axes[0].selection;
    if (sel.Count() != 3) return std::nullopt;
    const int third = sel.Index(3);
    if (IsObjectBeam(third)) return third;
    if (IsImageBeam(third)) return third - 3;
    return std::nullopt;
}

// The value of `kind` for the beam that `fromKind` = `value` describes at the design's
// wavelength; nothing when that describes no beam.
std::optional<double> SameBeamAs(const BeamDesign& design, int fromKind, double value, int kind) {
    const auto beam = TripleFrom(fromKind, value, design.WavelengthMm());
    if (!beam) return std::nullopt;
    return kind == kGbObjRadius ? beam->radius
           : kind == kGbObjDiv  ? beam->divergence
                                : beam->rayleigh;
}

}  // namespace

int DiodeParamKind(const BeamDesign& design) {
    if (const auto forced = ForcedKind(design)) return *forced;
    const int stored = design.diode.paramKind;
    return IsObjectBeam(stored) ? stored : kGbObjDiv;
}

bool DiodeParamKindForced(const BeamDesign& design) {
    return ForcedKind(design).has_value();
}

void AdoptDiodeParamKind(BeamDesign& design) {
    DiodeSettings& diode = design.diode;
    const int kind = DiodeParamKind(design);
    if (diode.paramKind == kind) return;
    if (IsObjectBeam(diode.paramKind)) {
        const double stored = diode.paramValues[static_cast<std::size_t>(diode.paramKind)];
        if (const auto v = SameBeamAs(design, diode.paramKind, stored, kind)) {
            diode.paramValues[static_cast<std::size_t>(kind)] = *v;
        }
    }
    diode.paramKind = kind;
}

bool SetDiodeParamKind(BeamDesign& design, int kind) {
    if (!IsObjectBeam(kind) || DiodeParamKindForced(design)) return false;
    // Axis 1 keeps its beam, solved or not: the new kind takes the same beam's value.
    const auto v = SameBeamAs(design, DiodeParamKind(design), DiodeParamValue(design), kind);
    design.diode.paramKind = kind;
    if (v) design.diode.paramValues[static_cast<std::size_t>(kind)] = *v;
    return true;
}

double DiodeParamValue(const BeamDesign& design) {
    const int kind = DiodeParamKind(design);
    const double stored = design.diode.paramValues[static_cast<std::size_t>(kind)];
    // A beam parameter counts by its magnitude (a radius carried through a negative
    // magnification is stored with its sign).
    return stored != 0.0 ? stored : std::fabs(At(design.axes[0], kind));
}

bool SetDiodeParamValue(BeamDesign& design, double value) {
    if (!(value > 0.0) || !engine::FitsFloat(value)) return false;
    design.diode.paramValues[static_cast<std::size_t>(DiodeParamKind(design))] = value;
    return true;
}

bool BeamCheckBoxEnabled(const BeamDesign& design, int index) {
    if (!IsSelectableBeamIndex(index)) return false;
    return !Circularising(design) || IsObjectBeam(index);
}

}  // namespace rs::beam
