// The real exe driven as a user would. Checks that need the same set-up share one start.
#include <cstdio>

#include "app/desktop_look.h"
#include "app/win/bar_ids.h"
#include "app/win/look_ops.h"
#include "base/bmp.h"
#include "base/win/utf.h"
#include "e2e/driver.h"
#include "settings/win/registry_mod.h"

namespace orv::e2e {
namespace {

using test::ReadFile;
using test::WriteFile;

std::string DeskLook(const char* name) { return RegGetString(HKEY_CURRENT_USER, kDesktopKey, name); }

// A 16x16 picture of one blue shade, and the blue byte of a picture's first pixel.
void WriteBmp(const fs::path& p, std::uint8_t blue) {
    const std::vector<std::uint8_t> px(16 * 16 * 3, blue);
    const auto file = EncodeBmp24(16, 16, px.data(), 48);
    WriteFile(p, std::string(file.begin(), file.end()));
}
int FirstBlue(const std::string& path) {
    const std::string b = ReadFile(PathFromUtf8(path));
    return b.size() > 54 ? static_cast<std::uint8_t>(b[54]) : -1;
}

// Mixed types in every setting the program reads today; desktop 2's wallpaper gets the huge text.
void WriteGarbageInEverySetting() {
    const std::pair<DWORD, std::wstring> garbage[] = {{REG_SZ, L"1e12"}, {REG_SZ, L"-1e12"}, {REG_SZ, L"1e400"},
        {REG_DWORD, L"\xffff\xffff"}, {REG_SZ, L"NaN"}, {REG_SZ, std::wstring(70000, L'\x263a')}, {REG_BINARY, L"\x0102"},
        {REG_SZ, L"inf"}, {REG_SZ, L"-0"}, {REG_MULTI_SZ, std::wstring(L"a\0b\0", 5)}, {REG_SZ, L"99999999999999999999"},
        {REG_SZ, L""}, {REG_EXPAND_SZ, L"%NOPE%\\x"}, {REG_QWORD, L"\x1\x2\x3\x4"}};
    size_t i = 0;
    auto put = [&](const std::string& section, const char* key) {
        const auto& [type, data] = garbage[i++ % std::size(garbage)];
        RegSetKeyValueW(HKEY_CURRENT_USER, Widen("Software\\Quillon\\OrvantaZ\\" + section).c_str(), Widen(key).c_str(),
                        type, data.data(), static_cast<DWORD>(data.size() * 2));
    };
    for (const char* k : {"POSX", "POSY", "TOPMOST", "StartUp", "SharedIcons", "SnapZoom", "SnapSound", "SnapSaveOn",
                          "SnapSaveFormat", "SnapSavePath", "SnapSavePrefix", "SnapSaveCount", "SnapSaveLastFile",
                          "SnapPreview", "SnapJpgQuality"})
        put("CONFIG", k);
    for (int n = 1; n <= 6; ++n)
        for (const char* k : {"1", "WALLPAPER", "WALLSTYLE"}) put("DESK" + std::to_string(n), k);
}

TEST_F(AppTest, FirstStartFromANonAsciiFolderSavesOnQuit) {
    // An installed copy with its pictures beside it, in a folder whose name is not ASCII.
    test::TempFolder t;
    const fs::path folder = t.path() / PathFromUtf8("Prøgram Ördner 日本");
    fs::create_directories(folder);
    for (const char* f : {"Orvanta.exe", "bg1.jpg", "bg2.jpg", "bg3.jpg", "bg4.jpg", "bg5.jpg", "bg6.jpg"})
        fs::copy_file(BuildDir() / f, folder / f);
    ASSERT_TRUE(Start(folder / "Orvanta.exe"));

    const RECT bar = Rect(Bar());
    EXPECT_TRUE(bar.left == 200 && bar.top == 200) << bar.left << "," << bar.top;
    const LONG_PTR ex = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;  // the bar stays out of the task list
    EXPECT_EQ(GetWindowLongPtrW(Bar(), GWL_EXSTYLE) & ex, ex);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Title(GetDlgItem(Bar(), kIdDesk0 + i)), std::to_wstring(i + 1));
    EXPECT_EQ(MarkedDesk(), 1);
    // Six default wallpapers made from the pictures beside the program, one per desktop.
    for (int n = 1; n <= 6; ++n) {
        const std::string wall = DataPath("Wall" + std::to_string(n) + ".bmp");
        EXPECT_EQ(Setting(("DESK" + std::to_string(n)).c_str(), "WALLPAPER"), wall);
        EXPECT_TRUE(WaitUntil([&] { return ReadFile(PathFromUtf8(wall)).substr(0, 2) == "BM"; }, 10000)) << n;  // made behind the bar
        EXPECT_TRUE(fs::is_directory(IconFolder(n))) << n;
    }
    EXPECT_EQ(Setting("DESK1", "1"), "0") << "the colour found on the screen";
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kRunKey, "Orvanta.Exe"), Utf8FromPath(folder) + "\\Orvanta.Exe");

    // The quit image acts on the release, wherever it is; answering No changes nothing.
    ASSERT_TRUE(MouseDrag(Centre(Rect(GetDlgItem(Bar(), kIdImgButton4))), {600, 500}));
    ASSERT_TRUE(AnswerMessageBox(kAppTitle, kQuitQuestion, IDNO, 10000));
    EXPECT_TRUE(Responds(Bar()));
    EXPECT_FALSE(Setting("CONFIG", "POSX")) << "nothing was saved";

    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    const std::pair<const char*, const char*> saved[] = {{"POSX", "200"}, {"POSY", "200"}, {"StartUp", "1"},
        {"SharedIcons", "True"}, {"SnapSavePrefix", "Snap"}, {"SnapJpgQuality", "80"}, {"SnapSaveFormat", "1"}};
    for (const auto& [key, value] : saved) EXPECT_EQ(Setting("CONFIG", key), value) << key;
}

