#include "app/win/window_ops.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "base/win/fatal.h"
#include "base/win/utf.h"
#include "base/win/window_base.h"

namespace orv {

namespace {
// Under Wine, EnumWindows asks the server whether each window still exists before calling
// back: a request per window of another program, 7 ms for 250 windows while the server is
// busy, where the list it asks for first costs one. That list comes from win32u's export,
// whose arguments here mean the same in Wine 8 and after; a Wine without the export, or
// one that refuses, gets EnumWindows. A window closed meanwhile is listed all the same;
// every call on it then fails at once, as after any walk. (Windows answers IsWindow from
// memory, so there EnumWindows serves.)
using BuildHwndList = LONG(WINAPI*)(HDESK, HWND, BOOL, BOOL, ULONG, ULONG, HWND*, ULONG*);

bool WineStack(std::vector<WindowId>& ids) {
    static const BuildHwndList build = []() -> BuildHwndList {
        HMODULE win32u = UnderWine() ? GetModuleHandleW(L"win32u.dll") : nullptr;
        return win32u ? reinterpret_cast<BuildHwndList>(reinterpret_cast<void*>(GetProcAddress(win32u, "NtUserBuildHwndList")))
                      : nullptr;
    }();
    if (!build) return false;
    // Named, the desktop gives its top-level windows alone; unnamed, message-only ones too.
    const HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    std::vector<HWND> list(128);
    for (int tries = 0; tries < 4; ++tries) {  // grown to the size asked for, which may grow meanwhile
        ULONG size = 0;
        if (build(desktop, nullptr, FALSE, TRUE, 0, static_cast<ULONG>(list.size()), list.data(), &size) == 0) {
            for (ULONG i = 0; i + 1 < size && i < list.size() && list[i] != HWND_BOTTOM; ++i) ids.push_back(ToId(list[i]));
            return true;
        }
        if (size <= list.size()) return false;  // refused for another reason
        list.resize(size + 64);
    }
    return false;
}
}  // namespace

std::vector<WindowId> Win32WindowOps::StackingOrder() {
    std::vector<WindowId> ids;
    if (WineStack(ids)) return ids;
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

// A top-level window's style alone answers both whether it is visible (its parent, the
// desktop, always is) and its show state: one call, where IsWindowVisible and the placement
// record cost several (under Wine, each a request to the server). Titles are read only for
// visible windows (the hidden ones, other desktops' and the system's, are many), and without
// sending messages, so a hung application cannot stall it.
void Win32WindowOps::EnumerateTopLevel(const std::function<void(const TopWindow&)>& visit) {
    for (WindowId id : StackingOrder()) {
        const HWND h = ToHwnd(id);
        const LONG style = VisibleStyle(h);
        TopWindow w{id, style ? 1 : 0, kSwHide, {}};
        try {
            if (style) {
                w.showCmd = style & WS_MINIMIZE ? SW_SHOWMINIMIZED : style & WS_MAXIMIZE ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
                wchar_t buf[512];
                const int n = InternalGetWindowText(h, buf, static_cast<int>(std::size(buf)));
                if (n > 0) {
                    w.title = Narrow(std::wstring_view(buf, static_cast<std::size_t>(n)));
                    DWORD pid = 0;
                    w.thread = GetWindowThreadProcessId(h, &pid);
                    w.process = pid;
                }
            }
            visit(w);
        } catch (...) {
            // Out of memory: skip this window, go on with the next.
        }
    }
}

LONG Win32WindowOps::VisibleStyle(HWND h) {
    LONG style = GetWindowLongW(h, GWL_STYLE);
    if ((style & WS_VISIBLE) && hideAsked_.count(h)) {
        // Asked to hide, and its thread may not have got to it yet: once the thread answers,
        // it has, and what the window shows is what it is. One that does not answer counts
        // as hidden: its hide waits in its queue.
        if (!probe_.CaughtUp(h)) return 0;
        style = GetWindowLongW(h, GWL_STYLE);
    }
    hideAsked_.erase(h);
    return style & WS_VISIBLE ? style : 0;
}

namespace {
// Hiding posts each request to the window's thread (SWP_ASYNCWINDOWPOS): nothing waits on an
// application, hung or busy, and the threads of several programs work at once while we go on.
// Erasing is left to each window's next paint, not done while it is placed.
constexpr UINT kPosted = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_DEFERERASE | SWP_ASYNCWINDOWPOS;
constexpr std::size_t kAskedKept = 4096;  // beyond it, the closed windows' entries go
constexpr UINT kShown = (kPosted & ~SWP_ASYNCWINDOWPOS) | SWP_SHOWWINDOW;
}  // namespace

void Win32WindowOps::HideStack(const std::vector<Hidden>& topFirst) {
    if (FatalPathRunning()) return;  // the process is failing: no more hiding
    HWND fg = GetForegroundWindow();
    const bool activeLeaves = std::any_of(topFirst.begin(), topFirst.end(), [&](const Hidden& w) { return w.id == ToId(fg); });
    if (activeLeaves && keeper_ && IsWindow(keeper_) && SetForegroundWindow(keeper_)) fg = GetForegroundWindow();
    keeping_ = fg == keeper_ && activeLeaves;
    if (hideAsked_.size() > kAskedKept) std::erase_if(hideAsked_, [](HWND h) { return !IsWindow(h); });
    HWND active = nullptr;
    departed_.clear();
    std::unordered_set<DWORD> seen{GetCurrentThreadId()};
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
        HWND h = ToHwnd(it->id);
        hideAsked_.insert(h);
        if (it->thread == 0 || seen.insert(it->thread).second) departed_.push_back(h);  // 0: stands for its own
        if (h == fg) active = h;
        else SetWindowPos(h, nullptr, 0, 0, 0, 0, kPosted | SWP_NOZORDER | SWP_HIDEWINDOW);
    }
    // Still active (nothing of ours took over): last, and the way that hands the activation
    // on to another window, since a hidden window must not keep the keyboard.
    if (active) {
        if (probe_.Responsive(active)) ShowWindow(active, SW_HIDE);
        else ShowWindowAsync(active, SW_HIDE);
    }
}

void Win32WindowOps::ShowStack(const std::vector<Shown>& topFirst) {
    std::vector<std::pair<HWND, DWORD>> batch;  // with each window's thread, read once
    for (const Shown& s : topFirst) {
        HWND h = ToHwnd(s.id);
        hideAsked_.erase(h);
        // A window's thread never changes: the one recorded saves a request per window. A
        // closed window answers too (its calls fail at once), or fails its probe: either way
        // its show fails at once.
        const DWORD thread = s.thread ? s.thread : GetWindowThreadProcessId(h, nullptr);
        if (!probe_.Responsive(h, thread)) {
            ShowWindowAsync(h, s.showCmd);
            continue;
        }
        // A window that left minimised and was restored while hidden is minimised again
        // first; then every window is shown in the state it has.
        if (s.showCmd == SW_SHOWMINNOACTIVE && !IsIconic(h)) ShowWindow(h, s.showCmd);
        batch.emplace_back(h, thread);
    }
    // Top first, each placed right below the one before, and waited for: the stack comes back
    // exactly as asked, also where the system restacks windows shown in quick succession to
    // the top (Wine does, with many windows of one program), and where a window of one
    // program would be placed below one of another that has not moved yet (posted requests
    // of several programs run in any order).
    HWND above = HWND_TOP;
    for (const auto& w : batch) {
        SetWindowPos(w.first, above, 0, 0, 0, 0, kShown);
        above = w.first;
    }
    HoldOrder(std::move(batch));
}

// Wine also keeps the system's stack in step with its X server's: a thread that takes an
// exposure event for a window of its own raises that window over the first window above it
// that covers the exposed part. And the X stack is not always ours: Wine takes a window's place
// to the X server only when it goes to the very top, and each program maps its windows over its
// own connection, so a loaded X server may map the window we showed below before the one of
// another program we showed above it. The lower one is then exposed where the upper one goes,
// and when its thread takes that event, after we moved on, it jumps over the upper one; a
// maximised window, which covers every other, is the one jumped over most. So once the X
// server has served what it was asked and every thread has taken what that brought, the order
// is checked and put right where a window moved (placed below the one before again, which
// leaves the X server's stack and exposes nothing), until it holds twice in a row: the X
// server may serve another program's maps after our read, and their events come later.
void Win32WindowOps::HoldOrder(std::vector<std::pair<HWND, DWORD>> stack) {
    bool held = false;  // at the round before
    for (int round = 0; round < kHoldRounds && stack.size() > 1; ++round) {
        XServerCaughtUp();
        // A probe to every thread, then a second: a thread answers the first before the events
        // it woke up with, and takes them while the others answer. One that stopped answering
        // meanwhile is left where it is: placing it would wait on it.
        std::unordered_map<DWORD, HWND> threads;  // with a window of each
        for (auto [h, thread] : stack) threads.emplace(thread, h);
        std::unordered_map<DWORD, bool> caughtUp;
        for (auto [thread, h] : threads) caughtUp[thread] = probe_.CaughtUp(h, thread);
        for (auto [thread, h] : threads) caughtUp[thread] = caughtUp[thread] && probe_.CaughtUp(h, thread);
        std::unordered_map<HWND, std::size_t> place;
        for (WindowId id : StackingOrder()) place.emplace(ToHwnd(id), place.size());
        std::erase_if(stack, [&](const auto& w) { return !place.count(w.first) || !caughtUp[w.second]; });
        // The first window found above the one that should be above it; from there on, each
        // is placed below the one before again.
        std::size_t from = 1;
        while (from < stack.size() && place[stack[from].first] > place[stack[from - 1].first]) ++from;
        if (from >= stack.size() && held) return;
        held = from >= stack.size();
        for (std::size_t i = from; i < stack.size(); ++i)
            SetWindowPos(stack[i].first, stack[i - 1].first, 0, 0, 0, 0, kShown & ~SWP_SHOWWINDOW);
    }
}

WindowId Win32WindowOps::Active() {
    HWND fg = GetForegroundWindow();
    DWORD pid = 0;
    if (!fg || !GetWindowThreadProcessId(fg, &pid) || pid != GetCurrentProcessId()) return ToId(fg);
    // Ours: the topmost visible window of another process that is neither minimised nor
    // topmost, below our own. The stack comes in one request and each window passed costs
    // one more, its style: the hidden ones (every other desktop's) are many.
    for (WindowId id : StackingOrder()) {
        HWND h = ToHwnd(id);
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE) || (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) continue;
        if (GetWindowThreadProcessId(h, &pid) && pid != GetCurrentProcessId()) return id;
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
