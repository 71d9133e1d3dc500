#include "ui/view_model.h"

#include <array>

#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/catalogue.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "ui/catalogue_lens_choice.h"
#include "ui/extras_panel.h"
#include "ui/image_formats.h"
#include "ui/measurement_panel.h"
#include "ui/reference.h"
#include "ui/standard_fnumbers.h"

namespace rs::ui {
namespace {

using engine::CVarType;

constexpr std::array<const char*, 4> kAdvancedLabels = {
    text::TrNoop("Entfernung zwischen den Hauptebenen:"),
    text::TrNoop("Brechungsindex im Objektraum:"), text::TrNoop("Brechungsindex im Bildraum:"),
    text::TrNoop("Wellenlänge [für Beugungsbetrachtung]")};
constexpr std::array<const char*, 4> kAdvancedNotes = {
    text::TrNoop("[standard = 0.0mm]"), text::TrNoop("[standard = 1.0]"),
    text::TrNoop("[standard = 1.0]"), text::TrNoop("[standard = 546.1nm]")};
// Why the drawing and the values stay blank.
constexpr const char* kChooseThreeText = text::TrNoop("Bitte wählen Sie drei Parameter.");

struct FixedCaption {
    const char* name;
    const char* text;
};
// Captions that never change, of controls whose state the view does not otherwise decide.
constexpr FixedCaption kFixedCaptions[] = {
    {"lblGBWavelen", text::TrNoop("Wellenlänge:")},
    {"lblAdv_4", text::TrNoop("[Diese Optionen können in einigen Fällen nützlich sein.] ")},
    {"comDefAdvOpts", text::TrNoop("Standard")},
    {"comUnits_0", text::TrNoop("Einheiten")},
    {"comUnits_1", text::TrNoop("Einheiten")},
    {"comUnits_2", text::TrNoop("Einheiten")},
    {"comPrint", text::TrNoop("&Drucken")},
    {"comClear", text::TrNoop("&Löschen")},
    {"comRecall", text::TrNoop("&Wiederholen")},
    {"comHelp", text::TrNoop("Hilfe...")},
    {"comAbout", text::TrNoop("Info...")},
    {"comEnd", text::TrNoop("&Ende")},
    {"comApFldEnlarge", text::TrNoop("Vergrößern...")},
    {"fraDOFCoC", text::TrNoop("Unschärfekreis")},
    {"lblGBExtraMFactor", text::TrNoop("M²:")},
    {"lblGBExtraDetector", text::TrNoop("Detektor [mm]:")},
    {"lblGBExtraMinSpotD", text::TrNoop("Kleinster Spot bei:")},
    {"lblGBDrgScales", text::TrNoop("Zeichnung:")},
    {"lblGBExtraDrgScale", text::TrNoop("Fester Abstand:")},
    {"lblGBExtraDiodeParamType", text::TrNoop("Parameter 2. Achse:")},
    {"lblGBExtraDiodeParamVal", text::TrNoop("Wert:")},
    {"lblGBExtraDiodeMFactor", text::TrNoop("M² 2. Achse:")},
    {"lblGBExtraDiodeParamMatched", text::TrNoop("Gemeinsam:")},
    {"lblGBExtraDOFPercent", text::TrNoop("Zulässige Zunahme des Strahlradius:")},
    {"lblGBExtraDOF", text::TrNoop("Schärfentiefe:")},
};

bool BeamMode(const WindowState& s) {
    return s.design.beam.beamMode;
}

// The set the value boxes and sliders show: the general set, or axis 0 of the beam.
const engine::Selection& SlotSet(const WindowState& s) {
    return BeamMode(s) ? s.design.beam.axes[0].selection : s.design.paraxial.params;
}

ValueSet SlotValueSet(const WindowState& s) {
    return BeamMode(s) ? ValueSet::Beam : ValueSet::General;
}

std::string QuantityText(const WindowState& s, int index, double value) {
    return ValueText(s, SlotValueSet(s), index, value);
}

std::string ApertureQuantityText(const WindowState& s, int index, double value) {
    return ValueText(s, ValueSet::Aperture, index, value);
}

// A beam quantity's name with its current symbol, as the result list names it.
std::string BeamLabel(const WindowState& s, int index) {
    return beam::BeamLabel(s.design.beam, index);
}

std::string SlotLabel(const WindowState& s, int index) {
    return ValueLabel(s, SlotValueSet(s), index);
}

bool AtInfinityRecord(const WindowState& s, const CVarType& e) {
    return !BeamMode(s) && e.nVarType == engine::kObjDist &&
           s.design.paraxial.options.objAtInfinity;
}

// Builds the control list; every control is added through one of these helpers.
class Builder {
public:
    explicit Builder(const WindowState& s) : s_(s) {}

