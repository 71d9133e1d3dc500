#include "ui/ap_field_view.h"

#include "engine/catalogue.h"

namespace rs::ui {

ApFieldPlotView ApFieldPlotOf(const WindowState& state) {
    const engine::ParaxialDesign& p = state.design.paraxial;
    return {p.options.mirrorMode, analysis::DesignPoint(p)};
}

ApFieldHover ApFieldHoverAt(const WindowState& state, const drawing::ApFieldLayout& plot, double px,
                            double py) {
    ApFieldHover hover;
    const engine::ParaxialDesign& p = state.design.paraxial;
    const analysis::PlotPoint point = drawing::ApFieldPointAt(plot, px, py);
    hover.point = point;
    // The types as this plot outlines them, so that the highlight covers the cursor.
    const analysis::LensHits hits = analysis::LensClassesAt(plot.mirror, plot.plane, px, py);
    hover.classes = hits.classes;
    hover.lensTypes = hits.text;
    if (point.a > 0.0) hover.fNumber = analysis::FNumberText(1.0 / (2.0 * point.a));
    if (const auto figures = analysis::ApertureFieldAt(point, p)) {
        const units::UnitState& u = state.design.units;
        hover.readOut = analysis::ApFieldReadOut(
            p, *figures, u.UnitFactor(units::Group::Parax, engine::kObjAngle),
            u.UnitSuffix(units::Group::Parax, engine::kObjAngle));
    }
    return hover;
}

void ApFieldClick(MainWindow& window, const analysis::PlotPoint& point) {
    window.ApFieldParamsChng(point.a, point.angle);
}

}  // namespace rs::ui
