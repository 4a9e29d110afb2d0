// Each desktop's own look and desktop icons, through the real program.
#include <fstream>

#include "base/bmp.h"
#include "e2e/app_fixture.h"

namespace orv::e2e {
namespace {

namespace fs = std::filesystem;

void WriteBmp(const fs::path& p, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    std::vector<std::uint8_t> px(16 * 16 * 3);
    for (std::size_t i = 0; i < px.size(); i += 3) px[i] = b, px[i + 1] = g, px[i + 2] = r;
    auto file = orv::EncodeBmp24(16, 16, px.data(), 48);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

// The blue byte of the first pixel of a 24-bit bitmap file.
int FirstBlue(const fs::path& p) {
    std::string b = ReadFile(p);
    return b.size() > 54 ? static_cast<std::uint8_t>(b[54]) : -1;
}

void ChooseWallpaper(const fs::path& p) {
    std::wstring w = p.wstring();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, w.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

std::wstring Wallpaper() { return ReadString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper").value_or(L""); }

TEST_F(AppTest, EachDesktopKeepsItsLookIncludingTheSystemsConvertedPicture) {
    // The system keeps every picture it converts in one file under "Microsoft\Wallpaper1.bmp".
    const fs::path sysWall = fs::path(TempDir()) / L"Microsoft" / L"Wallpaper1.bmp";
    WriteBmp(sysWall, 10, 0, 0);
    ChooseWallpaper(sysWall);
    SetSysColour(RGB(1, 2, 3));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Setting(L"DESK1", L"WALLPAPER"), DataPath(L"Wall1.bmp")) << "desktop 1 keeps a copy of its own";
    EXPECT_EQ(FirstBlue(DataPath(L"Wall1.bmp")), 10);

    ClickDesk(2);  // never visited: black, its default picture, stretched
    EXPECT_EQ(FreshSysColour(), 0u);
    EXPECT_EQ(Wallpaper(), DataPath(L"Wall2.bmp"));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"), L"2");

    WriteBmp(sysWall, 20, 0, 0);  // the user picks a picture on desktop 2
    ChooseWallpaper(sysWall);
    ClickDesk(3);
    EXPECT_EQ(Setting(L"DESK1", L"1"), std::to_wstring(RGB(1, 2, 3)));
    EXPECT_EQ(Setting(L"DESK2", L"1"), L"0");
    WriteBmp(sysWall, 30, 0, 0);  // and another one on desktop 3, into the same file
    ChooseWallpaper(sysWall);
    WriteString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper", L"1");

    ClickDesk(2);
    EXPECT_EQ(Wallpaper(), DataPath(L"Wall2.bmp"));
    EXPECT_EQ(FirstBlue(DataPath(L"Wall2.bmp")), 20) << "desktop 2 shows its own picture";
    EXPECT_EQ(Setting(L"DESK3", L"WALLSTYLE"), L"1") << "a tiled wallpaper is stored as style 1";

    ClickDesk(3);
    EXPECT_EQ(FirstBlue(DataPath(L"Wall3.bmp")), 30);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper"), L"1");
    ClickDesk(1);
    EXPECT_EQ(FreshSysColour(), RGB(1, 2, 3));
    EXPECT_EQ(Wallpaper(), DataPath(L"Wall1.bmp"));
}

TEST_F(AppTest, OwnIconsPerDesktopWithNameCollisions) {
    SetSetting(L"CONFIG", L"SharedIcons", L"False");
    const fs::path desk = DesktopFolder();
    WriteFile(desk / L"notes.txt", "desk one notes");
    WriteFile(desk / L"Project" / L"plan.txt", "plan");
    WriteFile(desk / U8("Grüße 日本.txt"), "unicode");
    // Left in desktop 1's folder from an earlier run: the files arriving replace them and the
    // folders merge.
    WriteFile(IconFolder(1) / L"notes.txt", "stale");
    WriteFile(IconFolder(1) / L"Project" / L"old.txt", "old");
    WriteFile(IconFolder(2) / L"two.txt", "desk two");
    WriteFile(IconFolder(2) / L"Project" / L"todo.txt", "todo");
    ASSERT_TRUE(Start());

    ClickDesk(2);
    EXPECT_EQ(ReadFile(desk / L"two.txt"), "desk two");
    EXPECT_EQ(ReadFile(desk / L"Project" / L"todo.txt"), "todo");
    EXPECT_FALSE(fs::exists(desk / L"notes.txt"));
    EXPECT_FALSE(fs::exists(desk / L"Project" / L"plan.txt"));
    EXPECT_TRUE(fs::is_empty(IconFolder(2)));
    EXPECT_EQ(ReadFile(IconFolder(1) / L"notes.txt"), "desk one notes");
    EXPECT_EQ(ReadFile(IconFolder(1) / L"Project" / L"plan.txt"), "plan");
    EXPECT_EQ(ReadFile(IconFolder(1) / L"Project" / L"old.txt"), "old");

    // A file that is on the desktop and in the folder of the desktop being entered.
    WriteFile(IconFolder(1) / L"two.txt", "arriving");
    ClickDesk(1);
    EXPECT_EQ(ReadFile(desk / L"notes.txt"), "desk one notes");
    EXPECT_EQ(ReadFile(desk / U8("Grüße 日本.txt")), "unicode");
    EXPECT_EQ(ReadFile(desk / L"Project" / L"plan.txt"), "plan");
    EXPECT_EQ(ReadFile(IconFolder(2) / L"two.txt"), "desk two");
    EXPECT_EQ(ReadFile(desk / L"two.txt"), "arriving");
    EXPECT_TRUE(fs::is_empty(IconFolder(1)));
}

TEST_F(AppTest, SharedIconsLeaveTheDesktopAlone) {
    WriteFile(DesktopFolder() / L"shared.txt", "for all");
    ASSERT_TRUE(Start());
    ClickDesk(4);
    EXPECT_EQ(ReadFile(DesktopFolder() / L"shared.txt"), "for all");
    EXPECT_TRUE(fs::is_empty(IconFolder(1)));
}

}  // namespace
}  // namespace orv::e2e
