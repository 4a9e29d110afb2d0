// The keys of section "CONFIG" that the hotkey controls and the per-desktop video options
// keep: names, encodings and defaults in one place, for the subsystems that own them.
#pragma once

#include <array>
#include <string>

#include "settings/settings_store.h"

namespace orv {

// One hotkey as stored: prefix & "KeyCtrl", "KeyShift", "KeyAlt", "KeyWin" (Boolean text),
// "KeyHot" (key name; empty counts as missing) and "KeyOn" (Boolean text).
struct HotkeySetting {
    bool ctrl = true;
    bool shift = false;
    bool alt = false;
    bool win = false;
    std::string key;
    bool on = true;
};

struct HotkeyControlKeys {
    const char* control;     // KHK 0, KHKD 0..5
    const char* prefix;
    const char* defaultKey;
};

// The snapshot hotkey, then the desktop hotkeys 1 to 6 (the first four in flavour 1).
const std::array<HotkeyControlKeys, 7>& HotkeyControlTable();

HotkeySetting ReadHotkeySetting(SettingsStore& store, const std::string& prefix, const std::string& defaultKey);
void WriteHotkeySetting(SettingsStore& store, const std::string& prefix, const HotkeySetting& h);

// One desktop's video choice: "Video" & n & "On", "Sound", "Repeat" (flag numbers, on when
// exactly 1) and "File" (text).
struct VideoSetting {
    bool on = false;
    bool sound = false;
    bool repeat = false;
    std::string file;
};

VideoSetting ReadVideoSetting(SettingsStore& store, int desk);
void WriteVideoSetting(SettingsStore& store, int desk, const VideoSetting& v);
// "VideoDefault": 1 (the default) while the first-run video records are still to be written.
bool VideoDefaultsPending(SettingsStore& store);
void MarkVideoDefaultsWritten(SettingsStore& store);

}  // namespace orv
