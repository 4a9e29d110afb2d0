#include "controls/win/dialog_chrome.h"

#include <windowsx.h>

#include <algorithm>

#include "base/win/handles.h"
#include "base/win/window_dpi.h"

namespace orv::chrome {

void Fill(HDC dc, const RECT& r, COLORREF c) {
    SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void Gradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    const auto ch = [](BYTE v) { return static_cast<COLOR16>(v << 8); };
    TRIVERTEX v[2] = {{r.left, r.top, ch(GetRValue(top)), ch(GetGValue(top)), ch(GetBValue(top)), 0},
                      {r.right, r.bottom, ch(GetRValue(bottom)), ch(GetGValue(bottom)), ch(GetBValue(bottom)), 0}};
    GRADIENT_RECT g{0, 1};
    GdiGradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);  // gdi32's own: no msimg32 to load
}

void DrawTitle(HDC dc, RECT r, HICON icon, HFONT titleFont, const wchar_t* title, UINT dpi) {
    Gradient(dc, r, kStripTop, kStripBottom);
    const int size = ScaleForDpi(16, dpi), left = ScaleForDpi(10, dpi);
    if (icon) DrawIconEx(dc, left, (r.bottom - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
    SelectGuard f(dc, titleFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleInk);
    r.left = left + size + ScaleForDpi(8, dpi);
    DrawTextW(dc, title, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void DrawCloseImage(HDC dc, const RECT& r, UINT dpi) {
    Gradient(dc, r, kStripTop, kStripBottom);
    const HRGN face = CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, ScaleForDpi(6, dpi), ScaleForDpi(6, dpi));
    SelectClipRgn(dc, face);
    Gradient(dc, r, kFaceTop, kFaceBottom);
    SelectClipRgn(dc, nullptr);
    const HBRUSH rim = CreateSolidBrush(kFaceRim);
    FrameRgn(dc, face, rim, 1, 1);
    DeleteObject(rim);
    DeleteObject(face);
    const int m = (r.right - r.left) * 3 / 10;
    UniquePen pen(CreatePen(PS_SOLID, std::max(2, ScaleForDpi(2, static_cast<UINT>(dpi))), kCloseInk));
    SelectGuard p(dc, pen.get());
    MoveToEx(dc, r.left + m, r.top + m, nullptr);
    LineTo(dc, r.right - m, r.bottom - m);
    MoveToEx(dc, r.right - m - 1, r.top + m, nullptr);
    LineTo(dc, r.left + m - 1, r.bottom - m);
}

void PaintStrips(HDC dc, const RECT& all, UINT dpi) {
    RECT strip = all, bottom = all;
    strip.bottom = ScaleForDpi(kStrip, dpi);
    bottom.top = all.bottom - ScaleForDpi(kBorder, dpi);
    Gradient(dc, strip, kStripTop, kStripBottom);
    Gradient(dc, bottom, kStripTop, kStripBottom);
    const HBRUSH rim = CreateSolidBrush(kStripBottom);
    FrameRect(dc, &all, rim);
    DeleteObject(rim);
}

RECT TitleRect(int width, UINT dpi) { return {0, 0, width - ScaleForDpi(kCloseSize + 10, dpi), ScaleForDpi(kStrip, dpi)}; }

RECT CloseRect(int width, UINT dpi) {
    const int left = width - ScaleForDpi(kCloseSize + 8, dpi), top = ScaleForDpi((kStrip - kCloseSize) / 2, dpi);
    return {left, top, left + ScaleForDpi(kCloseSize, dpi), top + ScaleForDpi(kCloseSize, dpi)};
}

bool DragByStrip(HWND dlg, int y, UINT dpi) {
    RECT r;
    GetClientRect(dlg, &r);
    if (y >= ScaleForDpi(kStrip, dpi) && y < r.bottom - ScaleForDpi(kBorder, dpi)) return false;
    ReleaseCapture();
    SendMessageW(dlg, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return true;
}

void RunModal(HWND owner, const std::function<bool()>& done, const std::function<bool(MSG&)>& preTranslate,
              const std::function<void()>& onQuit) {
    const bool ownerEnabled = owner && !EnableWindow(owner, FALSE);
    MSG m{};
    bool quit = false;
    while (!done()) {
        if (GetMessageW(&m, nullptr, 0, 0) <= 0) {
            quit = true;
            onQuit();
            break;
        }
        if (!preTranslate(m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    // The owner comes back first, so that activation goes to it and not to another program.
    if (ownerEnabled) EnableWindow(owner, TRUE);
    if (quit) PostQuitMessage(static_cast<int>(m.wParam));
}

HICON WindowIcon(HWND window) {
    if (!window) return nullptr;
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    return icon ? icon : reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

bool HandleFrame(HWND dlg, const FrameParts& parts, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_DRAWITEM: {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (static_cast<int>(d->CtlID) == parts.titleId)
            DrawTitle(d->hDC, d->rcItem, parts.icon, parts.titleFont, parts.title, parts.dpi);
        if (static_cast<int>(d->CtlID) == parts.closeId) DrawCloseImage(d->hDC, d->rcItem, parts.dpi);
        result = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wp), parts.pageColour);
        result = reinterpret_cast<LRESULT>(parts.page);
        return true;
    case WM_LBUTTONDOWN:  // the border strips (the title strip is the top one) drag the dialog
        DragByStrip(dlg, GET_Y_LPARAM(lp), parts.dpi);
        result = 0;
        return true;
    case DM_GETDEFID:
        result = MAKELRESULT(parts.okId, DC_HASDEFID);
        return true;
    default:
        return false;
    }
}

void KeepFocus(HWND dlg, WPARAM wp, HWND& lastFocus) {
    if (LOWORD(wp) == WA_INACTIVE) lastFocus = GetFocus();
    else if (lastFocus && IsChild(dlg, lastFocus)) SetFocus(lastFocus);
}

void FollowDpi(HWND dlg, WPARAM wp, LPARAM lp, const std::function<void(UINT dpi)>& layout) {
    const auto* suggested = reinterpret_cast<const RECT*>(lp);
    layout(HIWORD(wp));
    SetWindowPos(dlg, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

}  // namespace orv::chrome
