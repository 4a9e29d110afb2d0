#include "controls/win/frm_about.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>

#include "base/win/log.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"
#include "controls/win/dialog_chrome.h"

#include "../../../res/resource.h"

namespace orv {

namespace {
constexpr wchar_t kAboutClass[] = L"OrvantaAbout";
constexpr wchar_t kProductName[] = L"Orvanta Solvane";
constexpr wchar_t kLinkCaption[] = L"Visit the Quillon web site";
constexpr UINT_PTR kPointerTimer = 1;
constexpr UINT kPointerInterval = 100;  // ms
constexpr COLORREF kPage = RGB(255, 255, 255);
constexpr COLORREF kNameInk = RGB(27, 38, 74);
constexpr COLORREF kQuietInk = RGB(84, 92, 104);
constexpr COLORREF kLinkInk = RGB(0, 102, 204);
constexpr COLORREF kLinkHotInk = RGB(0, 70, 150);
constexpr COLORREF kLinkHotBack = RGB(232, 242, 252);
constexpr COLORREF kLinkHotEdge = RGB(176, 208, 238);

// Layout at 96 DPI: the client area and where each control stands.
constexpr int kClientWidth = 384, kClientHeight = 204, kFooterTop = 160;
struct Place { int id, x, y, w, h; };
constexpr Place kPlaces[] = {
    {kAboutAppName, 72, 16, 296, 30},     {kAboutVersion, 74, 50, 294, 18},
    {kAboutCopyR, 74, 70, 294, 18},       {kAboutUrlPicture, 70, 98, 230, 28},
    {kAboutUrlText, 74, 128, 294, 18},    {kAboutClose, 384 - 20 - 92, 170, 92, 26},
};
constexpr int kIconX = 20, kIconY = 18, kIconSize = 40;

std::unique_ptr<FrmAbout>& Instance() {
    static std::unique_ptr<FrmAbout> about;
    return about;
}

// The Close button, in the look of every button of ours.
HWND MakeCloseButton(HWND parent, int id, const std::wstring& caption) {
    return CandyButton::Create(parent, id, 0, 0, 0, 0, caption);
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
    SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The link picture: a small globe and the caption; the highlighted one on a light plate
// with the caption underlined.
UniqueBitmap DrawLinkPicture(int w, int h, UINT dpi, HFONT font, bool active) {
    UniqueWindowDc screen = GetWindowDc(nullptr);
    if (!screen) return {};
    UniqueBitmap bmp(CreateCompatibleBitmap(screen.get().dc, w, h));
    UniqueDc dc(CreateCompatibleDC(screen.get().dc));
    if (!bmp || !dc) return {};
    SelectGuard sel(dc.get(), bmp.get());
    const RECT all{0, 0, w, h};
    Fill(dc.get(), all, kPage);
    const COLORREF ink = active ? kLinkHotInk : kLinkInk;
    if (active) {
        UniquePen edge(CreatePen(PS_SOLID, 1, kLinkHotEdge));
        SetDCBrushColor(dc.get(), kLinkHotBack);
        SelectGuard p(dc.get(), edge.get());
        SelectGuard b(dc.get(), GetStockObject(DC_BRUSH));
        const int round = ScaleForDpi(6, dpi);
        RoundRect(dc.get(), 0, 0, w, h, round, round);
    }
    // The globe: a circle, its equator and one meridian.
    const int d = h - 2 * ScaleForDpi(6, dpi), gx = ScaleForDpi(6, dpi), gy = (h - d) / 2;
    UniquePen pen(CreatePen(PS_SOLID, std::max(1, ScaleForDpi(1, dpi)), ink));
    SelectGuard p(dc.get(), pen.get());
    SelectGuard b(dc.get(), GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), gx, gy, gx + d, gy + d);
    Ellipse(dc.get(), gx + d / 4, gy, gx + d - d / 4, gy + d);
    MoveToEx(dc.get(), gx, gy + d / 2, nullptr);
    LineTo(dc.get(), gx + d, gy + d / 2);
    // The caption.
    SelectGuard f(dc.get(), font);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), ink);
    SIZE t{};
    GetTextExtentPoint32W(dc.get(), kLinkCaption, static_cast<int>(wcslen(kLinkCaption)), &t);
    const int tx = gx + d + ScaleForDpi(8, dpi), ty = (h - t.cy) / 2;
    TextOutW(dc.get(), tx, ty, kLinkCaption, static_cast<int>(wcslen(kLinkCaption)));
    if (active) {
        const RECT underline{tx, ty + t.cy - 1, tx + t.cx, ty + t.cy};
        Fill(dc.get(), underline, ink);
    }
    return bmp;
}
}  // namespace

