#include "gui/units_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/qt_text.h"
#include "text/tr.h"

namespace rs::gui {
namespace {

struct FrameLayout {
    const char* name;
    const char* title;
    int firstList;
    int listCount;
};

// Frames of the two tabs with the lists (indices into ui::UnitLists()) they hold.
constexpr std::array<FrameLayout, 5> kParaxialFrames = {{
    {"fraParaxCong", text::TrNoop("Konjugate:"), 0, 4},
    {"fraParaxField", text::TrNoop("Feldgröße:"), 4, 4},
    {"fraParaxAp", text::TrNoop("Bildseitig"), 8, 1},
    {"fraParaxRes", text::TrNoop("Auflösung"), 9, 1},
    {"fraDepthOf", text::TrNoop("Abbildungsteiffe / Schärfentiefe"), 10, 3},
}};
constexpr std::array<FrameLayout, 4> kBeamFrames = {{
    {"fraGBCong", text::TrNoop("Konjugate:"), 13, 4},
    {"fraGBBeamObj", text::TrNoop("Lichtstrahl im Gegenstandsraum:"), 17, 3},
    {"fraGBBeamImg", text::TrNoop("Beam Bildraum"), 20, 3},
    {"fraGBExtra", text::TrNoop("Zusatzinformation"), 23, 1},
}};

// The quantity each list sets, in the order of ui::UnitLists().
constexpr std::array<const char*, 24> kListLabels = {
    text::TrNoop("Brennweite:"),
    text::TrNoop("Objektweite:"),
    text::TrNoop("Bildweite:"),
    text::TrNoop("Objekt-Bildweite:"),
    text::TrNoop("Objekthöhe:"),
    text::TrNoop("Objektwinkel:"),
    text::TrNoop("Bildhöhe:"),
    text::TrNoop("Bildwinkel:"),
    text::TrNoop("Blendenradius:"),
    text::TrNoop("Unschärfekreis / Airy-Durchmesser:"),
    text::TrNoop("Abbildungstiefe:"),
    text::TrNoop("Schärfentiefe:"),
    text::TrNoop("Nah-, Fern- und Fixfokusentfernung:"),
    text::TrNoop("Brennweite:"),
    text::TrNoop("Abstand Objekttaille:"),
    text::TrNoop("Abstand Bildtaille:"),
    text::TrNoop("Taille zu Taille:"),
    text::TrNoop("Taillenradius:"),
    text::TrNoop("Divergenz:"),
    text::TrNoop("Rayleighlänge:"),
    text::TrNoop("Taillenradius:"),
    text::TrNoop("Divergenz:"),
    text::TrNoop("Rayleighlänge:"),
    text::TrNoop("Skalenlänge && Entfernung"),
};

}  // namespace

FrmUnits::FrmUnits(const units::UnitState& current, QWidget* parent)
    : QDialog(parent), model_(current) {
    setObjectName("frmUnits");
    setWindowTitle(QTr("Einheiten"));
    const auto infos = ui::UnitLists();
    lists_.resize(infos.size(), nullptr);

    auto buildTab = [&](auto& frames) {
        auto* page = new QWidget;
        auto* column = new QVBoxLayout(page);
        std::vector<QLabel*> labels;
        for (const FrameLayout& f : frames) {
            auto* frame = new QGroupBox(QTr(f.title));
            frame->setObjectName(f.name);
            auto* form = new QFormLayout(frame);
            form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            for (int list = f.firstList; list < f.firstList + f.listCount; ++list) {
                auto* combo = new QComboBox;
                combo->setObjectName(ToQ(infos[static_cast<std::size_t>(list)].name));
                combo->setMinimumContentsLength(18);
                combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                connect(combo, &QComboBox::currentIndexChanged, this, [this, list, combo](int i) {
                    if (filling_ || i < 0) return;
                    model_.Choose(list, combo->itemData(i).toInt());
                });
                lists_[static_cast<std::size_t>(list)] = combo;
                // A buddy makes "&&" show as one ampersand.
                auto* label = new QLabel(QTr(kListLabels[static_cast<std::size_t>(list)]));
                label->setBuddy(combo);
                labels.push_back(label);
                form->addRow(label, combo);
            }
            column->addWidget(frame);
        }
        column->addStretch(1);
        // One label width for the whole tab, so the lists of all frames line up.
        int width = 0;
        for (QLabel* label : labels) width = std::max(width, label->sizeHint().width());
        for (QLabel* label : labels) label->setMinimumWidth(width);
        return page;
    };
    auto* tabs = new QTabWidget;
    tabs->setObjectName("tabUnits");
    tabs->addTab(buildTab(kParaxialFrames), QTr("Paraxiale Einheiten"));
    tabs->addTab(buildTab(kBeamFrames), QTr("Gaußsche Strahleinheiten"));

    auto makeButton = [this](const char* name, const char* caption, const char* tip) {
        auto* b = new QPushButton(QTr(caption));
        b->setObjectName(name);
        b->setAutoDefault(false);
        if (*tip) b->setToolTip(QTr(tip));
        return b;
    };
    QPushButton* ok = makeButton("comOK", "&OK", "");
    QPushButton* cancel = makeButton("comCancel", text::TrNoop("&Abbrechen"), "");
    QPushButton* defaults = makeButton(
        "comDefaults", text::TrNoop("&Standard [paraxiale]"),
        text::TrNoop("Alle paraxialen Einstellungen auf die Grundeinstellung zurücksetzen"));
    QPushButton* defaultsGB = makeButton(
        "comDefaultsGB", text::TrNoop("&Standard [Gaußsche]"),
        text::TrNoop("Alle Einstellungen für Gauß-Strahlen auf die Grundeinstellung zurücksetzen"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        model_.DefaultsParaxial();
        Fill();
    });
    connect(defaultsGB, &QPushButton::clicked, this, [this] {
        model_.DefaultsBeam();
        Fill();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addWidget(defaultsGB);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    Fill();
}

void FrmUnits::Fill() {
    filling_ = true;
    for (std::size_t list = 0; list < lists_.size(); ++list) {
        QComboBox* combo = lists_[list];
        const QSignalBlocker block(combo);
        combo->clear();
        for (const ui::UnitEntry& e : model_.Entries(static_cast<int>(list))) {
            combo->addItem(ToQ(e.text), e.code);
        }
        combo->setCurrentIndex(model_.SelectedEntry(static_cast<int>(list)));
    }
    filling_ = false;
}

bool FrmUnits::Display() {
    return exec() == QDialog::Accepted && model_.Changed();
}

}  // namespace rs::gui
