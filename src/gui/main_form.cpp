#include "gui/main_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/presentation.h"
#include "app/settings.h"
#include "gui/drawing_area.h"
#include "gui/help_window.h"
#include "render/report_page.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_text.h"
#include "gui/symbols_form.h"
#include "gui/units_form.h"
#include "ui/extras_panel.h"
#include "ui/placement.h"

namespace rs::gui {
namespace {

// Design captions, replaced at run time by the parameter names with their symbols.
constexpr const char* kParamCaptions[] = {
    "Brennweite: f", "Objektweite: a",  "Bildweite:m'm", "Vergrößerung: m'm", "Objekt-Bildweite: t",
    "Objekthöhe: u", "Objektwinkel: w", "Bildhöhe",      "Bildwinkel"};
constexpr const char* kApertureCaptions[] = {
    "Blendenradius", "Blendenzahl [unendliche Objektweite]",
    "NA' [Numerische Apertur - Objektraum]", "NA' [Numerische Apertur - Bildraum]"};

QString Indexed(const char* base, int index) {
    return QString("%1_%2").arg(base).arg(index);
}

// 0xBBGGRR as the settings and the logic give colours.
QColor FromBgr(unsigned bgr) {
    return QColor(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                  static_cast<int>((bgr >> 16) & 0xFFu));
}

// A list with a few fixed entries is made just tall enough for them.
void FitRows(QListWidget* list, int rows) {
    const int row = list->fontMetrics().height() + 6;
    list->setFixedHeight(rows * row + 2 * list->frameWidth() + 2);
}

QLabel* Caption(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    return label;
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
    setWindowTitle(ToQ(engine::StartupCaption(app::Version())));

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(8, 8, 8, 8);
    columns->setSpacing(10);

    // Left: everything the user sets.
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    auto* tabs = new QTabWidget;
    tabs->setObjectName("tabOptions");
    tabs->addTab(BuildParamsTab(), "&Allgemeine Parameter");
    tabs->addTab(BuildSlidersTab(), "Regler");
    tabs->addTab(BuildAdvancedTab(), "&Erweiterte Optionen");
    tabs->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    // Room for the image-format list's longest usual entry beside the distances.
    tabs->setMinimumWidth(480);
    Register(tabs, Kind::Tabs);
    left->addWidget(tabs, 1);
    left->addWidget(BuildModeBox());
    left->addWidget(BuildButtons());
    columns->addLayout(left, 0);

    // Right: the drawing above, the results and the extras below it.
    drawing_ = new DrawingArea(logic_);
    connect(drawing_, &DrawingArea::designChanged, this, [this] { Render(); });
    Register(drawing_, Kind::Panel);
    Register(drawing_->VirtualImageLabel(), Kind::Label);
    Register(drawing_->InvalidCalcsLabel(), Kind::Label);

    auto* lower = new QWidget;
    auto* lowerRow = new QHBoxLayout(lower);
    lowerRow->setContentsMargins(0, 0, 0, 0);
    lowerRow->setSpacing(8);
    lowerRow->addWidget(BuildResults(), 4);
    lowerRow->addWidget(BuildExtraInfo(), 3);
    lowerRow->addWidget(BuildExtraInfoGB(), 3);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName("splDrawing");
    split->setChildrenCollapsible(false);
    split->addWidget(drawing_);
    split->addWidget(lower);
    // Half of the height for the results, so a whole result list fits without scrolling.
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({400, 400});
    columns->addWidget(split, 1);

    setCentralWidget(central);
    Render();
}

FrmRaysketch::~FrmRaysketch() {
    // The widgets die after the logic, in QWidget's destructor; a box losing the focus as the
    // window goes must not reach the logic any more.
    for (auto& [name, entry] : controls_) QObject::disconnect(entry.widget, nullptr, this, nullptr);
}

// --- Widget factories -------------------------------------------------------------------------

void FrmRaysketch::Register(QWidget* widget, Kind kind) {
    Entry e;
    e.widget = widget;
    e.kind = kind;
    controls_[ToStd(widget->objectName())] = std::move(e);
    if (kind == Kind::Line) widget->installEventFilter(this);
}

QCheckBox* FrmRaysketch::MakeCheck(const QString& name, const QString& caption,
                                   const QString& tip) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    if (!tip.isEmpty()) box->setToolTip(tip);
    Register(box, Kind::Check);
    return box;
}

QRadioButton* FrmRaysketch::MakeRadio(const QString& name, const QString& caption) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(name);
    Register(button, Kind::Radio);
    return button;
}

QLineEdit* FrmRaysketch::MakeLine(const QString& name, const QString& tip) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    if (!tip.isEmpty()) box->setToolTip(tip);
    Register(box, Kind::Line);
    return box;
}

QLabel* FrmRaysketch::MakeLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    Register(label, Kind::Label);
    return label;
}

QGroupBox* FrmRaysketch::MakeFrame(const QString& name, const QString& title) {
    auto* frame = new QGroupBox(title);
    frame->setObjectName(name);
    Register(frame, Kind::Frame);
    return frame;
}

QScrollBar* FrmRaysketch::MakeSlider(const QString& name) {
    auto* bar = new QScrollBar(Qt::Horizontal);
    bar->setObjectName(name);
    bar->setRange(ui::kSliderMin, ui::kSliderMax);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    // Taking the focus makes a box still being edited apply its text before the slider moves.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setMinimumWidth(120);
    Register(bar, Kind::Slider);
    return bar;
}