    ControlView& Add(std::string name, std::string text = {}) {
        ControlView c;
        c.name = std::move(name);
        c.text = std::move(text);
        if (const auto it = s_.pendingTexts.find(c.name); it != s_.pendingTexts.end()) {
            c.text = it->second;
        }
        view_.controls.push_back(std::move(c));
        return view_.controls.back();
    }
    ControlView& Check(std::string name, std::string caption, bool checked, bool enabled = true) {
        ControlView& c = Add(std::move(name), std::move(caption));
        c.checked = checked;
        c.enabled = enabled;
        return c;
    }
    ControlView& Frame(std::string name, std::string caption, bool visible) {
        ControlView& c = Add(std::move(name), std::move(caption));
        c.visible = visible;
        return c;
    }
    ControlView& Slider(std::string name, int position, bool enabled) {
        ControlView& c = Add(std::move(name));
        c.minimum = kSliderMin;
        c.maximum = kSliderMax;
        c.position = position;
        c.enabled = enabled;
        return c;
    }
    ControlView& List(std::string name, std::vector<std::string> items, int current) {
        ControlView& c = Add(std::move(name));
        c.items = std::move(items);
        c.currentIndex = current;
        return c;
    }

    WindowView Take() { return std::move(view_); }

private:
    const WindowState& s_;
    WindowView view_;
};

void AddParaxialSelection(Builder& b, const WindowState& s) {
    const engine::ParaxialDesign& p = s.design.paraxial;
    const bool paraxial = !BeamMode(s);
    b.Frame("fraOptConj", text::Tr("&Abstände:"), paraxial);
    b.Frame("fraOptFld", text::Tr("Feld:"), paraxial);
    for (int i = engine::kFocal; i <= engine::kImgAngle; ++i) {
        b.Check(ControlName("chkVarType", i), p.symbols.ParamLabelWithSymbol(i),
                p.params.Contains(i));
    }
    b.Check("chkObjAtInfinity", text::Tr("[Objektweite unendlich]"), p.options.objAtInfinity,
            p.options.objAtInfinity || p.params.Contains(engine::kObjDist));

    std::vector<std::string> formats;
    for (const std::string_view entry : ImageFormatEntries()) formats.push_back(text::Tr(entry));
    const app::WindowOptions& w = s.design.window;
    // The format list stands apart from the field frame, and hides with it.
    b.List("cmbImagHeight", std::move(formats), w.imgHgtFixed ? w.imgHgtOption : 0).visible =
        paraxial;

    b.Frame("fraOptAp1", text::Tr("&Apertur [optional]"), paraxial);
    for (int i = engine::kStopRadius; i <= engine::kNAImage; ++i) {
        b.Check(ControlName("chkVarTypeAp", i), text::Tr(engine::ApertureLabel(i)),
                p.aperture.Contains(i));
    }
}

void AddBeamSelection(Builder& b, const WindowState& s) {
    const beam::BeamDesign& gb = s.design.beam;
    const bool beamMode = gb.beamMode;
    b.Frame("fraGaussCong", text::Tr("Optionen für konjugierte Elemente [Gaußstrahl]"), beamMode);
    b.Frame("fraGaussBeamObj", text::Tr(" Strahl [objektseitig]"), beamMode);
    b.Frame("fraGaussBeamImg", text::Tr(" Strahl [bildseitig]"), beamMode);
    const engine::Selection& sel = gb.axes[0].selection;
    for (int i = 0; i <= beam::kGbImgRayleigh; ++i) {
        ControlView& c = b.Check(ControlName("chkVarTypeGB", i), BeamLabel(s, i), sel.Contains(i),
                                 beam::BeamCheckBoxEnabled(gb, i));
        c.visible = beam::IsSelectableBeamIndex(i);  // the waist-to-waist distance is a result
    }
    ControlView& wave = b.Add("txtGBWavelen", beam::WavelengthText(gb));
    wave.enabled = beamMode;
    b.Add("comGBWavelen", "...").enabled = beamMode;
    b.Check("chkGaussBeamAltSolution", text::Tr("Alternativlösung"), gb.altSolution,
            beam::AltSolutionAvailable(gb));
    b.Check("chkGaussBeamMode", text::Tr("Gaußstrahl"), beamMode);
    ControlView& extras =
        b.List("lstOptionsGB", {text::Tr("Extrainformationen und Optionen anzeigen")}, -1);
    extras.itemChecked = {gb.extrasOptions.showExtra};
    extras.visible = beamMode;
}

void AddValueSlots(Builder& b, const WindowState& s) {
    const engine::Selection& sel = SlotSet(s);
    const bool beamMode = BeamMode(s);
    for (int k = 0; k < kValueSlots; ++k) {
        const bool has = k < sel.Count();
        const CVarType* e = has ? &sel.At(k + 1) : nullptr;
        const std::string label = has ? SlotLabel(s, e->nVarType) : std::string();
        const bool editable = has && !AtInfinityRecord(s, *e);

        ControlView& lbl = b.Add(ControlName("lblVarType", k), label);
        lbl.visible = has;
        ControlView& box = b.Add(ControlName("txtVarType", k), ValueBoxText(s, k));
        box.enabled = editable;

        b.Frame(ControlName("picSlider", k), {}, has);
        const auto& positions = beamMode ? s.beamSliderPos : s.sliderPos;
        b.Slider(ControlName("hscVarValue", k), positions[static_cast<std::size_t>(k)],
                 has && e->bLimLowDef && e->bLimHihDef);
        b.Add(ControlName("txtVarLimLow", k), LimitBoxText(s, k, false)).enabled = editable;
        b.Add(ControlName("txtVarLimHi", k), LimitBoxText(s, k, true)).enabled = editable;
        b.Add(ControlName("lblSliderVarValue", k), label).visible = has;
    }
    const bool complete = beamMode ? app::BeamComplete(s.design) : app::ParaxialComplete(s.design);
    b.Add("lblSliders",
          text::Tr(" Die Regler sind erst nach Eingabe der Allgemeinen Parameter verfügbar! "))
        .visible = !complete;

    // The aperture parameter has its own box and slider, in the paraxial mode only.
    const engine::Selection& ap = s.design.paraxial.aperture;
    const bool hasAp = !beamMode && ap.Count() > 0;
    const std::string apLabel =
        ap.Count() > 0 ? text::Tr(engine::ApertureLabel(ap.Index(1))) : std::string();
    b.Add("lblVarTypeAp", hasAp ? apLabel : text::Tr("Öffnung"));
    b.Add("txtVarTypeAp_0", ApertureValueText(s)).enabled = hasAp;
    b.Add("comApFNosStandard", "F/…").enabled = StandardFNumbersAvailable(s);
    b.Frame("picSliderAp_0", {}, hasAp);
    const bool apLimits = hasAp && ap.At(1).bLimLowDef && ap.At(1).bLimHihDef;
    b.Slider("hscVarValueAp_0", s.sliderPosAp, apLimits);
    b.Add("txtVarLimLowAp_0", ApertureLimitText(s, false)).enabled = hasAp;
    b.Add("txtVarLimHiAp_0", ApertureLimitText(s, true)).enabled = hasAp;
    b.Add("lblSliderVarValueAp_0", apLabel).visible = hasAp;
}

void AddAdvanced(Builder& b, const WindowState& s) {
    const app::DesignState& d = s.design;
    b.Check("chkAdvOpt", text::Tr("Aktivierung der erweiterten Optionen --->"),
            d.paraxial.options.advOptions);
    for (int k = 0; k < 4; ++k) {
        const bool enabled = AdvancedBoxEnabled(s, k);
        b.Add(ControlName("txtAdv", k), AdvancedBoxText(s, k)).enabled = enabled;
        b.Add(ControlName("lblAdv", k), text::Tr(kAdvancedLabels[static_cast<std::size_t>(k)]))
            .enabled = enabled;
        b.Add(ControlName("lblAdvNote", k), text::Tr(kAdvancedNotes[static_cast<std::size_t>(k)]));
    }
    b.Check("chkHideRemoteConjug",
            text::Tr("Große Abstände nicht darstellen [bei großer Vergrößerung]"),
            d.window.hideRemConj);
    b.Check("chkAllowVirtualObj", text::Tr("Positive (virtuelle) Objektweite erlaubt"),
            d.window.positiveObj);
    b.Check("chkDrawParaxPoints", text::Tr("Brenn-, Haupt- && Knoten-Punkte darstellen"),
            d.window.drawPoints);
}

void AddOptionsAndButtons(Builder& b, const WindowState& s) {
    const app::DesignState& d = s.design;
    const bool paraxial = !BeamMode(s);
    ControlView& options = b.List(
        "lstOptions",
        {text::Tr("Konstruktionsstrahlen anzeigen"), text::Tr("Extrainformationen anzeigen")}, -1);
    options.itemChecked = {d.window.drawHaltingRay, d.dof.showExtra};
    options.visible = paraxial;
    b.List("lstSymbols", {text::Tr("Standardsymbole"), text::Tr("Benutzerdef. Symbole")},
           d.window.unitType);
    b.List("lstMirrorMode", {text::Tr("Linsensystem"), text::Tr("Spiegelsystem")},
           d.paraxial.options.mirrorMode ? 1 : 0)
        .visible = paraxial;
    b.Add("comSymbols", "...").enabled = d.window.unitType == 1;
    b.Add("comUndo", text::Tr("&Rückgängig")).enabled = s.backup.Exists();
    b.Add("comApFldUndo", text::Tr("Zurück")).enabled = s.apFldUndoEnabled;
    b.Add("picApFld");
    b.Add("picStudy");    // the studies follow the design too, computed only while shown
    b.Add("picStudyGB");  // follows the design and the mode with every view
    // The extras keep the tab the user chose.
    b.List("tabExtraInfo",
           {text::Tr("&Systeme"), text::Tr("&Abbildungstiefe"), text::Tr("&Linsen"),
            text::Tr("S&tudie")},
           -1)
        .visible = paraxial && d.dof.showExtra;
    b.List("tabExtraInfoGB",
           {text::Tr("&Optionen"), text::Tr("Diodenlaser"), text::Tr("&Schärfentiefe"),
            text::Tr("&Linsen"), text::Tr("&Messung"), text::Tr("S&tudie")},
           -1)
        .visible = !paraxial && d.beam.extrasOptions.showExtra;
    // The lens grid's rows come from the catalogue the window read at start-up; it is listed
    // so that it hears of every change (it fills itself only while it can be seen).
    b.Add("ssGBExtraLenses");
    b.Add("ssExtraLenses");
    // The grid's own buttons: "Übernehmen" acts on the chosen line, the grid checks that one is.
    b.Add("cmdGBExtraLensTake", text::Tr("Ü&bernehmen"));
    b.Add("cmdExtraLensTake", text::Tr("Ü&bernehmen"));
    b.Add("cmdExtraLensStop", text::Tr("Als Blende")).enabled = OfferedStopRadius(d).has_value();
}

// The reference's column beside the values: its value of each row, and the rows whose shown
// values differ in bold in all three columns. A reference of the other mode leaves the column
// empty and says why in its tool tip.
void AddReferenceColumn(Builder& b, const WindowState& s, ControlView& names, ControlView& values) {
    const bool pinned = s.reference.has_value();
    std::vector<std::string> column(s.results.rows.size());
    std::vector<bool> bold(s.results.rows.size(), false);
    std::string tip;
    if (pinned && s.referenceResults) {
        const std::vector<ComparedRow> rows = CompareRows(s.results, *s.referenceResults);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            column[k] = rows[k].reference.value_or(std::string());
            bold[k] = rows[k].differs;
        }
        tip = text::Tr("Werte des als Referenz gemerkten Systems; fett: Wert weicht ab");
    } else if (pinned) {
        tip = OtherModeNote(*s.reference);
    }
    // The marks go on before the builder grows, which may move the views passed in.
    names.itemBold = bold;
    values.itemBold = bold;
    b.Add("lblResRef", text::Tr("Referenz")).visible = pinned;
    ControlView& ref = b.List("lstResRef", std::move(column), -1);
    ref.itemBold = std::move(bold);
    ref.visible = pinned;
    ref.toolTip = std::move(tip);
}

void AddReferenceButtons(Builder& b, const WindowState& s) {
    ControlView& pin = b.Add("comPinReference", text::Tr("Als Refere&nz merken"));
    pin.enabled = app::DesignSolved(s.design);
    pin.toolTip = pin.enabled ? text::Tr(
                                    "Das aktuelle System als Referenz merken: die "
                                    "Ergebnisliste und die Zeichnung zeigen es zum Vergleich")
                              : text::Tr(
                                    "Erst ein vollständig berechnetes System kann als "
                                    "Referenz gemerkt werden");
    ControlView& clear = b.Add("comClearReference", text::Tr("Referenz lösc&hen"));
    clear.enabled = s.reference.has_value();
    clear.toolTip = text::Tr("Die gemerkte Referenz vergessen");
}

void AddResults(Builder& b, const WindowState& s) {
    const app::DesignState& d = s.design;
    ControlView& status = b.Add("lblVirtualImage");
    status.visible = false;
    if (!BeamMode(s)) {
        if (const auto label = engine::UpdateConjugateStatus(app::PresentedParaxial(d))) {
            status.text = label->text;
            status.highlight = label->colour;
            status.visible = true;
        }
    }
    // In front of a blank drawing, the reason it is blank: too few parameters, or no solution.
    const engine::Selection& chosen = SlotSet(s);
    const bool noSolution = BeamMode(s) ? beam::ShowInvalidLabel(d.beam)
                                        : app::ParaxialComplete(d) && d.paraxial.bCalcInvalid;
    ControlView& invalid =
        b.Add("lblInvalidCalcs",
              text::Tr(chosen.Count() < 3 ? kChooseThreeText : beam::kInvalidLabelText));
    invalid.visible = chosen.Count() < 3 || noSolution;
    std::vector<std::string> names;
    std::vector<std::string> values;
    for (const engine::ResultRow& row : s.results.rows) {
        names.push_back(text::Tr(row.name));
        values.push_back(row.value);
    }
    ControlView& nameList = b.List("lstResNames", std::move(names), -1);
    ControlView& valueList = b.List("lstResVals", std::move(values), -1);
    AddReferenceColumn(b, s, nameList, valueList);
}

}  // namespace

