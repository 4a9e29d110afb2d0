#include "settings/control_settings.h"

#include "base/text.h"
#include "settings/settings.h"

namespace orv {

namespace {
bool ReadBoolText(SettingsStore& store, const std::string& key, bool fallback) {
    return ParseBool(store.Read(kConfigSection, key, BoolText(fallback))).value_or(fallback);
}
bool ReadFlagOn(SettingsStore& store, const std::string& key, const char* fallback) {
    return LeadingNumber(store.Read(kConfigSection, key, fallback)) == 1.0;
}
std::string VideoKey(int desk, const char* what) { return "Video" + std::to_string(desk) + what; }
}  // namespace

const std::array<HotkeyControlKeys, 7>& HotkeyControlTable() {
    static constexpr std::array<HotkeyControlKeys, 7> kControls = {{
        {"KHK0", "HotKeySnap", "F10"},
        {"KHKD0", "HotKeyDesk1", "F5"},
        {"KHKD1", "HotKeyDesk2", "F6"},
        {"KHKD2", "HotKeyDesk3", "F7"},
        {"KHKD3", "HotKeyDesk4", "F8"},
        {"KHKD4", "HotKeyDesk5", "Num5"},
        {"KHKD5", "HotKeyDesk6", "Num6"},
    }};
    return kControls;
}

HotkeySetting ReadHotkeySetting(SettingsStore& store, const std::string& prefix, const std::string& defaultKey) {
    HotkeySetting h;
    h.ctrl = ReadBoolText(store, prefix + "KeyCtrl", true);
    h.shift = ReadBoolText(store, prefix + "KeyShift", false);
    h.alt = ReadBoolText(store, prefix + "KeyAlt", false);
    h.win = ReadBoolText(store, prefix + "KeyWin", false);
    h.key = store.Read(kConfigSection, prefix + "KeyHot", defaultKey);
    if (h.key.empty()) h.key = defaultKey;
    h.on = ReadBoolText(store, prefix + "KeyOn", true);
    return h;
}

void WriteHotkeySetting(SettingsStore& store, const std::string& prefix, const HotkeySetting& h) {
    store.Set(kConfigSection, prefix + "KeyOn", BoolText(h.on));
    store.Set(kConfigSection, prefix + "KeyHot", h.key);
    store.Set(kConfigSection, prefix + "KeyCtrl", BoolText(h.ctrl));
    store.Set(kConfigSection, prefix + "KeyShift", BoolText(h.shift));
    store.Set(kConfigSection, prefix + "KeyAlt", BoolText(h.alt));
    store.Set(kConfigSection, prefix + "KeyWin", BoolText(h.win));
}

VideoSetting ReadVideoSetting(SettingsStore& store, int desk) {
    VideoSetting v;
    v.on = ReadFlagOn(store, VideoKey(desk, "On"), "0");
    v.sound = ReadFlagOn(store, VideoKey(desk, "Sound"), "0");
    v.repeat = ReadFlagOn(store, VideoKey(desk, "Repeat"), "0");
    v.file = store.Read(kConfigSection, VideoKey(desk, "File"), "");
    return v;
}

void WriteVideoSetting(SettingsStore& store, int desk, const VideoSetting& v) {
    store.Set(kConfigSection, VideoKey(desk, "On"), v.on ? "1" : "0");
    store.Set(kConfigSection, VideoKey(desk, "Sound"), v.sound ? "1" : "0");
    store.Set(kConfigSection, VideoKey(desk, "Repeat"), v.repeat ? "1" : "0");
    store.Set(kConfigSection, VideoKey(desk, "File"), v.file);
}

bool VideoDefaultsPending(SettingsStore& store) { return ReadFlagOn(store, "VideoDefault", "1"); }

void MarkVideoDefaultsWritten(SettingsStore& store) { store.Set(kConfigSection, "VideoDefault", "0"); }

}  // namespace orv