QComboBox* FrmRaysketch::MakeCombo(const QString& name, const QString& tip) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    if (!tip.isEmpty()) combo->setToolTip(tip);
    // Long entries must not widen the whole column: the popup shows them in full.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(16);
    Register(combo, Kind::Combo);
    return combo;
}

QListWidget* FrmRaysketch::MakeList(const QString& name, const QString& tip) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    if (!tip.isEmpty()) list->setToolTip(tip);
    Register(list, Kind::List);
    return list;
}

QPushButton* FrmRaysketch::MakeButton(const QString& name, const QString& caption,
                                      const QString& tip) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (!tip.isEmpty()) button->setToolTip(tip);
    Register(button, Kind::Button);
    return button;
}

QWidget* FrmRaysketch::MakePanel(const QString& name) {
    auto* panel = new QWidget;
    panel->setObjectName(name);
    Register(panel, Kind::Panel);
    return panel;
}

void FrmRaysketch::OnEdited(QLineEdit* box, std::function<void(std::string_view)> apply) {
    connect(box, &QLineEdit::editingFinished, this,
            [this, box, apply = std::move(apply)] { Act([&] { apply(ToStd(box->text())); }); });
}

void FrmRaysketch::OnClicked(QCheckBox* box, std::function<void(bool)> apply) {
    connect(box, &QCheckBox::clicked, this,
            [this, apply = std::move(apply)](bool checked) { Act([&] { apply(checked); }); });
}

QPushButton* FrmRaysketch::UnitsButton(int tab) {
    QPushButton* button = MakeButton(Indexed("comUnits", tab), "Einheiten");
    connect(button, &QPushButton::clicked, this, [this] { Act([this] { OpenUnits(); }); });
    return button;
}

// --- Tabs of the left column --------------------------------------------------------------------

QWidget* FrmRaysketch::BuildParamsTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    // Paraxial frames.
    QGroupBox* conj = MakeFrame("fraOptConj", "&Abstände:");
    auto* conjLayout = new QVBoxLayout(conj);
    conjLayout->setSpacing(2);
    for (int i = 0; i <= 4; ++i) {
        QCheckBox* box = MakeCheck(Indexed("chkVarType", i), kParamCaptions[i]);
        OnClicked(box, [this, i](bool on) { logic_.SetParamChecked(i, on); });
        conjLayout->addWidget(box);
    }
    QCheckBox* infinity = MakeCheck("chkObjAtInfinity", "[Objektweite unendlich]");
    OnClicked(infinity, [this](bool on) { logic_.SetObjectAtInfinity(on); });
    conjLayout->addWidget(infinity);
    conjLayout->addStretch(1);

    QGroupBox* field = MakeFrame("fraOptFld", "Feld:");
    auto* fieldLayout = new QVBoxLayout(field);
    fieldLayout->setSpacing(2);
    for (int i = 5; i <= 8; ++i) {
        QCheckBox* box = MakeCheck(Indexed("chkVarType", i), kParamCaptions[i]);
        OnClicked(box, [this, i](bool on) { logic_.SetParamChecked(i, on); });
        fieldLayout->addWidget(box);
    }
    QComboBox* formats = MakeCombo("cmbImagHeight");
    formats->setMinimumContentsLength(12);
    connect(formats, &QComboBox::activated, this,
            [this](int entry) { Act([&] { logic_.ChooseImageFormat(entry); }); });
    fieldLayout->addWidget(formats);
    fieldLayout->addStretch(1);

    QGroupBox* aperture = MakeFrame("fraOptAp1", "&Apertur [optional]");
    auto* apLayout = new QGridLayout(aperture);
    apLayout->setVerticalSpacing(2);
    for (int i = 0; i <= 3; ++i) {
        QCheckBox* box = MakeCheck(Indexed("chkVarTypeAp", i), kApertureCaptions[i]);
        OnClicked(box, [this, i](bool on) { logic_.SetApertureChecked(i, on); });
        apLayout->addWidget(box, i % 2, i / 2);
    }
    // The aperture value belongs to the paraxial mode: it lives (and hides) with its frame.
    auto* apValue = new QHBoxLayout;
    apValue->setSpacing(8);
    apValue->addWidget(MakeLabel("lblVarTypeAp", "Öffnung"));
    QLineEdit* apBox = MakeLine("txtVarTypeAp_0");
    OnEdited(apBox, [this](std::string_view t) { logic_.ApplyApertureValue(t); });
    apValue->addWidget(apBox, 1);
    apLayout->addLayout(apValue, 2, 0, 1, 2);

    // Beam frames, in the same places (only one mode's frames are ever shown).
    QGroupBox* gbConj = MakeFrame("fraGaussCong", "Optionen für konjugierte Elemente [Gaußstrahl]");
    auto* gbConjLayout = new QGridLayout(gbConj);
    gbConjLayout->setVerticalSpacing(2);
    constexpr const char* kBeamCaptions[] = {"Brennweite: f", "Objektweite: ", "Bildweite: a",
                                             "Vergrößerung", "Verlauf UNTERDRÜCKT"};
    for (int i = 0; i <= 4; ++i) {
        QCheckBox* box = MakeCheck(Indexed("chkVarTypeGB", i), kBeamCaptions[i]);
        OnClicked(box, [this, i](bool on) { logic_.SetBeamChecked(i, on); });
        gbConjLayout->addWidget(box, i % 2, i / 2);
    }
    auto* waveRow = new QHBoxLayout;
    waveRow->setSpacing(6);
    waveRow->addWidget(Caption("Wellenlänge:"));
    QLineEdit* wave = MakeLine("txtGBWavelen");
    wave->setText("632,8nm");
    wave->setMaximumWidth(110);
    OnEdited(wave, [this](std::string_view t) { logic_.ApplyBeamWavelength(t); });
    waveRow->addWidget(wave);
    // The wavelength picker is not there yet; its button stays in place but unusable.
    QPushButton* picker = MakeButton("comGBWavelen", "...", "Wellenlänge aus einer Liste wählen");
    picker->setMaximumWidth(32);
    picker->setEnabled(false);
    waveRow->addWidget(picker);
    waveRow->addStretch(1);
    gbConjLayout->addLayout(waveRow, 3, 0, 1, 2);
    QCheckBox* alt = MakeCheck("chkGaussBeamAltSolution", "Alternativlösung",
                               "Gaußstrahl-Lösung für diese Parameter anzeigen");
    OnClicked(alt, [this](bool) { logic_.ToggleAltSolution(); });
    gbConjLayout->addWidget(alt, 4, 0, 1, 2);

    QGroupBox* gbObj = MakeFrame("fraGaussBeamObj", " Strahl [objektseitig]");
    QGroupBox* gbImg = MakeFrame("fraGaussBeamImg", " Strahl [bildseitig]");
    constexpr const char* kBeamSideCaptions[] = {"Strahltaillenradius [1/e^2]", "Divergenz [halb]",
                                                 "Rayleighlänge"};
    for (int side = 0; side < 2; ++side) {
        auto* layout = new QVBoxLayout(side == 0 ? gbObj : gbImg);
        layout->setSpacing(2);
        for (int k = 0; k < 3; ++k) {
            const int i = 5 + 3 * side + k;
            QCheckBox* box = MakeCheck(Indexed("chkVarTypeGB", i), kBeamSideCaptions[k]);
            OnClicked(box, [this, i](bool on) { logic_.SetBeamChecked(i, on); });
            layout->addWidget(box);
        }
    }
    auto* beamSides = new QHBoxLayout;
    beamSides->addWidget(gbObj);
    beamSides->addWidget(gbImg);

    grid->addWidget(conj, 0, 0);
    grid->addWidget(field, 0, 1);
    // The field frame holds the long format list: it gets what the distances leave.
    conj->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    grid->setColumnStretch(1, 1);
    grid->addWidget(gbConj, 1, 0, 1, 2);
    grid->addLayout(beamSides, 2, 0, 1, 2);
    grid->addWidget(aperture, 4, 0, 1, 2);

    // The value boxes of the chosen parameters.
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    values->setColumnStretch(1, 1);
    constexpr const char* kSlotCaptions[] = {"Conjugate/field I", "Conjugate/field II",
                                             "Conjugate/field III"};
    for (int k = 0; k < ui::kValueSlots; ++k) {
        values->addWidget(MakeLabel(Indexed("lblVarType", k), kSlotCaptions[k]), k, 0);
        QLineEdit* box = MakeLine(Indexed("txtVarType", k));
        OnEdited(box, [this, k](std::string_view t) { logic_.ApplyTypedValue(k, t); });
        values->addWidget(box, k, 1);
    }
    grid->addLayout(values, 3, 0, 1, 2);

    grid->setRowStretch(5, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(UnitsButton(0));
    grid->addLayout(bottom, 6, 0, 1, 2);
    return page;
}

