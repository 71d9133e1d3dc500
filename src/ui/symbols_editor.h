#pragma once
// The logic of the symbols editor: the user's symbols of the nine general parameters and the
// six cardinal points, checked (none empty, all different) and stored in section "Symbols".
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_file.h"
#include "ui/dialogs.h"

namespace rs::ui {

// Parameters 0..8 first (boxes txtVarType_0..8), then P, P', F, F', N, N' (txtCardPoint_0..5).
inline constexpr int kSymbolCount = 15;

class SymbolsEditorModel {
public:
    // Reads the current user symbols (the standard symbol where the file has none).
    explicit SymbolsEditorModel(const app::IniFile& settings);

    // The quantity's label, which is also its key in "Symbols".
    static std::string_view Label(int k);
    static std::string BoxName(int k);
    const std::string& Symbol(int k) const { return symbols_[Slot(k)]; }
    // Enter or leaving a box: the box's text becomes the symbol.
    void SetSymbol(int k, std::string_view text);
    bool Changed() const { return changed_; }

    // OK: true when the editor closes. An empty or repeated symbol is refused with its message;
    // a save that fails is reported and keeps the editor open. Stores only after a change.
    bool Ok(app::IniFile& settings, Dialogs& dialogs);

    // The characters offered for drag and drop, as UTF-8, from code 255 down to 33 of the
    // Windows-1252 page, without 126..159 and the digits.
    static std::vector<std::string> CharacterList();

private:
    static std::size_t Slot(int k);

    std::array<std::string, kSymbolCount> symbols_;
    bool changed_ = false;
};

}  // namespace rs::ui
