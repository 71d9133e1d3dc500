#include "gui/main_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/presentation.h"
#include "app/settings.h"
#include "gui/about_window.h"
#include "gui/ap_field_window.h"
#include "gui/drawing_area.h"
#include "gui/fnumber_dialog.h"
#include "gui/help_window.h"
#include "gui/history_panel.h"
#include "gui/lens_grid.h"
#include "gui/panel_context.h"
#include "gui/panels.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/study_plot.h"
#include "gui/symbols_form.h"
#include "gui/units_form.h"
#include "gui/wavelength_picker.h"
#include "gui/wheel_guard.h"
#include "render/report_page.h"
#include "text/number_text.h"
#include "ui/placement.h"
#include "ui/study.h"

namespace rs::gui {
namespace {

// The result list and the extras of the mode: side by side while the row is wide enough for the
// list and the extras, one above the other below that. Its least width is that of the column,
// whichever way it stands, so the arrangement never widens the window.
class ResultsRow final : public QWidget {
public:
    explicit ResultsRow(std::initializer_list<QWidget*> parts)
        : parts_(parts), row_(new QBoxLayout(QBoxLayout::LeftToRight, this)) {
        row_->setContentsMargins(0, 0, 0, 0);
        row_->setSpacing(8);
        for (QWidget* part : parts_) row_->addWidget(part, part == parts_.front() ? 0 : 1);
    }

    QSize minimumSizeHint() const override {
        int width = 0, height = 0, stacked = 0;
        for (QWidget* part : parts_) {
            if (part->isHidden()) continue;
            const QSize least = part->minimumSizeHint();
            width = std::max(width, least.width());
            height = std::max(height, least.height());
            stacked += least.height() + (stacked > 0 ? row_->spacing() : 0);
        }
        return {width, Across() ? height : stacked};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        Arrange(event->size().width());
        QWidget::resizeEvent(event);
    }
    bool event(QEvent* event) override {
        // An extras panel shown or hidden.
        if (event->type() == QEvent::LayoutRequest) Arrange(width());
        return QWidget::event(event);
    }

private:
    bool Across() const { return row_->direction() == QBoxLayout::LeftToRight; }

    void Arrange(int width) {
        int needed = 0;
        for (QWidget* part : parts_) {
            if (part->isHidden()) continue;
            // The list as wide as its texts; the extras at least as wide as they must be.
            const int partWidth = part == parts_.front() ? std::max(part->sizeHint().width(),
                                                                    part->minimumSizeHint().width())
                                                         : part->minimumSizeHint().width();
            needed += partWidth + (needed > 0 ? row_->spacing() : 0);
        }
        // Standing one above the other, the row turns only with some room to spare, so a value
        // growing by a digit while dragging does not turn it back and forth.
        if (!Across()) needed += 6 * fontMetrics().averageCharWidth();
        const auto direction = width >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
        if (row_->direction() != direction) {
            row_->setDirection(direction);
            // Across, the list keeps the width of its texts and the extras take the rest; one
            // above the other, they share the height.
            row_->setStretch(0, direction == QBoxLayout::LeftToRight ? 0 : 1);
            updateGeometry();
        }
    }

    std::vector<QWidget*> parts_;
    QBoxLayout* row_;
};

// F1 in `window` (and its children) runs `open`.
void AddHelpKey(QWidget* window, const std::function<void()>& open) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, open);
}

// F1 in a modal dialog: the help as a window of the dialog's own, which can be used while the
// dialog waits and goes with it.
void AddDialogHelpKey(QDialog& dialog, HelpWindow::Page page) {
    AddHelpKey(&dialog, [&dialog, page] {
        auto* help = dialog.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help) help = new HelpWindow(&dialog);
        help->ShowPage(page);
    });
}

}  // namespace

