// The six default wallpapers, made once from the pictures beside the program.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "app/flavour.h"
#include "settings/settings_store.h"

namespace orv {

// Decodes a picture (JPEG, PNG, BMP ...) with the platform's codecs and writes it as a
// 24-bit bitmap file, whole or not at all (a reader never sees half a file). False when
// nothing was written.
bool ConvertPictureToBmp(const std::string& picture, const std::string& bmpPath);

// MakeDefaultWallpapers with the pictures made on a thread of its own, so that the first
// start shows the bar at once: the same "WALLPAPER" values, stored at once, and the same
// files, a little later (a desktop entered within that moment shows its picture from the
// next visit on). No thread when every desktop has its picture.
class WallpaperMaker {
public:
    WallpaperMaker() = default;
    WallpaperMaker(const WallpaperMaker&) = delete;
    WallpaperMaker& operator=(const WallpaperMaker&) = delete;
    ~WallpaperMaker() { Wait(); }

    void Start(SettingsStore& store, const AppFolders& folders);
    // Until the pictures are made (quitting: the values and files are whole when we end).
    void Wait() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

}  // namespace orv
