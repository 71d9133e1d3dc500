#include "engine/solver.h"

#include <algorithm>
#include <cmath>

#include "engine/aperture.h"
#include "engine/numbers.h"

namespace rs::engine {
namespace {

// One run of the solver. Every division and every stored value goes through this object, which
// turns a zero denominator, a non-finite intermediate or a value beyond single precision into a
// failed solve, so no fault can leak into the tables.
class Run {
public:
    explicit Run(ParaxialDesign& design)
        : d_(design),
          opt_(design.options),
          n_(opt_.ObjectIndex()),
          nImg_(opt_.ImageIndex()),
          e_(opt_.PrincipalPlaneSeparation()) {
        K_ = Div(n_, nImg_);
        invK_ = Div(nImg_, n_);
    }

    bool failed() const { return failed_; }

    double Get(int i) const { return d_.paramTable.Get(i); }

    void Put(int i, double v) {
        if (failed_) return;
        if (!FitsFloat(v)) {
            failed_ = true;
            return;
        }
        d_.paramTable.Set(i, static_cast<float>(v));
    }

    double Div(double num, double den) {
        if (failed_ || den == 0.0) {
            failed_ = true;
            return 0.0;
        }
        const double q = num / den;
        if (!std::isfinite(q)) failed_ = true;
        return failed_ ? 0.0 : q;
    }

    bool Fail() {
        failed_ = true;
        return false;
    }

    bool Dispatch(int i1, int i2, int i3);
    bool ThreeFields(int i1, int i2, int i3);

private:
    // The relations every pair solver shares.
    void FocalObj() { Put(kObjFocal, -K_ * Get(kFocal)); }
    void Magnification() {
        Put(kMagnif, Div(-(Get(kObjFocal) * Get(kImgDist)), Get(kFocal) * Get(kObjDist)));
    }
    void Throw() { Put(kObjImgDist, -Get(kObjDist) + e_ + Get(kImgDist)); }
    void AtInfinity(int distance) {
        Put(distance, kInfinity);
        Put(kMagnif, 0.0);
        Put(kObjImgDist, 0.0);
    }
    // f' from both conjugate distances: 1/a' - K/a = 1/f'.
    bool FocalFromConjugates() {
        const double a = Get(kObjDist), ap = Get(kImgDist);
        if (a == 0.0 || ap == 0.0) return Fail();
        const double d = Div(1.0, ap) - Div(K_, a);
        if (d == 0.0) return Fail();
        Put(kFocal, Div(1.0, d));
        FocalObj();
        return !failed_;
    }

    bool Pair(int i, int j);
    bool PairFocalObj();
    bool PairFocalImg();
    bool PairFocalMagnif();
    bool PairFocalThrow();
    bool PairObjImg();
    bool PairObjMagnif();
    bool PairObjThrow();
    bool PairImgMagnif();
    bool PairImgThrow();
    bool PairMagnifThrow();

    void FieldCompletion(int i3);
    double AngleToImage(double w) { return std::atan(K_ * std::tan(w)); }
    double AngleToObject(double wImg) { return std::atan(invK_ * std::tan(wImg)); }

