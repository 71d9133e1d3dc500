#pragma once
// Drag editing of the Gaussian-beam picture, and the read-out under the mouse. The element, the
// object and image waists (their radius and, for the image, the position), the two Rayleigh
// marks, the focal points, the second principal plane and the detector can be grabbed. A grab
// first makes sure the beam parameter it changes is among axis 0's chosen ones (it may give up
// another for it); every mouse move then scales that value by how far the mouse is from the
// feature's reference line, against where the grab began, and the window solves and lists
// again. The whole drag is one undo step.
//
// Pixels in, state out; every mouse coordinate is a surface pixel of the beam picture. The GUI's
// part, beside the paraxial drag (paraxial_drag.h):
//
//   mouse-down on the picture in the beam mode, any button:
//       session = BeginBeamDrag(window, memory.beam.touch, x, y);
//       if (session) { re-render the window (if session->SelectionChanged(), the beam boxes and
//                      lists now name other parameters); redraw the picture; }
//   mouse move while a session is active:
//       if (BeamDragTo(window, *session, x, y)) { re-render the value boxes and sliders; redraw; }
//   mouse move while idle:
//       cursor from BeamTargetAt(window.State(), memory.beam.touch, x, y) (MovesHorizontally,
//       MovesVertically); read-out from
//       BeamHoverInfo(window.State().design, memory.beam, x, y): show its
//       text in its colour, or clear the read-out when there is none;
//   mouse-up while a session is active:
//       EndBeamDrag(window, *session); session.reset(); re-render; redraw;
//
// `touch` is what the last redraw outside a drag registered (app::DrawDesign with the window's
// IsDragging() keeps it frozen while the window drags, so pixels map with the grab's scale).
//
// Nothing here throws or divides by zero; mouse coordinates that are not numbers, or far outside
// the surface, grab nothing, move nothing and read nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "app/design_state.h"
#include "drawing/beam_drawing.h"
#include "drawing/surface.h"
#include "ui/data_backup.h"

namespace rs::ui {

class MainWindow;
struct WindowState;
using drawing::BeamTouchPoints;

// What a grab holds. The numbers are those the rest of the program knows the targets by (6 is
// not used).
enum class BeamDragTarget : std::int16_t {
    None = 0,
    Element = 1,               // s: the element moves against the object waist
    ObjectRadius = 2,          // r
    ObjectRayleigh = 3,        // zr
    FrontFocus = 4,            // f'
    SecondPrincipalPlane = 5,  // principal-plane separation HH'
    ImageWaist = 7,            // s'
    ImageRadius = 8,           // r'
    ImageRayleigh = 9,         // zr'
    RearFocus = 10,            // f'
    Detector = 11,             // detector distance
};

// Which mouse direction changes the target's value (for the cursor shape).
bool MovesHorizontally(BeamDragTarget target);
bool MovesVertically(BeamDragTarget target);

// What decides whether the second principal plane and the detector can be grabbed.
struct BeamTouchConditions {
    bool advancedOptions = false;  // only then can the principal planes be separated
    bool mirror = false;           // a mirror has no principal-plane separation
    bool detectorShown = false;
};

// The first target hit, trying them in the order element, object radius, object Rayleigh mark,
// front focal point, second principal plane, image radius, image waist, image Rayleigh mark,
// rear focal point, detector. The image radius is tried before the image waist's line, on
// which its point lies, so that both can be grabbed.
BeamDragTarget BeamHitTest(const BeamTouchPoints& touch, const BeamTouchConditions& conditions,
                           double mouseX, double mouseY);

// The target a mouse-down at (mouseX, mouseY) would grab now: None while the window is busy,
// outside the beam mode, or when axis 0 has no solution (no picture to grab). Pure.
BeamDragTarget BeamTargetAt(const WindowState& state, const BeamTouchPoints& touch, double mouseX,
                            double mouseY);

// One drag, from mouse-down to mouse-up. Kept by the GUI and handed back on every move.
class BeamDragSession {
public:
    BeamDragTarget Target() const { return target_; }
    // The grab changed which beam parameters axis 0 has chosen.
    bool SelectionChanged() const { return selectionChanged_; }
    // False once the drag has ended; an ended session moves nothing.
    bool Active() const { return active_; }

