#pragma once
// Which page of the manual explains what: the pages in the order of their contents, and the
// page for the control that has the keyboard focus (F1).
#include <span>
#include <string>
#include <string_view>

#include "text/language.h"

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
    const char* file;   // below each language's folder of the manual
    const char* title;  // in the contents list
};

// Every page in the order of the contents.
std::span<const HelpPageInfo> HelpPages();

// The page's file in `language` below the manual's root: every language has its own folder
// ("de/", "en/") with the same file names, so that the page keys and relative links are one
// list for all languages.
std::string HelpPagePath(HelpPage page, text::Language language);

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
