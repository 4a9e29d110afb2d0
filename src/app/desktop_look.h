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

// What a look puts on the screen. Empty tile and style leave the system's values as they
// are (a style of none of the three kinds).
struct LookRequest {
    bool setColour = true;
    std::uint32_t colour = 0;
    std::string tile, wallStyle;  // "TileWallpaper", "WallpaperStyle"
    std::string wallpaper;
};

// The operating system's side of the look. Reading never broadcasts; putting a look on the
// screen does (to every top-level window, which waits on a hung application), so it is
// handed over and never waited for here.
class LookOps {
public:
    virtual ~LookOps() = default;
    virtual std::uint32_t GetBackgroundColor() = 0;  // GetSysColor(COLOR_BACKGROUND)
    // Values under HKEY_CURRENT_USER.
    virtual std::string RegGetString(const std::string& subkey, const std::string& name) = 0;
    virtual bool ShellCopyFiles(const std::string& source, const std::string& target) = 0;
    // Puts the look on the screen some time later; a request not yet started is replaced
    // by the next one.
    virtual void RequestLook(const LookRequest& look) = 0;
    // True once every look requested is on the screen (the system may still be telling the
    // other programs).
    virtual bool LookShown() = 0;
    // While held, the looks requested wait: they go on the screen once released.
    virtual void HoldLooks(bool) {}
};

class DesktopLook {
public:
    DesktopLook(LookOps& ops, SettingsStore& store, std::string dataFolder);

    void SaveDesktopLook(int desk);
    // A switch holds the looks it requests until its windows are back: the system's
    // broadcasts would have every application answer them while it shows its windows.
    void HoldLooks(bool held) { ops_.HoldLooks(held); }
    // Requests the desktop's stored look.
    void RestoreDesktopLook(int desk);
    void SetWallpaper(std::int32_t style, const std::string& path);
    // The desktop's stored look as it goes onto the screen.
    LookRequest StoredLook(int desk) const;

private:
    LookOps& ops_;
    SettingsStore& store_;
    std::string dataFolder_;
    int requestedDesk_ = 0;  // whose look was requested last
};

// For each desktop whose "WALLPAPER" is empty: converts the picture beside the program
// ("bg" & n & ".jpg") into its bitmap copy ("Wall" & n & ".bmp") and stores that path, even
// when the conversion failed (a missing picture leaves no file).
using PictureConverter = std::function<bool(const std::string& picture, const std::string& bmp)>;
void MakeDefaultWallpapers(SettingsStore& store, const AppFolders& folders, const PictureConverter& convert);

}  // namespace orv
