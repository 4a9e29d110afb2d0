// cSystray and its window hook against the real shell: events from the callback message, the
// icon given to a new taskbar, the balloon removed by the class's own timer, the reports.
#include "tray/win/systray.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/win/log.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

std::string g_seen;  // what the listener, the external procedure and the window saw, in order
struct Recorder final : SystrayListener {
    static void Say(const char* what, int button = 0) { g_seen += what + (button ? std::to_string(button) : "") + " "; }
    void MouseMove() override { Say("move"); } void MouseDown(int b) override { Say("down", b); }
    void MouseUp(int b) override { Say("up", b); } void MouseDblClick(int b) override { Say("dbl", b); }
    void BalloonShow() override { Say("shown"); } void BalloonHide() override { Say("hidden"); }
    void BalloonClose() override { Say("closed"); } void BalloonClick() override { Say("clicked"); }
};
LRESULT CALLBACK Record(HWND, UINT c, WPARAM x, LPARAM) { return g_seen += std::to_string(c) + ":" + std::to_string(x) + " ", 0; }
bool Pumped() { for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m); return true; }

// Faults: the hook on the wrong message, events misrouted, the external procedure not given
// every code with ExtraParam; a new taskbar not given the icon again (Y5); an icon the program
// removed given to it.
TEST(Systray, CallbackCodesBecomeEventsAndANewTaskbarGetsTheIconAgain) {
    cSystray tray;
    Recorder r;
    tray.SetListener(&r), tray.SetProc(&Record), tray.SetExtraParam(77), g_seen.clear();
    PostMessageW(tray.lhWnd(), WM_LBUTTONDOWN, 0, WM_LBUTTONDOWN);  // not the callback message
    for (UINT code : {513, 514, 515, 517, 519, 512, 522, 1026, 1027, 1028, 1029}) PostMessageW(tray.lhWnd(), 512, 0, code);
    Pumped();
    EXPECT_EQ(g_seen, "down1 513:77 up1 514:77 dbl1 515:77 up2 517:77 down4 519:77 move 512:77 522:77 shown 1026:77 "
                      "hidden 1027:77 closed 1028:77 clicked 1029:77 ");
    tray.SysTrayIconFromHandle(LoadIconW(nullptr, IDI_APPLICATION)), tray.SysTrayShow(true);
    NOTIFYICONDATAW probe{};  // changes nothing: the shell says whether it holds the icon
    probe.cbSize = sizeof probe, probe.hWnd = tray.lhWnd(), probe.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(&tray));
    auto held = [&] { return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE; };
    ASSERT_TRUE(held() && Shell_NotifyIconW(NIM_DELETE, &probe));  // the old taskbar went with its icons
    SendMessageW(tray.lhWnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(held());
    tray.SysTrayShow(false), SendMessageW(tray.lhWnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(held());
}

// Wine's balloon: a visible tool tip window with the balloon style.
bool BalloonOnScreen() {
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr));)
        if (IsWindowVisible(h) && (GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON)) return true;
    return false;
}

// Faults: the timer not started when the shell reports the balloon shown, started under
// another id than its procedure answers to, or left running after the balloon was clicked.
TEST(Systray, TheClassTimerRemovesTheBalloonUnlessItWentAwayBefore) {
    for (bool clicked : {false, true}) {
        cSystray tray;
        tray.SysTrayIconFromHandle(LoadIconW(nullptr, IDI_APPLICATION)), tray.SysTrayShow(true), tray.SetBalloonText("Desktop 2");
        ASSERT_TRUE(tray.IsBalloonCapable() && tray.BalloonShow(true, 300));
        ASSERT_TRUE(test::WaitFor([] { return Pumped() && BalloonOnScreen(); }, 6000));
        PostMessageW(tray.lhWnd(), 512, 0, NIN_BALLOONSHOW);
        if (clicked) PostMessageW(tray.lhWnd(), 512, 0, NIN_BALLOONUSERCLICK);
        EXPECT_EQ(test::WaitFor([] { return Pumped() && !BalloonOnScreen(); }, 2500), !clicked) << clicked;
    }
}

// Faults: the handler run on the wrong side of the window's own procedure, the window's
// procedure skipped or not put back; a report without its box or log line, or not in the
// owner's words; another process's window taken.
TEST(MessageHook, HandlesAroundTheWindowsOwnProcedureAndReportsFailures) {
    test::TempFolder t;
    ASSERT_TRUE(OpenLog(t.path().wstring()));
    WNDCLASSW wc{0, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m >= WM_APP) g_seen += "own ";
        return DefWindowProcW(h, m, w, l);
    }, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"OrvHookTest"};
    RegisterClassW(&wc);
    HWND own = CreateWindowExW(0, L"OrvHookTest", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::wstring> boxes;
    std::thread answer([&] {
        for (HWND box; boxes.size() < 3; Sleep(20))
            if ((box = FindWindowW(L"#32770", nullptr)) && IsWindowVisible(box)) {
                wchar_t title[128] = {}, text[256] = {};
                GetWindowTextW(box, title, 128), GetDlgItemTextW(box, 0xFFFF, text, 256);
                boxes.push_back(std::wstring(title) + L" | " + text);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                test::WaitFor([&] { return !IsWindow(box); }, 3000);
            }
    });
    MessageHook hook("cSystray", [](MessageWhen w, auto...) { g_seen += w == MessageWhen::Before ? "before " : "after "; });
    EXPECT_FALSE(hook.Attach(GetDesktopWindow()));
    ASSERT_TRUE(hook.Attach(own));
    for (UINT m = WM_APP; m <= WM_APP + 32; ++m) hook.AddMessage(m, MessageWhen::Before);  // the 33rd has no room
    hook.AddMessage(WM_APP + 32, MessageWhen::After);
    hook.RemoveMessage(WM_APP, MessageWhen::After);
    g_seen.clear();
    SendMessageW(own, WM_APP, 0, 0), SendMessageW(own, WM_APP + 32, 0, 0);
    hook.Detach();
    SendMessageW(own, WM_APP, 0, 0);
    EXPECT_EQ(g_seen, "before own own after own ");
    answer.join();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], L"Error in cSystray.ssc_Subclass | Window handle belongs to another process.");
    EXPECT_EQ(boxes[1].substr(0, 46), L"Error in cSystray.zAddMsg | Message table over");
    EXPECT_EQ(boxes[2], L"Error in cSystray.zDelMsg | Message &H8000 not found in table.");
    EXPECT_NE(test::ReadFile(t.path() / kLogName).find("cSystray.zDelMsg: Message &H8000 not"), std::string::npos);
    CloseLog(), DestroyWindow(own);
}

}  // namespace
}  // namespace orv
