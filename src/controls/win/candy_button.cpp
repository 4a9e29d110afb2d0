#include "controls/win/candy_button.h"

#include <windowsx.h>

#include <algorithm>
#include <new>
#include <vector>

#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "base/win/window_dpi.h"

namespace orv {
namespace {

using candy::Look;

constexpr UINT_PTR kLeaveWatch = 1;
constexpr UINT kLeaveWatchMs = 100;

// Whether the pointer is over the window (true when it cannot be told).
bool PointerOver(HWND w) {
    POINT pt{};
    return !GetCursorPos(&pt) || WindowFromPoint(pt) == w;
}

ATOM g_atom = 0;
using TrackFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
TrackFn g_track = nullptr;  // null: the system cannot tell us when the pointer leaves

// TrackMouseEvent from User32, else _TrackMouseEvent from Comctl32 (kept loaded while used).
TrackFn FindTracker() {
    if (HMODULE user = GetModuleHandleW(L"user32.dll"))
        if (auto f = reinterpret_cast<TrackFn>(reinterpret_cast<void*>(GetProcAddress(user, "TrackMouseEvent"))))
            return f;
    if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
        if (auto f = reinterpret_cast<TrackFn>(reinterpret_cast<void*>(GetProcAddress(comctl, "_TrackMouseEvent"))))
            return f;
        FreeLibrary(comctl);
    }
    return nullptr;
}

// A colour with the high bit set names a system colour.
candy::Color Solid(COLORREF c) { return (c & 0x80000000u) ? GetSysColor(static_cast<int>(c & 0xFF)) : c; }

CandyMouse MouseOf(WPARAM wp, LPARAM lp, int button) {
    CandyMouse m;
    m.button = button;
    m.shift = ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    m.x = GET_X_LPARAM(lp);
    m.y = GET_Y_LPARAM(lp);
    return m;
}

int HeldButtons(WPARAM wp) {
    return ((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0);
}

SIZE PictureSize(HBITMAP bitmap, HICON icon) {
    SIZE s{};
    if (bitmap) {
        BITMAP bm{};
        if (GetObjectW(bitmap, sizeof bm, &bm)) s = {bm.bmWidth, bm.bmHeight};
    } else if (icon) {
        ICONINFO ii{};
        if (GetIconInfo(icon, &ii)) {
            UniqueBitmap mask(ii.hbmMask), colour(ii.hbmColor);
            BITMAP bm{};
            if (GetObjectW(ii.hbmMask, sizeof bm, &bm)) s = {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
        }
    }
    return s;
}

}  // namespace

bool CandyButton::Register() {
    if (g_atom) return true;
    g_track = FindTracker();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;  // dialog templates of any module find it
    wc.lpfnWndProc = Proc;
    wc.cbWndExtra = sizeof(CandyButton*);
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kCandyButtonClass;
    g_atom = RegisterClassExW(&wc);
    return g_atom != 0;
}

HWND CandyButton::Create(HWND parent, int id, int x, int y, int w, int h, const std::wstring& caption, int style,
                         int colorScheme) {
    if (!Register()) return nullptr;
    HWND hwnd = CreateWindowExW(0, kCandyButtonClass, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, w, h,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    if (CandyButton* b = From(hwnd)) {
        b->SetStyle(style);
        b->SetColorScheme(colorScheme);
        if (parent) SendMessageW(hwnd, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    }
    return hwnd;
}

CandyButton* CandyButton::From(HWND hwnd) {
    if (!hwnd || !g_atom || GetClassLongPtrW(hwnd, GCW_ATOM) != g_atom) return nullptr;
    return reinterpret_cast<CandyButton*>(GetWindowLongPtrW(hwnd, 0));
}

LRESULT CALLBACK CandyButton::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto* self = reinterpret_cast<CandyButton*>(GetWindowLongPtrW(hwnd, 0));
    if (msg == WM_NCCREATE) {
        self = new (std::nothrow) CandyButton;
        if (!self) return FALSE;
        self->hwnd_ = hwnd;
        // Made from a template, a button has the look every button of ours is stored with.
        self->props_.SetStyle(7);
        self->props_.SetColorScheme(2);
        self->default_ = (reinterpret_cast<CREATESTRUCTW*>(lp)->style & 0x0F) == BS_DEFPUSHBUTTON;
        self->machine_.hoverTracking = g_track != nullptr;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete self;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return self->OnMessage(msg, wp, lp);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT CandyButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        machine_.enabled = IsWindowEnabled(hwnd_) != FALSE;
        return 0;  // the WM_SIZE that follows gives the window its shape
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc paint(hwnd_);
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        UniqueDc mem(CreateCompatibleDC(paint.get()));
        UniqueBitmap bmp(CreateCompatibleBitmap(paint.get(), rc.right, rc.bottom));
        if (!mem || !bmp) return 0;
        {
            SelectGuard keep(mem.get(), bmp.get());
            Render(mem.get());
            BitBlt(paint.get(), 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, SRCCOPY);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        Render(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_SIZE:
        RebuildShape();
        Apply(machine_.Shown(), {});
        return 0;
    case WM_SHOWWINDOW:
        if (wp) RebuildShape(), Apply(machine_.Shown(), {});
        break;
    case WM_ENABLE:
        if (!wp && GetCapture() == hwnd_) ReleaseCapture();
        Apply(machine_.SetEnabled(wp != 0), {});
        return 0;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        if (lp) Invalidate();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
    case WM_UPDATEUISTATE: {
        const LRESULT r = DefWindowProcW(hwnd_, msg, wp, lp);
        Invalidate();
        return r;
    }
    case WM_SETCURSOR:
        if (props_.displayHand && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const candy::Reaction r = machine_.MouseMove((wp & MK_LBUTTON) != 0, PtInRect(&rc, pt) != FALSE);
        if (r.trackLeave && g_track) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
            g_track(&tme);
            // A leave the system misses (Wine drops the request when the pointer has
            // already moved on) would keep the hover look: a watch catches it.
            SetTimer(hwnd_, kLeaveWatch, kLeaveWatchMs, nullptr);
        }
        Apply(r, MouseOf(wp, lp, HeldButtons(wp)));
        return 0;
    }
    case WM_TIMER:
        if (wp != kLeaveWatch) break;
        if (PointerOver(hwnd_) || GetCapture() == hwnd_) return 0;
        if (g_track) {  // the late leave of the system, if any, is not wanted any more
            TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, hwnd_, 0};
            g_track(&cancel);
        }
        [[fallthrough]];
    case WM_MOUSELEAVE:
        KillTimer(hwnd_, kLeaveWatch);
        Apply(machine_.MouseLeave(), {});
        return 0;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
        OnMouseButton(msg, wp, lp);
        return 0;
    case WM_CAPTURECHANGED:
        return 0;
    case WM_SETFOCUS:
        Apply(machine_.FocusGained(), {});
        Invalidate();  // the focus cue
        return 0;
    case WM_KILLFOCUS:
        enterDown_ = false;
        Apply(machine_.FocusLost(), {});
        Invalidate();
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_RETURN && !(lp & 0x40000000)) {  // not the key's repeats
            enterDown_ = true;
            Apply(machine_.EnterDown(), {1, 0, 0, 0});
        }
        return 0;
    case WM_KEYUP:
        if (wp == VK_RETURN && enterDown_) {
            enterDown_ = false;
            Apply(machine_.EnterUp(), {1, 0, 0, 0});
        }
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        // Enter reaches the focused button itself, which presses and releases like a click.
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_KEYUP) && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case BM_SETSTYLE:
        default_ = (wp & 0x0F) == BS_DEFPUSHBUTTON;
        if (lp) Invalidate();
        return 0;
    case BM_CLICK:
        Apply(machine_.Click(), {});
        return 0;
    case BM_GETCHECK:
        return props_.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        SetChecked(wp == BST_CHECKED);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void CandyButton::OnMouseButton(UINT msg, WPARAM wp, LPARAM lp) {
    const int button = (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ? 2
                       : (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP) ? 4 : 1;
    const CandyMouse m = MouseOf(wp, lp, button);
    if (!machine_.enabled) return;
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        SetCapture(hwnd_);  // the release decides, wherever it happens
        if (GetFocus() != hwnd_) SetFocus(hwnd_);
    }
    if (msg == WM_LBUTTONDBLCLK) {
        afterDblClick_ = true;
        Apply(machine_.DblClick(), m);
        return;
    }
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
        afterDblClick_ = false;
        Apply(machine_.ButtonDown(), m);
        return;
    }
    bool click = false;
    if (msg == WM_LBUTTONUP) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        click = !afterDblClick_ && PtInRect(&rc, POINT{m.x, m.y});
        afterDblClick_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
    }
    if (Apply(machine_.ButtonUp(), m) && click) Apply(machine_.Click(), m);
}

bool CandyButton::Apply(const candy::Reaction& r, const CandyMouse& m) {
    if (r.redraw) Redraw(*r.redraw);
    const HWND self = hwnd_;
    const HWND parent = GetParent(self);
    const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(self)) & 0xFFFF;
    for (candy::Event e : r.events) {
        switch (e) {
        case candy::Event::Click: SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(self)); break;
        case candy::Event::DblClick: SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(self)); break;
        case candy::Event::MouseEnter: if (listener_) listener_->MouseEnter(self); break;
        case candy::Event::MouseLeave: if (listener_) listener_->MouseLeave(self); break;
        case candy::Event::MouseMove: if (listener_) listener_->MouseMove(self, m); break;
        case candy::Event::MouseUp: if (listener_) listener_->MouseUp(self, m); break;
        case candy::Event::MouseDown: if (listener_) listener_->MouseDown(self, m); break;
        }
        if (!IsWindow(self)) return false;  // the handler closed the window (and this object)
    }
    return true;
}

