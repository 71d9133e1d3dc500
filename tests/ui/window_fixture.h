#pragma once
// A main window on a settings file of its own in a fresh folder, answered by scripted dialogs.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/ini_file.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/scripted_dialogs.h"
#include "ui/view_model.h"

namespace rs::test {

class WindowFixture {
public:
    explicit WindowFixture(const std::string& iniText = "") : path(dir / "Raysketcher.INI") {
        if (!iniText.empty()) std::ofstream(path, std::ios::binary) << iniText;
        ini = std::make_unique<app::IniFile>(path);
        window = std::make_unique<ui::MainWindow>(dialogs, *ini);
        window->Startup();
    }

    ui::MainWindow& w() { return *window; }
    const ui::WindowState& s() const { return window->State(); }
    const engine::ParaxialDesign& p() const { return s().design.paraxial; }
    const engine::CVarType& Param(int index) const { return p().params.At(*p().params.Find(index)); }
    float Table(int index) const { return p().paramTable.Get(index); }
    ui::ControlView View(const std::string& name) const {
        const ui::WindowView v = ui::BuildView(s());
        const ui::ControlView* c = v.Find(name);
        return c ? *c : ui::ControlView{};
    }
    void Select(std::initializer_list<int> indices) {
        for (int i : indices) window->SetParamChecked(i, true);
    }
    // Selects and types: {index, text} pairs, typed into the slot the index ends up in.
    void Type(int index, const std::string& text) {
        window->ApplyTypedValue(*p().params.Find(index) - 1, text);
    }
    int Slot(int index) const { return *p().params.Find(index) - 1; }
    // The lens of the usual example: f' 100, a -200, u 10.
    void Lens() {
        Select({engine::kFocal, engine::kObjDist, engine::kObjHeight});
        Type(engine::kFocal, "100");
        Type(engine::kObjDist, "-200");
        Type(engine::kObjHeight, "10");
    }

    TempDir dir;
    std::filesystem::path path;
    ScriptedDialogs dialogs;
    std::unique_ptr<app::IniFile> ini;
    std::unique_ptr<ui::MainWindow> window;
};

}  // namespace rs::test
