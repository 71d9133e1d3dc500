#pragma once
// A main window on a settings file of its own in a fresh folder, answered by scripted dialogs.
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "beam/beam_design.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/view_model.h"

namespace rs::test {

struct WindowFixture {
    explicit WindowFixture(const std::string& iniText = "") {
        if (!iniText.empty()) std::ofstream(path, std::ios::binary) << iniText;
        window->Startup();
    }

    ui::MainWindow& w() { return *window; }
    const ui::WindowState& s() const { return window->State(); }
    const engine::ParaxialDesign& p() const { return s().design.paraxial; }
    int Slot(int index) const { return *p().params.Find(index) - 1; }
    const engine::CVarType& Param(int index) const { return p().params.At(Slot(index) + 1); }
    float Table(int index) const { return p().paramTable.Get(index); }
    ui::ControlView View(const std::string& name) const {
        const ui::WindowView v = ui::BuildView(s());
        return v.Find(name) ? *v.Find(name) : ui::ControlView{};
    }
    void Select(std::initializer_list<int> indices) {
        for (int i : indices) window->SetParamChecked(i, true);
    }
    void Type(int index, const std::string& text) { window->ApplyTypedValue(Slot(index), text); }
    // The usual example: f' 100, a -200, u 10 (limits 90..110, -220..-180, 9..11).
    void Lens() {
        Select({engine::kFocal, engine::kObjDist, engine::kObjHeight});
        Type(engine::kFocal, "100");
        Type(engine::kObjDist, "-200");
        Type(engine::kObjHeight, "10");
    }
    // The beam mode with f' 100 mm and the object waist of radius `r` at `s`.
    void Beam(const char* s, const char* r) {
        window->SetBeamMode(true);
        for (int i : {beam::kGbFocal, beam::kGbObjDist, beam::kGbObjRadius})
            window->SetBeamChecked(i, true);
        for (int k = 0; k < 3; ++k) window->ApplyTypedValue(k, std::array{"100", s, r}[k]);
    }

    TempDir dir;
    std::filesystem::path path = dir / "Raysketcher.INI";
    ScriptedDialogs dialogs;
    std::unique_ptr<app::IniFile> ini = std::make_unique<app::IniFile>(path);
    std::unique_ptr<ui::MainWindow> window = std::make_unique<ui::MainWindow>(dialogs, *ini);
};

}  // namespace rs::test
