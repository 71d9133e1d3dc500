// The sliders tab: one slider panel per value slot and one for the aperture, each a slider between
// the boxes of its lower and upper limit, under the name of its parameter.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/panel_context.h"
#include "gui/panels.h"

namespace rs::gui {
namespace {

struct SliderPanelNames {
    QString panel;
    QString label;
    QString low;
    QString slider;
    QString high;
};

struct SliderPanelHandlers {
    std::function<void(std::string_view)> applyLow;
    std::function<void(int)> applyPosition;
    std::function<void(std::string_view)> applyHigh;
};

QWidget* SliderPanel(const PanelContext& ctx, const SliderPanelNames& names,
                     SliderPanelHandlers handlers) {
    auto* panel = ctx.controls.Make<QWidget>(names.panel);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    auto* name = ctx.controls.Make<QLabel>(names.label);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    grid->addWidget(name, 0, 0, 1, 3);
    auto* low = ctx.controls.Make<QLineEdit>(names.low);
    auto* high = ctx.controls.Make<QLineEdit>(names.high);
    for (QLineEdit* box : {low, high}) box->setFixedWidth(120);
    ctx.OnEdited(low, std::move(handlers.applyLow));
    ctx.OnEdited(high, std::move(handlers.applyHigh));
    auto* bar = ctx.controls.Make<QScrollBar>(names.slider, Qt::Horizontal);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    // Taking the focus makes a box still being edited apply its text before the slider moves.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(120);
    ctx.On(bar, &QScrollBar::valueChanged, std::move(handlers.applyPosition));
    grid->addWidget(low, 1, 0);
    grid->addWidget(bar, 1, 1);
    grid->addWidget(high, 1, 2);
    grid->setColumnStretch(1, 1);
    return panel;
}

}  // namespace

QWidget* BuildSlidersTab(const PanelContext& ctx) {
    ui::MainWindow& logic = ctx.logic;
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    auto* note = ctx.controls.Make<QLabel>("lblSliders");
    note->setWordWrap(true);
    column->addWidget(note);

    for (int k = 0; k < ui::kValueSlots; ++k) {
        column->addWidget(SliderPanel(
            ctx,
            {Indexed("picSlider", k), Indexed("lblSliderVarValue", k), Indexed("txtVarLimLow", k),
             Indexed("hscVarValue", k), Indexed("txtVarLimHi", k)},
            {[&logic, k](std::string_view t) { logic.ApplyLowerLimit(k, t); },
             [&logic, k](int p) { logic.ApplyPosition(k, p); },
             [&logic, k](std::string_view t) { logic.ApplyUpperLimit(k, t); }}));
    }
    column->addWidget(SliderPanel(ctx,
                                  {"picSliderAp_0", "lblSliderVarValueAp_0", "txtVarLimLowAp_0",
                                   "hscVarValueAp_0", "txtVarLimHiAp_0"},
                                  {[&logic](std::string_view t) { logic.ApplyLowerLimitAp(t); },
                                   [&logic](int p) { logic.ApplyPositionAp(p); },
                                   [&logic](std::string_view t) { logic.ApplyUpperLimitAp(t); }}));
    column->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(MakeUnitsButton(ctx, 1));
    column->addLayout(bottom);
    return page;
}

}  // namespace rs::gui
