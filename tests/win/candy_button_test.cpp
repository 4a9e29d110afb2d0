// The candy button's window class: the face it paints per look and scheme, its window shape,
// and a button of a dialog template reaching its dialog by mouse and by the Enter key.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/win/handles.h"
#include "controls/win/candy_button.h"

namespace orv {
namespace {

struct Host {
    HWND parent = CreateWindowExW(0, L"STATIC", L"candy host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    ~Host() { DestroyWindow(parent); }
};

// The button's face as WM_PRINTCLIENT paints it into a top-down 32-bit DIB section.
struct Face {
    int w, h;
    std::vector<std::uint32_t> px;
    COLORREF At(int x, int y) const {
        const std::uint32_t v = px[static_cast<size_t>(y) * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
};
Face Render(HWND button) {
    RECT rc{};
    GetClientRect(button, &rc);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap dib(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    Face f{rc.right, rc.bottom, {}};
    if (!dib) return f;
    {
        SelectGuard use(dc.get(), dib.get());
        SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    f.px.assign(p, p + static_cast<size_t>(f.w) * f.h);
    return f;
}

// Faults: a look painted with another look's colour, the disabled base not used, red and blue
// swapped on the way to GDI, gloss rows drawn in the wrong row or colour.
TEST(CandyButtonWin, FaceColoursPerLookAndScheme) {
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
            const Face f = Render(b);
            ASSERT_EQ(f.px.size(), 200u * 40u);
            // Bottom corners, beyond the glow's first ellipse: the face's fill.
            EXPECT_EQ(f.At(12, 38), expected) << "scheme " << scheme << " look " << make;
            EXPECT_EQ(f.At(187, 38), expected) << "scheme " << scheme << " look " << make;
            DestroyWindow(b);
        }
    }
    // Gloss rows of a bar-sized button: white blended toward the base by 50 * y / r percent.
    HWND b = CandyButton::Create(host.parent, 8, 0, 0, 26, 22, L"", 7, 2);
    const Face f = Render(b);
    for (auto [y, colour] : {std::pair{2, RGB(0xE4, 0xED, 0xF8)}, {6, RGB(0xB0, 0xC8, 0xE8)}})
        for (int x : {4, 13, 22}) EXPECT_EQ(f.At(x, y), colour) << x << "," << y;
    EXPECT_NE(f.At(13, 7), RGB(0xB0, 0xC8, 0xE8)) << "the gloss ends at row r";
}

// Faults: no window shape, a shape not rebuilt on resize, a rectangular style keeping one.
TEST(CandyButtonWin, WindowShapeFollowsSizeAndStyle) {
    ASSERT_TRUE(CandyButton::Register());
    Host host;
    HWND b = CandyButton::Create(host.parent, 9, 0, 0, 26, 22, L"1", 7, 2);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 25, 21));
    EXPECT_TRUE(PtInRegion(rgn, 13, 11));
    MoveWindow(b, 0, 0, 80, 40, FALSE);
    ASSERT_NE(GetWindowRgn(b, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 79, 39)) << "corner of the new size";
    EXPECT_TRUE(PtInRegion(rgn, 79, 20));
    CandyButton::From(b)->SetStyle(0);
    EXPECT_EQ(GetWindowRgn(b, rgn), ERROR) << "style 0 is a plain rectangle";
    DeleteObject(rgn);
}

// A dialog template with one CandyButton (id 42), as the dialogs of ours are made.
std::vector<WORD> Template() {
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / 2, 0);
    const auto add = [&t](std::wstring_view text) { t.insert(t.end(), text.begin(), text.end()), t.push_back(0); };
    auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
    d->style = WS_POPUP | WS_CAPTION | DS_SETFONT, d->cdit = 1, d->cx = 120, d->cy = 60;
    t.insert(t.end(), {0, 0, 0, 8});  // no menu, default class, no title; 8 pt
    add(L"Tahoma");
    if (t.size() % 2) t.push_back(0);  // items start on a DWORD
    const size_t at = t.size();
    t.resize(at + sizeof(DLGITEMTEMPLATE) / 2);
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(t.data() + at);
    item->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP, item->x = 10, item->y = 10, item->cx = 40, item->cy = 14, item->id = 42;
    add(L"CandyButton");
    add(L"&Go");
    t.push_back(0);  // no creation data
    return t;
}

std::vector<std::string>* g_log = nullptr;
INT_PTR CALLBACK LogDialog(HWND, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && g_log)
        g_log->push_back((HIWORD(wp) == BN_CLICKED ? "clicked " : "other ") + std::to_string(LOWORD(wp)));
    return msg == WM_INITDIALOG;
}
struct Recorder : CandyListener {
    std::vector<std::string>& log;
    explicit Recorder(std::vector<std::string>& l) : log(l) {}
    void MouseDown(HWND, const CandyMouse& m) override { log.push_back("down " + std::to_string(m.button)); }
    void MouseUp(HWND, const CandyMouse& m) override { log.push_back("up " + std::to_string(m.button)); }
};

// Faults: the class unknown to dialog templates, no BN_CLICKED or the wrong id, a click raised
// while disabled, Enter taken by the dialog manager instead of the focused button, events out
// of order.
TEST(CandyButtonWin, DialogTemplateButtonByMouseAndEnter) {
    ASSERT_TRUE(CandyButton::Register());
    std::vector<std::string> log;
    g_log = &log;
    const std::vector<WORD> t = Template();
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                          nullptr, LogDialog, 0);
    ASSERT_NE(dlg, nullptr);
    HWND b = GetDlgItem(dlg, 42);
    CandyButton* c = CandyButton::From(b);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::pair(c->Style(), c->ColorScheme()), std::pair(7, 2));
    Recorder rec(log);
    c->SetListener(&rec);

    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageW(b, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(log, (std::vector<std::string>{"down 1", "up 1", "clicked 42", "down 2", "up 2"}));

    log.clear();
    SetFocus(b);
    PostMessageW(b, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(b, WM_KEYUP, VK_RETURN, 0xC01C0001);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessageW(dlg, &msg)) TranslateMessage(&msg), DispatchMessageW(&msg);
    EXPECT_EQ(log, (std::vector<std::string>{"down 1", "up 1", "clicked 42"}));

    log.clear();
    EnableWindow(b, FALSE);
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(log.empty());
    DestroyWindow(dlg);
    g_log = nullptr;
}

}  // namespace
}  // namespace orv
