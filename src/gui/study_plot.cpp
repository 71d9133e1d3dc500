#include "gui/study_plot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/ap_field_window.h"
#include "gui/qt_text.h"
#include "render/qt_surface.h"
#include "render/report_page.h"
#include "ui/placement.h"
#include "ui/study.h"

namespace rs::gui {
namespace {

// The study's table as saved: as many rows as a plot has points.
constexpr std::int64_t kCsvSteps = ui::kStudyPoints;
// Pictures saved from the window.
constexpr int kPictureWidth = 1200;
constexpr int kPictureHeight = 500;

}  // namespace

bool WriteStudyPicture(const QString& file, const drawing::StudyPlotData& data, int width,
                       int height, bool svg) {
    if (svg) {
        QSvgGenerator generator;
        generator.setFileName(file);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        generator.setTitle(QTr("Raysketcher – Studie"));
        QPainter painter;
        if (!painter.begin(&generator)) return false;
        render::PaintStudyPicture(painter, QRectF(0, 0, width, height), data);
        return painter.end();
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render::PaintStudyPicture(painter, QRectF(0, 0, width, height), data);
    }
    return image.save(file, "PNG");
}

// --- The plot ------------------------------------------------------------------------------

StudyPlotWidget::StudyPlotWidget(const ui::MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
}

void StudyPlotWidget::Invalidate() {
    data_.reset();
    frame_.reset();
    update();
}

const drawing::StudyPlotData& StudyPlotWidget::Data() {
    if (!data_) {
        const ui::WindowState& state = window_.State();
        data_ = ui::ComputeStudy(state.design, ui::kStudyPoints,
                                 state.referenceShown ? &*state.referenceShown : nullptr);
    }
    return *data_;
}

const drawing::PlotFrame& StudyPlotWidget::Frame() {
    if (!frame_) {
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainter painter(&probe);
        const render::QtSurface surface(painter, QRectF(rect()));
        frame_ = drawing::LayOutStudyPlot(surface, surface.Scale(), Data());
    }
    return *frame_;
}

void StudyPlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    frame_.reset();
}

void StudyPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    {
        const drawing::PlotFrame& frame = Frame();
        render::QtSurface surface(painter, QRectF(rect()));
        drawing::DrawStudyPlot(surface, frame, Data());
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void StudyPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!hover_) return;
    const auto at = ui::StudyHoverAt(Frame(), Data(), event->position().x(), event->position().y());
    hover_(at ? at->readOut : std::string());
}

void StudyPlotWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (hover_) hover_({});
}

void StudyPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !click_) return;
    const auto at = ui::StudyHoverAt(Frame(), Data(), event->position().x(), event->position().y());
    if (at) click_(at->value);
}

// --- The panel -----------------------------------------------------------------------------