QWidget* FrmRaysketch::BuildSlidersTab() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    QLabel* note = MakeLabel(
        "lblSliders", " Die Regler sind erst nach Eingabe der Allgemeinen Parameter verfügbar! ");
    note->setWordWrap(true);
    column->addWidget(note);

    auto addPanel = [&](const QString& panelName, const QString& label, const QString& low,
                        const QString& slider, const QString& high,
                        const std::function<void(std::string_view)>& applyLow,
                        const std::function<void(int)>& applyPosition,
                        const std::function<void(std::string_view)>& applyHigh) {
        QWidget* panel = MakePanel(panelName);
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(0, 4, 0, 4);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(2);
        QLabel* name = MakeLabel(label, {});
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        grid->addWidget(name, 0, 0, 1, 3);
        QLineEdit* lowBox = MakeLine(low);
        QLineEdit* highBox = MakeLine(high);
        for (QLineEdit* box : {lowBox, highBox}) box->setFixedWidth(120);
        OnEdited(lowBox, applyLow);
        OnEdited(highBox, applyHigh);
        QScrollBar* bar = MakeSlider(slider);
        connect(bar, &QScrollBar::valueChanged, this,
                [this, applyPosition](int position) { Act([&] { applyPosition(position); }); });
        grid->addWidget(lowBox, 1, 0);
        grid->addWidget(bar, 1, 1);
        grid->addWidget(highBox, 1, 2);
        grid->setColumnStretch(1, 1);
        column->addWidget(panel);
    };
    for (int k = 0; k < ui::kValueSlots; ++k) {
        addPanel(
            Indexed("picSlider", k), Indexed("lblSliderVarValue", k), Indexed("txtVarLimLow", k),
            Indexed("hscVarValue", k), Indexed("txtVarLimHi", k),
            [this, k](std::string_view t) { logic_.ApplyLowerLimit(k, t); },
            [this, k](int p) { logic_.ApplyPosition(k, p); },
            [this, k](std::string_view t) { logic_.ApplyUpperLimit(k, t); });
    }
    addPanel(
        "picSliderAp_0", "lblSliderVarValueAp_0", "txtVarLimLowAp_0", "hscVarValueAp_0",
        "txtVarLimHiAp_0", [this](std::string_view t) { logic_.ApplyLowerLimitAp(t); },
        [this](int p) { logic_.ApplyPositionAp(p); },
        [this](std::string_view t) { logic_.ApplyUpperLimitAp(t); });
    column->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(UnitsButton(1));
    column->addLayout(bottom);
    return page;
}

