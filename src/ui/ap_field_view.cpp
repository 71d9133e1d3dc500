#include "ui/ap_field_view.h"

#include "engine/catalogue.h"

namespace rs::ui {

ApFieldPlotView ApFieldPlotOf(const WindowState& state) {
    const engine::ParaxialDesign& p = state.design.paraxial;
    return {p.options.mirrorMode, analysis::DesignPoint(p)};
}

ApFieldHover ApFieldHoverAt(const WindowState& state, const analysis::ApFieldPlot& plot, double px,
                            double py) {
    ApFieldHover hover;
    const analysis::LensHits hits = analysis::LensClassesAt(plot, px, py);
    hover.classes = hits.classes;
    hover.lensTypes = hits.text;
    const double a = analysis::AxisValue(plot.x, px);
    if (a > 0.0) hover.fNumber = analysis::FNumberText(1.0 / (2.0 * a));
    const engine::ParaxialDesign& p = state.design.paraxial;
    if (const auto figures = analysis::ApertureFieldAt(plot, px, py, p)) {
        const units::UnitState& u = state.design.units;
        hover.readOut = analysis::ApFieldReadOut(
            p, *figures, u.UnitFactor(units::Group::Parax, engine::kObjAngle),
            u.UnitSuffix(units::Group::Parax, engine::kObjAngle));
    }
    return hover;
}

void ApFieldClick(MainWindow& window, const analysis::ApFieldPlot& plot, double px, double py) {
    window.ApFieldParamsChng(analysis::AxisValue(plot.x, px), analysis::AxisValue(plot.y, py));
}

}  // namespace rs::ui