HWND FrmAbout::Show(HICON icon, HWND owner) {
    auto& about = Instance();
    if (about && about->hwnd()) {
        ShowWindow(about->hwnd(), SW_SHOWNORMAL);
        SetForegroundWindow(about->hwnd());
        return about->hwnd();
    }
    about.reset(new FrmAbout());
    if (!about->Build(icon, owner)) {
        about.reset();
        return nullptr;
    }
    return about->hwnd();
}

void FrmAbout::Close() { Instance().reset(); }

HWND FrmAbout::Current() {
    const auto& about = Instance();
    return about ? about->hwnd() : nullptr;
}

// The window goes first, while the pictures and fonts it uses still exist.
FrmAbout::~FrmAbout() {
    if (hwnd()) DestroyWindow(hwnd());
    if (sizedIcon_) DestroyIcon(sizedIcon_);
}

std::wstring FrmAbout::VersionText() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
    std::wstring numbers = L"0.0.0";
    std::unique_ptr<char[]> block(size ? new char[size] : nullptr);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (block && GetFileVersionInfoW(exe, 0, size, block.get()) &&
        VerQueryValueW(block.get(), L"\\", reinterpret_cast<void**>(&info), &len) && info && len >= sizeof *info) {
        // Major, minor and revision: the first three of the file version's four numbers.
        numbers = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
                  L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
    } else {
        LogError("FrmAbout: the version resource");
    }
    return L"Version: " + numbers;
}

