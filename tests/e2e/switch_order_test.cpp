// A desktop comes back as it was left: its windows' stacking order, show states and active
// window, with windows of two programs.
#include "e2e/driver.h"

#include <algorithm>

#include "base/win/utf.h"

namespace orv::e2e {
namespace {

// The windows of `set` in stacking order, top first, as the system keeps it.
std::vector<HWND> Stack(const std::vector<HWND>& set) {
    std::vector<HWND> order;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (std::find(set.begin(), set.end(), h) != set.end()) order.push_back(h);
    return order;
}

// Faults: the replay activating every window (the stack reversed, the bottom window active),
// showing without activation but top first, the window active at departure not activated
// again, a minimised or maximised window coming back restored, a window another program
// raised meanwhile pushed back down, a closed active window stopping the replay.
TEST_F(AppTest, ARoundTripKeepsTheStackTheStatesAndTheActiveWindow) {
    TestWindows a = OpenTestWindows({L"title=A low;state=max", L"title=A top"});
    TestWindows b = OpenTestWindows({L"title=B mini;state=min", L"title=B mid"});
    ASSERT_TRUE(a.Ready() && b.Ready());
    HWND aTop = a.Get(L"A top"), aLow = a.Get(L"A low"), bMini = b.Get(L"B mini"), bMid = b.Get(L"B mid");
    const std::vector<HWND> all{aTop, aLow, bMini, bMid};
    ASSERT_TRUE(Start());
    // The stack: A top, B mid, A low, B mini; A top active.
    for (HWND w : {bMini, aLow, bMid, aTop}) SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetForegroundWindow(aTop);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == aTop; }, 3000));
    const std::vector<HWND> stack = Stack(all);
    ASSERT_EQ(stack, (std::vector<HWND>{aTop, bMid, aLow, bMini}));
    auto states = [&] { return std::vector<bool>{!!IsZoomed(aLow), !!IsIconic(bMini), !!IsWindowVisible(aTop), !!IsWindowVisible(bMid)}; };
    const std::vector<bool> before = states();

    // A switch's end, seen from here: the bar may answer while it waits on another program.
    auto shown = [&](bool visible) {
        return WaitUntil([&] { return std::all_of(all.begin(), all.end(), [&](HWND w) { return !IsWindow(w) || !!IsWindowVisible(w) == visible; }); }, 5000);
    };
    ClickDesk(2);
    EXPECT_TRUE(shown(false));
    ClickDesk(1);
    EXPECT_TRUE(shown(true));
    // The switch ends after its last window is shown: the stack as it then stands.
    auto stands = [&](const std::vector<HWND>& want) { return WaitUntil([&] { return Stack(all) == want; }, 3000); };
    EXPECT_TRUE(stands(stack));
    EXPECT_EQ(Stack(all), stack);
    EXPECT_EQ(states(), before);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == aTop; }, 3000)) << Narrow(Title(GetForegroundWindow()));

    // Away again: another program raises A low, and the active window closes.
    ClickDesk(3);
    ASSERT_TRUE(shown(false));
    SetWindowPos(aLow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(aTop, WM_CLOSE, 0, 0);
    ClickDesk(1);
    EXPECT_TRUE(shown(true));
    EXPECT_TRUE(stands({aLow, bMid, bMini}));
    EXPECT_EQ(Stack(all), (std::vector<HWND>{aLow, bMid, bMini}));
    EXPECT_EQ(std::vector<bool>({!!IsZoomed(aLow), !!IsIconic(bMini), !!IsWindowVisible(bMid)}),
              std::vector<bool>({true, true, true}));
}

}  // namespace
}  // namespace orv::e2e