FrmRaysketch::FrmRaysketch(ui::Dialogs& dialogs, app::IniFile& settings,
                           app::UserSettingsStore& userStore, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      settings_(settings),
      userStore_(userStore),
      logic_(dialogs, settings) {
    setObjectName("frmRaysketch");
    const PanelContext ctx{
        controls_,
        logic_,
        &handlers_,
        [this](const std::function<void()>& handler) { Act(handler); },
        {[this] { OpenUnits(); }, [this] { OpenSymbols(); }, [this] { PrintReport(); },
         [this] { ShowHelp(false); }, [this] { ShowAbout(); }, [this] { close(); },
         [this] { OpenApFieldPlot(); }, [this] { ChooseStandardFNumber(); },
         [this] { OpenStudy(); }}};

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);
    const SettingsColumn left = BuildSettingsColumn(ctx);
    columns->addLayout(left.column, 0);
    columns->addWidget(BuildOutputColumn(ctx), 1);

    setCentralWidget(central);
    // The captions arrive with the first view.
    Render();
    KeepRoomForCaptions(left.buttons);
    AddCommandKeys(this, left.buttons);
    // A tab clicked takes the focus, so F1 opens the page of the tab the user is looking at.
    for (QTabWidget* tabs : findChildren<QTabWidget*>()) {
        tabs->tabBar()->setFocusPolicy(Qt::StrongFocus);
    }
    WheelGuard::InstallOnce();
    // One least size for every design and mode, below the default size.
    setMinimumSize(kMinimumSize);
    AddHelpKey(this, [this] {
        ShowHelpPage(HelpPageFor(QApplication::focusWidget(), logic_.State().design.beam.beamMode));
    });
}

FrmRaysketch::SettingsColumn FrmRaysketch::BuildSettingsColumn(const PanelContext& ctx) {
    // Everything the user sets. The pages scroll when the window is low; the column is as wide
    // as the widest page needs.
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    auto* tabs = controls_.Make<QTabWidget>("tabOptions");
    tabs->addTab(Scrolled(BuildParamsTab(ctx)), QString());
    tabs->addTab(Scrolled(BuildSlidersTab(ctx)), QString());
    tabs->addTab(Scrolled(BuildAdvancedTab(ctx)), QString());
    tabs->addTab(BuildHistoryPage(ctx), QString());
    AddHistoryKeys(this, ctx);
    // Four captions outgrow a narrow column: shortened there rather than scrolled out of sight.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideRight);
    tabs->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    left->addWidget(tabs, 1);
    left->addWidget(BuildModeBox(ctx));
    QWidget* buttons = BuildButtons(ctx);
    left->addWidget(buttons);
    return {left, buttons};
}

QSplitter* FrmRaysketch::BuildOutputColumn(const PanelContext& ctx) {
    // The drawing above, the results and the extras below it.
    drawing_ = new DrawingArea(logic_);
    connect(drawing_, &DrawingArea::designChanged, &handlers_, [this] { Render(); });
    controls_.Bind<QWidget>(drawing_);
    controls_.Bind(drawing_->VirtualImageLabel());
    controls_.Bind(drawing_->InvalidCalcsLabel());

    lower_ = new ResultsRow({BuildResults(ctx), BuildExtraInfo(ctx), BuildExtraInfoGB(ctx)});
    // The wavelength button opens a window of the window's own, beside the button.
    ctx.OnPressed(qobject_cast<QAbstractButton*>(controls_.Widget("comGBWavelen")),
                  [this] { PickWavelength(); });

    auto* picture = new QWidget;
    auto* pictureColumn = new QVBoxLayout(picture);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    pictureColumn->setSpacing(2);
    pictureColumn->addWidget(drawing_, 1);
    pictureColumn->addWidget(drawing_->HoverLabel());

    split_ = new QSplitter(Qt::Vertical);
    split_->setObjectName("splDrawing");
    split_->setChildrenCollapsible(false);
    split_->addWidget(picture);
    split_->addWidget(lower_);
    // The height the window gains goes to the picture; how the height is shared at first is
    // decided once the window has its size.
    split_->setStretchFactor(0, 1);
    split_->setStretchFactor(1, 0);
    connect(split_, &QSplitter::splitterMoved, this, [this] { KeepResultsShare(); });
    return split_;
}

// --- Rendering ----------------------------------------------------------------------------------

void FrmRaysketch::Act(const std::function<void()>& handler) {
    if (!logic_.State().machine.IsIdle()) return;
    handler();
    Render();
}

void FrmRaysketch::Render() {
    const ui::WindowView view = ui::BuildView(logic_.State());
    const QString title = ToQ(view.title);
    if (windowTitle() != title) setWindowTitle(title);
    controls_.Render(view);
    drawing_->HoverLabel()->setVisible(logic_.State().design.beam.beamMode);
    drawing_->update();
    if (apFieldPlot_) apFieldPlot_->Refresh();
    if (study_) study_->Refresh();
}

QWidget* FrmRaysketch::Control(std::string_view name) const {
    return controls_.Widget(name);
}

std::vector<std::string> FrmRaysketch::ControlNames() const {
    return controls_.Names();
}

