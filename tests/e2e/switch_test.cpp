// Switching desktops with real windows of another process.
#include <cstdio>

#include "app/win/bar_ids.h"
#include "e2e/app_fixture.h"

namespace orv::e2e {
namespace {

namespace fs = std::filesystem;

TEST_F(AppTest, SwitchingHidesEligibleWindowsAndBringsThemBackInTheirShowState) {
    TestWindows tw = OpenTestWindows({
        L"title=Plain", L"title=Small;state=min", L"title=Large;state=max", L"title=;state=normal",
        L"title=Registry Editor", L"title=Registry Editor - HKCU", L"title=Program Manager",
        L"title=Tessara - Microsoft Visual Basic [design]", L"title=SENS", L"title=Grüße 日本",
        L"title=Never shown;state=hidden", L"title=Born on two;state=hidden",
    });
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    HWND untitled = tw.Items()[3].hwnd;

    ClickDesk(2);
    for (const wchar_t* t : {L"Plain", L"Small", L"Large", L"Registry Editor - HKCU", L"Grüße 日本"})
        EXPECT_TRUE(WaitVisible(tw.Get(t), false)) << Narrow(t);
    for (const wchar_t* t : {L"Registry Editor", L"Program Manager", L"Tessara - Microsoft Visual Basic [design]", L"SENS"})
        EXPECT_TRUE(IsWindowVisible(tw.Get(t))) << "excluded: " << Narrow(t);
    EXPECT_TRUE(IsWindowVisible(untitled)) << "a window without a title is never hidden";
    EXPECT_TRUE(IsWindowVisible(Bar()));

    ShowWindow(tw.Get(L"Born on two"), SW_SHOWNORMAL);  // opened while desktop 2 is current
    ClickDesk(1);
    EXPECT_TRUE(WaitVisible(tw.Get(L"Plain"), true));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Small"), true));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Large"), true));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Grüße 日本"), true));
    EXPECT_TRUE(IsIconic(tw.Get(L"Small"))) << "a minimised window comes back minimised";
    EXPECT_TRUE(IsZoomed(tw.Get(L"Large"))) << "a maximised window comes back maximised";
    EXPECT_FALSE(IsIconic(tw.Get(L"Plain")));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Born on two"), false));
    EXPECT_FALSE(IsWindowVisible(tw.Get(L"Never shown")));

    ClickDesk(2);
    EXPECT_TRUE(WaitVisible(tw.Get(L"Born on two"), true));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Plain"), false));
}

TEST_F(AppTest, CurrentDesktopButtonChangesNothing) {
    TestWindows tw = OpenTestWindows({L"title=Here"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    ClickDesk(1);
    EXPECT_TRUE(IsWindowVisible(tw.Get(L"Here")));
    EXPECT_FALSE(Setting(L"DESK2", L"1").has_value());
    EXPECT_EQ(MarkedDesk(), 1);
}

TEST_F(AppTest, LeavingTheSameDesktopTwiceAndAWindowClosedWhileHidden) {
    TestWindows tw = OpenTestWindows({L"title=First", L"title=Second", L"title=Later;state=hidden"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    ClickDesk(2);
    ClickDesk(1);
    ASSERT_TRUE(WaitVisible(tw.Get(L"First"), true));

    // The user closes "Second" and opens "Later"; only the second departure's windows count.
    ShowWindow(tw.Get(L"Second"), SW_HIDE);
    ShowWindow(tw.Get(L"Later"), SW_SHOWNORMAL);
    ClickDesk(2);
    EXPECT_TRUE(WaitVisible(tw.Get(L"Later"), false));
    // "First" is closed while hidden: coming back must skip it and show the rest.
    PostMessageW(tw.Get(L"First"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(tw.Get(L"First")); }, 5000));
    ClickDesk(1);
    EXPECT_TRUE(WaitVisible(tw.Get(L"Later"), true));
    EXPECT_FALSE(IsWindowVisible(tw.Get(L"Second"))) << "not on the list of the second departure";
    EXPECT_TRUE(Responds(Bar()));
}

TEST_F(AppTest, TheBarStaysOnTopAndPaintedAfterASwitch) {
    // A large window right under the bar, activated by the switch back.
    TestWindows tw = OpenTestWindows({L"title=Cover;x=0;y=0;w=800;h=600"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    // The bar's body is a dark blue gradient: blue dominates, far from the white of a window.
    auto barPainted = [&] {
        RECT r{};
        GetWindowRect(Bar(), &r);
        HDC screen = GetDC(nullptr);
        const COLORREF px = GetPixel(screen, r.left + 4, r.top + (r.bottom - r.top) / 2);
        ReleaseDC(nullptr, screen);
        return GetBValue(px) > GetRValue(px) && GetRValue(px) < 0x80;
    };
    for (int desk : {2, 1, 2, 1}) {
        ClickDesk(desk);
        PumpFor(400);  // the windows just shown settle and may raise themselves
        EXPECT_TRUE(WaitUntil(barPainted, 3000)) << "desk " << desk;
    }
}

TEST_F(AppTest, AHungWindowDoesNotStallTheSwitchAndIsStillRecorded) {
    // Away from the bar: under Wine a window created later may cover another process's
    // topmost window until the next switch.
    TestWindows tw = OpenTestWindows({L"title=Hangs;hang=1;x=480;y=300", L"title=Fine;x=560;y=380"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    HWND hangs = tw.Get(L"Hangs");
    ASSERT_TRUE(tw.Hang(hangs, 12000));
    ASSERT_TRUE(WaitUntil([&] { return !Responds(hangs, 100); }, 3000));

    const ULONGLONG t0 = GetTickCount64();
    ClickDesk(2);
    std::printf("switch 1 -> 2 with one hung window: %llu ms\n", static_cast<unsigned long long>(GetTickCount64() - t0));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Fine"), false));
    EXPECT_TRUE(IsWindowVisible(hangs)) << "its hide waits in its queue";
    EXPECT_NE(ReadString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper"), Setting(L"DESK2", L"WALLPAPER"))
        << "the look waits instead of blocking on the broadcast";

    const ULONGLONG t1 = GetTickCount64();
    ClickDesk(1);
    std::printf("switch 2 -> 1 with one hung window: %llu ms\n", static_cast<unsigned long long>(GetTickCount64() - t1));
    EXPECT_TRUE(WaitVisible(tw.Get(L"Fine"), true));
    EXPECT_TRUE(Responds(Bar(), 1000)) << "the program answers after the switch";

    ClickDesk(2);
    // When the application wakes up, its queued requests run in order: it was recorded on
    // desktop 1 and hidden, so on desktop 2 it ends hidden, and the pending look is applied.
    EXPECT_TRUE(WaitUntil([&] { return Responds(hangs, 100); }, 20000));
    EXPECT_TRUE(WaitVisible(hangs, false, 5000));
    EXPECT_TRUE(WaitUntil([&] {
        return ReadString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper") == Setting(L"DESK2", L"WALLPAPER");
    }, 5000));
    ClickDesk(1);
    EXPECT_TRUE(WaitVisible(hangs, true)) << "recorded while hung, shown again";
    EXPECT_TRUE(WaitVisible(tw.Get(L"Fine"), true));
}

}  // namespace
}  // namespace orv::e2e
