#include "app/win/window_ops.h"

#include <algorithm>
#include <iterator>
#include <utility>

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

std::vector<WindowId> Win32WindowOps::StackingOrder() {
    std::vector<WindowId> ids;
    EnumWindows([](HWND h, LPARAM lp) noexcept -> BOOL {
        try {
            reinterpret_cast<std::vector<WindowId>*>(lp)->push_back(ToId(h));
        } catch (...) {
            return FALSE;  // out of memory: the order as far as it got
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&ids));
    return ids;
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

namespace {
constexpr UINT kQuietly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
}  // namespace

void Win32WindowOps::HideStack(const std::vector<WindowId>& topFirst) {
    if (FatalPathRunning()) return;  // the process is failing: no more hiding
    HWND fg = GetForegroundWindow();
    const bool activeLeaves = std::find(topFirst.begin(), topFirst.end(), ToId(fg)) != topFirst.end();
    if (activeLeaves && keeper_ && IsWindow(keeper_) && SetForegroundWindow(keeper_)) fg = GetForegroundWindow();
    keeping_ = fg == keeper_ && activeLeaves;
    HWND active = nullptr;
    std::vector<HWND> batch;
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
        HWND h = ToHwnd(*it);
        if (!IsWindow(h)) {
            hidingLater_.erase(h);
        } else if (!probe_.Responsive(h)) {
            hidingLater_.insert(h);
            ShowWindowAsync(h, SW_HIDE);
        } else if (h == fg) {
            active = h;
        } else {
            hidingLater_.erase(h);
            batch.push_back(h);
        }
    }
    // A position change each costs less than a ShowWindow (a deferred batch would cost the
    // same for other programs' windows).
    for (HWND h : batch) SetWindowPos(h, nullptr, 0, 0, 0, 0, kQuietly | SWP_NOZORDER | SWP_HIDEWINDOW);
    // Still active (nothing of ours took over): last, and the way that hands the activation
    // on to another window, since a hidden window must not keep the keyboard.
    if (active) {
        hidingLater_.erase(active);
        ShowWindow(active, SW_HIDE);
    }
}

void Win32WindowOps::ShowStack(const std::vector<Shown>& topFirst) {
    std::vector<HWND> batch;
    for (const Shown& s : topFirst) {
        HWND h = ToHwnd(s.id);
        hidingLater_.erase(h);
        if (!IsWindow(h)) continue;
        if (!probe_.Responsive(h)) {
            ShowWindowAsync(h, s.showCmd);
            continue;
        }
        // A window that left minimised and was restored while hidden is minimised again
        // first; then every window is shown in the state it has.
        if (s.showCmd == SW_SHOWMINNOACTIVE && !IsIconic(h)) ShowWindow(h, s.showCmd);
        batch.push_back(h);
    }
    // Top first, each placed right below the one before: the stack comes back exactly as
    // asked, also where the system restacks windows shown in quick succession to the top
    // (Wine does, with many windows of one program).
    HWND above = HWND_TOP;
    for (HWND h : batch) {
        SetWindowPos(h, above, 0, 0, 0, 0, kQuietly | SWP_SHOWWINDOW);
        above = h;
    }
    // Wine leaves a maximised window of another process where it was when it is shown
    // under others, and later moves it down: placed again now that it is visible, it stays.
    for (std::size_t i = 0; i < batch.size(); ++i)
        if (IsZoomed(batch[i])) SetWindowPos(batch[i], i ? batch[i - 1] : HWND_TOP, 0, 0, 0, 0, kQuietly);
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
    const bool kept = std::exchange(keeping_, false) && GetForegroundWindow() == keeper_;
    HWND h = ToHwnd(id);
    if (id && IsWindow(h)) {
        SetForegroundWindow(h);  // posts the activation: a hung window does not hold us
    } else if (kept) {
        // Ours only held it for the switch: with no window of the user's to take it, the
        // taskbar does, as when the user's last window goes. (Not the desktop's window: it
        // keeps to the bottom, but some systems raise it over everything once activated.)
        HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        if (taskbar && IsWindowVisible(taskbar)) SetForegroundWindow(taskbar);
    }
}

}  // namespace orv
