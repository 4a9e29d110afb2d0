#include "tray/win/systray.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/win/fatal.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "base/win/window_base.h"

namespace orv {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// The most significant part of shell32.dll's file version, once per process.
std::optional<std::uint32_t> ShellVersionMS() {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(L"shell32.dll", &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> info(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(L"shell32.dll", 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed || length < sizeof *fixed)
        return std::nullopt;
    return fixed->dwFileVersionMS;
}

// The sizes the W record has where the A record the shells were first made for had 88,
// 488 and 504 bytes.
DWORD RecordBytes(NotifyRecord r) {
    switch (r) {
        case NotifyRecord::V1: return NOTIFYICONDATAW_V1_SIZE;
        case NotifyRecord::V2: return NOTIFYICONDATAW_V2_SIZE;
        case NotifyRecord::V3: return NOTIFYICONDATAW_V3_SIZE;
        default: return 0;
    }
}

// The text and a NUL, cut to the field.
template <std::size_t N>
void WriteField(wchar_t (&field)[N], const std::string& text) {
    const std::wstring wide = Widen(text);
    const std::size_t n = FieldLength(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()), N);
    std::copy_n(wide.data(), n, field);
    field[n] = L'\0';
}

}  // namespace

cSystray::cSystray()
    : record_([] {
          static const NotifyRecord record = NotifyRecordFor(ShellVersionMS());
          return record;
      }()),
      hook_("cSystray", [this](MessageWhen, UINT msg, WPARAM, LPARAM lp) { OnMessage(msg, lp); }) {
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, ModuleInstance(), nullptr);
    if (!window_) {
        LogError("CreateWindowExW for the tray icon's message window");
        return;
    }
    // The balloon timer's procedure finds its object through the window.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Without the hook the icon still shows but raises no events (the failure was reported).
    if (hook_.Attach(window_)) {
        hook_.AddMessage(kTrayCallbackMessage, MessageWhen::After);
        if (taskbarCreated_) hook_.AddMessage(taskbarCreated_, MessageWhen::After);
    }
}

void cSystray::DoTerminate() {
    if (!window_) return;
    SysTrayShow(false);
    ReleaseLoadedIcon();
    hook_.Detach();
    KillTimer(window_, BalloonTimerId());
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
}

void cSystray::Notify(DWORD message) {
    // The shell's answer is not needed: an update of an icon it does not hold is refused.
    Shell_NotifyIconW(message, &data_);
}

void cSystray::SysTrayShow(bool show) {
    if (!show) {
        if (!shown_) return;
        StopBalloonTimer();
        Notify(NIM_DELETE);
        shown_ = false;
        return;
    }
    if (!shown_) {
        data_.cbSize = RecordBytes(record_);
        data_.uTimeout = 3;  // shares its place with the version: the callback's first form
        data_.hWnd = window_;
        data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(this));
        data_.uCallbackMessage = kTrayCallbackMessage;
    }
    data_.uFlags = NIF_MESSAGE;
    if (icon_) {
        data_.uFlags |= NIF_ICON;
        data_.hIcon = icon_;
    }
    if (!tip_.empty()) {
        data_.uFlags |= NIF_TIP;
        WriteField(data_.szTip, tip_);
    }
    Notify(shown_ ? NIM_MODIFY : NIM_ADD);
    shown_ = true;
}

bool cSystray::BalloonShow(bool show, int timeoutMs, bool noSound) {
    if (!IsBalloonCapable()) return false;
    if (show) {
        BalloonShow(false);
        balloonTimeout_ = timeoutMs;
        data_.uFlags = NIF_INFO;
        WriteField(data_.szInfo, balloonText_);
        WriteField(data_.szInfoTitle, balloonTitle_);
        data_.dwInfoFlags = balloonIcon_ | (noSound ? NIIF_NOSOUND : 0);
        Notify(NIM_MODIFY);
    } else {
        data_.uFlags = NIF_INFO;
        data_.szInfo[0] = L'\0';
        data_.szInfoTitle[0] = L'\0';
        Notify(NIM_MODIFY);
        StopBalloonTimer();
    }
    return true;
}

void cSystray::SysTrayIconFromHandle(HICON icon) {
    icon_ = icon;
    if (!shown_) return;
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon;
    Notify(NIM_MODIFY);
}

// The icon in use stays until a new one is there: a load that fails changes nothing.
bool cSystray::SysTrayIconFromFile(const std::string& file) {
    constexpr UINT flags = LR_LOADFROMFILE | LR_LOADMAP3DCOLORS | LR_SHARED;
    return UseLoadedIcon(static_cast<HICON>(LoadImageW(nullptr, Widen(file).c_str(), IMAGE_ICON, 16, 16, flags)), true);
}

