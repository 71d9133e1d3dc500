#pragma once
// Which page of the manual explains what: the pages in the order of their contents, and the
// page for the control that has the keyboard focus (F1).
#include <span>
#include <string_view>

namespace rs::ui {

enum class HelpPage {
    Contents,
    KeyParameters,
    Sliders,
    Advanced,
    Notes,
    GaussianBeams,
    Plot,
    Units,
    Tools,
    NewFeatures,
};

struct HelpPageInfo {
    HelpPage page;
    const char* file;   // below the manual's folder
    const char* title;  // in the contents list
};

// Every page in the order of the contents.
std::span<const HelpPageInfo> HelpPages();

// One step outwards from the focused control: its object name without the "_index" of a control
// array, and whether it is a tab widget with the index of its current tab.
struct FocusStep {
    std::string_view name;
    bool tabs = false;
    int currentTab = -1;
};

// The page that explains the first step (from the focused control outwards) that one explains;
// the contents when none does. Beam mode shares the value boxes with the paraxial parameters.
HelpPage HelpPageFor(std::span<const FocusStep> focusChain, bool beamMode);

}  // namespace rs::ui
