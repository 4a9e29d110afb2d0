// The hotkeys on real windows: registration, WM_HOTKEY through the hook, a taken combination.
#include "hotkeys/win/hotkey_win.h"

#include <gtest/gtest.h>
#include <array>
#include "base/win/log.h"

namespace orv {
namespace {
int g_own = 0;  // WM_HOTKEYs the windows' own procedure saw
LRESULT CALLBACK Own(HWND h, UINT m, WPARAM w, LPARAM l) { return g_own += m == WM_HOTKEY, DefWindowProcW(h, m, w, l); }
const WNDCLASSW g_class{0, &Own, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"OrvHotkeyTest"};
struct Ctl {  // Control+Alt+Shift (7) with F9 on a window of its own
    Win32HotkeySystem sys; HotkeyControls live; KHotKeyCtl ctl{sys, live}; HotkeyWindows hook{live}; int presses = 0;
    std::string error; HWND w = CreateWindowW(L"OrvHotkeyTest", L"", 0, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    Ctl() { ctl.SetAltKey(true), ctl.SetShiftKey(true), ctl.SetVKey(VK_F9), ctl.onHotkeyPressed = [this] { ++presses; };
            ctl.onErrorOccured = [this](const std::string& m, const std::string& s) { error = s + " " + m; }; }
    int Press(int mods, int vk) {  // the presses heard and the WM_HOTKEYs passed on, as one number
        MSG m; g_own = 0, presses = 0, PostMessageW(w, WM_HOTKEY, 0, MAKELPARAM(mods, vk));
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        return presses * 10 + g_own;
    }
};

// Faults: no hook, key code and modifiers swapped, WM_HOTKEY swallowed, a stale last error taken for a
// failure, a taken combination not told in the system's words or ending the first, a missed Unregister, atoms left.
TEST(HotkeyWin, APressReachesItsControlATakenCombinationIsReportedAndFreedOnStop) {
    RegisterClassW(&g_class);
    Ctl a, b;
    SetLastError(ERROR_ACCESS_DENIED), a.hook.Load(a.ctl, a.w), a.hook.Load(a.ctl, a.w);
    for (auto [mods, vk, want] : {std::array{MOD_CONTROL | MOD_ALT, VK_F9, 1}, {7, VK_F8, 1}, {7, VK_F9, 11}})
        EXPECT_EQ(a.Press(mods, vk), want) << mods << " " << vk;
    b.hook.Load(b.ctl, b.w), b.ctl.SetEnabled(false), b.ctl.SetEnabled(true);  // a load's own failure is not reported
    EXPECT_EQ(b.error.rfind("KHotKeyApi:Register " + ErrorText(ERROR_HOTKEY_ALREADY_REGISTERED), 0), 0u) << b.error;
    EXPECT_EQ(b.ctl.hKey() * 100 + a.Press(7, VK_F9), 11);  // b holds nothing, a goes on
    a.hook.Stop(a.ctl), b.error.clear(), b.ctl.SetEnabled(false), b.ctl.SetEnabled(true);
    EXPECT_EQ(b.error + (b.ctl.hKey() ? "" : "no key"), "");
    b.hook.Stop(b.ctl), DestroyWindow(a.w), DestroyWindow(b.w);
    EXPECT_EQ(GlobalFindAtomW(L"SHIFT+CONTROL+ALT+120"), 0);  // every atom added was deleted
}
}  // namespace
}  // namespace orv
