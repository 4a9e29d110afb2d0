// The desktop's video on Windows: the player over the media control interface (run by a
// MediaProcess), playing in the VideoHost behind the icons on the flat backdrop. A hidden window of its own receives the
// device's end-of-play notifications (so a video whose desktop asks for repeat plays again on
// every device) and looks at the device's mode once a second while a video runs. While a
// video runs, a CoverWatch pauses it when a window covers its monitor and resumes it after.
//
//   auto video = DesktopVideoWin::Create(lookOps, videoOptions, exe);   // null: no window
//   DeskManagerDeps{..., video ? video->Video() : noVideo, ...}
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/window_base.h"
#include "video/desktop_video.h"
#include "video/win/cover_watch.h"
#include "video/win/media_process.h"
#include "video/win/video_host.h"

namespace orv {

class Win32VideoStage final : public VideoStage {
public:
    Win32VideoStage(VideoHost& host, CoverWatch& cover, LookOps& look, const MediaProcess& media)
        : host_(host), cover_(cover), look_(look), media_(media) {}
    MciWindow Arrange() override;
    bool Place(MciWindow video) override;
    bool WatchCover() override { return cover_.Start(host_.Parent()); }
    void Leave() override { host_.Leave(), cover_.Stop(); }
    void PrepareBackdrop() override;
    void RepaintDesktop() override { InvalidateRect(nullptr, nullptr, TRUE); }
    bool PathExists(const std::string& file) override;
    void Busy(bool on) override;

private:
    HWND FindVideoWindow() const;

    VideoHost& host_;
    CoverWatch& cover_;
    LookOps& look_;
    const MediaProcess& media_;
};

class DesktopVideoWin final : public Window {
public:
    // Null when its windows cannot be made. mediaExe: the program file that runs the device
    // in a process of its own (MediaProcess).
    static std::unique_ptr<DesktopVideoWin> Create(LookOps& look, const VideoOptions& options, std::wstring mediaExe);
    ~DesktopVideoWin() override;

    DesktopVideoPlayer& Video() { return *player_; }
    VideoHost& Host() { return *host_; }
    CoverWatch& Cover() { return *cover_; }
    MediaProcess& Media() { return *media_; }

private:
    DesktopVideoWin() = default;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    std::unique_ptr<MediaProcess> media_;
    std::unique_ptr<VideoHost> host_;
    std::unique_ptr<CoverWatch> cover_;
    std::unique_ptr<Win32VideoStage> stage_;
    std::unique_ptr<DesktopVideoPlayer> player_;
};

}  // namespace orv
