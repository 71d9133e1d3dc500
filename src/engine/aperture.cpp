#include "engine/aperture.h"

#include <cmath>

#include "engine/numbers.h"

namespace rs::engine {
namespace {

// First dark ring of the Airy pattern in units of lambda/NA'.
constexpr double kAiryFactor = 0.61;

// What the aperture figures take from the solved system.
struct System {
    double n = 1.0;     // object-side index
    double nImg = 1.0;  // image-side index (negative behind a mirror)
    double lambda = 0.0;
    double a = 0.0;   // object distance
    double ap = 0.0;  // image distance
    double fp = 0.0;  // focal length
};

System SystemOf(const ParaxialDesign& design) {
    const OptionState& opt = design.options;
    // The wavelength enters in mm through a single-precision 1e-6, as it always has.
    return {opt.ObjectIndex(),
            opt.ImageIndex(),
            opt.TestWavelength() * static_cast<double>(1e-6f),
            design.paramTable.Get(kObjDist),
            design.paramTable.Get(kImgDist),
            design.paramTable.Get(kFocal)};
}

// Stores a figure as a single; false when it does not fit one.
bool Put(ApertureTable& table, int index, double v) {
    if (!FitsFloat(v)) return false;
    table.Set(index, static_cast<float>(v));
    return true;
}

// The stop radius r is the master figure; every other one follows from it. The NA derivations
// are the exact inverses of the NA formulas in DeriveFigures, in any medium. An Airy radius
// passes through NA', which it stores on the way.
std::optional<double> StopRadius(int chosen, double value, const System& s, ApertureTable& table) {
    switch (chosen) {
        case kStopRadius:
            return value;
        case kFNumber:
            if (value == 0.0) return std::nullopt;
            return s.fp / (2.0 * value);
        case kNA: {
            const auto angle = ArcSin(value / s.n);
            if (!angle) return std::nullopt;
            return std::fabs(s.a) * std::tan(*angle);
        }
        case kNAImage: {
            const auto angle = ArcSin(value / s.nImg);
            if (!angle) return std::nullopt;
            return std::fabs(s.ap) * std::tan(*angle);
        }
        case kAiryRadius: {
            const double naImg = value == 0.0 ? 0.0 : kAiryFactor * s.lambda / value;
            if (!Put(table, kNAImage, naImg)) return std::nullopt;
            return static_cast<double>(table.Get(kNAImage)) * s.ap / s.nImg;
        }
        default:
            return std::nullopt;
    }
}

// Every figure the user did not choose, from the stored stop radius r.
bool DeriveFigures(int chosen, double r, const System& s, ApertureTable& table) {
    if (chosen != kNA &&
        !Put(table, kNA, s.a == 0.0 ? 0.0 : s.n * std::sin(std::atan(r / std::fabs(s.a))))) {
        return false;
    }
    if (chosen != kNAImage && chosen != kAiryRadius &&
        !Put(table, kNAImage,
             s.ap == 0.0 ? 0.0 : s.nImg * std::sin(std::atan(r / std::fabs(s.ap))))) {
        return false;
    }
    if (chosen != kFNumber && !Put(table, kFNumber, r == 0.0 ? 0.0 : s.fp / (2.0 * r))) {
        return false;
    }
    if (chosen == kAiryRadius) return true;
    const double airy = table.Get(kNAImage) == 0.0f
                            ? 0.0
                            : std::fabs(kAiryFactor * s.lambda * std::fabs(s.ap) / (r * s.nImg));
    return Put(table, kAiryRadius, airy);
}

}  // namespace

bool ComputeCardinalPoints(ParaxialDesign& design) {
    const double e = design.options.PrincipalPlaneSeparation();
    const double fp = design.paramTable.Get(kFocal);
    const double f = design.paramTable.Get(kObjFocal);
    std::array<double, kCardinalCount> pos{};
    pos[kP] = 0.0;
    pos[kPImage] = pos[kP] + e;
    pos[kF] = pos[kP] + f;
    pos[kFImage] = pos[kPImage] + fp;
    pos[kN] = pos[kF] + fp;
    pos[kNImage] = pos[kFImage] + f;
    for (double p : pos) {
        if (!FitsFloat(p)) return false;
    }
    for (std::size_t i = 0; i < pos.size(); ++i) design.cardinal[i] = static_cast<float>(pos[i]);
    return true;
}

std::optional<double> ArcSin(double x) {
    if (!(std::fabs(x) < 1.0)) return std::nullopt;
    return std::atan(x / std::sqrt(1.0 - x * x));
}

ApertureOutcome ComputeAperture(ParaxialDesign& design) {
    design.bApertureUndefined = false;
    if (design.aperture.Count() == 0 || !design.aperture.ValueDefined(1)) {
        design.bApertureUndefined = true;
        return ApertureOutcome::Undefined;
    }
    const int chosen = design.aperture.Index(1);
    const double value = design.aperture.Value(1);
    const System s = SystemOf(design);

    // Work on a copy so that a failure leaves the previous figures untouched.
    ApertureTable table = design.apertureTable;
    if (!Put(table, chosen, value)) return ApertureOutcome::Failed;
    const auto radius = StopRadius(chosen, value, s, table);
    if (!radius || !Put(table, kStopRadius, *radius)) return ApertureOutcome::Failed;
    const double r = table.Get(kStopRadius);
    if (!DeriveFigures(chosen, r, s, table)) return ApertureOutcome::Failed;

    // Cut-off 2·NA'/lambda, negative for a virtual image (a' < 0 behind a lens, a' > 0 in front
    // of a mirror, where n' < 0).
    if (s.ap == 0.0) return ApertureOutcome::Failed;
    const double cutOff = 2.0 * s.nImg * std::fabs(r) / (s.ap * s.lambda);
    if (!FitsFloat(cutOff)) return ApertureOutcome::Failed;

    design.apertureTable = table;
    design.mtfCutOff = static_cast<float>(cutOff);
    return ApertureOutcome::Computed;
}

double EffectiveFNumber(const ParaxialDesign& design) {
    const double ap = design.paramTable.Get(kImgDist);
    const double r = design.apertureTable.Get(kStopRadius);
    if (ap == 0.0 || r == 0.0) return 0.0;
    return std::fabs(ap / (2.0 * r));
}

}  // namespace rs::engine
