#include "settings/win/registry_mod.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "base/text.h"
#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {

namespace {
struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// A value of any type and length; nullopt when it is missing or cannot be read.
std::optional<RegValue> QueryValue(HKEY key, const wchar_t* name) {
    RegValue v;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &bytes) != ERROR_SUCCESS) return std::nullopt;
    for (;;) {
        v.data.resize(bytes);
        LSTATUS rc = RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &bytes);
        if (rc == ERROR_SUCCESS) {
            v.data.resize(bytes);
            return v;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;  // else it grew meanwhile: bytes is its new size
    }
}

// String values, one policy for every read of ours: the settings store writes the text with
// its terminating NUL, as the platform's settings store does; RegSetString and the autostart
// entry write the text's characters alone (its length in bytes), as they always have. So a
// value read back may lack the terminator; what another program wrote may carry several, or
// even end in half a character. A reader takes the whole characters up to the first NUL.
std::wstring TextFromRegData(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return text;
}
}  // namespace

std::optional<std::wstring> QueryString(HKEY key, const wchar_t* name) {
    auto v = QueryValue(key, name);
    if (!v || (v->type != REG_SZ && v->type != REG_EXPAND_SZ)) return std::nullopt;
    return TextFromRegData(v->data);
}

bool SetString(HKEY key, const wchar_t* name, const std::wstring& text, bool terminated) {
    const std::size_t chars = text.size() + (terminated ? 1 : 0);  // c_str() ends in the NUL
    const LSTATUS rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                      static_cast<DWORD>(chars * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) LogError("RegSetValueExW " + Narrow(name), rc);
    return rc == ERROR_SUCCESS;
}

std::string RegGetString(HKEY root, const std::string& subkey, const std::string& name) {
    UniqueKey key;
    if (RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
    auto v = QueryValue(key.get(), Widen(name).c_str());
    if (!v || v->data.size() > kRegGetStringChars * sizeof(wchar_t)) return {};  // what its buffer holds
    switch (v->type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
            return Narrow(TextFromRegData(v->data));
        case REG_DWORD: {
            DWORD n = 0;  // a shorter value counts as its low bytes
            if (!v->data.empty()) std::memcpy(&n, v->data.data(), std::min(v->data.size(), sizeof n));
            return IntText(n);
        }
        default:
            return {};
    }
}

bool RegSetString(HKEY root, const std::string& subkey, const std::string& name, const std::string& text) {
    UniqueKey key;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const LSTATUS rc = RegCreateKeyExW(root, Widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       KEY_SET_VALUE, &inheritable, key.put(), nullptr);
    if (rc != ERROR_SUCCESS) {
        LogError("RegCreateKeyExW " + subkey, rc);
        return false;
    }
    return SetString(key.get(), Widen(name).c_str(), Widen(text.empty() ? std::string(" ") : text), false);
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
    LSTATUS rc = RegOpenKeyExW(root, Widen(kRunKey).c_str(), 0, KEY_SET_VALUE, key.put());
    if (rc != ERROR_SUCCESS) return LogError(std::string("RegOpenKeyExW ") + kRunKey, rc);
    const std::wstring name = Widen(entry.valueName);
    if (on) SetString(key.get(), name.c_str(), Widen(entry.command), false);
    else if ((rc = RegDeleteValueW(key.get(), name.c_str())) != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        LogError("RegDeleteValueW " + entry.valueName, rc);
}

}  // namespace orv
