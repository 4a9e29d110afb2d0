#include "app/win/thread_probe.h"

namespace orv {

bool ThreadProbe::Responsive(HWND h) {
    const DWORD thread = GetWindowThreadProcessId(h, nullptr);
    if (thread == 0) return true;  // gone: nothing can block on it
    if (thread == GetCurrentThreadId()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now - since_ > kValidMs) {
        answers_.clear();
        since_ = now;
    }
    auto it = answers_.find(thread);
    if (it != answers_.end()) return it->second;
    DWORD_PTR ignored = 0;
    const bool ok = !IsHungAppWindow(h) &&
                    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kTimeoutMs, &ignored) != 0;
    answers_[thread] = ok;
    return ok;
}

}  // namespace orv
