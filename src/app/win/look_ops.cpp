#include "app/win/look_ops.h"

#include <windows.h>

#include "app/win/shell_files.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/win/registry_mod.h"

namespace orv {

std::uint32_t Win32LookOps::GetBackgroundColor() { return GetSysColor(COLOR_BACKGROUND); }

void Win32LookOps::SetBackgroundColor(std::uint32_t colour) {
    // Setting the colour it already has would only broadcast to every window for nothing.
    if (GetSysColor(COLOR_BACKGROUND) == colour) return;
    const int element = COLOR_BACKGROUND;
    const COLORREF value = colour;
    if (!SetSysColors(1, &element, &value)) LogError("SetSysColors");
}

std::string Win32LookOps::RegGetString(const std::string& subkey, const std::string& name) {
    return orv::RegGetString(HKEY_CURRENT_USER, subkey, name);
}

bool Win32LookOps::RegSetString(const std::string& subkey, const std::string& name, const std::string& text) {
    if (orv::RegGetString(HKEY_CURRENT_USER, subkey, name) != text) styleChanged_ = true;
    return orv::RegSetString(HKEY_CURRENT_USER, subkey, name, text);
}

bool Win32LookOps::ShellCopyFiles(const std::string& source, const std::string& target) {
    return orv::ShellCopyFiles(source, target);
}

bool Win32LookOps::ApplyWallpaperFile(const std::string& path) {
    // The same file in the same style is on the screen already: no broadcast needed.
    // No wallpaper is stored as one blank.
    std::string current = orv::RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    if (current == " ") current.clear();
    const bool same = !styleChanged_ && current == path;
    styleChanged_ = false;
    return same || orv::ApplyWallpaperFile(path);
}

bool ApplyWallpaperFile(const std::string& path) {
    std::wstring w = Widen(path);
    if (SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, w.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)) return true;
    LogError("SystemParametersInfoW SPI_SETDESKWALLPAPER " + path.substr(0, 300));
    return false;
}

}  // namespace orv
