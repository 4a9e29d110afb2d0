#include "app/win/look_ops.h"

#include <windows.h>

#include <utility>

#include "app/win/shell_files.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/win/registry_mod.h"

namespace orv {

std::uint32_t Win32LookOps::GetBackgroundColor() { return GetSysColor(COLOR_BACKGROUND); }

std::string Win32LookOps::RegGetString(const std::string& subkey, const std::string& name) {
    return orv::RegGetString(HKEY_CURRENT_USER, subkey, name);
}

bool Win32LookOps::ShellCopyFiles(const std::string& source, const std::string& target) {
    return orv::ShellCopyFiles(source, target);
}

bool Win32LookOps::FinishLook(DWORD ms) {
    const bool done = worker_.Finish(ms);
    if (!done) Log("The desktop's look was not on the screen within " + std::to_string(ms) + " ms (a hung application?)");
    return done;
}

namespace {
void PutLook(const LookRequest& look, bool alwaysSetColour) {
    bool styleChanged = false;
    for (const auto& [name, value] : {std::pair{"TileWallpaper", &look.tile}, {"WallpaperStyle", &look.wallStyle}}) {
        if (value->empty() || orv::RegGetString(HKEY_CURRENT_USER, kDesktopKey, name) == *value) continue;
        styleChanged = true;
        orv::RegSetString(HKEY_CURRENT_USER, kDesktopKey, name, *value);
    }
    // The same file in the same style is on the screen already: nothing to do. No wallpaper
    // is stored as one blank.
    std::string current = orv::RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    if (current == " ") current.clear();
    const bool wallChanged = styleChanged || current != look.wallpaper;
    // Stored and painted first, the broadcasts (which wait on hung applications) after: a
    // look cut short at quit is on the screen all the same.
    std::wstring wall = Widen(look.wallpaper);
    if (wallChanged && !SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wall.data(), SPIF_UPDATEINIFILE))
        LogError("SystemParametersInfo (the wallpaper)");
    // Setting the colour it already has would only broadcast to every window for nothing.
    if (look.setColour && (alwaysSetColour || GetSysColor(COLOR_BACKGROUND) != look.colour)) {
        const int element = COLOR_BACKGROUND;
        const COLORREF value = look.colour;
        if (!SetSysColors(1, &element, &value)) LogError("SetSysColors");
    }
    LookWorker::PutOnScreen();
    if (wallChanged)
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}
}  // namespace

void PutLookOnScreen(const LookRequest& look) { PutLook(look, false); }
void PutLookOnScreenSettingColour(const LookRequest& look) { PutLook(look, true); }

}  // namespace orv
