#include "app/desktop_look.h"

#include "app/desk_windows.h"
#include "base/text.h"

namespace orv {

namespace {
// The wallpaper styles as stored in "WALLSTYLE".
constexpr std::int32_t kCentred = 0;
constexpr std::int32_t kTiled = 1;
constexpr std::int32_t kStretched = 2;
}  // namespace

std::string DeskSection(int desk) { return "DESK" + std::to_string(desk); }

DesktopLook::DesktopLook(LookOps& ops, SettingsStore& store, std::string dataFolder)
    : ops_(ops), store_(store), dataFolder_(std::move(dataFolder)) {}

void DesktopLook::SaveDesktopLook(int desk) {
    // The screen does not show this desktop's look yet: what is stored is still right.
    if (desk == pendingDesk_) return;
    const std::string section = DeskSection(desk);
    store_.Set(section, "1", IntText(ops_.GetBackgroundColor()));

    std::string wall = ops_.RegGetString(kDesktopKey, "Wallpaper");
    if (!wall.empty() && ContainsNoCase(wall, kSystemWallpaperName)) {
        // The system reuses one file for every picture it converts: keep a copy per desktop.
        std::string copy = dataFolder_ + "\\Wall" + std::to_string(desk) + ".bmp";
        ops_.ShellCopyFiles(wall, copy);
        wall = copy;
    }
    store_.Set(section, "WALLPAPER", wall);

    std::string style = ops_.RegGetString(kDesktopKey, "WallpaperStyle");
    if (!IsNumber(style)) style = "2";
    std::string tile = ops_.RegGetString(kDesktopKey, "TileWallpaper");
    if (!IsNumber(tile)) tile = "0";
    store_.Set(section, "WALLSTYLE", tile == "1" ? std::string("1") : style);
}

void DesktopLook::RestoreDesktopLook(int desk) {
    if (!ops_.BroadcastSafe()) {
        pendingDesk_ = desk;
        return;
    }
    pendingDesk_ = 0;
    ApplyLook(desk);
}

bool DesktopLook::RetryPending() {
    if (pendingDesk_ != 0 && ops_.BroadcastSafe()) {
        const int desk = pendingDesk_;
        pendingDesk_ = 0;
        ApplyLook(desk);
    }
    return pendingDesk_ != 0;
}

void DesktopLook::ApplyLook(int desk) {
    const std::string section = DeskSection(desk);
    // The colour is a 32-bit value; a text that is no number gives 0.
    auto colour = ParseInt32(store_.Read(section, "1", "0"));
    ops_.SetBackgroundColor(static_cast<std::uint32_t>(colour.value_or(0)));

    std::string wall = store_.Read(section, "WALLPAPER", "");
    std::string styleText = store_.Read(section, "WALLSTYLE", "2");
    std::int32_t style = IsNumber(styleText) ? RoundHalfEven(LeadingNumber(styleText)) : kStretched;
    SetWallpaper(style, wall);
}

void DesktopLook::SetWallpaper(std::int32_t style, const std::string& path) {
    const char* tile = nullptr;
    const char* wallStyle = nullptr;
    switch (style) {
        case kCentred: tile = "0"; wallStyle = "0"; break;
        case kTiled: tile = "1"; wallStyle = "0"; break;
        case kStretched: tile = "0"; wallStyle = "2"; break;
        default: break;  // other styles leave the values as they are
    }
    if (tile) {
        ops_.RegSetString(kDesktopKey, "TileWallpaper", tile);
        ops_.RegSetString(kDesktopKey, "WallpaperStyle", wallStyle);
    }
    ops_.ApplyWallpaperFile(path);
}

void MakeDefaultWallpapers(SettingsStore& store, const AppFolders& folders, const PictureConverter& convert) {
    for (int n = 1; n <= kDeskCount; ++n) {
        const std::string section = DeskSection(n);
        if (!store.Read(section, "WALLPAPER", "").empty()) continue;
        const std::string bmp = folders.WallpaperCopy(n);
        convert(folders.DefaultPicture(n), bmp);
        store.Set(section, "WALLPAPER", bmp);
    }
}

}  // namespace orv
