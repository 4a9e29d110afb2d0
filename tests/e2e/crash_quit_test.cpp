// The unhappy ends of the real exe: a crash from outside while windows are hidden, and a
// quit while another application hangs.
#include <cstdio>

#include "app/desktop_look.h"
#include "base/win/fatal.h"
#include "e2e/driver.h"
#include "settings/win/registry_mod.h"

namespace orv::e2e {
namespace {

std::string Wallpaper() {
    const std::string w = RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
    return w == " " ? "" : w;
}
std::string Log() { return test::ReadFile(PathFromUtf8(DataPath("Orvanta.log"))); }

// Faults: a crash leaves the other desktops' windows hidden for good (no filter, or one
// that waits on a hung window), or ends without a word in the log.
TEST_F(AppTest, ACrashFromOutsideShowsEveryHiddenWindowAgainWithoutWaitingOnAHungOne) {
    TestWindows tw = OpenTestWindows({L"title=Max;state=max", L"title=One;x=480;y=300", L"title=Hangs;hang=1"});
    ASSERT_TRUE(tw.Ready());
    ASSERT_TRUE(Start());
    ClickDesk(2);
    for (HWND h : tw.All()) ASSERT_TRUE(WaitVisible(h, false));
    HWND hangs = tw.Get(L"Hangs");
    ASSERT_TRUE(PostMessageW(hangs, RegisterWindowMessageW(L"OrvTestHang"), 0, 0));  // for ever
    ASSERT_TRUE(WaitUntil([&] { return !Responds(hangs, 100); }, 3000));
    // Another process makes the program run a thread that jumps nowhere.
    const ULONGLONG t0 = GetTickCount64();
    ASSERT_TRUE(UniqueHandle(CreateRemoteThread(App().Handle(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(16),
                                                nullptr, 0, nullptr)));
    EXPECT_TRUE(App().WaitExit(2500));
    std::printf("from the crash to the end: %llu ms\n", GetTickCount64() - t0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(App().Handle(), &code) && code == kFatalExitCode) << code;
    for (const wchar_t* t : {L"Max", L"One"}) EXPECT_TRUE(WaitVisible(tw.Get(t), true, 2000));
    EXPECT_TRUE(IsZoomed(tw.Get(L"Max")));
    EXPECT_NE(Log().find("Fatal: unhandled exception 0xC0000005"), std::string::npos) << Log();
}

// Fault: quitting while an application hangs never puts desktop 1's look back, or waits
// for the hung application without a bound.
TEST_F(AppTest, QuitWhileAnApplicationHangsPutsDesktopOnesLookBackWithinTheBound) {
    TestWindows tw = OpenTestWindows({L"title=Hangs;hang=1;x=480;y=300"});
    ASSERT_TRUE(tw.Ready());
    SetSetting("DESK2", "1", "255");
    ASSERT_TRUE(Start());
    ClickDesk(2);
    ASSERT_TRUE(WaitUntil([] { return Wallpaper() == DataPath("Wall2.bmp"); }, 5000));
    ASSERT_EQ(FreshSysColour(), 255u);
    HWND hangs = tw.Get(L"Hangs");
    ASSERT_TRUE(PostMessageW(hangs, RegisterWindowMessageW(L"OrvTestHang"), 0, 0));  // for ever
    ASSERT_TRUE(WaitUntil([&] { return !Responds(hangs, 100); }, 3000));
    ASSERT_TRUE(Quit(IDYES));
    const ULONGLONG t0 = GetTickCount64();
    EXPECT_TRUE(App().WaitExit(2500));
    std::printf("quit with a hung application: %llu ms\n", GetTickCount64() - t0);
    EXPECT_EQ(Wallpaper(), "");
    EXPECT_EQ(FreshSysColour(), 0u);
    EXPECT_NE(Log().find("not on the screen within"), std::string::npos) << "the hung application held the broadcast";
}

}  // namespace
}  // namespace orv::e2e
