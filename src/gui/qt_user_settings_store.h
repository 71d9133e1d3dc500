#pragma once
// The per-user store on the platform's settings (QSettings), under the application's title.
#include <QSettings>

#include "app/user_settings_store.h"

namespace rs::gui {

class QtUserSettingsStore final : public app::UserSettingsStore {
public:
    QtUserSettingsStore();
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view def) const override;
    void Save(std::string_view section, std::string_view key, std::string_view value) override;

private:
    mutable QSettings settings_;
};

}  // namespace rs::gui
