#include "app/desktop_look.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace orv {
namespace {

using test::FakeLookOps;

TEST(DesktopLook, SaveTakesOverTheScreen) {
    struct Case { const char* wall; const char* style; const char* tile; const char* savedWall; const char* savedStyle; };
    const Case cases[] = {
        {"C:\\pics\\a.bmp", "0", "0", "C:\\pics\\a.bmp", "0"},
        {"C:\\pics\\a.bmp", "2", "1", "C:\\pics\\a.bmp", "1"},     // tiled wins over the style
        {"", "x", "", "", "2"},                                    // not numbers: 2 and "0"
        {"C:\\x.bmp", "10", "01", "C:\\x.bmp", "10"},              // "01" is not exactly "1"
        {"C:\\Users\\u\\AppData\\Roaming\\MICROSOFT\\wallpaper1.bmp", "2", "0", "D\\\\Wall4.bmp", "2"},
    };
    for (const auto& c : cases) {
        FakeLookOps ops;
        MemoryStore store;
        ops.colour = 0x00336699;
        ops.reg = {{"Wallpaper", c.wall}, {"WallpaperStyle", c.style}, {"TileWallpaper", c.tile}};
        DesktopLook look(ops, store, "D\\");
        look.SaveDesktopLook(4);
        EXPECT_EQ(*store.Get("DESK4", "1"), "3368601");
        EXPECT_EQ(*store.Get("DESK4", "WALLPAPER"), c.savedWall) << c.wall;
        EXPECT_EQ(*store.Get("DESK4", "WALLSTYLE"), c.savedStyle) << c.wall;
    }
}

TEST(DesktopLook, SystemWallpaperIsCopiedPerDesktop) {
    FakeLookOps ops;
    MemoryStore store;
    ops.reg["Wallpaper"] = "C:\\AppData\\Microsoft\\Wallpaper1.bmp";
    DesktopLook look(ops, store, "D\\");
    look.SaveDesktopLook(2);
    EXPECT_EQ(ops.log, std::vector<std::string>{"copy C:\\AppData\\Microsoft\\Wallpaper1.bmp -> D\\\\Wall2.bmp"});
}

TEST(DesktopLook, RestoreAppliesColourStyleAndWallpaper) {
    struct Case { const char* colour; const char* style; const char* tile; const char* wstyle; };
    const Case cases[] = {
        {"255", "0", "0", "0"}, {"255", "1", "1", "0"}, {"255", "2", "0", "2"},
        {"255", "x", "0", "2"},      // not a number: stretched
        {"255", "1.5", "0", "2"},    // nearest, halves to even
        {"255", "0.5", "0", "0"},
        {"255", "7", "keep", "keep"},  // another style leaves the values
        {"junk", "0", "0", "0"},
    };
    for (const auto& c : cases) {
        FakeLookOps ops;
        MemoryStore store;
        ops.reg = {{"TileWallpaper", "keep"}, {"WallpaperStyle", "keep"}};
        store.Set("DESK3", "1", c.colour);
        store.Set("DESK3", "WALLPAPER", "C:\\w.bmp");
        store.Set("DESK3", "WALLSTYLE", c.style);
        DesktopLook look(ops, store, "D\\");
        look.RestoreDesktopLook(3);
        EXPECT_EQ(ops.colour, std::string(c.colour) == "junk" ? 0u : 255u);
        EXPECT_EQ(ops.reg["TileWallpaper"], c.tile) << c.style;
        EXPECT_EQ(ops.reg["WallpaperStyle"], c.wstyle) << c.style;
        EXPECT_EQ(ops.log.back(), "apply C:\\w.bmp");
    }
}

TEST(DesktopLook, AHungApplicationDefersTheLookInsteadOfBlocking) {
    FakeLookOps ops;
    MemoryStore store;
    store.Set("DESK2", "1", "255");
    store.Set("DESK2", "WALLPAPER", "C:\\two.bmp");
    store.Set("DESK1", "1", "7");
    DesktopLook look(ops, store, "D\\");
    ops.colour = 9;
    ops.safe = false;
    look.RestoreDesktopLook(2);
    EXPECT_TRUE(ops.log.empty()) << "nothing that broadcasts ran";
    EXPECT_EQ(look.PendingDesk(), 2);
    EXPECT_TRUE(look.RetryPending());

    // Leaving desktop 2 before its look was shown keeps what is stored for it.
    look.SaveDesktopLook(2);
    EXPECT_EQ(*store.Get("DESK2", "1"), "255");
    look.RestoreDesktopLook(1);  // still unsafe: desktop 1 is pending now
    EXPECT_EQ(look.PendingDesk(), 1);

    ops.safe = true;
    EXPECT_FALSE(look.RetryPending());
    EXPECT_EQ(ops.colour, 7u);
    EXPECT_EQ(look.PendingDesk(), 0);
    EXPECT_FALSE(look.RetryPending());
    EXPECT_EQ(ops.log.size(), 4u);  // colour, two style values, wallpaper: once
}

TEST(DesktopLook, NeverLeftDesktopIsBlackAndStretched) {
    FakeLookOps ops;
    MemoryStore store;
    ops.colour = 77;
    DesktopLook look(ops, store, "D\\");
    look.RestoreDesktopLook(6);
    EXPECT_EQ(ops.colour, 0u);
    EXPECT_EQ(ops.reg["WallpaperStyle"], "2");
    EXPECT_EQ(ops.log.back(), "apply ");
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

TEST(DefaultWallpapers, OnlyEmptyDesktopsGetThemAndThePathIsStoredEvenWhenMissing) {
    MemoryStore store;
    store.Set("DESK2", "WALLPAPER", "C:\\mine.bmp");
    AppFolders folders = ResolveFolders(CurrentFlavour(), "C:\\Prog", "", "C:\\AD");
    std::vector<std::string> converted;
    MakeDefaultWallpapers(store, folders, [&](const std::string& from, const std::string& to) {
        converted.push_back(from + " -> " + to);
        return from.find("bg3") == std::string::npos;  // bg3.jpg is missing
    });
    ASSERT_EQ(converted.size(), 5u);
    EXPECT_EQ(converted[0], "C:\\Prog\\bg1.jpg -> C:\\AD\\Quillon\\Orvanta\\\\Wall1.bmp");
    EXPECT_EQ(*store.Get("DESK2", "WALLPAPER"), "C:\\mine.bmp");
    EXPECT_EQ(*store.Get("DESK3", "WALLPAPER"), "C:\\AD\\Quillon\\Orvanta\\\\Wall3.bmp");
    EXPECT_EQ(*store.Get("DESK6", "WALLPAPER"), "C:\\AD\\Quillon\\Orvanta\\\\Wall6.bmp");

    converted.clear();
    MakeDefaultWallpapers(store, folders, [&](const std::string& a, const std::string&) {
        converted.push_back(a);
        return true;
    });
    EXPECT_TRUE(converted.empty());  // a second start changes nothing
}

}  // namespace
}  // namespace orv
