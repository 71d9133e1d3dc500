#include "gui/ap_field_window.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "analysis/lens_ideas.h"
#include "drawing/lens_sketches.h"
#include "gui/ap_field_plot.h"
#include "gui/qt_text.h"
#include "render/qt_surface.h"
#include "text/strings.h"
#include "text/tr.h"
#include "ui/ap_field_view.h"
#include "ui/placement.h"

namespace rs::gui {

// One sample picture: the chosen type as a cross-section or with its rays.
class LensSketchView final : public QWidget {
public:
    explicit LensSketchView(drawing::SketchKind kind) : kind_(kind) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(160, 110);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    void Show(bool mirror, int index) {
        if (mirror == mirror_ && index == index_) return;
        mirror_ = mirror;
        index_ = index;
        update();
    }
    QSize sizeHint() const override { return {360, 150}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        {
            render::QtSurface surface(painter, QRectF(rect()));
            drawing::DrawLensTypeSketch(surface, mirror_, index_, kind_);
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    drawing::SketchKind kind_;
    bool mirror_ = false;
    int index_ = 0;
};

namespace {

// A tab per type of the catalogue, named as the small plot names it, the full names as tip.
QTabBar* SampleTabs(const char* name, bool mirror) {
    auto* tabs = new QTabBar;
    tabs->setObjectName(name);
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(true);
    tabs->setElideMode(Qt::ElideNone);
    for (const analysis::LensClass& type : analysis::LensClasses(mirror)) {
        const int tab = tabs->addTab(ToQ(text::TrimBlanks(text::Tr(type.ShortName(0)))));
        QStringList names;
        for (const std::string& n : type.names) names << ToQ(text::TrimBlanks(text::Tr(n)));
        tabs->setTabToolTip(tab, names.join(" / "));
    }
    return tabs;
}

}  // namespace

FrmApFldPlot::FrmApFldPlot(ui::MainWindow& logic, app::UserSettingsStore& store, Act act,
                           QWidget* parent)
    : QDialog(parent),
      logic_(logic),
      store_(store),
      act_(std::move(act)),
      plot_(new ApFieldPlotWidget(logic, {false, true})),
      lensTabs_(SampleTabs("tabSampleLenses", false)),
      mirrorTabs_(SampleTabs("tabSamplesMirrors", true)),
      lens_(new LensSketchView(drawing::SketchKind::Lens)),
      rays_(new LensSketchView(drawing::SketchKind::Rays)) {
    setObjectName("frmApFldPlot");
    setWindowTitle(QTr("Apertur-/Felddiagramm – Objektivtypen"));
    // The system's small font, which every desktop has; the drawings keep their label font.
    setFont(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont));
    plot_->setObjectName("picApFldLarge");
    lens_->setObjectName("picLens");
    rays_->setObjectName("picLensRays");

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    column->addWidget(plot_, 1);

    auto* hoverRow = new QHBoxLayout;
    hoverRow->setSpacing(12);
    auto* types = new QLabel;
    types->setObjectName("lblApFldLensClass");
    QFont bold = types->font();
    bold.setBold(true);
    types->setFont(bold);
    auto* fNumber = new QLabel;
    fNumber->setObjectName("lblApFldFNosEff");
    auto* readOut = new QLabel;
    readOut->setObjectName("lblApFldReadOut");
    for (QLabel* label : {types, fNumber, readOut}) {
        label->setTextFormat(Qt::PlainText);
        label->setFixedHeight(label->fontMetrics().height() + 2);
    }
    types->setMinimumWidth(types->fontMetrics().horizontalAdvance(
        QTr("Achromatisches Dublet") + QStringLiteral(" | ") + QTr("Optical Disk Objektiv")));
    hoverRow->addWidget(types);
    hoverRow->addWidget(fNumber);
    hoverRow->addWidget(readOut, 1);
    column->addLayout(hoverRow);

    auto* caption = new QLabel(QTr("Beispielsysteme:"));
    caption->setObjectName("lblSamples");
    column->addWidget(caption);
    column->addWidget(lensTabs_);
    column->addWidget(mirrorTabs_);
    auto* pictures = new QHBoxLayout;
    pictures->setSpacing(6);
    pictures->addWidget(lens_);
    pictures->addWidget(rays_);
    column->addLayout(pictures);

    for (QTabBar* tabs : {lensTabs_, mirrorTabs_}) {
        connect(tabs, &QTabBar::currentChanged, this, [this] { ShowSample(); });
    }
    plot_->OnHover([types, fNumber, readOut](const ui::ApFieldHover& hover) {
        types->setText(ToQ(hover.lensTypes));
        fNumber->setText(ToQ(hover.fNumber));
        readOut->setText(ToQ(hover.readOut));
    });
    plot_->OnClick([this](const analysis::PlotPoint& point, const std::vector<int>& classes) {
        // A click into a region shows that type's samples, whether or not the design moves.
        if (!classes.empty()) Samples()->setCurrentIndex(classes.front());
        act_([&] { ui::ApFieldClick(logic_, point); });
        // Once the main window has taken the click, the plot shows where the design went.
        QTimer::singleShot(0, this, [this] { Refresh(); });
    });
    Refresh();
}

QTabBar* FrmApFldPlot::Samples() const {
    return logic_.State().design.paraxial.options.mirrorMode ? mirrorTabs_ : lensTabs_;
}

void FrmApFldPlot::ShowSample() {
    const bool mirror = logic_.State().design.paraxial.options.mirrorMode;
    const int index = std::max(0, Samples()->currentIndex());
    lens_->Show(mirror, index);
    rays_->Show(mirror, index);
}

void FrmApFldPlot::Refresh() {
    plot_->Refresh();
    const bool mirror = logic_.State().design.paraxial.options.mirrorMode;
    lensTabs_->setVisible(!mirror);
    mirrorTabs_->setVisible(mirror);
    ShowSample();
}

void PlaceAsKept(QWidget& window, const app::UserSettingsStore& store, const char* section) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QSize preferred = window.sizeHint();
    const QSize least = window.minimumSizeHint();
    const ui::WindowRect r = ui::PlaceOnScreen(ui::ReadApFieldPlotLocation(store, section),
                                               preferred.width(), preferred.height(), least.width(),
                                               least.height(), area.width(), area.height());
    window.setGeometry(area.x() + qRound(r.left), area.y() + qRound(r.top), qRound(r.width),
                       qRound(r.height));
}

void KeepPlace(const QWidget& window, const QHideEvent& event, app::UserSettingsStore& store,
               const char* section) {
    // A minimised window hides spontaneously; only closing stores the place.
    if (event.spontaneous()) return;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QRect g = window.geometry();
    ui::StoreApFieldPlotLocation(
        store,
        {static_cast<double>(g.y() - area.y()), static_cast<double>(g.x() - area.x()),
         static_cast<double>(g.height()), static_cast<double>(g.width())},
        section);
}

void FrmApFldPlot::Open() {
    if (!isVisible()) {
        PlaceAsKept(*this, store_, ui::kApFieldPlotSection);
        Refresh();
    }
    show();
    raise();
    activateWindow();
}

void FrmApFldPlot::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    KeepPlace(*this, *event, store_, ui::kApFieldPlotSection);
}

}  // namespace rs::gui
