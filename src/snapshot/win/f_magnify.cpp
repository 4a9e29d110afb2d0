#include "snapshot/win/f_magnify.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "base/win/log.h"
#include "base/win/utf.h"
#include "base/win/window_dpi.h"

namespace orv {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 50;  // Timer1
// At 96 DPI: the window's client area and its parts.
constexpr int kClientW = 260, kClientH = 220, kLabelH = 18, kFactorW = 52, kMarker = 7;
constexpr COLORREF kCrosshair = RGB(255, 64, 64);
constexpr COLORREF kLabelBack = RGB(30, 36, 56), kLabelText = RGB(225, 232, 250);

}  // namespace

std::unique_ptr<FMagnify> FMagnify::Create(HWND owner) {
    std::unique_ptr<FMagnify> m(new FMagnify());
    const DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    const UINT dpi = WindowDpi(owner);
    RECT r{0, 0, ScaleForDpi(kClientW, dpi), ScaleForDpi(kClientH, dpi)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    if (!RegisterClassOnce(kMagnifyClass) ||
        !m->Window::Create(kMagnifyClass, kMagnifyTitle, style, exStyle, 0, 0, r.right - r.left, r.bottom - r.top, owner))
        return nullptr;
    HWND w = m->hwnd();
    HINSTANCE inst = ModuleInstance();
    m->picture_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 0, 0, w,
                                  reinterpret_cast<HMENU>(kMagPicture), inst, nullptr);
    m->scroll_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0, w,
                                 reinterpret_cast<HMENU>(kMagScroll), inst, nullptr);
    m->position_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0, 0, w,
                                   reinterpret_cast<HMENU>(kMagPosition), inst, nullptr);
    m->factor_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE, 0, 0, 0, 0, w,
                                 reinterpret_cast<HMENU>(kMagFactor), inst, nullptr);
    if (!m->picture_ || !m->scroll_ || !m->position_ || !m->factor_) return nullptr;
    SetWindowSubclass(m->picture_, PictureProc, 0, reinterpret_cast<DWORD_PTR>(m.get()));
    m->font_ = MessageFontForDpi(dpi);
    for (HWND label : {m->position_, m->factor_}) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(m->font_.get()), FALSE);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, kZoomScrollMin, kZoomScrollMax, 1, kZoomScrollStart, 0};
    SetScrollInfo(m->scroll_, SB_CTL, &si, FALSE);
    // Load: top-left corner, topmost, shown, then the scroll bar's change once.
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m->LayOut();
    ShowWindow(w, SW_SHOWNOACTIVATE);
    m->ScrollChanged();
    SetTimer(w, kTickTimer, kTickMs, nullptr);
    return m;
}

FMagnify::~FMagnify() {
    if (picture_) RemoveWindowSubclass(picture_, PictureProc, 0);
    if (hwnd()) DestroyWindow(hwnd());
}

ZoomParts FMagnify::Parts() const {
    RECT c{};
    GetClientRect(hwnd(), &c);
    const UINT dpi = WindowDpi(hwnd());
    ZoomParts p;
    p.width = c.right, p.height = c.bottom;
    p.scrollWidth = GetSystemMetrics(SM_CXVSCROLL) * static_cast<int>(dpi) / static_cast<int>(WindowDpi(nullptr));
    p.label1Height = p.label2Height = ScaleForDpi(kLabelH, dpi);
    p.label2Width = ScaleForDpi(kFactorW, dpi);
    p.thickness = CrosshairThickness(value_);
    p.markerWidth = p.markerHeight = ScaleForDpi(kMarker, dpi);
    return p;
}

