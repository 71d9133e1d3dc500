// The export module (raysketcher-export.so): paints the report and the pictures with the toolkit.
// raysketcher-cli loads it only when a file is asked for, so its text output starts without any
// toolkit library.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "app/ini_file.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "cli/export.h"
#include "cli/export_module.h"
#include "render/report_page.h"
#include "text/language.h"
#include "text/tr.h"
#include "ui/study.h"

namespace rs::cli {
namespace {

// This module holds a copy of the core of its own: it takes the language the program chose
// for this run (which UseLanguage left in LANGUAGE, with the catalogue bound for the whole
// process), also after the toolkit's setlocale(LC_ALL, "").
void FollowProgramLanguage() {
    text::UseLanguage(
        text::LanguageOfEnvironment([](const char* name) { return std::getenv(name); }), {});
}

// The toolkit for painting without a window. An application object that exists already (a
// test's) is used as it is.
class Toolkit {
public:
    Toolkit() = default;
    ~Toolkit() {
        app_.reset();
        if (installed_) qInstallMessageHandler(previousHandler_);
    }
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    // False when painting is impossible: another kind of application object exists.
    bool Start() {
        if (QCoreApplication::instance() != nullptr) {
            return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        }
        // Exports must work on machines without a display; a platform the user names wins.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The toolkit's notes about the session (no runtime folder, no input devices) mean
        // nothing to someone exporting a file; this program reports its own failures.
        previousHandler_ = qInstallMessageHandler(&OnlySevere);
        installed_ = true;
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
        FollowProgramLanguage();
        return true;
    }

private:
    static void OnlySevere(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "raysketcher-cli: %s\n", message.toLocal8Bit().constData());
        }
    }

    // QGuiApplication keeps references to both for its whole life.
    int argc_ = 1;
    char name_[16] = "raysketcher-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
    QtMessageHandler previousHandler_ = nullptr;
    bool installed_ = false;
};

bool SaveBytes(const std::filesystem::path& file, const QByteArray& bytes, std::ostream& err) {
    const auto problem = WriteOutputFile(
        file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (problem) err << "raysketcher-cli: " << *problem << "\n";
    return !problem;
}

// What a picture shows: the design's drawing, or its study.
using PicturePainter = std::function<void(QPainter&, const QRectF&)>;

PicturePainter PictureOf(const app::DesignState& state, std::int64_t studyPoints) {
    if (studyPoints <= 0) {
        return [&state](QPainter& painter, const QRectF& area) {
            render::PaintDesignPicture(painter, area, state);
        };
    }
    // Computed once for both files, through the window's own study.
    auto data =
        std::make_shared<const drawing::StudyPlotData>(ui::ComputeStudy(state, studyPoints));
    return [data](QPainter& painter, const QRectF& area) {
        render::PaintStudyPicture(painter, area, *data);
    };
}

bool WritePng(const std::filesystem::path& file, const PicturePainter& picture, PictureSize size,
              std::ostream& err) {
    QImage image(size.width, size.height, QImage::Format_RGB32);
    if (image.isNull()) {
        err << "raysketcher-cli: "
            << text::TrFormat("Für ein Bild von %1x%2 Pixeln reicht der Speicher nicht.",
                              {std::to_string(size.width), std::to_string(size.height)})
            << "\n";
        return false;
    }
    image.setDotsPerMeterX(3780);  // 96 dpi, the pixel size the drawing is made for
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    picture(painter, QRectF(0, 0, size.width, size.height));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        err << "raysketcher-cli: "
            << text::TrFormat("Das Bild für \"%1\" konnte nicht erzeugt werden.", {file.string()})
            << "\n";
        return false;
    }
    return SaveBytes(file, bytes, err);
}

bool WriteSvg(const std::filesystem::path& file, const PicturePainter& picture, PictureSize size,
              std::ostream& err) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(size.width, size.height));
    svg.setViewBox(QRect(0, 0, size.width, size.height));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Raysketcher"));
    svg.setDescription(QStringLiteral("Zeichnung des Systems"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        err << "raysketcher-cli: "
            << text::TrFormat("Die SVG-Datei \"%1\" konnte nicht erzeugt werden.", {file.string()})
            << "\n";
        return false;
    }
    picture(painter, QRectF(0, 0, size.width, size.height));
    painter.end();
    return SaveBytes(file, bytes, err);
}