void CandyButton::Redraw(Look look) {
    look_ = look;
    Invalidate();
    UpdateWindow(hwnd_);
}

void CandyButton::RebuildShape() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int r = candy::CornerRadius(props_.Style(), rc.right, rc.bottom);
    // A window region is costly to set (a round trip and a redraw): only a new shape is set.
    if (r <= 0) {
        if (shape_.r > 0) SetWindowRgn(hwnd_, nullptr, TRUE);
        shape_ = {rc.right, rc.bottom};
        return;
    }
    // The client area's place in the window, for a button with a frame of its own.
    POINT origin{0, 0};
    RECT wr{};
    ClientToScreen(hwnd_, &origin);
    GetWindowRect(hwnd_, &wr);
    const Shape shape{rc.right, rc.bottom, r, origin.x - wr.left, origin.y - wr.top};
    if (shape == shape_) return;
    HRGN rgn = ShapeRegion(props_.Style(), rc.right, rc.bottom, shape.dx, shape.dy);
    if (!rgn) return;
    if (SetWindowRgn(hwnd_, rgn, TRUE)) shape_ = shape;  // the window owns the region once set
    else DeleteObject(rgn);
}

HRGN CandyButton::ShapeRegion(int style, int w, int h, int x, int y) {
    const int r = candy::CornerRadius(style, w, h);
    if (r <= 0) return nullptr;
    const std::vector<candy::Span> spans = candy::ShapeSpans(w, h, r);
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + spans.size() * sizeof(RECT));
    auto* head = reinterpret_cast<RGNDATA*>(data.data());
    head->rdh = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(spans.size()), 0, {0, 0, 0, 0}};
    auto* rects = reinterpret_cast<RECT*>(head->Buffer);
    for (size_t i = 0; i < spans.size(); ++i)
        rects[i] = {spans[i].x0 + x, spans[i].y + y, spans[i].x1 + x, spans[i].y + 1 + y};
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), head);
}

