// The per-application settings store: text values by application, section and key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or nullopt when the key is missing.
    virtual std::optional<std::string> Get(std::string_view section, std::string_view key) = 0;
    // Creates section and key as needed.
    virtual bool Set(std::string_view section, std::string_view key, std::string_view text) = 0;

    std::string Read(std::string_view section, std::string_view key, std::string_view fallback) {
        auto v = Get(section, key);
        return v ? *v : std::string(fallback);
    }
};

}  // namespace orv
