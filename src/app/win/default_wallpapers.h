// The six default wallpapers, made once from the pictures beside the program.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/flavour.h"
#include "settings/settings_store.h"

namespace orv {

// Decodes a picture (JPEG, PNG, BMP ...) with the platform's codecs and writes it as a
// 24-bit bitmap file, whole or not at all (a reader never sees half a file). False when
// nothing was written.
bool ConvertPictureToBmp(const std::string& picture, const std::string& bmpPath);

// MakeDefaultWallpapers with the pictures made one at a time behind the shown bar (MakeNext
// from the message loop, a few milliseconds each), so that the first start shows the bar at
// once: the same "WALLPAPER" values, stored at once, and the same files, a little later (a
// desktop entered within that moment shows its picture from the next visit on). No thread:
// under Wine an ended thread keeps about 1 MB of its stack.
class WallpaperMaker {
public:
    WallpaperMaker() = default;
    WallpaperMaker(const WallpaperMaker&) = delete;
    WallpaperMaker& operator=(const WallpaperMaker&) = delete;
    ~WallpaperMaker() { Wait(); }

    // Stores the values and notes the pictures to make. True when there are some.
    bool Start(SettingsStore& store, const AppFolders& folders);
    // Makes the next picture. True while more are left.
    bool MakeNext();
    // Makes every picture left (quitting: the values and files are whole when we end).
    void Wait() {
        while (MakeNext()) {
        }
    }

private:
    std::vector<std::pair<std::string, std::string>> jobs_;  // picture, bitmap; the last one next
};

}  // namespace orv
