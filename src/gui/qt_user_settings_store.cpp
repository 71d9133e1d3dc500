#include "gui/qt_user_settings_store.h"

namespace rs::gui {
namespace {
QString Key(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + "/" +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}
}  // namespace

QtUserSettingsStore::QtUserSettingsStore() : settings_("Kestrelon", "Raysketcher") {}

std::string QtUserSettingsStore::Get(std::string_view section, std::string_view key,
                                     std::string_view def) const {
    const QVariant v = settings_.value(Key(section, key));
    if (!v.isValid()) return std::string(def);
    return v.toString().toStdString();
}

void QtUserSettingsStore::Save(std::string_view section, std::string_view key,
                               std::string_view value) {
    settings_.setValue(Key(section, key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

}  // namespace rs::gui
