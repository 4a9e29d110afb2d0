#include "base/win/window_base.h"

#include "base/win/fatal.h"

namespace orv {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

bool UnderWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

void XServerCaughtUp() {
    if (!UnderWine()) return;
    if (HDC screen = GetDC(nullptr)) {
        GetPixel(screen, 0, 0);
        ReleaseDC(nullptr, screen);
    }
}

void PaintedOnScreen() {
    GdiFlush();
    if (!UnderWine()) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);  // sends the copies out
    XServerCaughtUp();
}

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::RegisterClassOnce(const wchar_t* className, HICON icon) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(ModuleInstance(), className, &wc)) return true;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

bool Window::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                    int w, int h, HWND parent, int id) {
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menu, ModuleInstance(), this) != nullptr;
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // e.g. WM_GETMINMAXINFO before WM_NCCREATE; and none of our code once the process is failing
    if (!self || FatalPathRunning()) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT r = 0;
    try {
        r = self->OnMessage(msg, wp, lp);
    } catch (...) {
        FatalFromException("a window procedure");
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return r;
}

void MoveChildTo(HWND child, int x, int y, int w, int h) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    if (r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h) return;
    MoveWindow(child, x, y, w, h, TRUE);
}

}  // namespace orv