void FMagnify::LayOut() {
    const ZoomParts p = Parts();
    const ZoomLayout l = LayOutZoom(p);
    MoveWindow(scroll_, l.scrollLeft, 0, p.scrollWidth, l.scrollHeight, TRUE);
    MoveWindow(picture_, 0, 0, l.pictureWidth, l.pictureHeight, TRUE);
    MoveWindow(position_, 0, l.label1Top, l.label2Left, p.label1Height, TRUE);
    MoveWindow(factor_, l.label2Left, l.label2Top, p.label2Width, p.label2Height, TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void FMagnify::ScrollChanged() {
    SetWindowTextW(factor_, Widen(ZoomLabel(value_)).c_str());
    LayOut();  // the crosshair's thickness moves its line
    InvalidateRect(picture_, nullptr, FALSE);
}

bool FMagnify::OnZoomKey(unsigned virtualKey) {
    const int value = ZoomScrollForKey(virtualKey, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0);
    if (value == 0) return false;
    value_ = value;
    SetScrollPos(scroll_, SB_CTL, value_, TRUE);
    ScrollChanged();
    return true;
}

// Every 50 ms: the position label, then the view around the pointer.
void FMagnify::Tick() {
    POINT p{};
    if (!GetCursorPos(&p)) return;
    SetWindowTextW(position_, Widen(PointerLabel(p.x, p.y)).c_str());
    const ZoomSource s = ZoomSourceFor(Parts(), value_);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    centre_.x = FollowPointer(centre_.x, p.x, s.halfWidth, left, left + GetSystemMetrics(SM_CXVIRTUALSCREEN));
    centre_.y = FollowPointer(centre_.y, p.y, s.halfHeight, top, top + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (HDC dc = GetDC(picture_)) {
        PaintPicture(dc);
        ReleaseDC(picture_, dc);
    }
}

// The enlarged screen area, then the crosshair and its marker over it.
void FMagnify::PaintPicture(HDC dc) const {
    const ZoomParts parts = Parts();
    const ZoomSource s = ZoomSourceFor(parts, value_);
    const ZoomLayout l = LayOutZoom(parts);
    if (HDC screen = GetDC(nullptr)) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, s.dstWidth, s.dstHeight, screen, centre_.x - s.halfWidth, centre_.y - s.halfHeight,
                   s.srcWidth, s.srcHeight, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    HBRUSH line = CreateSolidBrush(kCrosshair);
    const int t = parts.thickness;
    const RECT h{0, l.hLineY - t / 2, l.hLineRight, l.hLineY - t / 2 + t};
    const RECT v{l.vLineX - t / 2, 0, l.vLineX - t / 2 + t, l.vLineBottom};
    FillRect(dc, &h, line);
    FillRect(dc, &v, line);
    DeleteObject(line);
    const RECT marker{l.markerLeft, l.markerTop, l.markerLeft + parts.markerWidth, l.markerTop + parts.markerHeight};
    FrameRect(dc, &marker, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LRESULT CALLBACK FMagnify::PictureProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) noexcept {
    auto* m = reinterpret_cast<FMagnify*>(self);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(w, &ps)) m->PaintPicture(dc), EndPaint(w, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    // A press on the picture does nothing; its moves and double clicks are the window's.
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDBLCLK) {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        MapWindowPoints(w, m->hwnd(), &p, 1);
        return SendMessageW(m->hwnd(), msg, wp, MAKELPARAM(p.x, p.y));
    }
    if (msg == WM_KEYDOWN) return SendMessageW(m->hwnd(), msg, wp, lp);
    return DefSubclassProc(w, msg, wp, lp);
}

LRESULT FMagnify::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kTickTimer) Tick();
            return 0;
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_VSCROLL: {
            int value = value_;
            switch (LOWORD(wp)) {
                case SB_LINEUP: value -= 1; break;
                case SB_LINEDOWN: value += 1; break;
                case SB_PAGEUP: value -= 10; break;
                case SB_PAGEDOWN: value += 10; break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION: value = HIWORD(wp); break;
                case SB_TOP: value = kZoomScrollMin; break;
                case SB_BOTTOM: value = kZoomScrollMax; break;
                default: return 0;
            }
            value_ = std::clamp(value, kZoomScrollMin, kZoomScrollMax);
            SetScrollPos(scroll_, SB_CTL, value_, TRUE);
            ScrollChanged();
            return 0;
        }
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) {  // the capture window's key: it ends the selection
                PostMessageW(GetWindow(hwnd(), GW_OWNER), WM_KEYDOWN, VK_ESCAPE, 0);
                return 0;
            }
            if (OnZoomKey(static_cast<unsigned>(wp))) return 0;
            break;
        case WM_COMMAND:
            if (LOWORD(wp) == kMagPicture && HIWORD(wp) == STN_DBLCLK) return OnMessage(WM_LBUTTONDBLCLK, 0, 0);
            break;
        case WM_MOUSEMOVE:
            // Dragging anywhere moves the window.
            if (wp & MK_LBUTTON) {
                ReleaseCapture();
                SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            closed_ = true;
            ShowWindow(hwnd(), SW_HIDE);
            KillTimer(hwnd(), kTickTimer);
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, kLabelText);
            SetBkColor(dc, kLabelBack);
            if (!labelBack_) labelBack_.reset(CreateSolidBrush(kLabelBack));
            return reinterpret_cast<LRESULT>(labelBack_.get());
        }
        case WM_ERASEBKGND: {
            RECT c{};
            GetClientRect(hwnd(), &c);
            FillRect(reinterpret_cast<HDC>(wp), &c, GetSysColorBrush(COLOR_3DFACE));
            return 1;
        }
        case WM_CLOSE:
            return 0;  // the capture window decides when it goes
    }
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace orv
