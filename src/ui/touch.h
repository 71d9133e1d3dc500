#pragma once
// How near the mouse must be to grab a feature of a picture: the one reach rule of every drag
// editor (paraxial and beam), in surface pixels.
#include <algorithm>
#include <cmath>

namespace rs::ui {

// A point target is hit within this many pixels (strictly) along both axes; a vertical line
// target within kSegmentReach of its column and of its extent.
inline constexpr double kPointReach = 12.0;
inline constexpr double kSegmentReach = 10.0;

// Mouse coordinates that are not numbers never hit: every comparison with NaN is false.
inline bool NearPoint(double mx, double my, float x, float y) {
    return std::fabs(mx - x) < kPointReach && std::fabs(my - y) < kPointReach;
}

// The vertical segment at column x from y1 to y2 (either order).
inline bool NearSegment(double mx, double my, float x, float y1, float y2) {
    const double low = std::min(y1, y2), high = std::max(y1, y2);
    return std::fabs(mx - x) < kSegmentReach && my > low - kSegmentReach &&
           my < high + kSegmentReach;
}

}  // namespace rs::ui
