#include "settings/win/registry_store.h"

#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/win/registry_mod.h"

namespace orv {

RegistryStore::RegistryStore(std::string root, std::string appName, HKEY hive)
    : root_(std::move(root)), appName_(std::move(appName)), hive_(hive) {}

std::string RegistryStore::SectionKey(std::string_view section) const {
    return root_ + "\\" + appName_ + "\\" + std::string(section);
}

std::optional<std::string> RegistryStore::Get(std::string_view section, std::string_view key) {
    UniqueKey k;
    if (RegOpenKeyExW(hive_, Widen(SectionKey(section)).c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring name = Widen(key);
    auto v = QueryString(k.get(), name.c_str());
    if (v) return Narrow(*v);
    // Missing, or of a type this store never writes (reported): the key's default serves.
    DWORD type = REG_NONE;
    if (RegQueryValueExW(k.get(), name.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS)
        Log("Setting " + std::string(section) + "\\" + std::string(key) + " is of type " + std::to_string(type) +
            ", not text: its default serves");
    return std::nullopt;
}

bool RegistryStore::Set(std::string_view section, std::string_view key, std::string_view text) {
    UniqueKey k;
    const LSTATUS rc = RegCreateKeyExW(hive_, Widen(SectionKey(section)).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE, nullptr, k.put(), nullptr);
    if (rc != ERROR_SUCCESS) {
        LogError("RegCreateKeyExW " + SectionKey(section), rc);
        return false;
    }
    return SetString(k.get(), Widen(key).c_str(), Widen(text), true);
}

}  // namespace orv
