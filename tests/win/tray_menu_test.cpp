#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/flavour.h"
#include "common/dib_surface.h"
#include "common/gui_objects.h"
#include "controls/win/frm_about.h"
#include "base/win/utf.h"
#include "common/test_files.h"
#include "settings/win/registry_store.h"
#include "tray/win/frm_menu.h"
#include "tray/win/od_menu.h"

namespace orv {
namespace {

// A form of its own with a menu bar: "Edit" (items 11..15) and "Second".
struct MenuForm {
    HWND w = nullptr;
    HMENU bar = CreateMenu(), edit = CreatePopupMenu(), second = CreatePopupMenu();
    UniqueBitmap background = MakeMenuBackground();
    MenuForm() {
        w = CreateWindowExW(0, L"STATIC", L"t", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        for (auto [flags, id, text] : {std::tuple{UINT{MF_STRING}, 11u, L"Open\tCtrl+O"}, {MF_STRING, 12u, L"|Second"},
                                      {MF_SEPARATOR, 0u, L""}, {MF_STRING, 13u, L"Open Ctrl+O"}, {MF_STRING | MF_DISABLED, 14u, L"Edit"}})
            AppendMenuW(edit, flags, id, text);
        MENUITEMINFOW radio{};
        radio.cbSize = sizeof radio, radio.fMask = MIIM_FTYPE, radio.fType = MFT_RADIOCHECK;
        SetMenuItemInfoW(edit, 11, FALSE, &radio);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"Edit");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(second), L"Second");
        SetMenu(w, bar);
        SetODMenuStyle(kTrayMenuStyle, background.get());
    }
    ~MenuForm() { RemoveODMenu(w), DestroyWindow(w); }
    ItemSize Measure(UINT id, ULONG_PTR data) {
        MEASUREITEMSTRUCT m{ODT_MENU, 0, id, 0, 0, data};
        EXPECT_TRUE(SendMessageW(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)));
        return {static_cast<int>(m.itemWidth), static_cast<int>(m.itemHeight)};
    }
};

MENUITEMINFOW ItemAt(HMENU m, UINT pos) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi, mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    GetMenuItemInfoW(m, pos, TRUE, &mi);
    return mi;
}

// One item painted into a DIB section of its own.
struct Canvas {
    static constexpr int W = 120, H = 60;
    test::DibSurface surface{W, H, 0xFFFFFF};
    Canvas(const MenuForm& f, HMENU menu, UINT id, UINT state, RECT r, UINT dpi = 96) {
        DrawMenuItem(f.w, {ODT_MENU, 0, id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), surface.dc.get(), r, 0}, dpi);
    }
    COLORREF At(int x, int y) const { return GetPixel(surface.dc.get(), x, y); }
    // The columns where the colour shows in row band [top, bottom).
    std::pair<int, int> Span(COLORREF c, int top, int bottom) const {
        int lo = W, hi = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < W; ++x)
                if (At(x, y) == c) lo = std::min(lo, x), hi = std::max(hi, x);
        return {lo, hi};
    }
};

