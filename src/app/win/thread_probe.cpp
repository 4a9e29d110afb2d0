#include "app/win/thread_probe.h"

namespace orv {

bool ThreadProbe::Responsive(HWND h, DWORD thread) {
    if (thread == 0) return true;  // gone: nothing can block on it
    if (thread == GetCurrentThreadId()) return true;
    Refresh();
    auto it = answers_.find(thread);
    if (it != answers_.end()) return it->second;
    const bool ok = Answers(h);
    answers_[thread] = ok;
    return ok;
}

bool ThreadProbe::CaughtUp(HWND h, DWORD thread) {
    if (thread == 0 || thread == GetCurrentThreadId()) return true;
    Refresh();
    // A thread that did not answer a moment ago will not now: asked once per switch.
    if (auto it = answers_.find(thread); it != answers_.end() && !it->second) return false;
    return answers_[thread] = Answers(h);
}

void ThreadProbe::Refresh() {
    const ULONGLONG now = GetTickCount64();
    if (now - since_ > kValidMs) {
        answers_.clear();
        since_ = now;
    }
}

bool ThreadProbe::Answers(HWND h, UINT timeoutMs) {
    DWORD_PTR ignored = 0;
    return !IsHungAppWindow(h) &&
           SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &ignored) != 0;
}

}  // namespace orv
