// Registry access of the desktop look and the autostart entry.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace orv {

// A string value; REG_DWORD gives its decimal text; other types, a missing key or value,
// a value longer than kRegGetStringChars characters and any failure give the empty text.
// The value is cut before its first NUL.
inline constexpr std::size_t kRegGetStringChars = 1024;
std::string RegGetString(HKEY root, const std::string& subkey, const std::string& name);
// Creates the key as needed and writes REG_SZ; an empty text is stored as one blank.
bool RegSetString(HKEY root, const std::string& subkey, const std::string& name, const std::string& text);

// A REG_SZ / REG_EXPAND_SZ value of an open key, up to its first NUL, with or without its
// terminator; nullopt when missing or of another type.
std::optional<std::wstring> QueryString(HKEY key, const wchar_t* name);
// Writes a REG_SZ value: the text's characters, with or without a terminating NUL.
bool SetString(HKEY key, const wchar_t* name, const std::wstring& text, bool terminated);

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct AutoStartEntry {
    std::string valueName;  // exe name without extension & ".Exe"
    std::string command;    // program folder & "\" & that name
};
AutoStartEntry AutoStartFor(const std::string& exePath);
// On: writes the entry under HKCU\...\Run; off: deletes it. A failing open does nothing.
void SetAutoStart(bool on, const AutoStartEntry& entry, HKEY root = HKEY_CURRENT_USER);

}  // namespace orv
