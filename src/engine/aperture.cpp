#include "engine/aperture.h"

#include <cmath>

#include "engine/numbers.h"

namespace rs::engine {
namespace {

// First dark ring of the Airy pattern in units of lambda/NA'.
constexpr double kAiryFactor = 0.61;

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

    const OptionState& opt = design.options;
    const double n = opt.ObjectIndex(), nImg = opt.ImageIndex();
    // The wavelength enters in mm through a single-precision 1e-6, as it always has.
    const double lambda = opt.TestWavelength() * static_cast<double>(1e-6f);
    const double a = design.paramTable.Get(kObjDist);
    const double ap = design.paramTable.Get(kImgDist);
    const double fp = design.paramTable.Get(kFocal);

    // Work on a copy so that a failure leaves the previous figures untouched.
    ApertureTable table = design.apertureTable;
    auto put = [&table](int i, double v) {
        if (!FitsFloat(v)) return false;
        table.Set(i, static_cast<float>(v));
        return true;
    };
    if (!put(chosen, value)) return ApertureOutcome::Failed;

    // The stop radius r is the master figure; every other one follows from it. The NA
    // derivations are the exact inverses of the NA formulas below, in any medium.
    double r = 0.0;
    switch (chosen) {
        case kStopRadius:
            r = value;
            break;
        case kFNumber:
            if (value == 0.0) return ApertureOutcome::Failed;
            r = fp / (2.0 * value);
            break;
        case kNA: {
            const auto angle = ArcSin(value / n);
            if (!angle) return ApertureOutcome::Failed;
            r = std::fabs(a) * std::tan(*angle);
            break;
        }
        case kNAImage: {
            const auto angle = ArcSin(value / nImg);
            if (!angle) return ApertureOutcome::Failed;
            r = std::fabs(ap) * std::tan(*angle);
            break;
        }
        case kAiryRadius: {
            const double naImg = value == 0.0 ? 0.0 : kAiryFactor * lambda / value;
            if (!put(kNAImage, naImg)) return ApertureOutcome::Failed;
            r = static_cast<double>(table.Get(kNAImage)) * ap / nImg;
            break;
        }
        default:
            return ApertureOutcome::Failed;
    }
    if (!put(kStopRadius, r)) return ApertureOutcome::Failed;
    r = table.Get(kStopRadius);

    if (chosen != kNA && !put(kNA, a == 0.0 ? 0.0 : n * std::sin(std::atan(r / std::fabs(a))))) {
        return ApertureOutcome::Failed;
    }
    if (chosen != kNAImage && chosen != kAiryRadius &&
        !put(kNAImage, ap == 0.0 ? 0.0 : nImg * std::sin(std::atan(r / std::fabs(ap))))) {
        return ApertureOutcome::Failed;
    }
    if (chosen != kFNumber && !put(kFNumber, r == 0.0 ? 0.0 : fp / (2.0 * r))) {
        return ApertureOutcome::Failed;
    }
    if (chosen != kAiryRadius) {
        const double airy = table.Get(kNAImage) == 0.0f
                                ? 0.0
                                : std::fabs(kAiryFactor * lambda * std::fabs(ap) / (r * nImg));
        if (!put(kAiryRadius, airy)) return ApertureOutcome::Failed;
    }

    // Cut-off 2·NA'/lambda, negative for a virtual image (a' < 0 behind a lens, a' > 0 in front
    // of a mirror, where n' < 0).
    if (ap == 0.0) return ApertureOutcome::Failed;
    const double cutOff = 2.0 * nImg * std::fabs(r) / (ap * lambda);
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
