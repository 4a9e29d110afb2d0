#include "settings/win/registry_mod.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "base/text.h"
#include "base/win/handles.h"
#include "base/win/utf.h"

namespace orv {

std::optional<std::wstring> QueryString(HKEY key, const wchar_t* name, DWORD* typeOut) {
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    if (typeOut) *typeOut = type;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::size_t n = size / sizeof(wchar_t);
    std::wstring s(buf.data(), n < buf.size() ? n : buf.size() - 1);
    return s.substr(0, s.find(L'\0'));
}

std::string RegGetString(HKEY root, const std::string& subkey, const std::string& name) {
    UniqueKey key;
    if (RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS) return {};
    const std::wstring wname = Widen(name);
    // Room for 1024 characters, as the system's own buffers for these values.
    wchar_t buf[1025] = {};
    DWORD type = 0, size = 1024 * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS)
        return {};
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return Narrow(std::wstring_view(buf, wcsnlen(buf, size / sizeof(wchar_t))));
        case REG_DWORD: {
            DWORD v = 0;
            std::memcpy(&v, buf, sizeof v);
            return IntText(v);
        }
        default:
            return {};
    }
}

bool RegSetString(HKEY root, const std::string& subkey, const std::string& name, const std::string& text) {
    UniqueKey key;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    if (RegCreateKeyExW(root, Widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, &sa,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = Widen(text.empty() ? std::string(" ") : text);
    // Stored without a terminating NUL: readers must cope, and ours do.
    return RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                          static_cast<DWORD>(value.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

AutoStartEntry AutoStartFor(const std::string& exePath) {
    std::size_t slash = exePath.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
    std::string file = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    std::size_t dot = file.find_last_of('.');
    std::string stem = dot == std::string::npos ? file : file.substr(0, dot);
    return {stem + ".Exe", folder + "\\" + stem + ".Exe"};
}

void SetAutoStart(bool on, const AutoStartEntry& entry, HKEY root) {
    UniqueKey key;
    if (RegOpenKeyExW(root, Widen(kRunKey).c_str(), 0, KEY_WRITE, key.put()) != ERROR_SUCCESS) return;
    const std::wstring name = Widen(entry.valueName);
    if (on) {
        const std::wstring data = Widen(entry.command);
        RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), name.c_str());
    }
}

}  // namespace orv
