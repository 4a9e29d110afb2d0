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
    // The screen does not show this desktop's look yet (the system is still busy putting it
    // there, maybe waiting on a hung application): what is stored is still right.
    if (desk == requestedDesk_ && !ops_.LookShown()) return;
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
    requestedDesk_ = desk;
    ops_.RequestLook(StoredLook(desk));
}

namespace {
LookRequest WallpaperLook(std::int32_t style, const std::string& path) {
    LookRequest look;
    look.setColour = false;
    switch (style) {
        case kCentred: look.tile = "0"; look.wallStyle = "0"; break;
        case kTiled: look.tile = "1"; look.wallStyle = "0"; break;
        case kStretched: look.tile = "0"; look.wallStyle = "2"; break;
        default: break;  // other styles leave the values as they are
    }
    look.wallpaper = path;
    return look;
}
}  // namespace

LookRequest DesktopLook::StoredLook(int desk) const {
    const std::string section = DeskSection(desk);
    std::string styleText = store_.Read(section, "WALLSTYLE", "2");
    std::int32_t style = IsNumber(styleText) ? RoundHalfEven(LeadingNumber(styleText)) : kStretched;
    LookRequest look = WallpaperLook(style, store_.Read(section, "WALLPAPER", ""));
    // The colour is a 32-bit value; a text that is no number gives 0.
    look.setColour = true;
    look.colour = static_cast<std::uint32_t>(ParseInt32(store_.Read(section, "1", "0")).value_or(0));
    return look;
}

void DesktopLook::SetWallpaper(std::int32_t style, const std::string& path) {
    ops_.RequestLook(WallpaperLook(style, path));
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
