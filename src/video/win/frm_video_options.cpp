#include "video/win/frm_video_options.h"

#include <string>

#include "base/win/log.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"
#include "controls/win/dialog_chrome.h"

namespace orv {

namespace {
constexpr COLORREF kPage = RGB(244, 244, 248);  // the rows' BackColor, and the page under them
constexpr wchar_t kTitle[] = L"Video Settings";

// Layout at 96 DPI: desktops 1 to 3 in the left column, 4 to 6 in the right, OK in the footer.
constexpr int kMargin = 12, kGap = 10, kColumn = 320, kRowGap = 4, kHead = 10;
constexpr int kWidth = 2 * kMargin + 2 * kColumn + kGap;
constexpr int kTop = chrome::kStrip + kHead + 6, kFooterHeight = 46, kButtonWidth = 88, kButtonHeight = 26;
}  // namespace

VideoDialogResult FrmVideoOptions::Show(HWND owner, VideoOptionsContext& context) {
    // One at a time: asked for again (the tray menu while it is open), it comes forward.
    DWORD pid = 0;
    for (HWND open = nullptr; (open = FindWindowExW(nullptr, open, kVideoOptionsClass, nullptr));)
        if (GetWindowThreadProcessId(open, &pid) && pid == GetCurrentProcessId()) {
            SetForegroundWindow(open);
            return {};
        }
    VideoDialogResult result;
    {
        FrmVideoOptions dlg(context);
        if (!dlg.Build(owner)) {
            LogError("FrmVideoOptions: the dialog cannot be made");
            return {};
        }
        chrome::RunModal(owner, [&] { return dlg.done_; }, [&](MSG& m) { return dlg.PreTranslate(m); }, [] {});
        result = dlg.result_;
    }
    if (result.AppliesCurrentDesktop() && context.applyCurrentDesktopVideo) context.applyCurrentDesktopVideo();
    return result;
}

FrmVideoOptions::~FrmVideoOptions() {
    if (hwnd()) DestroyWindow(hwnd());
}

bool FrmVideoOptions::Build(HWND owner) {
    wchar_t caption[256] = {};
    if (ctx_.bar) GetWindowTextW(ctx_.bar, caption, 256);
    icon_ = chrome::WindowIcon(ctx_.bar);
    if (!RegisterClassOnce(kVideoOptionsClass) || !CandyButton::Register() ||
        !Window::Create(kVideoOptionsClass, caption, WS_POPUP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, owner))
        return false;
    // The title lets clicks through to the strip under it, which drags; the close image takes them.
    const auto child = [this](const wchar_t* text, int id, DWORD notify) {
        return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | notify, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    };
    if (!child(kTitle, kVidTitle, 0) || !child(L"Close", kVidClose, SS_NOTIFY)) return false;
    for (int i = 0; i < kVideoDesks; ++i) {
        if (!(rows_[i] = CtlVideoOption::Create(hwnd(), kVidRow0 + i))) return false;
        rows_[i]->SetCaption(L"      Orvanta " + std::to_wstring(i + 1));
        rows_[i]->SetBackColor(kPage);
        rows_[i]->Init(i + 1);
        rows_[i]->ReadSetting(ctx_.options);
    }
    if (!CandyButton::Create(hwnd(), kVidOk, 0, 0, 0, 0, L"OK")) return false;
    SetWindowLongPtrW(Item(kVidOk), GWL_STYLE, GetWindowLongPtrW(Item(kVidOk), GWL_STYLE) | WS_TABSTOP);
    SendMessageW(Item(kVidOk), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    page_.reset(CreateSolidBrush(kPage));

    // Centred on the monitor of the owner, or of the pointer; laid out for that monitor's DPI.
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY) : MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY),
                    &mi);
    const RECT& work = mi.rcWork;
    SetWindowPos(hwnd(), nullptr, (work.left + work.right) / 2, (work.top + work.bottom) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    Layout(WindowDpi(hwnd()));
    RECT r;
    GetWindowRect(hwnd(), &r);
    SetWindowPos(hwnd(), nullptr, (work.left + work.right - (r.right - r.left)) / 2,
                 (work.top + work.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    // Focus cues only once the keyboard is used.
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd());
    SetFocus(GetNextDlgTabItem(hwnd(), nullptr, FALSE));
    return true;
}

void FrmVideoOptions::Layout(UINT dpi) {
    dpi_ = dpi;
    const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
    // The old fonts go only once no control uses them any more.
    UniqueFont old = std::move(font_), oldTitle = std::move(titleFont_);
    font_ = MessageFontForDpi(dpi);
    titleFont_ = MessageFontForDpi(dpi, 110, FW_BOLD);
    for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    const int rowHeight = CtlVideoOption::Height(dpi);
    for (int i = 0; i < kVideoDesks; ++i)
        rows_[i]->Layout(s(kMargin + (i / 3) * (kColumn + kGap)), s(kTop) + (i % 3) * (rowHeight + s(kRowGap)), s(kColumn), dpi,
                         font_.get());
    footerTop_ = s(kTop) + 3 * rowHeight + 2 * s(kRowGap) + s(kMargin);
    const int width = s(kWidth), height = footerTop_ + s(kFooterHeight) + s(chrome::kBorder);
    const RECT title = chrome::TitleRect(width, dpi), close = chrome::CloseRect(width, dpi);
    MoveWindow(Item(kVidTitle), title.left, title.top, title.right - title.left, title.bottom - title.top, FALSE);
    MoveWindow(Item(kVidClose), close.left, close.top, close.right - close.left, close.bottom - close.top, FALSE);
    MoveWindow(Item(kVidOk), width - s(kMargin + kButtonWidth), footerTop_ + (s(kFooterHeight) - s(kButtonHeight)) / 2,
               s(kButtonWidth), s(kButtonHeight), FALSE);
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// OK: every row into its record; whether the current desktop's changed decides, once the
// dialog is gone, whether its video is applied again.
void FrmVideoOptions::Ok() {
    if (done_) return;
    VideoOptionRows rows;
    for (int i = 0; i < kVideoDesks; ++i) rows[i] = rows_[i]->Row();
    result_ = AcceptVideoOptions(ctx_.options, rows, ctx_.currentDesk());
    done_ = true;
}

// The dialog's keyboard: Escape closes when released; the rest is the dialog manager's
// (Tab, Space on the boxes, Enter for OK).
bool FrmVideoOptions::PreTranslate(MSG& m) {
    const bool ours = m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd);
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && ours) {
        escapeDown_ = true;
        return true;
    }
    if (m.message == WM_KEYUP && m.wParam == VK_ESCAPE && escapeDown_) {
        escapeDown_ = false;
        Close();
        return true;
    }
    return ours && IsDialogMessageW(hwnd(), &m);
}