TEST_F(AppTest, SwitchingHidesEligibleWindowsAndBringsThemBackAsTheyWere) {
    TestWindows tw = OpenTestWindows({
        L"title=Cover;x=0;y=0;w=800;h=600", L"title=Small;state=min", L"title=Large;state=max",
        L"title=Grüße 日本", L"title=Registry Editor - HKCU", L"title=Closed while hidden", L"title=",
        L"title=Registry Editor", L"title=Program Manager", L"title=Tessara - Microsoft Visual Basic [design]",
        L"title=SENS", L"title=Never shown;state=hidden", L"title=Born on two;state=hidden",
    });
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    HWND cover = tw.Get(L"Cover");
    // The bar's body is a dark blue gradient, far from the light colours of the test windows.
    auto barOnTop = [&] {
        const RECT r = Rect(Bar());
        HDC screen = GetDC(nullptr);
        const COLORREF px = GetPixel(screen, r.left + 4, (r.top + r.bottom) / 2);
        ReleaseDC(nullptr, screen);
        return GetBValue(px) > GetRValue(px) && GetRValue(px) < 0x80;
    };
    auto switchTo = [&](int desk) {
        ClickDesk(desk);
        PumpFor(400);  // the windows just shown settle and may raise themselves
        EXPECT_TRUE(WaitUntil(barOnTop, 3000)) << "the bar is painted on top on desk " << desk;
    };

    ClickDesk(1);  // the current desktop: nothing is hidden and shown again
    EXPECT_FALSE(WaitUntil([&] { return Hides(cover) > 0; }, 1000));

    switchTo(2);
    for (const wchar_t* t : {L"Cover", L"Small", L"Large", L"Grüße 日本", L"Registry Editor - HKCU", L"Closed while hidden"})
        EXPECT_TRUE(WaitVisible(tw.Get(t), false)) << Narrow(t);
    for (const wchar_t* t : {L"", L"Registry Editor", L"Program Manager", L"Tessara - Microsoft Visual Basic [design]", L"SENS"})
        EXPECT_TRUE(IsWindowVisible(tw.Get(t))) << "never hidden: '" << Narrow(t) << "'";

    ASSERT_TRUE(Quit(IDNO));  // changes nothing
    EXPECT_EQ(MarkedDesk(), 2);
    EXPECT_FALSE(IsWindowVisible(cover));

    ShowWindow(tw.Get(L"Born on two"), SW_SHOWNORMAL);
    PostMessageW(tw.Get(L"Closed while hidden"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tw.Get(L"Closed while hidden")); }, 5000));
    switchTo(1);
    for (const wchar_t* t : {L"Cover", L"Small", L"Large", L"Grüße 日本"}) EXPECT_TRUE(WaitVisible(tw.Get(t), true)) << Narrow(t);
    EXPECT_TRUE(IsIconic(tw.Get(L"Small")));
    EXPECT_TRUE(IsZoomed(tw.Get(L"Large")));
    EXPECT_FALSE(IsIconic(cover) || IsZoomed(cover));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Born on two"), false));
    EXPECT_FALSE(IsWindowVisible(tw.Get(L"Never shown")));

    switchTo(2);
    EXPECT_TRUE(WaitVisible(tw.Get(L"Born on two"), true));
    EXPECT_TRUE(WaitVisible(cover, false));
}

