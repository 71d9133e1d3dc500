#include "app/sweep.h"

#include <cmath>
#include <limits>
#include <optional>

#include "app/parameter_names.h"
#include "app/presentation.h"
#include "beam/beam_extras.h"
#include "beam/diode.h"
#include "beam/gaussian_beam.h"
#include "engine/aperture.h"
#include "engine/numbers.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"
#include "ui/image_formats.h"

namespace rs::app {
using text::Tr;
using text::TrFormat;
namespace {

using Number = SweepNumber;

// The names a plan gives the wavelength and the detector distance (as the aperture parameters,
// the first word of what the window calls them). Kept in the design's study: never translated.
constexpr const char* kWavelengthName = "Wellenlänge";
constexpr const char* kDetectorName = "Detektor";
// The wavelengths the window's boxes accept, in nm.
constexpr double kLowestWavelength = 10.0;
constexpr double kHighestWavelength = 1e6;

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

std::string HeaderCell(std::string_view name, std::string_view unit) {
    return std::string(text::TrimBlanks(name)) + " [" + std::string(unit) + "]";
}

// Whether the text of a result-list cell shows a number for `axis`: the first axis before any
// bracket ("200.0mm    [Konkav]", " 3.1 [2.9]mm"), the second diode axis inside the brackets.
bool ShowsNumber(std::string_view cell, int axis) {
    const auto open = cell.find('[');
    std::string_view part = cell.substr(0, open);
    if (axis == 1) {
        if (open == std::string_view::npos) return false;
        part = cell.substr(open + 1, cell.find(']', open) - open - 1);
    }
    return part.find_first_of("0123456789") != std::string_view::npos;
}

struct Candidate {
    std::string name;
    std::string unit;
    DesignSweep::Source source;
    bool perAxis = false;  // in diode mode the row shows the second axis in brackets
};

std::vector<Candidate> ParaxialCandidates(const DesignState& s) {
    const engine::ParaxialDesign& d = s.paraxial;
    const engine::ReportUnits units = ParaxialUnits(s.units);
    std::vector<Candidate> c;
    for (int i : {0, 20, 1, 2, 3, 4, 5, 6, 7, 8}) {
        const engine::DisplayUnit u = units.Param(i);
        c.push_back({d.symbols.ParamLabelWithSymbol(i), u.suffix,
                     [i, f = u.factor](const DesignState& x, int) {
                         return Number{x.paraxial.paramTable.Get(i) / f, true};
                     }});
    }
    const engine::DisplayUnit focal = units.Param(engine::kFocal);
    c.push_back(
        {Tr(engine::kMirrorRadiusRow), focal.suffix, [f = focal.factor](const DesignState& x, int) {
             return Number{2.0 * x.paraxial.paramTable.Get(engine::kFocal) / f, true};
         }});
    const engine::DisplayUnit objFocal = units.Param(engine::kObjFocal);
    const auto nodal = [&](const char* prefix, int node, int principal) {
        c.push_back({Tr(prefix) + d.symbols.Cardinal(node) + d.symbols.Cardinal(principal),
                     objFocal.suffix,
                     [node, principal, f = objFocal.factor](const DesignState& x, int) {
                         const auto& p = x.paraxial.cardinal;
                         return Number{(static_cast<double>(p[static_cast<std::size_t>(node)]) -
                                        p[static_cast<std::size_t>(principal)]) /
                                           f,
                                       false};
                     }});
    };
    nodal(engine::kNodalPoint1Row, engine::kN, engine::kP);
    nodal(engine::kNodalPoint2Row, engine::kNImage, engine::kPImage);
    for (int k = 0; k < engine::kApertureCount; ++k) {
        const engine::DisplayUnit u = units.Aperture(k);
        c.push_back(
            {Tr(engine::ApertureLabel(k)), u.suffix, [k, f = u.factor](const DesignState& x, int) {
                 return Number{std::fabs(x.paraxial.apertureTable.Get(k)) / f, true};
             }});
    }
    const engine::DisplayUnit fNumber = units.Aperture(engine::kFNumber);
    c.push_back({Tr(engine::kEffectiveFNumberRow), fNumber.suffix,
                 [f = fNumber.factor](const DesignState& x, int) {
                     return Number{std::fabs(engine::EffectiveFNumber(x.paraxial)) / f, true};
                 }});
    c.push_back({Tr(engine::kMtfCutOffRow), "lp/mm", [](const DesignState& x, int) {
                     return Number{x.paraxial.mtfCutOff, true};
                 }});
    return c;
}

std::vector<Candidate> BeamCandidates(const DesignState& s) {
    const beam::BeamDesign& d = s.beam;
    const beam::BeamReportContext context = BeamReportContextOf(s);
    std::vector<Candidate> c;
    c.push_back(
        {Tr("MultiMode: M²"), "",
         [](const DesignState& x, int axis) {
             return Number{axis == 0 ? x.beam.extrasOptions.mFactor : x.beam.diode.mFactor, false};
         },
         true});
    const auto axisValue = [](int index, double factor) {
        return [index, factor](const DesignState& x, int axis) {
            const double m = beam::ScalesWithM(index) ? beam::MFactor(x.beam, axis) : 1.0;
            return Number{x.beam.Axis(axis).table[static_cast<std::size_t>(index)] / factor * m,
                          false};
        };
    };
    const auto extraValue = [](int extra, double factor, bool withM) {
        return [extra, factor, withM](const DesignState& x, int axis) {
            const double m = withM ? beam::MFactor(x.beam, axis) : 1.0;
            return Number{x.beam.Axis(axis).extras[static_cast<std::size_t>(extra)] * m / factor,
                          false};
        };
    };
    const auto add = [&](std::string name, std::string unit, DesignSweep::Source value,
                         bool perAxis) {
        c.push_back({std::move(name), std::move(unit), std::move(value), perAxis});
    };
    for (int i = beam::kGbFocal; i <= beam::kGbImgRayleigh; ++i) {
        const engine::DisplayUnit u = context.Unit(i);
        add(beam::BeamLabel(d, i), u.suffix, axisValue(i, u.factor), true);
    }
    const engine::DisplayUnit objFocal = context.Unit(beam::kGbObjFocal);
    add(beam::BeamLabel(d, beam::kGbObjFocal), objFocal.suffix,
        axisValue(beam::kGbObjFocal, objFocal.factor), true);
    const engine::DisplayUnit focal = context.Unit(beam::kGbFocal);
    add(Tr(engine::kMirrorRadiusRow), focal.suffix, axisValue(beam::kGbFocal, focal.factor / 2.0),
        false);
    const engine::DisplayUnit image = context.Unit(beam::kGbParaxImage);
    add(Tr(beam::BeamLongName(beam::kGbParaxImage)), image.suffix,
        axisValue(beam::kGbParaxImage, image.factor), false);
    const engine::DisplayUnit objRadius = context.Unit(beam::kGbObjRadius);
    const engine::DisplayUnit imgRadius = context.Unit(beam::kGbImgRadius);
    add(Tr(beam::ExtraName(beam::kExRadiusAtElement)), objRadius.suffix,
        extraValue(beam::kExRadiusAtElement, objRadius.factor, true), true);
    add(Tr(beam::ExtraName(beam::kExRadiusAtDetector)) + ": " +
            d.symbols.Extra(beam::kExRadiusAtDetector),
        imgRadius.suffix, extraValue(beam::kExRadiusAtDetector, imgRadius.factor, true), true);
    add(Tr(beam::ExtraName(beam::kExAiry)) + ": " + d.symbols.Extra(beam::kExAiry),
        imgRadius.suffix, extraValue(beam::kExAiry, imgRadius.factor, false), true);
    add(Tr(beam::ExtraName(beam::kExRatioS)), "", extraValue(beam::kExRatioS, 1, false), false);
    add(Tr(beam::ExtraName(beam::kExRatioSImage)), "", extraValue(beam::kExRatioSImage, 1, false),
        false);
    return c;
}

}  // namespace

std::variant<SweepPlan, std::string> ParseSweep(std::string_view text) {
    const std::string usage = "--sweep " + Quoted(text) + ": ";
    const auto eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        return usage + Tr("erwartet NAME=VON:BIS:SCHRITTE, z. B. a=-1000:-150:100");
    }
    SweepPlan plan;
    plan.name = std::string(text.substr(0, eq));
    const std::vector<std::string_view> parts = text::SplitFields(text.substr(eq + 1), ':');
    if (parts.size() != 3) {
        return usage + Tr("erwartet NAME=VON:BIS:SCHRITTE, z. B. a=-1000:-150:100");
    }
    const auto number = [](std::string_view s) -> std::optional<double> {
        const auto v = text::ParseTypedNumber(s);
        if (!v || !std::isfinite(*v)) return std::nullopt;
        return v;
    };
    const auto from = number(parts[0]);
    if (!from) return usage + TrFormat("VON \"%1\" ist keine endliche Zahl", {parts[0]});
    const auto to = number(parts[1]);
    if (!to) return usage + TrFormat("BIS \"%1\" ist keine endliche Zahl", {parts[1]});
    const std::string_view steps = text::TrimBlanks(parts[2]);
    std::int64_t n = 0;
    const bool digits = !steps.empty() && steps.size() <= 7 &&
                        steps.find_first_not_of("0123456789") == std::string_view::npos;
    if (digits) {
        for (char ch : steps) n = n * 10 + (ch - '0');
    }
    if (!digits || n < 1 || n > kMaxSweepSteps) {
        return usage + TrFormat("SCHRITTE \"%1\" ist keine ganze Zahl von 1 bis %2",
                                {parts[2], std::to_string(kMaxSweepSteps)});
    }
    plan.from = *from;
    plan.to = *to;
    plan.steps = n;
    return plan;
}