QWidget* FrmRaysketch::BuildAdvancedTab() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    QCheckBox* on = MakeCheck("chkAdvOpt", "Aktivierung der erweiterten Optionen --->");
    OnClicked(on, [this](bool checked) { logic_.SetAdvancedOptions(checked); });
    column->addWidget(on);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    constexpr const char* kLabels[] = {
        "Entfernung zwischen den Hauptebenen:", "Brechungsindex im Objektraum:",
        "Brechungsindex im Bildraum:", "Wellenlänge [für Beugungsbetrachtung]"};
    constexpr const char* kNotes[] = {"[standard = 0.0mm]", "[standard = 1.0]", "[standard = 1.0]",
                                      "[standard = 546.1nm]"};
    constexpr const char* kDesignTexts[] = {"0", "1.0000", "1.0000", "546nm"};
    // Each value on a line of its own below its label, with its standard beside it.
    grid->setVerticalSpacing(2);
    for (int k = 0; k < 4; ++k) {
        QLabel* label = MakeLabel(Indexed("lblAdv", k), kLabels[k]);
        if (k > 0) grid->setRowMinimumHeight(3 * k, 6);
        grid->addWidget(label, 3 * k + 1, 0, 1, 2);
        QLineEdit* box = MakeLine(Indexed("txtAdv", k));
        box->setText(kDesignTexts[k]);
        box->setFixedWidth(110);
        OnEdited(box, [this, k](std::string_view t) { logic_.ApplyAdvancedValue(k, t); });
        grid->addWidget(box, 3 * k + 2, 0);
        grid->addWidget(MakeLabel(Indexed("lblAdvNote", k), kNotes[k]), 3 * k + 2, 1);
    }
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    QLabel* note =
        MakeLabel("lblAdv_4", "[Diese Optionen können in einigen Fällen nützlich sein.] ");
    note->setWordWrap(true);
    column->addWidget(note);
    column->addSpacing(6);

    QCheckBox* hide = MakeCheck("chkHideRemoteConjug",
                                "Große Abstände nicht darstellen [bei großer Vergrößerung]");
    OnClicked(hide, [this](bool checked) { logic_.SetHideRemoteConjugates(checked); });
    QCheckBox* virtualObj =
        MakeCheck("chkAllowVirtualObj", "Positive (virtuelle) Objektweite erlaubt");
    OnClicked(virtualObj, [this](bool checked) { logic_.SetPositiveObjectAllowed(checked); });
    QCheckBox* points =
        MakeCheck("chkDrawParaxPoints", "Brenn-, Haupt- && Knoten-Punkte darstellen");
    OnClicked(points, [this](bool checked) { logic_.SetDrawPoints(checked); });
    column->addWidget(hide);
    column->addWidget(virtualObj);
    column->addWidget(points);
    column->addStretch(1);

    auto* bottom = new QHBoxLayout;
    QPushButton* standard = MakeButton("comDefAdvOpts", "Standard");
    connect(standard, &QPushButton::clicked, this,
            [this] { Act([this] { logic_.DefaultAdvancedValues(); }); });
    bottom->addWidget(standard);
    bottom->addStretch(1);
    bottom->addWidget(UnitsButton(2));
    column->addLayout(bottom);
    return page;
}

// --- Modes, options and buttons -----------------------------------------------------------------

