// The window's costs: one slider step of the paraxial window from the scroll bar's position to
// the rewritten widgets (solve, result rows, title, depth-of-field panel and Render, without
// painting), a mouse move over the small aperture/field plot, and the start of the program up to
// the shown window, as a whole process.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/user_settings_store.h"
#include "drawing/paraxial_drawing.h"
#include "gui/ap_field_plot.h"
#include "gui/main_form.h"
#include "render/qt_surface.h"
#include "ui/beam_drag.h"
#include "ui/dialogs.h"
#include "ui/paraxial_drag.h"

namespace {

using namespace rs;

// Benchmarks never ask anything; an answer is Cancel.
class SilentDialogs final : public ui::Dialogs {
public:
    void Message(std::string_view, ui::Icon) override {}
    std::optional<std::string> Input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    ui::Answer Question(std::string_view, ui::Icon) override { return ui::Answer::Cancel; }
};

std::filesystem::path CopyExample(const QTemporaryDir& dir, const char* name) {
    const std::filesystem::path target = std::filesystem::path(dir.path().toStdString()) / name;
    std::filesystem::copy_file(std::filesystem::path(RAYSKETCHER_EXAMPLES) / name, target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

// A shown window on a copy of an example design, asking nothing.
struct OpenWindow {
    explicit OpenWindow(const char* example) : ini(CopyExample(dir, example)) {
        form.SetNewFeatureNoteEnabled(false);
        form.Startup();
        form.show();
        QCoreApplication::processEvents();
    }
    QTemporaryDir dir;
    app::IniFile ini;
    SilentDialogs dialogs;
    app::MemoryUserSettingsStore store;
    gui::FrmRaysketch form{dialogs, ini, store};
};

// The window's picture painted into an image of 1200 by 700 pixels, as the drawing area paints
// it after every change.
struct WindowPicture {
    explicit WindowPicture(gui::FrmRaysketch& form) : form(form) {}
    void Paint() {
        image.fill(Qt::white);
        QPainter painter(&image);
        render::QtSurface surface(painter, QRectF(image.rect()));
        const ui::WindowState& s = form.Logic().State();
        app::DrawDesign(surface, s.design, s.machine.IsDragging(), memory);
    }
    gui::FrmRaysketch& form;
    QImage image{1200, 700, QImage::Format_RGB32};
    app::DrawingMemory memory;
};

void BM_SliderStepWithRender(benchmark::State& state) {
    OpenWindow window("camera-50mm-f4-1m.ini");
    gui::FrmRaysketch& form = window.form;
    int position = 0;
    for (auto _ : state) {
        // Back and forth across the slider, one step at a time, as a dragged thumb moves.
        position = (position + 7) % 101;
        form.Logic().ApplyPosition(1, position);
        form.Render();
    }
    if (!form.Logic().State().design.paraxial.params.At(2).bVarValDef) {
        state.SkipWithError("the slider did not move the object distance");
    }
}
BENCHMARK(BM_SliderStepWithRender)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// One step of dragging the object in the drawing: the mouse position mapped to a new object
// distance, solve, result rows, the window's widgets, and the picture painted into an image of
// 1200 by 700 pixels.
void BM_DragStep(benchmark::State& state) {
    OpenWindow window("relay-1to1.ini");
    gui::FrmRaysketch& form = window.form;

    WindowPicture picture(form);
    const drawing::ParaxialTouchPoints& touch = picture.memory.touch;
    auto paint = [&] { picture.Paint(); };
    paint();
    const auto pixels = ui::RegisterTouchPoints(touch);
    auto session = pixels
                       ? ui::BeginParaxialDrag(form.Logic(), touch, pixels->objectX, pixels->axisY)
                       : std::nullopt;
    if (!session) {
        state.SkipWithError("the object foot could not be grabbed");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        // Back and forth over 100 pixels, as a hand moves the mouse.
        step = (step + 1) % 200;
        const double dx = step < 100 ? step : 200 - step;
        ui::DragTo(form.Logic(), *session, pixels->objectX + dx, pixels->axisY);
        form.Render();
        paint();
    }
    ui::EndParaxialDrag(form.Logic(), *session);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// One step of dragging the element of the beam picture: the mouse position mapped to a new
// object waist distance, the beam solved with its extras, result rows, the window's widgets, and
// the picture painted into an image of 1200 by 700 pixels.
void BM_BeamDragStep(benchmark::State& state) {
    OpenWindow window("hene-focus-100mm.ini");
    gui::FrmRaysketch& form = window.form;
    WindowPicture picture(form);
    auto paint = [&] { picture.Paint(); };
    paint();
    const drawing::BeamTouchPoints& t = picture.memory.beam.touch;
    const double y = t.axisY - 20;
    auto session = ui::BeginBeamDrag(form.Logic(), t, t.principalX, y);
    if (!session) {
        state.SkipWithError("the element could not be grabbed");
        return;
    }
    const double x0 = t.principalX;
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        const double dx = step < 100 ? step : 200 - step;
        ui::BeamDragTo(form.Logic(), *session, x0 - dx, y);
        form.Render();
        paint();
    }
    ui::EndBeamDrag(form.Logic(), *session);
}
BENCHMARK(BM_BeamDragStep)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// One mouse move over the small aperture/field plot (320 by 240 pixels between its strips): the
// types under the cursor, the read-out, and the repaint of the widget from its kept image with
// the highlighted outlines and the design's cross-hair, into an image. The cursor moves back and
// forth over the plot, so the highlight changes as it crosses the regions. Aim: at most 1 ms.
void BM_ApFieldPlotHover(benchmark::State& state) {
    OpenWindow window("camera-50mm-f4-1m.ini");
    gui::ApFieldPlotWidget plot(window.form.Logic(), {true, false});
    plot.resize(plot.minimumSizeHint() + QSize(320 - 130, 240 - 110));
    plot.Refresh();
    QImage image(plot.size(), QImage::Format_RGB32);
    plot.render(&image);  // the kept image is painted once, outside the timing
    const drawing::ScaleRect box = plot.Layout().frame.box;
    const QPointF corner(box.left, box.top);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 200;
        const double x = 12 + (step < 100 ? step : 200 - step) * 2.9;
        const QPointF at = corner + QPointF(x, 240 - 12 - x * 0.7);
        QMouseEvent move(QEvent::MouseMove, at, plot.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&plot, &move);
        plot.render(&image);
    }
    if (box.width != 320 || box.height != 240) {
        state.SkipWithError("the plot is not 320 by 240 pixels");
    }
}
BENCHMARK(BM_ApFieldPlotHover)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_StartToWindowShown(benchmark::State& state) {
    QTemporaryDir dir;
    const std::filesystem::path design = CopyExample(dir, "camera-50mm-f4-1m.ini");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", dir.path());  // never the user's own per-user store
    for (auto _ : state) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program.start(RAYSKETCHER_GUI_EXE,
                      {"--settings", QString::fromStdString(design.string()), "--exit-when-shown"});
        if (!program.waitForFinished(10000) || program.exitStatus() != QProcess::NormalExit ||
            program.exitCode() != 0) {
            state.SkipWithError("raysketcher did not start and end cleanly");
            break;
        }
    }
}
BENCHMARK(BM_StartToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20)
    ->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
