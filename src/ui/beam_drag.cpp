#include "ui/beam_drag.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/continuity.h"
#include "engine/numbers.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "ui/main_window.h"
#include "ui/touch.h"
#include "ui/window_state.h"

namespace rs::ui {

namespace {

using Movement = BeamDragSession::Movement;
using T = BeamDragTarget;

// The beam parameter a target changes; -1 for the separation and the detector.
int ParameterOf(BeamDragTarget target) {
    switch (target) {
        case T::Element:
            return beam::kGbObjDist;
        case T::ObjectRadius:
            return beam::kGbObjRadius;
        case T::ObjectRayleigh:
            return beam::kGbObjRayleigh;
        case T::FrontFocus:
        case T::RearFocus:
            return beam::kGbFocal;
        case T::ImageWaist:
            return beam::kGbImgDist;
        case T::ImageRadius:
            return beam::kGbImgRadius;
        case T::ImageRayleigh:
            return beam::kGbImgRayleigh;
        default:
            return -1;
    }
}

// Waist radii and Rayleigh lengths have no sign (the solve takes their magnitude, the picture
// draws it): a feature pulled across its reference line keeps its magnitude.
bool IsMagnitude(int index) {
    return beam::IsObjectBeam(index) || beam::IsImageBeam(index);
}

bool AxisSolved(const beam::BeamAxis& axis) {
    return axis.selection.Count() == 3 && axis.selection.AllValuesDefined() && axis.valuesDefined &&
           !axis.resultInvalid;
}

// The picture exists only while axis 0 has a solution.
bool PictureShown(const app::DesignState& d) {
    return d.beam.beamMode && AxisSolved(d.beam.axes[0]);
}

bool SecondAxisSolved(const app::DesignState& d) {
    return d.beam.diode.diodeMode && AxisSolved(d.beam.axes[1]);
}

// What a drag step must leave: axis 0 solved, and a diode's second axis solved when it was at
// mouse-down (one that had no solution then cannot hold the drag back).
bool StepSolved(const app::DesignState& d, bool secondAxis) {
    if (!AxisSolved(d.beam.axes[0])) return false;
    return !secondAxis || !d.beam.diode.diodeMode || AxisSolved(d.beam.axes[1]);
}

BeamTouchConditions ConditionsOf(const app::DesignState& d) {
    BeamTouchConditions c;
    c.advancedOptions = d.paraxial.options.advOptions;
    c.mirror = d.paraxial.options.mirrorMode;
    c.detectorShown = d.beam.extrasOptions.detectorOn;
    return c;
}

// The position the rule gives up for `index` (see ChooseBeamParameter).
int RulePosition(const engine::Selection& sel, int index) {
    if (index == beam::kGbImgRadius) return 3;
    if (index == beam::kGbObjRadius) {
        const int third = sel.Index(3);
        return beam::IsImageBeam(third) || third < beam::kGbObjRadius ? 2 : 3;
    }
    const bool beamAtTwo = sel.Index(2) >= beam::kGbObjRadius;
    if (index < beam::kGbObjRadius) return beamAtTwo ? 1 : 2;
    if (!beamAtTwo) return 3;
    return beam::IsObjectBeam(index) ? 2 : 3;
}

// The trial solves to the system on screen: a combination that has no solution, or reaches
// another root of its quadratic, would make the picture jump under the mouse.
bool KeepsTheSystem(const app::DesignState& design, const engine::Selection& trial) {
    app::DesignState copy = design;
    copy.beam.axes[0].selection = trial;
    app::SolveDesign(copy, false);
    if (!StepSolved(copy, SecondAxisSolved(design))) return false;
    const auto& was = design.beam.axes[0].table;
    const auto& now = copy.beam.axes[0].table;
    // The chosen values are singles, and near a collimated beam the solve magnifies their last
    // digits: the system counts as kept to a thousandth of the focal length, far finer than a
    // jump to another root.
    const double scale = std::fabs(was[beam::kGbFocal]);
    for (int i : {beam::kGbFocal, beam::kGbObjDist, beam::kGbImgDist, beam::kGbObjRayleigh,
                  beam::kGbImgRayleigh}) {
        const double a = was[static_cast<std::size_t>(i)], b = now[static_cast<std::size_t>(i)];
        if (std::fabs(a - b) > 1e-3 * std::max({std::fabs(a), std::fabs(b), scale})) return false;
    }
    return true;
}

// The new value for a mouse coordinate along the movement's direction.
std::optional<double> NewValue(const Movement& m, double mouse) {
    if (m.kind == Movement::Kind::None || m.startDistance == 0.0) return std::nullopt;
    double v = m.start * ((mouse - m.reference) / m.startDistance);
    if (m.kind == Movement::Kind::Beam && IsMagnitude(m.index)) v = std::fabs(v);
    // The separation and the detector distance stop at the plane they are measured from.
    if (m.kind != Movement::Kind::Beam && v < 0.0) v = 0.0;
    // Selections hold singles; a value beyond them would fail every solve.
    if (!engine::FitsFloat(v)) return std::nullopt;
    return v;
}

// Stores a new value; true when it changed the design.
bool Store(app::DesignState& d, const Movement& m, double value) {
    switch (m.kind) {
        case Movement::Kind::None:
            return false;
        case Movement::Kind::Separation: {
            const float v = static_cast<float>(value);
            if (d.paraxial.options.advanced.separation == v) return false;
            d.paraxial.options.advanced.separation = v;
            return true;
        }
        case Movement::Kind::Detector:
            return beam::SetDetectorDistance(d.beam, value) == beam::EditResult::Accepted;
        case Movement::Kind::Beam: {
            const engine::Selection& sel = d.beam.axes[0].selection;
            const auto pos = sel.Find(m.index);
            if (!pos) return false;
            const engine::CVarType& e = sel.At(*pos);
            if (e.bVarValDef && e.sVarValue == static_cast<float>(value)) return false;
            MainWindow::StoreBeamValue(d, m.index, value);
            return true;
        }
    }
    return false;
}

// The start of a movement, in the state after the grab chose its parameter.
Movement MovementOf(const app::DesignState& d, BeamDragTarget target, const BeamTouchPoints& t,
                    double mouseX, double mouseY) {
    Movement m;
    switch (target) {
        case T::Element:
        case T::ObjectRayleigh:
            m.reference = t.objectWaistX;
            break;
        case T::FrontFocus:
        case T::SecondPrincipalPlane:
            m.reference = t.principalX;
            break;
        case T::ImageWaist:
        case T::RearFocus:
        case T::Detector:
            m.reference = t.secondPrincipalX;
            break;
        case T::ImageRayleigh:
            m.reference = t.imageWaistX;
            break;
        case T::ObjectRadius:
        case T::ImageRadius:
            m.reference = t.axisY;
            m.vertical = true;
            break;
        case T::None:
            return m;
    }
    m.startDistance = (m.vertical ? mouseY : mouseX) - m.reference;
    if (target == T::SecondPrincipalPlane) {
        m.kind = Movement::Kind::Separation;
        m.start = d.paraxial.options.PrincipalPlaneSeparation();
    } else if (target == T::Detector) {
        m.kind = Movement::Kind::Detector;
        // The detector stands at its distance in whole millimetres; one nearer than half a
        // millimetre stands at P', and scaling its rounded 0 would keep it there for ever.
        const double rounded = beam::DetectorDistance(d.beam.extrasOptions);
        m.start = rounded > 0.0 ? rounded : d.beam.extrasOptions.detectorDistance;
    } else {
        m.kind = Movement::Kind::Beam;
        m.index = ParameterOf(target);
        const engine::Selection& sel = d.beam.axes[0].selection;
        m.start = sel.Value(*sel.Find(m.index));
        if (IsMagnitude(m.index)) m.start = std::fabs(m.start);
    }
    return m;
}

std::string Millimetres(double v) {
    return text::Format(v, "0.0##mm");
}

std::string CurvatureText(double radius) {
    if (radius >= beam::kFlatWavefront) return text::Tr("plan");
    return text::Format(radius, radius < 10000.0 ? "0.0##mm" : "0.0e+00mm");
}

BeamHover ReadOut(std::string_view lead, double distance, double waistRadius, double m,
                  double lambda, drawing::Colour colour) {
    const double radius = m * beam::BeamRadiusAtDistance(waistRadius, distance, lambda);
    const double curvature = beam::WavefrontCurvatureRadius(waistRadius, distance, lambda);
    BeamHover h;
    // One of the two leads ends without a blank; the number never sticks to the word.
    const char* gap = lead.empty() || lead.back() == ' ' ? "" : " ";
    // Two lines: one would be cut after the radius in the narrowest window.
    h.text = std::string(lead) + gap + Millimetres(distance) + text::Tr(" Radius: ") +
             Millimetres(radius) + "\n" + text::Tr("Krümmungsradius ") + CurvatureText(curvature);
    h.colour = colour;
    return h;
}

}  // namespace

bool MovesHorizontally(BeamDragTarget target) {
    return target != T::None && !MovesVertically(target);
}

bool MovesVertically(BeamDragTarget target) {
    return target == T::ObjectRadius || target == T::ImageRadius;
}

BeamDragTarget BeamHitTest(const BeamTouchPoints& t, const BeamTouchConditions& c, double x,
                           double y) {
    if (NearSegment(x, y, t.principalX, t.axisY, t.elementRadiusY)) return T::Element;
    if (NearPoint(x, y, t.objectWaistX, t.objectRadiusY)) return T::ObjectRadius;
    if (NearPoint(x, y, t.objectRayleighX, t.belowAxisY)) return T::ObjectRayleigh;
    if (NearPoint(x, y, t.frontFocusX, t.belowAxisY)) return T::FrontFocus;
    if (c.advancedOptions && !c.mirror &&
        NearSegment(x, y, t.secondPrincipalX, t.belowAxisY, t.elementRadiusY)) {
        return T::SecondPrincipalPlane;
    }
    // The radius point lies on the waist's line: tried first, or it could never be grabbed.
    if (NearPoint(x, y, t.imageWaistX, t.imageRadiusY)) return T::ImageRadius;
    if (NearSegment(x, y, t.imageWaistX, t.belowAxisY, t.elementRadiusY)) return T::ImageWaist;
    if (NearPoint(x, y, t.imageRayleighX, t.markY)) return T::ImageRayleigh;
    if (NearPoint(x, y, t.rearFocusX, t.markY)) return T::RearFocus;
    if (c.detectorShown && NearPoint(x, y, t.detectorX, t.markY)) return T::Detector;
    return T::None;
}

BeamDragTarget BeamTargetAt(const WindowState& state, const BeamTouchPoints& touch, double mouseX,
                            double mouseY) {
    const app::DesignState& d = state.design;
    if (!state.machine.IsIdle() || !PictureShown(d) || !touch.registered) return T::None;
    return BeamHitTest(touch, ConditionsOf(d), mouseX, mouseY);
}

std::optional<engine::Selection> ChooseBeamParameter(const app::DesignState& design, int index) {
    const beam::BeamDesign& b = design.beam;
    const engine::Selection& sel = b.axes[0].selection;
    if (sel.Contains(index)) return sel;
    if (sel.Count() != 3 || !beam::BeamCheckBoxEnabled(b, index)) return std::nullopt;
    double value = b.axes[0].table[static_cast<std::size_t>(index)];
    if (IsMagnitude(index)) value = std::fabs(value);
    if (!engine::FitsFloat(value)) return std::nullopt;

    // The rule's position, then the other one of its pair (where distances or where beam
    // parameters stand), then the last.
    const int rule = RulePosition(sel, index);
    const bool distance = index < beam::kGbObjRadius;
    const int partner = distance ? 3 - rule : (rule == 2 ? 3 : 2);
    const std::array<int, 3> order{rule, partner, 6 - rule - partner};
    for (int position : order) {
        const int old = sel.Index(position);
        engine::Selection trial = sel;
        if (!trial.Replace(old, index, static_cast<float>(value)).ok()) continue;
        if (beam::ValidateBeamSelection(trial)) continue;
        // A slider that comes with limits around the value, as for a value typed in.
        engine::ExtendLimitsToValue(trial.Entry(*trial.Find(index)), value, 1.0,
                                    design.paraxial.Margin());
        if (!KeepsTheSystem(design, trial)) continue;
        return trial;
    }
    return std::nullopt;
}

std::optional<BeamDragSession> BeginBeamDrag(MainWindow& window, const BeamTouchPoints& touch,
                                             double mouseX, double mouseY) {
    const BeamDragTarget target = BeamTargetAt(window.State(), touch, mouseX, mouseY);
    if (target == T::None) return std::nullopt;
    const app::DesignState& current = window.State().design;

    // Chosen on a copy, so that a grab that cannot be arranged changes nothing.
    std::optional<engine::Selection> chosen;
    if (const int index = ParameterOf(target); index >= 0) {
        chosen = ChooseBeamParameter(current, index);
        if (!chosen) return std::nullopt;
    }
    const bool selectionChanged = chosen && !(*chosen == current.beam.axes[0].selection);

    if (!window.BeginDrag()) return std::nullopt;

    BeamDragSession s;
    s.target_ = target;
    s.active_ = true;
    s.selectionChanged_ = selectionChanged;
    s.secondAxisSolved_ = SecondAxisSolved(current);
    s.before_ = Capture(current);
    if (selectionChanged) {
        const bool second = s.secondAxisSolved_;
        const bool kept = window.DragChange(
            s.before_,
            [&](app::DesignState& d) {
                d.beam.axes[0].selection = std::move(*chosen);
                return true;
            },
            [second](const app::DesignState& d) { return StepSolved(d, second); });
        // The trial solved the same choice; should the window's solve still refuse it, the grab
        // ends as if it had missed.
        if (!kept) {
            window.EndDrag({});
            return std::nullopt;
        }
    }
    s.movement_ = MovementOf(window.State().design, target, touch, mouseX, mouseY);
    return s;
}

bool BeamDragTo(MainWindow& window, BeamDragSession& session, double mouseX, double mouseY) {
    if (!session.active_ || !window.State().machine.IsDragging()) return false;
    if (!std::isfinite(mouseX) || !std::isfinite(mouseY)) return false;
    const Movement& m = session.movement_;
    const auto value = NewValue(m, m.vertical ? mouseY : mouseX);
    if (!value) return false;
    const bool second = session.secondAxisSolved_;
    const bool changed = window.DragChange(
        session.before_, [&](app::DesignState& d) { return Store(d, m, *value); },
        [second](const app::DesignState& d) { return StepSolved(d, second); });
    session.valuesChanged_ = session.valuesChanged_ || changed;
    return changed;
}

void EndBeamDrag(MainWindow& window, BeamDragSession& session) {
    if (!session.active_) return;
    session.active_ = false;
    if (!window.State().machine.IsDragging()) return;
    window.EndDrag([&session](app::DesignState& d) {
        const Movement& m = session.movement_;
        if (!session.valuesChanged_ || m.kind != Movement::Kind::Beam) return;
        engine::Selection& sel = d.beam.axes[0].selection;
        if (const auto pos = sel.Find(m.index)) {
            engine::CVarType& e = sel.Entry(*pos);
            if (e.bVarValDef) engine::ExtendLimitsToValue(e, e.sVarValue, 1.0, d.paraxial.Margin());
        }
    });
}

std::optional<BeamHover> BeamHoverInfo(const app::DesignState& design,
                                       const drawing::BeamDrawingMemory& memory, double mouseX,
                                       double mouseY) {
    if (!PictureShown(design) || !memory.touch.registered) return std::nullopt;
    const beam::BeamDesign& b = design.beam;
    const auto at = drawing::BeamAtPixel(b, memory, mouseX, mouseY);
    if (!at) return std::nullopt;
    const beam::BeamAxis& axis = b.Axis(at->axis);
    const double m = beam::MFactor(b, at->axis);
    const double lambda = b.WavelengthMm();
    if (at->objectSide) {
        return ReadOut(text::Tr("Abstand zur Objektgröße "), at->distance,
                       std::fabs(axis.table[beam::kGbObjRadius]), m, lambda, drawing::kRed);
    }
    return ReadOut(text::Tr("Abstand zur Bildgröße "), at->distance,
                   std::fabs(axis.table[beam::kGbImgRadius]), m, lambda, drawing::kBlue);
}

}  // namespace rs::ui