    ParaxialDesign& d_;
    const OptionState& opt_;
    double n_, nImg_, e_;
    double K_ = 1.0, invK_ = 1.0;
    bool failed_ = false;
};

bool Run::PairFocalObj() {
    FocalObj();
    const double a = Get(kObjDist);
    if (a == kInfinity || opt_.objAtInfinity) {
        Put(kImgDist, Get(kFocal));
        Put(kMagnif, 0.0);
        Put(kObjImgDist, 0.0);
    } else if (a == Get(kObjFocal)) {
        AtInfinity(kImgDist);
    } else {
        Put(kImgDist, Div(Get(kFocal), 1.0 - Div(Get(kObjFocal), a)));
        Magnification();
        Throw();
    }
    return !failed_;
}

bool Run::PairFocalImg() {
    FocalObj();
    const double ap = Get(kImgDist);
    if (ap == Get(kFocal) || opt_.objAtInfinity) {
        AtInfinity(kObjDist);
    } else {
        Put(kObjDist, Div(Get(kObjFocal), 1.0 - Div(Get(kFocal), ap)));
        Magnification();
        Throw();
    }
    return !failed_;
}

bool Run::PairFocalMagnif() {
    FocalObj();
    const double m = Get(kMagnif);
    if (m == 0.0) {
        Put(kImgDist, Get(kFocal));
        Put(kObjDist, kInfinity);
        Put(kObjImgDist, 0.0);
    } else {
        Put(kImgDist, (1.0 - m) * Get(kFocal));
        Put(kObjDist, (1.0 - Div(1.0, m)) * Get(kObjFocal));
        Throw();
    }
    return !failed_;
}

bool Run::PairFocalThrow() {
    FocalObj();
    const double fp = Get(kFocal), f = Get(kObjFocal), t = Get(kObjImgDist);
    const double B = -fp - f + e_ - t;
    const double C = fp * (t - e_);
    const double D = B * B - 4.0 * C;
    if (!(D >= 0.0)) return Fail();
    const double s = std::sqrt(D);
    // The image distances are the roots of a'^2 + B·a' + C = 0, ap1 <= ap2. The root without
    // cancellation is taken directly and the other from the product of the roots, so a short
    // focal length with a long throw keeps its digits.
    double ap1, ap2;
    if (B < 0.0) {
        ap2 = (s - B) / 2.0;
        ap1 = ap2 != 0.0 ? C / ap2 : -(B + s) / 2.0;
    } else {
        ap1 = -(B + s) / 2.0;
        ap2 = ap1 != 0.0 ? C / ap1 : -(B - s) / 2.0;
    }
    const double a1 = e_ + ap1 - t, a2 = e_ + ap2 - t;
    // Among the two conjugate pairs: the more distant real object when the first candidate's
    // object is real, the larger object distance otherwise.
    const bool first = a1 < 0.0 ? (a1 < a2) : !(a1 < a2);
    Put(kObjDist, first ? a1 : a2);
    Put(kImgDist, first ? ap1 : ap2);
    Magnification();
    return !failed_;
}

bool Run::PairObjImg() {
    if (opt_.objAtInfinity) {
        Put(kFocal, Get(kImgDist));
        FocalObj();
        Put(kMagnif, 0.0);
        Put(kObjImgDist, 0.0);
        return !failed_;
    }
    if (!FocalFromConjugates()) return false;
    Magnification();
    Throw();
    return !failed_;
}

bool Run::PairObjMagnif() {
    const double m = Get(kMagnif);
    // A finite object imaged with zero magnification has no consistent finite system.
    if (m == 0.0) return Fail();
    Put(kImgDist, Div(Get(kObjDist) * m, K_));
    if (!FocalFromConjugates()) return false;
    Throw();
    return !failed_;
}

bool Run::PairObjThrow() {
    const double a = Get(kObjDist);
    const double apProvisional = a - e_ + Get(kObjImgDist);
    const double q = a - K_ * apProvisional;
    if (q == 0.0) return Fail();
    Put(kFocal, Div(a * apProvisional, q));
    FocalObj();
    // a' = a - e + t exactly; deriving it again through f'/(1 - f/a) would say the same in
    // exact arithmetic but loses every digit when the object sits near a focal point.
    Put(kImgDist, apProvisional);
    Magnification();
    return !failed_;
}

bool Run::PairImgMagnif() {
    const double m = Get(kMagnif);
    if (m == 0.0) {
        Put(kObjDist, kInfinity);
        Put(kFocal, Get(kImgDist));
        FocalObj();
        Put(kObjImgDist, 0.0);
        return !failed_;
    }
    Put(kObjDist, Div(K_ * Get(kImgDist), m));
    if (!FocalFromConjugates()) return false;
    Throw();
    return !failed_;
}

bool Run::PairImgThrow() {
    const double ap = Get(kImgDist);
    const double aProvisional = ap + e_ - Get(kObjImgDist);
    const double q = aProvisional - K_ * ap;
    if (q == 0.0) return Fail();
    Put(kFocal, Div(ap * aProvisional, q));
    FocalObj();
    Put(kObjDist, aProvisional);  // exact, as for (a, t)
    Magnification();
    return !failed_;
}

bool Run::PairMagnifThrow() {
    const double m = Get(kMagnif);
    const double dm = m - K_;
    if (dm == 0.0) return Fail();
    Put(kObjDist, Div(K_ * (Get(kObjImgDist) - e_), dm));
    Put(kImgDist, Div(Get(kObjDist) * m, K_));
    Put(kFocal, Div(1.0, Div(1.0, Get(kImgDist)) - Div(K_, Get(kObjDist))));
    FocalObj();
    return !failed_;
}

bool Run::Pair(int i, int j) {
    switch (i * 10 + j) {
        case 1:
            return PairFocalObj();
        case 2:
            return PairFocalImg();
        case 3:
            return PairFocalMagnif();
        case 4:
            return PairFocalThrow();
        case 12:
            return PairObjImg();
        case 13:
            return PairObjMagnif();
        case 14:
            return PairObjThrow();
        case 23:
            return PairImgMagnif();
        case 24:
            return PairImgThrow();
        case 34:
            return PairMagnifThrow();
        default:
            return Fail();
    }
}

void Run::FieldCompletion(int i3) {
    const double a = Get(kObjDist), ap = Get(kImgDist);
    switch (i3) {
        case kObjHeight:
            Put(kObjAngle, std::atan(Div(Get(kObjHeight), a)));
            Put(kImgAngle, AngleToImage(Get(kObjAngle)));
            Put(kImgHeight, ap * std::tan(Get(kImgAngle)));
            break;
        case kObjAngle:
            Put(kObjHeight, a * std::tan(Get(kObjAngle)));
            Put(kImgAngle, AngleToImage(Get(kObjAngle)));
            Put(kImgHeight, ap * std::tan(Get(kImgAngle)));
            break;
        case kImgHeight:
            Put(kImgAngle, std::atan(Div(Get(kImgHeight), ap)));
            Put(kObjAngle, AngleToObject(Get(kImgAngle)));
            Put(kObjHeight, a * std::tan(Get(kObjAngle)));
            break;
        case kImgAngle:
            Put(kImgHeight, ap * std::tan(Get(kImgAngle)));
            Put(kObjAngle, AngleToObject(Get(kImgAngle)));
            Put(kObjHeight, a * std::tan(Get(kObjAngle)));
            break;
        default:
            Fail();
    }
}

bool Run::Dispatch(int i1, int i2, int i3) {
    if (i1 >= 5) return ThreeFields(i1, i2, i3);
    if (i2 < 5) {
        if (!Pair(i1, i2)) return false;
        FieldCompletion(i3);
        return !failed_;
    }
    // One conjugate quantity and two field quantities: the fields fix a distance or the
    // magnification, then the pair solver completes the conjugates. Combinations in which the
    // fields fix the very distance that was given are over-determined and fail.
    const int fields = i2 * 10 + i3;
    switch (fields) {
        case 56:
        case 58: {
            if (fields == 56) {
                Put(kImgAngle, AngleToImage(Get(kObjAngle)));
            } else {
                Put(kObjAngle, AngleToObject(Get(kImgAngle)));
            }
            Put(kObjDist, Div(Get(kObjHeight), std::tan(Get(kObjAngle))));
            if (i1 == kObjDist || !Pair(std::min(i1, 1), std::max(i1, 1))) return Fail();
            Put(kImgHeight, Get(kImgDist) * std::tan(Get(kImgAngle)));
            break;
        }
        case 57:
            Put(kMagnif, Div(Get(kImgHeight), Get(kObjHeight)));
            if (i1 == kMagnif || !Pair(std::min(i1, 3), std::max(i1, 3))) return Fail();
            Put(kObjAngle, std::atan(Div(Get(kObjHeight), Get(kObjDist))));
            Put(kImgAngle, AngleToImage(Get(kObjAngle)));
            break;
        case 67:
        case 78: {
            if (fields == 67) {
                Put(kImgAngle, AngleToImage(Get(kObjAngle)));
            } else {
                Put(kObjAngle, AngleToObject(Get(kImgAngle)));
            }
            Put(kImgDist, Div(Get(kImgHeight), std::tan(Get(kImgAngle))));
            if (i1 == kImgDist || !Pair(std::min(i1, 2), std::max(i1, 2))) return Fail();
            Put(kObjHeight, Get(kObjDist) * std::tan(Get(kObjAngle)));
            break;
        }
        default:
            return Fail();
    }
    return !failed_;
}

// Three field quantities: only reachable when the selection rules are bypassed (a loaded file);
// the two consistent sets are solved, the others fail.
bool Run::ThreeFields(int i1, int i2, int i3) {
    if (i1 == 5 && i2 == 7 && i3 == 8) {
        Put(kObjAngle, AngleToObject(Get(kImgAngle)));
    } else if (i1 == 5 && i2 == 6 && i3 == 7) {
        Put(kImgAngle, AngleToImage(Get(kObjAngle)));
    } else {
        return Fail();
    }
    Put(kObjDist, Div(Get(kObjHeight), std::tan(Get(kObjAngle))));
    Put(kImgDist, Div(Get(kImgHeight), std::tan(Get(kImgAngle))));
    Put(kFocal, Div(1.0, Div(1.0, Get(kImgDist)) - Div(n_, nImg_ * Get(kObjDist))));
    FocalObj();
    Magnification();
    Throw();
    return !failed_;
}

}  // namespace

bool SolveParaxial(ParaxialDesign& design, bool notifyContinuity,
                   const SolveCompletion& completion) {
    design.bCalcInvalid = false;
    const Selection& sel = design.params;
    if (sel.Count() < 3 || !sel.AllValuesDefined()) {
        if (notifyContinuity) design.continuity.RecordSolution(design.paramTable.Data(), false);
        return false;
    }

    Run run(design);
    for (int k = 1; k <= 3; ++k) run.Put(sel.Index(k), sel.Value(k));

    bool ok = !run.failed() && run.Dispatch(sel.Index(1), sel.Index(2), sel.Index(3));
    // A given angle of 90° or more (or one that rounds there) has no system behind it.
    ok = ok && FieldAnglesInRange(design.paramTable);
    ApertureOutcome aperture = ApertureOutcome::Failed;
    if (ok) aperture = ComputeAperture(design);
    ok = ok && aperture != ApertureOutcome::Failed && ComputeCardinalPoints(design);
    if (!ok) {
        design.bCalcInvalid = true;
        return false;
    }
    if (completion) completion(design);
    design.bCalcInvalid = false;
    // Only a solve that succeeded as a whole is recorded, aperture figures included.
    if (notifyContinuity) {
        design.continuity.RecordSolution(design.paramTable.Data(), true);
        design.continuity.RecordAperture(design.apertureTable.Data(),
                                         aperture == ApertureOutcome::Computed);
    }
    return true;
}

bool FieldAnglesInRange(const ParamTable& table) {
    return FieldAngleInRange(table.Get(kObjAngle)) && FieldAngleInRange(table.Get(kImgAngle));
}

bool IsVirtualObject(const ParaxialDesign& design) {
    return design.params.Count() == 3 && design.paramTable.Get(kObjDist) > 0.0f;
}

bool IsVirtualImage(const ParaxialDesign& design) {
    const ParamTable& p = design.paramTable;
    if (design.params.Count() == 3) {
        const float m = p.Get(kMagnif);
        if (p.Get(kObjDist) > 0.0f) return m < 0.0f;
        if (m > 0.0f) return true;
        if (!design.options.objAtInfinity) return false;
        // A diverging element forms a virtual image of an object at infinity.
        return design.options.mirrorMode ? p.Get(kFocal) > 0.0f : p.Get(kFocal) < 0.0f;
    }
    const float u = p.Get(kObjHeight), uImg = p.Get(kImgHeight);
    return u != 0.0f && ((u > 0.0f) == (uImg > 0.0f)) && uImg != 0.0f;
}

bool ObjectInFrontFocalPlane(const ParaxialDesign& design) {
    return design.paramTable.Get(kObjDist) == design.paramTable.Get(kObjFocal);
}

}  // namespace rs::engine
