// Start-up, the second instance, quitting and the settings that survive a restart.
#include "app/win/bar_ids.h"
#include "e2e/app_fixture.h"

namespace orv::e2e {
namespace {

namespace fs = std::filesystem;

TEST_F(AppTest, FirstStartOnAnEmptyRegistry) {
    ASSERT_TRUE(Start());
    const WindowState bar = GetWindowState(Bar());
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.title, kAppTitle);
    EXPECT_EQ(bar.rect.left, 200);
    EXPECT_EQ(bar.rect.top, 200);
    const LONG_PTR ex = GetWindowLongPtrW(Bar(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "the bar stays out of the task list";
    for (int i = 0; i < 6; ++i) EXPECT_EQ(WindowTitle(FindControl(Bar(), kIdDesk0 + i)), std::to_wstring(i + 1));
    EXPECT_EQ(MarkedDesk(), 1);
    EXPECT_NE(FindControl(Bar(), kIdImgButton4), nullptr);
    EXPECT_NE(FindControl(Bar(), kIdImgButton5), nullptr);

    // Six default wallpapers made from the pictures beside the program, stored per desktop.
    for (int n = 1; n <= 6; ++n) {
        const std::wstring wall = DataPath(L"Wall" + std::to_wstring(n) + L".bmp");
        EXPECT_EQ(Setting((L"DESK" + std::to_wstring(n)).c_str(), L"WALLPAPER"), wall);
        EXPECT_EQ(ReadFile(wall).substr(0, 2), "BM") << n;
        EXPECT_TRUE(fs::is_directory(IconFolder(n)));
    }
    EXPECT_EQ(Setting(L"DESK1", L"1"), L"0");  // the colour found on the screen
    // Autostart is on by default.
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, L"Orvanta.Exe"), ProgramFolder().wstring() + L"\\Orvanta.Exe");

    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    EXPECT_EQ(Setting(L"CONFIG", L"POSX"), L"200");
    EXPECT_EQ(Setting(L"CONFIG", L"POSY"), L"200");
    EXPECT_EQ(Setting(L"CONFIG", L"StartUp"), L"1");
    EXPECT_EQ(Setting(L"CONFIG", L"SharedIcons"), L"True");
    EXPECT_EQ(Setting(L"CONFIG", L"SnapSavePrefix"), L"Snap");
    EXPECT_EQ(Setting(L"CONFIG", L"SnapJpgQuality"), L"80");
    EXPECT_EQ(Setting(L"CONFIG", L"SnapSaveFormat"), L"1");
}

TEST_F(AppTest, RunsFromAProgramFolderWithANonAsciiName) {
    const fs::path folder = fs::path(TempDir()) / U8("Prøgram Ördner 日本");
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(ProgramFolder() / L"Orvanta.exe", folder / L"Orvanta.exe");
    for (int n = 1; n <= 6; ++n) {
        const std::wstring pic = L"bg" + std::to_wstring(n) + L".jpg";
        fs::copy_file(ProgramFolder() / pic, folder / pic);
    }
    Process app = Launch((folder / L"Orvanta.exe").wstring());
    ASSERT_TRUE(app);
    HWND bar = WaitForWindow(kBarClass, kAppTitle, 15000, app.Pid());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Responds(bar, 1000); }, 10000));  // start-up is done
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, L"Orvanta.Exe"), folder.wstring() + L"\\Orvanta.Exe");
    EXPECT_EQ(ReadFile(DataPath(L"Wall4.bmp")).substr(0, 2), "BM") << "the picture beside the program was found";
    app.Kill();
    fs::remove_all(folder);
}

TEST_F(AppTest, ASecondInstanceSaysSoAndEnds) {
    ASSERT_TRUE(Start());
    Process second = Launch(BuildPath(L"Orvanta.exe"));
    ASSERT_TRUE(second);
    EXPECT_TRUE(AnswerMessageBox(L"Advice", L"Only one instance of this program can run.", IDOK, 15000));
    EXPECT_TRUE(second.WaitExit(10000));
    EXPECT_TRUE(App().Running());
    EXPECT_TRUE(Responds(Bar()));
    EXPECT_EQ(FindTopWindow(kBarClass, nullptr), Bar()) << "the second process made no bar";
}

