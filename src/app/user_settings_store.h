#pragma once
// The per-user settings store: a few small texts kept per user by the platform, outside the
// settings file (first-run marker, last chosen wavelength rows, plot window location, hints).
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace rs::app {

class UserSettingsStore {
public:
    virtual ~UserSettingsStore() = default;
    virtual std::string Get(std::string_view section, std::string_view key,
                            std::string_view def) const = 0;
    virtual void Save(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// A store that keeps its texts in memory only: for tests and for the command-line program,
// which must never touch the user's own store.
class MemoryUserSettingsStore final : public UserSettingsStore {
public:
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view def) const override {
        auto it = values_.find({std::string(section), std::string(key)});
        return it == values_.end() ? std::string(def) : it->second;
    }
    void Save(std::string_view section, std::string_view key, std::string_view value) override {
        values_[{std::string(section), std::string(key)}] = std::string(value);
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace rs::app