ExportResult WritePdf(const std::filesystem::path& file, const app::DesignState& state,
                      std::ostream& err) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString dateText = render::LongDate(QDate::currentDate());
    const engine::ReportResult report = app::BuildReport(state, dateText.toStdString());
    if (report.refusal) {
        err << "raysketcher-cli: " << *report.refusal << "\n";
        return ExportResult::Refused;
    }
    bool painted = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QStringLiteral("Raysketcher – Bericht"));
        pdf.setCreator(QStringLiteral("Raysketcher %1").arg(QString::fromUtf8(app::Version())));
        painted = render::PaintDesignReport(pdf, report.page, state, dateText);
    }  // the writer finishes the document when it goes
    if (!painted) {
        err << "raysketcher-cli: "
            << text::TrFormat("Der Bericht \"%1\" konnte nicht erzeugt werden.", {file.string()})
            << "\n";
        return ExportResult::Failed;
    }
    return SaveBytes(file, bytes, err) ? ExportResult::Written : ExportResult::Failed;
}

ExportResult WriteDesignExports(const app::DesignState& state, const ExportRequest& request,
                                std::ostream& err) {
    Toolkit toolkit;
    if (!toolkit.Start()) {
        err << "raysketcher-cli: "
            << text::Tr("Ohne grafische Anwendung kann nichts gezeichnet werden.") << "\n";
        return ExportResult::Failed;
    }
    bool failed = false;
    bool refused = false;
    if (request.png || request.svg) {
        const PicturePainter picture = PictureOf(state, request.studyPoints);
        if (request.png && !WritePng(*request.png, picture, request.size, err)) failed = true;
        if (request.svg && !WriteSvg(*request.svg, picture, request.size, err)) failed = true;
    }
    if (request.pdf) {
        const ExportResult pdf = WritePdf(*request.pdf, state, err);
        failed = failed || pdf == ExportResult::Failed;
        refused = pdf == ExportResult::Refused;
    }
    if (failed) return ExportResult::Failed;
    return refused ? ExportResult::Refused : ExportResult::Written;
}

ExportRequest RequestOf(const RaysketcherExportJob& job) {
    ExportRequest request;
    if (job.pdf) request.pdf = job.pdf;
    if (job.svg) request.svg = job.svg;
    if (job.png) request.png = job.png;
    request.size = {job.width, job.height};
    request.studyPoints = job.studyPoints;
    return request;
}

int RunJob(const RaysketcherExportJob& job, std::ostream& err) {
    // The design as the program loaded it for its text output: the same bytes, the same road.
    const app::IniFile ini = app::IniFile::FromText(
        job.settingsPath, std::string_view(job.settingsText, job.settingsSize));
    app::DesignState state;
    app::LoadSettings(ini, state);
    app::SolveDesign(state, false);
    switch (WriteDesignExports(state, RequestOf(job), err)) {
        case ExportResult::Written:
            return kRaysketcherExportWritten;
        case ExportResult::Refused:
            return kRaysketcherExportRefused;
        case ExportResult::Failed:
            break;
    }
    return kRaysketcherExportFailed;
}

}  // namespace
}  // namespace rs::cli

extern "C" __attribute__((visibility("default"))) int raysketcher_export_v2(
    const RaysketcherExportJob* job) {
    if (job == nullptr || job->abi != RAYSKETCHER_EXPORT_ABI || job->report == nullptr) {
        return kRaysketcherExportFailed;
    }
    std::ostringstream err;
    int status = kRaysketcherExportFailed;
    try {
        rs::cli::FollowProgramLanguage();
        status = rs::cli::RunJob(*job, err);
    } catch (const std::exception& e) {
        err << "raysketcher-cli: " << rs::text::Tr("Die Dateien konnten nicht erzeugt werden: ")
            << e.what() << "\n";
    }
    const std::string text = err.str();
    if (!text.empty()) job->report(job->context, text.data(), text.size());
    return status;
}