TEST_F(AppTest, EachDesktopKeepsItsLookAndQuittingOnFourRestoresDesktopOne) {
    TestWindows tw = OpenTestWindows({L"title=Desk one", L"title=Desk two", L"title=Desk three", L"title=Desk four"});
    ASSERT_TRUE(tw.Ready());
    std::vector<HWND> wins;
    for (const auto& [h, t] : tw.items) ShowWindow(wins.emplace_back(h), SW_HIDE);
    // The system keeps every picture it converts in one file.
    const fs::path sysWall = fs::temp_directory_path() / "Microsoft" / "Wallpaper1.bmp";
    auto choose = [&](std::uint8_t blue) {
        WriteBmp(sysWall, blue);
        std::wstring path = sysWall.wstring();  // the user picks it: written to the profile, broadcast
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    };
    choose(10);
    SetSysColour(RGB(1, 2, 3));
    WriteFile(PathFromUtf8(DesktopFolder()) / "shared.txt", "for all");
    ASSERT_TRUE(Start());

    const int shows[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNORMAL};
    for (int d = 1; d <= 4; ++d) {
        if (d > 1) ClickDesk(d);
        if (d == 2) {  // never visited: black, its default picture, stretched
            EXPECT_EQ(FreshSysColour(), 0u);
            EXPECT_EQ(DeskLook("Wallpaper"), DataPath("Wall2.bmp"));
            EXPECT_EQ(DeskLook("WallpaperStyle"), "2");
        }
        if (d == 2 || d == 3) choose(static_cast<std::uint8_t>(10 * d));  // the user picks one
        if (d == 3) RegSetString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "1");
        ShowWindow(wins[d - 1], shows[d - 1]);  // and opens a window there
        ASSERT_TRUE(WaitVisible(wins[d - 1], true));
    }
    EXPECT_FALSE(IsWindowVisible(wins[0]));
    ClickDesk(2);
    EXPECT_EQ(DeskLook("Wallpaper"), DataPath("Wall2.bmp"));
    EXPECT_EQ(FirstBlue(DataPath("Wall2.bmp")), 20) << "desktop 2 shows its own picture";
    EXPECT_EQ(FirstBlue(DataPath("Wall3.bmp")), 30);
    EXPECT_EQ(Setting("DESK3", "WALLSTYLE"), "1") << "a tiled wallpaper is stored as style 1";
    EXPECT_TRUE(WaitVisible(wins[1], true));
    EXPECT_FALSE(IsWindowVisible(wins[3]));
    ClickDesk(4);

    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    for (HWND h : wins) EXPECT_TRUE(WaitVisible(h, true)) << Narrow(Title(h));
    EXPECT_TRUE(IsIconic(wins[1]));
    EXPECT_TRUE(IsZoomed(wins[2]));
    EXPECT_EQ(DeskLook("Wallpaper"), DataPath("Wall1.bmp"));
    EXPECT_EQ(FirstBlue(DataPath("Wall1.bmp")), 10) << "desktop 1 kept a copy of its own";
    EXPECT_EQ(FreshSysColour(), RGB(1, 2, 3));
    EXPECT_EQ(ReadFile(PathFromUtf8(DesktopFolder()) / "shared.txt"), "for all") << "shared icons stay";
    EXPECT_TRUE(fs::is_empty(IconFolder(1)));
}

