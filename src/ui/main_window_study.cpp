#include "ui/main_window.h"

// The design study: its choices, and a click into its plot, which moves the design to the
// parameter's value there.
#include <utility>

#include "text/number_text.h"
#include "ui/extras_panel.h"
#include "ui/study.h"

namespace rs::ui {

void MainWindow::ChooseStudy(app::StudyChoice choice) {
    if (!s_.machine.IsIdle()) return;
    // How the design is looked at, not the design: no undo step, no solve. It is kept with the
    // settings when the design is saved.
    (s_.design.beam.beamMode ? s_.design.studyBeam : s_.design.study) = std::move(choice);
}

void MainWindow::ApplyStudyValue(double displayValue) {
    const std::optional<Study> study = ResolveStudy(s_.design);
    if (!study) return;
    // Typed into the parameter's box: the same checks, the same one undo step.
    const std::string text = text::ShortestText(static_cast<float>(displayValue));
    switch (study->parameter.target) {
        case app::SweepTarget::Aperture:
            ApplyApertureValue(text);
            return;
        case app::SweepTarget::Wavelength:
            if (s_.design.beam.beamMode) {
                ApplyBeamWavelength(text);
            } else {
                ApplyAdvancedValue(3, text);  // the wavelength box of the advanced options
            }
            return;
        case app::SweepTarget::Detector:
            ApplyDetectorText(*this, text);
            return;
        case app::SweepTarget::Chosen:
            break;
    }
    const app::DesignState& d = s_.design;
    const engine::Selection& sel = d.beam.beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    if (const auto position = sel.Find(study->parameter.index))
        ApplyTypedValue(*position - 1, text);
}

}  // namespace rs::ui
