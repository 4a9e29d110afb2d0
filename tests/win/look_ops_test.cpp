#include <gtest/gtest.h>

#include <fstream>

#include "app/desktop_look.h"
#include "app/win/look_ops.h"
#include "base/bmp.h"
#include "sandbox.h"
#include "settings/win/registry_mod.h"
#include "settings/win/registry_store.h"

namespace orv {
namespace {

using test::TempFolder;
using test::TestKey;

// Puts the system's desktop look back as it was after each test.
class LookTest : public ::testing::Test {
protected:
    void SetUp() override {
        colour_ = GetSysColor(COLOR_BACKGROUND);
        wall_ = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
        style_ = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
        tile_ = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    }
    void TearDown() override {
        Win32LookOps ops;
        ops.SetBackgroundColor(colour_);
        RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", style_);
        RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", tile_);
        ApplyWallpaperFile(wall_ == " " ? "" : wall_);
    }
    static void WriteBmp(const std::string& path, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        std::vector<std::uint8_t> px(8 * 8 * 3);
        for (std::size_t i = 0; i < px.size(); i += 3) px[i] = b, px[i + 1] = g, px[i + 2] = r;
        auto file = EncodeBmp24(8, 8, px.data(), 24);
        std::ofstream(PathFromUtf8(path), std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                                  static_cast<std::streamsize>(file.size()));
    }

private:
    std::uint32_t colour_ = 0;
    std::string wall_, style_, tile_;
};

TEST_F(LookTest, BackgroundColourTakesEffectAtOnce) {
    Win32LookOps ops;
    for (std::uint32_t c : {0x00123456u, 0x00000000u, 0x00FFFFFFu}) {
        ops.SetBackgroundColor(c);
        EXPECT_EQ(ops.GetBackgroundColor(), c);
    }
}

TEST_F(LookTest, ApplyWallpaperWritesTheProfile) {
    TempFolder t;
    const std::string bmp = t / "Wänd 1.bmp";
    WriteBmp(bmp, 10, 20, 30);
    EXPECT_TRUE(ApplyWallpaperFile(bmp));
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), bmp);
    ApplyWallpaperFile("");
    const std::string cleared = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    EXPECT_TRUE(cleared.empty() || cleared == " ") << cleared;
}

// Counts the broadcasts a top-level window of this thread receives.
class BroadcastCounter {
public:
    BroadcastCounter() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvBroadcastCounter";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        colours = settings = 0;
    }
    ~BroadcastCounter() { DestroyWindow(hwnd_); }
    static inline int colours = 0;
    static inline int settings = 0;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_SYSCOLORCHANGE) ++colours;
        if (m == WM_SETTINGCHANGE && w == SPI_SETDESKWALLPAPER) ++settings;
        return DefWindowProcW(h, m, w, l);
    }
    HWND hwnd_ = nullptr;
};

TEST_F(LookTest, NothingIsBroadcastWhenTheLookDoesNotChange) {
    TempFolder t;
    const std::string bmp = t / "same.bmp";
    WriteBmp(bmp, 1, 2, 3);
    Win32LookOps ops;
    ops.SetBackgroundColor(0x00102030);
    ASSERT_TRUE(ops.ApplyWallpaperFile(bmp));
    BroadcastCounter count;

    ops.SetBackgroundColor(0x00102030);
    EXPECT_TRUE(ops.ApplyWallpaperFile(bmp));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(BroadcastCounter::colours, 0);
    EXPECT_EQ(BroadcastCounter::settings, 0);

    // A new colour, a new style for the same file, or another file: each is broadcast.
    ops.SetBackgroundColor(0x00302010);
    const std::string other = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper") == "1" ? "0" : "1";
    ops.RegSetString(kDesktopKey, "TileWallpaper", other);
    EXPECT_TRUE(ops.ApplyWallpaperFile(bmp));
    EXPECT_TRUE(ops.ApplyWallpaperFile(""));
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(BroadcastCounter::colours, 1);
    EXPECT_EQ(BroadcastCounter::settings, 2);
}

TEST_F(LookTest, EachDesktopGetsItsOwnLookBack) {
    TestKey k;
    TempFolder data;
    RegistryStore store(k.path(), "OrvantaZ");
    Win32LookOps ops;
    DesktopLook look(ops, store, data.str() + "\\");

    // Desktop 2: a converted picture in the system's own file, tiled, on dark blue.
    const std::string sysDir = data / "Microsoft";
    std::filesystem::create_directories(PathFromUtf8(sysDir));
    const std::string sysWall = sysDir + "\\Wallpaper1.bmp";
    WriteBmp(sysWall, 200, 0, 0);
    ops.SetBackgroundColor(0x00400000);
    ASSERT_TRUE(ApplyWallpaperFile(sysWall));
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "1");
    look.SaveDesktopLook(2);

    const std::string copy = data.str() + "\\\\Wall2.bmp";
    EXPECT_EQ(store.Get("DESK2", "1"), "4194304");
    EXPECT_EQ(store.Get("DESK2", "WALLPAPER"), copy);
    EXPECT_EQ(store.Get("DESK2", "WALLSTYLE"), "1");
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(copy)));

    // Desktop 3: the system converts another picture into the same file.
    WriteBmp(sysWall, 0, 200, 0);
    ops.SetBackgroundColor(0x00000040);
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "0");
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "0");
    look.SaveDesktopLook(3);

    look.RestoreDesktopLook(2);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), 0x00400000u);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), copy);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "1");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "0");
    std::ifstream f(PathFromUtf8(copy), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), {});
    ASSERT_GT(bytes.size(), 56u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[54]), 200u) << "desktop 2 kept its own picture";

    look.RestoreDesktopLook(3);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), 0x00000040u);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"), data.str() + "\\\\Wall3.bmp");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "0");
}

TEST_F(LookTest, UnreadableStyleFallsBackToStretched) {
    TestKey k;
    RegistryStore store(k.path(), "OrvantaZ");
    store.Set("DESK5", "WALLSTYLE", "x");
    store.Set("DESK5", "1", "255");
    Win32LookOps ops;
    DesktopLook look(ops, store, "C:\\nowhere\\");
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "0");
    RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "1");
    look.RestoreDesktopLook(5);
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle"), "2");
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper"), "0");
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), 255u);
}

}  // namespace
}  // namespace orv