TEST_F(AppTest, OwnIconsPerDesktopWithNameCollisionsAndAQuitOnFour) {
    using test::ReadTree, test::Tree;
    SetSetting("CONFIG", "SharedIcons", "False");
    const fs::path desk = PathFromUtf8(DesktopFolder());
    test::PlantTree(desk, {{"notes.txt", "desk one notes"}, {"Project/plan.txt", "plan"}, {"Grüße 日本.txt", "unicode"}});
    // Left in the icon folders from an earlier run: folders merge, and a file met by an arriving
    // one of the same name is kept under a numbered name.
    test::PlantTree(IconFolder(1), {{"notes.txt", "stale"}, {"Project/old.txt", "old"}});
    const Tree two = {{"two.txt", "desk two"}, {"Project/todo.txt", "todo"}};
    test::PlantTree(IconFolder(2), two);
    ASSERT_TRUE(Start());

    ClickDesk(2);
    EXPECT_EQ(ReadTree(desk), two);
    EXPECT_EQ(ReadTree(IconFolder(2)), Tree{});
    Tree one = {{"notes.txt", "desk one notes"}, {"Project/plan.txt", "plan"}, {"Grüße 日本.txt", "unicode"},
                {"Project/old.txt", "old"}, {"notes (2).txt", "stale"}};
    EXPECT_EQ(ReadTree(IconFolder(1)), one);

    WriteFile(IconFolder(1) / "two.txt", "arriving");  // on the desktop and in the folder entered
    ClickDesk(1);
    one["two.txt"] = "arriving";
    EXPECT_EQ(ReadTree(desk), one);
    EXPECT_EQ(ReadTree(IconFolder(2)), two);
    EXPECT_EQ(ReadTree(IconFolder(1)), Tree{});

    // A quit on desktop 4 that left 4's files on the Desktop and 1's in OrvDesk1 would make the
    // next start file 4's under desktop 1, where a same-named file meets another.
    const Tree four = {{"four.txt", "4"}, {"notes.txt", "four's"}, {"Project/todo.txt", "todo"}};
    for (const int at : {4, 1}) {  // quit there; start again, over to 4 and back to 1
        if (at == 1) { ASSERT_TRUE(Start()); }
        ClickDesk(4);
        if (at == 4) test::PlantTree(desk, four);
        EXPECT_EQ(ReadTree(desk), four);
        ClickDesk(at);
        ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
        EXPECT_EQ(ReadTree(desk), one);
        EXPECT_EQ(ReadTree(IconFolder(4)), four);
        EXPECT_TRUE(fs::is_empty(IconFolder(1)));
    }
}

