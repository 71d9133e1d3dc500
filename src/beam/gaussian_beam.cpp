#include "beam/gaussian_beam.h"

#include <cmath>

#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "engine/numbers.h"
#include "text/tr.h"

namespace rs::beam {
using text::Tr;
namespace {

std::optional<double> Finite(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

bool IsConjugate(int index) {
    return index >= kGbFocal && index <= kGbMagnif;
}

// The root (−b + sigma·√D) / (2a) of a·x² + b·x + c = 0, given its discriminant D = b² − 4ac
// (the callers have it in a form that does not cancel). Of the two equal forms of the root the
// one that adds numbers of the same sign is taken, so a root next to a much larger one keeps its
// digits; the form 2c / (−b − sigma·√D) also stays finite when a = 0 and the quadratic has
// become a line.
std::optional<double> QuadraticRoot(double a, double b, double c, double d, int sigma) {
    if (!(d >= 0.0)) return std::nullopt;  // also refuses NaN
    const double root = sigma * std::sqrt(d);
    if ((-b >= 0.0) == (root >= 0.0)) {
        if (a == 0.0) return std::nullopt;
        return Finite((-b + root) / (2.0 * a));
    }
    const double den = -b - root;
    if (den == 0.0) return std::nullopt;
    return Finite(2.0 * c / den);
}

std::optional<double> QuadraticRoot(double a, double b, double c, int sigma) {
    return QuadraticRoot(a, b, c, b * b - 4.0 * a * c, sigma);
}

// m from its square, which must be positive: a zero magnification cannot carry a beam.
std::optional<double> RootOfSquare(std::optional<double> x) {
    if (!x || !(*x > 0.0)) return std::nullopt;
    return Finite(std::sqrt(*x));
}

}  // namespace

std::optional<BeamTriple> TripleFrom(int index, double value, double wavelengthMm) {
    const double lambda = wavelengthMm;
    const double v = std::fabs(value);
    if (!(lambda > 0.0) || !std::isfinite(lambda) || !(v > 0.0) || !std::isfinite(v)) {
        return std::nullopt;
    }
    BeamTriple t;
    if (index == kGbObjRadius || index == kGbImgRadius) {
        t.radius = v;
        t.divergence = lambda / (engine::kPi * v);
        t.rayleigh = v / t.divergence;
    } else if (index == kGbObjDiv || index == kGbImgDiv) {
        t.divergence = v;
        t.radius = lambda / (engine::kPi * v);
        t.rayleigh = t.radius / v;
    } else if (index == kGbObjRayleigh || index == kGbImgRayleigh) {
        t.rayleigh = v;
        t.radius = std::sqrt(v * lambda / engine::kPi);
        t.divergence = lambda / (engine::kPi * t.radius);
    } else {
        return std::nullopt;
    }
    // A component that under- or overflowed describes no beam.
    for (double c : {t.radius, t.divergence, t.rayleigh}) {
        if (!std::isfinite(c) || c == 0.0) return std::nullopt;
    }
    return t;
}

namespace formula {

std::optional<double> G1(double s, double f, double zr) {
    if (f == 0.0) return std::nullopt;
    const double u = (s - f) / f;  // s/f' − 1 without losing digits near the focal point
    const double v = zr / f;
    const double den = u * u + v * v;
    if (den == 0.0) return std::nullopt;
    return Finite(f * (1.0 + u / den));
}

std::optional<double> G2(double sImg, double f, double zrImg) {
    return G1(sImg, f, zrImg);
}

std::optional<double> G3(double s, double f, double zr) {
    if (f == 0.0) return std::nullopt;
    const double u = (f - s) / f, v = zr / f;
    const double sum = u * u + v * v;
    if (!(sum > 0.0)) return std::nullopt;
    return Finite(1.0 / std::sqrt(sum));
}

std::optional<double> G4(double sImg, double f, double zrImg) {
    if (f == 0.0) return std::nullopt;
    const double u = (f - sImg) / f, v = zrImg / f;
    const double sum = u * u + v * v;
    if (!(sum >= 0.0)) return std::nullopt;
    return Finite(std::sqrt(sum));
}

std::optional<double> G5(double m, double f, double zr, bool alternative) {
    if (f == 0.0 || m == 0.0) return std::nullopt;
    const double fm = f / m;
    const double radicand = fm * fm - zr * zr;
    if (!(radicand >= 0.0)) return std::nullopt;
    const double q = std::sqrt(radicand);
    return Finite(alternative ? f - q : f + q);
}

// m² ((s − f')² + zr²) = f'² as a quadratic in f': (1 − 1/m²) f'² − 2 s f' + s² + zr² = 0. Its
// discriminant 4 (s² − (1 − 1/m²)(s² + zr²)) is taken as 4 ((s² + zr²)/m² − zr²), which does
// not subtract two nearly equal squares when m is small.
std::optional<double> G6(double s, double m, double zr, bool alternative) {
    if (m == 0.0) return std::nullopt;
    const double a = 1.0 - 1.0 / (m * m);
    if (alternative && a == 0.0) return std::nullopt;
    const double c = s * s + zr * zr;
    const double d = 4.0 * (c / (m * m) - zr * zr);
    return QuadraticRoot(a, -2.0 * s, c, d, alternative ? 1 : -1);
}

// ((s' − f')² + zr'²) = m² f'² as a quadratic in f': (1 − m²) f'² − 2 s' f' + s'² + zr'² = 0,
// with the discriminant 4 (m² (s'² + zr'²) − zr'²) for the same reason.
std::optional<double> G7(double sImg, double m, double zrImg, bool alternative) {
    const double a = 1.0 - m * m;
    if (alternative && a == 0.0) return std::nullopt;
    const double c = sImg * sImg + zrImg * zrImg;
    const double d = 4.0 * (m * m * c - zrImg * zrImg);
    return QuadraticRoot(a, -2.0 * sImg, c, d, alternative ? 1 : -1);
}

// X = m²: zr² X² − f'² X + (s' − f')² = 0.
std::optional<double> G8(double sImg, double f, double zr, bool alternative) {
    if (f == 0.0 || zr == 0.0) return std::nullopt;
    const double d = sImg - f;
    return RootOfSquare(QuadraticRoot(zr * zr, -f * f, d * d, alternative ? -1 : 1));
}

// X = m²: (s − f')² X² − f'² X + zr'² = 0.
std::optional<double> G9(double s, double f, double zrImg, bool alternative) {
    if (f == 0.0) return std::nullopt;
    const double d = s - f;
    if (d == 0.0) {
        // The quadratic has become linear: one solution only.
        if (alternative) return std::nullopt;
        const double ratio = zrImg / f;
        return RootOfSquare(Finite(ratio * ratio));
    }
    return RootOfSquare(QuadraticRoot(d * d, -f * f, zrImg * zrImg, alternative ? -1 : 1));
}

// (s + s') f'² − (2 s s' + s² + zr²) f' + (s² + zr²) s' = 0. With P = s² + zr² the
// discriminant reduces to P² − 4 s'² zr² = (P − 2 s' zr)(P + 2 s' zr), which keeps its digits
// where the expanded form would cancel (s' much larger than s).
std::optional<double> G10(double s, double sImg, double zr) {
    const double a = s + sImg;
    if (a == 0.0) return std::nullopt;
    const double p = s * s + zr * zr, cross = 2.0 * sImg * zr;
    return QuadraticRoot(a, -(2.0 * s * sImg + p), p * sImg, (p - cross) * (p + cross), -1);
}

// (s + s') f'² − (2 s s' + s'² + zr'²) f' + (s'² + zr'²) s = 0; as G10 with the sides swapped.
std::optional<double> G11(double s, double sImg, double zrImg, bool alternative) {
    const double a = s + sImg;
    if (a == 0.0) return std::nullopt;
    const double p = sImg * sImg + zrImg * zrImg, cross = 2.0 * s * zrImg;
    return QuadraticRoot(a, -(2.0 * s * sImg + p), p * s, (p - cross) * (p + cross),
                         alternative ? 1 : -1);
}

std::optional<double> G12(double zr, double zrImg) {
    if (zr == 0.0 || zrImg == 0.0) return std::nullopt;
    return Finite(std::sqrt(std::fabs(zrImg / zr)));
}

}  // namespace formula

std::optional<std::string> ValidateBeamSelection(const engine::Selection& selection) {
    const int n = selection.Count();
    int objectSide = 0, imageSide = 0;
    for (const auto& e : selection.Entries()) {
        objectSide += IsObjectBeam(e.nVarType) ? 1 : 0;
        imageSide += IsImageBeam(e.nVarType) ? 1 : 0;
    }
    if (objectSide > 1 || imageSide > 1) {
        return Tr("Nur ein Strahlparameter im Objekt- und Bildraum kann unabhängig sein!");
    }
    if (n < 3) return std::nullopt;
    const int i1 = selection.Index(1), i2 = selection.Index(2), i3 = selection.Index(3);
    if (i3 < kGbObjRadius) return Tr("Sie müssen mindestens eine Strahloption wählen!");
    if (i1 >= kGbObjRadius) return Tr("Sie müssen ein oder zwei Abstände wählen! ");
    if (i1 == kGbMagnif && (IsObjectBeam(i2) || IsImageBeam(i3))) {
        return Tr(
            "Unmögliche Kombination; ergibt nahezu immer einen nicht konsistenten Wert für "
            "die Vergrößerung! ");
    }
    return std::nullopt;
}

ToggleOutcome ToggleBeamParam(BeamDesign& design, int index, bool check,
                              const std::optional<engine::CVarType>& prefill) {
    engine::Selection& sel = design.axes[0].selection;
    if (!BeamCheckBoxEnabled(design, index)) return {sel.Contains(index), std::nullopt};
    if (!check) {
        if (sel.Contains(index)) sel.Remove(index);
        return {false, std::nullopt};
    }
    if (sel.Contains(index)) return {true, std::nullopt};
    if (sel.Full()) return {false, std::nullopt};
    sel.Add(index, prefill);
    if (auto message = ValidateBeamSelection(sel)) {
        sel.Remove(index);
        return {false, std::move(message)};
    }
    return {true, std::nullopt};
}

namespace {

// One solve of one axis. Every value goes through Put, which refuses anything that is not
// storable, so a failed step can never leave a fault in the table.
class AxisSolve {
public:
    AxisSolve(BeamDesign& design, int axis, const BeamContext& context)
        : d_(design), axisNo_(axis), a_(design.Axis(axis)), ctx_(context) {}

