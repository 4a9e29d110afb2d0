// Each desktop's look: background colour, wallpaper and its style, taken over from the
// system's display settings when a desktop is left and put back when it is entered.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/flavour.h"
#include "settings/settings_store.h"

namespace orv {

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop\\";
// What the system names the file it converts a chosen picture into.
inline constexpr const char* kSystemWallpaperName = "Microsoft\\Wallpaper1.bmp";

std::string DeskSection(int desk);  // "DESK" & n

// The operating system's side of the look.
class LookOps {
public:
    virtual ~LookOps() = default;
    virtual std::uint32_t GetBackgroundColor() = 0;        // GetSysColor(COLOR_BACKGROUND)
    virtual void SetBackgroundColor(std::uint32_t colour) = 0;  // SetSysColors, one element
    // Values under HKEY_CURRENT_USER.
    virtual std::string RegGetString(const std::string& subkey, const std::string& name) = 0;
    virtual bool RegSetString(const std::string& subkey, const std::string& name, const std::string& text) = 0;
    virtual bool ShellCopyFiles(const std::string& source, const std::string& target) = 0;
    virtual bool ApplyWallpaperFile(const std::string& path) = 0;
    // False while an application that stopped responding would make the colour and
    // wallpaper broadcasts wait for it.
    virtual bool BroadcastSafe() = 0;
};

class DesktopLook {
public:
    DesktopLook(LookOps& ops, SettingsStore& store, std::string dataFolder);

    void SaveDesktopLook(int desk);
    // Puts the desktop's look on the screen. While the system's broadcasts would wait on a
    // hung application, the look is kept pending instead, and RetryPending applies it later.
    void RestoreDesktopLook(int desk);
    void SetWallpaper(std::int32_t style, const std::string& path);

    // The desktop whose look waits to be applied, 0 when none.
    int PendingDesk() const { return pendingDesk_; }
    // Applies a pending look when it is safe now; true while one is still pending.
    bool RetryPending();

private:
    void ApplyLook(int desk);

    LookOps& ops_;
    SettingsStore& store_;
    std::string dataFolder_;
    int pendingDesk_ = 0;
};

// For each desktop whose "WALLPAPER" is empty: converts the picture beside the program
// ("bg" & n & ".jpg") into its bitmap copy ("Wall" & n & ".bmp") and stores that path, even
// when the conversion failed (a missing picture leaves no file).
using PictureConverter = std::function<bool(const std::string& picture, const std::string& bmp)>;
void MakeDefaultWallpapers(SettingsStore& store, const AppFolders& folders, const PictureConverter& convert);

}  // namespace orv
