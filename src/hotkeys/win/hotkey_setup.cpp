#include "hotkeys/win/hotkey_setup.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "settings/adv_options.h"

namespace orv {

namespace {
constexpr wchar_t kSetupClass[] = L"KHotKeySetup";
constexpr COLORREF kTakenInk = RGB(0xC4, 0x1E, 0x1E);
constexpr int kBoxes[] = {kSetupCtrl, kSetupShift, kSetupAlt, kSetupWin};

// Places at 96 DPI within the row: the boxes' widths and the key list's.
constexpr int kRowHeight = 50, kFrameHeight = 46, kCaptionHeight = 16, kOnLeft = 9, kOnSize = 14;
constexpr int kInnerLeft = 12, kInnerTop = 19, kBoxHeight = 22, kListWidth = 68, kListDrop = 240;
constexpr int kBoxGlyph = 21, kBoxGap = 4;  // the check glyph with its gap, the space between boxes

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    // The frame is drawn over the row's background, which must not be clipped out for it.
    const DWORD ex = std::wstring_view(cls) == L"BUTTON" && (style & BS_TYPEMASK) == BS_GROUPBOX ? WS_EX_TRANSPARENT : 0;
    return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
}
}  // namespace

std::unique_ptr<KHotKeySetup> KHotKeySetup::Create(HWND parent, int id) {
    std::unique_ptr<KHotKeySetup> row(new KHotKeySetup());
    if (!RegisterClassOnce(kSetupClass) ||
        !row->Window::Create(kSetupClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
                             parent, id))
        return nullptr;
    const HWND w = row->hwnd();
    // Tab order: the on box, the modifiers, the key list; the frame lies under them all.
    const HWND frame = Child(w, L"BUTTON", L"      ", BS_GROUPBOX, kSetupFrame);
    const bool made = frame && Child(w, L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kSetupOn) &&
                      Child(w, L"BUTTON", L"Control", BS_AUTOCHECKBOX | WS_TABSTOP, kSetupCtrl) &&
                      Child(w, L"BUTTON", L"Shift", BS_AUTOCHECKBOX | WS_TABSTOP, kSetupShift) &&
                      Child(w, L"BUTTON", L"Alt", BS_AUTOCHECKBOX | WS_TABSTOP, kSetupAlt) &&
                      Child(w, L"BUTTON", L"WinKey", BS_AUTOCHECKBOX | WS_TABSTOP, kSetupWin) &&
                      Child(w, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kSetupKey) &&
                      Child(w, L"STATIC", kTakenText, SS_RIGHT | SS_NOPREFIX | SS_NOTIFY, kSetupTaken);
    if (!made) return nullptr;
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(row->Item(kSetupTaken), SW_HIDE);
    // The mark's words also as a tip on the key list and on the mark.
    row->tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w, nullptr, ModuleInstance(), nullptr);
    for (const int tool : {kSetupKey, kSetupTaken}) {
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = w;
        ti.uId = reinterpret_cast<UINT_PTR>(row->Item(tool));
        ti.lpszText = const_cast<wchar_t*>(kTakenText);
        if (row->tips_) SendMessageW(row->tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    if (row->tips_) SendMessageW(row->tips_, TTM_ACTIVATE, FALSE, 0);
    row->SetBackColor(row->back_);
    return row;
}

void KHotKeySetup::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    SetWindowTextW(Item(kSetupFrame), caption.c_str());
    NameOnBox();
}

// The background of the row and of every control in it.
void KHotKeySetup::SetBackColor(COLORREF color) {
    back_ = color;
    brush_.reset(CreateSolidBrush(color));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void KHotKeySetup::SetHKControls(const KHotKeyCtl& khk) {
    const HWND list = Item(kSetupKey);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    for (const HotKeyName& n : HotKeyComboNames()) {
        names.push_back(n.name);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(n.name).c_str()));
    }
    const HotkeyRowValues row = HotkeyRowFrom(khk);
    const bool boxes[] = {row.ctrl, row.shift, row.alt, row.win};
    for (int i = 0; i < 4; ++i) SendMessageW(Item(kBoxes[i]), BM_SETCHECK, boxes[i] ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(Item(kSetupOn), BM_SETCHECK, row.on ? BST_CHECKED : BST_UNCHECKED, 0);
    OnBoxChanged();
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(KeyListIndex(names, row.key)), 0);
    ShowTaken(khk.RegisterFailure() == kHotkeyAlreadyRegistered);
}

