#include "beam/beam_extras.h"

#include <cmath>
#include <optional>

#include "beam/gaussian_beam.h"
#include "engine/numbers.h"
#include "text/number_text.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "units/typed_number.h"

namespace rs::beam {
using text::Tr;
namespace {

constexpr std::array<double, kDofEntryCount> kDofFractions = {0.02, 0.05,   0.1, 0.15,
                                                              0.2,  0.4142, 0.5};
constexpr int kRayleighDofEntry = 5;    // at 41.42 % growth the half depth is zr'
constexpr double kDrawingReach = 20.0;  // focal lengths
constexpr double kRangeStart = 5e20;

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// a / b, or 0 where the quotient has no finite value.
double SafeDiv(double a, double b) {
    if (b == 0.0) return 0.0;
    return Finite(a / b);
}

double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return 0.0;
    const double below = std::floor(x);
    const double diff = x - below;
    if (diff < 0.5) return below;
    if (diff > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

// A typed number, optionally followed by the unit the box shows.
void WidenTo(AxialRange& range, double x) {
    range.min = std::min(range.min, x);
    range.max = std::max(range.max, x);
}

}  // namespace

// --- Gaussian propagation -------------------------------------------------------------------

double BeamRadiusAtDistance(double waistRadius, double z, double wavelengthMm) {
    if (waistRadius == 0.0) return 0.0;
    const double growth = wavelengthMm * z / (engine::kPi * waistRadius * waistRadius);
    // hypot keeps √(1 + g²) finite for any finite g.
    return Finite(waistRadius * std::hypot(1.0, growth));
}

double WavefrontCurvatureRadius(double waistRadius, double z, double wavelengthMm) {
    if (z == 0.0) return kFlatWavefront;
    const double ratio = engine::kPi * waistRadius * waistRadius / (wavelengthMm * z);
    const double radius = z * (1.0 + ratio * ratio);
    return std::isfinite(radius) ? radius : kFlatWavefront;
}

// --- Extras table
// ---------------------------------------------------------------------------------

void ComputeExtras(BeamDesign& design, int axis, const BeamContext& context) {
    BeamAxis& ax = design.Axis(axis);
    const auto& t = ax.table;
    auto& x = ax.extras;
    const double lambda = design.WavelengthMm();
    const double fImg = Finite(t[kGbFocal]);
    const double fObj = Finite(t[kGbObjFocal]);
    const double s = Finite(t[kGbObjDist]);
    const double sImg = Finite(t[kGbImgDist]);
    const double r = Finite(t[kGbObjRadius]);
    const double w = Finite(t[kGbObjDiv]);
    const double zr = Finite(t[kGbObjRayleigh]);
    const double rImg = Finite(t[kGbImgRadius]);
    const double paraxImage = Finite(t[kGbParaxImage]);

    x.fill(0.0);
    x[kExWaist] = 0.0;
    x[kExP] = s;
    x[kExPImage] = Finite(x[kExP] + context.principalPlaneSeparation);
    x[kExF] = Finite(x[kExP] + fObj);
    x[kExFImage] = Finite(x[kExPImage] + fImg);
    x[kExN] = Finite(x[kExF] + fImg);
    x[kExNImage] = Finite(x[kExFImage] + fObj);
    x[kExImageWaist] = Finite(x[kExPImage] + sImg);
    // Without a finite farthest waist (zr = 0 puts it at infinity) the entry holds 0.
    const double reach = SafeDiv(fImg * fImg, 2.0 * zr);
    x[kExImageWaistMax] = reach == 0.0 ? 0.0 : Finite(x[kExPImage] + fImg + reach);
    x[kExDetector] = design.extrasOptions.detectorOn
                         ? Finite(x[kExPImage] + DetectorDistance(design.extrasOptions))
                         : x[kExPImage];
    x[kExGeometricImage] = Finite(x[kExPImage] + paraxImage);
    x[kExRatioS] = SafeDiv(s, fImg);
    x[kExRatioSImage] = SafeDiv(sImg, fImg);
    x[kExRatioZr] = SafeDiv(zr, fImg);
    x[kExRadiusAtElement] = r == 0.0 ? 0.0 : Finite(r * std::hypot(1.0, SafeDiv(w * s, r)));
    // Airy radius 0.61·λ / NA with NA = n'·R / |l'|; no aperture angle, no Airy disc.
    x[kExAiry] = paraxImage == 0.0 ? 0.0
                                   : SafeDiv(0.61 * lambda * std::fabs(paraxImage),
                                             context.imageIndex * x[kExRadiusAtElement]);
    x[kExRadiusAtDetector] =
        design.extrasOptions.detectorOn
            ? BeamRadiusAtDistance(rImg, x[kExDetector] - x[kExImageWaist], lambda)
            : x[kExRadiusAtElement];
}

// --- Beam quality -----------------------------------------------------------------------------

bool IsValidMSquared(double mSquared) {
    // No real beam is better than the Gaussian one (M² = 1).
    return mSquared >= 1.0 && mSquared < kMaxMSquared;
}

double MSquared(const BeamDesign& design, int axis) {
    design.Axis(axis);  // only 0 and 1 have an M²
    const double stored = axis == 0 ? design.extrasOptions.mFactor : design.diode.mFactor;
    return IsValidMSquared(stored) ? stored : 1.0;
}

double MFactor(const BeamDesign& design, int axis) {
    const double m2 = MSquared(design, axis);
    return design.extrasOptions.mFactorUse ? std::sqrt(m2) : 1.0;
}

// --- Detector -----------------------------------------------------------------------------------

double DetectorDistance(const BeamExtrasOptions& options) {
    return RoundHalfEven(options.detectorDistance);
}

// --- Depth of focus -----------------------------------------------------------------------------

double DofFraction(int entry) {
    if (entry < 0 || entry >= kDofEntryCount) return kDefaultDofFraction;
    return kDofFractions[static_cast<std::size_t>(entry)];
}

std::string DofEntryText(int entry) {
    const double p = DofFraction(entry);
    if (entry == kRayleighDofEntry) return text::Format(p, "0.0%") + "   [zr']";
    return text::Format(p, "0%");
}

int DofEntryOf(double fraction) {
    for (int i = 0; i < kDofEntryCount; ++i) {
        if (kDofFractions[static_cast<std::size_t>(i)] == fraction) return i;
    }
    return kDefaultDofEntry;
}

double EffectiveDofFraction(const BeamExtrasOptions& options) {
    const double p = options.dofFraction;
    return std::isfinite(p) && p > 0.0 ? p : kDefaultDofFraction;
}

double HalfDepthOfFocus(const BeamDesign& design) {
    const double rImg = design.axes[0].table[kGbImgRadius];
    const double p = EffectiveDofFraction(design.extrasOptions);
    const double growth = std::sqrt((1.0 + p) * (1.0 + p) - 1.0);
    if (!(design.WavelengthMm() > 0.0)) return 0.0;
    return SafeDiv(engine::kPi * rImg * rImg * growth, design.WavelengthMm());
}

std::string DepthOfFocusText(const BeamDesign& design) {
    const double half = HalfDepthOfFocus(design);
    if (half >= 0.001) return "±" + text::Format(half, "0.0##mm");
    return "±" + text::Format(half * 1000.0, "0.0##um");
}

// --- Minimum-spot tool --------------------------------------------------------------------------

MinSpot ComputeMinSpot(const BeamDesign& design, double distance) {
    MinSpot m;
    const BeamAxis& ax = design.axes[0];
    if (ax.resultInvalid || !std::isfinite(distance) || distance <= 0.0) return m;
    const auto& t = ax.table;
    const double lambda = design.WavelengthMm();
    const double f = Finite(t[kGbFocal]);
    const double sImg = Finite(t[kGbImgDist]);
    const double r = Finite(t[kGbObjRadius]);
    const double zr = Finite(t[kGbObjRayleigh]);
    const double rImg = Finite(t[kGbImgRadius]);
    const double zrImg = Finite(t[kGbImgRayleigh]);
    const double d = distance;

    m.lineCount = 2;
    m.currentRadius = BeamRadiusAtDistance(rImg, d - sImg, lambda);
    const double product = Finite(sImg * (d - sImg));
    const double zrImgSq = Finite(zrImg * zrImg);
    m.current = {sImg, product, zrImgSq, SafeDiv(product, zrImgSq)};

    // With the element and object beam fixed, the radius at D is r·√(A² + (B/zr)²) with
    // A = 1 − D/f' and B = s·(1 − D/f') + D the ray-matrix elements from the object waist to D;
    // only B depends on s, so the minimum is at B = 0, the geometric conjugate of D. Lengths
    // enter only as ratios, so the answer does not depend on the unit.
    if (d == f) return m;
    const double sn = Finite(f * d / (d - f));
    m.lineCount = 3;
    m.objectDistance = sn;

    // Where the Gaussian image waist of that object waist lies, and its magnification.
    const auto snImgResult = formula::G1(sn, f, zr);
    const auto mnResult = formula::G3(sn, f, zr);
    if (!snImgResult || !mnResult) return m;
    const double snImg = *snImgResult;
    const double mn = *mnResult;
    m.lineCount = 6;
    m.imageDistance = snImg;
    m.magnification = mn;
    m.imageProduct = Finite((d - snImg) * snImg);
    m.imageRayleighSquared = Finite(mn * mn * zr * mn * mn * zr);
    m.minimumRadius = BeamRadiusAtDistance(r * mn, d - snImg, lambda);
    return m;
}

std::string MinSpotText(const BeamDesign& design) {
    const MinSpot m = ComputeMinSpot(design, design.extrasOptions.minSpotDistance);
    if (m.lineCount == 0) return {};
    std::string out = Tr("Current radius: ") + text::Format(m.currentRadius, "0.0####mm");
    out += '\n';
    for (std::size_t i = 0; i < m.current.size(); ++i) {
        if (i > 0) out += "   ";
        out += text::Format(m.current[i], "0.00#");
    }
    if (m.lineCount < 3) return out;
    out += "\n" + Tr("geforderter Abstand ") + text::Format(m.objectDistance, "0.0##mm");
    if (m.lineCount < 6) return out;
    out += '\n' + text::Format(m.imageDistance, "0.0##");
    out += '\n' + text::Format(m.imageProduct, "0.0##") + '\t' +
           text::Format(m.imageRayleighSquared, "  0.0##");
    out += "\n" + Tr("minimaler Radius ") + text::Format(m.minimumRadius, "0.0##mm");
    return out;
}

// --- Axial range of the beam drawing ------------------------------------------------------------

AxialRange BeamDrawingRange(const BeamDesign& design, int axis) {
    const BeamAxis& ax = design.Axis(axis);
    const auto& x = ax.extras;
    AxialRange range{kRangeStart, -kRangeStart};
    for (int i = kExP; i <= kExNImage; ++i) WidenTo(range, x[static_cast<std::size_t>(i)]);
    if (design.extrasOptions.detectorOn) WidenTo(range, x[kExDetector]);
    const double margin = 0.02 * std::fabs(range.max - range.min);

    // A waist within 20 focal lengths of the element is drawn; a farther one only extends the
    // range by those 20 focal lengths on its side. Each waist is measured from its own principal
    // plane, so a far-reaching image waist is judged by its distance from the element and not by
    // the object-side s'.
    const double reach = Finite(kDrawingReach * std::fabs(ax.table[kGbFocal]));
    const double s = Finite(ax.table[kGbObjDist]);
    const double sImg = Finite(ax.table[kGbImgDist]);
    const double p = x[kExP];
    const auto widenOrExtend = [&](double position, double distanceFromElement) {
        if (std::fabs(distanceFromElement) < reach) {
            WidenTo(range, position);
        } else if (p < position) {
            range.max += reach;
        } else {
            range.min -= reach;
        }
    };
    if (std::fabs(s) < reach) {
        WidenTo(range, x[kExWaist]);
    } else {
        range.min -= reach;
    }
    widenOrExtend(x[kExImageWaist], sImg);
    widenOrExtend(x[kExImageWaistMax], x[kExImageWaistMax] - x[kExPImage]);
    return {Finite(range.min - margin), Finite(range.max + margin)};
}

// --- Value boxes
// ----------------------------------------------------------------------------------

EditResult SetWavelength(BeamDesign& design, double nm) {
    if (!std::isfinite(nm) || nm <= 0.0 || engine::SameValue(nm, design.WavelengthNm())) {
        return EditResult::Refused;
    }
    design.SetWavelengthNm(nm);
    return EditResult::Accepted;
}

EditResult SetMFactor(BeamDesign& design, int axis, double mSquared) {
    design.Axis(axis);  // only 0 and 1 have an M²
    double& stored = axis == 0 ? design.extrasOptions.mFactor : design.diode.mFactor;
    if (!IsValidMSquared(mSquared) || engine::SameValue(mSquared, stored))
        return EditResult::Refused;
    stored = mSquared;
    return EditResult::Accepted;
}

EditResult SetDetectorDistance(BeamDesign& design, double mm) {
    double& stored = design.extrasOptions.detectorDistance;
    if (!std::isfinite(mm) || engine::SameValue(mm, stored)) return EditResult::Refused;
    stored = mm;
    return EditResult::Accepted;
}

EditResult SetMinSpotDistance(BeamDesign& design, double mm) {
    double& stored = design.extrasOptions.minSpotDistance;
    if (!std::isfinite(mm) || mm <= 0.0 || engine::SameValue(mm, stored))
        return EditResult::Refused;
    stored = mm;
    return EditResult::Accepted;
}

EditResult SetDofEntry(BeamDesign& design, int entry) {
    const double p = DofFraction(entry);
    if (design.extrasOptions.dofFraction == p) return EditResult::Refused;
    design.extrasOptions.dofFraction = p;
    return EditResult::Accepted;
}

EditResult ApplyWavelengthText(BeamDesign& design, std::string_view text) {
    const auto v = units::ParsePlainNumber(text, "nm");
    return v ? SetWavelength(design, *v) : EditResult::Refused;
}

EditResult ApplyMFactorText(BeamDesign& design, int axis, std::string_view text) {
    const auto v = units::ParsePlainNumber(text, "");
    return v ? SetMFactor(design, axis, *v) : EditResult::Refused;
}

namespace {

std::optional<double> DistanceOf(std::string_view text, const DistanceUnit& unit) {
    const auto v = units::ParsePlainNumber(text, unit.suffix);
    if (!v || !(unit.factor > 0.0)) return std::nullopt;
    return *v * unit.factor;
}

}  // namespace

EditResult ApplyDetectorDistanceText(BeamDesign& design, std::string_view text,
                                     const DistanceUnit& unit) {
    const auto v = DistanceOf(text, unit);
    return v ? SetDetectorDistance(design, *v) : EditResult::Refused;
}

EditResult ApplyMinSpotDistanceText(BeamDesign& design, std::string_view text,
                                    const DistanceUnit& unit) {
    const auto v = DistanceOf(text, unit);
    return v ? SetMinSpotDistance(design, *v) : EditResult::Refused;
}

std::string WavelengthText(const BeamDesign& design) {
    return text::Format(design.WavelengthNm(), "0.0nm");
}

std::string MFactorText(const BeamDesign& design, int axis) {
    return text::Format(MSquared(design, axis), "0.0");
}

std::string DistanceText(double mm, std::string_view format, const DistanceUnit& unit) {
    const double factor = unit.factor > 0.0 ? unit.factor : 1.0;
    return text::Format(mm / factor, format) + std::string(unit.suffix);
}

std::string DetectorDistanceText(const BeamDesign& design, const DistanceUnit& unit) {
    return DistanceText(DetectorDistance(design.extrasOptions), "0.0###", unit);
}

std::string MinSpotDistanceText(const BeamDesign& design, const DistanceUnit& unit) {
    return DistanceText(design.extrasOptions.minSpotDistance, "0.0#", unit);
}

}  // namespace rs::beam