    // How the mouse changes the value.
    struct Movement {
        enum class Kind : std::uint8_t { None, Beam, Separation, Detector };
        Kind kind = Kind::None;
        int index = -1;              // the beam parameter, for Kind::Beam
        bool vertical = false;       // measured along y (the waist radii)
        double start = 0.0;          // the value at mouse-down
        double reference = 0.0;      // pixel of the line the value is measured from
        double startDistance = 0.0;  // mouse minus reference at mouse-down
    };

private:
    friend std::optional<BeamDragSession> BeginBeamDrag(MainWindow&, const BeamTouchPoints&, double,
                                                        double);
    friend bool BeamDragTo(MainWindow&, BeamDragSession&, double, double);
    friend void EndBeamDrag(MainWindow&, BeamDragSession&);

    BeamDragTarget target_ = BeamDragTarget::None;
    bool selectionChanged_ = false;
    bool active_ = false;
    bool valuesChanged_ = false;
    // A diode's second axis that had no solution at mouse-down does not hold the drag back.
    bool secondAxisSolved_ = false;
    Movement movement_;
    // The state at mouse-down, until the drag first changes something and it becomes the undo
    // backup: a click that moves nothing keeps the user's last undo step.
    std::optional<Snapshot> before_;
};

// Which of axis 0's chosen beam parameters a grab that needs `index` gives up: the parameters
// stay in ascending index order, so a position (1..3) says what kind of parameter stands there.
// When position 2 holds a beam parameter, a distance (s, f', s') goes to position 1, zr to 2
// and zr' to 3; otherwise a distance goes to 2 and zr or zr' to 3. r goes to 2 when position 3
// holds an image-side (or a conjugate) parameter, else to 3; r' always to 3. When that
// position gives a combination the beam rules refuse, or one whose solve is not the beam on
// screen (no solution, or the other root of a quadratic), the other one of its pair and then
// the last are tried. A parameter whose check box is disabled (circularising) is not taken. The
// selection with `index` in it, its value and limits around it, or nothing when no position
// gives an allowed combination; the selection itself when `index` is chosen already.
std::optional<engine::Selection> ChooseBeamParameter(const app::DesignState& design, int index);

// Mouse-down. Starts a drag (the window's busy state becomes "dragging") when a target is hit
// while the window is idle in the beam mode with axis 0 solved, and its parameter can be
// chosen (ChooseBeamParameter). Nothing (and no change at all) otherwise.
std::optional<BeamDragSession> BeginBeamDrag(MainWindow& window, const BeamTouchPoints& touch,
                                             double mouseX, double mouseY);

// Mouse move: value = start value · (mouse − reference) / (start distance), along x or, for the
// waist radii, y. Waist radii and Rayleigh lengths keep their magnitude; the principal-plane
// separation and the detector distance stop at 0. The window solves and lists again; a step whose
// solve fails (axis 0, or a diode's second axis that was solved at mouse-down) is taken back whole.
// True when the design changed, so the picture is to be redrawn.
bool BeamDragTo(MainWindow& window, BeamDragSession& session, double mouseX, double mouseY);

// Mouse-up. Widens the slider limits of the dragged parameter to contain its value and returns
// the window to idle with the result list refreshed. Safe to call twice.
void EndBeamDrag(MainWindow& window, BeamDragSession& session);

// The read-out under the mouse.
struct BeamHover {
    std::string text;
    drawing::Colour colour = 0;
};

// Distance to the waist of the beam under the mouse, its radius (M-scaled) and its wavefront
// curvature radius, in red on the object side and in blue on the image side: wherever the last
// redraw drew a beam (drawing::BeamAtPixel), in either diode axis's picture. Nothing (clear the
// read-out) elsewhere, outside the beam mode, without a solution of axis 0 or before a redraw
// registered the touch points. Only while the window is idle.
std::optional<BeamHover> BeamHoverInfo(const app::DesignState& design,
                                       const drawing::BeamDrawingMemory& memory, double mouseX,
                                       double mouseY);

}  // namespace rs::ui
