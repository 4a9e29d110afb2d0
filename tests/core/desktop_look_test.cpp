#include "app/desktop_look.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace orv {
namespace {

using namespace test;

TEST(DesktopLook, SaveTakesOverTheScreenAndCopiesTheSystemsConvertedPicture) {
    struct Case { const char* wall; const char* style; const char* tile; const char* savedWall; const char* savedStyle; };
    for (const Case& c : {
        Case{"C:\\pics\\a.bmp", "0", "0", "C:\\pics\\a.bmp", "0"},
        {"C:\\pics\\a.bmp", "2", "1", "C:\\pics\\a.bmp", "1"},  // tiled wins over the style
        {"", "x", "", "", "2"},                                 // not numbers: style 2, tile "0"
        {"C:\\x.bmp", "10", "01", "C:\\x.bmp", "10"},           // "01" is not exactly "1"
        {"C:\\Users\\u\\AppData\\Roaming\\MICROSOFT\\wallpaper1.bmp", "2", "0", "D\\\\Wall4.bmp", "2"},
        {"C:\\Microsoft\\Wallpaper2.bmp", "2", "0", "C:\\Microsoft\\Wallpaper2.bmp", "2"}}) {
        FakeSystem sys;
        MemoryStore store;
        sys.colour = 0x00336699;
        sys.reg = {{"Wallpaper", c.wall}, {"WallpaperStyle", c.style}, {"TileWallpaper", c.tile}};
        DesktopLook(sys, store, "D\\").SaveDesktopLook(4);
        EXPECT_EQ(store.values, (std::map<std::string, std::string>{
                                    {"DESK4/1", "3368601"}, {"DESK4/WALLPAPER", c.savedWall}, {"DESK4/WALLSTYLE", c.savedStyle}}))
            << c.wall;
        Journal expected = {"read colour"};
        if (std::string(c.wall) != c.savedWall) expected.push_back("copy " + std::string(c.wall) + " -> " + c.savedWall);
        EXPECT_EQ(sys.journal, expected);
    }
}

TEST(DesktopLook, RestoreAppliesColourStyleAndWallpaper) {
    struct Case { const char* colour; const char* style; std::uint32_t eColour; const char* eTile; const char* eStyle; };
    for (const Case& c : {
        Case{"255", "0", 255, "0", "0"},   {"255", "1", 255, "1", "0"},     {"255", "2", 255, "0", "2"},
        {"255", "x", 255, "0", "2"},   {"255", "1.5", 255, "0", "2"},   {"255", "0.5", 255, "0", "0"},  // halves to even
        {"255", "7", 255, "keep", "keep"},                               // another style leaves the values
        {"junk", "0", 0, "0", "0"},    {"4294967295", "0", 0, "0", "0"},  // no 32-bit number: black
        {nullptr, nullptr, 0, "0", "2"}}) {                              // never left: black and stretched
        FakeSystem sys;
        MemoryStore store;
        sys.colour = 77;
        sys.reg = {{"TileWallpaper", "keep"}, {"WallpaperStyle", "keep"}};
        if (c.colour) store.values = {{"DESK3/1", c.colour}, {"DESK3/WALLPAPER", "C:\\w.bmp"}, {"DESK3/WALLSTYLE", c.style}};
        DesktopLook(sys, store, "D\\").RestoreDesktopLook(3);
        EXPECT_EQ(std::tuple(sys.colour, sys.reg["TileWallpaper"], sys.reg["WallpaperStyle"], sys.journal.back()),
                  std::tuple(c.eColour, c.eTile, c.eStyle, c.colour ? "wallpaper C:\\w.bmp" : "wallpaper "))
            << c.colour << " " << c.style;
    }
}

TEST(DesktopLook, LeavingADesktopBeforeItsLookIsOnTheScreenKeepsWhatIsStored) {
    // The fault: the screen, still showing the previous desktop's look, saved as this one's.
    FakeSystem sys;
    MemoryStore store;
    store.values = {{"DESK2/1", "255"}}, sys.colour = 7;
    DesktopLook look(sys, store, "D\\");
    sys.shown = false;  // the system is busy putting desktop 2's look on the screen
    look.RestoreDesktopLook(2);
    look.SaveDesktopLook(2);
    EXPECT_EQ(sys.journal, (Journal{"look waits"})) << "nothing read from the screen";
    look.SaveDesktopLook(3);  // not the desktop requested: saved as usual
    sys.shown = true;
    look.SaveDesktopLook(2);
    EXPECT_EQ(std::tuple(store.values["DESK3/1"], store.values["DESK2/1"]), std::tuple("7", "7"));
}

TEST(DefaultWallpapers, OnlyEmptyDesktopsGetThemAndThePathIsStoredEvenWhenMissing) {
    MemoryStore store;
    store.Set("DESK2", "WALLPAPER", "C:\\mine.bmp");
    const auto& f = CurrentFlavour();
    AppFolders folders = ResolveFolders(f, "C:\\Prog", "", "C:\\AD");
    Journal converted;
    const auto convert = [&](const std::string& from, const std::string& to) {
        converted.push_back(from + " -> " + to);
        return from.find("bg3") == std::string::npos;  // bg3.jpg is missing
    };
    MakeDefaultWallpapers(store, folders, convert);
    ASSERT_EQ(converted.size(), 5u);
    EXPECT_EQ(converted[0], "C:\\Prog\\bg1.jpg -> C:\\AD\\Quillon\\Orvanta\\\\Wall1.bmp");
    EXPECT_EQ(store.values["DESK2/WALLPAPER"], "C:\\mine.bmp");
    EXPECT_EQ(store.values["DESK3/WALLPAPER"], "C:\\AD\\Quillon\\Orvanta\\\\Wall3.bmp");
    MakeDefaultWallpapers(store, folders, convert);
    EXPECT_EQ(converted.size(), 5u) << "a second start changes nothing";
    // Without an application-data folder the data folder is made beside the program.
    EXPECT_EQ(ResolveFolders(f, "C:\\Prog", "", "").IconFolder(f, 6), "C:\\Prog\\Quillon\\Orvanta\\\\OrvDesk6");
}

}  // namespace
}  // namespace orv