    bool Run();

private:
    double T(int index) const { return a_.table[static_cast<std::size_t>(index)]; }

    // Everything stored must survive the single-precision records that copy it (continuity
    // store, selection entries, settings file).
    bool Put(int index, std::optional<double> v) {
        if (!v || !engine::FitsFloat(*v)) return false;
        a_.table[static_cast<std::size_t>(index)] = *v;
        return true;
    }

    // The beam triple of one side from the first given entry of that side; the missing flag
    // also stays set when the entry's value describes no beam.
    bool GivenSide(bool object, bool& missing) {
        missing = true;
        for (const auto& e : a_.selection.Entries()) {
            if (object ? !IsObjectBeam(e.nVarType) : !IsImageBeam(e.nVarType)) continue;
            const auto triple = TripleFrom(e.nVarType, e.sVarValue, d_.WavelengthMm());
            if (!triple || !StoreTriple(object ? kGbObjRadius : kGbImgRadius, *triple, 1.0)) {
                return false;
            }
            missing = !e.bVarValDef;
            return true;
        }
        return true;
    }

    bool StoreTriple(int first, const BeamTriple& t, double radiusSign) {
        return Put(first, radiusSign * t.radius) && Put(first + 1, t.divergence) &&
               Put(first + 2, t.rayleigh);
    }

