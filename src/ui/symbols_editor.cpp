#include "ui/symbols_editor.h"

#include <set>

#include "app/ini_file.h"
#include "engine/catalogue.h"
#include "engine/require.h"
#include "text/number_text.h"
#include "text/strings.h"
#include "text/tr.h"

namespace rs::ui {
namespace {

constexpr int kParamSymbols = 9;

std::string_view DefaultSymbol(int k) {
    return k < kParamSymbols ? engine::ParamDefaultSymbol(k)
                             : engine::CardinalDefaultSymbol(k - kParamSymbols);
}

// A symbol as the settings file will give it back: without surrounding blanks, and with what
// Windows-1252 cannot hold already replaced, so two symbols that would read back alike are
// caught as the same symbol now.
std::string Stored(std::string_view symbol) {
    return app::Storable(text::TrimBlanks(symbol));
}

}  // namespace

std::size_t SymbolsEditorModel::Slot(int k) {
    RS_REQUIRE(k >= 0 && k < kSymbolCount, "symbol index out of range");
    return static_cast<std::size_t>(k);
}

std::string_view SymbolsEditorModel::Label(int k) {
    Slot(k);
    return k < kParamSymbols ? engine::ParamLabel(k) : engine::CardinalLabel(k - kParamSymbols);
}

std::string SymbolsEditorModel::BoxName(int k) {
    Slot(k);
    return k < kParamSymbols ? "txtVarType_" + std::to_string(k)
                             : "txtCardPoint_" + std::to_string(k - kParamSymbols);
}

SymbolsEditorModel::SymbolsEditorModel(const app::IniFile& settings) {
    for (int k = 0; k < kSymbolCount; ++k) {
        symbols_[Slot(k)] = settings.ReadIniString("Symbols", Label(k), DefaultSymbol(k));
    }
}

void SymbolsEditorModel::SetSymbol(int k, std::string_view text) {
    std::string& s = symbols_[Slot(k)];
    if (s == text) return;
    s = std::string(text);
    changed_ = true;
}

bool SymbolsEditorModel::Ok(app::IniFile& settings, Dialogs& dialogs) {
    for (const std::string& s : symbols_) {
        if (text::TrimBlanks(s).empty()) {
            dialogs.Message(text::Tr("Alle Symbole müssen definiert werden [nicht leer lassen]! "),
                            Icon::Exclamation);
            return false;
        }
    }
    std::set<std::string> seen;
    for (const std::string& s : symbols_) {
        const std::string stored = Stored(s);
        if (!seen.insert(stored).second) {
            dialogs.Message(text::TrFormat("Zwei oder mehrere Symbole sind identisch [%1]. Alle "
                                           "Symbole dürfen nur einmal auftreten. ",
                                           {stored}),
                            Icon::Exclamation);
            return false;
        }
    }
    if (!changed_) return true;
    for (int k = 0; k < kSymbolCount; ++k) {
        settings.Stage("Symbols", Label(k), Stored(symbols_[Slot(k)]));
    }
    const app::WriteStatus status = settings.Commit();
    if (!status.ok) {
        dialogs.Message(status.message, Icon::Exclamation);
        return false;
    }
    return true;
}

std::vector<std::string> SymbolsEditorModel::CharacterList() {
    std::vector<std::string> list;
    for (int code = 255; code >= 33; --code) {
        const bool offered = code >= 160 || (code <= 125 && (code < '0' || code > '9'));
        if (offered) list.push_back(text::Cp1252ToUtf8(std::string(1, static_cast<char>(code))));
    }
    return list;
}

}  // namespace rs::ui