QWidget* FrmRaysketch::BuildModeBox() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    QListWidget* mirror =
        MakeList("lstMirrorMode", "Wählen Sie zwischen Linsensystem und Spiegelsystem");
    mirror->addItems({"Linsensystem", "Spiegelsystem"});
    FitRows(mirror, 2);
    connect(mirror, &QListWidget::currentRowChanged, this,
            [this](int row) { Act([&] { logic_.ChooseMirrorMode(row); }); });

    QListWidget* symbols = MakeList("lstSymbols", "Wählen Sie die Parameter-Symbole ");
    symbols->addItems({"Standardsymbole", "Benutzerdef. Symbole"});
    FitRows(symbols, 2);
    connect(symbols, &QListWidget::currentRowChanged, this,
            [this](int row) { Act([&] { logic_.ChooseSymbolSet(row); }); });
    QPushButton* editSymbols =
        MakeButton("comSymbols", "...", "Ändern Sie die benutzerdefinierten Symbole");
    editSymbols->setFixedWidth(32);
    connect(editSymbols, &QPushButton::clicked, this, [this] { Act([this] { OpenSymbols(); }); });

    QListWidget* options = MakeList("lstOptions");
    options->addItems({"Konstruktionsstrahlen anzeigen", "Extrainformationen anzeigen"});
    FitRows(options, 2);
    connect(options, &QListWidget::itemChanged, this, [this, options](QListWidgetItem* item) {
        const int row = options->row(item);
        const bool on = item->checkState() == Qt::Checked;
        Act([&] { logic_.SetListOption(row, on); });
    });
    QListWidget* optionsGB = MakeList("lstOptionsGB");
    optionsGB->addItem("Extrainformationen und Optionen anzeigen");
    FitRows(optionsGB, 1);
    connect(optionsGB, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const bool on = item->checkState() == Qt::Checked;
        Act([&] { logic_.SetBeamExtrasShown(on); });
    });

    QCheckBox* beam = MakeCheck("chkGaussBeamMode", "Gaußstrahl", "Gaußschen Strahlmode anzeigen");
    OnClicked(beam, [this](bool on) { logic_.SetBeamMode(on); });

    auto* symbolRow = new QHBoxLayout;
    symbolRow->setSpacing(4);
    symbolRow->addWidget(symbols, 1);
    symbolRow->addWidget(editSymbols, 0, Qt::AlignTop);
    // The lists take the width the column has; their own wish (256 pixels) would widen it.
    for (QListWidget* list : {mirror, symbols, options, optionsGB}) {
        list->setSizePolicy(QSizePolicy::Ignored, list->sizePolicy().verticalPolicy());
    }

    grid->addWidget(beam, 0, 0, 1, 2);
    grid->addLayout(symbolRow, 1, 0);
    grid->addWidget(mirror, 1, 1);
    grid->addWidget(options, 2, 0, 1, 2);
    grid->addWidget(optionsGB, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* FrmRaysketch::BuildButtons() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);
    struct ButtonDef {
        const char* name;
        const char* caption;
        const char* tip;
        std::function<void()> action;
    };
    const ButtonDef buttons[] = {
        {"comPrint", "&Drucken", "Drucken des aktuellen Systems", [this] { PrintReport(); }},
        {"comClear", "&Löschen", "Löschen des aktuellen Systems", [this] { logic_.Clear(); }},
        {"comRecall", "&Wiederholen", "Laden des zuletzt gespeicherten Systems",
         [this] { logic_.Recall(); }},
        {"comUndo", "&Rückgängig", "Rückgängig: letzte Handlung", [this] { logic_.Undo(); }},
        {"comHelp", "Hilfe...", "", [this] { ShowHelp(false); }},
        {"comAbout", "Info...", "", [this] { ShowAbout(); }},
    };
    int k = 0;
    for (const ButtonDef& def : buttons) {
        QPushButton* button = MakeButton(def.name, def.caption, def.tip);
        connect(button, &QPushButton::clicked, this, [this, action = def.action] { Act(action); });
        grid->addWidget(button, k / 4, k % 4);
        ++k;
    }
    QPushButton* end = MakeButton("comEnd", "&Ende");
    connect(end, &QPushButton::clicked, this, &QWidget::close);
    grid->addWidget(end, 1, 3);
    // The buttons share the column's width rather than setting it; each keeps room for its text.
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    }
    return box;
}

// --- Results and extras -------------------------------------------------------------------------

QWidget* FrmRaysketch::BuildResults() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    resNames_ = MakeList("lstResNames");
    resVals_ = MakeList("lstResVals");
    // Values in a fixed-pitch font, so the digits of positive and negative numbers line up.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(resNames_->font().pointSizeF());
    resVals_->setFont(fixed);
    resNames_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resNames_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resVals_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resNames_->setMinimumWidth(170);
    resVals_->setMinimumWidth(120);
    resNames_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    resVals_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (QListWidget* list : {resNames_, resVals_}) {
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    // One list of two columns for the user: scrolling and choosing a row keep both in step.
    connect(resVals_->verticalScrollBar(), &QScrollBar::valueChanged,
            resNames_->verticalScrollBar(), &QScrollBar::setValue);
    connect(resNames_->verticalScrollBar(), &QScrollBar::valueChanged,
            resVals_->verticalScrollBar(), &QScrollBar::setValue);
    connect(resNames_, &QListWidget::currentRowChanged, resVals_, [this](int r) {
        const QSignalBlocker block(resVals_);
        resVals_->setCurrentRow(r);
    });
    connect(resVals_, &QListWidget::currentRowChanged, resNames_, [this](int r) {
        const QSignalBlocker block(resNames_);
        resNames_->setCurrentRow(r);
    });
    row->addWidget(resNames_, 4);
    row->addWidget(resVals_, 3);
    return box;
}

QTabWidget* FrmRaysketch::BuildExtraInfo() {
    auto* tabs = new QTabWidget;
    tabs->setObjectName("tabExtraInfo");
    Register(tabs, Kind::Panel);

    auto* systems = new QLabel("Das Apertur-/Felddiagramm mit den Objektivtypen folgt.");
    systems->setObjectName("lblApFldPlaceholder");
    systems->setAlignment(Qt::AlignCenter);
    systems->setWordWrap(true);
    tabs->addTab(systems, "&Systeme");

    auto* dof = new QWidget;
    auto* column = new QVBoxLayout(dof);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(2);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int row = 0; row < 6; ++row) {
        rows->addWidget(MakeLabel(Indexed("lblDOFName", row), {}), row, 0);
        QLabel* value = MakeLabel(Indexed("lblDOFVal", row), {});
        value->setFont(fixed);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows->addWidget(value, row, 1);
    }
    rows->setColumnStretch(1, 1);
    column->addLayout(rows);
    QLabel* status = MakeLabel("lblDOFStatus", {});
    status->setWordWrap(true);
    status->setMargin(2);
    column->addWidget(status);

    auto* coc = new QGroupBox("Unschärfekreis");
    coc->setObjectName("fraDOFCoC");
    auto* cocGrid = new QGridLayout(coc);
    cocGrid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(coc);
    for (int k = 0; k < 2; ++k) {
        QRadioButton* option =
            MakeRadio(Indexed("optCoCType", k),
                      k == 0 ? "Benutzerdefiniert" : "kleinster physikalisch moeglicher Wert");
        group->addButton(option, k);
        connect(option, &QRadioButton::clicked, this,
                [this, k] { Act([&] { ui::ChooseCoCType(logic_, k); }); });
        cocGrid->addWidget(option, k, 0, 1, k == 0 ? 1 : 3);
    }
    QLineEdit* custom = MakeLine("txtDOFCoC", "Durchmesser des zulässigen Unschärfekreises");
    custom->setFixedWidth(100);
    OnEdited(custom, [this](std::string_view t) { ui::ApplyCoCText(logic_, t); });
    cocGrid->addWidget(custom, 0, 1);
    cocGrid->setColumnStretch(2, 1);
    column->addWidget(coc);
    column->addStretch(1);
    tabs->addTab(dof, "&Abbildungstiefe");
    tabs->setCurrentIndex(1);
    return tabs;
}

