// The real exe's global hotkeys pressed on the keyboard, and the tray naming the desktop.
#include "e2e/driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/win/log.h"
#include "snapshot/win/frm_capture.h"

namespace orv::e2e {
namespace {

// The text of the shell's visible tool tip: its balloon, or the tip of the icon under the pointer.
std::wstring ShellTip(bool balloon) {
    wchar_t text[256] = {};
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr));)
        if (IsWindowVisible(h) && ((GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON) != 0) == balloon)
            SendMessageTimeoutW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
    return text;
}
std::wstring IconTip() {  // the pointer rests on the icon until its tip shows
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT r{};
    POINT p{GetClientRect(tray, &r) ? r.right - 10 : 0, 10};  // the first icon
    std::wstring tip;
    ClientToScreen(tray, &p), MouseAt({p.x - 40, p.y}), MouseAt(p), WaitUntil([&] { return !(tip = ShellTip(false)).empty(); }, 5000);
    return tip;
}
HWND WindowOf(DWORD pid, const wchar_t* cls) {  // the first window of that class of the process
    HWND h = nullptr;
    for (DWORD owner = 0; (h = FindWindowExW(nullptr, h, cls, nullptr)) && !(GetWindowThreadProcessId(h, &owner) && owner == pid);) {}
    return h;
}
int g_held = 0;  // presses of the combination this test holds
const char* kAtoms[] = {"CONTROL+116", "CONTROL+119", "CONTROL+121", "CONTROL+101", "CONTROL+102"};  // F5 F8 F10 Num5 Num6

// Faults: a desktop hotkey switching to the wrong desktop or not at all from another program's window, an
// extra modifier firing the snapshot hotkey, a disabled hotkey firing, a taken combination shown in a box,
// not logged (with its combination) or ending the program, hotkeys or atoms left at exit; the tip without
// the desktop or with it while Tray Tips is off, no balloon or one that stays.
TEST_F(AppTest, HotkeysSwitchFromAnyWindowATakenOneIsLoggedAndTheTrayNamesTheDesktop) {
    const WNDCLASSW wc{0, [](HWND h, UINT m, WPARAM w, LPARAM l) { return g_held += m == WM_HOTKEY, DefWindowProcW(h, m, w, l); },
                       0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr, L"OrvHeldKey"};
    HWND holder = RegisterClassW(&wc) ? CreateWindowW(L"OrvHeldKey", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr) : nullptr;
    ASSERT_TRUE(RegisterHotKey(holder, 1, MOD_CONTROL, VK_F7));  // desktop 3's combination
    for (const char* a : kAtoms)  // left by runs killed before
        while (GlobalFindAtomA(a) && GlobalDeleteAtom(GlobalFindAtomA(a)) == 0) {}
    TestWindows tw = OpenTestWindows({L"title=Other program"});
    HWND other = tw.Get(L"Other program");
    ASSERT_TRUE(tw.Ready() && holder);
    for (const bool tips : {false, true}) {
        SetSetting("CONFIG", "TrayTips", tips ? "True" : "False"), SetSetting("CONFIG", "HotKeyDesk2KeyOn", "False");
        fs::remove(PathFromUtf8(DataPath("Orvanta.log")));
        ASSERT_TRUE(Start());
        PumpFor(500), SetForegroundWindow(other), WaitUntil([&] { return GetForegroundWindow() == other; }, 3000);
        EXPECT_EQ(WindowOf(App().Pid(), L"#32770"), nullptr) << "a box at start";
        Chord({VK_CONTROL, VK_F8}), Settle(Bar());
        EXPECT_EQ(MarkedDesk() * 10 + IsWindowVisible(other), 40);
        EXPECT_NE(GetForegroundWindow(), Bar()) << "the bar kept the activation it took for the switch";
        EXPECT_EQ(WaitUntil([] { return ShellTip(true) == L"Desktop 4"; }, 5000), tips);
        if (tips) PostMessageW(WindowOf(App().Pid(), L"Static"), 512, 0, NIN_BALLOONSHOW);  // as the shell reports it shown
        EXPECT_TRUE(WaitUntil([] { return ShellTip(true).empty(); }, 3000)) << "the balloon stays";
        EXPECT_EQ(IconTip(), tips ? L"Orvanta Solvane - Desktop 4" : L"Orvanta Solvane");
        Chord({VK_CONTROL, VK_F7}), Chord({VK_CONTROL, VK_F6}), Settle(Bar()), PumpFor(300);
        EXPECT_EQ(MarkedDesk() * 10 + g_held, tips ? 42 : 41) << "the holder keeps its key";
        auto selecting = [] { return IsWindowVisible(FindWindowW(kCaptureClass, nullptr)) != FALSE; };
        Chord({VK_CONTROL, VK_SHIFT, VK_F10}), Settle(Bar());
        EXPECT_FALSE(WaitUntil(selecting, 1500));
        Chord({VK_CONTROL, VK_F10});
        EXPECT_TRUE(WaitUntil([] { return GetForegroundWindow() == FindWindowW(kCaptureClass, nullptr); }, 3000))
            << "the snapshot's frozen screen, with the keyboard";
        TypeKeys({VK_ESCAPE});
        EXPECT_TRUE(WaitUntil([&] { return !selecting() && IsWindowVisible(Bar()); }, 3000));
        Chord({VK_CONTROL, VK_F5});  // the frozen screen just went: the key may reach the bar a moment later
        EXPECT_TRUE(WaitUntil([&] { return MarkedDesk() == 1; }, 3000)) << MarkedDesk();
        EXPECT_NE(ReadLog().find("Hotkey Control+F7 (the hotkey of desktop 3) is not registered: " + ErrorText(1409)), std::string::npos);
        ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
        for (const char* a : kAtoms) EXPECT_EQ(GlobalFindAtomA(a), 0) << a;
        EXPECT_TRUE(RegisterHotKey(holder, 2, MOD_CONTROL, VK_F10) && UnregisterHotKey(holder, 2));
    }
    DestroyWindow(holder);
}

}  // namespace
}  // namespace orv::e2e
