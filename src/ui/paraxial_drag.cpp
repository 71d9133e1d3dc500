#include "ui/paraxial_drag.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <utility>

#include "app/presentation.h"
#include "engine/catalogue.h"
#include "engine/continuity.h"
#include "engine/selection.h"
#include "engine/solver.h"
#include "ui/image_formats.h"
#include "ui/main_window.h"
#include "ui/window_state.h"

namespace rs::ui {

namespace {

using Movement = DragSession::Movement;
using engine::CVarType;

int HorizontalParam(DragTarget t) {
    switch (t) {
        case DragTarget::ObjectArrow:
        case DragTarget::ObjectFoot:
            return engine::kObjDist;
        case DragTarget::ImageArrow:
        case DragTarget::ImageFoot:
            return engine::kImgDist;
        case DragTarget::FrontFocus:
        case DragTarget::RearFocus:
            return engine::kFocal;
        default:
            return -1;
    }
}

int VerticalParam(DragTarget t) {
    switch (t) {
        case DragTarget::ObjectArrow:
        case DragTarget::ObjectTip:
            return engine::kObjHeight;
        case DragTarget::ImageArrow:
        case DragTarget::ImageTip:
            return engine::kImgHeight;
        default:
            return -1;
    }
}

TouchConditions ConditionsOf(const engine::ParaxialDesign& p, const app::WindowOptions& w) {
    TouchConditions c;
    c.constructionRays = w.drawHaltingRay;
    c.apertureDefined = !p.bApertureUndefined && p.aperture.Count() == 1;
    c.advancedOptions = p.options.advOptions;
    c.mirror = p.options.mirrorMode;
    return c;
}

// Makes `index` a chosen general parameter with `value`, giving up the parameter at one of the
// candidate positions: for a distance positions 1 and 2 (where the conjugates stand), for a
// height 3 and 2 (where the field parameters stand). The first candidate whose result is an
// allowed combination wins; a candidate holding `keep`, the other value of the same grab, is
// never given up. A distance takes position 1 when position 2 holds a field parameter (the
// only conjugate is then at 1), else position 2; a height takes position 3 first. False when
// no candidate gives an allowed combination.
bool Choose(engine::Selection& params, int index, float value, bool distance, int keep,
            double margin) {
    if (params.Contains(index)) return true;
    if (params.Count() != 3) return false;
    std::array<int, 2> order{3, 2};
    if (distance) {
        order = engine::IsFieldIndex(params.Index(2)) ? std::array{1, 2} : std::array{2, 1};
    }
    for (int position : order) {
        const int old = params.Index(position);
        if (old == keep) continue;
        engine::Selection trial = params;
        if (!trial.Replace(old, index, value).ok()) continue;
        if (engine::CombinationMessage(trial)) continue;
        // A slider that comes with limits around the value, as for a value typed in.
        if (const auto pos = trial.Find(index)) {
            engine::ExtendLimitsToValue(trial.Entry(*pos), value, 1.0, margin);
        }
        params = std::move(trial);
        return true;
    }
    return false;
}

// The new value for a mouse coordinate. A grab on the feature's side of the reference line
// scales the start value by the ratio of the distances from that line, so an exact grab keeps
// the feature under the mouse and a grab a few pixels off scales in proportion. Where that
// ratio cannot move the feature (a value of 0 sits on the line and would stay 0 for ever; a
// grab exactly on the line has no ratio; a grab across the line would move the feature against
// the mouse), the feature is put where the mouse is instead.
std::optional<double> NewValue(const Movement& m, double mouse) {
    const double along = mouse - m.reference;
    const double featureOffset = m.start * m.pixelsPerUnit;
    // Either side of the axis is the rim's side: the stop radius has no sign.
    const bool sameSide =
        m.kind == Movement::Kind::StopRadius || (m.grabOffset > 0.0) == (featureOffset > 0.0);
    double v = 0.0;
    if (m.start != 0.0 && m.grabOffset != 0.0 && sameSide) {
        v = m.start * (along / m.grabOffset);
    } else if (m.pixelsPerUnit != 0.0) {
        v = along / m.pixelsPerUnit;
    } else {
        return std::nullopt;
    }
    if (m.kind == Movement::Kind::StopRadius) v = std::fabs(v);
    if (m.kind == Movement::Kind::Separation && v < 0.0) v = 0.0;
    // Tables hold single precision; a value beyond it would fail every solve.
    if (!engine::FitsFloat(v)) return std::nullopt;
    return v;
}

// Stores a new value; true when it changed the design.
bool Store(app::DesignState& d, const Movement& m, double value) {
    engine::ParaxialDesign& p = d.paraxial;
    const float v = static_cast<float>(value);
    CVarType* entry = nullptr;
    switch (m.kind) {
        case Movement::Kind::None:
            return false;
        case Movement::Kind::Separation:
            if (p.options.advanced.separation == v) return false;
            p.options.advanced.separation = v;
            return true;
        case Movement::Kind::StopRadius:
            if (const auto pos = p.aperture.Find(engine::kStopRadius))
                entry = &p.aperture.Entry(*pos);
            break;
        case Movement::Kind::General:
            if (const auto pos = p.params.Find(m.index)) entry = &p.params.Entry(*pos);
            // A real object may not be dragged through the element unless virtual objects are
            // allowed, as a positive object distance may not be typed then: it stays where the
            // last allowed position put it.
            if (m.index == engine::kObjDist && v > 0.0f && !d.window.positiveObj) return false;
            break;
    }
    if (entry == nullptr || (entry->bVarValDef && entry->sVarValue == v)) return false;
    SetGeneralValue(d, *entry, v);
    return true;
}

void WidenLimits(engine::ParaxialDesign& p, const Movement& m) {
    engine::Selection* set = nullptr;
    int index = m.index;
    if (m.kind == Movement::Kind::General) {
        set = &p.params;
    } else if (m.kind == Movement::Kind::StopRadius) {
        set = &p.aperture;
        index = engine::kStopRadius;
    }
    if (set == nullptr) return;
    if (const auto pos = set->Find(index)) {
        CVarType& e = set->Entry(*pos);
        if (e.bVarValDef) engine::ExtendLimitsToValue(e, e.sVarValue, 1.0, p.Margin());
    }
}

// Pixels per unit that are no number leave the movement without its fallback.
double Usable(double pixelsPerUnit) {
    return std::isfinite(pixelsPerUnit) ? pixelsPerUnit : 0.0;
}

// The chosen parameters a grab needs, arranged on copies so that a grab that cannot be arranged
// changes nothing.
struct Arrangement {
    engine::Selection params;
    engine::Selection aperture;
};

// The target's values take the places of other chosen parameters (see Choose); the rim makes the
// stop radius the aperture parameter. Nothing when no allowed combination holds them.
std::optional<Arrangement> ArrangeForGrab(const engine::ParaxialDesign& p, DragTarget target) {
    Arrangement a{p.params, p.aperture};
    const int hParam = HorizontalParam(target);
    const int vParam = VerticalParam(target);
    if (hParam >= 0 &&
        !Choose(a.params, hParam, p.paramTable.Get(hParam), true, vParam, p.Margin())) {
        return std::nullopt;
    }
    if (vParam >= 0 &&
        !Choose(a.params, vParam, p.paramTable.Get(vParam), false, hParam, p.Margin())) {
        return std::nullopt;
    }
    if (target == DragTarget::ApertureRim && a.aperture.Index(1) != engine::kStopRadius) {
        const float r = p.apertureTable.Get(engine::kStopRadius);
        if (!a.aperture.Replace(a.aperture.Index(1), engine::kStopRadius, r).ok()) {
            return std::nullopt;
        }
        engine::ExtendLimitsToValue(a.aperture.Entry(1), r, 1.0, p.Margin());
    }
    return a;
}

// The arranged parameters become the chosen ones, as the drag's first change.
void TakeArrangement(ui::MainWindow& window, std::optional<ui::Snapshot>& before, Arrangement a) {
    window.DragChange(before, [&](app::DesignState& d) {
        d.paraxial.params = std::move(a.params);
        d.paraxial.aperture = std::move(a.aperture);
        // The object at infinity is a property of a chosen object distance.
        if (!d.paraxial.params.Contains(engine::kObjDist)) {
            d.paraxial.options.objAtInfinity = false;
        }
        return true;
    });
}

// Distances are measured from the element, or from the second principal plane on the image
// side.
Movement HorizontalMovement(DragTarget target, const engine::ParaxialDesign& now,
                            const TouchPoints& t, double scaleX, double mouseX) {
    const int hParam = HorizontalParam(target);
    Movement h;
    switch (target) {
        case DragTarget::ObjectArrow:
        case DragTarget::ObjectFoot:
        case DragTarget::ImageArrow:
        case DragTarget::ImageFoot:
        case DragTarget::FrontFocus:
        case DragTarget::RearFocus: {
            const bool imageSide = target == DragTarget::ImageArrow ||
                                   target == DragTarget::ImageFoot ||
                                   target == DragTarget::RearFocus;
            h.kind = Movement::Kind::General;
            h.index = hParam;
            h.start = now.params.Value(*now.params.Find(hParam));
            h.reference = imageSide ? t.secondPrincipalX : t.principalX;
            if (hParam == engine::kFocal) {
                // A focal point lies f' times a factor of the media from its principal plane.
                const double feature =
                    target == DragTarget::FrontFocus ? t.frontFocusX : t.rearFocusX;
                h.pixelsPerUnit = h.start != 0.0 ? Usable((feature - h.reference) / h.start) : 0.0;
            } else {
                h.pixelsPerUnit = scaleX;
            }
            break;
        }
        case DragTarget::SecondPrincipalPlane:
            h.kind = Movement::Kind::Separation;
            h.start = now.options.PrincipalPlaneSeparation();
            h.reference = t.principalX;
            h.pixelsPerUnit = scaleX;
            break;
        default:
            break;
    }
    if (h.kind != Movement::Kind::None) h.grabOffset = mouseX - h.reference;
    return h;
}

// Heights are measured from the axis; pixel y grows downwards, heights upwards.
Movement VerticalMovement(DragTarget target, const engine::ParaxialDesign& now,
                          const TouchPoints& t, double scaleY, double mouseY) {
    const int vParam = VerticalParam(target);
    Movement v;
    if (vParam >= 0) {
        v.kind = Movement::Kind::General;
        v.index = vParam;
        v.start = now.params.Value(*now.params.Find(vParam));
    } else if (target == DragTarget::ApertureRim) {
        v.kind = Movement::Kind::StopRadius;
        v.start = now.aperture.Value(1);
    }
    if (v.kind != Movement::Kind::None) {
        v.reference = t.axisY;
        v.pixelsPerUnit = -scaleY;
        v.grabOffset = mouseY - v.reference;
    }
    return v;
}

}  // namespace

bool MovesHorizontally(DragTarget target) {
    return HorizontalParam(target) >= 0 || target == DragTarget::SecondPrincipalPlane;
}

bool MovesVertically(DragTarget target) {
    return VerticalParam(target) >= 0 || target == DragTarget::ApertureRim;
}

std::optional<TouchPoints> RegisterTouchPoints(const ParaxialTouchPoints& touch) {
    if (!touch.registered) return std::nullopt;
    const DrawingScale& s = touch.scale;
    TouchPoints p;
    p.axisY = s.WorldToScreenY(touch.axisY);
    p.objectTipY = s.WorldToScreenY(touch.objectTipY);
    p.imageTipY = s.WorldToScreenY(touch.imageTipY);
    p.apertureTopY = s.WorldToScreenY(touch.apertureTopY);
    p.apertureBottomY = s.WorldToScreenY(touch.apertureBottomY);
    p.objectX = s.WorldToScreenX(touch.objectX);
    p.frontFocusX = s.WorldToScreenX(touch.frontFocusX);
    p.principalX = s.WorldToScreenX(touch.principalX);
    p.secondPrincipalX = s.WorldToScreenX(touch.secondPrincipalX);
    p.rearFocusX = s.WorldToScreenX(touch.rearFocusX);
    p.imageX = s.WorldToScreenX(touch.imageX);
    return p;
}

DragTarget TouchHitTest(const TouchPoints& t, const TouchConditions& c, double x, double y) {
    if (NearPoint(x, y, t.objectX, t.axisY)) return DragTarget::ObjectFoot;
    if (NearPoint(x, y, t.objectX, t.objectTipY)) return DragTarget::ObjectTip;
    if (NearSegment(x, y, t.objectX, t.axisY, t.objectTipY)) return DragTarget::ObjectArrow;
    if (NearPoint(x, y, t.imageX, t.axisY)) return DragTarget::ImageFoot;
    if (NearPoint(x, y, t.imageX, t.imageTipY)) return DragTarget::ImageTip;
    if (NearSegment(x, y, t.imageX, t.axisY, t.imageTipY)) return DragTarget::ImageArrow;
    // The rim exists only with an aperture parameter, and is drawn only without the
    // construction rays (they size the element by the conjugates instead).
    if (!c.constructionRays && c.apertureDefined &&
        NearSegment(x, y, t.principalX, t.apertureBottomY, t.apertureTopY)) {
        return DragTarget::ApertureRim;
    }
    if (c.advancedOptions && !c.mirror) {
        // Without an aperture the registered rim is an old value: the plane is grabbed at the
        // axis then.
        const float top = c.apertureDefined ? t.apertureTopY : t.axisY;
        const float bottom = c.apertureDefined ? t.apertureBottomY : t.axisY;
        if (NearSegment(x, y, t.secondPrincipalX, bottom, top)) {
            return DragTarget::SecondPrincipalPlane;
        }
    }
    if (NearPoint(x, y, t.frontFocusX, t.axisY)) return DragTarget::FrontFocus;
    if (NearPoint(x, y, t.rearFocusX, t.axisY)) return DragTarget::RearFocus;
    return DragTarget::None;
}

DragTarget TargetAt(const ui::WindowState& state, const ParaxialTouchPoints& touch, double mouseX,
                    double mouseY) {
    const app::DesignState& d = state.design;
    if (!state.machine.IsIdle() || d.beam.beamMode) return DragTarget::None;
    // An invalid solution is not drawn; its touch points belong to an older picture.
    if (d.paraxial.bCalcInvalid || !app::ParaxialComplete(d)) return DragTarget::None;
    const auto points = RegisterTouchPoints(touch);
    if (!points) return DragTarget::None;
    return TouchHitTest(*points, ConditionsOf(d.paraxial, d.window), mouseX, mouseY);
}

std::optional<DragSession> BeginParaxialDrag(ui::MainWindow& window,
                                             const ParaxialTouchPoints& touch, double mouseX,
                                             double mouseY) {
    const DragTarget target = TargetAt(window.State(), touch, mouseX, mouseY);
    if (target == DragTarget::None) return std::nullopt;
    const app::DesignState& current = window.State().design;
    std::optional<Arrangement> arranged = ArrangeForGrab(current.paraxial, target);
    if (!arranged) return std::nullopt;
    const bool selectionChanged = !(arranged->params == current.paraxial.params) ||
                                  !(arranged->aperture == current.paraxial.aperture);

    if (!window.BeginDrag()) return std::nullopt;

    DragSession s;
    s.target_ = target;
    s.active_ = true;
    s.selectionChanged_ = selectionChanged;
    s.before_ = ui::Capture(current);
    if (selectionChanged) TakeArrangement(window, s.before_, std::move(*arranged));

    const TouchPoints t = *RegisterTouchPoints(touch);
    const engine::ParaxialDesign& now = window.State().design.paraxial;
    s.horizontal_ = HorizontalMovement(target, now, t, touch.scale.scaleX, mouseX);
    s.vertical_ = VerticalMovement(target, now, t, touch.scale.scaleY, mouseY);
    return s;
}

bool DragTo(ui::MainWindow& window, DragSession& session, double mouseX, double mouseY) {
    if (!session.active_ || !window.State().machine.IsDragging()) return false;
    if (!std::isfinite(mouseX) || !std::isfinite(mouseY)) return false;
    const bool changed = window.DragChange(
        session.before_,
        [&](app::DesignState& d) {
            bool moved = false;
            if (const auto x = NewValue(session.horizontal_, mouseX)) {
                moved = Store(d, session.horizontal_, *x) || moved;
            }
            if (const auto y = NewValue(session.vertical_, mouseY)) {
                moved = Store(d, session.vertical_, *y) || moved;
            }
            return moved;
        },
        // A step that would turn a field angle to 90° or beyond (an object pressed against the
        // element, say) is not taken: the system stays where the last allowed step put it.
        [](const app::DesignState& d) {
            return engine::FieldAnglesInRange(d.paraxial.paramTable);
        });
    session.valuesChanged_ = session.valuesChanged_ || changed;
    return changed;
}

void EndParaxialDrag(ui::MainWindow& window, DragSession& session) {
    if (!session.active_) return;
    session.active_ = false;
    if (!window.State().machine.IsDragging()) return;
    window.EndDrag([&session](app::DesignState& d) {
        if (!session.valuesChanged_) return;
        WidenLimits(d.paraxial, session.horizontal_);
        WidenLimits(d.paraxial, session.vertical_);
    });
}

}  // namespace rs::ui