void FrmVideoOptions::Paint(HDC dc) {
    RECT all;
    GetClientRect(hwnd(), &all);
    chrome::Fill(dc, {0, 0, all.right, footerTop_}, kPage);
    // ImageHead: the tray menu's picture as a band under the title strip.
    if (ctx_.header) {
        BITMAP bm{};
        GetObjectW(ctx_.header, sizeof bm, &bm);
        UniqueDc mem(CreateCompatibleDC(dc));
        SelectGuard sel(mem.get(), ctx_.header);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, ScaleForDpi(chrome::kStrip, dpi_), all.right, ScaleForDpi(kHead, dpi_), mem.get(), 0, 0, bm.bmWidth,
                   bm.bmHeight, SRCCOPY);
    }
    chrome::Fill(dc, {0, footerTop_, all.right, all.bottom}, chrome::kFooter);
    chrome::Fill(dc, {0, footerTop_, all.right, footerTop_ + 1}, chrome::kRule);
    chrome::PaintStrips(dc, all, dpi_);
}

LRESULT FrmVideoOptions::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const chrome::FrameParts frame{kVidTitle, kVidClose, kVidOk, kTitle, icon_, titleFont_.get(), page_.get(), kPage, dpi_};
    if (LRESULT result = 0; chrome::HandleFrame(hwnd(), frame, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wp));
        return 1;
    case WM_PAINT: {
        PaintDc pd(hwnd());
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == kVidOk && HIWORD(wp) == BN_CLICKED) Ok();
        if (LOWORD(wp) == kVidClose && HIWORD(wp) == STN_CLICKED) Close();
        return 0;
    case WM_ACTIVATE:
        chrome::KeepFocus(hwnd(), wp, lastFocus_);
        return 0;
    case WM_DPICHANGED:
        chrome::FollowDpi(hwnd(), wp, lp, [this](UINT dpi) { Layout(dpi); });
        return 0;
    case WM_CLOSE:  // any other way of closing writes nothing, as the close image
        Close();
        return 0;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

}  // namespace orv
