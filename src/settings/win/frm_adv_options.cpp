#include <initguid.h>  // the accessibility property identifiers, defined here

#include "settings/win/frm_adv_options.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "base/win/log.h"
#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"
#include "controls/win/dialog_chrome.h"
#include "settings/adv_options.h"

namespace orv {

namespace {
// The page under the controls; the strips, the close image and the footer wear the bar's
// colours (dialog_chrome).
constexpr COLORREF kPage = RGB(0xF6, 0xF8, 0xFB);
using chrome::kBorder, chrome::kStrip;

// Layout at 96 DPI: the desktop rows on the left, the snapshot and general options on the
// right, OK and Help in the footer.
constexpr int kWidth = 678, kMargin = 12, kGap = 10;
constexpr int kLeftWidth = 316, kRightLeft = kMargin + kLeftWidth + kGap, kRightWidth = kWidth - kRightLeft - kMargin;
constexpr int kTop = kStrip + 12, kFooterHeight = 46, kButtonWidth = 88, kButtonHeight = 26;

struct Place { int id, x, y, w, h; };
constexpr int kSnapPad = 6;                      // the snapshot row within its frame
constexpr int kIn = kRightLeft + kSnapPad + 12;  // in line with the snapshot row's boxes
constexpr int kField = kIn + 72;                 // the text boxes after their labels
constexpr int kSnapTop = kTop, kSnapFrameHeight = 248;
constexpr Place kPlaces[] = {
    {kAdvSnapSound, kIn, kSnapTop + 64, 140, 22},     {kAdvShowZoom, kIn + 146, kSnapTop + 64, 150, 22},
    {kAdvAutoSave, kIn, kSnapTop + 88, 140, 22},      {kAdvPreview, kIn + 146, kSnapTop + 88, 150, 22},
    {kAdvBmp, kIn, kSnapTop + 114, 70, 22},           {kAdvJpg, kIn + 76, kSnapTop + 114, 70, 22},
    {kAdvPathLabel, kIn, kSnapTop + 149, 72, 20},     {kAdvPath, kField, kSnapTop + 145, 142, 24},
    {kAdvBrowse, kField + 148, kSnapTop + 144, 72, 26},
    {kAdvPrefixLabel, kIn, kSnapTop + 183, 72, 20},   {kAdvPrefix, kField, kSnapTop + 179, 142, 24},
    {kAdvCount, kField + 148, kSnapTop + 179, 72, 24},
    {kAdvQualityLabel, kIn, kSnapTop + 217, 72, 20},  {kAdvQuality, kField, kSnapTop + 213, 52, 24},
    {kAdvSpinner, kField + 52, kSnapTop + 213, 18, 24},
    {kAdvGeneral, kRightLeft, kSnapTop + 256, kRightWidth, 50},
    {kAdvStartup, kIn, kSnapTop + 278, 92, 22},       {kAdvSharedIcons, kIn + 96, kSnapTop + 278, 106, 22},
    {kAdvTrayTips, kIn + 206, kSnapTop + 278, 88, 22},
};
constexpr int kContentBottom = kSnapTop + 306;
constexpr int kHeight = kContentBottom + 12 + kFooterHeight + kBorder;

// Control texts and tips; an ampersand marks the access key.
struct Made { const wchar_t* cls; int id; const wchar_t* text; DWORD style; const wchar_t* tip; };
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP, kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr Made kSnapControls[] = {
    {L"BUTTON", kAdvSnapSound, L"&Sound", kCheck, L"Play Camera Sound when Snap shot is taken"},
    {L"BUTTON", kAdvShowZoom, L"&Zoom Window", kCheck, L"Save each snapshot to save path"},
    {L"BUTTON", kAdvAutoSave, L"Auto Sa&ve", kCheck, L"Save each snapshot to save path"},
    {L"BUTTON", kAdvPreview, L"&Preview Image", kCheck, L"Save each snapshot to save path"},
    {L"BUTTON", kAdvBmp, L"&BMP", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, L"Save as Bitmap"},
    {L"BUTTON", kAdvJpg, L"&JPG", BS_AUTORADIOBUTTON, L"Save as Jpeg"},
    {L"STATIC", kAdvPathLabel, L"Sav&e Path", WS_GROUP, nullptr},
    {L"EDIT", kAdvPath, L"", kEdit, nullptr},
    {nullptr, kAdvBrowse, L"Bro&wse", 0, nullptr},
    {L"STATIC", kAdvPrefixLabel, L"File &Name", 0, nullptr},
    {L"EDIT", kAdvPrefix, L"", kEdit, nullptr},
    {L"EDIT", kAdvCount, L"", kEdit, L"File name Auto number"},
    {L"STATIC", kAdvQualityLabel, L"&Quality", 0, nullptr},
    {L"EDIT", kAdvQuality, L"", kEdit, L"Jpg Quality (70 normal - 85 better, but larger file size)"},
    {UPDOWN_CLASSW, kAdvSpinner, L"", UDS_ARROWKEYS | UDS_NOTHOUSANDS, nullptr},
    {L"BUTTON", kAdvGeneral, L"General Options", BS_GROUPBOX, nullptr},
    {L"BUTTON", kAdvStartup, L"&Autostart", kCheck | WS_GROUP, nullptr},
    {L"BUTTON", kAdvSharedIcons, L"Shared &Icons", kCheck, nullptr},
    {L"BUTTON", kAdvTrayTips, L"&Tray Tips", kCheck, nullptr},
};

HWND MakeChild(HWND parent, const Made& m) {
    if (!m.cls) return CandyButton::Create(parent, m.id, 0, 0, 0, 0, m.text);
    // Frames are drawn over the parent's background, which must not be clipped out for them.
    const std::wstring_view cls = m.cls;
    const DWORD edge = cls == L"EDIT" ? WS_EX_CLIENTEDGE
                       : cls == L"BUTTON" && (m.style & BS_TYPEMASK) == BS_GROUPBOX ? WS_EX_TRANSPARENT : 0;
    return CreateWindowExW(edge, m.cls, m.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | m.style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(m.id)), ModuleInstance(), nullptr);
}
}  // namespace

