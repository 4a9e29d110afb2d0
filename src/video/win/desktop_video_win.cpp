#include "video/win/desktop_video_win.h"

#include <mmsystem.h>

#include "base/win/utf.h"

namespace orv {
namespace {

constexpr wchar_t kVideoClass[] = L"OrvantaDesktopVideo";
constexpr UINT_PTR kModeTimer = 1;
constexpr UINT kModeMs = 1000;

}  // namespace

MciWindow Win32VideoStage::Arrange() {
    host_.Arrange();
    return ToMciWindow(host_.Parent());
}

// A device that does not report its window (Wine's "MPEGVideo") made it in the host all the
// same: the host's visible child of the media process is the one.
HWND Win32VideoStage::FindVideoWindow() const {
    struct Find { DWORD pid; HWND found; } f{media_.ProcessId(), nullptr};
    if (HWND host = host_.Parent())
        EnumChildWindows(host, [](HWND w, LPARAM lp) {
            auto& f = *reinterpret_cast<Find*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (!f.pid || pid != f.pid || !IsWindowVisible(w)) return TRUE;
            f.found = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

bool Win32VideoStage::Place(MciWindow video) {
    HWND w = video ? MciHwnd(video) : FindVideoWindow();
    return IsWindow(w) && host_.Place(w);
}

void Win32VideoStage::PrepareBackdrop() { PrepareVideoBackdrop(look_); }

bool Win32VideoStage::PathExists(const std::string& file) {
    return GetFileAttributesW(Widen(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32VideoStage::Busy(bool on) { SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

std::unique_ptr<DesktopVideoWin> DesktopVideoWin::Create(LookOps& look, const VideoOptions& options,
                                                         std::wstring mediaExe) {
    std::unique_ptr<DesktopVideoWin> video(new DesktopVideoWin());
    video->host_ = VideoHost::Create();
    video->cover_ = CoverWatch::Create();
    video->media_ = MediaProcess::Create(std::move(mediaExe));
    if (!video->host_ || !video->cover_ || !video->media_ || !RegisterClassOnce(kVideoClass) ||
        !video->Window::Create(kVideoClass, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
        return nullptr;
    video->media_->notify = video->hwnd();
    video->stage_ = std::make_unique<Win32VideoStage>(*video->host_, *video->cover_, look, *video->media_);
    video->player_ = std::make_unique<DesktopVideoPlayer>(*video->media_, *video->stage_, options);
    DesktopVideoPlayer* player = video->player_.get();
    video->host_->onHostChanged = [player] { player->OnHostChanged(); };
    video->cover_->onChange = [player](bool covered) { player->SetCovered(covered); };
    SetTimer(video->hwnd(), kModeTimer, kModeMs, nullptr);
    return video;
}

DesktopVideoWin::~DesktopVideoWin() {
    if (hwnd()) KillTimer(hwnd(), kModeTimer);
    if (player_) player_->ReleaseVideo();  // no device stays open
    if (host_) host_->onHostChanged = nullptr;
    if (cover_) cover_->onChange = nullptr;
}

LRESULT DesktopVideoWin::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MCINOTIFY) {
        // A play that a seek or another play cut short may report success too: the mode tells.
        if (wp == MCI_NOTIFY_SUCCESSFUL && player_) player_->CheckMode();
        return 0;
    }
    if (msg == WM_TIMER && wp == kModeTimer) {
        if (player_) player_->CheckMode();
        return 0;
    }
    return Window::OnMessage(msg, wp, lp);
}

}  // namespace orv
