// The advanced tab: principal-plane separation, refractive indices and wavelength, and the
// display options of the paraxial drawing.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/panel_context.h"
#include "gui/panels.h"

namespace rs::gui {
namespace {

using SetOption = void (ui::MainWindow::*)(bool);

QCheckBox* OptionCheck(const PanelContext& ctx, const char* name, SetOption set) {
    auto* box = ctx.controls.Make<QCheckBox>(name);
    ctx.On(box, &QCheckBox::clicked, [&logic = ctx.logic, set](bool on) { (logic.*set)(on); });
    return box;
}

// Each value on a line of its own below its label, with its standard beside it.
QGridLayout* AdvancedValues(const PanelContext& ctx) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    for (int k = 0; k < 4; ++k) {
        if (k > 0) grid->setRowMinimumHeight(3 * k, 6);
        grid->addWidget(ctx.controls.Make<QLabel>(Indexed("lblAdv", k)), 3 * k + 1, 0, 1, 2);
        auto* box = ctx.controls.Make<QLineEdit>(Indexed("txtAdv", k));
        box->setFixedWidth(110);
        ctx.OnEdited(
            box, [&logic = ctx.logic, k](std::string_view t) { logic.ApplyAdvancedValue(k, t); });
        grid->addWidget(box, 3 * k + 2, 0);
        grid->addWidget(ctx.controls.Make<QLabel>(Indexed("lblAdvNote", k)), 3 * k + 2, 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

}  // namespace

QWidget* BuildAdvancedTab(const PanelContext& ctx) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    column->addWidget(OptionCheck(ctx, "chkAdvOpt", &ui::MainWindow::SetAdvancedOptions));
    column->addLayout(AdvancedValues(ctx));
    auto* note = ctx.controls.Make<QLabel>("lblAdv_4");
    note->setWordWrap(true);
    column->addWidget(note);
    column->addSpacing(6);

    column->addWidget(
        OptionCheck(ctx, "chkHideRemoteConjug", &ui::MainWindow::SetHideRemoteConjugates));
    column->addWidget(
        OptionCheck(ctx, "chkAllowVirtualObj", &ui::MainWindow::SetPositiveObjectAllowed));
    column->addWidget(OptionCheck(ctx, "chkDrawParaxPoints", &ui::MainWindow::SetDrawPoints));
    column->addStretch(1);

    auto* bottom = new QHBoxLayout;
    auto* standard = ctx.controls.Make<QPushButton>("comDefAdvOpts");
    ctx.OnPressed(standard, [&logic = ctx.logic] { logic.DefaultAdvancedValues(); });
    bottom->addWidget(standard);
    bottom->addStretch(1);
    bottom->addWidget(MakeUnitsButton(ctx, 2));
    column->addLayout(bottom);
    return page;
}

}  // namespace rs::gui
