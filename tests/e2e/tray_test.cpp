// The tray icon of the real exe, seen and clicked through Wine's notification area.
#include "app/win/bar_ids.h"
#include "e2e/driver.h"

#include <shellapi.h>

namespace orv::e2e {
namespace {

// The program's hidden message window of the icon.
HWND MessageWindow(DWORD pid) {
    DWORD owner = 0;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"Static", L""));)
        if (GetWindowThreadProcessId(h, &owner) && owner == pid && !IsWindowVisible(h)) return h;
    return nullptr;
}

// Faults: no icon at start-up, a left click on it that leaves the bar hidden or changes its
// layer, a new taskbar left without the icon.
TEST_F(AppTest, TheTrayIconBringsTheHiddenBarBackInItsLayerAlsoOnANewTaskbar) {
    for (const bool topmost : {false, true}) {
        SetSetting("CONFIG", "TOPMOST", topmost ? "1" : "0");
        ASSERT_TRUE(Start());
        auto hideAndClickIcon = [&] {
            ASSERT_TRUE(ClickControl(Bar(), kIdImgButton5) && WaitVisible(Bar(), false));
            ASSERT_TRUE(ClickTrayIcon());
            EXPECT_TRUE(WaitVisible(Bar(), true)), Settle(Bar());  // and the click's handling is over
            EXPECT_EQ((GetWindowLongPtrW(Bar(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost);
        };
        hideAndClickIcon();
        if (topmost) {
            // The taskbar goes with its icons and comes back empty. The icon's identifier is
            // the tray object's address, which its message window keeps.
            NOTIFYICONDATAW icon{};
            icon.cbSize = sizeof icon, icon.hWnd = MessageWindow(App().Pid());
            icon.uID = static_cast<UINT>(GetWindowLongPtrW(icon.hWnd, GWLP_USERDATA));
            auto held = [&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; };  // changes nothing
            ASSERT_TRUE(held() && Shell_NotifyIconW(NIM_DELETE, &icon) && !held());
            PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            EXPECT_TRUE(WaitUntil(held, 5000)) << "the icon is given to the new taskbar";
            hideAndClickIcon();
        }
        ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    }
}

}  // namespace
}  // namespace orv::e2e
