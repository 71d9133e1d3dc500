#pragma once
// What the main window shows, computed from its state: one entry per named control, with the
// control's object name ("chkVarType_3", "txtVarType_0", "hscVarValue_2", "lstResNames"), so the
// toolkit window only copies texts, check marks, enabled and visible states, slider positions
// and list items onto its widgets, and decides nothing about optics, units, limits or undo.
// Every caption of the window lives here, the fixed ones too; the window sets none itself.
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dof.h"
#include "text/tr.h"
#include "ui/window_state.h"

namespace rs::ui {

struct ControlView {
    std::string name;  // object name; arrays carry "_<index>"
    std::string text;  // caption, box text or label text
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    // Scroll bars.
    int minimum = 0;
    int maximum = 0;
    int position = 0;
    // Lists, combo boxes and tab strips; itemChecked for lists with check marks; a current
    // index of -1 selects nothing (a tab strip keeps the tab the user chose).
    std::vector<std::string> items;
    std::vector<bool> itemChecked;
    std::vector<bool> itemBold;  // lists: items shown in bold (a marked difference)
    int currentIndex = -1;
    unsigned highlight = 0;  // label back colour 0xBBGGRR, 0 for none
    std::string toolTip;     // replaces the widget's own tip while not empty
};

struct WindowView {
    std::string title;
    std::vector<ControlView> controls;
    // The name column of the result list changed and is to be written (never while dragging).
    bool rewriteResultNames = false;
    analysis::DofPanel dofPanel;

    // The control named `name`, or null.
    const ControlView* Find(std::string_view name) const;
};

WindowView BuildView(const WindowState& state);

// "chkVarType" and 3 give "chkVarType_3".
std::string ControlName(std::string_view base, int index);

// Box texts as the view shows them (without texts kept from a refused entry); the handlers
// compare a box's text with these to recognise a box left unedited.
inline constexpr const char* kUndefinedBoxText = text::TrNoop("-- Nicht definiert --");
inline constexpr const char* kUpperPlaceholder = text::TrNoop("Oberer Grenzwert");
inline constexpr const char* kLowerPlaceholder = text::TrNoop("Unterer Grenzwert");
inline constexpr const char* kAtInfinityBoxText = text::TrNoop("In Unendlich");

// A value of a general parameter, the aperture parameter or a beam quantity as its box shows it
// (display unit and suffix), and its name with its current symbol ("Brennweite: f'").
enum class ValueSet { General, Aperture, Beam };
std::string ValueText(const WindowState& state, ValueSet set, int index, double value);
std::string ValueLabel(const WindowState& state, ValueSet set, int index);

std::string ValueBoxText(const WindowState& state, int slot);
std::string LimitBoxText(const WindowState& state, int slot, bool upper);
std::string ApertureValueText(const WindowState& state);
std::string ApertureLimitText(const WindowState& state, bool upper);
std::string AdvancedBoxText(const WindowState& state, int box);
bool AdvancedBoxEnabled(const WindowState& state, int box);

}  // namespace rs::ui