// Faults: the bar's submenu lost or its item not renumbered; popup items converted without
// their other type bits (TM4), "|" not turned into a column break, the system menu converted.
// Measuring: a tab measured as itself or dropped; the "|" measured (TM2); popup items without
// their 50 or bar items with it (TM3); messages of other controls swallowed. Painting: the
// selection without its frame (TM5) or painted for a disabled item; the item blitted to the
// canvas's corner instead of its rectangle; the separator not etched at half height or
// reaching the right end (TM6); the check column not following the DPI (TM7). Removing: the
// procedure not put back.
TEST(OdMenu, ConvertingMeasuringPaintingAndRemoving) {
    MenuForm f;
    const LONG_PTR before = GetWindowLongPtrW(f.w, GWLP_WNDPROC);
    ASSERT_TRUE(InstallODMenu(f.w, true));
    const MENUITEMINFOW barItem = ItemAt(f.bar, 1);
    EXPECT_EQ(std::tuple(barItem.fType & MFT_OWNERDRAW, barItem.wID, barItem.dwItemData, barItem.hSubMenu),
              std::tuple(UINT{MFT_OWNERDRAW}, 667u, ULONG_PTR{2}, f.second));
    AppendMenuW(f.second, MF_STRING, 21, L"x");
    SendMessageW(f.w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.second), MAKELPARAM(1, TRUE));  // as a system menu
    EXPECT_EQ(ItemAt(f.second, 0).fType & MFT_OWNERDRAW, 0u);
    SendMessageW(f.w, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.edit), 0);
    const UINT types[] = {MFT_OWNERDRAW | MFT_RADIOCHECK, MFT_OWNERDRAW | MFT_MENUBREAK, MFT_OWNERDRAW | MFT_SEPARATOR,
                          MFT_OWNERDRAW, MFT_OWNERDRAW};
    for (UINT pos = 0; pos < 5; ++pos) EXPECT_EQ(ItemAt(f.edit, pos).fType, types[pos]) << pos;
    EXPECT_EQ(ItemAt(f.edit, 1).wID, 12u);

    const ItemSize tab = f.Measure(11, 0), blank = f.Measure(13, 0), column = f.Measure(12, 0), bar = f.Measure(667, 2);
    EXPECT_EQ(tab, blank);
    EXPECT_EQ(std::pair(column.width - bar.width, column.height), std::pair(50, bar.height));  // "Second" both
    EXPECT_GT(bar.height, 6);
    MEASUREITEMSTRUCT button{ODT_BUTTON, 1, 11, 0, 0, 0};
    EXPECT_FALSE(SendMessageW(f.w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&button)));

    constexpr COLORREF kFrame = RGB(46, 36, 133), kSelected = RGB(92, 168, 220);
    const Canvas sel(f, f.edit, 13, ODS_SELECTED, RECT{0, 10, 120, 32});
    for (auto [x, y, colour] : {std::tuple{119, 21, kFrame}, {60, 10, kFrame}, {60, 31, kFrame}, {116, 21, kSelected},
                                {116, 12, kSelected}, {60, 9, RGB(255, 255, 255)}})
        EXPECT_EQ(sel.At(x, y), colour) << x << "," << y;
    const Canvas off(f, f.edit, 14, ODS_SELECTED | ODS_DISABLED, RECT{0, 34, 120, 56});
    EXPECT_TRUE(off.At(119, 45) != kFrame && off.At(116, 45) != kSelected);
    const Canvas sep(f, f.edit, 0, 0, RECT{0, 0, 120, 10});
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    EXPECT_GE(sep.Span(shadow, 5, 6).first, MenuPictureColumn(96));  // after the picture column
    EXPECT_EQ(std::tuple(sep.Span(shadow, 5, 6).second, sep.Span(shadow, 0, 5).second, sep.Span(shadow, 6, 10).second),
              std::tuple(114, -1, -1));  // 5 px short of the right end, in row 5 only
    for (auto [dpi, lo, hi] : {std::tuple{96u, 1, 19}, {144u, 20, 29}}) {
        const int right = Canvas(f, f.edit, 13, ODS_CHECKED, RECT{0, 0, 120, 32}, dpi).Span(kFrame, 0, 32).second;
        EXPECT_TRUE(right >= lo && right <= hi) << dpi << ": " << right;
    }

    RemoveODMenu(f.w);
    EXPECT_EQ(GetWindowLongPtrW(f.w, GWLP_WNDPROC), before);
    EXPECT_EQ(GetPropW(f.w, L"ODMenuOrigProc"), nullptr);
}

struct RecordingHost final : MenuHost {
    std::vector<std::string> calls;
    void ShowBar(bool topmost) override { calls.push_back(topmost ? "bar top" : "bar normal"); }
    void OpenSettings() override { calls.push_back("settings"); }
    void OpenVideoSettings() override { calls.push_back("video"); }
    void ShowAbout() override { calls.push_back("about"); }
    void DoAction(int index) override { calls.push_back("action " + std::to_string(index)); }
};

// A registry key of its own, its store and a host that records what the menu asks of it.
struct MenuSetup {
    const std::string path = "Software\\OrvantaTests\\" + test::UniqueName("menu");
    RegistryStore store{path, "OrvantaZ"};
    RecordingHost host;
    ~MenuSetup() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str()); }
};