double SweepValue(const SweepPlan& plan, std::int64_t step) {
    if (plan.steps <= 1 || step <= 0) return plan.from;
    if (step >= plan.steps - 1) return plan.to;
    const double t = static_cast<double>(step) / static_cast<double>(plan.steps - 1);
    if (plan.logarithmic && plan.from * plan.to > 0) {
        return plan.from * std::pow(plan.to / plan.from, t);
    }
    // Weighted, not from + (to − from)·t: the difference of two huge values of opposite sign
    // would overflow to infinity although every value between them is finite.
    return plan.from * (1.0 - t) + plan.to * t;
}

std::vector<SweepParameter> SweepParameters(const DesignState& design) {
    const units::UnitState& u = design.units;
    std::vector<SweepParameter> list;
    const auto add = [&](const engine::CVarType& e, std::string name, std::string label,
                         units::Group group, bool aperture) {
        SweepParameter p{std::move(name),
                         std::move(label),
                         std::string(u.UnitSuffix(group, e.nVarType)),
                         e.nVarType,
                         aperture,
                         aperture ? SweepTarget::Aperture : SweepTarget::Chosen,
                         u.UnitFactor(group, e.nVarType)};
        p.value = e.sVarValue / p.factor;
        p.limits = e.bLimLowDef && e.bLimHihDef;
        p.low = e.sLimLow / p.factor;
        p.high = e.sLimHih / p.factor;
        list.push_back(std::move(p));
    };
    // The wavelength in nm, as its box shows it, over the range its box accepts.
    const auto addWavelength = [&](double nm) {
        SweepParameter p{kWavelengthName, text::Tr("Wellenlänge"), "nm", 0,
                         false,           SweepTarget::Wavelength};
        p.value = nm;
        p.limits = true;
        p.low = kLowestWavelength;
        p.high = kHighestWavelength;
        list.push_back(std::move(p));
    };
    if (design.beam.beamMode) {
        for (const engine::CVarType& e : design.beam.axes[0].selection.Entries()) {
            add(e, design.beam.symbols.Param(e.nVarType), beam::BeamLabel(design.beam, e.nVarType),
                units::Group::GB, false);
        }
        addWavelength(design.beam.WavelengthNm());
        // The detector's distance, in the unit of the distance boxes; it has no slider, so a
        // study runs from half to one and a half times it.
        if (design.beam.extrasOptions.detectorOn) {
            SweepParameter p{kDetectorName,
                             text::Tr("Detektorabstand"),
                             std::string(u.UnitSuffix(units::Group::GBExtra, 0)),
                             0,
                             false,
                             SweepTarget::Detector,
                             u.UnitFactor(units::Group::GBExtra, 0)};
            p.value = design.beam.extrasOptions.detectorDistance / p.factor;
            list.push_back(std::move(p));
        }
        return list;
    }
    for (const engine::CVarType& e : design.paraxial.params.Entries()) {
        add(e, design.paraxial.symbols.Param(e.nVarType),
            design.paraxial.symbols.ParamLabelWithSymbol(e.nVarType), units::Group::Parax, false);
    }
    // Aperture parameters have no symbol: the first word of their name ("Blendenzahl").
    for (const engine::CVarType& e : design.paraxial.aperture.Entries()) {
        const std::string_view label = engine::ApertureLabel(e.nVarType);
        add(e, std::string(label.substr(0, label.find(' '))), Tr(label), units::Group::ParaxAp,
            true);
    }
    // The Airy radius, the MTF cut-off and the depth of field follow the wavelength only while
    // the advanced options are on; without them the standard wavelength holds.
    if (design.paraxial.options.advOptions) addWavelength(design.paraxial.options.TestWavelength());
    return list;
}

