#include <gtest/gtest.h>

#include "app/win/default_wallpapers.h"
#include "app/win/look_ops.h"
#include "base/bmp.h"
#include "common/test_files.h"
#include "settings/win/registry_mod.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// A 3 x 2 bitmap file whose every byte differs, so swapped colours or rows show.
std::string Bmp(std::uint8_t seed) {
    std::uint8_t px[18];
    for (int i = 0; i < 18; ++i) px[i] = static_cast<std::uint8_t>(seed + 13 * i);
    const auto file = EncodeBmp24(3, 2, px, 9);
    return std::string(file.begin(), file.end());
}

TEST(ConvertPictureToBmp, APictureBecomesTheSameBitmapAndNothingIsWrittenForABrokenOne) {
    test::TempFolder t;
    test::WriteFile(t.path() / "in.bmp", Bmp(7));
    ASSERT_TRUE(ConvertPictureToBmp(t / "in.bmp", t / "Wäll.bmp"));
    EXPECT_EQ(test::ReadFile(PathFromUtf8(t / "Wäll.bmp")), Bmp(7));
    ASSERT_TRUE(ConvertPictureToBmp(ORV_SOURCE_DIR "/res/bg1.jpg", t / "bg1.bmp"));  // as shipped beside the program
    EXPECT_EQ(test::ReadFile(PathFromUtf8(t / "bg1.bmp")).size(), 54u + 800u * 3u * 600u);
    test::WriteFile(t.path() / "broken.jpg", "\xFF\xD8 not really a jpeg");
    EXPECT_FALSE(ConvertPictureToBmp(t / "missing.jpg", t / "a.bmp"));
    EXPECT_FALSE(ConvertPictureToBmp(t / "broken.jpg", t / "b.bmp"));
    EXPECT_FALSE(fs::exists(t.path() / "a.bmp") || fs::exists(t.path() / "b.bmp"));
}

int colourBroadcasts = 0, wallpaperBroadcasts = 0;
LRESULT CALLBACK CountBroadcasts(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SYSCOLORCHANGE) ++colourBroadcasts;
    if (m == WM_SETTINGCHANGE && w == SPI_SETDESKWALLPAPER) ++wallpaperBroadcasts;
    return DefWindowProcW(h, m, w, l);
}

// Puts the system's colour and wallpaper back as they were.
struct SystemLookGuard {
    const std::uint32_t colour = GetSysColor(COLOR_BACKGROUND);
    const std::string wall = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    const std::string style = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
    const std::string tile = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    ~SystemLookGuard() {
        Win32LookOps().SetBackgroundColor(colour);
        RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", style);
        RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", tile);
        ApplyWallpaperFile(wall == " " ? "" : wall);
    }
};

TEST(Win32LookOps, TheLookTakesEffectAtOnceAndIsBroadcastOnlyWhenItChanges) {
    SystemLookGuard guard;
    test::TempFolder t;
    const std::string bmp = t / "Wänd 1.bmp";
    test::WriteFile(PathFromUtf8(bmp), Bmp(1));
    Win32LookOps ops;
    ops.SetBackgroundColor(0x00102030);
    ASSERT_TRUE(ops.ApplyWallpaperFile(bmp));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), bmp) << "kept in the user's profile";

    WNDCLASSW wc{};
    wc.lpfnWndProc = &CountBroadcasts;
    wc.lpszClassName = L"OrvBroadcastCounter";
    RegisterClassW(&wc);
    HWND counter = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const auto countBroadcasts = [] {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
        return std::tuple(std::exchange(colourBroadcasts, 0), std::exchange(wallpaperBroadcasts, 0));
    };
    countBroadcasts();
    ops.SetBackgroundColor(0x00102030);  // as it is: nothing to tell anyone
    EXPECT_TRUE(ops.ApplyWallpaperFile(bmp));
    EXPECT_EQ(countBroadcasts(), std::tuple(0, 0));
    // A new colour, a new style for the same file, or another file: each is broadcast.
    ops.SetBackgroundColor(0x00302010);
    const bool tiled = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper") == "1";
    ops.RegSetString(kDesktopKey, "TileWallpaper", tiled ? "0" : "1");
    EXPECT_TRUE(ops.ApplyWallpaperFile(bmp));
    EXPECT_TRUE(ops.ApplyWallpaperFile(""));
    EXPECT_EQ(countBroadcasts(), std::tuple(1, 2));
    DestroyWindow(counter);
}

}  // namespace
}  // namespace orv