void KHotKeySetup::SaveHKControls(KHotKeyCtl& khk) const {
    wchar_t key[32] = {};
    GetWindowTextW(Item(kSetupKey), key, 32);
    SaveHotkeyRow({Checked(kSetupOn), Checked(kSetupCtrl), Checked(kSetupShift), Checked(kSetupAlt), Checked(kSetupWin),
                   Narrow(key)},
                  khk);
}

void KHotKeySetup::OnBoxChanged() {
    const bool on = Checked(kSetupOn);
    for (const int id : {kSetupFrame, kSetupCtrl, kSetupShift, kSetupAlt, kSetupWin, kSetupKey}) EnableWindow(Item(id), on);
}

void KHotKeySetup::ShowTaken(bool taken) {
    taken_ = taken;
    ShowWindow(Item(kSetupTaken), taken ? SW_SHOWNA : SW_HIDE);
    if (tips_) SendMessageW(tips_, TTM_ACTIVATE, taken, 0);
    NameOnBox();
}

// The on box shows no caption (the frame's stands beside it), but its window text names it
// for screen readers: the row's caption, and the mark when the combination is taken.
void KHotKeySetup::NameOnBox() {
    std::wstring name = caption_.substr(std::min(caption_.find_first_not_of(L' '), caption_.size())) + L" hotkey on";
    if (taken_) name += std::wstring(L", ") + kTakenText;
    SetWindowTextW(Item(kSetupOn), name.c_str());
}

int KHotKeySetup::Height(UINT dpi) { return ScaleForDpi(kRowHeight, dpi); }

void KHotKeySetup::Layout(int x, int y, int width, UINT dpi, HFONT font) {
    const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
    MoveWindow(hwnd(), x, y, width, Height(dpi), FALSE);
    for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(Item(kSetupFrame), 0, 0, width, s(kFrameHeight), FALSE);
    // Only the box shows: its name is clipped away.
    MoveWindow(Item(kSetupOn), s(kOnLeft), 0, s(kOnSize), s(kCaptionHeight), FALSE);
    // Each box as wide as its caption needs, the key list at the right end.
    const int listLeft = width - s(kInnerLeft) - s(kListWidth);
    int left = s(kInnerLeft);
    UniqueWindowDc dc = GetWindowDc(hwnd());
    SelectGuard f(dc.get().dc, font);
    for (const int id : kBoxes) {
        wchar_t text[16] = {};
        SIZE t{};
        GetTextExtentPoint32W(dc.get().dc, text, GetWindowTextW(Item(id), text, 16), &t);
        const int w = std::min(static_cast<int>(t.cx) + s(kBoxGlyph), listLeft - s(4) - left);
        MoveWindow(Item(id), left, s(kInnerTop), w, s(kBoxHeight), FALSE);
        left += w + s(kBoxGap);
    }
    MoveWindow(Item(kSetupKey), listLeft, s(kInnerTop), s(kListWidth), s(kListDrop), FALSE);
    // The mark on the frame's top edge, at its right end.
    SIZE t{};
    GetTextExtentPoint32W(dc.get().dc, kTakenText, static_cast<int>(wcslen(kTakenText)), &t);
    const int markWidth = t.cx + s(8);
    MoveWindow(Item(kSetupTaken), width - s(kInnerLeft) - markWidth, 0, markWidth, s(kCaptionHeight), FALSE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT KHotKeySetup::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, brush_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, back_);
        if (reinterpret_cast<HWND>(lp) == Item(kSetupTaken)) SetTextColor(dc, kTakenInk);
        return reinterpret_cast<LRESULT>(brush_.get());
    }
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (id == kSetupOn && HIWORD(wp) == BN_CLICKED) OnBoxChanged();
        // A changed combination is no longer the one found taken.
        const bool changed = (id >= kSetupCtrl && id <= kSetupWin && HIWORD(wp) == BN_CLICKED) ||
                             (id == kSetupKey && HIWORD(wp) == CBN_SELCHANGE);
        if (changed && taken_) ShowTaken(false);
        return 0;
    }
    case WM_DESTROY:
        if (tips_) DestroyWindow(tips_);
        tips_ = nullptr;
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

}  // namespace orv
