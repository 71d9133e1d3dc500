#include "analysis/dof.h"

#include <cmath>
#include <cstddef>

#include "engine/aperture.h"
#include "engine/catalogue.h"
#include "engine/numbers.h"
#include "text/strings.h"
#include "text/tr.h"
#include "text/vb_format.h"

namespace rs::analysis {
using text::Tr;
using text::TrNoop;
namespace {

using engine::ParaxialDesign;

constexpr std::array<std::string_view, kDofRowCount> kRowNames = {
    TrNoop("Unschärfekreis"), TrNoop("Abbildungstiefe"), TrNoop("Schärfentiefe/Objekt"),
    TrNoop("Nahpunkt"),       TrNoop("Fernpunkt"),       TrNoop("Fixfokusentfernung"),
};

constexpr std::string_view kDashes = "  ---";
constexpr const char* kNoApertureText = TrNoop("Apertur muss groesser Null sein");
constexpr const char* kFaultText = TrNoop("Fehler in Schärfentiefeberechnung");
constexpr const char* kAiryWarningText = TrNoop(
    "Der gewählte geometrische Unschärfekreis ist kleiner als der theoretisch mögliche "
    "beugungsbegrenzte Spotdurchmesser (Airy-Durchmesser)");

// Distances of this magnitude stand for infinity, whatever unit they are shown in.
constexpr double kInfiniteMagnitude = 1e20;

std::size_t Slot(int index) {
    return static_cast<std::size_t>(index);
}

// A unit without a usable factor would turn every figure into a division fault; such a unit
// falls back to plain millimetres.
DofDisplayUnit Usable(DofDisplayUnit unit) {
    if (!(std::isfinite(unit.factor) && unit.factor > 0.0)) return DofDisplayUnit{};
    return unit;
}

// Every entry is checked before it is stored, so an arithmetic fault ends the evaluation
// without leaving a non-finite figure behind.
bool Put(DofResults& results, int index, double value) {
    if (!std::isfinite(value)) return false;
    results.values[Slot(index)] = value;
    return true;
}

// At the hyperfocal distance (1 + k = 0) and beyond it the far limit lies at infinity; a
// quotient that leaves the range of finite distances means the same.
double FarLimit(double a, double k) {
    const double farDen = 1.0 + k;
    if (farDen == 0.0) return kDofInfinity;
    const double far = -a / farDen;
    return far > 0.0 && far < kInfiniteMagnitude ? far : kDofInfinity;
}

// The object-side figures: hyperfocal distance, near and far limit and the depth of field
// between them. False when one of them cannot be computed.
bool PutObjectSide(DofResults& results, double fp, double a, double c, double fNumber) {
    const double cF = c * fNumber;
    if (cF == 0.0) return false;
    if (!Put(results, kDofHyperfocal, (fp / cF + 1.0) * fp)) return false;

    const double fp2 = fp * fp;
    if (fp2 == 0.0) return false;
    const double k = (fp + a) * c * fNumber / fp2;
    if (!std::isfinite(k)) return false;

    const double nearDen = 1.0 - k;
    if (nearDen == 0.0) return false;
    if (!Put(results, kDofNear, -a / nearDen)) return false;

    const double farLimit = FarLimit(a, k);
    Put(results, kDofFar, farLimit);

    // A depth of field reaching to infinity is itself infinite; it keeps the marker rather
    // than a difference that would only be close to it.
    const double field =
        farLimit == kDofInfinity ? kDofInfinity : farLimit - results.values[Slot(kDofNear)];
    return Put(results, kDofField, field);
}

}  // namespace

double CircleOfConfusion(const DofOptions& options, const ParaxialDesign& design) {
    switch (options.cocType) {
        case kCoCCustom:
            return options.cocCustom;
        case kCoCDiffraction:
            // Without a defined aperture the aperture table still holds the figures of an
            // earlier system; they say nothing about this one.
            if (design.bApertureUndefined) return 0.0;
            return 2.0 *
                   std::fabs(static_cast<double>(design.apertureTable.Get(engine::kAiryRadius)));
        default:
            return 0.0;
    }
}

void ComputeDOF(const DofOptions& options, const ParaxialDesign& design, DofResults& results) {
    results.valid = false;
    const double c = CircleOfConfusion(options, design);
    if (!Put(results, kDofCoC, c)) return;

    const double fe = engine::EffectiveFNumber(design);
    // The stored f-number carries the sign of f' or of the stop radius, depending on which
    // aperture figure was entered, and a mirror has the opposite sign of f' to the equivalent
    // lens. The blur only depends on the size of the aperture, so its magnitude is used.
    const double fNumber =
        std::fabs(static_cast<double>(design.apertureTable.Get(engine::kFNumber)));
    double fp = design.paramTable.Get(engine::kFocal);
    if (design.options.mirrorMode) fp = -fp;
    const double a = design.paramTable.Get(engine::kObjDist);

    if (fp == 0.0 || fe == 0.0 || c == 0.0) {
        for (int i = kDofFocusDepth; i < kDofRowCount; ++i) results.values[Slot(i)] = 0.0;
        results.valid = true;
        return;
    }

    if (!Put(results, kDofFocusDepth, fe * c)) return;
    results.valid = PutObjectSide(results, fp, a, c, fNumber);
}

bool SetCoCCustom(DofOptions& options, double mm) {
    if (!(mm > 0.0 && engine::FitsFloat(mm))) return false;
    const float value = static_cast<float>(mm);
    // A value below the smallest single would be stored as 0.
    if (value == 0.0f) return false;
    if (engine::SameValue(value, options.cocCustom)) return false;
    options.cocCustom = value;
    return true;
}

std::string FormatSmallLength(double value, std::string_view unit) {
    const double x = std::fabs(value);
    // Zero has no meaningful scale; it is always shown in millimetres.
    if (x == 0.0) return " 0.0mm";
    std::string_view pattern;
    if (x > 10) {
        pattern = " 0.0;-0.0";
    } else if (x > 1) {
        pattern = " 0.0#;-0.0#";
    } else if (x > 0.1) {
        pattern = " 0.00#;-0.00#";
    } else if (x > 0.01) {
        pattern = " 0.000#;-0.000#";
    } else if (x > 0.001) {
        pattern = " 0.0000#;-0.0000#";
    } else if (x > 0.0001) {
        pattern = " 0.00000#;-0.00000#";
    } else {
        pattern = " 0.00e+0;-0.00e+0";
    }
    return text::Format(value, pattern) + std::string(unit);
}

std::string FormatDistance(double value, std::string_view unit) {
    const double x = std::fabs(value);
    if (x == 0.0) return " 0.0";
    if (x >= kInfiniteMagnitude) return " Infinity";
    std::string_view pattern;
    if (x > 1e6 || !(x > 0.001)) {
        pattern = " 0.00e+0;-0.00e+0";  // very large and very small distances
    } else if (x > 1000) {
        pattern = " 0;-0";
    } else if (x > 1) {
        pattern = " 0.00;-0.00";
    } else if (x > 0.1) {
        pattern = " 0.000;-0.000";
    } else if (x > 0.01) {
        pattern = " 0.0000;-0.0000";
    } else {
        pattern = " 0.00000;-0.00000";
    }
    return text::Format(value, pattern) + std::string(unit);
}

DofPanel BuildDofPanel(const DofOptions& options, const DofResults& results,
                       const ParaxialDesign& design, const DofUnitLookup& unitFor) {
    DofPanel panel;
    for (std::size_t i = 0; i < kRowNames.size(); ++i) panel.names[i] = Tr(kRowNames[i]);

    const bool noAperture = engine::EffectiveFNumber(design) == 0.0 || design.bApertureUndefined;
    if (noAperture || design.bCalcInvalid || !results.valid) {
        panel.values.fill(std::string(kDashes));
        // A failed solve already tells its own story; the panel only stays quiet.
        if (!design.bCalcInvalid) {
            if (noAperture) {
                panel.status = Tr(kNoApertureText);
                panel.statusColour = kColourYellow;
            } else {
                panel.status = Tr(kFaultText);
                panel.statusColour = kColourRed;
            }
        }
        return panel;
    }

    for (int row = 0; row < kDofRowCount; ++row) {
        double value = results.values[Slot(row)];
        // Object-side positions are negative in the sign convention of the system.
        if (row >= kDofNear) value = -value;
        std::string text;
        if (row != kDofCoC && std::fabs(value) >= kInfiniteMagnitude) {
            // Decided in millimetres: in a large unit the marker would turn into a finite
            // looking number.
            text = FormatDistance(value, "");
        } else {
            const DofDisplayUnit unit = Usable(unitFor ? unitFor(row, value) : DofDisplayUnit{});
            const double shown = value / unit.factor;
            text = row == kDofCoC ? FormatSmallLength(shown, unit.suffix)
                                  : FormatDistance(shown, unit.suffix);
        }
        panel.values[Slot(row)] =
            row == kDofFocusDepth ? "±" + std::string(text::TrimBlanks(text)) : " " + text;
    }

    const double airyDiameter =
        2.0 * std::fabs(static_cast<double>(design.apertureTable.Get(engine::kAiryRadius)));
    if (options.cocType == kCoCCustom && airyDiameter > results.values[Slot(kDofCoC)]) {
        panel.status = Tr(kAiryWarningText);
        panel.statusColour = kColourRed;
    }
    return panel;
}

std::string CustomCoCText(const DofOptions& options, const ParaxialDesign& design,
                          const DofDisplayUnit& unit) {
    const DofDisplayUnit u = Usable(unit);
    return FormatSmallLength(CircleOfConfusion(options, design) / u.factor, u.suffix);
}

}  // namespace rs::analysis
