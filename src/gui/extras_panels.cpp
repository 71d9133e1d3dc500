// The extras beside the result list: depth of field and the stock lenses in the paraxial mode;
// beam options, diode laser, depth of focus, stock lenses and measurement in the beam mode.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/lens_grid.h"
#include "gui/measurement_tab.h"
#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/study_plot.h"
#include "ui/extras_panel.h"

namespace rs::gui {
namespace {

QGridLayout* PageGrid(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    return grid;
}

QCheckBox* ExtrasCheck(const PanelContext& ctx, const char* name,
                       void (*set)(ui::MainWindow&, bool)) {
    auto* box = ctx.controls.Make<QCheckBox>(name);
    ctx.On(box, &QCheckBox::clicked, [&logic = ctx.logic, set](bool on) { set(logic, on); });
    return box;
}

QLineEdit* ExtrasBox(const PanelContext& ctx, const char* name, const char* tip,
                     std::function<void(std::string_view)> apply) {
    auto* box = ctx.controls.Make<QLineEdit>(name);
    box->setToolTip(tip);
    ctx.OnEdited(box, std::move(apply));
    return box;
}

QComboBox* ExtrasCombo(const PanelContext& ctx, const char* name, const char* tip,
                       void (*choose)(ui::MainWindow&, int)) {
    auto* combo = ctx.controls.Make<QComboBox>(name);
    combo->setToolTip(tip);
    ctx.On(combo, &QComboBox::activated,
           [&logic = ctx.logic, choose](int entry) { choose(logic, entry); });
    return combo;
}

QWidget* DepthOfFieldPage(const PanelContext& ctx) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(2);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int row = 0; row < 6; ++row) {
        rows->addWidget(ctx.controls.Make<QLabel>(Indexed("lblDOFName", row)), row, 0);
        auto* value = ctx.controls.Make<QLabel>(Indexed("lblDOFVal", row));
        value->setFont(fixed);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows->addWidget(value, row, 1);
    }
    rows->setColumnStretch(1, 1);
    column->addLayout(rows);
    auto* status = ctx.controls.Make<QLabel>("lblDOFStatus");
    status->setWordWrap(true);
    status->setMargin(2);
    column->addWidget(status);

    auto* coc = ctx.controls.Make<QGroupBox>("fraDOFCoC");
    auto* cocGrid = new QGridLayout(coc);
    cocGrid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(coc);
    for (int k = 0; k < 2; ++k) {
        auto* option = ctx.controls.Make<QRadioButton>(Indexed("optCoCType", k));
        group->addButton(option, k);
        ctx.OnPressed(option, [&logic = ctx.logic, k] { ui::ChooseCoCType(logic, k); });
        cocGrid->addWidget(option, k, 0, 1, k == 0 ? 1 : 3);
    }
    QLineEdit* custom =
        ExtrasBox(ctx, "txtDOFCoC", "Durchmesser des zulässigen Unschärfekreises",
                  [&logic = ctx.logic](std::string_view t) { ui::ApplyCoCText(logic, t); });
    custom->setFixedWidth(100);
    cocGrid->addWidget(custom, 0, 1);
    cocGrid->setColumnStretch(2, 1);
    column->addWidget(coc);
    column->addStretch(1);
    return page;
}

