#include "tray/win/message_hook.h"

#include "base/win/event_log.h"
#include "base/win/fatal.h"
#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {

namespace {
constexpr wchar_t kHookProp[] = L"Orvanta.MessageHook";
}

bool MessageHook::Attach(HWND window) {
    if (!window || !IsWindow(window)) {
        Report("ssc_Subclass", kInvalidWindow);
        return false;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId()) {
        Report("ssc_Subclass", kForeignWindow);
        return false;
    }
    Detach();
    SetLastError(0);
    if (!SetPropW(window, kHookProp, this)) {
        Report("ssc_Subclass", SetWindowLongFailed(GetLastError()));
        return false;
    }
    const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    if (!previous) {
        const DWORD error = GetLastError();
        RemovePropW(window, kHookProp);
        Report("ssc_Subclass", SetWindowLongFailed(error));
        return false;
    }
    window_ = window;
    previous_ = reinterpret_cast<WNDPROC>(previous);
    return true;
}

void MessageHook::AddMessage(UINT msg, MessageWhen when) {
    if (std::string failure = filter_.Add(when, msg); !failure.empty()) Report("zAddMsg", failure);
}

void MessageHook::RemoveMessage(UINT msg, MessageWhen when) {
    if (std::string failure = filter_.Remove(when, msg); !failure.empty()) Report("zDelMsg", failure);
}

void MessageHook::Detach() {
    if (!window_) return;
    // Only our own code replaces this window's procedure, so ours is the one in place.
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(window_, kHookProp);
    window_ = nullptr;
    previous_ = nullptr;
}

LRESULT CALLBACK MessageHook::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto hook = [hwnd] { return static_cast<MessageHook*>(GetPropW(hwnd, kHookProp)); };
    MessageHook* self = hook();
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const WNDPROC previous = self->previous_;
    if (FatalPathRunning()) return CallWindowProcW(previous, hwnd, msg, wp, lp);
    try {
        if (self->filter_.Handles(MessageWhen::Before, msg)) self->handler_(MessageWhen::Before, msg, wp, lp);
        if (msg == WM_NCDESTROY && (self = hook())) self->Detach();  // the window goes: the hook lets go
        const LRESULT result = CallWindowProcW(previous, hwnd, msg, wp, lp);
        // The handlers may have ended the hook: it is looked up again, never remembered.
        if ((self = hook()) && self->filter_.Handles(MessageWhen::After, msg))
            self->handler_(MessageWhen::After, msg, wp, lp);
        return result;
    } catch (...) {
        FatalFromException("a hooked window procedure");
    }
}

void MessageHook::Report(const char* routine, const std::string& message) const {
    const HookReport report{owner_, routine, message};
    Log(report.LogText());
    if (!ReportErrorEvent(report.LogText())) LogError("ReportEventW");
    MessageBoxW(nullptr, Widen(report.BoxText()).c_str(), Widen(report.BoxTitle()).c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace orv
