#include "settings/adv_options.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "hotkeys/hotkey_ctl.h"

namespace orv {

namespace {
bool SameNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
}  // namespace

AdvOptionsValues LoadAdvOptions(const Settings& s) {
    AdvOptionsValues v;
    v.sharedIcons = s.SharedIconsOn;
    v.startUp = s.StartUpOn;
    v.trayTips = s.TrayTipsOn;
    v.snapSound = s.SnapSound;
    v.snapAutoSave = s.SnapSaveOn;
    v.showZoom = s.SnapZoom;
    v.snapPreview = s.SnapPreview;
    v.jpg = s.SnapSaveFormat != 0;
    v.savePath = s.SnapSavePath;
    v.filePrefix = s.SnapSavePrefix;
    v.count = IntText(s.SnapSaveCount);
    v.quality = IntText(s.SnapJpgQuality);
    return v;
}

void ApplyAdvOptions(const AdvOptionsValues& v, Settings& s, SettingsStore& store,
                     const std::function<void(bool)>& setAutoStart) {
    s.SharedIconsOn = v.sharedIcons;
    s.StartUpOn = v.startUp;
    s.TrayTipsOn = v.trayTips;
    if (setAutoStart) setAutoStart(s.StartUpOn);
    store.Set(kConfigSection, "StartUp", s.StartUpOn ? "1" : "0");
    s.SnapSound = v.snapSound;
    s.SnapSaveOn = v.snapAutoSave;
    s.SnapZoom = v.showZoom;
    s.SnapSaveFormat = v.jpg ? 1 : 0;
    s.SnapSavePath = v.savePath;
    s.SnapSavePrefix = v.filePrefix;
    s.SnapSaveCount = NumberBoxValue(v.count);
    s.SnapPreview = v.snapPreview;
    s.SnapJpgQuality = NumberBoxValue(v.quality);
}

QualityCheck CheckQuality(std::string_view text) {
    const double q = LeadingNumber(text);
    QualityCheck c;
    if (q > kJpgQualityMax) c.replacement = IntText(kJpgQualityMax);
    else if (q < kJpgQualityMin) c.replacement = IntText(kJpgQualityMin);
    c.spinner = std::clamp(RoundHalfEven(q), kJpgQualityMin, kJpgQualityMax);
    return c;
}

std::int32_t NumberBoxValue(std::string_view text) { return RoundHalfEven(LeadingNumber(text)); }

HotkeyRowValues HotkeyRowFrom(const KHotKeyCtl& ctl) {
    return {ctl.Enabled(), ctl.CtrlKey(), ctl.ShiftKey(), ctl.AltKey(), ctl.WinKey(), ctl.HotKey()};
}

void SaveHotkeyRow(const HotkeyRowValues& row, KHotKeyCtl& ctl) {
    ctl.SetEnabled(row.on);
    ctl.SetCtrlKey(row.ctrl);
    ctl.SetShiftKey(row.shift);
    ctl.SetAltKey(row.alt);
    ctl.SetWinKey(row.win);
    ctl.SetHotKey(row.key);
}

int KeyListIndex(const std::vector<std::string>& names, std::string_view key) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameNoCase(names[i], key)) return static_cast<int>(i);
    return -1;
}

}  // namespace orv