void FrmAdvOptions::Show(HWND owner, AdvOptionsContext& context) {
    // One at a time: asked for again (the tray menu while it is open), it comes forward.
    DWORD pid = 0;
    for (HWND open = nullptr; (open = FindWindowExW(nullptr, open, kAdvOptionsClass, nullptr));)
        if (GetWindowThreadProcessId(open, &pid) && pid == GetCurrentProcessId()) {
            SetForegroundWindow(open);
            return;
        }
    FrmAdvOptions dlg(context);
    if (!dlg.Build(owner)) {
        LogError("FrmAdvOptions: the dialog cannot be made");
        return;
    }
    chrome::RunModal(owner, [&] { return dlg.done_; }, [&](MSG& m) { return dlg.PreTranslate(m); }, [&] { dlg.Apply(); });
}

FrmAdvOptions::~FrmAdvOptions() {
    if (tips_) DestroyWindow(tips_);
    if (hwnd()) DestroyWindow(hwnd());
    accProps_.reset();
    if (SUCCEEDED(com_)) CoUninitialize();
}

std::wstring FrmAdvOptions::Text(int id) const {
    const HWND w = Item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool FrmAdvOptions::Build(HWND owner) {
    wchar_t caption[256] = {};
    if (ctx_.bar) GetWindowTextW(ctx_.bar, caption, 256);
    icon_ = chrome::WindowIcon(ctx_.bar);
    if (!RegisterClassOnce(kAdvOptionsClass) || !CandyButton::Register() ||
        !Window::Create(kAdvOptionsClass, caption, WS_POPUP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, owner) ||
        !MakeControls())
        return false;
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    page_.reset(CreateSolidBrush(kPage));
    NameForScreenReaders();

    // Centred on the monitor of the owner, or of the pointer.
    POINT cursor{};
    GetCursorPos(&cursor);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY) : MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY),
                    &mi);
    SetWindowPos(hwnd(), nullptr, (mi.rcWork.left + mi.rcWork.right) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    Layout(WindowDpi(hwnd()));
    Load();
    const int w = ScaleForDpi(kWidth, dpi_), h = ScaleForDpi(kHeight, dpi_);
    SetWindowPos(hwnd(), nullptr, (mi.rcWork.left + mi.rcWork.right - w) / 2, (mi.rcWork.top + mi.rcWork.bottom - h) / 2, 0,
                 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    // Focus cues only once the keyboard is used.
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd());
    SetFocus(GetNextDlgTabItem(hwnd(), nullptr, FALSE));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}