QTabWidget* FrmRaysketch::BuildExtraInfoGB() {
    auto* tabs = new QTabWidget;
    tabs->setObjectName("tabExtraInfoGB");
    Register(tabs, Kind::Panel);

    // "&Optionen": beam quality, detector, minimum spot.
    auto* options = new QWidget;
    auto* grid = new QGridLayout(options);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    QLineEdit* m2 = MakeLine("txtGBExtraMFactor", "Beugungsmaßzahl M² des Strahls");
    m2->setFixedWidth(90);
    OnEdited(m2, [this](std::string_view t) { ui::ApplyMFactorText(logic_, 0, t); });
    QCheckBox* m2Use = MakeCheck("chkGBExtraM2Use", "Effekt anzeigen");
    OnClicked(m2Use, [this](bool on) { ui::SetMFactorUse(logic_, on); });
    grid->addWidget(Caption("M²:"), 0, 0);
    grid->addWidget(m2, 0, 1);
    grid->addWidget(m2Use, 0, 2);
    QLineEdit* detector =
        MakeLine("txtGBExtraDetector", "Abstand des Detektors hinter der Linse [mm]");
    detector->setText("0mm");
    detector->setFixedWidth(90);
    OnEdited(detector, [this](std::string_view t) { ui::ApplyDetectorText(logic_, t); });
    QCheckBox* detectorOn = MakeCheck("chkGBExtraDetector", "Detektor anzeigen");
    OnClicked(detectorOn, [this](bool on) { ui::SetDetectorOn(logic_, on); });
    grid->addWidget(Caption("Detektor [mm]:"), 1, 0);
    grid->addWidget(detector, 1, 1);
    grid->addWidget(detectorOn, 1, 2);
    QLineEdit* spot = MakeLine("txtGMExtraMinSpotD",
                               "Abstand hinter der Linse, in dem der Strahl "
                               "am kleinsten sein soll");
    spot->setFixedWidth(90);
    OnEdited(spot, [this](std::string_view t) { ui::ApplyMinSpotText(logic_, t); });
    grid->addWidget(Caption("Kleinster Spot bei:"), 2, 0);
    grid->addWidget(spot, 2, 1);
    QLabel* spotResult = MakeLabel("lblGBExtraMinSpotRes", {});
    spotResult->setWordWrap(true);
    spotResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    spotResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(spotResult, 3, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);
    tabs->addTab(options, "&Optionen");

    // "Diodenlaser": the second axis of a rectangular beam and its circularisation.
    auto* diode = new QWidget;
    auto* dGrid = new QGridLayout(diode);
    dGrid->setContentsMargins(8, 8, 8, 8);
    dGrid->setHorizontalSpacing(8);
    dGrid->setVerticalSpacing(4);
    QCheckBox* diodeOn = MakeCheck("chkGBExtraDiodeMode", "Diodenlaser [rechteckiger Strahl]");
    OnClicked(diodeOn, [this](bool on) { ui::SetDiodeMode(logic_, on); });
    dGrid->addWidget(diodeOn, 0, 0, 1, 2);
    QComboBox* kind = MakeCombo("cmbGBExtraDiodeParamType",
                                "Parameter zur Definition des Laserstrahls im Objektraum");
    connect(kind, &QComboBox::activated, this,
            [this](int entry) { Act([&] { ui::ChooseDiodeParamKind(logic_, entry); }); });
    QLineEdit* kindValue =
        MakeLine("txtGBExtraDiodeParamVal", "Wert für Strahlparameter im Objektraum ");
    OnEdited(kindValue, [this](std::string_view t) { ui::ApplyDiodeParamText(logic_, t); });
    QLineEdit* m2Axis1 = MakeLine("txtGBExtraDiodeMFactor", "Beugungsmaßzahl M² der zweiten Achse");
    OnEdited(m2Axis1, [this](std::string_view t) { ui::ApplyMFactorText(logic_, 1, t); });
    QComboBox* matched =
        MakeCombo("cmbGBExtraDiodeParamMatched", "Parameter mit gleichem Wert in beiden Sektionen");
    dGrid->addWidget(Caption("Parameter 2. Achse:"), 1, 0);
    dGrid->addWidget(kind, 1, 1);
    dGrid->addWidget(Caption("Wert:"), 2, 0);
    dGrid->addWidget(kindValue, 2, 1);
    dGrid->addWidget(Caption("M² 2. Achse:"), 3, 0);
    dGrid->addWidget(m2Axis1, 3, 1);
    dGrid->addWidget(Caption("Gemeinsam:"), 4, 0);
    dGrid->addWidget(matched, 4, 1);
    QCheckBox* circ = MakeCheck("chkGBExtraBeamRectCircularise",
                                "Strahl zirkularisieren [gekreuzte Zylinderlinsen]");
    OnClicked(circ, [this](bool on) { ui::SetCircularise(logic_, on); });
    dGrid->addWidget(circ, 5, 0, 1, 2);
    for (QComboBox* combo : {kind, matched}) combo->setMinimumContentsLength(10);
    QComboBox* mode =
        MakeCombo("cmbGBExtraBeamRectCircMode", "Diodenkollimationsmodus zur Zirkularisation");
    connect(mode, &QComboBox::activated, this,
            [this](int entry) { Act([&] { ui::ChooseCollimationMode(logic_, entry); }); });
    dGrid->addWidget(mode, 6, 0, 1, 2);
    dGrid->setColumnStretch(1, 1);
    dGrid->setRowStretch(7, 1);
    tabs->addTab(diode, "Diodenlaser");

    // "&Schärfentiefe": the beam's depth of focus for a chosen growth of its radius.
    auto* depth = new QWidget;
    auto* depthGrid = new QGridLayout(depth);
    depthGrid->setContentsMargins(8, 8, 8, 8);
    depthGrid->setHorizontalSpacing(8);
    QListWidget* percent = MakeList("lstGBExtraDOFPercent");
    FitRows(percent, 7);
    percent->setMaximumWidth(140);
    connect(percent, &QListWidget::currentRowChanged, this,
            [this](int row) { Act([&] { ui::ChooseDofEntry(logic_, row); }); });
    depthGrid->addWidget(Caption("Zulässige Zunahme des Strahlradius:"), 0, 0, 1, 2);
    depthGrid->addWidget(percent, 1, 0, 2, 1);
    depthGrid->addWidget(Caption("Schärfentiefe:"), 1, 1);
    QLabel* depthValue = MakeLabel("lblGBExtraDOFVal", {});
    QFont big = depthValue->font();
    big.setBold(true);
    depthValue->setFont(big);
    depthValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    depthGrid->addWidget(depthValue, 2, 1, Qt::AlignTop);
    depthGrid->setColumnStretch(1, 1);
    depthGrid->setRowStretch(3, 1);
    tabs->addTab(depth, "&Schärfentiefe");

    auto* lenses = new QLabel("Die passenden Katalog-Linsen werden hier aufgeführt.");
    lenses->setObjectName("lblGBLensesPlaceholder");
    lenses->setAlignment(Qt::AlignCenter);
    lenses->setWordWrap(true);
    tabs->addTab(lenses, "&Linsen");
    return tabs;
}

