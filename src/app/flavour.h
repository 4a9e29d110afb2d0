// The two product flavours. Flavour 2 is in force; flavour 1's values are kept as data so
// every place that depends on the flavour asks this table at run time.
#pragma once

#include <string>

namespace orv {

struct FlavourInfo {
    int flavour;
    const char* appName;           // application name of the settings store
    const char* appTitle;          // display title; begins with one blank
    const char* dataFolderSuffix;  // appended to the application-data folder
    const char* iconFolderPrefix;  // appended to the data folder, then the desktop number
    const char* productName;       // shown by the about box
    const char* helpFileName;      // beside the program
    int desktopHotkeys;            // desktop hotkey controls loaded and saved (KHKD 0..n-1)
    bool hasVideo;                 // VideoPlayer created, video options loaded
    bool trayShowsDesks5And6;      // tray menu items for desktops 5 and 6 visible
    bool barIconFromMenu;          // the bar takes the tray menu form's icon
};

// Start-up sets the flavour to 1 and at once to 2.
inline constexpr int kFlavourInForce = 2;

const FlavourInfo& Flavour(int flavour);
inline const FlavourInfo& CurrentFlavour() { return Flavour(kFlavourInForce); }

// Application folders that follow from the flavour.
struct AppFolders {
    std::string programFolder;  // folder of the exe, without a trailing separator
    std::string desktopFolder;  // the user's desktop directory (may be empty)
    std::string dataFolder;     // base & suffix (flavour 2 ends in a separator)
    std::string dataBase;       // the folder the data folder was made under

    std::string IconFolder(const FlavourInfo& f, int desk) const;
    std::string WallpaperCopy(int desk) const;  // dataFolder & "\Wall" & n & ".bmp"
    std::string DefaultPicture(int desk) const;  // programFolder & "\bg" & n & ".jpg"
    std::string HelpFile(const FlavourInfo& f) const;
};

// The data folder: under the application-data folder when the shell named one, otherwise
// under the program folder. Paths are joined by plain concatenation, as stored.
AppFolders ResolveFolders(const FlavourInfo& f, const std::string& programFolder,
                          const std::string& desktopFolder, const std::string& appDataFolder);

}  // namespace orv