std::vector<std::string> Captions(HMENU m) {
    std::vector<std::string> out(static_cast<size_t>(std::max(0, GetMenuItemCount(m))));
    wchar_t text[64];
    for (UINT i = 0; i < out.size(); ++i) out[i] = Narrow({text, static_cast<size_t>(GetMenuStringW(m, i, text, 64, MF_BYPOSITION))});
    return out;
}

// Faults: items missing, misordered or miscaptioned; the video item or desktops 5 and 6 in
// the wrong flavour; the form's caption. Commands: "Show on top" not toggling, writing the old
// state (TM8) or not at once, the layer not applied; commands reaching the wrong host call; a
// separator or desktop 7 doing something.
TEST(FrmMenu, BuiltInOrderForTheFlavourAndCommands) {
    MenuSetup k;
    const std::vector<std::string> items{"Show", "Show on top", "", "Settings", "Video Settings", "About", "Exit", "", "Switch", ""};
    for (int flavour : {1, 2}) {
        auto menu = FrmMenu::Create(k.host, k.store, Flavour(flavour));
        ASSERT_TRUE(menu);
        auto want = items;
        if (flavour == 1) want.erase(want.begin() + 4);
        EXPECT_EQ(Captions(menu->mnuPopUp()), want);
        const std::vector<std::string> desks{"Desktop 1", "Desktop 2", "Desktop 3", "Desktop 4", "Desktop 5", "Desktop 6"};
        EXPECT_EQ(Captions(GetSubMenu(menu->mnuPopUp(), static_cast<int>(want.size()) - 2)),
                  std::vector(desks.begin(), desks.begin() + (flavour == 1 ? 4 : 6)));
        wchar_t title[64] = {};
        EXPECT_EQ(Narrow({title, static_cast<size_t>(GetWindowTextW(menu->hwnd(), title, 64))}), Flavour(flavour).appTitle);
    }
    auto menu = FrmMenu::Create(k.host, k.store, CurrentFlavour());
    ASSERT_TRUE(menu && menu->SetupTrayMenu());
    menu->SetShowOnTop(true);
    menu->mnuPop_Click(1);
    EXPECT_EQ(std::pair(menu->ShowOnTop(), k.store.Get("CONFIG", "TOPMOST")), std::pair(false, std::optional<std::string>("0")));
    menu->mnuPop_Click(0);
    menu->mnuPop_Click(1);
    EXPECT_EQ(std::pair(menu->ShowOnTop(), k.store.Get("CONFIG", "TOPMOST")), std::pair(true, std::optional<std::string>("1")));
    for (int index : {3, 4, 7, 8, 2, 9, 10, 20, 5}) menu->mnuPop_Click(index);
    for (int index : {3, 7, 0}) menu->mnuS_Click(index);
    for (int id : {100, 206, 102}) SendMessageW(menu->hwnd(), WM_COMMAND, static_cast<WPARAM>(id), 0);
    EXPECT_EQ(k.host.calls, (std::vector<std::string>{"bar normal", "bar normal", "bar top", "settings", "video", "about",
                                                    "action 99", "action 3", "bar top", "action 6"}));
}

// Faults: the tray menu's form, its conversion at each opening, or the about box leaving
// menus, icons, windows or GDI objects behind when they go.
TEST(FaceObjects, MadeAndGoneAgainAndAgainLeaveNothingBehind) {
    MenuSetup k;
    auto round = [&] {
        auto menu = FrmMenu::Create(k.host, k.store, CurrentFlavour());
        ASSERT_TRUE(menu && menu->SetupTrayMenu());
        for (HMENU m : {menu->mnuPopUp(), GetSubMenu(menu->mnuPopUp(), GetMenuItemCount(menu->mnuPopUp()) - 2)})
            SendMessageW(menu->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0);
        menu->RemoveTrayMenu();
        ASSERT_TRUE(UpdateWindow(FrmAbout::Show(menu->Icon())));
        FrmAbout::Close();
    };
    round();  // what a process makes once (fonts, pictures) is made now
    const std::pair before{test::GdiObjectCount(GetCurrentProcess()), test::UserHandleCount()};
    for (int i = 0; i < 10; ++i) round();
    EXPECT_EQ(std::pair(test::GdiObjectCount(GetCurrentProcess()), test::UserHandleCount()), before);
}

}  // namespace
}  // namespace orv