// --- Start-up, placement, shutdown --------------------------------------------------------------

void FrmRaysketch::Startup() {
    logic_.Startup();
    Render();
    RestorePlacement();
}

namespace {

struct ScreenFrame {
    QRect area;  // usable screen area in pixels
    double twipsPerPixel = 15.0;
};

ScreenFrame FrameOf(const QWidget& w) {
    ScreenFrame f;
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        f.area = QRect(0, 0, 1280, 800);
        return f;
    }
    f.area = screen->availableGeometry();
    const double dpi = screen->logicalDotsPerInch();
    if (dpi > 0) f.twipsPerPixel = 1440.0 / dpi;
    return f;
}

}  // namespace

void FrmRaysketch::RestorePlacement() {
    const ScreenFrame f = FrameOf(*this);
    const double tpp = f.twipsPerPixel;
    const QSize least = minimumSize();
    const ui::WindowRect r =
        ui::MainWindowPlacement(settings_, least.width() * tpp, least.height() * tpp,
                                f.area.width() * tpp, f.area.height() * tpp);
    if (isMaximized()) return;
    // The core keeps the placement on the screen; the cast is guarded all the same, since a
    // double beyond int (or a NaN) would make it undefined.
    const auto pixels = [tpp](double twips) {
        const double v = twips / tpp;
        return v > -1e6 && v < 1e6 ? static_cast<int>(v) : 0;
    };
    setGeometry(f.area.x() + pixels(r.left), f.area.y() + pixels(r.top), pixels(r.width),
                pixels(r.height));
}

ui::WindowRect FrmRaysketch::CurrentPlacement() const {
    const ScreenFrame f = FrameOf(*this);
    const double tpp = f.twipsPerPixel;
    const QRect g = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    return {(g.y() - f.area.y()) * tpp, (g.x() - f.area.x()) * tpp, g.height() * tpp,
            g.width() * tpp};
}

void FrmRaysketch::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!firstShow_) return;
    firstShow_ = false;
    ShareHeight();
    emit Shown();
    if (newFeatureNote_ && ui::MainWindow::TakeNewFeatureNote(userStore_)) {
        QTimer::singleShot(0, this, [this] { ShowHelp(true); });
    }
}

namespace {

// Where the user left the divider between the picture and the results: the results' share of
// the height in thousandths, kept per user.
constexpr const char* kLayoutSection = "MainWindow";
constexpr const char* kResultsShareKey = "ResultsShare";

std::optional<double> StoredResultsShare(const app::UserSettingsStore& store) {
    const auto perMille = text::ParseTypedNumber(store.Get(kLayoutSection, kResultsShareKey, ""));
    if (!perMille || !(*perMille > 0.0 && *perMille < 1000.0)) return std::nullopt;
    return *perMille / 1000.0;
}

}  // namespace

void FrmRaysketch::ShareHeight() {
    if (QLayout* layout = centralWidget()->layout()) layout->activate();
    const int total = split_->height() - split_->handleWidth();
    // The whole result list where the picture keeps two fifths of the height at least; a longer
    // list scrolls. A share the user chose before wins.
    int lower = std::min(std::max(lower_->sizeHint().height(), lower_->minimumSizeHint().height()),
                         total * 60 / 100);
    if (const auto share = StoredResultsShare(userStore_)) {
        lower = static_cast<int>(*share * total);
    }
    const int least = lower_->minimumSizeHint().height();
    const int most = std::max(least, total - drawing_->minimumSizeHint().height());
    lower = std::clamp(lower, least, most);
    split_->setSizes({total - lower, lower});
}

void FrmRaysketch::KeepResultsShare() {
    const QList<int> sizes = split_->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0) return;
    userStore_.Save(kLayoutSection, kResultsShareKey,
                    std::to_string(static_cast<long long>(sizes.value(1)) * 1000 / total));
}

void FrmRaysketch::closeEvent(QCloseEvent* event) {
    // Never in the middle of a handler or a drag.
    if (!logic_.State().machine.IsIdle()) {
        event->ignore();
        return;
    }
    const ui::CloseDecision decision = logic_.RequestClose(CurrentPlacement());
    Render();
    if (decision == ui::CloseDecision::Stay) {
        event->ignore();
        return;
    }
    if (help_) help_->close();
    if (apFieldPlot_) apFieldPlot_->close();  // stores its place
    if (study_) study_->close();
    event->accept();
}

// --- Dialogs and windows ------------------------------------------------------------------------

