#include "drawing/sign_convention.h"
#include "text/tr.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <vector>

namespace rs::drawing {
namespace {

// The example system in mm: f' = 60, a real object 150 mm in front, 30 mm high. With
// 1/a' - 1/a = 1/f' the image lies 100 mm behind the lens and is 20 mm high, upside down.
constexpr double kFocal = 60.0;
constexpr double kObject = -150.0;
constexpr double kImage = 100.0;
constexpr double kObjectHeight = 30.0;
constexpr double kImageHeight = kObjectHeight * kImage / kObject;  // -20
constexpr double kLensHalfHeight = 40.0;
// World x range: the object and the image with some air around them.
constexpr double kWorldLeft = kObject - 25.0;
constexpr double kWorldRight = kImage + 40.0;

constexpr Colour kArrowColour = kRed;
constexpr Colour kRayColour = kBlue;
constexpr Colour kAngleColour = 0x008000;  // dark green
constexpr Colour kDimension = kBlack;
constexpr double kMargin = 6.0;
constexpr double kHead = 7.0;  // arrowhead length in pixels

class Picture {
public:
    explicit Picture(Surface& surface) : s_(surface), frame_(surface.Scale()) {
        textHeight_ = surface.MeasureText("Ag").height;
        row_ = textHeight_ + 8.0;
        // Above the lens one text row (P, P'); below the image the two rows of distances.
        const double width = frame_.width - 2.0 * kMargin;
        const double height = frame_.height - 2.0 * kMargin - textHeight_ - 4.0 - 2.0 * row_;
        const double worldHeight =
            kLensHalfHeight + std::max(-kImageHeight, kLensHalfHeight * 0.75);
        scale_ = std::max(0.0, std::min(width / (kWorldRight - kWorldLeft), height / worldHeight));
        const double used = scale_ * (kWorldRight - kWorldLeft);
        left_ = frame_.left + kMargin + (width - used) / 2.0;
        axisY_ = frame_.top + kMargin + textHeight_ + 4.0 + scale_ * kLensHalfHeight;
    }

    void Draw() {
        s_.Clear();
        // A surface too small for the picture stays empty.
        if (scale_ <= 0.0) return;
        const Pen thin{kBlack, LineStyle::Solid, 1};
        const Pen dotted{0x808080, LineStyle::Dotted, 1};
        // The axis and the lens with its converging arrowheads.
        s_.Line(X(kWorldLeft), axisY_, X(kWorldRight), axisY_, thin);
        const double top = Y(kLensHalfHeight);
        const double bottom = Y(-kLensHalfHeight * 0.75);
        const Pen lens{kBlack, LineStyle::Solid, 2};
        Arrow(X(0), axisY_, X(0), top, lens);
        Arrow(X(0), axisY_, X(0), bottom, lens);
        Label(X(0) + 4.0, top - textHeight_ - 2.0, "P, P'", kBlack);

        // Object and image.
        const Pen arrow{kArrowColour, LineStyle::Solid, 2};
        Arrow(X(kObject), axisY_, X(kObject), Y(kObjectHeight), arrow);
        Arrow(X(kImage), axisY_, X(kImage), Y(kImageHeight), arrow);
        LabelLeftOf(X(kObject) - 4.0, Y(kObjectHeight / 2.0), "u > 0", kArrowColour);
        Label(X(kImage) + 5.0, Y(kImageHeight / 2.0) - textHeight_ / 2.0, "u' < 0", kArrowColour);

        // The ray parallel to the axis (through F') and the chief ray (through the lens centre).
        const Pen ray{kRayColour, LineStyle::Solid, 1};
        s_.Line(X(kObject), Y(kObjectHeight), X(0), Y(kObjectHeight), ray);
        s_.Line(X(0), Y(kObjectHeight), X(kImage), Y(kImageHeight), ray);
        s_.Line(X(kObject), Y(kObjectHeight), X(kImage), Y(kImageHeight), ray);

        // The focal points.
        for (const double x : {-kFocal, kFocal}) {
            s_.Line(X(x), axisY_ - 4.0, X(x), axisY_ + 4.0, thin);
        }
        LabelLeftOf(X(-kFocal) - 2.0, axisY_ - textHeight_ / 2.0 - 6.0, "F", kBlack);
        Label(X(kFocal) + 3.0, axisY_ - textHeight_ - 3.0, "F'", kBlack);

        // The field angles at the lens centre, between the axis and the chief ray; each label
        // just beyond the ray, on the side away from the axis.
        const double radius = std::max(12.0, 0.5 * scale_ * kFocal);
        const double w = std::atan2(kObjectHeight, -kObject);  // towards the object: up left
        AngleArc(X(0), axisY_, radius, std::numbers::pi, std::numbers::pi - w);
        AngleArc(X(0), axisY_, radius, 0.0, -w);
        const double slope = std::tan(w);
        const double inset = 0.45 * radius;
        const double objectLabel = s_.MeasureText("w < 0").width;
        Label(X(0) - inset - objectLabel,
              axisY_ - slope * (inset + objectLabel) - textHeight_ - 3.0, "w < 0", kAngleColour);
        const double imageLabel = s_.MeasureText("w' < 0").width;
        Label(X(0) + inset, axisY_ + slope * (inset + imageLabel) + 3.0, "w' < 0", kAngleColour);

        // The distances, measured from the lens (the principal planes) to their points.
        const double row1 = Y(std::min(kImageHeight, -kLensHalfHeight * 0.75)) + row_;
        const double row2 = row1 + row_;
        for (const double x : {kObject, -kFocal, kFocal, kImage}) {
            s_.Line(X(x), axisY_ + 5.0, X(x), (x == kObject || x == kImage ? row2 : row1) + 3.0,
                    dotted);
        }
        s_.Line(X(0), bottom + 4.0, X(0), row2 + 3.0, dotted);
        const Pen dimension{kDimension, LineStyle::Solid, 1};
        Distance(0, -kFocal, row1, "f < 0", dimension);
        Distance(0, kFocal, row1, "f' > 0", dimension);
        Distance(0, kObject, row2, "a < 0", dimension);
        Distance(0, kImage, row2, "a' > 0", dimension);
        Label(frame_.left + kMargin, frame_.top + kMargin, text::Tr("Licht →"), kBlack);
    }

private:
    double X(double world) const { return left_ + scale_ * (world - kWorldLeft); }
    double Y(double world) const { return axisY_ - scale_ * world; }