void CandyButton::Render(HDC dc) {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int len = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    GetWindowTextW(hwnd_, text.data(), len + 1);
    text.resize(static_cast<size_t>(len));
    CandyFace face;
    face.props = props_;
    face.look = look_;
    face.enabled = IsWindowEnabled(hwnd_) != FALSE;
    face.focusCue = GetFocus() == hwnd_ && !(SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    face.caption = text;
    face.font = font_;
    face.bitmap = bitmap_;
    face.icon = icon_;
    face.dpi = WindowDpi(hwnd_);
    Paint(dc, rc.right, rc.bottom, face);
}

void CandyButton::Paint(HDC dc, int w, int h, const CandyFace& face) {
    const candy::Properties& props = face.props;
    candy::FaceInput in;
    in.style = props.Style();
    in.look = face.look;
    in.enabled = face.enabled;
    in.colors = {Solid(props.ColorButtonUp()), Solid(props.ColorButtonHover()), Solid(props.ColorButtonDown()),
                 Solid(props.ColorBright())};
    in.borderBrightness = props.BorderBrightness();
    in.w = w;
    in.h = h;
    const int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    for (const candy::Prim& p : candy::PaintFace(in)) {
        SetDCBrushColor(dc, p.color);
        switch (p.kind) {
        case candy::Prim::Kind::Fill: {
            const RECT r{p.x0, p.y0, p.x1, p.y1};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            break;
        }
        case candy::Prim::Kind::Line: {
            const RECT r{p.x0, p.y0, p.x1, p.y0 + 1};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            break;
        }
        case candy::Prim::Kind::Ellipse:
            // With no pen the filled inside ends a pixel short: the box is grown to match.
            Ellipse(dc, p.x0, p.y0, p.x1 + 1, p.y1 + 1);
            break;
        case candy::Prim::Kind::Pixel:
            SetPixelV(dc, p.x0, p.y0, p.color);
            break;
        }
    }
    const int r = candy::CornerRadius(in.style, w, h);

    // The caption and the picture.
    const int len = static_cast<int>(face.caption.size());
    SelectObject(dc, face.font ? static_cast<HGDIOBJ>(face.font) : GetStockObject(DEFAULT_GUI_FONT));
    RECT tr{0, 0, 0, 0};
    if (len) DrawTextW(dc, face.caption.data(), len, &tr, DT_CALCRECT | DT_SINGLELINE);
    const SIZE pic = PictureSize(face.bitmap, face.icon);
    candy::ContentInput ci;
    ci.w = w, ci.h = h, ci.r = r;
    ci.flatInset = ScaleForDpi(8, face.dpi);
    ci.alignment = props.PictureAlignment();
    ci.look = face.look;
    ci.enabled = face.enabled;
    ci.hasCaption = len > 0;
    ci.textW = tr.right, ci.textH = tr.bottom;
    ci.picture = face.bitmap ? candy::PictureKind::Bitmap : face.icon ? candy::PictureKind::Icon : candy::PictureKind::None;
    ci.picW = pic.cx, ci.picH = pic.cy;
    ci.foreColor = Solid(props.foreColor);
    ci.captionHighLite = props.captionHighLite;
    ci.captionHighLiteColor = Solid(props.captionHighLiteColor);
    ci.iconHighLite = props.iconHighLite;
    ci.iconHighLiteColor = Solid(props.iconHighLiteColor);
    const candy::ContentOps op = candy::LayoutContent(ci);
    if (op.picture) {
        UniqueBrush mono(op.monoBrush ? CreateSolidBrush(op.monoColor) : nullptr);
        const LPARAM data = face.bitmap ? reinterpret_cast<LPARAM>(face.bitmap) : reinterpret_cast<LPARAM>(face.icon);
        DrawStateW(dc, mono.get(), nullptr, data, 0, op.picX, op.picY, pic.cx, pic.cy, op.picFlags);
    }
    if (op.caption) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, op.textColor);
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(face.caption.data()), static_cast<WPARAM>(len),
                   op.textX, op.textY, tr.right, tr.bottom, op.textFlags);
    }
    if (face.focusCue) {
        const int inset = std::max(2, r / 2 + 1);
        RECT f{inset, inset, w - inset, h - inset};
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        if (f.right > f.left && f.bottom > f.top) DrawFocusRect(dc, &f);
    }
    RestoreDC(dc, saved);
}

