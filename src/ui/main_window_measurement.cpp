// The measured beam's handlers that take an undo step or tell the user something: taking the
// fit as the object beam, and filling the table from pasted text or a file.
#include "beam/caustic_fit.h"
#include "text/file_read.h"
#include "text/number_text.h"
#include "text/tr.h"
#include "ui/main_window.h"
#include "ui/measurement_panel.h"

namespace rs::ui {

void MainWindow::AdoptMeasuredBeam() {
    ApplyChange({kBackupMeasurement, 0, true, true}, [&](app::DesignState& d) {
        const beam::AdoptOutcome outcome = beam::AdoptFittedBeam(
            d.beam, MeasurementFitOf(d), d.measurement.elementPosition, d.paraxial.Margin());
        if (outcome.message) {
            dialogs_.Message(text::Tr(*outcome.message),
                             outcome.changed ? Icon::Information : Icon::Exclamation);
        }
        return outcome.changed;
    });
}

void MainWindow::TakeMeasurementText(std::string_view text, bool replace) {
    ApplyChange({kNoBackup, 0, false, false}, [&](app::DesignState& d) {
        app::MeasurementState& m = d.measurement;
        const beam::MeasurementParse read = beam::ParseMeasurementText(
            text, {units::UnitFactorOf(m.zUnit), units::UnitFactorOf(m.dUnit)});
        if (!read.ok()) {
            std::string lines = text::Tr("Nicht alle Zeilen konnten gelesen werden:");
            for (const std::string& problem : read.problems) lines += "\n" + text::Tr(problem);
            dialogs_.Message(lines, Icon::Exclamation);
        }
        if (read.table.rows.empty()) return false;
        if (replace) {
            m.table = read.table;
            return true;
        }
        // Appending stops at the table's limit, as reading does.
        for (const beam::MeasurementRow& row : read.table.rows) {
            if (m.table.rows.size() >= beam::kMaxMeasurementRows) break;
            m.table.rows.push_back(row);
        }
        m.table.axisCount = std::max(m.table.axisCount, read.table.axisCount);
        return true;
    });
}

void MainWindow::ImportMeasurementFile(const std::filesystem::path& file) {
    const text::FileRead read = text::ReadFileBounded(file, beam::kMaxMeasurementTextBytes);
    if (read.failure != text::ReadFailure::kNone) {
        const text::FileNotRead notRead{
            file, text::ReadFailureText(read.failure, beam::kMaxMeasurementTextBytes)};
        dialogs_.Message(text::Tr(notRead.Message()), Icon::Exclamation);
        return;
    }
    TakeMeasurementText(text::TextFileToUtf8(read.bytes), true);
}

}  // namespace rs::ui