TEST_F(AppTest, TheBarKeepsItsPlaceMovesByTheLeftButtonComesBackOnScreenAndAfterHiding) {
    SetSetting("CONFIG", "POSX", "313.3333");
    SetSetting("CONFIG", "POSY", "120.5");
    SetSetting("CONFIG", "TOPMOST", "0");
    SetSetting("CONFIG", "StartUp", "2");
    RegSetString(HKEY_CURRENT_USER, kRunKey, "Orvanta.Exe", "C:\\stale\\Orvanta.Exe");
    ASSERT_TRUE(Start());
    const RECT r = Rect(Bar());
    EXPECT_EQ(r.left, 313);
    EXPECT_EQ(r.top, 120) << "halves round to even";
    EXPECT_FALSE(GetWindowLongPtrW(Bar(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Setting("CONFIG", "StartUp"), "0") << "an unknown value is switched off at once";
    EXPECT_EQ(RegGetString(HKEY_CURRENT_USER, kRunKey, "Orvanta.Exe"), "");

    // Dragged by its body: the right button does nothing, the left moves it like a caption.
    const POINT grab = {r.right - 3, r.top + 3}, drop = {grab.x + 60, grab.y + 40};
    ASSERT_TRUE(MouseDrag(grab, drop, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
    Settle(Bar());
    EXPECT_EQ(Rect(Bar()).left, 313);
    EXPECT_EQ(Rect(Bar()).top, 120);
    ASSERT_TRUE(MouseDrag(grab, drop));
    ASSERT_TRUE(WaitUntil([&] { return Rect(Bar()).left == 373; }, 5000));
    EXPECT_EQ(Rect(Bar()).top, 160);
    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    EXPECT_EQ(Setting("CONFIG", "POSX"), "373");
    EXPECT_EQ(Setting("CONFIG", "POSY"), "160");

    // A stored place on no monitor comes back onto the screen; so does garbage in every setting,
    // which must not crash the start or a switch either.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    auto onScreen = [&](const RECT& p) { return p.left >= 0 && p.top >= 0 && p.right <= sw && p.bottom <= sh; };
    const std::pair<const char*, const char*> places[] = {{"99999", "-5000"}, {"1e12", "1e12"}, {"-400", "300"}};
    for (const auto& [x, y] : places) {
        SetSetting("CONFIG", "POSX", x);
        SetSetting("CONFIG", "POSY", y);
        ASSERT_TRUE(Start()) << x;
        EXPECT_TRUE(onScreen(Rect(Bar()))) << x << "," << y;
    }
    WriteGarbageInEverySetting();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(onScreen(Rect(Bar())));
    ClickDesk(2);
    ClickDesk(1);

    // Hidden, the bar is reached again by a second start too (a user who forgot the tray icon),
    // which ends without writing into the running one's log.
    ASSERT_TRUE(ClickControl(Bar(), kIdImgButton5));
    ASSERT_TRUE(WaitVisible(Bar(), false));
    Process second = Launch(BuildDir() / "Orvanta.exe");
    EXPECT_TRUE(AnswerMessageBox(L"Advice", L"Only one instance of this program can run.", IDOK, 15000));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(WaitVisible(Bar(), true));
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    const std::string log = ReadLog();
    EXPECT_TRUE(log.find("started: ") < log.find("Ended cleanly") && log.find("Ended cleanly") != std::string::npos) << log;
    EXPECT_EQ(log.find("[" + std::to_string(second.Pid()) + "]"), std::string::npos) << "the second start wrote";
}

TEST_F(AppTest, AHungWindowDoesNotStallTheSwitchAndIsStillRecorded) {
    // Away from the bar: under Wine a window created later may cover another process's
    // topmost window until the next switch.
    TestWindows tw = OpenTestWindows({L"title=Hangs;hang=1;x=480;y=300", L"title=Fine;x=560;y=380"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    HWND hangs = tw.Get(L"Hangs");
    ASSERT_TRUE(PostMessageW(hangs, RegisterWindowMessageW(L"OrvTestHang"), 12000, 0));  // for 12 s
    ASSERT_TRUE(WaitUntil([&] { return !Responds(hangs, 100); }, 3000));

    for (int desk : {2, 1}) {
        const ULONGLONG t0 = GetTickCount64();
        ClickDesk(desk);
        std::printf("switch to %d with one hung window: %llu ms\n", desk, GetTickCount64() - t0);
        EXPECT_TRUE(WaitVisible(tw.Get(L"Fine"), desk == 1));
        EXPECT_TRUE(IsWindowVisible(hangs)) << "its hide waits in its queue";
        if (desk == 2) {
            EXPECT_TRUE(WaitUntil([&] { return DeskLook("Wallpaper") == Setting("DESK2", "WALLPAPER"); }, 2000))
                << "the wallpaper is stored at once; only the broadcasts wait";
        }
    }
    ClickDesk(2);
    // Awake again, it runs its queued requests in order: recorded on desktop 1 and hidden,
    // it ends hidden on desktop 2, and the pending look is applied.
    EXPECT_TRUE(WaitUntil([&] { return Responds(hangs, 100); }, 20000));
    EXPECT_TRUE(WaitVisible(hangs, false));
    EXPECT_TRUE(WaitUntil([&] { return DeskLook("Wallpaper") == Setting("DESK2", "WALLPAPER"); }, 5000));
    ClickDesk(1);
    EXPECT_TRUE(WaitVisible(hangs, true)) << "recorded while hung, shown again";
    EXPECT_TRUE(WaitVisible(tw.Get(L"Fine"), true));
}

}  // namespace
}  // namespace orv::e2e
