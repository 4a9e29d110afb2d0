// The settings dialog on real hotkey controls, driven from the keyboard through its own loop.
#include "settings/win/frm_adv_options.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "base/win/utf.h"
#include "common/test_files.h"
#include "hotkeys/win/hotkey_win.h"
#include "settings/win/registry_store.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

// Steps run one per tick of a thread timer while the dialog's loop runs; the last closes it.
std::vector<std::function<void(HWND)>> g_steps;
size_t g_next = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dlg = FindWindowW(kAdvOptionsClass, nullptr);
    if (!dlg) return;
    if (g_next < g_steps.size()) return g_steps[g_next++](dlg);
    ADD_FAILURE() << "the dialog is still open";
    PostMessageW(dlg, WM_CLOSE, 0, 0);
}
void Post(UINT msg, WPARAM wp) {  // to the focus, else to the dialog
    const HWND focus = GetFocus();
    PostMessageW(focus ? focus : FindWindowW(kAdvOptionsClass, nullptr), msg, wp, 0);
}
void Key(WPARAM vk) { Post(WM_KEYDOWN, vk), Post(WM_KEYUP, vk); }
void Type(const wchar_t* text) { for (; *text; ++text) Post(WM_CHAR, *text); }
int FocusId() { const HWND f = GetFocus(); return GetDlgCtrlID(GetParent(f)) * 100 + GetDlgCtrlID(f); }  // row * 100 + control
HWND Row(HWND dlg, int row, int id) { return GetDlgItem(GetDlgItem(dlg, row), id); }
std::wstring Text(HWND w) { wchar_t t[128] = {}; return GetWindowTextW(w, t, 128), t; }

// Seven hotkeys on a window of ours, Control+Shift+Alt with F1..F7; desktop 1's is off,
// desktop 2's combination is held by another window before ours loads.
struct Bench {
    const std::string path = "Software\\OrvantaTests\\" + test::UniqueName("advopt");
    RegistryStore store{path, "OrvantaZ"};
    Win32HotkeySystem sys;
    HotkeyControls live;
    HotkeyWindows hook{live};
    std::vector<std::unique_ptr<KHotKeyCtl>> ctls;
    HWND owner = CreateWindowW(L"STATIC", L"Bar caption", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    HWND holder = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    Settings s{false, true, false, true, false, true, 2, "C:\\snaps", "Pic", 7, "", false, 80};
    std::vector<bool> autoStart;
    AdvOptionsContext ctx{s, {}, store, [this](bool on) { autoStart.push_back(on); }, L"", {}, owner};
    Bench() {
        RegisterHotKey(holder, 1, MOD_CONTROL | MOD_SHIFT | MOD_ALT, VK_F3);
        for (int i = 0; i < 7; ++i) {
            ctls.push_back(std::make_unique<KHotKeyCtl>(sys, live));
            ctls[i]->SetShiftKey(true), ctls[i]->SetAltKey(true), ctls[i]->SetHotKey("F" + std::to_string(i + 1));
            ctls[i]->SetEnabled(i != 1), hook.Load(*ctls[i], owner), ctx.hotkeys[i] = ctls[i].get();
        }
    }
    ~Bench() {
        for (auto& c : ctls) c->SetEnabled(false), hook.Stop(*c);
        UnregisterHotKey(holder, 1), DestroyWindow(owner), DestroyWindow(holder);
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
    }
    void Run(std::vector<std::function<void(HWND)>> steps) {
        g_steps = std::move(steps), g_next = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 40, &Tick);
        FrmAdvOptions::Show(owner, ctx);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_next, g_steps.size()) << "steps left";
    }
};