std::variant<SweepParameter, std::string> FindSweptParameter(const DesignState& loaded,
                                                             const std::string& name) {
    const std::vector<SweepParameter> list = SweepParameters(loaded);
    for (const SweepParameter& p : list) {
        if (name == p.name) return p;
        if (p.target == SweepTarget::Chosen && name == std::to_string(p.index)) return p;
    }
    std::string chosen;
    for (const auto& p : list) chosen += (chosen.empty() ? "" : ", ") + p.name;
    return NotChosenText("--sweep", name, chosen);
}

std::variant<DesignSweep, std::string> DesignSweep::Prepare(const DesignState& loaded,
                                                            const SweepPlan& plan) {
    const auto parameter = FindSweptParameter(loaded, plan.name);
    if (auto* message = std::get_if<std::string>(&parameter)) return *message;
    const SweepParameter p = std::get<SweepParameter>(parameter);
    const bool beamMode = loaded.beam.beamMode;
    if (!beamMode && p.target == SweepTarget::Chosen && p.index == engine::kObjDist &&
        loaded.paraxial.options.objAtInfinity) {
        return "--sweep: " +
               TrFormat("\"%1\" lässt sich nicht variieren: das Objekt steht im Unendlichen",
                        {plan.name});
    }
    DesignSweep sweep(loaded, plan);
    sweep.beam_ = beamMode;
    sweep.index_ = p.index;
    sweep.aperture_ = p.aperture;
    sweep.target_ = p.target;
    sweep.factor_ = p.factor;
    sweep.AddHeader(p.label, p.unit, 0);
    sweep.AddColumns(text::TrimBlanks(p.label));
    return sweep;
}