StudyPanel::StudyPanel(ui::MainWindow& logic, Act act, std::function<void()> openWindow,
                       QWidget* parent)
    : QWidget(parent),
      logic_(logic),
      act_(std::move(act)),
      parameter_(new QComboBox),
      from_(new QLineEdit),
      to_(new QLineEdit),
      unit_(new QLabel),
      log_(new QCheckBox(QTr("log."))),
      quantity_(new QComboBox),
      quantity2_(new QComboBox),
      plot_(new StudyPlotWidget(logic)),
      readOut_(new QLabel) {
    parameter_->setObjectName("cmbStudyParam");
    parameter_->setToolTip(QTr("Der Parameter, der über den Bereich läuft"));
    from_->setObjectName("txtStudyFrom");
    from_->setToolTip(QTr("Anfang des Bereichs"));
    to_->setObjectName("txtStudyTo");
    to_->setToolTip(QTr("Ende des Bereichs"));
    log_->setObjectName("chkStudyLog");
    log_->setToolTip(QTr("Logarithmische Achse (bei mehr als zwei Dekaden ohne Nulldurchgang)"));
    quantity_->setObjectName("cmbStudyY");
    quantity_->setToolTip(QTr("Die Größe an der linken Achse"));
    quantity2_->setObjectName("cmbStudyY2");
    quantity2_->setToolTip(QTr("Eine zweite Größe an der rechten Achse"));
    plot_->setObjectName("picStudyPlot");
    readOut_->setObjectName("lblStudyReadOut");
    readOut_->setTextFormat(Qt::PlainText);
    readOut_->setFixedHeight(readOut_->fontMetrics().height() + 2);
    // Narrow enough for the extras beside the results: the read-out may be cut, the lists
    // show their entries' beginnings.
    readOut_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    for (QLineEdit* box : {from_, to_}) box->setFixedWidth(70);
    for (QComboBox* combo : {parameter_, quantity_, quantity2_}) {
        combo->setMinimumContentsLength(8);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(6);
    choices->setVerticalSpacing(2);
    choices->addWidget(new QLabel("x:"), 0, 0);
    choices->addWidget(parameter_, 0, 1);
    auto* range = new QHBoxLayout;
    range->addWidget(from_);
    range->addWidget(new QLabel(QTr("bis")));
    range->addWidget(to_);
    range->addWidget(unit_);
    range->addWidget(log_);
    range->addStretch(1);
    choices->addLayout(range, 1, 1);
    choices->addWidget(new QLabel("y:"), 2, 0);
    auto* both = new QHBoxLayout;
    both->addWidget(quantity_, 1);
    both->addWidget(quantity2_, 1);
    choices->addLayout(both, 2, 1);
    choices->setColumnStretch(1, 1);
    column->addLayout(choices);
    column->addWidget(plot_, 1);
    column->addWidget(readOut_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    if (openWindow) {
        auto* window = new QToolButton;
        window->setText(QTr("&Fenster…"));
        window->setObjectName("comStudyWindow");
        window->setToolTip(QTr("Die Studie in einem eigenen Fenster"));
        connect(window, &QToolButton::clicked, this, [openWindow] { openWindow(); });
        bottom->addWidget(window);
    }
    for (const char* kind : {"CSV", "PNG", "SVG"}) {
        auto* button = new QToolButton;
        button->setText(QString(kind) + "…");
        button->setObjectName(QString("comStudy") + kind);
        button->setToolTip(QTr("Die Studie als %1 speichern").arg(kind));
        connect(button, &QToolButton::clicked, this, [this, kind] { Export(kind); });
        bottom->addWidget(button);
    }
    column->addLayout(bottom);

    const auto run = [this](std::function<void()> handler) { act_(handler); };
    connect(parameter_, &QComboBox::activated, this,
            [this, run](int entry) { run([&] { ui::ChooseStudyParameter(logic_, entry); }); });
    connect(quantity_, &QComboBox::activated, this, [this, run](int entry) {
        run([&] { ui::ChooseStudyQuantity(logic_, false, entry); });
    });
    // The second list begins with "keine".
    connect(quantity2_, &QComboBox::activated, this, [this, run](int entry) {
        run([&] { ui::ChooseStudyQuantity(logic_, true, entry - 1); });
    });
    connect(from_, &QLineEdit::editingFinished, this, [this, run] {
        run([&] { ui::ApplyStudyRange(logic_, false, ToStd(from_->text())); });
    });
    connect(to_, &QLineEdit::editingFinished, this,
            [this, run] { run([&] { ui::ApplyStudyRange(logic_, true, ToStd(to_->text())); }); });
    connect(log_, &QCheckBox::clicked, this,
            [this, run](bool on) { run([&] { ui::SetStudyLogarithmic(logic_, on); }); });
    plot_->OnHover([this](const std::string& text) { readOut_->setText(ToQ(text)); });
    plot_->OnClick([this, run](double value) { run([&] { logic_.ApplyStudyValue(value); }); });
    Refresh();
}

void StudyPanel::Refresh() {
    const ui::StudyView v = ui::StudyViewOf(logic_.State().design);
    const auto fill = [](QComboBox* combo, const std::vector<std::string>& entries,
                         const QString& first, int current) {
        const QSignalBlocker block(combo);
        QStringList items;
        if (!first.isEmpty()) items << first;
        for (const std::string& e : entries) items << ToQ(e);
        QStringList now;
        for (int i = 0; i < combo->count(); ++i) now << combo->itemText(i);
        if (now != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(current);
    };
    fill(parameter_, v.parameters, {}, v.parameter);
    fill(quantity_, v.quantities, {}, v.quantity);
    fill(quantity2_, v.quantities, QTr("keine"), v.quantity2 + 1);
    for (const auto& [box, text] : {std::pair{from_, v.fromText}, {to_, v.toText}}) {
        const QSignalBlocker block(box);
        if (!box->hasFocus() || !box->isModified()) box->setText(ToQ(text));
    }
    unit_->setText(ToQ(v.unit));
    {
        const QSignalBlocker block(log_);
        log_->setEnabled(v.logOffered);
        log_->setChecked(v.logarithmic);
    }
    plot_->Invalidate();
}

void StudyPanel::Export(const char* kind) {
    const QString suffix = QString(kind).toLower();
    const QString file = QFileDialog::getSaveFileName(
        this, QTr("Studie als %1 speichern").arg(kind), QTr("Studie") + "." + suffix,
        QString("%1 (*.%2)").arg(kind, suffix));
    if (file.isEmpty()) return;
    bool written = false;
    if (suffix == "csv") {
        const std::string csv = ui::StudyCsv(logic_.State().design, kCsvSteps);
        QSaveFile out(file);
        written = out.open(QIODevice::WriteOnly) &&
                  out.write(csv.data(), static_cast<qint64>(csv.size())) ==
                      static_cast<qint64>(csv.size()) &&
                  out.commit();
    } else {
        written =
            WriteStudyPicture(file, plot_->Data(), kPictureWidth, kPictureHeight, suffix == "svg");
    }
    if (!written) readOut_->setText(QTr("Die Datei konnte nicht geschrieben werden: %1").arg(file));
}

void WriteView(StudyPanel& panel, const ui::ControlView&, Written&) {
    panel.Refresh();
}

// --- The window ----------------------------------------------------------------------------

FrmStudy::FrmStudy(ui::MainWindow& logic, app::UserSettingsStore& store, StudyPanel::Act act,
                   QWidget* parent)
    : QDialog(parent), store_(store), panel_(new StudyPanel(logic, std::move(act), {})) {
    setObjectName("frmStudy");
    setWindowTitle(QTr("Studie"));
    panel_->setObjectName("picStudyLarge");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(panel_);
}

void FrmStudy::Refresh() {
    panel_->Refresh();
}

void FrmStudy::Open() {
    if (!isVisible()) {
        PlaceAsKept(*this, store_, ui::kStudyWindowSection);
        Refresh();
    }
    show();
    raise();
    activateWindow();
}

void FrmStudy::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    KeepPlace(*this, *event, store_, ui::kStudyWindowSection);
}

}  // namespace rs::gui
