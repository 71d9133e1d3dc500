// Thick-lens figures of catalogue lenses against an independent computation: the lens's system
// matrix, built as a product of refraction and transfer matrices, read in Gullstrand's form.
#include "analysis/thick_lens.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace rs::analysis {
namespace {

constexpr double kLineD = 587.5618;  // nm: the catalogue's indices hold here

const CatalogueLens& Lens(std::string_view code) {
    static const LensCatalogue catalogue = ReadCatalogueLenses(BuildTreeCatalogueDir());
    const CatalogueLens* lens = catalogue.Find(code);
    EXPECT_NE(lens, nullptr) << code;
    static const CatalogueLens none;
    return lens ? *lens : none;
}

// Acting on (height, index · slope).
using Matrix = std::array<std::array<double, 2>, 2>;

Matrix Times(const Matrix& l, const Matrix& r) {
    Matrix m{};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) m[i][j] = l[i][0] * r[0][j] + l[i][1] * r[1][j];
    }
    return m;
}

// The system matrix from the first to the last vertex, surfaces given front to back in their
// catalogue form, between media `n` and `nImage`.
Matrix SystemMatrix(const std::vector<CatalogueSurface>& s, double n, double nImage) {
    Matrix m{{{1, 0}, {0, 1}}};
    double before = n;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double after = i + 1 == s.size() ? nImage : s[i].index;
        const double power = s[i].radius == 0 ? 0 : (after - before) / s[i].radius;
        m = Times({{{1, 0}, {-power, 1}}}, m);
        if (i + 1 < s.size()) m = Times({{{1, s[i].thickness / after}, {0, 1}}}, m);
        before = after;
    }
    return m;
}

// The same lens as the catalogue holds it, mounted the other way round, written out by hand:
// surfaces from the back, radii negated.
std::vector<CatalogueSurface> ByHandTurned(const std::vector<CatalogueSurface>& s) {
    std::vector<CatalogueSurface> t;
    for (std::size_t k = s.size(); k-- > 0;) {
        CatalogueSurface surface;
        surface.radius = -s[k].radius;
        surface.semiDiameter = s[k].semiDiameter;
        if (k > 0) {
            surface.thickness = s[k - 1].thickness;
            surface.index = s[k - 1].index;
            surface.glass = s[k - 1].glass;
        }
        t.push_back(surface);
    }
    return t;
}

TEST(ThickLens, CatalogueLensesAgreeWithTheirSystemMatrixInBothOrientations) {
    struct Case {
        const char* code;
        bool turned;
        double n, nImage;
    };
    const Case cases[] = {
        {"PX100-25", false, 1, 1}, {"PX100-25", true, 1, 1}, {"AC100-12", false, 1, 1},
        {"AC100-12", true, 1, 1},  {"AC40-12", false, 1, 1}, {"PX30-25", true, 1.0, 1.333},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + (c.turned ? " turned" : ""));
        const CatalogueLens& lens = Lens(c.code);
        const auto surfaces = c.turned ? ByHandTurned(lens.surfaces) : lens.surfaces;
        const Matrix m = SystemMatrix(surfaces, c.n, c.nImage);
        const double a = m[0][0], cc = m[1][0], d = m[1][1];
        double thickness = 0;
        for (const auto& s : surfaces) thickness += s.thickness;

        const auto thick = ThickLensOf(c.turned ? TurnedRound(lens.surfaces) : lens.surfaces,
                                       kLineD, c.n, c.nImage);
        ASSERT_TRUE(thick);
        const double f = -c.nImage / cc;
        const double front = (d - 1) * c.n / cc;      // P from the first vertex
        const double back = (1 - a) * c.nImage / cc;  // P' from the last vertex
        EXPECT_NEAR(thick->focal, f, 1e-6 * std::fabs(f));
        EXPECT_NEAR(thick->frontPrincipal, front, 1e-6);
        EXPECT_NEAR(thick->backPrincipal, back, 1e-6);
        EXPECT_NEAR(thick->thickness, thickness, 1e-9);
        EXPECT_NEAR(thick->separation, thickness + back - front, 1e-6);
        EXPECT_NEAR(thick->backFocal, -a * c.nImage / cc, 1e-6);

        // An object 3 f' before the first vertex: the image the matrix forms behind the last
        // vertex is where the vertex distances put it.
        const double s = -3 * std::fabs(f);
        const double sImage = c.nImage * (a * s / c.n - m[0][1]) / (d - cc * s / c.n);
        const double aObj = s - thick->frontPrincipal;
        // n'/a' = n/a + n'/f' from the principal planes.
        const double aImg = c.nImage / (c.n / aObj + c.nImage / thick->focal);
        const VertexDistances v = VertexDistancesOf(*thick, aObj, aImg);
        EXPECT_NEAR(v.front, s, 1e-9);
        EXPECT_NEAR(v.back, sImage, 1e-6 * std::fabs(sImage));
    }
}

