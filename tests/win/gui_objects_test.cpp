// The GUI object counters the leak tests rely on: a leak of N objects must show as N.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/win/utf.h"
#include "common/gui_objects.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

// Catches: free or deleted entries of the GDI table counted, the wrong table or entry layout
// read (another count, or -1), child windows of another process missed.
TEST(GuiObjects, ALeakInAnotherProcessRaisesItsCountsByThatMuch) {
    const std::wstring title = Widen(test::UniqueName("Leaky"));
    test::Child child(test::SelfPath().parent_path().parent_path() / "tools" / "testwins.exe", L"testwins \"title=" + title + L"\"");
    ASSERT_TRUE(child.started);
    HWND h = nullptr;
    ASSERT_TRUE(test::WaitFor([&] { return (h = FindWindowW(L"OrvTestWindow", title.c_str())) != nullptr; }, 10000));
    // Settled: painted, and the objects made once per process (fonts, DCs) made.
    WaitForInputIdle(child.pi.hProcess, 5000);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const UINT leak = RegisterWindowMessageW(L"OrvTestLeak");
    ASSERT_EQ(SendMessageW(h, leak, 1, 1), 1);
    const DWORD pid = child.pi.dwProcessId;
    const struct {
        WPARAM kind;  // as testwins makes them
        int made, gdi, windows;
    } cases[] = {
        {0, 25, 25, 0},  // brushes kept
        {1, 40, 0, 0},   // brushes deleted at once
        {2, 7, 0, 7},    // child windows kept
        {0, 600, 600, 0},  // past the first 12 KiB read of the table
    };
    for (const auto& c : cases) {
        const int gdi = test::GdiObjectCount(child.pi.hProcess), windows = test::WindowCount(pid);
        ASSERT_GT(gdi, 0);
        ASSERT_EQ(SendMessageW(h, leak, c.kind, c.made), c.made);
        EXPECT_EQ(test::GdiObjectCount(child.pi.hProcess) - gdi, c.gdi) << "kind " << c.kind;
        EXPECT_EQ(test::WindowCount(pid) - windows, c.windows) << "kind " << c.kind;
    }
}

// Catches: this process's menus or icons missed, or destroyed ones still counted.
TEST(GuiObjects, OwnMenusAndIconsCountWhileTheyLive) {
    HBITMAP mask = CreateBitmap(16, 32, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, nullptr};
    const struct {
        const char* what;
        HANDLE (*make)(ICONINFO&);
        void (*destroy)(HANDLE);
    } cases[] = {
        {"menus", [](ICONINFO&) -> HANDLE { return CreatePopupMenu(); }, [](HANDLE m) { DestroyMenu(static_cast<HMENU>(m)); }},
        {"icons", [](ICONINFO& i) -> HANDLE { return CreateIconIndirect(&i); }, [](HANDLE m) { DestroyIcon(static_cast<HICON>(m)); }},
    };
    for (const auto& c : cases) {
        const int before = test::UserHandleCount();
        std::vector<HANDLE> made;
        for (int i = 0; i < 12; ++i) made.push_back(c.make(info));
        ASSERT_EQ(std::count(made.begin(), made.end(), nullptr), 0) << c.what;
        EXPECT_EQ(test::UserHandleCount() - before, 12) << c.what;
        for (HANDLE m : made) c.destroy(m);
        EXPECT_EQ(test::UserHandleCount(), before) << c.what;
    }
    DeleteObject(mask);
}

}  // namespace
}  // namespace orv