// In tab order: the desktop rows, the snapshot frame's row and options, the general
// options, OK and Help. Labels come right before their text boxes.
bool FrmAdvOptions::MakeControls() {
    const auto child = [this](const wchar_t* cls, int id, const wchar_t* text, DWORD style) {
        return MakeChild(hwnd(), {cls, id, text, style, nullptr});
    };
    bool made = child(L"STATIC", kAdvTitle, L"Settings", SS_OWNERDRAW) &&
                child(L"STATIC", kAdvClose, L"Close", SS_OWNERDRAW | SS_NOTIFY);
    made = made && (snapSetup_ = KHotKeySetup::Create(hwnd(), kAdvSnapSetup));
    for (int i = 0; i < 6; ++i) made = made && (deskSetup_[i] = KHotKeySetup::Create(hwnd(), kAdvDesk0 + i));
    if (made) SetWindowPos(snapSetup_->hwnd(), deskSetup_[5]->hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const Made& m : kSnapControls) made = made && MakeChild(hwnd(), m);
    made = made && child(nullptr, kAdvOk, L"&OK", 0) && child(nullptr, kAdvHelp, L"&Help", 0);
    if (!made) return false;
    SendMessageW(Item(kAdvOk), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    SetWindowPos(Item(kAdvGeneral), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(Item(kAdvSpinner), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(kAdvQuality)), 0);
    SendMessageW(Item(kAdvSpinner), UDM_SETRANGE32, kJpgQualityMin, kJpgQualityMax);  // the upper arrow raises it

    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, ModuleInstance(), nullptr);
    for (const Made& m : kSnapControls) {
        if (!m.tip || !tips_) continue;
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd();
        ti.uId = reinterpret_cast<UINT_PTR>(Item(m.id));
        ti.lpszText = const_cast<wchar_t*>(m.tip);
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return true;
}

// The counter and the spinner have no label right before them, from which screen readers
// would take their names: they get theirs through the accessibility annotations (where the
// system has them; without, they keep their tips).
void FrmAdvOptions::NameForScreenReaders() {
    com_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* props = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&props)))) {
        Log("FrmAdvOptions: no accessibility annotations");
        return;
    }
    accProps_.reset(props);
    for (const auto& [id, name] : {std::pair{kAdvCount, L"File name Auto number"}, {kAdvSpinner, L"Quality"}})
        accProps_->SetHwndPropStr(Item(id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name);
}

void FrmAdvOptions::Load() {
    for (int i = 0; i < 6; ++i)
        if (ctx_.hotkeys[i + 1]) deskSetup_[i]->SetHKControls(*ctx_.hotkeys[i + 1]);
    if (ctx_.hotkeys[0]) snapSetup_->SetHKControls(*ctx_.hotkeys[0]);
    snapSetup_->SetCaption(L"      Snap Shot");
    snapSetup_->SetBackColor(kPage);
    ShowWindow(snapSetup_->hwnd(), ctx_.hotkeys[0] ? SW_SHOW : SW_HIDE);
    for (int i = 0; i < 6; ++i) {
        deskSetup_[i]->SetCaption(L"      Desktop " + std::to_wstring(i + 1));
        deskSetup_[i]->SetBackColor(kPage);
        ShowWindow(deskSetup_[i]->hwnd(), ctx_.hotkeys[i + 1] ? SW_SHOW : SW_HIDE);
    }
    const AdvOptionsValues v = LoadAdvOptions(ctx_.settings);
    Check(kAdvSharedIcons, v.sharedIcons);
    Check(kAdvStartup, v.startUp);
    Check(kAdvTrayTips, v.trayTips);
    Check(kAdvSnapSound, v.snapSound);
    Check(kAdvAutoSave, v.snapAutoSave);
    Check(kAdvShowZoom, v.showZoom);
    Check(kAdvPreview, v.snapPreview);
    Check(v.jpg ? kAdvJpg : kAdvBmp, true);
    SetWindowTextW(Item(kAdvPath), Widen(v.savePath).c_str());
    SetWindowTextW(Item(kAdvPrefix), Widen(v.filePrefix).c_str());
    SetWindowTextW(Item(kAdvCount), Widen(v.count).c_str());
    SetWindowTextW(Item(kAdvQuality), Widen(v.quality).c_str());  // the quality check runs
}