// Beam quality, detector, minimum spot. The switches stand below their boxes, so the page stays
// narrow enough to sit below the results in a small window.
QWidget* BeamOptionsPage(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* page = new QWidget;
    QGridLayout* grid = PageGrid(page);
    grid->setVerticalSpacing(4);
    QLineEdit* m2 = ExtrasBox(ctx, "txtGBExtraMFactor", "Beugungsmaßzahl M² des Strahls",
                              [&logic](std::string_view t) { ui::ApplyMFactorText(logic, 0, t); });
    QCheckBox* m2Use = ExtrasCheck(ctx, "chkGBExtraM2Use", ui::SetMFactorUse);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraMFactor"), 0, 0);
    grid->addWidget(m2, 0, 1);
    grid->addWidget(m2Use, 1, 1, 1, 2);
    QLineEdit* detector =
        ExtrasBox(ctx, "txtGBExtraDetector", "Abstand des Detektors hinter der Linse [mm]",
                  [&logic](std::string_view t) { ui::ApplyDetectorText(logic, t); });
    QCheckBox* detectorOn = ExtrasCheck(ctx, "chkGBExtraDetector", ui::SetDetectorOn);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDetector"), 2, 0);
    grid->addWidget(detector, 2, 1);
    grid->addWidget(detectorOn, 3, 1, 1, 2);
    QComboBox* scale = ExtrasCombo(ctx, "cmbGBDrgScales", "Achsenbereich der Strahlzeichnung",
                                   ui::ChooseDrawingScale);
    scale->setMinimumContentsLength(16);
    grid->addWidget(MakeCaption(ctx, "lblGBDrgScales"), 4, 0);
    grid->addWidget(scale, 4, 1, 1, 2);
    QLineEdit* distance = ExtrasBox(
        ctx, "txtGBExtraDrgScale", "Fester Abstand der Strahlzeichnung [mm], 0: automatisch",
        [&logic](std::string_view t) { ui::ApplyDrawingDistanceText(logic, t); });
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDrgScale"), 5, 0);
    grid->addWidget(distance, 5, 1);
    QLineEdit* spot = ExtrasBox(ctx, "txtGMExtraMinSpotD",
                                "Abstand hinter der Linse, in dem der Strahl "
                                "am kleinsten sein soll",
                                [&logic](std::string_view t) { ui::ApplyMinSpotText(logic, t); });
    grid->addWidget(MakeCaption(ctx, "lblGBExtraMinSpotD"), 6, 0);
    grid->addWidget(spot, 6, 1);
    for (QLineEdit* box : {m2, detector, distance, spot}) box->setFixedWidth(90);
    auto* spotResult = ctx.controls.Make<QLabel>("lblGBExtraMinSpotRes");
    spotResult->setWordWrap(true);
    spotResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    spotResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(spotResult, 7, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return page;
}

// The second axis of a rectangular beam and its circularisation.
QWidget* DiodePage(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* page = new QWidget;
    QGridLayout* grid = PageGrid(page);
    grid->setVerticalSpacing(4);
    grid->addWidget(ExtrasCheck(ctx, "chkGBExtraDiodeMode", ui::SetDiodeMode), 0, 0, 1, 2);
    // Its tip says why it is locked at times: the view gives it.
    QComboBox* kind = ExtrasCombo(ctx, "cmbGBExtraDiodeParamType", "", ui::ChooseDiodeParamKind);
    QLineEdit* kindValue =
        ExtrasBox(ctx, "txtGBExtraDiodeParamVal", "Wert für Strahlparameter im Objektraum ",
                  [&logic](std::string_view t) { ui::ApplyDiodeParamText(logic, t); });
    QLineEdit* m2Axis1 =
        ExtrasBox(ctx, "txtGBExtraDiodeMFactor", "Beugungsmaßzahl M² der zweiten Achse",
                  [&logic](std::string_view t) { ui::ApplyMFactorText(logic, 1, t); });
    // Shows the parameter both axes share; there is nothing to choose.
    auto* matched = ctx.controls.Make<QComboBox>("cmbGBExtraDiodeParamMatched");
    matched->setToolTip("Parameter mit gleichem Wert in beiden Sektionen");
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDiodeParamType"), 1, 0);
    grid->addWidget(kind, 1, 1);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDiodeParamVal"), 2, 0);
    grid->addWidget(kindValue, 2, 1);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDiodeMFactor"), 3, 0);
    grid->addWidget(m2Axis1, 3, 1);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDiodeParamMatched"), 4, 0);
    grid->addWidget(matched, 4, 1);
    grid->addWidget(ExtrasCheck(ctx, "chkGBExtraBeamRectCircularise", ui::SetCircularise), 5, 0, 1,
                    2);
    for (QComboBox* combo : {kind, matched}) combo->setMinimumContentsLength(10);
    grid->addWidget(
        ExtrasCombo(ctx, "cmbGBExtraBeamRectCircMode",
                    "Diodenkollimationsmodus zur Zirkularisierung", ui::ChooseCollimationMode),
        6, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    return page;
}

// The beam's depth of focus for a chosen growth of its radius.
QWidget* DepthOfFocusPage(const PanelContext& ctx) {
    auto* page = new QWidget;
    QGridLayout* grid = PageGrid(page);
    auto* percent = ctx.controls.Make<QListWidget>("lstGBExtraDOFPercent");
    FitRows(percent, 7);
    percent->setMaximumWidth(140);
    ctx.On(percent, &QListWidget::currentRowChanged,
           [&logic = ctx.logic](int row) { ui::ChooseDofEntry(logic, row); });
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDOFPercent"), 0, 0, 1, 2);
    grid->addWidget(percent, 1, 0, 2, 1);
    grid->addWidget(MakeCaption(ctx, "lblGBExtraDOF"), 1, 1);
    auto* depth = ctx.controls.Make<QLabel>("lblGBExtraDOFVal");
    QFont big = depth->font();
    big.setBold(true);
    depth->setFont(big);
    depth->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(depth, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return page;
}

}  // namespace

QTabWidget* BuildExtraInfo(const PanelContext& ctx) {
    auto* tabs = ctx.controls.Make<QTabWidget>("tabExtraInfo");
    // As in beam mode: captions shortened in a small window rather than scrolled away.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideRight);
    tabs->addTab(BuildApFieldPage(ctx), QString());
    tabs->addTab(Scrolled(DepthOfFieldPage(ctx)), QString());
    tabs->addTab(BuildLensesPage(ctx, kParaxialLensPage), QString());
    tabs->addTab(Scrolled(ctx.controls.Make<StudyPanel>("picStudy", ctx.logic, ctx.act,
                                                        ctx.commands.openStudy)),
                 QString());
    return tabs;
}

QTabWidget* BuildExtraInfoGB(const PanelContext& ctx) {
    auto* tabs = ctx.controls.Make<QTabWidget>("tabExtraInfoGB");
    // Five tabs outgrow the extras of a small window: their captions are shortened there
    // rather than scrolled out of sight.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideRight);
    // The pages scroll where the extras stand below the results in a low window.
    tabs->addTab(Scrolled(BeamOptionsPage(ctx)), QString());
    tabs->addTab(Scrolled(DiodePage(ctx)), QString());
    tabs->addTab(Scrolled(DepthOfFocusPage(ctx)), QString());
    tabs->addTab(BuildLensesPage(ctx, kBeamLensPage), QString());
    tabs->addTab(BuildMeasurementPage(ctx), QString());
    tabs->addTab(Scrolled(ctx.controls.Make<StudyPanel>("picStudyGB", ctx.logic, ctx.act,
                                                        ctx.commands.openStudy)),
                 QString());
    return tabs;
}

}  // namespace rs::gui
