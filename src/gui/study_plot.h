#pragma once
// The study on screen: the plot widget, and the panel around it with the study's choices, the
// read-out under the cursor and the exports. The same panel is the "Studie" tab of both modes'
// extras and the body of the study's own window (FrmStudy). What is computed, offered and read
// out comes from ui/study.h; the widgets only measure pixels, paint and pass events on.
//
// The curves are computed only while a plot is shown: a change of the design marks them stale,
// and the next paint computes them.
#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "app/user_settings_store.h"
#include "drawing/study_plot.h"
#include "gui/control_registry.h"
#include "ui/main_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace rs::gui {

class StudyPlotWidget final : public QWidget {
    Q_OBJECT
public:
    explicit StudyPlotWidget(const ui::MainWindow& window, QWidget* parent = nullptr);

    // The read-out under the cursor, each time it may have changed (empty away from the curves).
    void OnHover(std::function<void(const std::string&)> hover) { hover_ = std::move(hover); }
    // Mouse-up at the parameter's value `value` (display units).
    void OnClick(std::function<void(double)> click) { click_ = std::move(click); }

    // The design changed: the curves are computed anew when next painted.
    void Invalidate();
    // The curves for the present design (computed now if stale).
    const drawing::StudyPlotData& Data();

    QSize sizeHint() const override { return {520, 220}; }
    QSize minimumSizeHint() const override { return {160, 100}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const drawing::PlotFrame& Frame();

    const ui::MainWindow& window_;
    std::optional<drawing::StudyPlotData> data_;
    std::optional<drawing::PlotFrame> frame_;
    std::function<void(const std::string&)> hover_;
    std::function<void(double)> click_;
};

// The choices, the plot, the read-out and the buttons.
class StudyPanel final : public QWidget {
    Q_OBJECT
public:
    using Act = std::function<void(const std::function<void()>&)>;
    // `openWindow` empty: no button that opens the study's window (the window itself).
    StudyPanel(ui::MainWindow& logic, Act act, std::function<void()> openWindow,
               QWidget* parent = nullptr);

    // Follows the window's state: the choices shown anew, the curves stale.
    void Refresh();
    StudyPlotWidget* Plot() const { return plot_; }

private:
    void Export(const char* kind);

    ui::MainWindow& logic_;
    Act act_;
    QComboBox* parameter_;
    QLineEdit* from_;
    QLineEdit* to_;
    QLabel* unit_;
    QCheckBox* log_;
    QComboBox* quantity_;
    QComboBox* quantity2_;
    StudyPlotWidget* plot_;
    QLabel* readOut_;
};

// The view names the panels so that every rendering of the window has them follow the state.
void WriteView(StudyPanel& panel, const ui::ControlView& view, Written& written);

// The study in a resizable window of its own; it keeps its place per user.
class FrmStudy final : public QDialog {
    Q_OBJECT
public:
    FrmStudy(ui::MainWindow& logic, app::UserSettingsStore& store, StudyPanel::Act act,
             QWidget* parent = nullptr);
    // Shows the window where the user left it last time (or centred), in front.
    void Open();
    void Refresh();
    StudyPanel* Panel() const { return panel_; }
    QSize sizeHint() const override { return {900, 520}; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    app::UserSettingsStore& store_;
    StudyPanel* panel_;
};

// Paints the study into a PNG or SVG file of `width` × `height` pixels, with the painter of the
// screen. False when the file could not be written.
bool WriteStudyPicture(const QString& file, const drawing::StudyPlotData& data, int width,
                       int height, bool svg);

}  // namespace rs::gui
