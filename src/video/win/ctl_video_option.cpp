#include "video/win/ctl_video_option.h"

#include <algorithm>

#include "base/win/utf.h"
#include "base/win/window_dpi.h"
#include "controls/win/candy_button.h"
#include "controls/win/common_dlg_win.h"

namespace orv {

namespace {
constexpr wchar_t kRowClass[] = L"CtlVideoOption";

// Places at 96 DPI within the row: the file line under the label line, Browse at its right.
constexpr int kRowHeight = 80, kFrameHeight = 76, kCaptionHeight = 16, kOnLeft = 9, kOnSize = 14;
constexpr int kInner = 12, kLabelTop = 22, kLabelHeight = 20, kFileTop = 44, kFileHeight = 24;
constexpr int kBrowseWidth = 76, kBrowseHeight = 26, kBoxGlyph = 21, kBoxGap = 8;

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0) {
    return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
}

std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}
}  // namespace

std::unique_ptr<CtlVideoOption> CtlVideoOption::Create(HWND parent, int id) {
    std::unique_ptr<CtlVideoOption> row(new CtlVideoOption());
    if (!RegisterClassOnce(kRowClass) || !CandyButton::Register() ||
        !row->Window::Create(kRowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
                             parent, id))
        return nullptr;
    const HWND w = row->hwnd();
    // Tab order: the on box, the file, Browse, Sound, Repeat; the label comes right before the
    // file, which takes its name from it; the frame, drawn over the row's background, lies under all.
    const HWND frame = Child(w, L"BUTTON", L"", BS_GROUPBOX, kVoFrame, WS_EX_TRANSPARENT);
    const bool made = frame && Child(w, L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kVoOn) &&
                      Child(w, L"STATIC", L"Video File", SS_NOPREFIX, kVoFileLabel) &&
                      Child(w, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kVoFile, WS_EX_CLIENTEDGE) &&
                      CandyButton::Create(w, kVoBrowse, 0, 0, 0, 0, L"Browse") &&
                      Child(w, L"BUTTON", L"Sound", BS_AUTOCHECKBOX | WS_TABSTOP, kVoSound) &&
                      Child(w, L"BUTTON", L"Repeat", BS_AUTOCHECKBOX | WS_TABSTOP, kVoRepeat);
    if (!made) return nullptr;
    SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongPtrW(row->Item(kVoBrowse), GWL_STYLE, GetWindowLongPtrW(row->Item(kVoBrowse), GWL_STYLE) | WS_TABSTOP);
    row->SetBackColor(row->back_);
    return row;
}

// The frame shows the caption; the on box, which stands over its blanks and shows none,
// carries it as its name for screen readers.
void CtlVideoOption::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    SetWindowTextW(Item(kVoFrame), caption.c_str());
    const std::wstring name = caption.substr(std::min(caption.find_first_not_of(L' '), caption.size())) + L" video on";
    SetWindowTextW(Item(kVoOn), name.c_str());
}

// The background of the row and of every control in it.
void CtlVideoOption::SetBackColor(COLORREF color) {
    back_ = color;
    brush_.reset(CreateSolidBrush(color));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CtlVideoOption::ReadSetting(const VideoOptions& options) {
    const VideoOptionRecord& r = options[static_cast<std::size_t>(myId_)];
    Check(kVoOn, r.on);
    Check(kVoSound, r.sound);
    Check(kVoRepeat, r.repeat);
    SetWindowTextW(Item(kVoFile), Widen(r.file).c_str());
    OnBoxChanged();  // as a click on the box does
}

VideoOptionRecord CtlVideoOption::Row() const {
    return {Checked(kVoOn), Checked(kVoSound), Checked(kVoRepeat), Narrow(TextOf(Item(kVoFile)))};
}

void CtlVideoOption::OnBoxChanged() const {
    const bool on = Checked(kVoOn);
    for (const int id : {kVoFrame, kVoFileLabel, kVoFile, kVoBrowse, kVoSound, kVoRepeat}) EnableWindow(Item(id), on);
}

void CtlVideoOption::Browse() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    cdlg::OpenFileArgs a;
    a.filename = TextOf(Item(kVoFile));
    a.dlgTitle = kVideoBrowseTitle;
    a.filter = kVideoBrowseFilter;
    a.filterIndex = 1;
    a.initDir = folder;
    a.owner = reinterpret_cast<std::intptr_t>(hwnd());
    a.fileMustExist = true;
    a.hideReadOnly = true;
    a.shInitView = cdlg::kThumbnailView;
    CCommonDlg dlg;
    if (dlg.VBGetOpenFileName(a) && !a.filename.empty()) SetWindowTextW(Item(kVoFile), a.filename.c_str());
}

int CtlVideoOption::Height(UINT dpi) { return ScaleForDpi(kRowHeight, dpi); }

void CtlVideoOption::Layout(int x, int y, int width, UINT dpi, HFONT font) {
    const auto s = [dpi](int v) { return ScaleForDpi(v, dpi); };
    MoveWindow(hwnd(), x, y, width, Height(dpi), FALSE);
    for (HWND c = GetWindow(hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(Item(kVoFrame), 0, 0, width, s(kFrameHeight), FALSE);
    MoveWindow(Item(kVoOn), s(kOnLeft), 0, s(kOnSize), s(kCaptionHeight), FALSE);  // its name is clipped away
    // Sound and Repeat, each as wide as its caption needs, at the right end of the label line.
    UniqueWindowDc dc = GetWindowDc(hwnd());
    SelectGuard f(dc.get().dc, font);
    int right = width - s(kInner);
    for (const int id : {kVoRepeat, kVoSound}) {
        wchar_t text[16] = {};
        SIZE t{};
        GetTextExtentPoint32W(dc.get().dc, text, GetWindowTextW(Item(id), text, 16), &t);
        const int w = t.cx + s(kBoxGlyph);
        MoveWindow(Item(id), right - w, s(kLabelTop), w, s(kLabelHeight), FALSE);
        right -= w + s(kBoxGap);
    }
    MoveWindow(Item(kVoFileLabel), s(kInner), s(kLabelTop + 3), right - s(kInner), s(kLabelHeight - 3), FALSE);
    const int browseLeft = width - s(kInner) - s(kBrowseWidth);
    MoveWindow(Item(kVoFile), s(kInner), s(kFileTop), browseLeft - s(6) - s(kInner), s(kFileHeight), FALSE);
    MoveWindow(Item(kVoBrowse), browseLeft, s(kFileTop - 1), s(kBrowseWidth), s(kBrowseHeight), FALSE);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT CtlVideoOption::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, brush_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wp), back_);
        return reinterpret_cast<LRESULT>(brush_.get());
    case WM_COMMAND:
        if (LOWORD(wp) == kVoOn && HIWORD(wp) == BN_CLICKED) OnBoxChanged();
        if (LOWORD(wp) == kVoBrowse && HIWORD(wp) == BN_CLICKED) Browse();
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

}  // namespace orv
