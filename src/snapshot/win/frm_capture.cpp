#include "snapshot/win/frm_capture.h"

#include <windowsx.h>
#include <mmsystem.h>

#include <algorithm>

#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {
namespace {

std::unique_ptr<FrmCapture>& Instance() {
    static std::unique_ptr<FrmCapture> capture;
    return capture;
}

constexpr UINT kUnloadMessage = WM_APP + 1;  // the window goes once its handler has returned

}  // namespace

bool FrmCapture::Show(const SnapContext& context) {
    auto& capture = Instance();
    if (capture) {
        SetForegroundWindow(capture->hwnd());
        return true;
    }
    std::unique_ptr<FrmCapture> c(new FrmCapture(context));
    if (!RegisterClassOnce(kCaptureClass) || !c->Freeze()) return false;
    const RECT& r = c->screen_;
    if (!c->Window::Create(kCaptureClass, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr)) {
        LogError("CreateWindowEx (the snapshot's selection)");
        return false;
    }
    c->cursor_ = LoadCursorW(nullptr, IDC_CROSS);
    capture = std::move(c);
    HWND w = capture->hwnd();
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    SetFocus(w);
    if (capture->context_.settings.SnapZoom) capture->magnify_ = FMagnify::Create(w);
    return true;
}

bool FrmCapture::IsOpen() { return Instance() != nullptr; }

void FrmCapture::Close() {
    if (auto& c = Instance()) c->Unload();
}

FrmCapture::~FrmCapture() {
    magnify_.reset();
    if (hwnd()) DestroyWindow(hwnd());
}

// The whole virtual screen as it is now, pixel for pixel.
bool FrmCapture::Freeze() {
    screen_.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen_.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen_.right = screen_.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen_.bottom = screen_.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int w = screen_.right - screen_.left, h = screen_.bottom - screen_.top;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    frozen_ = std::make_unique<SnapPicture>();
    const bool ok = frozen_->Make(w, h) &&
                    BitBlt(frozen_->Dc(), 0, 0, w, h, screen, screen_.left, screen_.top, SRCCOPY | CAPTUREBLT) != 0;
    GdiFlush();
    ReleaseDC(nullptr, screen);
    if (!ok) LogError("The screen cannot be frozen for a snapshot");
    return ok;
}

void FrmCapture::DrawLine(POINT a, POINT b) {
    if (HDC dc = GetDC(hwnd())) {
        InvertOutline(dc, a, b);
        ReleaseDC(hwnd(), dc);
    }
}

void FrmCapture::InvertOutline(HDC dc, POINT a, POINT b) {
    const int mode = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    // Both corners belong to the outline.
    Rectangle(dc, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetROP2(dc, mode);
}

// The rectangle between the press and the release (the release pixel included) goes to the
// clipboard, to a numbered file and to the viewer, each step on its own: a failing one does
// not stop the next.
void FrmCapture::CaptureArea(float x1, float x2, float y1, float y2) {
    Settings& s = context_.settings;
    if (s.SnapSound) sndPlaySoundW(Widen(context_.programFolder + "\\capture.wav").c_str(), SND_ASYNC | SND_NODEFAULT);
    magnify_.reset();
    const std::optional<SnapRect> r = CaptureRect(x1, x2, y1, y2);
    if (!r) return;
    // picTemp: the rectangle of the frozen screen (what of it lies on the screen), which goes
    // with it: the window closes next.
    const int left = std::max(r->left, 0), top = std::max(r->top, 0);
    const int right = std::min<long long>(static_cast<long long>(r->left) + r->width, screen_.right - screen_.left);
    const int bottom = std::min<long long>(static_cast<long long>(r->top) + r->height, screen_.bottom - screen_.top);
    if (!frozen_ || !frozen_->Select(left, top, right - left, bottom - top)) return;
    DeliverSnapshot(std::move(frozen_), s, context_.tell);
}

// After a capture and after Escape: the zoom window goes, the window goes, the bar comes back.
void FrmCapture::Unload() {
    magnify_.reset();
    ShowWindow(hwnd(), SW_HIDE);
    std::function<void()> closed = context_.onClosed;
    PostMessageW(hwnd(), kUnloadMessage, 0, 0);  // deleted once no handler of it runs
    if (closed) closed();
}

LRESULT FrmCapture::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(hwnd(), &ps)) {
                const RECT& p = ps.rcPaint;
                if (frozen_) BitBlt(dc, p.left, p.top, p.right - p.left, p.bottom - p.top, frozen_->Dc(), p.left, p.top, SRCCOPY);
                if (drawn_) InvertOutline(dc, start_, last_);  // within what was repainted
                EndPaint(hwnd(), &ps);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT) return SetCursor(cursor_), TRUE;
            break;
        case WM_LBUTTONDOWN:
            if (drawn_) DrawLine(start_, last_), drawn_ = false;
            start_ = last_ = at;
            pressed_ = true;
            SetCapture(hwnd());
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:  // its release captures from the corner the left button set, if any
            pressed_ = true;
            SetCapture(hwnd());
            return msg == WM_XBUTTONDOWN ? TRUE : 0;
        case WM_MOUSEMOVE:
            if (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) {
                if (drawn_) DrawLine(start_, last_);
                DrawLine(start_, at);
                drawn_ = true;
            }
            last_ = at;
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            // Only the release of a press made here: not the end of the double click that
            // closed the zoom window over us.
            if (!IsWindowVisible(hwnd()) || !pressed_) return 0;
            ReleaseCapture();
            if (drawn_) DrawLine(start_, last_), drawn_ = false;
            CaptureArea(static_cast<float>(start_.x), static_cast<float>(at.x), static_cast<float>(start_.y),
                        static_cast<float>(at.y));
            Unload();
            return msg == WM_XBUTTONUP ? TRUE : 0;
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) {
                if (IsWindowVisible(hwnd())) Unload();
            } else if (magnify_) {
                magnify_->OnZoomKey(static_cast<unsigned>(wp));
            }
            return 0;
        case kUnloadMessage:
            Instance().reset();  // this object goes: nothing after this line
            return 0;
    }
    if (magnify_ && magnify_->Closed()) magnify_.reset();
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace orv