TEST(ThickLens, TurningAPlanoConvexLensKeepsItsFocalLengthAndMovesItsPlanes) {
    const CatalogueLens& lens = Lens("PX100-25");
    const auto ahead = ThickLensOf(lens.surfaces, kLineD);
    const auto turned = ThickLensOf(TurnedRound(lens.surfaces), kLineD);
    ASSERT_TRUE(ahead && turned);
    EXPECT_NEAR(turned->focal, ahead->focal, 1e-9);
    // Curved side first, P' lies at the curved vertex; plane side first, P lies at it.
    EXPECT_NEAR(ahead->frontPrincipal, 0.0, 1e-9);
    EXPECT_NEAR(turned->backPrincipal, 0.0, 1e-9);
    EXPECT_NEAR(turned->frontPrincipal, -ahead->backPrincipal, 1e-9);
    EXPECT_NEAR(turned->separation, ahead->separation, 1e-9);
    EXPECT_LT(ahead->backFocal, turned->backFocal);
    EXPECT_EQ(TurnedRound(TurnedRound(lens.surfaces)), lens.surfaces);
}

TEST(ThickLens, GlassIndexFollowsTheWavelength) {
    // n_F − n_C is what the Abbe number says, the d line keeps the catalogue's index, and the
    // index falls towards the red.
    const double nd = 1.5168, abbe = 64.17;
    EXPECT_NEAR(IndexAt(nd, abbe, kLineD), nd, 1e-12);
    EXPECT_NEAR(IndexAt(nd, abbe, 486.1327) - IndexAt(nd, abbe, 656.2725), (nd - 1) / abbe, 1e-12);
    EXPECT_GT(IndexAt(nd, abbe, 546.1), nd);
    EXPECT_LT(IndexAt(nd, abbe, 1064.0), nd);
    // Air and glasses without an Abbe number keep their index; nothing drops below vacuum.
    EXPECT_EQ(IndexAt(1.0, 0.0, 400.0), 1.0);
    EXPECT_EQ(IndexAt(1.6, 0.0, 400.0), 1.6);
    EXPECT_GE(IndexAt(1.9, 5.0, 1.0), 1.0);
    // A catalogue lens is stronger in the green than at the d line.
    const CatalogueLens& lens = Lens("PX100-25");
    EXPECT_LT(ThickLensOf(lens.surfaces, 546.1)->focal, ThickLensOf(lens.surfaces, kLineD)->focal);
}

TEST(ThickLens, ALensWithoutPowerHasNoFigures) {
    const std::vector<CatalogueSurface> window = {{0, 10, 3, 1.5168, 64.17, "N-BK7"},
                                                  {0, 10, 0, 1, 0, ""}};
    EXPECT_FALSE(ThickLensOf(window, kLineD));
    EXPECT_FALSE(ThickLensOf({}, kLineD));
    // The clear aperture is the narrowest surface.
    const auto lens = ThickLensOf(
        std::vector<CatalogueSurface>{{50, 10, 3, 1.5168, 64.17, "N-BK7"}, {0, 8, 0, 1, 0, ""}},
        kLineD);
    ASSERT_TRUE(lens);
    EXPECT_EQ(lens->clearAperture, 8);
}

}  // namespace
}  // namespace rs::analysis
