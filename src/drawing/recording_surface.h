#pragma once
// A surface that paints nothing and remembers every call with its arguments, so tests of the
// drawings (and of the programs built on them) can ask what was drawn, where and how.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/surface.h"

namespace rs::drawing {

struct SurfaceCall {
    enum class Kind { Clear, Line, Box, Circle, Text, RotatedText };
    Kind kind = Kind::Clear;
    // Line and Box: the two points. Circle: the centre in (x1, y1). Texts: the position in
    // (x1, y1).
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    double radius = 0.0;
    Pen pen;  // Line: the pen; every other kind: the colour in pen.colour
    bool filled = false;
    std::string text;
    RotatedFont font;
};

std::ostream& operator<<(std::ostream& os, const SurfaceCall& call);

class RecordingSurface : public Surface {
public:
    // Fixed text metrics, so label positions in tests are exact.
    static constexpr double kCharWidth = 7.0;
    static constexpr double kTextHeight = 13.0;

    explicit RecordingSurface(ScaleRect scale = {0.0, 0.0, 800.0, 600.0}) : scale_(scale) {}

    void Clear() override;
    void Line(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void Box(double x1, double y1, double x2, double y2, Colour colour, bool filled) override;
    void Circle(double cx, double cy, double radius, Colour colour, bool filled) override;
    void Text(double x, double y, std::string_view text, Colour colour) override;
    // kCharWidth per character (UTF-8 sequences count once) by kTextHeight.
    TextExtent MeasureText(std::string_view text) const override;
    void RotatedText(double x, double y, std::string_view text, const RotatedFont& font) override;
    ScaleRect Scale() const override { return scale_; }
    bool FontIsBold() const override { return fontBold_; }
    double TwipsPerPixel() const override { return twipsPerPixel_; }

    void SetScale(ScaleRect scale) { scale_ = scale; }
    void SetFontBold(bool bold) { fontBold_ = bold; }

    const std::vector<SurfaceCall>& Calls() const { return calls_; }
    // The recorded calls of one kind, in drawing order.
    std::vector<SurfaceCall> Of(SurfaceCall::Kind kind) const;
    std::vector<SurfaceCall> Lines() const { return Of(SurfaceCall::Kind::Line); }
    std::vector<SurfaceCall> Texts() const { return Of(SurfaceCall::Kind::Text); }
    // The first text call printing exactly `text`, or nullptr.
    const SurfaceCall* FindText(std::string_view text) const;
    void Forget() { calls_.clear(); }

private:
    ScaleRect scale_;
    bool fontBold_ = false;
    double twipsPerPixel_ = 15.0;
    std::vector<SurfaceCall> calls_;
};

}  // namespace rs::drawing