void FrmAdvOptions::Layout(UINT dpi) {
    dpi_ = dpi;
    const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
    // The old fonts go only once no control uses them any more.
    UniqueFont old = std::move(font_), oldTitle = std::move(titleFont_);
    font_ = MessageFontForDpi(dpi);
    titleFont_ = MessageFontForDpi(dpi, 110, FW_BOLD);
    for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    for (const Place& p : kPlaces) MoveWindow(Item(p.id), s(p.x), s(p.y), s(p.w), s(p.h), FALSE);
    const RECT title = chrome::TitleRect(s(kWidth), dpi), close = chrome::CloseRect(s(kWidth), dpi);
    MoveWindow(Item(kAdvTitle), title.left, title.top, title.right - title.left, title.bottom - title.top, FALSE);
    MoveWindow(Item(kAdvClose), close.left, close.top, close.right - close.left, close.bottom - close.top, FALSE);
    for (int i = 0; i < 6; ++i)
        deskSetup_[i]->Layout(s(kMargin), s(kTop) + i * (KHotKeySetup::Height(dpi) + s(2)), s(kLeftWidth), dpi, font_.get());
    snapSetup_->Layout(s(kRightLeft + kSnapPad), s(kSnapTop + 8), s(kRightWidth - 2 * kSnapPad), dpi, font_.get());
    footerTop_ = s(kContentBottom + 12);
    const int buttonTop = footerTop_ + (s(kFooterHeight) - s(kButtonHeight)) / 2;
    MoveWindow(Item(kAdvHelp), s(kWidth - kMargin - kButtonWidth), buttonTop, s(kButtonWidth), s(kButtonHeight), FALSE);
    MoveWindow(Item(kAdvOk), s(kWidth - kMargin - 2 * kButtonWidth - 10), buttonTop, s(kButtonWidth), s(kButtonHeight), FALSE);
    SetWindowPos(hwnd(), nullptr, 0, 0, s(kWidth), s(kHeight), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Every way of closing ends here, once: the rows into the hotkey controls, then the values.
void FrmAdvOptions::Apply() {
    if (done_) return;
    done_ = true;
    if (ctx_.hotkeys[0]) snapSetup_->SaveHKControls(*ctx_.hotkeys[0]);
    for (int i = 0; i < 6; ++i)
        if (ctx_.hotkeys[i + 1]) deskSetup_[i]->SaveHKControls(*ctx_.hotkeys[i + 1]);
    AdvOptionsValues v;
    v.sharedIcons = Checked(kAdvSharedIcons);
    v.startUp = Checked(kAdvStartup);
    v.trayTips = Checked(kAdvTrayTips);
    v.snapSound = Checked(kAdvSnapSound);
    v.snapAutoSave = Checked(kAdvAutoSave);
    v.showZoom = Checked(kAdvShowZoom);
    v.jpg = Checked(kAdvJpg);
    v.savePath = Narrow(Text(kAdvPath));
    v.filePrefix = Narrow(Text(kAdvPrefix));
    v.count = Narrow(Text(kAdvCount));
    v.snapPreview = Checked(kAdvPreview);
    v.quality = Narrow(Text(kAdvQuality));
    ApplyAdvOptions(v, ctx_.settings, ctx_.store, ctx_.setAutoStart);
    ShowWindow(hwnd(), SW_HIDE);
}

void FrmAdvOptions::Help() {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", ctx_.helpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) Log("FrmAdvOptions: the manual did not open (" + std::to_string(result) + ")");
}

void FrmAdvOptions::Browse() {
    if (!ctx_.browseForFolder) return;
    const std::wstring folder = ctx_.browseForFolder(hwnd(), L"Select folder", Text(kAdvPath));
    if (!folder.empty()) SetWindowTextW(Item(kAdvPath), folder.c_str());
}

// The field holds 10 to 100 once the user stops typing; the spinner follows it.
void FrmAdvOptions::QualityChanged() {
    const QualityCheck c = CheckQuality(Narrow(Text(kAdvQuality)));
    if (c.replacement) {
        const HWND edit = Item(kAdvQuality);
        SetWindowTextW(edit, Widen(*c.replacement).c_str());
        SendMessageW(edit, EM_SETSEL, c.replacement->size(), c.replacement->size());  // typing goes on at the end
    }
    SendMessageW(Item(kAdvSpinner), UDM_SETPOS32, 0, c.spinner);
}

// The dialog's keyboard: Escape applies when released (unless it closed a dropped key
// list), the rest is the dialog manager's (Tab, access keys, Enter for OK).
bool FrmAdvOptions::PreTranslate(MSG& m) {
    const bool ours = m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd);
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && ours) {
        const HWND focus = GetFocus();
        const HWND list = GetAncestor(focus, GA_PARENT);
        const bool dropped = SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) || SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0);
        escapeDown_ = !dropped;
        if (!dropped) return true;
    }
    if (m.message == WM_KEYUP && m.wParam == VK_ESCAPE && escapeDown_) {
        escapeDown_ = false;
        Apply();
        return true;
    }
    return ours && IsDialogMessageW(hwnd(), &m);
}

