#pragma once
// Drag editing of the paraxial picture. The object and image arrows (foot, tip or the whole
// arrow), the aperture rim at the element, the second principal plane and the two focal points
// can be grabbed with the mouse. A grab first makes sure that the values the movement changes
// are among the chosen parameters (it may give up another chosen parameter for them); every
// mouse move then writes new values and the window solves and lists again. The whole drag is
// one undo step.
//
// Pixels in, state out. Every mouse coordinate is a surface pixel of the picture the grab
// targets were drawn in (x to the right, y downwards). The GUI's part:
//
//   mouse-down on the picture, any button:
//       session = BeginParaxialDrag(window, touch, x, y);
//       if (session) { re-render the window (if session->SelectionChanged(), the parameter
//                      boxes and lists now name other parameters); redraw the picture; }
//   mouse move while a session is active:
//       if (DragTo(window, *session, x, y)) { re-render the value boxes and sliders; redraw; }
//   mouse-up while a session is active:
//       EndParaxialDrag(window, *session); session.reset(); re-render; redraw;
//
// `touch` is the ParaxialTouchPoints that the last redraw outside a drag registered. Redraw
// with app::DrawDesign(..., window.State().machine.IsDragging(), ...): while the window drags, the
// flag keeps the extents and touch points of that redraw, so the picture does not rescale under the
// mouse and the grab keeps mapping pixels with the scale it started with. The first redraw after
// the mouse-up fits the picture to the new system again.
//
// Nothing here throws or divides by zero; mouse coordinates that are not numbers, or far outside
// the surface, grab nothing and move nothing.
#include <cstdint>
#include <optional>

#include "drawing/paraxial_drawing.h"
#include "ui/data_backup.h"
#include "ui/touch.h"

namespace rs::ui {

class MainWindow;
struct WindowState;
using drawing::DrawingScale;
using drawing::ParaxialDrawingOptions;
using drawing::ParaxialTouchPoints;

// What a grab holds. The numbers are those the rest of the program knows the targets by.
enum class DragTarget : std::int16_t {
    None = 0,
    ObjectArrow = 1,           // a and u
    ObjectFoot = 2,            // a
    ObjectTip = 3,             // u
    ImageArrow = 4,            // a' and u'
    ImageFoot = 5,             // a'
    ImageTip = 6,              // u'
    ApertureRim = 7,           // stop radius r
    SecondPrincipalPlane = 8,  // principal-plane separation HH'
    FrontFocus = 9,            // f'
    RearFocus = 10,            // f'
};

// Which mouse directions change a value of the target (for the cursor shape, say).
bool MovesHorizontally(DragTarget target);
bool MovesVertically(DragTarget target);

// The grab targets in surface pixels, from the world positions a redraw registered.
struct TouchPoints {
    float axisY = 0.0f;
    float objectTipY = 0.0f;
    float imageTipY = 0.0f;
    float apertureTopY = 0.0f;
    float apertureBottomY = 0.0f;
    float objectX = 0.0f;
    float frontFocusX = 0.0f;
    float principalX = 0.0f;  // P, the element
    float secondPrincipalX = 0.0f;
    float rearFocusX = 0.0f;
    float imageX = 0.0f;
};

// Nothing until a redraw has registered its touch points.
std::optional<TouchPoints> RegisterTouchPoints(const ParaxialTouchPoints& touch);

// What decides whether the aperture rim and the second principal plane can be grabbed.
struct TouchConditions {
    bool constructionRays = false;  // the element is drawn at the conjugates' height, not r
    bool apertureDefined = false;   // an aperture parameter with a value is chosen
    bool advancedOptions = false;   // only then can the principal planes be separated
    bool mirror = false;            // a mirror has no principal-plane separation
};

// The first target hit, trying them in the order foot, tip, arrow for the object and then the
// image, aperture rim, second principal plane, front and rear focal point; a foot therefore
// wins where it overlaps its arrow.
DragTarget TouchHitTest(const TouchPoints& points, const TouchConditions& conditions, double mouseX,
                        double mouseY);

// The target a mouse-down at (mouseX, mouseY) would grab now: None while the window is busy or
// in the beam mode, or when the picture shows no solved system. Pure; for the cursor shape.
DragTarget TargetAt(const ui::WindowState& state, const ParaxialTouchPoints& touch, double mouseX,
                    double mouseY);

// One drag, from mouse-down to mouse-up. Kept by the GUI and handed back on every move.
class DragSession {
public:
    DragTarget Target() const { return target_; }
    // The grab changed which general (or aperture) parameters are chosen.
    bool SelectionChanged() const { return selectionChanged_; }
    // False once the drag has ended; an ended session moves nothing.
    bool Active() const { return active_; }

    // How one mouse direction changes one value.
    struct Movement {
        enum class Kind : std::uint8_t { None, General, StopRadius, Separation };
        Kind kind = Kind::None;
        int index = -1;              // the general parameter, for Kind::General
        double start = 0.0;          // the value at mouse-down
        double reference = 0.0;      // pixel of the line the value is measured from
        double grabOffset = 0.0;     // mouse minus reference at mouse-down
        double pixelsPerUnit = 0.0;  // how far the feature moves per unit of the value
    };

private:
    friend std::optional<DragSession> BeginParaxialDrag(ui::MainWindow&, const ParaxialTouchPoints&,
                                                        double, double);
    friend bool DragTo(ui::MainWindow&, DragSession&, double, double);
    friend void EndParaxialDrag(ui::MainWindow&, DragSession&);

    DragTarget target_ = DragTarget::None;
    bool selectionChanged_ = false;
    bool active_ = false;
    bool valuesChanged_ = false;
    Movement horizontal_;
    Movement vertical_;
    // The state at mouse-down, until the drag first changes something and it becomes the undo
    // backup: a click that moves nothing must not cost the user their undo step.
    std::optional<ui::Snapshot> before_;
};

// Mouse-down. Starts a drag (the window's busy state becomes "dragging") when a target is hit
// and the window is idle, in the paraxial mode and shows a solved system. When the value the
// target changes is not chosen, it takes the place of one chosen parameter, with its current
// value and automatic limits, such that the combination stays allowed; the other chosen
// parameters keep their values. Nothing (and no change at all) on a miss, or when no allowed
// combination holds the target's values.
std::optional<DragSession> BeginParaxialDrag(ui::MainWindow& window,
                                             const ParaxialTouchPoints& touch, double mouseX,
                                             double mouseY);

// Mouse move. Writes the new values and has the window solve and list again; true when a value
// changed, so the picture is to be redrawn. A grab on the feature keeps the feature under the
// mouse; a grab a few pixels off scales the value by the ratio of the distances from the
// reference line (the element, the second principal plane or the axis). A step that would bring
// a half-field angle to 90° or beyond changes nothing.
bool DragTo(ui::MainWindow& window, DragSession& session, double mouseX, double mouseY);

// Mouse-up. Widens the slider limits of the dragged values to contain them and returns the
// window to idle with the result list refreshed. Safe to call twice.
void EndParaxialDrag(ui::MainWindow& window, DragSession& session);

}  // namespace rs::ui
