#pragma once
// The drawing port: everything a picture needs from the platform's paint device. The drawings
// of the core only emit calls on this interface; the GUI paints them on a widget, an image, an
// SVG or a printer page, and tests record them.
//
// Coordinates are surface pixels (x to the right, y downwards) as doubles; the drawing code
// rounds them to whole pixels and keeps them within sane bounds before they arrive here. The
// port is stateless: every call carries its own colour and pen, so no call can leak a line
// style or width into the next one.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rs::drawing {

// 24-bit RGB with red in the low byte and blue in the high byte (0xBBGGRR).
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = 255;
inline constexpr Colour kGreen = 65280;
inline constexpr Colour kBlue = 16711680;
inline constexpr Colour kMagenta = 16711935;
inline constexpr Colour kWhite = 16777215;
// A reference design drawn behind a picture: light enough that the picture stays in front, dark
// enough that its thin lines still show on white.
inline constexpr Colour kReferenceGrey = 0xA0A0A0;

// The numeric values are those stored with designs and used by the printed pictures.
enum class LineStyle : int { Solid = 0, Dotted = 2 };

struct Pen {
    Colour colour = kBlack;
    LineStyle style = LineStyle::Solid;
    int width = 1;  // pixels
    friend bool operator==(const Pen&, const Pen&) = default;
};

// The surface's own coordinate rectangle: the pixel range a picture may use.
struct ScaleRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// A surface pixel position.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct TextExtent {
    double width = 0.0;   // pixels
    double height = 0.0;  // pixels
};

// A font made for one turned text.
struct RotatedFont {
    std::string faceName;  // at most 32 characters
    int escapement = 0;    // tenths of a degree, counter-clockwise
    int weight = 400;      // 400 normal, 800 bold
    int pixelHeight = 0;   // character height in pixels
    friend bool operator==(const RotatedFont&, const RotatedFont&) = default;
};

class Surface {
public:
    virtual ~Surface() = default;

    virtual void Clear() = 0;
    virtual void Line(double x1, double y1, double x2, double y2, const Pen& pen) = 0;
    // Connected lines through the points, as the lines between each pair of neighbours (which
    // is what the default does); a device may draw them as one stroke with joined corners.
    virtual void Polyline(std::span<const PixelPoint> points, const Pen& pen) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            Line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, pen);
        }
    }
    // A rectangle between two corners, outlined (width 1, solid) or filled with the colour.
    virtual void Box(double x1, double y1, double x2, double y2, Colour colour, bool filled) = 0;
    virtual void Circle(double cx, double cy, double radius, Colour colour, bool filled) = 0;
    // Text in the surface's label font with its top-left corner at (x, y).
    virtual void Text(double x, double y, std::string_view text, Colour colour) = 0;
    virtual TextExtent MeasureText(std::string_view text) const = 0;
    // Text turned about its top-left corner at (x, y), in a font made for the call.
    virtual void RotatedText(double x, double y, std::string_view text,
                             const RotatedFont& font) = 0;

    virtual ScaleRect Scale() const = 0;
    // Whether the surface's label font is bold (turned texts inherit the weight).
    virtual bool FontIsBold() const = 0;
    // Twips (1/1440 inch) per pixel of the device: 15 on a 96-dpi screen.
    virtual double TwipsPerPixel() const = 0;
};

}  // namespace rs::drawing
