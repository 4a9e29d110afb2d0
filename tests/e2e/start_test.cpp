// Start-up: the watchdog is made behind the shown bar, yet nothing is hidden before it exists.
#include "app/win/bar_ids.h"
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

// Fault: a switch taken while the program is still starting hides windows before its
// watchdog exists, and a kill at that moment leaves them hidden until some later start.
TEST_F(AppTest, ASwitchDuringStartUpHidesNothingBeforeTheWatchdogIsUp) {
    TestWindows tw = OpenTestWindows({L"title=Early"});
    const HWND early = tw.Ready() ? tw.items[0].first : nullptr;
    ASSERT_TRUE(early && (App() = Launch(BuildDir() / "Orvanta.exe")));
    // Posted as soon as the bar exists, the click is taken with the start-up's first messages.
    HWND bar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (bar = FindWindowW(kBarClass, kAppTitle)) != nullptr; }, 15000));
    PostMessageW(bar, WM_COMMAND, MAKEWPARAM(kIdDesk0 + 1, BN_CLICKED), 0);
    for (const ULONGLONG until = GetTickCount64() + 15000; IsWindowVisible(early) && GetTickCount64() < until;) Sleep(1);
    ASSERT_FALSE(IsWindowVisible(early)) << "desktop 2 entered";
    TerminateProcess(App().Handle(), 1);  // at once: no time left to make a watchdog
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(early) != FALSE; }, 2000)) << "shown again by the watchdog";
}

}  // namespace
}  // namespace orv::e2e
