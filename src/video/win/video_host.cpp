#include "video/win/video_host.h"

#include "base/win/log.h"

namespace orv {

namespace {

constexpr UINT_PTR kCheckTimer = 1;
constexpr UINT kCheckMs = 1000;
constexpr wchar_t kHostClass[] = L"OrvVideoHostWatch";

HWND AsHwnd(ShellWindowId id) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id)); }
ShellWindowId AsId(HWND h) { return reinterpret_cast<std::uintptr_t>(h); }

std::string ClassOf(HWND h) {
    wchar_t name[64] = {};
    const int n = GetClassNameW(h, name, 64);
    return std::string(name, name + (n > 0 ? n : 0));  // the shell's class names are ASCII
}

BOOL CALLBACK AddShellWindow(HWND h, LPARAM lp) noexcept {
    auto& out = *reinterpret_cast<std::vector<ShellWindow>*>(lp);
    std::string cls = ClassOf(h);
    if (cls != kProgmanClass && cls != kWorkerClass) return TRUE;
    ShellWindow w{AsId(h), std::move(cls), {}};
    for (HWND c = FindWindowExW(h, nullptr, nullptr, nullptr); c && w.children.size() < 64;
         c = FindWindowExW(h, c, nullptr, nullptr))
        w.children.push_back({AsId(c), ClassOf(c), {}});
    out.push_back(std::move(w));
    return TRUE;
}

void AskShellForIconLayer(HWND progman) {
    DWORD_PTR result = 0;
    for (LPARAM lp : {0, 1})
        if (!SendMessageTimeoutW(progman, kSpawnWorkerMessage, 0xD, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, 1000, &result))
            LogError("SendMessageTimeout (Progman, 0x052C)");
}

}  // namespace

std::vector<ShellWindow> ReadShellWindows() {
    std::vector<ShellWindow> out;
    EnumWindows(&AddShellWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

VideoHost::VideoHost() = default;

VideoHost::~VideoHost() {
    if (hwnd()) KillTimer(hwnd(), kCheckTimer);  // the window goes with the base
}

std::unique_ptr<VideoHost> VideoHost::Create() {
    std::unique_ptr<VideoHost> host(new VideoHost());
    RegisterClassOnce(kHostClass);
    // A hidden top-level window: broadcasts such as "TaskbarCreated" reach it.
    if (!host->Window::Create(kHostClass, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr)) {
        LogError("CreateWindowEx (the video host)");
        return nullptr;
    }
    host->taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    return host;
}

bool VideoHost::Arrange() {
    plan_ = ChooseVideoHost(ReadShellWindows(), false);
    if (plan_.kind == VideoHostKind::AskShell) {
        AskShellForIconLayer(AsHwnd(plan_.parent));
        plan_ = ChooseVideoHost(ReadShellWindows(), true);
    }
    Log(std::string("The video's host: ") + VideoHostKindName(plan_.kind));
    return Parent() != nullptr;
}

HWND VideoHost::Parent() const { return AsHwnd(plan_.parent); }

RECT VideoHost::Rect() const {
    RECT r{};
    if (HWND parent = Parent(); parent && GetWindowRect(parent, &r)) return {0, 0, r.right - r.left, r.bottom - r.top};
    return {};
}

bool VideoHost::Place(HWND video) {
    HWND parent = Parent();
    if (!parent || !IsWindow(video)) return false;
    if (GetAncestor(video, GA_PARENT) != parent && !SetParent(video, parent)) {
        LogError("SetParent (the video window)");
        return false;
    }
    const RECT r = Rect();
    SetWindowPos(video, plan_.behind ? AsHwnd(plan_.behind) : HWND_TOP, 0, 0, r.right, r.bottom,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    video_ = video;
    SetTimer(hwnd(), kCheckTimer, kCheckMs, nullptr);
    return true;
}

void VideoHost::Leave() {
    video_ = nullptr;
    KillTimer(hwnd(), kCheckTimer);
}

bool VideoHost::InPlace() const {
    if (!video_) return true;
    HWND parent = Parent();
    if (!IsWindow(video_) || !parent || !IsWindow(parent) || GetAncestor(video_, GA_PARENT) != parent) return false;
    if (!(ChooseVideoHost(ReadShellWindows(), true) == plan_)) return false;
    // Right behind the icon layer (or in front of the parent's other children).
    HWND prev = GetWindow(video_, GW_HWNDPREV);
    while (prev && !IsWindowVisible(prev)) prev = GetWindow(prev, GW_HWNDPREV);  // hidden ones show nothing
    if (prev != AsHwnd(plan_.behind)) return false;
    RECT video{}, want = Rect();
    GetWindowRect(video_, &video);
    return video.right - video.left == want.right && video.bottom - video.top == want.bottom;
}

void VideoHost::Check() {
    if (!video_ || InPlace()) return;
    Log("The shell's windows changed: the video goes back behind the icons");
    KillTimer(hwnd(), kCheckTimer);
    video_ = nullptr;
    if (onHostChanged) onHostChanged();
}

LRESULT VideoHost::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kCheckTimer) return Check(), 0;
    if (msg == taskbarCreated_ && taskbarCreated_) return Check(), 0;
    return Default(msg, wp, lp);
}

}  // namespace orv
