// Taking a catalogue lens into the design, through the window's handler, and offering its clear
// aperture as the stop radius.
#include "ui/catalogue_lens_choice.h"

#include <gtest/gtest.h>

#include "analysis/thick_lens.h"
#include "beam/beam_design.h"
#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using test::WindowFixture;

analysis::CatalogueLens PlanoConvex() {
    analysis::CatalogueLens lens;
    lens.codes = {"PX100-25", "RS-10027", "", ""};
    lens.description = "N-BK7 Ø 25.4 mm F = 100 mm";
    lens.surfaces = {{51.68, 12.7, 3.38, 1.5168, 64.17, "N-BK7"}, {0, 12.7, 0, 1, 0, ""}};
    return lens;
}

TEST(CatalogueLensChoice, TakingALensIsOneUndoStepAndTypingFLetsItGo) {
    {
        const bool turned = true;
        WindowFixture f;
        f.Lens();
        // Stored media and wavelength that come into force with the options and must stay.
        f.w().SetAdvancedOptions(true);
        f.w().ApplyAdvancedValue(1, "1.2");
        f.w().ApplyAdvancedValue(3, "600");
        f.w().SetAdvancedOptions(false);
        const engine::AdvancedOptions media = f.p().options.advanced;

        f.w().TakeCatalogueLens(PlanoConvex(), turned);
        const auto surfaces =
            turned ? analysis::TurnedRound(PlanoConvex().surfaces) : PlanoConvex().surfaces;
        const auto thick = analysis::ThickLensOf(surfaces, media.wavelength, media.n, 1.0);
        ASSERT_TRUE(thick && f.s().design.lens);
        EXPECT_EQ(f.Param(engine::kFocal).sVarValue, static_cast<float>(thick->focal));
        EXPECT_TRUE(f.p().options.advOptions);
        EXPECT_EQ(f.p().options.advanced.separation, static_cast<float>(thick->separation));
        EXPECT_EQ(f.p().options.advanced.n, media.n);
        EXPECT_EQ(f.p().options.advanced.wavelength, media.wavelength);
        EXPECT_EQ(f.s().design.lens->code, "PX100-25");
        EXPECT_EQ(f.s().design.lens->description, "N-BK7 Ø 25.4 mm");
        EXPECT_EQ(f.s().design.lens->turned, turned);
        EXPECT_EQ(f.s().backup.Kind(), kBackupLens);

        // Undo takes the lens back whole; a second undo brings it again.
        f.w().Undo();
        EXPECT_FALSE(f.s().design.lens);
        EXPECT_EQ(f.Param(engine::kFocal).sVarValue, 100.0f);
        f.w().Undo();
        ASSERT_TRUE(f.s().design.lens);

        f.Type(engine::kFocal, "90");
        EXPECT_FALSE(f.s().design.lens);
        f.w().Undo();
        EXPECT_TRUE(f.s().design.lens);
        EXPECT_TRUE(f.dialogs.Messages().empty());
    }
}

TEST(CatalogueLensChoice, WhereFCannotTakeTheLensTheUserIsTold) {
    // A mirror, and three chosen parameters without f', refuse; two leave room for f'.
    WindowFixture mirror;
    mirror.Lens();
    mirror.w().ChooseMirrorMode(1);
    WindowFixture full;
    full.Select({engine::kObjDist, engine::kImgDist, engine::kObjHeight});
    for (WindowFixture* f : {&mirror, &full}) {
        const engine::ParaxialDesign before = f->p();
        f->w().TakeCatalogueLens(PlanoConvex(), false);
        EXPECT_FALSE(f->s().design.lens);
        EXPECT_EQ(f->p().params, before.params);
        EXPECT_EQ(f->dialogs.Messages().size(), 1u);
    }
    WindowFixture room;
    room.Select({engine::kObjDist, engine::kObjHeight});
    room.w().TakeCatalogueLens(PlanoConvex(), false);
    EXPECT_TRUE(room.s().design.lens);
    EXPECT_TRUE(room.p().params.Contains(engine::kFocal));

    // In beam mode the lens is axis 0's element.
    app::DesignState beam;
    beam.beam.beamMode = true;
    beam.beam.axes[0].selection.AddValue(beam::kGbFocal, 50.0f);
    beam.beam.axes[0].selection.AddValue(beam::kGbObjDist, -100.0f);
    ASSERT_TRUE(TakeCatalogueLens(beam, PlanoConvex(), false).changed);
    const auto thick = analysis::ThickLensOf(PlanoConvex().surfaces, beam::kDefaultBeamWavelength);
    EXPECT_EQ(beam.beam.axes[0].selection.Value(1), static_cast<float>(thick->focal));
}

TEST(CatalogueLensChoice, TheClearApertureIsOfferedAsTheStopRadius) {
    app::DesignState d;
    EXPECT_FALSE(OfferedStopRadius(d));
    d.paraxial.params.AddValue(engine::kFocal, 100.0f);
    d.paraxial.aperture.AddValue(engine::kFNumber, 4.0f);
    ASSERT_TRUE(TakeCatalogueLens(d, PlanoConvex(), false).changed);
    EXPECT_EQ(OfferedStopRadius(d), 12.7);
    // It replaces another aperture parameter, once.
    EXPECT_TRUE(UseOfferedStopRadius(d));
    EXPECT_EQ(d.paraxial.aperture.Index(1), engine::kStopRadius);
    EXPECT_EQ(d.paraxial.aperture.Value(1), 12.7f);
    EXPECT_FALSE(UseOfferedStopRadius(d));
}

}  // namespace
}  // namespace rs::ui