bool FrmAbout::Build(HICON icon, HWND owner) {
    icon_ = icon;
    linkAddress_ = kMakerWebAddress;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!RegisterClassOnce(kAboutClass, icon) ||
        !Window::Create(kAboutClass, kProductName, style, WS_EX_DLGMODALFRAME, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                        owner)) {
        LogError("FrmAbout: CreateWindowExW");
        return false;
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    const auto label = [this](int id, const wchar_t* text, DWORD extra = 0) {
        return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | extra, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    };
    label(kAboutAppName, kProductName);
    label(kAboutVersion, VersionText().c_str());
    label(kAboutCopyR, kAboutCopyright);
    label(kAboutUrlText, linkAddress_.c_str());
    picUrl_ = label(kAboutUrlPicture, L"", SS_NOTIFY);
    const HWND close = MakeCloseButton(hwnd(), kAboutClose, L"&Close");
    if (!picUrl_ || !close) return false;
    SetWindowSubclass(picUrl_, &FrmAbout::LinkProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(close, &FrmAbout::KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));

    // Centred on the monitor under the pointer.
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &mi);
    SetWindowPos(hwnd(), nullptr, (mi.rcWork.left + mi.rcWork.right) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    Layout(WindowDpi(hwnd()));
    RECT r;
    GetWindowRect(hwnd(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd(), nullptr, (mi.rcWork.left + mi.rcWork.right - w) / 2, (mi.rcWork.top + mi.rcWork.bottom - h) / 2,
                 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    SetFocus(close);
    return true;
}

void FrmAbout::Layout(UINT dpi) {
    dpi_ = dpi;
    nameFont_ = MessageFontForDpi(dpi, 170, FW_SEMIBOLD);
    textFont_ = MessageFontForDpi(dpi);
    smallFont_ = MessageFontForDpi(dpi, 92);
    for (const Place& p : kPlaces) {
        const HWND child = GetDlgItem(hwnd(), p.id);
        const HFONT font = p.id == kAboutAppName ? nameFont_.get() : p.id == kAboutUrlText ? smallFont_.get() : textFont_.get();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        MoveWindow(child, ScaleForDpi(p.x, dpi), ScaleForDpi(p.y, dpi), ScaleForDpi(p.w, dpi), ScaleForDpi(p.h, dpi), TRUE);
    }
    footerTop_ = ScaleForDpi(kFooterTop, dpi);
    // The icon's own image of that size is crisper than the given one stretched.
    const int iconSize = ScaleForDpi(kIconSize, dpi);
    if (sizedIcon_) DestroyIcon(sizedIcon_);
    sizedIcon_ = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, iconSize, iconSize, 0));
    MakeLinkPictures(dpi);
    RECT r{0, 0, ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)));
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void FrmAbout::MakeLinkPictures(UINT dpi) {
    // As wide as its content: the globe, a gap, the caption and a margin.
    RECT r;
    GetClientRect(picUrl_, &r);
    SIZE t{};
    if (UniqueWindowDc dc = GetWindowDc(picUrl_)) {
        SelectGuard f(dc.get().dc, textFont_.get());
        GetTextExtentPoint32W(dc.get().dc, kLinkCaption, static_cast<int>(wcslen(kLinkCaption)), &t);
    }
    const int w = std::min<int>(r.bottom + ScaleForDpi(10, dpi) + t.cx, ScaleForDpi(kClientWidth - 90, dpi));
    SetWindowPos(picUrl_, nullptr, 0, 0, w, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    picUrlNormal_ = DrawLinkPicture(w, r.bottom, dpi, textFont_.get(), false);
    picUrlActive_ = DrawLinkPicture(w, r.bottom, dpi, textFont_.get(), true);
    InvalidateRect(picUrl_, nullptr, FALSE);
}

void FrmAbout::SetLinkHighlight(bool on) {
    if (urlActive_ == on) return;
    urlActive_ = on;
    InvalidateRect(picUrl_, nullptr, FALSE);
    if (on) SetTimer(hwnd(), kPointerTimer, kPointerInterval, nullptr);
    else KillTimer(hwnd(), kPointerTimer);
}

void FrmAbout::OpenLink() {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", linkAddress_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) Log("FrmAbout: the web page did not open (" + std::to_string(result) + ")");
}

void FrmAbout::Paint(HDC dc) {
    RECT all;
    GetClientRect(hwnd(), &all);
    RECT page = all, footer = all;
    page.bottom = footer.top = footerTop_;
    Fill(dc, page, kPage);
    Fill(dc, footer, GetSysColor(COLOR_BTNFACE));
    const RECT line{0, footerTop_, all.right, footerTop_ + 1};
    Fill(dc, line, RGB(218, 222, 228));
    const int size = ScaleForDpi(kIconSize, dpi_);
    if (const HICON icon = sizedIcon_ ? sizedIcon_ : icon_)
        DrawIconEx(dc, ScaleForDpi(kIconX, dpi_), ScaleForDpi(kIconY, dpi_), icon, size, size, 0, nullptr, DI_NORMAL);
}

LRESULT FrmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wp));
        return 1;
    case WM_PAINT: {
        PaintDc pd(hwnd());
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wp);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
        SetBkColor(dc, kPage);
        SetTextColor(dc, id == kAboutAppName ? kNameInk : kQuietInk);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_COMMAND:
        if (LOWORD(wp) == kAboutClose && HIWORD(wp) == BN_CLICKED) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        if (LOWORD(wp) == kAboutUrlPicture && HIWORD(wp) == STN_CLICKED) OpenLink();
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE || wp == VK_RETURN) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) SetFocus(GetDlgItem(hwnd(), kAboutClose));
        return 0;
    case WM_TIMER:
        if (wp == kPointerTimer) {
            POINT pt{};
            GetCursorPos(&pt);
            ScreenToClient(picUrl_, &pt);
            RECT r;
            GetClientRect(picUrl_, &r);
            if (pt.x < 0 || pt.y < 0 || pt.x > r.right || pt.y > r.bottom) SetLinkHighlight(false);
        }
        return 0;
    case WM_DPICHANGED:
        chrome::FollowDpi(hwnd(), wp, lp, [this](UINT dpi) { Layout(dpi); });
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kPointerTimer);
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

// PicUrl: paints the picture its tag names, lights up under the pointer, opens the link.
LRESULT CALLBACK FrmAbout::LinkProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) noexcept {
    auto* self = reinterpret_cast<FrmAbout*>(ref);
    switch (msg) {
    case WM_PAINT: {
        PaintDc pd(w);
        const HBITMAP pic = self->urlActive_ ? self->picUrlActive_.get() : self->picUrlNormal_.get();
        UniqueDc mem(CreateCompatibleDC(pd.get()));
        if (pic && mem) {
            SelectGuard sel(mem.get(), pic);
            RECT r;
            GetClientRect(w, &r);
            BitBlt(pd.get(), 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        self->SetLinkHighlight(true);
        break;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
    case WM_NCDESTROY:
        RemoveWindowSubclass(w, &FrmAbout::LinkProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

// The Close button closes the box on Escape, Enter and Alt+C (no dialog manager here).
LRESULT CALLBACK FrmAbout::KeyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) noexcept {
    auto* self = reinterpret_cast<FrmAbout*>(ref);
    switch (msg) {
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE || wp == VK_RETURN) {
            PostMessageW(self->hwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (wp == L'c' || wp == L'C') {
            PostMessageW(self->hwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(w, &FrmAbout::KeyProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace orv
