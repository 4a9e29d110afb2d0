#include "app/win/window_ops.h"

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

int Win32WindowOps::IsVisible(WindowId id) { return IsWindowVisible(ToHwnd(id)) ? 1 : 0; }

bool Win32WindowOps::Show(WindowId id, int showCmd) {
    HWND h = ToHwnd(id);
    DWORD thread = GetWindowThreadProcessId(h, nullptr);
    if (thread == 0) return false;  // closed meanwhile
    if (thread == GetCurrentThreadId()) return ShowWindow(h, showCmd), true;
    if (Responsive(h, thread)) return ShowWindow(h, showCmd), true;
    // A hung application would block a plain ShowWindow: hand the request to its queue.
    return ShowWindowAsync(h, showCmd) != FALSE;
}

bool Win32WindowOps::Responsive(HWND h, DWORD thread) {
    const ULONGLONG now = GetTickCount64();
    if (now - probedAt_ > kProbeValidMs) {
        probed_.clear();  // answers are kept for one switch, not longer
        probedAt_ = now;
    }
    auto it = probed_.find(thread);
    if (it != probed_.end()) return it->second;
    DWORD_PTR ignored = 0;
    const bool ok = SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kProbeTimeoutMs, &ignored) != 0;
    probed_[thread] = ok;
    return ok;
}

}  // namespace orv
