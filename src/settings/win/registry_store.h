// The settings store in the per-user registry: HKCU\<root>\<application>\<section>, one
// string value per key.
#pragma once

#include <windows.h>

#include "settings/settings_store.h"

namespace orv {

inline constexpr const char* kSettingsRoot = "Software\\Quillon";

class RegistryStore final : public SettingsStore {
public:
    RegistryStore(std::string root, std::string appName, HKEY hive = HKEY_CURRENT_USER);
    std::optional<std::string> Get(std::string_view section, std::string_view key) override;
    bool Set(std::string_view section, std::string_view key, std::string_view text) override;

private:
    std::string SectionKey(std::string_view section) const;

    std::string root_;
    std::string appName_;
    HKEY hive_;
};

}  // namespace orv
