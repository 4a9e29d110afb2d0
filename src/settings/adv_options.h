// The settings dialog's values and rules, apart from its windows: what the dialog shows
// when it opens, what it stores when it closes (every way of closing applies), the quality
// and counter texts, and the hotkey rows' copies to and from the hotkey controls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace orv {

class KHotKeyCtl;

inline constexpr int kJpgQualityMin = 10;
inline constexpr int kJpgQualityMax = 100;

// What the dialog's controls hold (texts as typed).
struct AdvOptionsValues {
    bool startUp = false;
    bool sharedIcons = false;
    bool trayTips = false;
    bool snapSound = false;
    bool snapAutoSave = false;
    bool showZoom = false;
    bool snapPreview = false;
    bool jpg = false;  // OptSnap (1); else OptSnap (0), "BMP"
    std::string savePath;
    std::string filePrefix;
    std::string count;
    std::string quality;
};

AdvOptionsValues LoadAdvOptions(const Settings& s);
// Everything but the hotkey rows, in the dialog's order: the general options, the autostart
// entry and "StartUp" written at once, then the snapshot values.
void ApplyAdvOptions(const AdvOptionsValues& v, Settings& s, SettingsStore& store,
                     const std::function<void(bool)>& setAutoStart);

// A change of the quality text: the text that replaces it when out of range, and the
// spinner's value.
struct QualityCheck {
    std::optional<std::string> replacement;
    int spinner = kJpgQualityMin;
};
QualityCheck CheckQuality(std::string_view text);

// A number box's stored value: its leading number rounded halves to even, 0 without one.
std::int32_t NumberBoxValue(std::string_view text);

// The hotkey row's content.
struct HotkeyRowValues {
    bool on = true;
    bool ctrl = false, shift = false, alt = false, win = false;
    std::string key;
};
HotkeyRowValues HotkeyRowFrom(const KHotKeyCtl& ctl);
// Into the control through its property setters (each may re-register): on, Control,
// Shift, Alt, WinKey, then the key.
void SaveHotkeyRow(const HotkeyRowValues& row, KHotKeyCtl& ctl);
// The list entry to select for a key: the first equal name in any letter case; none: -1.
int KeyListIndex(const std::vector<std::string>& names, std::string_view key);

}  // namespace orv