TEST_F(AppTest, AnsweringNoChangesNothing) {
    TestWindows tw = OpenTestWindows({L"title=Stays put", L"title=Also here;state=min"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    ClickDesk(3);
    ASSERT_TRUE(Quit(IDNO));
    EXPECT_TRUE(App().Running());
    EXPECT_TRUE(Responds(Bar()));
    EXPECT_EQ(MarkedDesk(), 3);
    EXPECT_FALSE(IsWindowVisible(tw.Get(L"Stays put")));
    EXPECT_FALSE(Setting(L"CONFIG", L"POSX").has_value()) << "nothing was saved";
    ClickDesk(1);  // still switches afterwards
    EXPECT_TRUE(WaitVisible(tw.Get(L"Stays put"), true));
    EXPECT_TRUE(IsIconic(tw.Get(L"Also here")));
}

TEST_F(AppTest, QuittingFromDesktopFourShowsEveryWindowAndDesktopOnesLook) {
    TestWindows tw = OpenTestWindows({L"title=Desk one", L"title=Desk two;state=min", L"title=Desk three;state=max",
                                      L"title=Desk four"});
    ASSERT_TRUE(tw.Ready());
    for (HWND h : tw.All()) ShowWindow(h, SW_HIDE);
    const COLORREF deskOneColour = RGB(10, 20, 30);
    SetSysColour(deskOneColour);
    ASSERT_TRUE(Start());
    const wchar_t* names[] = {L"Desk one", L"Desk two", L"Desk three", L"Desk four"};
    const int shows[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNORMAL};
    for (int d = 1; d <= 4; ++d) {
        if (d > 1) ClickDesk(d);
        ShowWindow(tw.Get(names[d - 1]), shows[d - 1]);  // the user opens a window on this desktop
        ASSERT_TRUE(WaitVisible(tw.Get(names[d - 1]), true));
    }
    EXPECT_FALSE(IsWindowVisible(tw.Get(L"Desk one")));
    EXPECT_EQ(FreshSysColour(), 0u) << "desktop 4 was never visited before: black";
    const std::wstring wall1 = *Setting(L"DESK1", L"WALLPAPER");

    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    for (HWND h : tw.All()) EXPECT_TRUE(WaitVisible(h, true)) << WindowTitle(h);
    EXPECT_TRUE(IsIconic(tw.Get(L"Desk two")));
    EXPECT_TRUE(IsZoomed(tw.Get(L"Desk three")));
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper"), wall1);
    EXPECT_EQ(FreshSysColour(), deskOneColour);
}

TEST_F(AppTest, BarPlacementAndAutostartSurviveARestart) {
    SetSetting(L"CONFIG", L"POSX", L"313.3333");
    SetSetting(L"CONFIG", L"POSY", L"120.5");
    SetSetting(L"CONFIG", L"TOPMOST", L"0");
    SetSetting(L"CONFIG", L"StartUp", L"2");
    WriteString(HKEY_CURRENT_USER, kRunKey, L"Orvanta.Exe", L"C:\\stale\\Orvanta.Exe");
    ASSERT_TRUE(Start());
    WindowState s = GetWindowState(Bar());
    EXPECT_EQ(s.rect.left, 313);
    EXPECT_EQ(s.rect.top, 120);  // halves to even
    EXPECT_FALSE(GetWindowLongPtrW(Bar(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Setting(L"CONFIG", L"StartUp"), L"0") << "an unknown StartUp value is switched off at once";
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, kRunKey, L"Orvanta.Exe").has_value());

    // Drag the bar by its body with the left button: it moves like a window by its caption.
    const int grabX = s.rect.right - 3, grabY = s.rect.top + 3;
    ASSERT_TRUE(MouseDownUp(grabX, grabY, grabX + 60, grabY + 40));
    ASSERT_TRUE(WaitUntil([&] { return GetWindowState(Bar()).rect.left == s.rect.left + 60; }, 5000));
    s = GetWindowState(Bar());
    EXPECT_EQ(s.rect.top, 160);

    ASSERT_TRUE(Quit(IDYES));
    ASSERT_TRUE(App().WaitExit(10000));
    EXPECT_EQ(Setting(L"CONFIG", L"POSX"), L"373");
    EXPECT_EQ(Setting(L"CONFIG", L"POSY"), L"160");

    ASSERT_TRUE(Start());
    EXPECT_EQ(GetWindowState(Bar()).rect.left, 373);
    EXPECT_EQ(GetWindowState(Bar()).rect.top, 160);
}

TEST_F(AppTest, ABarStoredOffEveryMonitorComesBackOnScreen) {
    struct Case { const wchar_t* x; const wchar_t* y; };
    const Case cases[] = {{L"99999", L"-5000"}, {L"1e12", L"1e12"}, {L"-400", L"300"}};
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    for (const auto& c : cases) {
        SetSetting(L"CONFIG", L"POSX", c.x);
        SetSetting(L"CONFIG", L"POSY", c.y);
        ASSERT_TRUE(Start());
        const RECT r = GetWindowState(Bar()).rect;
        EXPECT_GE(r.left, 0) << Narrow(c.x);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, sw);
        EXPECT_LE(r.bottom, sh);
        App().Kill();
    }
}

TEST_F(AppTest, QuitImageActsOnReleaseWherever) {
    ASSERT_TRUE(Start());
    HWND quit = FindControl(Bar(), kIdImgButton4);
    RECT r{};
    GetWindowRect(quit, &r);
    // Press on the quit picture, move far away, release: the question comes all the same.
    ASSERT_TRUE(MouseDownUp((r.left + r.right) / 2, (r.top + r.bottom) / 2, 600, 500));
    ASSERT_TRUE(AnswerMessageBox(kAppTitle, L"Do you want to quit?", IDNO, 10000));
    EXPECT_TRUE(App().Running());
}

TEST_F(AppTest, HideButtonHidesTheBar) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ClickControl(Bar(), kIdImgButton5));
    EXPECT_TRUE(WaitVisible(Bar(), false));
    EXPECT_TRUE(App().Running());
}

TEST_F(AppTest, RightButtonDragDoesNotMoveTheBar) {
    ASSERT_TRUE(Start());
    const RECT before = GetWindowState(Bar()).rect;
    const int x = before.right - 3, y = before.top + 3;
    INPUT in[2] = {};
    SetCursorPos(x, y);
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    SendInput(1, in, sizeof(INPUT));
    for (int i = 1; i <= 5; ++i) {
        SetCursorPos(x + 10 * i, y + 10 * i);
        PumpFor(30);
    }
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(1, &in[1], sizeof(INPUT));
    Settle(Bar());
    EXPECT_EQ(GetWindowState(Bar()).rect.left, before.left);
    EXPECT_EQ(GetWindowState(Bar()).rect.top, before.top);
}

}  // namespace
}  // namespace orv::e2e
