// Top-level window operations against the real API.
#pragma once

#include <windows.h>

#include <unordered_set>
#include <utility>
#include <vector>

#include "app/desk_windows.h"
#include "app/win/thread_probe.h"

namespace orv {

inline HWND ToHwnd(WindowId id) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(id)); }
inline WindowId ToId(HWND h) { return static_cast<WindowId>(reinterpret_cast<INT_PTR>(h)); }

class Win32WindowOps final : public WindowOps {
public:
    // A window whose hide waits in the queue of its hung application counts as hidden: it
    // stays on the desktop that was left instead of following the user.
    void EnumerateTopLevel(const std::function<void(const TopWindow&)>& visit) override;
    // One call to the system for the whole list, where a walk would cost one per window.
    std::vector<WindowId> StackingOrder() override;
    // The foreground window; ours (the bar clicked, the tray menu open) stands for the
    // window above all the user's others: the one the user had active before.
    WindowId Active() override;
    void Activate(WindowId id) override;
    // A position change each, which costs less than a ShowWindow and places every window
    // explicitly. Hiding posts them to the windows' threads, so the threads of several
    // programs work at once while we go on; showing waits for each window whose thread
    // answers a probe, so the stack comes back in order. A window whose application stopped
    // responding gets its requests in its queue: it never blocks us and still changes state
    // when its application wakes up.
    void HideStack(const std::vector<Hidden>& topFirst) override;
    void ShowStack(const std::vector<Shown>& topFirst) override;
    // A window of ours that takes the activation before the active window is hidden, so
    // that the system neither moves it once per window nor raises some other window over
    // the ones about to come back.
    void SetActivationKeeper(HWND keeper) { keeper_ = keeper; }
    // One window of each other thread that the last HideStack asked to hide, for whoever
    // must wait until those threads have got to it. Taken once.
    std::vector<HWND> TakeDeparted() { return std::exchange(departed_, {}); }

private:
    LONG VisibleStyle(HWND h);  // its style when it counts as visible, else 0
    void HoldOrder(std::vector<std::pair<HWND, DWORD>> stack);  // top first, each with its thread
    static constexpr int kHoldRounds = 5;

    HWND keeper_ = nullptr;
    bool keeping_ = false;  // the keeper took the activation from a window now hidden
    ThreadProbe probe_;
    std::unordered_set<HWND> hideAsked_;  // asked to hide, maybe not yet done
    std::vector<HWND> departed_;
};

}  // namespace orv
