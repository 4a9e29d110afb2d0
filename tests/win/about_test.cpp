#include <gtest/gtest.h>

#include "controls/win/frm_about.h"

namespace orv {
namespace {

std::wstring Text(HWND w, int id) {
    wchar_t text[128] = {};
    GetDlgItemTextW(w, id, text, 128);
    return text;
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&m), DispatchMessageW(&m);
}

// Faults: the version's numbers taken from the wrong fields or zero-padded; the product
// name missing from caption or label; a second About opening a second box; Escape or
// Enter not closing it; Close leaving it open.
TEST(FrmAbout, ShowsNameAndVersionOnceAndClosesOnEscapeEnterAndClose) {
    const HWND about = FrmAbout::Show(nullptr);
    ASSERT_TRUE(about);
    EXPECT_EQ(Text(about, kAboutVersion), L"Version: 3.7.5");  // tests/win/win_tests.rc: 3,7,5,9
    wchar_t title[64] = {};
    GetWindowTextW(about, title, 64);
    EXPECT_EQ(std::wstring(title), L"Orvanta Solvane");
    EXPECT_EQ(Text(about, kAboutAppName), L"Orvanta Solvane");
    EXPECT_EQ(FrmAbout::Show(nullptr), about);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        const HWND box = FrmAbout::Show(nullptr);
        PostMessageW(GetDlgItem(box, kAboutClose), WM_KEYDOWN, key, 0);
        Pump();
        EXPECT_FALSE(IsWindow(box)) << key;
        EXPECT_EQ(FrmAbout::Current(), nullptr);
    }
    const HWND again = FrmAbout::Show(nullptr);
    FrmAbout::Close();
    EXPECT_FALSE(IsWindow(again));
}

}  // namespace
}  // namespace orv
