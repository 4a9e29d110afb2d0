#include "app/win/look_worker.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/win/thread_probe.h"
#include "base/win/fatal.h"
#include "base/win/log.h"

namespace orv {

namespace {
constexpr DWORD kEndWaitMs = 100;
// How long a look released by a switch waits before it goes on the screen. A switch that
// follows within it (the user flipping through desktops, or coming straight back) takes
// its place: the desktops passed through never have their looks broadcast, and the windows
// just shown paint once before the broadcasts make them paint again.
constexpr ULONGLONG kSettleMs = 50;
// How long the departed windows' threads are waited for in all (each as long as a probe):
// one that does not answer by then is busy or hung, and the look goes on without it.
constexpr ULONGLONG kDepartedAllMs = 500;

void AwaitThreads(const std::vector<HWND>& departed) {
    const ULONGLONG end = GetTickCount64() + kDepartedAllMs;
    for (HWND h : departed) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        ThreadProbe::Answers(h, static_cast<UINT>(std::min<ULONGLONG>(ThreadProbe::kTimeoutMs, end - now)));
    }
}
}

struct LookWorker::Shared {
    Apply apply = nullptr;
    SRWLOCK lock = SRWLOCK_INIT;
    std::optional<LookRequest> next;  // guarded by lock
    bool stop = false;                // guarded by lock
    bool held = false;                // guarded by lock
    ULONGLONG settledAt = 0;          // guarded by lock; a released look waits until then
    std::vector<HWND> departed;       // guarded by lock; waited for before a released look settles
    HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE idle = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // set while nothing waits or runs
    HANDLE shown = CreateEventW(nullptr, TRUE, TRUE, nullptr);  // set while nothing waits or is being put
    HANDLE thread = nullptr;
    ~Shared() {
        for (HANDLE h : {wake, idle, shown, thread})
            if (h) CloseHandle(h);
    }
};

thread_local LookWorker::Shared* LookWorker::current_ = nullptr;

void LookWorker::PutOnScreen() {
    if (!current_) return;
    AcquireSRWLockExclusive(&current_->lock);
    if (!current_->next) SetEvent(current_->shown);  // a newer look waits: not this one's to say
    ReleaseSRWLockExclusive(&current_->lock);
}

DWORD WINAPI LookWorker::Main(void* shared) {
    auto* s = static_cast<Shared*>(shared);
    current_ = s;
    DWORD wait = INFINITE;
    for (;;) {
        WaitForSingleObject(s->wake, wait);
        wait = INFINITE;
        for (;;) {
            std::optional<LookRequest> look;
            std::vector<HWND> departed;
            AcquireSRWLockExclusive(&s->lock);
            const bool stop = s->stop;
            const ULONGLONG now = GetTickCount64();
            if (FatalPathRunning()) look.swap(s->next);
            else if (!s->held && s->next && !s->departed.empty()) departed.swap(s->departed);
            else if (!s->held && now >= s->settledAt) look.swap(s->next);
            else if (!s->held && s->next) wait = static_cast<DWORD>(s->settledAt - now);
            if (!look && !s->next) {  // under the lock: a request now resets them after
                SetEvent(s->shown);
                SetEvent(s->idle);
            }
            ReleaseSRWLockExclusive(&s->lock);
            if (stop) return 0;
            if (!departed.empty()) {
                AwaitThreads(departed);
                AcquireSRWLockExclusive(&s->lock);
                s->settledAt = GetTickCount64() + kSettleMs;
                ReleaseSRWLockExclusive(&s->lock);
                continue;
            }
            if (!look) break;
            try {
                s->apply(*look);
            } catch (...) {
                FatalFromException("the look worker");
            }
        }
    }
}

LookWorker::Shared& LookWorker::Ensure() {
    if (!s_) {
        s_ = new Shared;
        s_->apply = apply_;
    }
    return *s_;
}

void LookWorker::Request(const LookRequest& look) {
    if (FatalPathRunning() && !OnFatalPath()) return;  // desktop 1's look is the last one
    Ensure();
    AcquireSRWLockExclusive(&s_->lock);
    s_->next = look;
    ResetEvent(s_->shown);
    ResetEvent(s_->idle);
    ReleaseSRWLockExclusive(&s_->lock);
    if (!s_->thread) {
        s_->thread = CreateThread(nullptr, 0, &LookWorker::Main, s_, 0, nullptr);
        if (!s_->thread) {
            LogError("CreateThread (the look worker)");
            AcquireSRWLockExclusive(&s_->lock);
            s_->next.reset();
            SetEvent(s_->shown);
            SetEvent(s_->idle);
            ReleaseSRWLockExclusive(&s_->lock);
            return;
        }
    }
    SetEvent(s_->wake);
}

void LookWorker::Hold(bool held, std::vector<HWND> departed) {
    Ensure();
    AcquireSRWLockExclusive(&s_->lock);
    s_->held = held;
    if (!held) s_->settledAt = GetTickCount64() + kSettleMs;
    s_->departed = std::move(departed);
    ReleaseSRWLockExclusive(&s_->lock);
    if (!held && s_->thread) SetEvent(s_->wake);
}

bool LookWorker::Idle() const { return !s_ || WaitForSingleObject(s_->idle, 0) == WAIT_OBJECT_0; }

bool LookWorker::Shown() const { return !s_ || WaitForSingleObject(s_->shown, 0) == WAIT_OBJECT_0; }

bool LookWorker::Finish(DWORD ms) {
    if (Idle()) return true;
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD r = MsgWaitForMultipleObjects(1, &s_->idle, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return Idle();
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers what was sent
    }
}

LookWorker::~LookWorker() {
    if (!s_) return;
    AcquireSRWLockExclusive(&s_->lock);
    s_->stop = true;
    ReleaseSRWLockExclusive(&s_->lock);
    if (s_->thread) {
        SetEvent(s_->wake);
        if (WaitForSingleObject(s_->thread, kEndWaitMs) != WAIT_OBJECT_0) {
            Log("The look worker is still waiting on the system: left to the end of the process");
            return;  // it still uses s_
        }
    }
    delete s_;
}

}  // namespace orv
