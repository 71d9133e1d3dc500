#include "beam/diode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "beam/gaussian_beam.h"
#include "support/numeric.h"

namespace rs::beam {
namespace {

struct Chosen {
    int index;
    double value;
};

BeamDesign Diode(std::initializer_list<Chosen> axis0, bool circularise, int mode = 0) {
    BeamDesign d;
    d.beamMode = true;
    d.diode.diodeMode = true;
    d.diode.circularise = circularise;
    d.diode.collimationMode = mode;
    for (const Chosen& c : axis0) d.axes[0].selection.AddValue(c.index, float(c.value));
    return d;
}

double V(const BeamDesign& d, int axis, int index) {
    return BeamValue(d, axis, index);
}

std::vector<int> Indices(const engine::Selection& sel) {
    std::vector<int> out;
    for (const auto& e : sel.Entries()) out.push_back(e.nVarType);
    return out;
}

// The second cylinder makes the beam leave both axes with the same waist, whichever kind
// describes axis 1; mode 0 puts both object waists in the front focal planes, mode 1 one
// Rayleigh length further out, so that the image waists lie as far out as they can.
TEST(DiodeCircularisation, BothAxesLeaveMatchedForEveryKindAndMode) {
    const struct {
        int kind;
        double f0, axis0, value, f1;
    } kinds[] = {// w0 = 2 mrad, 6 mrad on axis 1, f0 = 9 mm: the cylinders stand 6 mm apart.
                 {kGbObjDiv, 9, 0.002, 0.006, 3},
                 {kGbObjRadius, 8, 0.002, 0.004, 16},
                 {kGbObjRayleigh, 8, 0.05, 0.02, 8 * std::sqrt(0.4)}};
    for (int mode : {0, 1}) {
        for (const auto& k : kinds) {
            BeamDesign d =
                Diode({{kGbFocal, k.f0}, {kGbObjDist, 20}, {k.kind, k.axis0}}, true, mode);
            d.diode.paramValues[static_cast<std::size_t>(k.kind)] = k.value;
            SolveAllAxes(d, {});
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " kind " << k.kind);
            ASSERT_FALSE(d.axes[1].resultInvalid);
            EXPECT_EQ(Indices(d.axes[1].selection), (std::vector<int>{0, 1, k.kind}));
            EXPECT_REL(V(d, 1, k.kind), k.value);
            EXPECT_REL(V(d, 1, kGbFocal), k.f1);
            for (int axis : {0, 1}) {
                const double f = V(d, axis, kGbFocal), zr = V(d, axis, kGbObjRayleigh);
                EXPECT_REL(V(d, axis, kGbObjDist), mode == 0 ? f : f + zr);
                if (mode == 1) {
                    EXPECT_REL(V(d, axis, kGbImgDist), f + f * f / (2 * zr));
                }
            }
            EXPECT_REL(V(d, 1, kGbImgRadius), V(d, 0, kGbImgRadius));
        }
    }
}

TEST(DiodeAxis1, SharesElementAndObjectDistanceWithAxis0) {
    BeamDesign d = Diode({{kGbFocal, 50}, {kGbImgDist, 60}, {kGbImgRadius, 0.2}}, false);
    d.diode.paramValues[kGbObjRadius] = 0.003;  // axis 0's kind maps to the object radius
    engine::DataContinuity store;
    SolveAllAxes(d, {0, 1, &store});
    ASSERT_FALSE(d.axes[1].resultInvalid);
    EXPECT_EQ(Indices(d.axes[1].selection), (std::vector<int>{0, 1, kGbObjRadius}));
    EXPECT_REL(V(d, 1, kGbObjDist), V(d, 0, kGbObjDist));
    EXPECT_REL(V(d, 1, kGbObjRadius), 0.003);
    EXPECT_TRUE(store.Beam(1, kGbImgDist).defined);

    // No stored value: axis 1 starts from axis 0's beam, and keeps it.
    d.diode.paramValues = {};
    SolveAllAxes(d, {});
    EXPECT_REL(d.diode.paramValues[kGbObjRadius], V(d, 0, kGbObjRadius));

    // Outside diode mode axis 1 is left alone; without a solution on axis 0 it is emptied.
    BeamDesign plain = d;
    plain.diode.diodeMode = false;
    plain.axes[0].selection.SetValue(1, 0.0f);
    SolveAllAxes(plain, {});
    EXPECT_EQ(plain.axes[1], d.axes[1]);
    d.axes[0].selection.SetValue(1, 0.0f);
    SolveAllAxes(d, {});
    EXPECT_EQ(d.axes[1].selection.Count(), 0);
    EXPECT_TRUE(d.axes[1].resultInvalid);
}

TEST(DiodeReshape, EveryStartingSelectionEndsAsFocalDistanceAndObjectBeam) {
    // A lone object beam and the beam of a full selection stay (an image beam as its object
    // kind); otherwise the divergence.
    // clang-format off
    const struct { std::vector<int> before, after; int kind; } cases[] = {
        {{}, {0, 1, 6}, 6}, {{3}, {0, 1, 6}, 6}, {{7}, {0, 1, 7}, 7},
        {{10}, {0, 1, 7}, 7}, {{1, 5}, {0, 1, 6}, 6}, {{0, 2, 8}, {0, 1, 5}, 5},
        {{1, 3, 7}, {0, 1, 7}, 7}, {{1, 5, 9}, {0, 1, 6}, 6}, {{0, 1, 5}, {0, 1, 5}, 5}};
    // clang-format on
    for (const auto& c : cases) {
        BeamDesign d = Diode({}, true);
        for (int i : c.before) d.axes[0].selection.Add(i);
        ReshapeAxis0ForCircularisation(d);
        SCOPED_TRACE(::testing::PrintToString(c.before));
        EXPECT_EQ(Indices(d.axes[0].selection), c.after);
        EXPECT_EQ(DiodeParamKind(d), c.kind);
    }
}

TEST(DiodeReshape, NewParametersTakeSolvedValuesAndTheDistanceFollowsTheFocalLength) {
    BeamDesign d = Diode({{kGbFocal, 100}, {kGbImgDist, 150}, {kGbImgRadius, 0.05}}, false);
    ASSERT_TRUE(SolveAxis(d, 0, {}));
    d.diode.circularise = true;
    ReshapeAxis0ForCircularisation(d);
    const engine::Selection& sel = d.axes[0].selection;
    ASSERT_EQ(Indices(sel), (std::vector<int>{0, 1, 5}));
    EXPECT_EQ(sel.Value(2), 100.0f);
    EXPECT_EQ(sel.Value(3), static_cast<float>(V(d, 0, kGbObjRadius)));

    // Only s has a value: f' takes it; without a solution the divergence has none.
    d = Diode({{kGbObjDist, 40}, {kGbMagnif, 2}}, true);
    d.axes[0].resultInvalid = true;
    ReshapeAxis0ForCircularisation(d);
    EXPECT_EQ(d.axes[0].selection.Value(1), 40.0f);
    EXPECT_FALSE(d.axes[0].selection.ValueDefined(3));
}

TEST(DiodeControls, CoupledValuesKindValueAndCheckBoxes) {
    BeamDesign d = Diode({{kGbFocal, 10}, {kGbObjDist, 10}, {kGbObjRayleigh, 4}}, true, 1);
    SolveAllAxes(d, {});
    for (int mode : {0, 1}) {
        d.diode.collimationMode = mode;
        const double zr = mode == 1 ? 4.0 : 0.0;
        const auto s = CoupledConjugateValue(d, kGbFocal, 12);
        const auto f = CoupledConjugateValue(d, kGbObjDist, 12);
        ASSERT_TRUE(s && f);
        EXPECT_EQ(std::pair(s->index, s->value), std::pair(int{kGbObjDist}, 12 + zr));
        EXPECT_EQ(std::pair(f->index, f->value), std::pair(int{kGbFocal}, 12 - zr));
    }

    for (int i = 0; i <= 10; ++i) EXPECT_EQ(BeamCheckBoxEnabled(d, i), i >= 5 && i <= 7) << i;
    EXPECT_FALSE(ToggleBeamParam(d, kGbObjDist, false).message);
    EXPECT_EQ(d.axes[0].selection.Count(), 3);  // a disabled box changes nothing
    d.diode.circularise = false;
    EXPECT_FALSE(CoupledConjugateValue(d, kGbFocal, 12));
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(BeamCheckBoxEnabled(d, i), i != kGbTrack) << i;

    // The kind follows axis 0's beam while axis 0 is complete, else the stored choice.
    EXPECT_EQ(DiodeParamKind(d), kGbObjRayleigh);
    d.axes[0].selection.Remove(kGbObjRayleigh);
    EXPECT_EQ(DiodeParamKind(d), kGbObjDiv);  // nothing chosen yet
    d.axes[1].table[kGbObjRadius] = 0.25;
    EXPECT_TRUE(SetDiodeParamKind(d, kGbObjRadius));
    EXPECT_EQ(DiodeParamValue(d), 0.25);
    EXPECT_FALSE(SetDiodeParamKind(d, kGbImgRadius));
    d.diode.paramKind = 9;  // as an old settings file may hold it
    EXPECT_EQ(DiodeParamKind(d), kGbObjDiv);

    for (double bad : {0.0, -1.0, std::nan("")}) EXPECT_FALSE(SetDiodeParamValue(d, bad));
    EXPECT_TRUE(SetDiodeParamValue(d, 0.5));
    EXPECT_EQ(DiodeParamValue(d), 0.5);
}

}  // namespace
}  // namespace rs::beam
