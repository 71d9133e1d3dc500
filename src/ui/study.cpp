#include "ui/study.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "app/sweep_csv.h"
#include "beam/beam_report.h"
#include "engine/catalogue.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"
#include "text/vb_format.h"
#include "ui/main_window.h"

namespace rs::ui {
namespace {

const app::StudyChoice& ChoiceOf(const app::DesignState& d) {
    return d.beam.beamMode ? d.studyBeam : d.study;
}

// The parameters a study can run: the chosen ones, but not an object distance at infinity.
std::vector<app::SweepParameter> Runnable(const app::DesignState& d) {
    std::vector<app::SweepParameter> list = app::SweepParameters(d);
    if (!d.beam.beamMode && d.paraxial.options.objAtInfinity) {
        std::erase_if(list, [](const app::SweepParameter& p) {
            return p.target == app::SweepTarget::Chosen && p.index == engine::kObjDist;
        });
    }
    return list;
}

// The result rows a study can plot against `parameter` (the first axis' names once each).
std::vector<std::string> Quantities(const app::DesignState& d, const std::string& parameter) {
    std::vector<std::string> names;
    const auto sweep = app::DesignSweep::Prepare(d, {parameter, 0, 1, 1});
    if (const auto* s = std::get_if<app::DesignSweep>(&sweep)) {
        for (std::size_t k = 1; k < s->Names().size(); ++k) {
            const auto& n = s->Names()[k];
            if (n.axis == 0) names.push_back(n.name);
        }
    }
    return names;
}

// The result row a new study plots: the image distance, or the image waist in the beam mode.
std::string DefaultQuantity(const app::DesignState& d) {
    if (d.beam.beamMode)
        return std::string(text::TrimBlanks(beam::BeamLabel(d.beam, beam::kGbImgRadius)));
    return std::string(text::TrimBlanks(d.paraxial.symbols.ParamLabelWithSymbol(engine::kImgDist)));
}

bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

int IndexOf(const std::vector<std::string>& list, const std::string& name) {
    const auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

// A number of the read-out and the range boxes: plain decimals, exponent form far from 1.
std::string NumberText(double v) {
    const double m = std::fabs(v);
    if (m != 0 && (m >= 1e6 || m < 1e-3)) return text::Format(v, "0.0##e+0#");
    return text::Format(v, "0.0###");
}

void Store(MainWindow& window, const std::function<void(app::StudyChoice&)>& change) {
    const std::optional<Study> study = ResolveStudy(window.State().design);
    if (!study) return;
    // The choice the window shows, with its defaults written out, is what the user changes.
    app::StudyChoice c = ChoiceOf(window.State().design);
    c.parameter = study->plan.name;
    c.quantity = study->quantity;
    c.quantity2 = study->quantity2;
    change(c);
    window.ChooseStudy(c);
}

}  // namespace

bool LogarithmicOffered(double from, double to) {
    if (!(from * to > 0)) return false;
    const double ratio = std::fabs(to / from);
    return std::max(ratio, 1 / ratio) > 100.0;
}

std::optional<Study> ResolveStudy(const app::DesignState& d) {
    const std::vector<app::SweepParameter> list = Runnable(d);
    if (list.empty()) return std::nullopt;
    const app::StudyChoice& c = ChoiceOf(d);
    const int objectDistance =
        d.beam.beamMode ? static_cast<int>(beam::kGbObjDist) : static_cast<int>(engine::kObjDist);
    auto chosen = std::find_if(list.begin(), list.end(),
                               [&](const app::SweepParameter& p) { return p.name == c.parameter; });
    const bool ownRange = chosen != list.end() && c.rangeSet;
    if (chosen == list.end()) {
        chosen = std::find_if(list.begin(), list.end(), [&](const app::SweepParameter& p) {
            return p.target == app::SweepTarget::Chosen && p.index == objectDistance;
        });
    }
    if (chosen == list.end()) chosen = list.begin();
    Study s{*chosen, {chosen->name, 0, 0, 1}, {}, {}};
    const app::SweepParameter& p = s.parameter;
    if (ownRange) {
        s.plan.from = c.from;
        s.plan.to = c.to;
    } else if (p.limits && p.low != p.high) {
        s.plan.from = p.low;
        s.plan.to = p.high;
    } else {
        // Without slider limits: half and one and a half times the value.
        const double half = p.value == 0 ? 1.0 : std::fabs(p.value) / 2;
        s.plan.from = p.value - half;
        s.plan.to = p.value + half;
    }
    s.plan.logarithmic = c.logarithmic && LogarithmicOffered(s.plan.from, s.plan.to);
    const std::vector<std::string> quantities = Quantities(d, s.plan.name);
    const std::string fallback = DefaultQuantity(d);
    if (Contains(quantities, c.quantity)) {
        s.quantity = c.quantity;
    } else if (Contains(quantities, fallback)) {
        s.quantity = fallback;
    } else if (!quantities.empty()) {
        s.quantity = quantities.front();
    }
    if (c.quantity2 != s.quantity && Contains(quantities, c.quantity2)) s.quantity2 = c.quantity2;
    return s;
}

StudyView StudyViewOf(const app::DesignState& d) {
    StudyView v;
    const std::optional<Study> s = ResolveStudy(d);
    if (!s) return v;
    for (const app::SweepParameter& p : Runnable(d)) {
        if (p.name == s->plan.name) v.parameter = static_cast<int>(v.parameters.size());
        v.parameters.push_back(text::Tr(text::TrimBlanks(p.label)));
    }
    v.quantities = Quantities(d, s->plan.name);
    v.quantity = IndexOf(v.quantities, s->quantity);
    v.quantity2 = IndexOf(v.quantities, s->quantity2);
    // The names are the keys the choice is kept under; only the shown list is translated.
    for (std::string& q : v.quantities) q = text::Tr(q);
    v.fromText = NumberText(s->plan.from);
    v.toText = NumberText(s->plan.to);
    v.unit = s->parameter.unit;
    v.logOffered = LogarithmicOffered(s->plan.from, s->plan.to);
    v.logarithmic = s->plan.logarithmic;
    return v;
}

namespace {

// The reference swept as the design's study sweeps: the same parameter, range and results.
// Nothing when the reference does not have that parameter among its chosen ones.
std::vector<drawing::StudySeries> ReferenceCurves(const Study& s, const app::DesignState& reference,
                                                  std::int64_t points) {
    app::DesignState r = reference;
    app::StudyChoice& c = r.beam.beamMode ? r.studyBeam : r.study;
    c = {s.plan.name, true, s.plan.from, s.plan.to, s.plan.logarithmic, s.quantity, s.quantity2};
    const std::optional<Study> same = ResolveStudy(r);
    if (!same || same->plan.name != s.plan.name || same->quantity != s.quantity) return {};
    std::vector<drawing::StudySeries> curves = ComputeStudy(r, points).series;
    for (drawing::StudySeries& curve : curves) curve.reference = true;
    return curves;
}

}  // namespace

drawing::StudyPlotData ComputeStudy(const app::DesignState& d, std::int64_t points,
                                    const app::DesignState* reference) {
    drawing::StudyPlotData data;
    const std::optional<Study> s = ResolveStudy(d);
    if (!s) {
        data.note = text::Tr("Kein Parameter gewählt, der sich variieren lässt");
        return data;
    }
    app::SweepPlan plan = s->plan;
    plan.steps = std::max<std::int64_t>(2, points);
    data.xFrom = plan.from;
    data.xTo = plan.to;
    data.xScale = plan.logarithmic ? drawing::AxisScale::Logarithmic : drawing::AxisScale::Linear;
    data.current = s->parameter.value;
    auto prepared = app::DesignSweep::Prepare(d, plan);
    auto* sweep = std::get_if<app::DesignSweep>(&prepared);
    if (!sweep) {
        data.note = text::Tr(std::get<std::string>(prepared));
        return data;
    }
    data.xTitle = sweep->Header()[0];
    // The columns drawn: each chosen result, and its second diode axis where there is one.
    struct Drawn {
        std::size_t column;
        std::size_t series;
    };
    std::vector<Drawn> drawn;
    const auto& names = sweep->Names();
    for (std::size_t k = 1; k < names.size(); ++k) {
        const bool first = names[k].name == s->quantity;
        const bool second = !s->quantity2.empty() && names[k].name == s->quantity2;
        if (!first && !second) continue;
        if (names[k].axis == 0) (first ? data.yTitle : data.y2Title) = sweep->Header()[k];
        drawn.push_back({k, data.series.size()});
        data.series.push_back({{}, second, names[k].axis == 1});
        data.series.back().points.reserve(static_cast<std::size_t>(plan.steps));
    }
    bool any = false;
    sweep->Run([&](const app::SweepRow& row) {
        const double x = row.numbers[0].value;
        for (const Drawn& c : drawn) {
            const double y = row.numbers[c.column].value;
            any = any || std::isfinite(y);
            data.series[c.series].points.push_back({x, y});
        }
        return true;
    });
    if (!any) data.note = text::Tr("Keine Lösung in diesem Bereich");
    if (reference && reference->beam.beamMode == d.beam.beamMode) {
        for (drawing::StudySeries& curve : ReferenceCurves(*s, *reference, points)) {
            data.series.push_back(std::move(curve));
        }
    }
    return data;
}

std::optional<StudyHover> StudyHoverAt(const drawing::PlotFrame& frame,
                                       const drawing::StudyPlotData& data, double px, double py) {
    if (!drawing::ReadOutAt(frame, px, py)) return std::nullopt;
    const auto pick = drawing::NearestStudyPoint(frame, data, px, py);
    if (!pick) return std::nullopt;
    const drawing::StudySeries& s = data.series[pick->series];
    const drawing::DataPoint& p = s.points[pick->point];
    const auto named = [](const std::string& title, double v) {
        // "a: Objektweite [mm]" reads "a: Objektweite = -500.0 mm".
        const auto open = title.rfind(" [");
        if (open == std::string::npos) return title + " = " + NumberText(v);
        const std::string unit = title.substr(open + 2, title.size() - open - 3);
        return title.substr(0, open) + " = " + NumberText(v) + (unit.empty() ? "" : " " + unit);
    };
    std::string y = named(s.rightAxis ? data.y2Title : data.yTitle, p.y);
    if (s.secondAxis) y += text::Tr(" (2. Achse)");
    return StudyHover{named(data.xTitle, p.x) + "   " + y, p.x};
}

std::variant<app::StudyChoice, std::string> StudyChoiceOfPlan(
    const app::DesignState& d, const app::SweepPlan& plan,
    const std::vector<std::string>& quantities) {
    const auto parameter = app::FindSweptParameter(d, plan.name);
    if (const auto* message = std::get_if<std::string>(&parameter)) return *message;
    app::StudyChoice c;
    c.parameter = std::get<app::SweepParameter>(parameter).name;
    c.rangeSet = plan.from != plan.to;
    c.from = plan.from;
    c.to = plan.to;
    const std::vector<std::string> offered = Quantities(d, c.parameter);
    for (std::size_t k = 0; k < quantities.size() && k < 2; ++k) {
        const std::string name(text::TrimBlanks(quantities[k]));
        if (!Contains(offered, name)) {
            return text::TrFormat("--y: \"%1\" ist keine Zeile der Ergebnisliste mit einer Zahl",
                                  {quantities[k]});
        }
        (k == 0 ? c.quantity : c.quantity2) = name;
    }
    return c;
}

void SetStudyChoice(app::DesignState& d, app::StudyChoice choice) {
    (d.beam.beamMode ? d.studyBeam : d.study) = std::move(choice);
}

std::string StudyCaption(const app::DesignState& d) {
    const std::optional<Study> s = ResolveStudy(d);
    if (!s) return {};
    const auto cell = [](std::string_view name, std::string_view unit) {
        return std::string(text::TrimBlanks(name)) + " [" + std::string(unit) + "]";
    };
    const auto sweep = app::DesignSweep::Prepare(d, {s->plan.name, 0, 1, 1});
    const auto* prepared = std::get_if<app::DesignSweep>(&sweep);
    if (!prepared) return {};
    // The results by their columns' headers, the first axis' column of each.
    std::string y;
    for (const std::string& q : {s->quantity, s->quantity2}) {
        for (std::size_t k = 1; k < prepared->Names().size() && !q.empty(); ++k) {
            const auto& n = prepared->Names()[k];
            if (n.axis != 0 || n.name != q) continue;
            y = y.empty() ? cell(n.name, n.unit)
                          : text::TrFormat("%1 und %2", {y, cell(n.name, n.unit)});
            break;
        }
    }
    const std::string x = cell(s->parameter.label, s->parameter.unit);
    const std::string from = NumberText(s->plan.from);
    const std::string to = NumberText(s->plan.to);
    return s->plan.logarithmic
               ? text::TrFormat("Studie: %1 über %2 von %3 bis %4 (logarithmisch)",
                                {y, x, from, to})
               : text::TrFormat("Studie: %1 über %2 von %3 bis %4", {y, x, from, to});
}

drawing::StudyPlotData AddStudyToReport(engine::ReportPage& page, const app::DesignState& d) {
    engine::ReportWriter out(page);
    out.Blank();
    const std::string caption = StudyCaption(d);
    if (!caption.empty()) out.Heading(caption);
    return ComputeStudy(d, kStudyPoints);
}

std::string StudyCsv(const app::DesignState& d, std::int64_t steps) {
    const std::optional<Study> s = ResolveStudy(d);
    if (!s) return {};
    app::SweepPlan plan = s->plan;
    plan.steps = steps;
    auto prepared = app::DesignSweep::Prepare(d, plan);
    auto* sweep = std::get_if<app::DesignSweep>(&prepared);
    if (!sweep) return {};
    std::string csv;
    app::WriteSweepCsv({{"", sweep}}, [&](std::string_view chunk) {
        csv += chunk;
        return true;
    });
    return csv;
}

void ChooseStudyParameter(MainWindow& window, int entry) {
    const std::vector<app::SweepParameter> list = Runnable(window.State().design);
    if (entry < 0 || entry >= static_cast<int>(list.size())) return;
    Store(window, [&](app::StudyChoice& c) {
        if (c.parameter == list[static_cast<std::size_t>(entry)].name) return;
        // A new parameter starts over its own slider range.
        c.parameter = list[static_cast<std::size_t>(entry)].name;
        c.rangeSet = false;
        c.logarithmic = false;
    });
}

void ChooseStudyQuantity(MainWindow& window, bool second, int entry) {
    const std::optional<Study> s = ResolveStudy(window.State().design);
    if (!s) return;
    const std::vector<std::string> list = Quantities(window.State().design, s->plan.name);
    const std::string name = entry >= 0 && entry < static_cast<int>(list.size())
                                 ? list[static_cast<std::size_t>(entry)]
                                 : std::string();
    if (!second && name.empty()) return;
    Store(window, [&](app::StudyChoice& c) { (second ? c.quantity2 : c.quantity) = name; });
}

void ApplyStudyRange(MainWindow& window, bool upper, std::string_view text) {
    const std::optional<Study> s = ResolveStudy(window.State().design);
    const auto v = text::ParseTypedNumber(text);
    if (!s || !v || !std::isfinite(*v)) return;
    const double from = upper ? s->plan.from : *v;
    const double to = upper ? *v : s->plan.to;
    if (from == to || (from == s->plan.from && to == s->plan.to)) return;
    Store(window, [&](app::StudyChoice& c) {
        c.rangeSet = true;
        c.from = from;
        c.to = to;
    });
}

void SetStudyLogarithmic(MainWindow& window, bool on) {
    Store(window, [&](app::StudyChoice& c) { c.logarithmic = on; });
}

}  // namespace rs::ui
