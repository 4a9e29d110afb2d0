#include "video/win/cover_watch.h"

#include <dwmapi.h>

#include <algorithm>
#include <utility>

#include "base/win/log.h"

namespace orv {

namespace {

constexpr wchar_t kWatchClass[] = L"OrvCoverWatch";
constexpr UINT_PTR kCheckTimer = 1, kPollTimer = 2;
// Until the system has shown that it reports window events (Wine 8 reports only the creation
// of windows), the windows are looked at once a second.
constexpr UINT kPollMs = 1000;
// The events of a move or a maximise come in a burst: one look once it has passed.
constexpr UINT kSettleMs = 150;
// EVENT_OBJECT_CLOAKED and _UNCLOAKED (Windows 8 on; a build for older headers lacks the names).
constexpr DWORD kEventCloaked = 0x8017, kEventUncloaked = 0x8018;

// The events after which a window may cover the monitor or stop covering it.
constexpr std::pair<DWORD, DWORD> kEvents[] = {
    {EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
    {EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
    {EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE},  // destroy, show, hide
    {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
    {kEventCloaked, kEventUncloaked},
};

// The watches of this thread (the user-interface thread), for the events' callback.
std::vector<CoverWatch*>& Watches() {
    static std::vector<CoverWatch*> watches;
    return watches;
}

// None of these calls sends the window a message: a hung program never stalls the look.
BOOL CALLBACK AddCoverWindow(HWND h, LPARAM lp) noexcept {
    if (!IsWindowVisible(h)) return TRUE;
    auto& out = *reinterpret_cast<std::vector<CoverWindow>*>(lp);
    CoverWindow w;
    wchar_t name[64] = {};
    const int n = GetClassNameW(h, name, 64);
    w.className.assign(name, name + std::max(n, 0));  // compared with ASCII names only
    RECT r{};
    GetWindowRect(h, &r);
    w.rect = {r.left, r.top, r.right, r.bottom};
    w.visible = true;
    w.minimised = IsIconic(h) != FALSE;
    DWORD cloaked = 0;
    w.cloaked = SUCCEEDED(DwmGetWindowAttribute(h, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    w.seeThrough = (ex & WS_EX_LAYERED) && (ex & WS_EX_TRANSPARENT);
    w.toolWindow = (ex & WS_EX_TOOLWINDOW) != 0;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    w.ours = pid == GetCurrentProcessId();
    out.push_back(std::move(w));
    return TRUE;
}

}  // namespace

std::vector<CoverWindow> ReadCoverWindows() {
    std::vector<CoverWindow> out;
    EnumWindows(&AddCoverWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

CoverRect WorkAreaOf(HWND onMonitorOf) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    HMONITOR monitor = onMonitorOf ? MonitorFromWindow(onMonitorOf, MONITOR_DEFAULTTOPRIMARY)
                                   : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(monitor, &mi)) return {};
    return {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

std::unique_ptr<CoverWatch> CoverWatch::Create() {
    std::unique_ptr<CoverWatch> watch(new CoverWatch());
    RegisterClassOnce(kWatchClass);
    // Top-level, so that display and work-area changes reach it.
    if (!watch->Window::Create(kWatchClass, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr)) {
        LogError("CreateWindowEx (the cover watch)");
        return nullptr;
    }
    Watches().push_back(watch.get());
    return watch;
}

CoverWatch::~CoverWatch() {
    Stop();
    auto& all = Watches();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

bool CoverWatch::Start(HWND onMonitorOf) {
    monitorOf_ = onMonitorOf;
    if (hooks_.empty())
        for (const auto& [first, last] : kEvents) {
            if (HWINEVENTHOOK h = SetWinEventHook(first, last, nullptr, &CoverWatch::OnEvent, 0, 0, WINEVENT_OUTOFCONTEXT))
                hooks_.push_back(h);
            else LogError("SetWinEventHook (the windows over the video)");
        }
    watching_ = true;
    if (!eventsSeen_) SetTimer(hwnd(), kPollTimer, kPollMs, nullptr);
    covered_ = CoveredNow();
    return covered_;
}

void CoverWatch::Stop() {
    for (HWINEVENTHOOK h : hooks_) UnhookWinEvent(h);
    hooks_.clear();
    if (hwnd()) KillTimer(hwnd(), kCheckTimer), KillTimer(hwnd(), kPollTimer);
    watching_ = pending_ = covered_ = false;
}

bool CoverWatch::CoveredNow() const { return CoversArea(ReadCoverWindows(), WorkAreaOf(monitorOf_)); }

void CALLBACK CoverWatch::OnEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild, DWORD,
                                  DWORD) noexcept {
    auto& all = Watches();
    auto w = std::find_if(all.begin(), all.end(), [&](CoverWatch* c) {
        return std::find(c->hooks_.begin(), c->hooks_.end(), hook) != c->hooks_.end();
    });
    if (w == all.end()) return;
    if (!(*w)->eventsSeen_) (*w)->eventsSeen_ = true, KillTimer((*w)->hwnd(), kPollTimer);  // the events suffice
    // Object events come for every control and for the caret and the pointer: only top-level
    // windows matter (a destroyed one has no style left and counts as top-level).
    if (event >= EVENT_OBJECT_DESTROY &&
        (idObject != OBJID_WINDOW || idChild != CHILDID_SELF || !hwnd || (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)))
        return;
    (*w)->Schedule();
}

void CoverWatch::Schedule() {
    if (pending_ || !watching_) return;
    pending_ = SetTimer(hwnd(), kCheckTimer, kSettleMs, nullptr) != 0;
}

void CoverWatch::Check() {
    if (pending_) KillTimer(hwnd(), kCheckTimer);
    pending_ = false;
    if (!watching_) return;
    const bool covered = CoveredNow();
    if (covered == covered_) return;
    covered_ = covered;
    Log(covered ? "A window covers the screen: the video pauses" : "The screen is uncovered: the video plays on");
    if (onChange) onChange(covered);
}

LRESULT CoverWatch::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && (wp == kCheckTimer || wp == kPollTimer)) return Check(), 0;
    if (msg == WM_DISPLAYCHANGE || (msg == WM_SETTINGCHANGE && wp == SPI_SETWORKAREA)) Schedule();
    return Default(msg, wp, lp);
}

}  // namespace orv