void FrmRaysketch::OpenUnits() {
    FrmUnits dialog(logic_.State().design.units, this);
    AddDialogHelpKey(dialog, HelpWindow::Page::Units);
    if (dialog.Display()) logic_.ApplyUnits(dialog.Model().Working());
}

void FrmRaysketch::OpenSymbols() {
    FrmSymbols dialog(settings_, dialogs_, this);
    AddDialogHelpKey(dialog, HelpWindow::Page::Units);
    if (dialog.Display()) logic_.ReloadSymbols();
}

void FrmRaysketch::OpenApFieldPlot() {
    if (!apFieldPlot_) {
        apFieldPlot_ = new FrmApFldPlot(
            logic_, userStore_, [this](const std::function<void()>& handler) { Act(handler); },
            this);
        AddHelpKey(apFieldPlot_, [this] { ShowHelpPage(HelpWindow::Page::Plot); });
    }
    apFieldPlot_->Open();
}

void FrmRaysketch::OpenStudy() {
    if (!study_) {
        study_ = new FrmStudy(
            logic_, userStore_, [this](const std::function<void()>& handler) { Act(handler); },
            this);
    }
    study_->Open();
}

void FrmRaysketch::ChooseStandardFNumber() {
    FrmApFNosStandard picker(this);
    ui::ChooseStandardFNumber(logic_, picker, dialogs_, userStore_);
}

void FrmRaysketch::PickWavelength() {
    const std::optional<float> nm =
        gui::PickWavelength(Control("comGBWavelen"), userStore_, dialogs_, settings_.Path());
    if (!nm) return;
    auto* box = qobject_cast<QLineEdit*>(Control("txtGBWavelen"));
    box->setText(ToQ(wavelengths::BoxText(*nm)));
    logic_.ApplyBeamWavelength(ToStd(box->text()));
}

void FrmRaysketch::PrintReport() {
    // The logic refuses an incomplete design with its message before any printer is chosen.
    const QString dateText = render::LongGermanDate(QDate::currentDate());
    auto page = logic_.PrintPage(ToStd(dateText));
    if (!page) return;
    // The study tab shown: the page carries its plot, with its choices named, for the picture.
    std::optional<drawing::StudyPlotData> study;
    const bool beam = logic_.State().design.beam.beamMode;
    if (const auto* tabs =
            qobject_cast<QTabWidget*>(Control(beam ? "tabExtraInfoGB" : "tabExtraInfo"));
        tabs && tabs->currentWidget() && tabs->currentWidget()->findChild<StudyPanel*>()) {
        study = ui::AddStudyToReport(*page, logic_.State().design);
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Drucken");
    if (dialog.exec() != QDialog::Accepted) return;
    if (!render::PaintDesignReport(printer, *page, logic_.State().design, dateText,
                                   study ? &*study : nullptr)) {
        dialogs_.Message("Der Drucker konnte nicht benutzt werden.", ui::Icon::Exclamation);
    }
}

void FrmRaysketch::ShowHelp(bool newFeatures) {
    ShowHelpPage(newFeatures ? HelpWindow::Page::NewFeatures : HelpWindow::Page::Contents);
}

void FrmRaysketch::ShowHelpPage(HelpWindow::Page page) {
    if (!help_) help_ = new HelpWindow(this);
    help_->ShowPage(page);
}

void FrmRaysketch::ShowAbout() {
    if (!about_) {
        AboutFacts facts;
        facts.settingsFile = settings_.Path();
        facts.settingsNote = app::SettingsLocationNote(settings_.Path());
        facts.programDir = QCoreApplication::applicationDirPath().toStdString();
        const auto* grid = qobject_cast<const LensGridTable*>(Control("ssGBExtraLenses"));
        if (grid == nullptr || !grid->Source()) {
            facts.catalogue = "nicht eingelesen";
        } else if (const auto& location = grid->Source()->location; location.dir) {
            facts.catalogue = location.dir->string();
        } else {
            facts.catalogue = analysis::CatalogueNotFoundMessage(location);
        }
        about_ = new AboutWindow(std::move(facts), OpenWithDesktop, this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void SetLensCatalogue(FrmRaysketch& window, LensCatalogueSource source) {
    for (const LensPageNames& page : {kBeamLensPage, kParaxialLensPage}) {
        if (auto* grid = qobject_cast<LensGridTable*>(window.Control(page.grid))) {
            grid->SetCatalogue(source);
        }
    }
}

}  // namespace rs::gui