const ControlView* WindowView::Find(std::string_view name) const {
    for (const ControlView& c : controls) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

std::string ControlName(std::string_view base, int index) {
    return std::string(base) + "_" + std::to_string(index);
}

std::string ValueText(const WindowState& s, ValueSet set, int index, double value) {
    const units::UnitState& u = s.design.units;
    const units::Group g = set == ValueSet::Beam       ? units::Group::GB
                           : set == ValueSet::Aperture ? units::Group::ParaxAp
                                                       : units::Group::Parax;
    const std::string_view format = set == ValueSet::Beam       ? beam::BeamFormat(index)
                                    : set == ValueSet::Aperture ? engine::ApertureFormat(index)
                                                                : engine::ParamFormat(index);
    return text::Format(value / u.UnitFactor(g, index), format) +
           std::string(u.UnitSuffix(g, index));
}

std::string ValueLabel(const WindowState& s, ValueSet set, int index) {
    switch (set) {
        case ValueSet::Beam:
            return BeamLabel(s, index);
        case ValueSet::Aperture:
            return text::Tr(engine::ApertureLabel(index)) + ":";
        case ValueSet::General:
            break;
    }
    return s.design.paraxial.symbols.ParamLabelWithSymbol(index);
}

std::string ValueBoxText(const WindowState& s, int slot) {
    const engine::Selection& sel = SlotSet(s);
    if (slot < 0 || slot >= sel.Count()) return text::Tr(kUndefinedBoxText);
    const CVarType& e = sel.At(slot + 1);
    if (AtInfinityRecord(s, e)) return text::Tr(kAtInfinityBoxText);
    return e.bVarValDef ? QuantityText(s, e.nVarType, e.sVarValue) : std::string();
}

std::string LimitBoxText(const WindowState& s, int slot, bool upper) {
    const engine::Selection& sel = SlotSet(s);
    const char* placeholder = upper ? kUpperPlaceholder : kLowerPlaceholder;
    if (slot < 0 || slot >= sel.Count()) return text::Tr(placeholder);
    const CVarType& e = sel.At(slot + 1);
    const bool defined = upper ? e.bLimHihDef : e.bLimLowDef;
    if (!defined) return text::Tr(placeholder);
    return QuantityText(s, e.nVarType, upper ? e.sLimHih : e.sLimLow);
}

std::string ApertureValueText(const WindowState& s) {
    const engine::Selection& ap = s.design.paraxial.aperture;
    if (ap.Count() == 0) return text::Tr(kUndefinedBoxText);
    const CVarType& e = ap.At(1);
    return e.bVarValDef ? ApertureQuantityText(s, e.nVarType, e.sVarValue) : std::string();
}

std::string ApertureLimitText(const WindowState& s, bool upper) {
    const engine::Selection& ap = s.design.paraxial.aperture;
    const char* placeholder = upper ? kUpperPlaceholder : kLowerPlaceholder;
    if (ap.Count() == 0) return text::Tr(placeholder);
    const CVarType& e = ap.At(1);
    if (!(upper ? e.bLimHihDef : e.bLimLowDef)) return text::Tr(placeholder);
    return ApertureQuantityText(s, e.nVarType, upper ? e.sLimHih : e.sLimLow);
}

std::string AdvancedBoxText(const WindowState& s, int box) {
    const engine::OptionState& o = s.design.paraxial.options;
    const engine::AdvancedOptions& a = o.advanced;
    switch (box) {
        case 0:
            return o.mirrorMode ? std::string("0") : text::Format(a.separation, "0.0##");
        case 1:
            return text::Format(a.n, "0.0000");
        case 2:
            return text::Format(a.nImage, "0.0000");
        default:
            return text::Format(a.wavelength, "0nm");
    }
}

bool AdvancedBoxEnabled(const WindowState& s, int box) {
    const engine::OptionState& o = s.design.paraxial.options;
    // Separation and image index mean nothing for a mirror.
    return o.advOptions && !(o.mirrorMode && (box == 0 || box == 2));
}

WindowView BuildView(const WindowState& s) {
    Builder b(s);
    // The current tab is the user's business: -1 leaves it as it is.
    b.List("tabOptions",
           {text::Tr("&Allgemeine Parameter"), text::Tr("Regler"), text::Tr("&Erweiterte Optionen"),
            text::Tr("&Verlauf")},
           -1);
    b.List("lstHistory", HistoryRowTexts(s.history), s.history.Current());
    AddParaxialSelection(b, s);
    AddBeamSelection(b, s);
    AddValueSlots(b, s);
    AddAdvanced(b, s);
    AddOptionsAndButtons(b, s);
    AddResults(b, s);
    AddReferenceButtons(b, s);
    for (const FixedCaption& c : kFixedCaptions) b.Add(c.name, text::Tr(c.text));
    WindowView view = b.Take();
    const std::string_view version = app::Version();
    view.title = s.started ? engine::WindowTitle(version, app::TitleStateOf(s.design))
                           : engine::StartupCaption(version);
    view.rewriteResultNames = s.results.rewriteNames;
    view.dofPanel = app::PresentedDofPanel(s.design);
    AddExtrasControls(s, view);
    AddMeasurementControls(s, view);
    return view;
}

}  // namespace rs::ui
