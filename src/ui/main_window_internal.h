#pragma once
// What the files of ui::MainWindow share with each other and with nothing else: the helpers that
// more than one concern of the window needs. Only src/ui/main_window*.cpp include this.
#include "app/design_state.h"
#include "engine/selection.h"

namespace rs::ui::window_detail {

// Sets a flag for the length of one call.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// The persisted image-format choice must name an entry of the list.
void NormaliseImageFormat(app::WindowOptions& w);

// A margin around a value near the end of single precision overflows to infinity; a slider
// without limits is better than one that runs to infinity.
void KeepLimitsFinite(engine::Selection& set);

// The standard advanced values; a mirror's image space keeps its negative index.
void ResetAdvancedValues(app::DesignState& d);

}  // namespace rs::ui::window_detail
