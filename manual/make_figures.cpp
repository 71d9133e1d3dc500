// The pictures of the manual, drawn by the program's own drawing code: the sign convention, the
// example designs as the window draws them, and the aperture/field plot. Run by the build once
// per language of the manual, with the examples folder, the output folder, the language and the
// folder of the build's catalogues, so that the pictures' labels speak the page's language; fails
// (and with it the build) when a design does not solve or a picture cannot be written.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "analysis/lens_ideas.h"
#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "drawing/ap_field_drawing.h"
#include "drawing/sign_convention.h"
#include "render/qt_surface.h"
#include "render/report_page.h"
#include "text/language.h"

namespace {

namespace fs = std::filesystem;
using namespace rs;

constexpr int kWidth = 520;  // fits the help window's page beside its contents list

bool Save(QImage& image, const fs::path& file) {
    if (image.save(QString::fromStdString(file.string()), "PNG")) return true;
    std::cerr << "make_figures: " << file.string() << " kann nicht geschrieben werden\n";
    return false;
}

QImage NewImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi, the pixel size the drawings are made for
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

// The example design `name` loaded and solved as the window does at start-up, changed first by
// `adjust` where a picture shows an option.
bool DesignPicture(const fs::path& examples, const std::string& name, int height,
                   const fs::path& file,
                   const std::function<void(app::DesignState&)>& adjust = nullptr) {
    const app::IniFile ini(examples / name);
    app::DesignState state;
    app::LoadSettings(ini, state);
    if (adjust) adjust(state);
    app::SolveDesign(state, false);
    if (!app::DesignSolved(state)) {
        std::cerr << "make_figures: " << name << " hat keine Lösung\n";
        return false;
    }
    QImage image = NewImage(kWidth, height);
    QPainter painter(&image);
    render::PaintDesignPicture(painter, QRectF(0, 0, kWidth, height), state);
    painter.end();
    return Save(image, file);
}

bool SignConventionPicture(const fs::path& file) {
    QImage image = NewImage(kWidth, 230);
    QPainter painter(&image);
    {
        render::QtSurface surface(painter, QRectF(0, 0, kWidth, 230));
        drawing::DrawSignConvention(surface);
    }
    painter.end();
    return Save(image, file);
}

// The aperture/field plot with its two strips and the cross-hair of the example design.
bool ApFieldPicture(const fs::path& examples, const std::string& name, const fs::path& file) {
    const app::IniFile ini(examples / name);
    app::DesignState state;
    app::LoadSettings(ini, state);
    app::SolveDesign(state, false);
    const int height = 360;
    QImage image = NewImage(kWidth, height);
    QPainter painter(&image);
    {
        render::QtSurface surface(painter, QRectF(0, 0, kWidth, height));
        const drawing::ApFieldLayout layout = drawing::LayOutApFieldPlot(
            surface, {0, 0, double(kWidth), double(height)}, false, true);
        drawing::ApFieldDrawing options;
        options.colours = true;
        options.design = analysis::DesignPoint(state.paraxial);
        drawing::DrawApFieldPlot(surface, layout, options);
    }
    painter.end();
    return Save(image, file);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<text::Language> language =
        argc == 5 ? text::LanguageFromCode(argv[3]) : std::nullopt;
    if (!language) {
        std::cerr << "Aufruf: make_figures BEISPIELORDNER ZIELORDNER de|en KATALOGORDNER\n";
        return 2;
    }
    QGuiApplication app(argc, argv);
    // After the toolkit's start, which sets the locale from the environment.
    text::UseLanguage(*language, argv[4]);
    const fs::path examples = argv[1];
    const fs::path out = argv[2];
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        std::cerr << "make_figures: " << out.string() << ": " << ec.message() << "\n";
        return 1;
    }
    bool ok = SignConventionPicture(out / "vorzeichen.png");
    ok = DesignPicture(examples, "relay-1to1.ini", 220, out / "relais.png") && ok;
    ok = DesignPicture(examples, "relay-1to1.ini", 220, out / "relais-punkte.png",
                       [](app::DesignState& s) {
                           s.window.drawPoints = true;
                           s.window.drawHaltingRay = true;
                       }) &&
         ok;
    ok = DesignPicture(examples, "object-at-infinity.ini", 240, out / "unendlich.png") && ok;
    ok = DesignPicture(examples, "concave-mirror.ini", 260, out / "spiegel.png") && ok;
    ok = DesignPicture(examples, "hene-focus-100mm.ini", 260, out / "gaussstrahl.png") && ok;
    ok = DesignPicture(examples, "hene-focus-100mm.ini", 260, out / "gaussstrahl-m2.png",
                       [](app::DesignState& s) {
                           s.beam.extrasOptions.mFactorUse = true;
                           s.beam.extrasOptions.mFactor = 2.0;
                           s.beam.extrasOptions.detectorOn = true;
                           s.beam.extrasOptions.detectorDistance = 150.0;
                       }) &&
         ok;
    ok = DesignPicture(examples, "diode-circularised.ini", 300, out / "diode.png") && ok;
    ok = ApFieldPicture(examples, "camera-50mm-f4-1m.ini", out / "systeme.png") && ok;
    return ok ? 0 : 1;
}
