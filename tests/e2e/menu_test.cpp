// The tray icon's menu of the real exe: opened with a right click on the icon and driven by
// the keyboard, as a user would (another process cannot read a menu's items under Wine).
#include <utility>

#include "common/gui_objects.h"
#include "e2e/driver.h"

namespace orv::e2e {
namespace {

bool Topmost(HWND h) { return (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool OpenTrayMenu() { return ClickTrayIcon(true) && WaitUntil([] { return OpenMenu() != nullptr; }, 5000); }
bool MenuClosed() { return WaitUntil([] { return OpenMenu() == nullptr; }, 5000); }

// Opens the tray menu and types the keys into it; true once the menu has closed again.
bool ChooseFromTrayMenu(std::initializer_list<WORD> keys) {
    if (!OpenTrayMenu()) return false;
    TypeKeys(keys);
    return MenuClosed();
}

// The open menus together (the popup and its submenu), with a margin.
RECT Menus() {
    RECT all{};
    for (HWND m = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); m; m = FindWindowExW(nullptr, m, L"#32768", nullptr)) {
        const RECT r = Rect(m);
        if (IsWindowVisible(m)) UnionRect(&all, &all, &r);
    }
    return Grown(all, 12);
}

// Faults: "Show on top" not toggling its mark, not writing TOPMOST at once or not changing
// the layer; a "Switch" item wired to another desktop, or switching otherwise than the bar's
// button (windows not hidden and shown again); opening the menu or painting the bar leaking
// GDI objects or windows; "About" not showing the about box, or the tray icon's left click
// leaving it open.
TEST_F(AppTest, TheTrayMenuSetsTheLayerAndSwitchesAsTheBarDoes) {
    TestWindows tw = OpenTestWindows({L"title=Menu switch"});
    ASSERT_TRUE(tw.Ready());
    HWND win = tw.Get(L"Menu switch");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Topmost(Bar()));
    for (const std::string expected : {"0", "1"}) {  // "Show on top" is the second item
        ASSERT_TRUE(ChooseFromTrayMenu({VK_DOWN, VK_DOWN, VK_RETURN}));
        EXPECT_TRUE(WaitUntil([&] { return Setting("CONFIG", "TOPMOST") == expected; }, 3000)) << expected;
        EXPECT_EQ(Topmost(Bar()), expected == "1");
    }
    // "Switch" comes after Show, Show on top, Settings, Video Settings, About and Exit.
    ASSERT_TRUE(OpenTrayMenu());
    TypeKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN});
    Shot("menu", Menus());
    TypeKeys({VK_RETURN});
    ASSERT_TRUE(MenuClosed());
    EXPECT_TRUE(WaitUntil([&] { return MarkedDesk() == 3 && !IsWindowVisible(win); }, 10000));
    ClickDesk(1);
    EXPECT_TRUE(WaitVisible(win, true));

    // "About" (after Show, Show on top, Settings and Video Settings) shows the about box; a
    // left click on the tray icon closes it and shows the bar.
    ASSERT_TRUE(ChooseFromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = FindWindowW(L"OrvantaAbout", nullptr)) && IsWindowVisible(about); }, 5000));
    EXPECT_EQ(Title(about), L"Orvanta Solvane");
    Settle(about);
    Shot("about", Grown(Rect(about), 12));
    ASSERT_TRUE(ClickTrayIcon());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    // The menu opened and closed with items drawn selected, the bar painted again and again:
    // nothing grows. The first opening makes what the later ones reuse.
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, App().Pid()));
    auto counts = [&] { return std::pair{test::GdiObjectCount(process.get()), test::WindowCount(App().Pid())}; };
    ASSERT_TRUE(ChooseFromTrayMenu({VK_DOWN, VK_ESCAPE}));
    Settle(Bar());
    const auto before = counts();
    ASSERT_GT(before.first, 0);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(ChooseFromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_ESCAPE}));
        RedrawWindow(Bar(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    Settle(Bar());
    EXPECT_EQ(counts(), before);
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
}

}  // namespace
}  // namespace orv::e2e
