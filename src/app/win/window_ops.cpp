#include "app/win/window_ops.h"

#include <iterator>

#include "base/win/fatal.h"
#include "base/win/utf.h"

namespace orv {

namespace {
struct EnumContext {
    const std::function<void(WindowId, const std::string&)>* visit;
};

BOOL CALLBACK EnumWindowsProc(HWND h, LPARAM lp) noexcept {
    auto* ctx = reinterpret_cast<EnumContext*>(lp);
    try {
        wchar_t buf[512];
        int n = InternalGetWindowText(h, buf, static_cast<int>(std::size(buf)));
        (*ctx->visit)(ToId(h), n > 0 ? Narrow(std::wstring_view(buf, static_cast<std::size_t>(n))) : std::string());
    } catch (...) {
        // Out of memory: skip this window, go on with the next.
    }
    return TRUE;
}
}  // namespace

void Win32WindowOps::EnumerateTopLevel(const std::function<void(WindowId, const std::string&)>& visit) {
    EnumContext ctx{&visit};
    EnumWindows(&EnumWindowsProc, reinterpret_cast<LPARAM>(&ctx));
}

int Win32WindowOps::ShowCommand(WindowId id) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(ToHwnd(id), &wp)) return 0;
    return static_cast<int>(wp.showCmd);
}

int Win32WindowOps::IsVisible(WindowId id) {
    HWND h = ToHwnd(id);
    if (!IsWindowVisible(h)) {
        hidingLater_.erase(h);
        return 0;
    }
    if (hidingLater_.count(h)) {
        if (!probe_.Responsive(h)) return 0;
        hidingLater_.erase(h);  // it woke up and was shown again since
    }
    return 1;
}

bool Win32WindowOps::Show(WindowId id, int showCmd) {
    HWND h = ToHwnd(id);
    if (showCmd == SW_HIDE && FatalPathRunning()) return false;  // the process is failing: no more hiding
    if (!IsWindow(h)) {  // closed meanwhile
        hidingLater_.erase(h);
        return false;
    }
    if (probe_.Responsive(h)) {
        hidingLater_.erase(h);
        ShowWindow(h, showCmd);
        return true;
    }
    // A hung application would block a plain ShowWindow: hand the request to its queue.
    if (showCmd == SW_HIDE) hidingLater_.insert(h);
    else hidingLater_.erase(h);
    return ShowWindowAsync(h, showCmd) != FALSE;
}

WindowId Win32WindowOps::Active() {
    HWND fg = GetForegroundWindow();
    DWORD pid = 0;
    if (!fg || !GetWindowThreadProcessId(fg, &pid) || pid != GetCurrentProcessId()) return ToId(fg);
    // Ours: the topmost visible window of another process that is neither minimised nor a
    // tool window, below our own.
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || IsIconic(h) || (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) continue;
        if (GetWindowThreadProcessId(h, &pid) && pid != GetCurrentProcessId()) return ToId(h);
    }
    return 0;
}

void Win32WindowOps::Activate(WindowId id) {
    HWND h = ToHwnd(id);
    if (IsWindow(h)) SetForegroundWindow(h);  // posts the activation: a hung window does not hold us
}

}  // namespace orv