    // Carrying the beam across the element with the stored magnification, sign included.
    bool ImageBeamFromM() {
        const double m = T(kGbMagnif);
        if (m == 0.0) return false;
        const double r = m * T(kGbObjRadius);
        const auto t = TripleFrom(kGbImgRadius, r, d_.WavelengthMm());
        return t && StoreTriple(kGbImgRadius, *t, r < 0 ? -1.0 : 1.0);
    }
    bool ObjectBeamFromM() {
        const double m = T(kGbMagnif);
        if (m == 0.0 || T(kGbImgRadius) == 0.0) return false;
        const double r = T(kGbImgRadius) / m;
        const auto t = TripleFrom(kGbObjRadius, r, d_.WavelengthMm());
        return t && StoreTriple(kGbObjRadius, *t, r < 0 ? -1.0 : 1.0);
    }

    bool ObjFocal() { return Put(kGbObjFocal, -f()); }

    // Shorthands for the primitives on the current table.
    double f() const { return T(kGbFocal); }
    double s() const { return T(kGbObjDist); }
    double sImg() const { return T(kGbImgDist); }
    double m() const { return T(kGbMagnif); }
    double zr() const { return T(kGbObjRayleigh); }
    double zrImg() const { return T(kGbImgRayleigh); }
    std::optional<double> SImgFromS() const { return formula::G1(s(), f(), zr()); }
    std::optional<double> SFromSImg() const { return formula::G2(sImg(), f(), zrImg()); }
    std::optional<double> SFromM() const { return formula::G5(m(), f(), zr(), alt()); }
    std::optional<double> FocalFromS() const { return formula::G6(s(), m(), zr(), alt()); }
    std::optional<double> FocalFromSImg() const { return formula::G7(sImg(), m(), zrImg(), alt()); }
    bool alt() const { return d_.altSolution; }

