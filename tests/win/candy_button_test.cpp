// The candy button's window class: the face it paints per look and scheme, its window shape,
// and a button of a dialog template reaching its dialog by mouse and by the Enter key.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/win/handles.h"
#include "common/dib_surface.h"
#include "controls/win/candy_button.h"

namespace orv {
namespace {

struct Host {
    HWND parent = CreateWindowExW(0, L"STATIC", L"candy host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    ~Host() { DestroyWindow(parent); }
};

// The colour of one pixel of a 200 x 40 button's face as WM_PRINTCLIENT paints it into a DIB section.
COLORREF FaceAt(HWND button, int x, int y) {
    test::DibSurface face(200, 40);
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(face.dc.get()), PRF_CLIENT);
    return GetPixel(face.dc.get(), x, y);
}

// Faults: a look painted with another look's colour or always the normal one (K6), the
// disabled base not used, red and blue swapped on the way to GDI; no window shape, a shape not
// rebuilt on resize (K8), a rectangular style keeping one.
TEST(CandyButtonWin, FaceColoursPerLookAndSchemeAndTheWindowShape) {
    ASSERT_TRUE(CandyButton::Register());
    Host host;
    enum Make { Plain, Hover, Press, Latch, Focus, Disabled };
    for (int scheme = 1; scheme <= 6; ++scheme) {
        for (Make make : {Plain, Hover, Press, Latch, Focus, Disabled}) {
            HWND b = CandyButton::Create(host.parent, 7, 0, 0, 200, 40, L"", 7, scheme);
            CandyButton* c = CandyButton::From(b);
            ASSERT_NE(c, nullptr);
            if (make == Hover) SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
            if (make == Press) SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
            if (make == Latch) c->SetChecked(true), SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
            if (make == Focus) SendMessageW(b, WM_SETFOCUS, 0, 0);
            if (make == Disabled) EnableWindow(b, FALSE);
            const COLORREF expected = std::array{c->ColorButtonUp(), c->ColorButtonHover(), c->ColorButtonDown(),
                                                 c->ColorButtonDown(), c->ColorButtonUp(), COLORREF{0xB0C0C0}}[make];
            // A bottom corner, beyond the glow's first ellipse: the face's fill.
            EXPECT_EQ(FaceAt(b, 12, 38), expected) << "scheme " << scheme << " look " << make;
            DestroyWindow(b);
        }
    }
    HWND b = CandyButton::Create(host.parent, 9, 0, 0, 26, 22, L"1", 7, 2);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const auto inside = [&](int x, int y) { return GetWindowRgn(b, rgn) != ERROR && PtInRegion(rgn, x, y); };
    EXPECT_EQ(std::tuple(inside(0, 0), inside(25, 21), inside(13, 11)), std::tuple(false, false, true));
    MoveWindow(b, 0, 0, 80, 40, FALSE);
    EXPECT_EQ(std::pair(inside(79, 39), inside(79, 20)), std::pair(false, true)) << "the corner of the new size";
    CandyButton::From(b)->SetStyle(0);
    EXPECT_EQ(GetWindowRgn(b, rgn), ERROR) << "style 0 is a plain rectangle";
    DeleteObject(rgn);
}

std::vector<std::string> g_log;
struct Recorder : CandyListener {
    void MouseDown(HWND, const CandyMouse& m) override { g_log.push_back("down " + std::to_string(m.button)); }
    void MouseUp(HWND, const CandyMouse& m) override { g_log.push_back("up " + std::to_string(m.button)); }
};

// Faults: the class unknown to dialog templates, no BN_CLICKED or the wrong id, events out of
// order, Enter taken by the dialog manager instead of the focused button (K7), a click raised
// by a button disabled after its creation (K9).
TEST(CandyButtonWin, DialogTemplateButtonByMouseAndEnter) {
    ASSERT_TRUE(CandyButton::Register());
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(42), nullptr,
                                  [](HWND, UINT msg, WPARAM wp, LPARAM) -> INT_PTR {
                                      if (msg == WM_COMMAND) g_log.push_back("command " + std::to_string(wp));
                                      return msg == WM_INITDIALOG;
                                  }, 0);
    ASSERT_NE(dlg, nullptr);
    HWND b = GetDlgItem(dlg, 42);
    CandyButton* c = CandyButton::From(b);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::pair(c->Style(), c->ColorScheme()), std::pair(7, 2));
    Recorder rec;
    c->SetListener(&rec);
    const auto click = [b](UINT down, WPARAM held) {
        SendMessageW(b, down, held, MAKELPARAM(5, 5)), SendMessageW(b, down + 1, 0, MAKELPARAM(5, 5));  // then its up
    };
    g_log.clear();
    click(WM_LBUTTONDOWN, MK_LBUTTON), click(WM_RBUTTONDOWN, MK_RBUTTON);
    SetFocus(b);
    PostMessageW(b, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(b, WM_KEYUP, VK_RETURN, 0xC01C0001);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        if (!IsDialogMessageW(dlg, &msg)) TranslateMessage(&msg), DispatchMessageW(&msg);
    EnableWindow(b, FALSE);
    click(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(g_log, (std::vector<std::string>{"down 1", "up 1", "command 42", "down 2", "up 2", "down 1", "up 1", "command 42"}));
    DestroyWindow(dlg);
}

}  // namespace
}  // namespace orv
