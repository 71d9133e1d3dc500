#include "drawing/lens_outline.h"

#include <algorithm>
#include <cmath>

#include "drawing/lens_trace.h"

namespace rs::drawing {
namespace {

// Points along one profile: enough for a smooth curve at any scale the picture uses.
constexpr int kProfileSteps = 24;
// A rim beyond the sphere's own radius would have no profile; it is held just inside.
constexpr double kRimShare = 0.999;

sketch_optics::Surf Placed(const analysis::PlacedSurface& s, double firstVertexX) {
    sketch_optics::Surf surf;
    surf.x = firstVertexX + s.vertex;
    surf.c = s.radius == 0.0 ? 0.0 : 1.0 / s.radius;
    surf.semi = s.semiDiameter;
    if (surf.c != 0.0) surf.semi = std::min(surf.semi, kRimShare / std::fabs(surf.c));
    return surf;
}

OutlinePoint At(const sketch_optics::Surf& s, double y) {
    return {s.x + sketch_optics::Sag(s, y), y};
}

}  // namespace

double FirstVertexX(const analysis::ThickLens& lens, double principalX) {
    return principalX - lens.frontPrincipal;
}

std::vector<OutlinePath> LensOutline(const analysis::ThickLens& lens, double firstVertexX,
                                     OutlineHalves halves) {
    const bool both = halves == OutlineHalves::Both;
    std::vector<sketch_optics::Surf> surfs;
    for (const analysis::PlacedSurface& s : lens.surfaces) surfs.push_back(Placed(s, firstVertexX));
    std::vector<OutlinePath> paths;
    for (const sketch_optics::Surf& s : surfs) {
        OutlinePath profile;
        for (int k = 0; k <= kProfileSteps; ++k) {
            const double share = static_cast<double>(k) / kProfileSteps;
            profile.push_back(At(s, s.semi * (both ? 2.0 * share - 1.0 : share)));
        }
        paths.push_back(std::move(profile));
    }
    for (std::size_t i = 0; i + 1 < surfs.size(); ++i) {
        if (!lens.surfaces[i].glassBehind) continue;
        const sketch_optics::Surf &front = surfs[i], &back = surfs[i + 1];
        paths.push_back({At(front, front.semi), At(back, back.semi)});
        if (both) paths.push_back({At(front, -front.semi), At(back, -back.semi)});
    }
    return paths;
}

}  // namespace rs::drawing