void DesignSweep::AddHeader(std::string_view name, std::string_view unit, int axis) {
    header_.push_back(HeaderCell(name, unit));
    names_.push_back({std::string(text::TrimBlanks(name)), std::string(unit), axis});
}

void DesignSweep::AddColumns(std::string_view sweptName) {
    // The rows the list shows for this design's structure; their values do not matter here.
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    const engine::ResultList rows = ResultRows(state_, false, cache, beamCache);
    const std::vector<Candidate> candidates =
        beam_ ? BeamCandidates(state_) : ParaxialCandidates(state_);
    const bool diode = beam_ && state_.beam.diode.diodeMode;
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        const std::string_view name = text::TrimBlanks(rows.rows[r].name);
        // The swept row is the first column already; a diode's second axis still has its own.
        const bool swept = name == sweptName;
        for (const Candidate& c : candidates) {
            if (text::TrimBlanks(c.name) != name) continue;
            if (!swept) {
                AddHeader(name, c.unit, 0);
                columns_.push_back({r, 0, c.source});
            }
            if (diode && c.perAxis) {
                header_.push_back(HeaderCell(std::string(name) + Tr(" (2. Achse)"), c.unit));
                names_.push_back({std::string(name), c.unit, 1});
                columns_.push_back({r, 1, c.source});
            }
            break;
        }
    }
}

bool DesignSweep::SetSweptValue(double displayValue) {
    const double v = displayValue * factor_;
    if (!engine::FitsFloat(v)) return false;
    if (target_ == SweepTarget::Wavelength) {
        // Beyond what the box accepts the step has no solution, as a field angle beyond ±90°.
        if (!(v >= kLowestWavelength && v <= kHighestWavelength)) return false;
        if (beam_) {
            state_.beam.SetWavelengthNm(v);
        } else {
            state_.paraxial.options.advanced.wavelength = static_cast<float>(v);
        }
        return true;
    }
    if (target_ == SweepTarget::Detector) {
        state_.beam.extrasOptions.detectorDistance = v;
        return true;
    }
    if (beam_) {
        if (!beam::SetSelectedValue(state_.beam, 0, index_, v)) return false;
        // While circularising, f' and s of the first axis move together, as when typed.
        if (const auto partner = beam::CoupledConjugateValue(state_.beam, index_, v)) {
            beam::SetSelectedValue(state_.beam, 0, partner->index, partner->value);
        }
        return true;
    }
    engine::Selection& sel = aperture_ ? state_.paraxial.aperture : state_.paraxial.params;
    const auto pos = sel.Find(index_);
    if (!pos) return false;
    // The window refuses a field angle beyond ±90°: such a step has no solution.
    if (!aperture_ && engine::IsFieldAngle(index_) && !engine::FieldAngleInRange(v)) return false;
    if (aperture_) {
        engine::CVarType& e = sel.Entry(*pos);
        e.sVarValue = static_cast<float>(v);
        e.bVarValDef = true;
    } else {
        ui::SetGeneralValue(state_, sel.Entry(*pos), static_cast<float>(v));
    }
    return true;
}

