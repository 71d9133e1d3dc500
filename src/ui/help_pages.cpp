#include "ui/help_pages.h"

#include <array>
#include <cstddef>

namespace rs::ui {
namespace {

using Page = HelpPage;

constexpr std::array<HelpPageInfo, 10> kPages{{
    {Page::Contents, "index.html", "Inhalt"},
    {Page::KeyParameters, "kenngroessen.html", "Kenngrößen und Vorzeichen"},
    {Page::Sliders, "regler.html", "Regler und Grenzwerte"},
    {Page::Advanced, "erweitert.html", "Erweiterte Optionen"},
    {Page::Notes, "hinweise.html", "Hinweise und Formeln"},
    {Page::GaussianBeams, "gaussstrahl.html", "Gaußstrahlen"},
    {Page::Plot, "systeme.html", "Apertur/Feld-Diagramm"},
    {Page::Units, "einheiten.html", "Einheiten und Symbole"},
    {Page::Tools, "werkzeuge.html", "Studien, Verlauf, Referenz"},
    {Page::NewFeatures, "neu.html", "Neue Funktionen"},
}};

struct NamedPage {
    const char* name;  // object name without its "_index"
    Page page;
};

constexpr std::array<NamedPage, 85> kControlPages{{
    // The general and aperture parameters.
    {"chkVarType", Page::KeyParameters},
    {"txtVarType", Page::KeyParameters},
    {"lblVarType", Page::KeyParameters},
    {"fraOptConj", Page::KeyParameters},
    {"fraOptFld", Page::KeyParameters},
    {"cmbImagHeight", Page::KeyParameters},
    {"fraOptAp1", Page::KeyParameters},
    {"chkVarTypeAp", Page::KeyParameters},
    {"txtVarTypeAp", Page::KeyParameters},
    {"lblVarTypeAp", Page::KeyParameters},
    {"comApFNosStandard", Page::KeyParameters},
    {"pctDrg", Page::KeyParameters},
    // Sliders and their limits.
    {"picSlider", Page::Sliders},
    {"hscVarValue", Page::Sliders},
    {"txtVarLimLow", Page::Sliders},
    {"txtVarLimHi", Page::Sliders},
    {"lblSliderVarValue", Page::Sliders},
    {"lblSliders", Page::Sliders},
    {"picSliderAp", Page::Sliders},
    {"hscVarValueAp", Page::Sliders},
    {"txtVarLimLowAp", Page::Sliders},
    {"txtVarLimHiAp", Page::Sliders},
    {"lblSliderVarValueAp", Page::Sliders},
    // Advanced options and modes.
    {"chkAdvOpt", Page::Advanced},
    {"txtAdv", Page::Advanced},
    {"lblAdv", Page::Advanced},
    {"chkAllowVirtualObj", Page::Advanced},
    {"chkHideRemoteConjug", Page::Advanced},
    {"chkDrawParaxPoints", Page::Advanced},
    {"comDefAdvOpts", Page::Advanced},
    {"lstMirrorMode", Page::Advanced},
    {"chkObjAtInfinity", Page::Advanced},
    {"lstOptions", Page::Advanced},
    // The result list and the depth of field.
    {"lstResNames", Page::Notes},
    {"lstResVals", Page::Notes},
    {"fraDOFCoC", Page::Notes},
    {"optCoCType", Page::Notes},
    {"txtDOFCoC", Page::Notes},
    // The beam.
    {"chkGaussBeamMode", Page::GaussianBeams},
    {"chkVarTypeGB", Page::GaussianBeams},
    {"fraGaussCong", Page::GaussianBeams},
    {"fraGaussBeamObj", Page::GaussianBeams},
    {"fraGaussBeamImg", Page::GaussianBeams},
    {"txtGBWavelen", Page::GaussianBeams},
    {"comGBWavelen", Page::GaussianBeams},
    {"chkGaussBeamAltSolution", Page::GaussianBeams},
    {"lstOptionsGB", Page::GaussianBeams},
    {"tabExtraInfoGB", Page::GaussianBeams},
    // The aperture/field plot.
    {"picApFld", Page::Plot},
    {"comApFldUndo", Page::Plot},
    {"comApFldEnlarge", Page::Plot},
    {"frmApFldPlot", Page::Plot},
    // Units and symbols.
    {"comUnits", Page::Units},
    {"frmUnits", Page::Units},
    {"lstSymbols", Page::Units},
    {"comSymbols", Page::Units},
    {"frmSymbols", Page::Units},
    // Studies, history, catalogue lenses and the measured beam.
    {"picStudy", Page::Tools},
    {"picStudyGB", Page::Tools},
    {"frmStudy", Page::Tools},
    {"picStudyPlot", Page::Tools},
    {"picStudyLarge", Page::Tools},
    {"cmbStudyParam", Page::Tools},
    {"cmbStudyY", Page::Tools},
    {"txtStudyFrom", Page::Tools},
    {"txtStudyTo", Page::Tools},
    {"chkStudyLog", Page::Tools},
    {"comStudy", Page::Tools},
    {"comStudyWindow", Page::Tools},
    {"lstHistory", Page::Tools},
    {"ssExtraLenses", Page::Tools},
    {"cmdExtraLensTake", Page::Tools},
    {"cmdExtraLensStop", Page::Tools},
    {"chkExtraLensTurned", Page::Tools},
    {"ssGBExtraLenses", Page::Tools},
    {"cmdGBExtraLensTake", Page::Tools},
    {"chkGBExtraLensTurned", Page::Tools},
    {"grdGBMeasure", Page::Tools},
    {"picGBMeasure", Page::Tools},
    {"txtGBMeasureElement", Page::Tools},
    {"comGBMeasureAdopt", Page::Tools},
    {"comGBMeasureImport", Page::Tools},
    {"comGBMeasurePaste", Page::Tools},
    {"comGBMeasureRemove", Page::Tools},
    {"frmHelp", Page::Contents},
}};

}  // namespace

std::span<const HelpPageInfo> HelpPages() {
    return kPages;
}

HelpPage HelpPageFor(std::span<const FocusStep> focusChain, bool beamMode) {
    for (const FocusStep& step : focusChain) {
        if (step.name.empty()) continue;
        // The tabs stand for their current page.
        if (step.tabs && step.name == "tabOptions") {
            constexpr std::array<Page, 3> pages{Page::KeyParameters, Page::Sliders, Page::Advanced};
            const int i = step.currentTab;
            if (i == 0 && beamMode) return Page::GaussianBeams;
            if (i >= 0 && i < 3) return pages[static_cast<std::size_t>(i)];
            if (i == 3) return Page::Tools;  // "Verlauf"
        } else if (step.tabs && step.name == "tabExtraInfo") {
            // Systeme, Abbildungstiefe, then the lenses and the study.
            if (step.currentTab >= 2) return Page::Tools;
            return step.currentTab == 1 ? Page::Notes : Page::Plot;
        }
        for (const NamedPage& entry : kControlPages) {
            if (step.name != entry.name) continue;
            // In beam mode the value boxes hold the beam's parameters.
            if (beamMode && entry.page == Page::KeyParameters) return Page::GaussianBeams;
            return entry.page;
        }
    }
    return Page::Contents;
}

}  // namespace rs::ui
