#include "cli/design_edits.h"

#include <algorithm>
#include <iostream>

#include "app/held_lens.h"
#include "app/ini_file.h"
#include "app/parameter_names.h"
#include "app/presentation.h"
#include "app/settings.h"
#include "engine/catalogue.h"
#include "text/file_read.h"
#include "text/strings.h"
#include "text/tr.h"
#include "ui/catalogue_lens_choice.h"
#include "ui/entry_rules.h"
#include "units/typed_number.h"

namespace rs::cli {
using text::Tr;
using text::TrFormat;
namespace {

namespace fs = std::filesystem;

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

std::string Once(std::string_view name) {
    return TrFormat("\"%1\" darf nur einmal angegeben werden", {name});
}

// The window's messages span lines and end in blanks; the command line says each in one line.
std::string OneLine(std::string_view message) {
    std::string line;
    bool blank = false;
    for (char c : text::TrimBlanks(message, " \t\r\n")) {
        if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
            blank = true;
            continue;
        }
        if (blank && !line.empty()) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

std::vector<std::string> SplitNames(std::string_view text) {
    std::vector<std::string> names;
    for (std::string_view part : text::SplitFields(text, ','))
        names.emplace_back(text::TrimBlanks(part));
    return names;
}

// Standard input up to the size a settings file may have; nothing when it holds more.
std::optional<std::string> ReadStandardInput(std::size_t maxBytes) {
    std::string bytes;
    char buffer[1 << 16];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
        if (bytes.size() > maxBytes) return std::nullopt;
    }
    return bytes;
}

// The state of a design read from `bytes`, as the window loads its settings file at start-up.
std::optional<std::string> LoadFromBytes(LoadedDesign& loaded) {
    const app::IniFile ini = app::IniFile::FromText(loaded.file, loaded.bytes);
    if (!ini.ReadProblem().empty()) return ini.ReadProblem();
    loaded.state = app::DesignState{};
    app::LoadSettings(ini, loaded.state);
    return std::nullopt;
}

std::optional<std::string> ApplyChoose(std::string_view text, app::DesignState& d) {
    const std::string usage = "--choose " + Quoted(text) + ": ";
    std::vector<app::NamedParameter> wanted;
    int general = 0;
    int aperture = 0;
    for (const std::string& name : SplitNames(text)) {
        const auto p = app::FindParameter(d, name, false);
        if (!p) {
            std::string offered;
            for (const app::ParameterName& n : app::ParameterNames(d, false))
                offered += (offered.empty() ? "" : ", ") + n.name;
            return usage +
                   TrFormat("\"%1\" ist kein Parameter des Systems (möglich: %2)", {name, offered});
        }
        if (std::find(wanted.begin(), wanted.end(), *p) != wanted.end()) {
            return usage + TrFormat("\"%1\" ist zweimal genannt", {name});
        }
        wanted.push_back(*p);
        ++(p->aperture ? aperture : general);
    }
    if (general > 3 || aperture > 1) {
        return usage + Tr("höchstens drei Parameter und ein Aperturparameter");
    }
    const auto choose = [&](app::NamedParameter p, bool checked) {
        if (d.beam.beamMode) return ui::ChooseBeamParam(d, p.index, checked);
        return p.aperture ? ui::ChooseAperture(d, p.index, checked)
                          : ui::ChooseParam(d, p.index, checked);
    };
    // As a user makes room first: the boxes no longer wanted are unchecked, then the others
    // checked in the order given, each refused as the window refuses it.
    for (const app::ParameterName& n : app::ParameterNames(d, true)) {
        if (std::find(wanted.begin(), wanted.end(), n.parameter) != wanted.end()) continue;
        if (auto message = choose(n.parameter, false).message) return usage + OneLine(*message);
    }
    for (const app::NamedParameter& p : wanted) {
        if (auto message = choose(p, true).message) return usage + OneLine(*message);
    }
    // A box the window keeps unchecked without a word (a beam box circularisation disables).
    for (const std::string& name : SplitNames(text)) {
        if (!app::FindParameter(d, name, true)) {
            return usage + TrFormat("\"%1\" lässt sich in diesem System nicht wählen", {name});
        }
    }
    return std::nullopt;
}

std::optional<std::string> ApplySet(std::string_view text, app::DesignState& d) {
    const std::string usage = "--set " + Quoted(text) + ": ";
    const auto eq = text.find('=');
    const std::string name(text::TrimBlanks(text.substr(0, eq)));
    const std::string_view value = text.substr(eq + 1);
    const auto p = app::FindParameter(d, name, true);
    if (!p) return app::NotChosenMessage(d, "--set", name);
    const bool beamMode = d.beam.beamMode;
    const units::Group group = beamMode      ? units::Group::GB
                               : p->aperture ? units::Group::ParaxAp
                                             : units::Group::Parax;
    const auto v = units::ParseQuantity(value, d.units, group, p->index);
    if (!v) {
        return usage + TrFormat(
                           "\"%1\" ist keine Zahl (wahlweise mit passender Einheit, z. B. "
                           "\"12cm\")",
                           {value});
    }
    if (p->aperture) {
        const double factor = d.units.UnitFactor(group, p->index);
        if (const auto refusal =
                ui::ApertureRuleRefusal(p->index, *v / factor, ui::kAperturePositivePrompt)) {
            return usage + OneLine(*refusal);
        }
        ui::StoreApertureValue(d, *v);
        return std::nullopt;
    }
    // The window's box of an object at infinity takes no number.
    if (!beamMode && p->index == engine::kObjDist && d.paraxial.options.objAtInfinity) {
        return usage + Tr("das Objekt steht im Unendlichen");
    }
    if (const auto refusal = ui::AngleRefusal(beamMode, p->index, *v)) {
        return usage + OneLine(*refusal);
    }
    if (ui::NeedsRealObject(d, p->index, *v)) return usage + OneLine(ui::kObjDistPrompt);
    engine::Selection& sel = beamMode ? d.beam.axes[0].selection : d.paraxial.params;
    ui::StoreTypedValue(d, sel.Entry(*sel.Find(p->index)), *v);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DesignEdits::TakeNew(std::string_view mode) {
    if (newBeam) return Once("--new");
    if (mode != "paraxial" && mode != "beam") {
        return "--new " + Quoted(mode) + Tr(": erwartet \"paraxial\" oder \"beam\"");
    }
    newBeam = mode == "beam";
    return std::nullopt;
}

std::optional<std::string> DesignEdits::TakeChoose(std::string_view names) {
    if (choose) return Once("--choose");
    for (const std::string& name : SplitNames(names)) {
        if (name.empty()) {
            return "--choose " + Quoted(names) +
                   Tr(": erwartet NAME,NAME,NAME[,APERTUR], z. B. f',a,y,Blendenzahl");
        }
    }
    choose = std::string(names);
    return std::nullopt;
}

std::optional<std::string> DesignEdits::TakeSet(std::string_view nameValue) {
    const auto eq = nameValue.find('=');
    if (eq == std::string_view::npos || text::TrimBlanks(nameValue.substr(0, eq)).empty()) {
        return "--set " + Quoted(nameValue) + Tr(": erwartet NAME=WERT, z. B. a=-1000 oder f'=5cm");
    }
    sets.emplace_back(nameValue);
    return std::nullopt;
}

std::optional<std::string> DesignEdits::TakeSave(std::string_view file) {
    if (save) return Once("--save");
    save = fs::path(file);
    return std::nullopt;
}

std::optional<std::string> DesignEdits::CombinationProblem(std::size_t settingsFiles,
                                                           int standardInputs,
                                                           bool listsOnly) const {
    if (save && save->empty()) return Tr("Ein leerer Dateiname kann nicht geschrieben werden.");
    if (newBeam && settingsFiles > 0) {
        return Tr("\"--new\" beginnt mit dem Standardsystem und liest keine \"--settings\"");
    }
    if (standardInputs > 1) return Tr("Die Standardeingabe kann nur einmal gelesen werden");
    if (listsOnly && (Changes() || save)) {
        return Tr(
            "--new, --choose, --set und --save gehen nicht mit --wavelengths oder "
            "--list-lenses zusammen");
    }
    if (save && settingsFiles > 1) return Tr("Mit mehreren \"--settings\" geht --save nicht");
    return std::nullopt;
}

std::optional<std::string> PrepareDesign(const DesignEdits& edits, LoadedDesign& loaded) {
    if (edits.newBeam) {
        loaded.bytes.clear();
        if (auto problem = LoadFromBytes(loaded)) return problem;
        loaded.state.beam.beamMode = *edits.newBeam;
    } else if (loaded.file == kStandardInput) {
        const std::size_t maxBytes = std::size_t{app::kMaxSettingsFileMiB} << 20;
        auto bytes = ReadStandardInput(maxBytes);
        if (!bytes) {
            return TrFormat("Die Standardeingabe ist %1 und damit keine Einstellungsdatei.",
                            {text::ReadFailureText(text::ReadFailure::kTooBig, maxBytes)});
        }
        loaded.bytes = std::move(*bytes);
        if (auto problem = LoadFromBytes(loaded)) return problem;
    }
    // A saved design is written as the window writes it, also when nothing was changed.
    if (!edits.Changes() && !edits.save) return std::nullopt;
    // Solved once as at the window's start-up, so that a parameter chosen next starts from the
    // design's solution.
    app::SolveDesign(loaded.state, true);
    if (auto problem = ApplyEdits(edits, loaded.state)) return problem;
    StageBytes(loaded);
    return std::nullopt;
}

void StageBytes(LoadedDesign& loaded) {
    app::IniFile ini = app::IniFile::FromText(loaded.file, loaded.bytes);
    app::StageSettings(loaded.state, ini);
    loaded.bytes = ini.Document().Serialize();
}

std::optional<std::string> ApplyEdits(const DesignEdits& edits, app::DesignState& design) {
    if (edits.choose) {
        if (auto problem = ApplyChoose(*edits.choose, design)) return problem;
    }
    // Before --set, so that a value typed next still changes the design (f' lets the lens go).
    if (edits.lens) {
        if (auto refusal = ui::TakeCatalogueLens(design, *edits.lens, false).refusal)
            return "--lens " + Quoted(*edits.lensCode) + ": " + OneLine(*refusal);
    }
    for (const std::string& set : edits.sets) {
        if (auto problem = ApplySet(set, design)) return problem;
    }
    // As after every change in the window: a design no longer carrying the held lens's f' or
    // e lets it go.
    app::ForgetEditedLens(design);
    return std::nullopt;
}

}  // namespace rs::cli
