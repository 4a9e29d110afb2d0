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