// Properties.
int CandyButton::ColorScheme() const { return props_.ColorScheme(); }
void CandyButton::SetColorScheme(int scheme) { props_.SetColorScheme(scheme), Invalidate(); }
int CandyButton::BorderBrightness() const { return props_.BorderBrightness(); }
void CandyButton::SetBorderBrightness(int value) { props_.SetBorderBrightness(value), Invalidate(); }
COLORREF CandyButton::ColorBright() const { return props_.ColorBright(); }
void CandyButton::SetColorBright(COLORREF c) { props_.SetColorBright(c), Invalidate(); }
COLORREF CandyButton::ColorButtonUp() const { return props_.ColorButtonUp(); }
void CandyButton::SetColorButtonUp(COLORREF c) { props_.SetColorButtonUp(c), Invalidate(); }
COLORREF CandyButton::ColorButtonHover() const { return props_.ColorButtonHover(); }
void CandyButton::SetColorButtonHover(COLORREF c) { props_.SetColorButtonHover(c), Invalidate(); }
COLORREF CandyButton::ColorButtonDown() const { return props_.ColorButtonDown(); }
void CandyButton::SetColorButtonDown(COLORREF c) { props_.SetColorButtonDown(c), Invalidate(); }
COLORREF CandyButton::ForeColor() const { return props_.foreColor; }
void CandyButton::SetForeColor(COLORREF c) { props_.foreColor = c, Invalidate(); }
bool CandyButton::Checked() const { return props_.checked; }
void CandyButton::SetChecked(bool on) {
    props_.checked = on;
    Apply(machine_.SetChecked(on), {});
}
int CandyButton::Style() const { return props_.Style(); }
void CandyButton::SetStyle(int style) {
    if (props_.SetStyle(style)) RebuildShape(), Invalidate();
}
int CandyButton::PictureAlignment() const { return props_.PictureAlignment(); }
void CandyButton::SetPictureAlignment(int alignment) {
    if (props_.SetPictureAlignment(alignment)) Invalidate();
}
void CandyButton::SetPicture(HBITMAP bitmap) { bitmap_ = bitmap, icon_ = nullptr, Invalidate(); }
void CandyButton::SetPicture(HICON icon) { icon_ = icon, bitmap_ = nullptr, Invalidate(); }
bool CandyButton::DisplayHand() const { return props_.displayHand; }
void CandyButton::SetDisplayHand(bool on) { props_.displayHand = on; }
bool CandyButton::IconHighLite() const { return props_.iconHighLite; }
void CandyButton::SetIconHighLite(bool on) { props_.iconHighLite = on; }
COLORREF CandyButton::IconHighLiteColor() const { return props_.iconHighLiteColor; }
void CandyButton::SetIconHighLiteColor(COLORREF c) { props_.iconHighLiteColor = c; }
bool CandyButton::CaptionHighLite() const { return props_.captionHighLite; }
void CandyButton::SetCaptionHighLite(bool on) { props_.captionHighLite = on; }
COLORREF CandyButton::CaptionHighLiteColor() const { return props_.captionHighLiteColor; }
void CandyButton::SetCaptionHighLiteColor(COLORREF c) { props_.captionHighLiteColor = c; }
void CandyButton::SetListener(CandyListener* listener) { listener_ = listener; }

}  // namespace orv