std::uint32_t DesignSweep::Situation() const {
    // Everything the result list's texts branch on between a number and a word or a blank
    // ("unendlich", "----", an empty image-side row); the values themselves do not matter.
    std::uint32_t key = 0;
    int bit = 0;
    const auto flag = [&](bool b) { key |= static_cast<std::uint32_t>(b) << bit++; };
    if (beam_) {
        const beam::BeamDesign& b = state_.beam;
        for (int axis = 0; axis < b.AxisCount(); ++axis) {
            const beam::BeamAxis& a = b.Axis(axis);
            flag(a.resultInvalid);
            flag(a.objBeamMissing);
            flag(a.imgBeamMissing);
            // The image distance row compares in single precision, the Airy row in double.
            flag(std::fabs(static_cast<float>(a.table[beam::kGbParaxImage])) >=
                 static_cast<float>(beam::kParaxImageAtInfinity));
            flag(std::fabs(a.table[beam::kGbParaxImage]) >= beam::kParaxImageAtInfinity);
            flag(a.table[beam::kGbObjFocal] == 0);
        }
        return key;
    }
    const engine::ParaxialDesign& d = state_.paraxial;
    flag(engine::ImageAtInfinity(d));
    flag(d.paramTable.Get(engine::kObjDist) == engine::kInfinity);
    flag(d.bApertureUndefined);
    flag(std::fabs(engine::EffectiveFNumber(d)) > 10000);
    return key;
}

const std::vector<bool>& DesignSweep::ShownNumbers() {
    // Formatting the whole list costs far more than a solve, and which rows show a number
    // changes only with the situation: the texts are made once per situation, not per step.
    const std::uint32_t key = Situation();
    for (const auto& [k, shown] : shownCache_) {
        if (k == key) return shown;
    }
    engine::ResultListCache cache;
    beam::BeamListCache beamCache;
    const engine::ResultList rows = ResultRows(state_, false, cache, beamCache);
    std::vector<bool> shown(columns_.size());
    for (std::size_t k = 0; k < columns_.size(); ++k) {
        const Column& c = columns_[k];
        shown[k] = c.row < rows.rows.size() && ShowsNumber(rows.rows[c.row].value, c.axis);
    }
    shownCache_.emplace_back(key, std::move(shown));
    return shownCache_.back().second;
}

Number DesignSweep::SweptValue() const {
    // The value as the design computes with it, in display units: the parameter tables and the
    // paraxial wavelength in single precision, the beam's wavelength and detector in double.
    switch (target_) {
        case SweepTarget::Wavelength:
            if (beam_) return {state_.beam.WavelengthNm(), false};
            return {state_.paraxial.options.advanced.wavelength, true};
        case SweepTarget::Detector:
            // The beam is followed to the whole millimetre the detector stands at.
            return {beam::DetectorDistance(state_.beam.extrasOptions) / factor_, false};
        case SweepTarget::Chosen:
        case SweepTarget::Aperture:
            break;
    }
    const engine::Selection& sel = beam_       ? state_.beam.axes[0].selection
                                   : aperture_ ? state_.paraxial.aperture
                                               : state_.paraxial.params;
    return {sel.Value(*sel.Find(index_)) / factor_, true};
}

bool DesignSweep::Step(std::int64_t step, std::vector<Number>& numbers) {
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    numbers.assign(header_.size(), Number{kNone, false});
    const double value = SweepValue(plan_, step);
    if (!SetSweptValue(value)) {
        numbers[0] = {value, false};
        return false;
    }
    numbers[0] = SweptValue();
    SolveDesign(state_, false);
    if (!DesignSolved(state_)) return false;
    const std::vector<bool>& shown = ShownNumbers();
    for (std::size_t k = 0; k < columns_.size(); ++k) {
        if (shown[k]) numbers[k + 1] = columns_[k].source(state_, columns_[k].axis);
    }
    return true;
}

SweepOutcome DesignSweep::Run(const SweepSink& sink) {
    SweepOutcome outcome;
    std::vector<Number> numbers;
    for (std::int64_t step = 0; step < plan_.steps; ++step) {
        const bool solved = Step(step, numbers);
        if (!solved) ++outcome.unsolved;
        if (!sink(SweepRow{step, solved, numbers})) {
            outcome.stopped = true;
            break;
        }
    }
    return outcome;
}

}  // namespace rs::app
