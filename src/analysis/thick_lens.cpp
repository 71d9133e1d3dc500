#include "analysis/thick_lens.h"

#include <algorithm>
#include <cmath>

namespace rs::analysis {
namespace {

// The lines the catalogue's glass figures refer to, in micrometres.
constexpr double kLineD = 0.5875618;
constexpr double kLineF = 0.4861327;
constexpr double kLineC = 0.6562725;

bool Finite(std::initializer_list<double> values) {
    return std::ranges::all_of(values, [](double v) { return std::isfinite(v); });
}

}  // namespace

double IndexAt(double nd, double abbe, double wavelengthNm) {
    if (!(nd > 1.0) || !(abbe > 0.0) || !(wavelengthNm > 0.0)) return nd;
    const double b = (nd - 1.0) / abbe / (1.0 / (kLineF * kLineF) - 1.0 / (kLineC * kLineC));
    const double lambda = wavelengthNm * 1e-3;
    const double n = nd + b * (1.0 / (lambda * lambda) - 1.0 / (kLineD * kLineD));
    // Far in the ultraviolet the fit runs away; no glass is thinner than vacuum.
    return std::isfinite(n) ? std::max(n, 1.0) : nd;
}

std::vector<CatalogueSurface> TurnedRound(std::span<const CatalogueSurface> surfaces) {
    std::vector<CatalogueSurface> turned(surfaces.rbegin(), surfaces.rend());
    for (std::size_t j = 0; j < turned.size(); ++j) {
        CatalogueSurface& s = turned[j];
        s.radius = -s.radius;
        // The medium behind the new j-th surface is the one that lay in front of it.
        const bool last = j + 1 == turned.size();
        const CatalogueSurface air;
        const CatalogueSurface& medium = last ? air : turned[j + 1];
        s.thickness = medium.thickness;
        s.index = medium.index;
        s.abbe = medium.abbe;
        s.glass = medium.glass;
    }
    return turned;
}

std::optional<ParallelRayTrace> TraceParallelRay(std::span<const CatalogueSurface> surfaces,
                                                 double objectIndex, double imageIndex) {
    double y = 1.0;
    double nu = 0.0;
    double n = objectIndex;
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const CatalogueSurface& s = surfaces[i];
        const bool last = i + 1 == surfaces.size();
        const double behind = last ? imageIndex : s.index;
        const double curvature = s.radius == 0.0 ? 0.0 : 1.0 / s.radius;
        nu -= y * curvature * (behind - n);
        if (last) break;
        y += s.thickness * nu / behind;
        n = behind;
    }
    if (nu == 0.0 || !Finite({y, nu})) return std::nullopt;
    return ParallelRayTrace{y, nu};
}

VertexDistances VertexDistancesOf(const ThickLens& lens, double a, double aImage) {
    return {a + lens.frontPrincipal, aImage + lens.backPrincipal};
}

std::optional<ThickLens> ThickLensOf(std::span<const CatalogueSurface> surfaces,
                                     double wavelengthNm, double objectIndex, double imageIndex) {
    if (surfaces.empty()) return std::nullopt;
    std::vector<CatalogueSurface> atWavelength(surfaces.begin(), surfaces.end());
    for (std::size_t i = 0; i + 1 < atWavelength.size(); ++i) {
        CatalogueSurface& s = atWavelength[i];
        s.index = IndexAt(s.index, s.abbe, wavelengthNm);
    }
    const auto forward = TraceParallelRay(atWavelength, objectIndex, imageIndex);
    // The same trace from the image side gives the front focal point.
    const auto backward = TraceParallelRay(TurnedRound(atWavelength), imageIndex, objectIndex);
    if (!forward || !backward) return std::nullopt;

    ThickLens lens;
    const double power = -forward->nu;
    lens.focal = imageIndex / power;
    lens.backFocal = -forward->lastHeight * imageIndex / forward->nu;
    lens.backPrincipal = lens.backFocal - lens.focal;
    const double frontFocal = -backward->lastHeight * objectIndex / backward->nu;  // V1 − F
    lens.frontPrincipal = objectIndex / power - frontFocal;
    lens.clearAperture = surfaces.front().semiDiameter;
    double vertex = 0.0;
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const CatalogueSurface& s = surfaces[i];
        const bool last = i + 1 == surfaces.size();
        lens.surfaces.push_back({vertex, s.radius, s.semiDiameter, !last && s.index > 1.0});
        lens.clearAperture = std::min(lens.clearAperture, s.semiDiameter);
        if (!last) vertex += s.thickness;
    }
    lens.thickness = vertex;
    lens.separation = lens.thickness + lens.backPrincipal - lens.frontPrincipal;
    if (!Finite({lens.focal, lens.backFocal, lens.frontPrincipal, lens.separation})) {
        return std::nullopt;
    }
    return lens;
}

}  // namespace rs::analysis