// --- Rendering ----------------------------------------------------------------------------------

void FrmRaysketch::Act(const std::function<void()>& handler) {
    if (!logic_.State().machine.IsIdle()) return;
    handler();
    Render();
}

void FrmRaysketch::ApplyControl(Entry& e, const ui::ControlView& c) {
    QWidget* w = e.widget;
    const QSignalBlocker block(w);
    // WA_ForceDisabled is the widget's own state, whatever its parents are.
    if (w->testAttribute(Qt::WA_ForceDisabled) == c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);

    // Lists, combo boxes and tab strips: items first, then the choice.
    auto setItems = [&](auto setCount, auto setText) {
        if (e.items == c.items) return false;
        setCount(static_cast<int>(c.items.size()));
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            if (i >= e.items.size() || e.items[i] != c.items[i]) {
                setText(static_cast<int>(i), ToQ(c.items[i]));
            }
        }
        e.items = c.items;
        return true;
    };

    switch (e.kind) {
        case Kind::Check:
        case Kind::Radio: {
            auto* b = static_cast<QAbstractButton*>(w);
            const QString text = ToQ(c.text);
            if (!c.text.empty() && b->text() != text) b->setText(text);
            // An exclusive radio button is unchecked by checking another one.
            if (b->isChecked() != c.checked && (e.kind == Kind::Check || c.checked)) {
                b->setChecked(c.checked);
            }
            break;
        }
        case Kind::Line: {
            auto* box = static_cast<QLineEdit*>(w);
            const QString text = ToQ(c.text);
            if (box->text() != text) box->setText(text);
            break;
        }
        case Kind::Label: {
            auto* label = static_cast<QLabel*>(w);
            const QString text = ToQ(c.text);
            if (label->text() != text) label->setText(text);
            if (e.highlight != c.highlight) {
                e.highlight = c.highlight;
                QPalette p = label->palette();
                p.setColor(QPalette::Window,
                           c.highlight ? FromBgr(c.highlight) : palette().color(QPalette::Window));
                label->setPalette(p);
                label->setAutoFillBackground(c.highlight != 0);
            }
            break;
        }
        case Kind::Frame: {
            auto* frame = static_cast<QGroupBox*>(w);
            const QString text = ToQ(c.text);
            if (frame->title() != text) frame->setTitle(text);
            break;
        }
        case Kind::Slider: {
            auto* bar = static_cast<QScrollBar*>(w);
            if (bar->minimum() != c.minimum || bar->maximum() != c.maximum) {
                bar->setRange(c.minimum, c.maximum);
            }
            if (bar->value() != c.position) bar->setValue(c.position);
            break;
        }
        case Kind::Combo: {
            auto* combo = static_cast<QComboBox*>(w);
            setItems(
                [combo](int n) {
                    while (combo->count() > n) combo->removeItem(combo->count() - 1);
                    while (combo->count() < n) combo->addItem(QString());
                },
                [combo](int i, const QString& t) { combo->setItemText(i, t); });
            if (c.currentIndex >= 0 && combo->currentIndex() != c.currentIndex) {
                combo->setCurrentIndex(c.currentIndex);
            }
            break;
        }
        case Kind::List: {
            auto* list = static_cast<QListWidget*>(w);
            const bool grew = static_cast<int>(c.items.size()) > list->count();
            setItems(
                [list](int n) {
                    while (list->count() > n) delete list->takeItem(list->count() - 1);
                    while (list->count() < n) list->addItem(QString());
                },
                [list](int i, const QString& t) { list->item(i)->setText(t); });
            if (grew && (list == resNames_ || list == resVals_)) {
                // Both result columns share one row height, whatever their fonts.
                const int h =
                    std::max(resNames_->fontMetrics().height(), resVals_->fontMetrics().height()) +
                    4;
                for (int i = 0; i < list->count(); ++i) list->item(i)->setSizeHint({0, h});
            }
            for (std::size_t i = 0; i < c.itemChecked.size() && i < c.items.size(); ++i) {
                QListWidgetItem* item = list->item(static_cast<int>(i));
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                const Qt::CheckState state = c.itemChecked[i] ? Qt::Checked : Qt::Unchecked;
                // A new item has no check state at all (no box is drawn), which reads as unchecked.
                if (!item->data(Qt::CheckStateRole).isValid() || item->checkState() != state) {
                    item->setCheckState(state);
                }
            }
            if (c.currentIndex >= 0 && list->currentRow() != c.currentIndex) {
                list->setCurrentRow(c.currentIndex);
            }
            break;
        }
        case Kind::Tabs: {
            auto* tabs = static_cast<QTabWidget*>(w);
            setItems([](int) {},
                     [tabs](int i, const QString& t) {
                         if (i < tabs->count()) tabs->setTabText(i, t);
                     });
            if (c.currentIndex >= 0 && c.currentIndex < tabs->count()) {
                tabs->setCurrentIndex(c.currentIndex);
            }
            break;
        }
        case Kind::Button: {
            auto* b = static_cast<QPushButton*>(w);
            const QString text = ToQ(c.text);
            if (!c.text.empty() && b->text() != text) b->setText(text);
            break;
        }
        case Kind::Panel:
            break;
    }
}