bool cSystray::SysTrayIconFromRes(const std::string& resName) {
    constexpr UINT flags = LR_LOADMAP3DCOLORS | LR_SHARED;
    return UseLoadedIcon(static_cast<HICON>(LoadImageW(ModuleInstance(), Widen(resName).c_str(), IMAGE_ICON, 16, 16, flags)),
                         true);
}

bool cSystray::SysTrayIconFromCompRes(const std::string& file, int iconIndex) {
    HICON large = nullptr;
    if (ExtractIconExW(Widen(file).c_str(), iconIndex, &large, nullptr, 1) == 0) large = nullptr;
    return UseLoadedIcon(large, false);
}

bool cSystray::UseLoadedIcon(HICON icon, bool shared) {
    if (!icon) return false;
    SysTrayIconFromHandle(icon);
    ReleaseLoadedIcon();
    loaded_ = icon;
    loadedShared_ = shared;
    return true;
}

void cSystray::ReleaseLoadedIcon() {
    if (loaded_ && !loadedShared_) DestroyIcon(loaded_);
    if (icon_ == loaded_) icon_ = nullptr;
    loaded_ = nullptr;
}

void cSystray::SetSysTrayToolTip(std::string_view tip) {
    tip_ = TrimBlanks(tip);
    WriteField(data_.szTip, tip_);
    data_.uFlags = NIF_TIP;
    Notify(NIM_MODIFY);  // before the icon is added the shell refuses it: SysTrayShow sends the tip
}

void cSystray::SetBalloonIcon(DWORD niifFlags) {
    if (!IsBalloonCapable()) return;
    balloonIcon_ = niifFlags;
    data_.dwInfoFlags = niifFlags;
    data_.uFlags = NIF_TIP | NIF_INFO;
    Notify(NIM_MODIFY);
}

void cSystray::SetBalloonTitle(std::string_view title) {
    if (!IsBalloonCapable()) return;
    balloonTitle_ = title;
    WriteField(data_.szInfoTitle, balloonTitle_);
    data_.uFlags = NIF_TIP | NIF_INFO;
    Notify(NIM_MODIFY);
}

void cSystray::SetBalloonText(std::string_view text) {
    if (!IsBalloonCapable()) return;
    balloonText_ = text;
    WriteField(data_.szInfo, balloonText_);
    data_.uFlags = NIF_TIP | NIF_INFO;
    Notify(NIM_MODIFY);
}

void cSystray::StopBalloonTimer() {
    if (window_) KillTimer(window_, BalloonTimerId());
}

void CALLBACK cSystray::BalloonTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) noexcept {
    auto* self = reinterpret_cast<cSystray*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || id != self->BalloonTimerId()) return;
    try {
        self->BalloonShow(false);
    } catch (...) {
        FatalFromException("the tray icon's balloon timer");
    }
}

void cSystray::OnMessage(UINT msg, LPARAM lp) {
    if (msg == kTrayCallbackMessage) {
        OnNotification(static_cast<UINT>(lp));
    } else if (msg == taskbarCreated_ && shown_) {
        // A new taskbar knows no icons: ours is added again with its icon, tip and callback.
        shown_ = false;
        SysTrayShow(true);
    }
}

void cSystray::OnNotification(UINT code) {
    const TrayNotification n = MapTrayNotification(code);
    if (n.stopsBalloonTimer) StopBalloonTimer();
    if (n.event == TrayEvent::BalloonShow && balloonTimeout_ != -1)
        SetTimer(window_, BalloonTimerId(), static_cast<UINT>(balloonTimeout_), &BalloonTimer);
    // What follows the event is read first: the listener may end this object.
    SystrayListener* listener = listener_;
    const WNDPROC proc = proc_;
    const HWND window = window_;
    const WPARAM extra = extraParam_;
    if (listener) {
        switch (n.event) {
            case TrayEvent::MouseMove: listener->MouseMove(); break;
            case TrayEvent::MouseDown: listener->MouseDown(n.button); break;
            case TrayEvent::MouseUp: listener->MouseUp(n.button); break;
            case TrayEvent::MouseDblClick: listener->MouseDblClick(n.button); break;
            case TrayEvent::BalloonShow: listener->BalloonShow(); break;
            case TrayEvent::BalloonHide: listener->BalloonHide(); break;
            case TrayEvent::BalloonClose: listener->BalloonClose(); break;
            case TrayEvent::BalloonClick: listener->BalloonClick(); break;
            case TrayEvent::None: break;
        }
    }
    if (proc) CallWindowProcW(proc, window, code, extra, 0);
}

}  // namespace orv
