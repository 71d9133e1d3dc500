#include "drawing/recording_surface.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace rs::drawing {

namespace {

const char* KindName(SurfaceCall::Kind kind) {
    switch (kind) {
        case SurfaceCall::Kind::Clear:
            return "Clear";
        case SurfaceCall::Kind::Line:
            return "Line";
        case SurfaceCall::Kind::Box:
            return "Box";
        case SurfaceCall::Kind::Circle:
            return "Circle";
        case SurfaceCall::Kind::Text:
            return "Text";
        case SurfaceCall::Kind::RotatedText:
            return "RotatedText";
    }
    return "?";
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const SurfaceCall& call) {
    os << KindName(call.kind) << "(" << call.x1 << ", " << call.y1;
    if (call.kind == SurfaceCall::Kind::Line || call.kind == SurfaceCall::Kind::Box) {
        os << " - " << call.x2 << ", " << call.y2;
    }
    if (call.kind == SurfaceCall::Kind::Circle) os << " r " << call.radius;
    if (!call.text.empty()) os << " \"" << call.text << "\"";
    return os << " colour " << call.pen.colour << " style " << static_cast<int>(call.pen.style)
              << " width " << call.pen.width << (call.filled ? " filled" : "") << ")";
}

void RecordingSurface::Clear() {
    calls_.emplace_back().kind = SurfaceCall::Kind::Clear;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, const Pen& pen) {
    SurfaceCall& c = calls_.emplace_back();
    c.kind = SurfaceCall::Kind::Line;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.pen = pen;
}

void RecordingSurface::Box(double x1, double y1, double x2, double y2, Colour colour, bool filled) {
    SurfaceCall& c = calls_.emplace_back();
    c.kind = SurfaceCall::Kind::Box;
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    c.pen.colour = colour;
    c.filled = filled;
}

void RecordingSurface::Circle(double cx, double cy, double radius, Colour colour, bool filled) {
    SurfaceCall& c = calls_.emplace_back();
    c.kind = SurfaceCall::Kind::Circle;
    c.x1 = cx, c.y1 = cy;
    c.radius = radius;
    c.pen.colour = colour;
    c.filled = filled;
}

void RecordingSurface::Text(double x, double y, std::string_view text, Colour colour) {
    SurfaceCall& c = calls_.emplace_back();
    c.kind = SurfaceCall::Kind::Text;
    c.x1 = x, c.y1 = y;
    c.pen.colour = colour;
    c.text = std::string(text);
}

TextExtent RecordingSurface::MeasureText(std::string_view text) const {
    // Continuation bytes of UTF-8 (10xxxxxx) do not start a character.
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    });
    return {static_cast<double>(chars) * kCharWidth, kTextHeight};
}

void RecordingSurface::RotatedText(double x, double y, std::string_view text,
                                   const RotatedFont& font) {
    SurfaceCall& c = calls_.emplace_back();
    c.kind = SurfaceCall::Kind::RotatedText;
    c.x1 = x, c.y1 = y;
    c.text = std::string(text);
    c.font = font;
}

std::vector<SurfaceCall> RecordingSurface::Of(SurfaceCall::Kind kind) const {
    std::vector<SurfaceCall> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [kind](const SurfaceCall& c) { return c.kind == kind; });
    return out;
}

const SurfaceCall* RecordingSurface::FindText(std::string_view text) const {
    for (const SurfaceCall& c : calls_) {
        if (c.kind == SurfaceCall::Kind::Text && c.text == text) return &c;
    }
    return nullptr;
}

}  // namespace rs::drawing