void FrmRaysketch::Render() {
    const ui::WindowView view = ui::BuildView(logic_.State());
    const QString title = ToQ(view.title);
    if (windowTitle() != title) setWindowTitle(title);
    for (const ui::ControlView& c : view.controls) {
        const auto it = controls_.find(c.name);
        // Controls whose windows come later (the aperture/field plot, the f-number pop-up).
        if (it == controls_.end()) continue;
        ApplyControl(it->second, c);
    }
    drawing_->update();
}

QWidget* FrmRaysketch::Control(std::string_view name) const {
    const auto it = controls_.find(std::string(name));
    return it == controls_.end() ? nullptr : it->second.widget;
}

std::vector<std::string> FrmRaysketch::ControlNames() const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : controls_) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

bool FrmRaysketch::eventFilter(QObject* watched, QEvent* event) {
    // Entering a box selects its whole text, so typing replaces it. Deferred, because the mouse
    // press that gave the focus would otherwise place the cursor and drop the selection.
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
    const QSize least = minimumSizeHint();
    const ui::WindowRect r =
        ui::MainWindowPlacement(settings_, least.width() * tpp, least.height() * tpp,
                                f.area.width() * tpp, f.area.height() * tpp);
    if (isMaximized()) return;
    setGeometry(f.area.x() + static_cast<int>(r.left / tpp),
                f.area.y() + static_cast<int>(r.top / tpp), static_cast<int>(r.width / tpp),
                static_cast<int>(r.height / tpp));
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
    emit Shown();
    if (newFeatureNote_ && ui::MainWindow::TakeNewFeatureNote(userStore_)) {
        QTimer::singleShot(0, this, [this] { ShowHelp(true); });
    }
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
    event->accept();
}

// --- Dialogs and windows ------------------------------------------------------------------------

void FrmRaysketch::OpenUnits() {
    FrmUnits dialog(logic_.State().design.units, this);
    if (dialog.Display()) logic_.ApplyUnits(dialog.Model().Working());
}

void FrmRaysketch::OpenSymbols() {
    FrmSymbols dialog(settings_, dialogs_, this);
    if (dialog.Display()) logic_.ReloadSymbols();
}

void FrmRaysketch::PrintReport() {
    // The logic refuses an incomplete design with its message before any printer is chosen.
    const QString dateText = render::LongGermanDate(QDate::currentDate());
    const auto page = logic_.PrintPage(ToStd(dateText));
    if (!page) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Drucken");
    if (dialog.exec() != QDialog::Accepted) return;
    if (!render::PaintDesignReport(printer, *page, logic_.State().design, dateText)) {
        dialogs_.Message("Der Drucker konnte nicht benutzt werden.", ui::Icon::Exclamation);
    }
}

void FrmRaysketch::ShowHelp(bool newFeatures) {
    if (!help_) help_ = new HelpWindow(this);
    help_->ShowPage(newFeatures ? HelpWindow::Page::NewFeatures : HelpWindow::Page::Overview);
}

void FrmRaysketch::ShowAbout() {
    QMessageBox::about(this, "Info",
                       QString("<b>Raysketcher</b> %1<br><br>"
                               "Paraxiale Vorauslegung und Gaußstrahlen für eine dünne Linse "
                               "oder einen Spiegel.")
                           .arg(ToQ(app::Version())));
}

}  // namespace rs::gui
