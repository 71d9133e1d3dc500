// Drawing: the picture of the sign convention in the manual.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "drawing/recording_surface.h"
#include "drawing/sign_convention.h"

namespace rs::drawing {
namespace {

bool Inside(const ScaleRect& r, double x, double y) {
    return std::isfinite(x) && std::isfinite(y) && x >= r.left && x <= r.left + r.width &&
           y >= r.top && y <= r.top + r.height;
}

TEST(SignConvention, EveryQuantityIsLabelledWithItsSignAndNothingLeavesTheSurface) {
    // The manual's size, a narrow and a flat one, each away from the device origin.
    for (const ScaleRect frame :
         {ScaleRect{0, 0, 640, 320}, ScaleRect{30, 20, 360, 300}, ScaleRect{5, 40, 700, 170}}) {
        RecordingSurface surface(frame);
        DrawSignConvention(surface);
        for (const char* label : {"a < 0", "a' > 0", "f < 0", "f' > 0", "u > 0", "u' < 0", "w < 0",
                                  "w' < 0", "F", "F'", "P, P'"}) {
            EXPECT_NE(surface.FindText(label), nullptr) << label;
        }
        for (const SurfaceCall& line : surface.Lines()) {
            EXPECT_TRUE(Inside(frame, line.x1, line.y1) && Inside(frame, line.x2, line.y2)) << line;
        }
        for (const SurfaceCall& text : surface.Texts()) {
            const TextExtent extent = surface.MeasureText(text.text);
            EXPECT_TRUE(Inside(frame, text.x1, text.y1) &&
                        Inside(frame, text.x1 + extent.width, text.y1 + extent.height))
                << text;
        }
    }
}

TEST(SignConvention, TheImageLiesWhereTheLensEquationPutsIt) {
    // The object and image arrows are the two thick red verticals; the lens is the thick black
    // one between them. With f' = 60 and a = -150 the image stands at a' = 100 and is 2/3 as
    // high, upside down: distances and heights keep these ratios on the surface.
    RecordingSurface surface({0, 0, 640, 320});
    DrawSignConvention(surface);
    double objectX = 0, imageX = 0, lensX = 0, axisY = 0, objectTip = 0, imageTip = 0;
    for (const SurfaceCall& line : surface.Lines()) {
        if (line.pen.width != 2 || line.x1 != line.x2) continue;
        if (line.pen.colour == kRed) {
            (objectX == 0 ? objectX : imageX) = line.x1;
            (objectTip == 0 ? objectTip : imageTip) = line.y2;
            axisY = line.y1;
        } else {
            lensX = line.x1;
        }
    }
    ASSERT_LT(objectX, lensX);
    ASSERT_GT(imageX, lensX);
    EXPECT_NEAR((imageX - lensX) / (lensX - objectX), 100.0 / 150.0, 1e-9);
    EXPECT_LT(objectTip, axisY);  // u above the axis
    EXPECT_GT(imageTip, axisY);   // u' below it
    EXPECT_NEAR((imageTip - axisY) / (axisY - objectTip), 20.0 / 30.0, 1e-9);
}

}  // namespace
}  // namespace rs::drawing
