// The general tab: which parameters define the design, and their values. The frames of
// the paraxial and the beam mode share the places; only one mode's frames are ever shown.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/qt_text.h"

namespace rs::gui {
namespace {

using SetChecked = void (ui::MainWindow::*)(int, bool);

// Check box `base`_`index`, which chooses parameter `index` of its set.
QCheckBox* ParamCheck(const PanelContext& ctx, const char* base, int index, SetChecked set) {
    auto* box = ctx.controls.Make<QCheckBox>(Indexed(base, index));
    ctx.On(box, &QCheckBox::clicked,
           [&logic = ctx.logic, index, set](bool on) { (logic.*set)(index, on); });
    return box;
}

QGroupBox* ParaxialDistances(const PanelContext& ctx) {
    auto* conj = ctx.controls.Make<QGroupBox>("fraOptConj");
    auto* layout = new QVBoxLayout(conj);
    layout->setSpacing(2);
    for (int i = 0; i <= 4; ++i) {
        layout->addWidget(ParamCheck(ctx, "chkVarType", i, &ui::MainWindow::SetParamChecked));
    }
    auto* infinity = ctx.controls.Make<QCheckBox>("chkObjAtInfinity");
    ctx.On(infinity, &QCheckBox::clicked,
           [&logic = ctx.logic](bool on) { logic.SetObjectAtInfinity(on); });
    layout->addWidget(infinity);
    layout->addStretch(1);
    return conj;
}

QGroupBox* ParaxialField(const PanelContext& ctx) {
    auto* field = ctx.controls.Make<QGroupBox>("fraOptFld");
    auto* layout = new QVBoxLayout(field);
    layout->setSpacing(2);
    for (int i = 5; i <= 8; ++i) {
        layout->addWidget(ParamCheck(ctx, "chkVarType", i, &ui::MainWindow::SetParamChecked));
    }
    layout->addStretch(1);
    return field;
}

// The image formats, whose entries name a format with its sides and half diagonal: a row of the
// page's whole width, so the chosen one shows whole.
QComboBox* ImageFormats(const PanelContext& ctx) {
    auto* formats = ctx.controls.Make<QComboBox>("cmbImagHeight");
    formats->setToolTip(QTr("Bildhöhe aus einem Bildformat"));
    ctx.On(formats, &QComboBox::activated,
           [&logic = ctx.logic](int entry) { logic.ChooseImageFormat(entry); });
    return formats;
}

QGroupBox* ParaxialAperture(const PanelContext& ctx) {
    auto* aperture = ctx.controls.Make<QGroupBox>("fraOptAp1");
    auto* layout = new QGridLayout(aperture);
    layout->setVerticalSpacing(2);
    // One below the other: the f-number's caption is too long to share a row in a narrow window.
    for (int i = 0; i <= 3; ++i) {
        layout->addWidget(ParamCheck(ctx, "chkVarTypeAp", i, &ui::MainWindow::SetApertureChecked),
                          i, 0, 1, 2);
    }
    // The aperture value belongs to the paraxial mode: it lives (and hides) with its frame.
    auto* valueRow = new QHBoxLayout;
    valueRow->setSpacing(8);
    valueRow->addWidget(ctx.controls.Make<QLabel>("lblVarTypeAp"));
    auto* value = ctx.controls.Make<QLineEdit>("txtVarTypeAp_0");
    ctx.OnEdited(value, [&logic = ctx.logic](std::string_view t) { logic.ApplyApertureValue(t); });
    valueRow->addWidget(value, 1);
    auto* standard = ctx.controls.Make<QPushButton>("comApFNosStandard");
    standard->setToolTip(QTr("Standard-Blendenzahlen"));
    // A caption of three characters: narrow, not as wide as the command buttons.
    standard->setMaximumWidth(4 * standard->fontMetrics().averageCharWidth() + 16);
    ctx.OnPressed(standard, ctx.commands.chooseStandardFNumber);
    valueRow->addWidget(standard);
    layout->addLayout(valueRow, 4, 0, 1, 2);
    return aperture;
}

QGroupBox* BeamConjugates(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* frame = ctx.controls.Make<QGroupBox>("fraGaussCong");
    auto* layout = new QGridLayout(frame);
    layout->setVerticalSpacing(2);
    for (int i = 0; i <= 4; ++i) {
        layout->addWidget(ParamCheck(ctx, "chkVarTypeGB", i, &ui::MainWindow::SetBeamChecked),
                          i % 2, i / 2);
    }
    auto* waveRow = new QHBoxLayout;
    waveRow->setSpacing(6);
    waveRow->addWidget(MakeCaption(ctx, "lblGBWavelen"));
    auto* wave = ctx.controls.Make<QLineEdit>("txtGBWavelen");
    wave->setMaximumWidth(110);
    ctx.OnEdited(wave, [&logic](std::string_view t) { logic.ApplyBeamWavelength(t); });
    waveRow->addWidget(wave);
    auto* picker = ctx.controls.Make<QPushButton>("comGBWavelen");
    picker->setToolTip(QTr("Wellenlänge aus einer Liste wählen"));
    picker->setMaximumWidth(32);
    waveRow->addWidget(picker);
    waveRow->addStretch(1);
    layout->addLayout(waveRow, 3, 0, 1, 2);
    auto* alt = ctx.controls.Make<QCheckBox>("chkGaussBeamAltSolution");
    alt->setToolTip(QTr("Gaußstrahl-Lösung für diese Parameter anzeigen"));
    ctx.On(alt, &QCheckBox::clicked, [&logic](bool) { logic.ToggleAltSolution(); });
    layout->addWidget(alt, 4, 0, 1, 2);
    return frame;
}

// The beam on either side of the element, side by side.
QHBoxLayout* BeamSides(const PanelContext& ctx) {
    auto* sides = new QHBoxLayout;
    for (int side = 0; side < 2; ++side) {
        auto* frame =
            ctx.controls.Make<QGroupBox>(side == 0 ? "fraGaussBeamObj" : "fraGaussBeamImg");
        auto* layout = new QVBoxLayout(frame);
        layout->setSpacing(2);
        for (int k = 0; k < 3; ++k) {
            layout->addWidget(
                ParamCheck(ctx, "chkVarTypeGB", 5 + 3 * side + k, &ui::MainWindow::SetBeamChecked));
        }
        sides->addWidget(frame);
    }
    return sides;
}

// The value boxes of the chosen parameters.
QGridLayout* ValueBoxes(const PanelContext& ctx) {
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    values->setColumnStretch(1, 1);
    for (int k = 0; k < ui::kValueSlots; ++k) {
        values->addWidget(ctx.controls.Make<QLabel>(Indexed("lblVarType", k)), k, 0);
        auto* box = ctx.controls.Make<QLineEdit>(Indexed("txtVarType", k));
        ctx.OnEdited(box,
                     [&logic = ctx.logic, k](std::string_view t) { logic.ApplyTypedValue(k, t); });
        values->addWidget(box, k, 1);
    }
    return values;
}

}  // namespace

QWidget* BuildParamsTab(const PanelContext& ctx) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    grid->addWidget(ParaxialDistances(ctx), 0, 0);
    grid->addWidget(ParaxialField(ctx), 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->addWidget(ImageFormats(ctx), 1, 0, 1, 2);
    grid->addWidget(BeamConjugates(ctx), 2, 0, 1, 2);
    grid->addLayout(BeamSides(ctx), 3, 0, 1, 2);
    grid->addLayout(ValueBoxes(ctx), 4, 0, 1, 2);
    grid->addWidget(ParaxialAperture(ctx), 5, 0, 1, 2);

    grid->setRowStretch(6, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(MakeUnitsButton(ctx, 0));
    grid->addLayout(bottom, 7, 0, 1, 2);
    return page;
}

}  // namespace rs::gui