    // A line with an arrowhead at (x2, y2).
    void Arrow(double x1, double y1, double x2, double y2, const Pen& pen) {
        s_.Line(x1, y1, x2, y2, pen);
        const double length = std::hypot(x2 - x1, y2 - y1);
        if (length < 1.0) return;
        const double head = std::min(kHead, length / 2.0);
        const double ux = (x2 - x1) / length;
        const double uy = (y2 - y1) / length;
        for (const double side : {-1.0, 1.0}) {
            const double hx = x2 - head * ux + side * head * 0.45 * uy;
            const double hy = y2 - head * uy - side * head * 0.45 * ux;
            s_.Line(x2, y2, hx, hy, Pen{pen.colour, LineStyle::Solid, 1});
        }
    }

    // A distance from the lens at world x `from` to `to`, on the row at pixel y, with its label
    // centred above it.
    void Distance(double from, double to, double y, std::string_view label, const Pen& pen) {
        Arrow(X(from), y, X(to), y, pen);
        const double width = s_.MeasureText(label).width;
        Label((X(from) + X(to) - width) / 2.0, y - textHeight_ - 1.0, label, pen.colour);
    }

    // An arc about (cx, cy) from angle `from` to `to` (radians, counter-clockwise from the
    // right, y upwards), with an arrowhead at its end.
    void AngleArc(double cx, double cy, double radius, double from, double to) {
        constexpr int kSteps = 12;
        std::array<PixelPoint, kSteps + 1> points{};
        for (int i = 0; i <= kSteps; ++i) {
            const double t = from + (to - from) * i / kSteps;
            points[static_cast<std::size_t>(i)] = {cx + radius * std::cos(t),
                                                   cy - radius * std::sin(t)};
        }
        const Pen pen{kAngleColour, LineStyle::Solid, 1};
        s_.Polyline(points, pen);
        const PixelPoint& a = points[kSteps - 1];
        const PixelPoint& b = points[kSteps];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length <= 0.0) return;
        for (const double side : {-1.0, 1.0}) {
            const double ux = (b.x - a.x) / length;
            const double uy = (b.y - a.y) / length;
            s_.Line(b.x, b.y, b.x - 5.0 * ux + side * 2.5 * uy, b.y - 5.0 * uy - side * 2.5 * ux,
                    pen);
        }
    }

    // Text with its top-left corner at (x, y), moved inside the frame where it would stick out.
    void Label(double x, double y, std::string_view text, Colour colour) {
        const TextExtent extent = s_.MeasureText(text);
        const double right = frame_.left + frame_.width - extent.width;
        const double bottom = frame_.top + frame_.height - extent.height;
        s_.Text(std::clamp(x, frame_.left, std::max(frame_.left, right)),
                std::clamp(y, frame_.top, std::max(frame_.top, bottom)), text, colour);
    }
    // Text ending at x, vertically centred on y.
    void LabelLeftOf(double x, double y, std::string_view text, Colour colour) {
        const TextExtent extent = s_.MeasureText(text);
        Label(x - extent.width, y - extent.height / 2.0, text, colour);
    }

    Surface& s_;
    ScaleRect frame_;
    double textHeight_ = 0.0;
    double row_ = 0.0;
    double scale_ = 0.0;  // pixels per mm
    double left_ = 0.0;
    double axisY_ = 0.0;
};

}  // namespace

void DrawSignConvention(Surface& surface) {
    Picture(surface).Draw();
}

}  // namespace rs::drawing
