#pragma once
// The beam's envelope: the pieces between the waists, the element and the picture's ends, their
// samples, the radius they reach (which sets the frame's height) and their lines.
#include <array>
#include <vector>

#include "drawing/beam_layout.h"
#include "drawing/beam_painter.h"

namespace rs::drawing::beam_picture {

// One envelope piece: point i lies at x0 + direction·z with the radius of the waist at the
// distance z = z0 + i·step.
struct Segment {
    double x0 = 0.0;
    double direction = 1.0;
    double z0 = 0.0;
    double step = 0.0;
    double waist = 0.0;
    bool objectSide = true;
    bool virtualPart = false;   // where the beam only seems to come from or go to
    bool continuation = false;  // the real beam on the far side of a virtual waist
    bool beyondWaist = false;   // the real beam behind a real image waist, without a detector
};

// The envelope pieces of one axis between the picture's ends xLeft and xRight: from the object
// waist to the element and from the element to the image waist, and beyond the image waist up
// to a detector behind it (without one, to the picture's end). A waist on the far side of the
// element is virtual: the piece between it and the element is dotted, and the real beam is drawn
// from the element to the picture's end on its side, so a diverging element shows the beam it sends
// on.
std::vector<Segment> Segments(const AxisData& a, double xLeft, double xRight);

struct EnvelopePoint {
    double x = 0.0;
    double w = 0.0;
};

std::array<EnvelopePoint, kEnvelopeSamples> Sample(const Segment& seg, double wavelengthMm);

// The half height (mm) of the main frames: what the drawn axes' beams need to stay in sight.
double FrameHalfHeight(const std::vector<AxisData>& data, const beam::AxialRange& range,
                       double wavelengthMm);

// The object side's envelope in red, the image side's in blue, the real beam (M > 1) lighter.
void DrawEnvelopes(Painter& p, const AxisPicture& ap);

// The same axis of a reference design in light grey, in the picture's frame: the real beam's
// envelope (M times the Gaussian's) and the element's bar. Nothing when that axis has no
// solution.
void DrawReferenceEnvelopes(Painter& p, const AxisPicture& ap, const beam::BeamDesign& reference);

}  // namespace rs::drawing::beam_picture