    bool Dispatch();
    bool Consistent() const;
    bool BothBeams(int conjugate);
    bool ObjectBeam(int c1, int c2);
    bool ImageBeam(int c1, int c2);
    bool Dependent();

    BeamDesign& d_;
    int axisNo_;
    BeamAxis& a_;
    const BeamContext& ctx_;
};

bool AxisSolve::Run() {
    a_.valuesDefined = a_.resultInvalid = a_.objBeamMissing = a_.imgBeamMissing = false;
    bool ok = GivenSide(true, a_.objBeamMissing);
    ok = GivenSide(false, a_.imgBeamMissing) && ok;
    if (a_.selection.Count() < 3) return false;

    if (Circularising(d_)) ApplyCircularisedObjectDistance(d_, axisNo_, !a_.objBeamMissing);

    for (const auto& e : a_.selection.Entries()) {
        const int i = e.nVarType;
        if (i < 0 || i > kGbImgRayleigh) {
            ok = false;  // no such quantity; leave the table alone
        } else if (IsConjugate(i) || i == kGbTrack) {
            ok = Put(i, e.sVarValue) && ok;
        }
        // Beam entries are in the table already, as the magnitude that the triple used.
    }
    a_.valuesDefined = a_.selection.AllValuesDefined();
    return ok && Dispatch() && Consistent() && Dependent();
}

bool AxisSolve::Dispatch() {
    int conj[3] = {-1, -1, -1};
    int nc = 0;
    for (const auto& e : a_.selection.Entries()) {
        if (e.nVarType == kGbTrack) return false;  // never an input of the solve
        if (IsConjugate(e.nVarType) && nc < 3) conj[nc++] = e.nVarType;
    }
    const bool object = !a_.objBeamMissing, image = !a_.imgBeamMissing;
    if (object && image) return nc == 1 && BothBeams(conj[0]);
    if (nc != 2) return false;
    if (object) return ObjectBeam(conj[0], conj[1]);
    if (image) return ImageBeam(conj[0], conj[1]);
    return false;
}

bool AxisSolve::BothBeams(int conjugate) {
    const bool m = Put(kGbMagnif, formula::G12(zr(), zrImg()));
    switch (conjugate) {
        case kGbFocal:
            return m && ObjFocal() && Put(kGbObjDist, SFromM()) && Put(kGbImgDist, SImgFromS());
        case kGbObjDist:
            return m && Put(kGbFocal, FocalFromS()) && ObjFocal() && Put(kGbImgDist, SImgFromS());
        case kGbImgDist:
            return m && Put(kGbFocal, FocalFromSImg()) && ObjFocal() &&
                   Put(kGbObjDist, SFromSImg());
        default:
            return false;  // the magnification cannot be checked against two beams
    }
}

bool AxisSolve::ObjectBeam(int c1, int c2) {
    if (c1 == kGbFocal && c2 == kGbObjDist) {
        if (zr() == 0.0 || f() == 0.0 || s() == 0.0) return false;
        return ObjFocal() && Put(kGbImgDist, SImgFromS()) &&
               Put(kGbMagnif, formula::G3(s(), f(), zr())) && ImageBeamFromM();
    }
    if (c1 == kGbFocal && c2 == kGbImgDist) {
        return ObjFocal() && Put(kGbMagnif, formula::G8(sImg(), f(), zr(), alt())) &&
               ImageBeamFromM() && Put(kGbObjDist, SFromSImg());
    }
    if (c1 == kGbFocal && c2 == kGbMagnif) {
        return ObjFocal() && ImageBeamFromM() && Put(kGbObjDist, SFromM()) &&
               Put(kGbImgDist, SImgFromS());
    }
    if (c1 == kGbObjDist && c2 == kGbImgDist) {
        return Put(kGbFocal, formula::G10(s(), sImg(), zr())) && ObjFocal() &&
               Put(kGbMagnif, formula::G3(s(), f(), zr())) && ImageBeamFromM();
    }
    if (c1 == kGbObjDist && c2 == kGbMagnif) {
        return ImageBeamFromM() && Put(kGbFocal, FocalFromS()) && ObjFocal() &&
               Put(kGbImgDist, SImgFromS());
    }
    if (c1 == kGbImgDist && c2 == kGbMagnif) {
        return ImageBeamFromM() && Put(kGbFocal, FocalFromSImg()) && ObjFocal() &&
               Put(kGbObjDist, SFromSImg());
    }
    return false;
}

bool AxisSolve::ImageBeam(int c1, int c2) {
    if (c1 == kGbFocal && c2 == kGbObjDist) {
        return ObjFocal() && Put(kGbMagnif, formula::G9(s(), f(), zrImg(), alt())) &&
               ObjectBeamFromM() && Put(kGbImgDist, SImgFromS());
    }
    if (c1 == kGbFocal && c2 == kGbImgDist) {
        if (f() == 0.0 || sImg() == 0.0 || zrImg() == 0.0) return false;
        return ObjFocal() && Put(kGbObjDist, SFromSImg()) &&
               Put(kGbMagnif, formula::G4(sImg(), f(), zrImg())) && ObjectBeamFromM();
    }
    if (c1 == kGbFocal && c2 == kGbMagnif) {
        return ObjFocal() && ObjectBeamFromM() && Put(kGbObjDist, SFromM()) &&
               Put(kGbImgDist, SImgFromS());
    }
    if (c1 == kGbObjDist && c2 == kGbImgDist) {
        return Put(kGbFocal, formula::G11(s(), sImg(), zrImg(), alt())) && ObjFocal() &&
               Put(kGbMagnif, formula::G4(sImg(), f(), zrImg())) && ObjectBeamFromM();
    }
    if (c1 == kGbObjDist && c2 == kGbMagnif) {
        return ObjectBeamFromM() && Put(kGbFocal, FocalFromS()) && ObjFocal() &&
               Put(kGbImgDist, SImgFromS());
    }
    if (c1 == kGbImgDist && c2 == kGbMagnif) {
        return ObjectBeamFromM() && Put(kGbFocal, FocalFromSImg()) && ObjFocal() &&
               Put(kGbObjDist, SFromSImg());
    }
    return false;
}

// Where the answer hinges on a difference below the resolution of the numbers involved (an
// image waist 1e30 mm away, fixed to within a focal length), the closed forms lose every digit
// and produce values that no longer describe one beam through one element. Such a result is not
// offered as a solution: the thin-element relations for s' and m must still hold to a small part
// of the size of their terms.
bool AxisSolve::Consistent() const {
    constexpr double kTolerance = 1e-8;
    const double f = T(kGbFocal), s = T(kGbObjDist), sImg = T(kGbImgDist), m = T(kGbMagnif);
    const double zr = T(kGbObjRayleigh);
    const double u = s - f, spread = std::fabs(s) + std::fabs(f);
    const double q = u * u + zr * zr, qSize = spread * spread + zr * zr;
    // (s' − f') ((s − f')² + zr²) = f'² (s − f')
    const double imageResidual = std::fabs((sImg - f) * q - f * f * u);
    const double imageSize = (std::fabs(sImg) + std::fabs(f)) * qSize + f * f * spread;
    // m² ((s − f')² + zr²) = f'²
    const double magnifResidual = std::fabs(m * m * q - f * f);
    const double magnifSize = m * m * qSize + f * f;
    return imageResidual <= kTolerance * imageSize && magnifResidual <= kTolerance * magnifSize;
}

bool AxisSolve::Dependent() {
    const double s = T(kGbObjDist), f = T(kGbFocal);
    const double track = s + T(kGbImgDist) + ctx_.principalPlaneSeparation;
    const double paraxImage = s - f == 0.0 ? kParaxImageAtInfinity : s * f / (s - f);
    return Put(kGbTrack, track) && Put(kGbParaxImage, paraxImage);
}

}  // namespace

bool SolveAxis(BeamDesign& design, int axis, const BeamContext& context) {
    BeamAxis& a = design.Axis(axis);
    const bool ok = AxisSolve(design, axis, context).Run();
    a.resultInvalid = !ok;
    // A complete selection without a solution records nothing; an incomplete one forgets.
    const bool complete = a.selection.Count() == 3 && a.valuesDefined;
    if (context.continuity && (ok || !complete)) {
        context.continuity->RecordBeam(axis, a.table.data(), ok && complete);
    }
    return ok;
}

void SolveAllAxes(BeamDesign& design, const BeamContext& context) {
    const bool ok0 = SolveAxis(design, 0, context);
    if (ok0) ComputeExtras(design, 0, context);
    if (!design.diode.diodeMode) return;
    // Whatever changed axis 0's third parameter (a check box, circularisation, undo, a file),
    // axis 1 keeps its own beam, expressed in the kind now in force.
    AdoptDiodeParamKind(design);
    BeamAxis& a1 = design.axes[1];
    if (!ok0) {
        // Axis 1 is built from axis 0's solution; without one it has nothing to stand on. Its
        // stale values must not look like a result.
        a1.selection.Clear();
        a1.valuesDefined = a1.objBeamMissing = a1.imgBeamMissing = false;
        a1.resultInvalid = true;
        return;
    }
    BuildAxis1(design);
    if (SolveAxis(design, 1, context)) ComputeExtras(design, 1, context);
}

bool AltSolutionAvailable(const BeamDesign& design) {
    const engine::Selection& sel = design.axes[0].selection;
    if (!design.beamMode || sel.Count() != 3) return false;
    const int i1 = sel.Index(1), i2 = sel.Index(2), i3 = sel.Index(3);
    // These three have one solution only.
    const bool unique = (i1 == kGbFocal && i2 == kGbObjDist && IsObjectBeam(i3)) ||
                        (i1 == kGbObjDist && i2 == kGbImgDist && IsObjectBeam(i3)) ||
                        (i1 == kGbFocal && i2 == kGbImgDist && IsImageBeam(i3));
    return !unique;
}

bool SetSelectedValue(BeamDesign& design, int axis, int index, double value) {
    engine::Selection& sel = design.Axis(axis).selection;
    const auto pos = sel.Find(index);
    if (!pos || !engine::FitsFloat(value)) return false;
    engine::CVarType& e = sel.Entry(*pos);
    e.sVarValue = static_cast<float>(value);
    e.bVarValDef = true;
    return true;
}

}  // namespace rs::beam