// Faults: a control out of the tab order or out of the visual order, a label after its box,
// the off row's boxes reachable; the quality not held within 10..100 while typed or the
// spinner not following; an access key missing; Escape not applying, a changed row not
// re-registering its control or an unchanged row losing its state; "StartUp" not written at
// once; a format of 2 kept; the off row enabled, or not by its on box; the taken row unmarked
// or another marked; Browse not starting at the path typed, or
// a cancelled one clearing it.
TEST(FrmAdvOptions, KeyboardAloneEditsEverythingAndEscapeApplies) {
    Bench b;
    std::vector<std::wstring> browsed;  // the title and start folder of each; the first picks, the second cancels
    b.ctx.browseForFolder = [&](HWND, const std::wstring& title, const std::wstring& start) {
        return browsed.push_back(title + L"|" + start), browsed.size() == 1 ? L"D:\\picked" : L"";
    };
    std::vector<int> order;
    bool around = false;
    const auto tab = [&](HWND) { around = around || FocusId() == order[0]; if (!around) order.push_back(FocusId()); Key(VK_TAB); };
    std::vector<std::function<void(HWND)>> steps{[&](HWND dlg) {
               EXPECT_EQ(Text(dlg), L"Bar caption");
               EXPECT_EQ(IsWindowEnabled(Row(dlg, kAdvDesk0, kSetupKey)) * 10 + IsWindowEnabled(Row(dlg, kAdvDesk0 + 1, kSetupKey)), 1);
               for (int row = kAdvDesk0; row <= kAdvSnapSetup; ++row)
                   EXPECT_EQ(IsWindowVisible(Row(dlg, row, kSetupTaken)) != 0, row == kAdvDesk0 + 1) << row;
               EXPECT_NE(Text(Row(dlg, kAdvDesk0 + 1, kSetupOn)).find(kTakenText), std::wstring::npos);
               order.push_back(FocusId()), Key(VK_TAB);
           }};
    steps.insert(steps.end(), 56, tab);
    steps.insert(steps.end(), {[&](HWND) { Post(WM_SYSCHAR, L'q'); },
           [&](HWND) { EXPECT_EQ(FocusId(), kAdvQuality); SendMessageW(GetFocus(), EM_SETSEL, 0, -1); },
           [&](HWND) { Type(L"5"); },
           [&](HWND dlg) {
               EXPECT_EQ(Text(GetDlgItem(dlg, kAdvQuality)) + L" " + std::to_wstring(SendDlgItemMessageW(dlg, kAdvSpinner, UDM_GETPOS32, 0, 0)), L"10 10");
               SendMessageW(GetFocus(), EM_SETSEL, 0, -1), Type(L"150");
           },
           [&](HWND dlg) {
               EXPECT_EQ(Text(GetDlgItem(dlg, kAdvQuality)) + L" " + std::to_wstring(SendDlgItemMessageW(dlg, kAdvSpinner, UDM_GETPOS32, 0, 0)), L"100 100");
               SetFocus(Row(dlg, kAdvDesk0 + 2, kSetupShift)), Key(VK_SPACE);  // desktop 3: Shift off, then F4 down to F10
           },
           [&](HWND) { Key(VK_TAB); }, [&](HWND) { Key(VK_TAB); }, [&](HWND) { Key(VK_TAB); },
           [&](HWND) { for (int i = 0; i < 6; ++i) Key(VK_DOWN); },
           [&](HWND dlg) {
               SetFocus(Row(dlg, kAdvDesk0, kSetupOn)), Key(VK_SPACE);  // desktop 1 on
               Post(WM_SYSCHAR, L's'), Post(WM_SYSCHAR, L'a'), Post(WM_SYSCHAR, L'w'), Post(WM_SYSCHAR, L'w');
           },
           [&](HWND dlg) {
               EXPECT_TRUE(IsWindowEnabled(Row(dlg, kAdvDesk0, kSetupKey)));
               SetForegroundWindow(dlg);
           },
           [&](HWND) { Key(VK_ESCAPE); }});
    b.Run(steps);
    std::vector<int> want;
    for (int row = kAdvDesk0; row <= kAdvDesk0 + 5; ++row)
        for (int id = kSetupOn; id <= kSetupKey; ++id)
            if (row != kAdvDesk0 || id == kSetupOn) want.push_back(row * 100 + id);
    for (int id = kSetupOn; id <= kSetupKey; ++id) want.push_back(kAdvSnapSetup * 100 + id);
    for (int id : {kAdvSnapSound, kAdvShowZoom, kAdvAutoSave, kAdvPreview, kAdvJpg, kAdvPath, kAdvBrowse, kAdvPrefix, kAdvCount,
                   kAdvQuality, kAdvStartup, kAdvSharedIcons, kAdvTrayTips, kAdvOk, kAdvHelp})
        want.push_back(id);
    EXPECT_EQ(::testing::PrintToString(order), ::testing::PrintToString(want));
    EXPECT_EQ(std::tie(b.s.SnapSound, b.s.StartUpOn, b.s.SnapJpgQuality, b.s.SnapSaveFormat, b.s.SnapSaveCount, b.s.SnapZoom),
              std::make_tuple(true, true, 100, 1, 7, true));
    EXPECT_EQ(b.s.SnapSavePath, "D:\\picked");
    EXPECT_EQ(browsed, (std::vector<std::wstring>{L"Select folder|C:\\snaps", L"Select folder|D:\\picked"}));
    EXPECT_EQ(b.store.Get("CONFIG", "StartUp").value_or("none") + " " + std::to_string(b.autoStart.size()), "1 1");
    const KHotKeyCtl &on = *b.ctls[1], &taken = *b.ctls[2], &changed = *b.ctls[3];
    EXPECT_EQ(std::tuple(on.Enabled(), taken.RegisterFailure(), changed.ShiftKey(), changed.VKey(), changed.RegisterFailure()),
              std::tuple(true, kHotkeyAlreadyRegistered, false, VK_F10, 0));
    EXPECT_NE(changed.hKey() * on.hKey(), 0);
}

// Faults: a way of closing that does not apply (Enter, "&OK" by its key, the close image).
TEST(FrmAdvOptions, EnterOkAndTheCloseImageApplyToo) {
    const std::function<void(HWND)> closes[] = {
        [](HWND) { Key(VK_RETURN); }, [](HWND) { Post(WM_SYSCHAR, L'o'); },
        [](HWND dlg) { PostMessageW(GetDlgItem(dlg, kAdvClose), WM_LBUTTONDOWN, MK_LBUTTON, 0),
                       PostMessageW(GetDlgItem(dlg, kAdvClose), WM_LBUTTONUP, 0, 0); }};
    for (const auto& close : closes) {
        Bench b;
        b.Run({[](HWND) { Post(WM_SYSCHAR, L't'); }, close});
        EXPECT_EQ(std::tuple(b.s.TrayTipsOn, b.autoStart), std::tuple(true, std::vector<bool>{false}));
    }
}

// Fault: Escape that only closes a dropped key list also closes the dialog.
TEST(FrmAdvOptions, EscapeInADroppedKeyListOnlyClosesTheList) {
    Bench b;
    b.Run({[](HWND dlg) { SetFocus(Row(dlg, kAdvDesk0 + 3, kSetupKey)), SendMessageW(GetFocus(), CB_SHOWDROPDOWN, TRUE, 0), Key(VK_ESCAPE); },
           [](HWND dlg) { EXPECT_EQ(IsWindowVisible(dlg) * 10 + SendMessageW(GetFocus(), CB_GETDROPPEDSTATE, 0, 0), 10); Key(VK_ESCAPE); }});
    EXPECT_EQ(b.autoStart.size(), 1u);
}

}  // namespace
}  // namespace orv
