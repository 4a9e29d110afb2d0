// The settings of section "CONFIG": the key table, LoadSettings and SaveSettings, and the
// bar position and layer read at start-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace orv {

inline constexpr const char* kConfigSection = "CONFIG";

// Application-wide settings filled by LoadSettings. Before a successful read each holds
// false, 0 or empty, as at start-up.
struct Settings {
    bool StartUpOn = false;
    bool SharedIconsOn = false;
    bool TrayTipsOn = false;  // the tray tip and a balloon name the current desktop
    bool SnapZoom = false;
    bool SnapSound = false;
    bool SnapSaveOn = false;
    std::int32_t SnapSaveFormat = 0;
    std::string SnapSavePath;
    std::string SnapSavePrefix;
    std::int32_t SnapSaveCount = 0;
    std::string SnapSaveLastFile;
    bool SnapPreview = false;
    std::int32_t SnapJpgQuality = 0;
};

// What the rest of the application plugs into loading and saving.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    virtual void SetAutoStart(bool on) = 0;
    // The documents folder at this moment: the default of "SnapSavePath".
    virtual std::string DocumentsFolder() = 0;
    // Hotkey controls: every Init, then every ReadSetting / every WriteSetting.
    virtual void LoadHotkeys() = 0;
    virtual void SaveHotkeys() = 0;
    // Per-desktop video options, desktops 1 to 6 (flavour 2 only).
    virtual void LoadVideoSettings() = 0;
    virtual void SaveVideoSettings() = 0;
};

void LoadSettings(SettingsStore& store, SettingsHost& host, bool hasVideo, Settings& s);
void SaveSettings(SettingsStore& store, SettingsHost& host, bool hasVideo, const Settings& s);

struct BarPlacement {
    int x = 200;
    int y = 200;
    bool topmost = true;
};
BarPlacement ReadBarPlacement(SettingsStore& store);

// A rectangle in screen pixels.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
// The bar's rectangle at p, whole: a place so far out (a saturated stored value) that the
// far edge would pass the 32-bit range is taken back by what it lacks.
ScreenRect BarRectAt(const BarPlacement& p, int width, int height);
// p moved the least to put the bar within area; a bar larger than area keeps area's top-left.
BarPlacement MoveWithin(BarPlacement p, int width, int height, const ScreenRect& area);
inline constexpr int kTwipsPerPixel = 15;
// The bar's left and top in pixels, written as twips / kTwipsPerPixel with their fraction.
void WriteBarPosition(SettingsStore& store, int leftTwips, int topTwips);
void WriteTopmost(SettingsStore& store, bool topmost);

}  // namespace orv