void FrmAdvOptions::Paint(HDC dc) {
    RECT all;
    GetClientRect(hwnd(), &all);
    chrome::Fill(dc, {0, 0, all.right, footerTop_}, kPage);
    chrome::Fill(dc, {0, footerTop_, all.right, all.bottom}, chrome::kFooter);
    chrome::Fill(dc, {0, footerTop_, all.right, footerTop_ + 1}, chrome::kRule);
    chrome::PaintStrips(dc, all, dpi_);
    // FrameSnap: the snapshot options' frame, around a row that draws a frame of its own.
    RECT snap{ScaleForDpi(kRightLeft, dpi_), ScaleForDpi(kSnapTop, dpi_), ScaleForDpi(kRightLeft + kRightWidth, dpi_),
              ScaleForDpi(kSnapTop + kSnapFrameHeight, dpi_)};
    DrawEdge(dc, &snap, EDGE_ETCHED, BF_RECT);
}

LRESULT FrmAdvOptions::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const chrome::FrameParts frame{kAdvTitle, kAdvClose, kAdvOk, L"Settings", icon_, titleFont_.get(), page_.get(), kPage, dpi_};
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
        switch (LOWORD(wp)) {
        case kAdvOk: Apply(); break;
        case kAdvHelp: Help(); break;
        case kAdvBrowse: Browse(); break;
        case kAdvClose:
            if (HIWORD(wp) == STN_CLICKED) Apply();
            break;
        case kAdvQuality:
            if (HIWORD(wp) == EN_CHANGE) QualityChanged();
            break;
        default: break;
        }
        return 0;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lp) == Item(kAdvSpinner) && LOWORD(wp) == SB_THUMBPOSITION) {
            const auto pos = static_cast<int>(SendMessageW(Item(kAdvSpinner), UDM_GETPOS32, 0, 0));
            SetWindowTextW(Item(kAdvQuality), std::to_wstring(pos).c_str());
        }
        return 0;
    case WM_NEXTDLGCTL: {  // the dialog manager's focus moves (access keys of labels)
        const HWND next = lp ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd(), GetFocus(), wp != 0);
        if (next) SetFocus(next);
        if (next && (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) SendMessageW(next, EM_SETSEL, 0, -1);
        return 0;
    }
    case WM_ACTIVATE:
        chrome::KeepFocus(hwnd(), wp, lastFocus_);
        return 0;
    case WM_DPICHANGED:
        chrome::FollowDpi(hwnd(), wp, lp, [this](UINT dpi) { Layout(dpi); });
        return 0;
    case WM_CLOSE:
        Apply();
        return 0;
    case WM_DESTROY:
        if (accProps_) {
            MSAAPROPID name = PROPID_ACC_NAME;
            for (const int id : {kAdvCount, kAdvSpinner})
                accProps_->ClearHwndProps(Item(id), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
        }
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

}  // namespace orv
