// The desktop's video on Windows: the player over the media control interface, playing in
// the VideoHost behind the icons on the flat backdrop. A hidden window of its own receives the
// device's end-of-play notifications (so a video whose desktop asks for repeat plays again on
// every device) and looks at the device's mode once a second while a video runs. While a
// video runs, a CoverWatch pauses it when a window covers its monitor and resumes it after.
//
//   auto video = DesktopVideoWin::Create(lookOps, videoOptions);   // null: no window
//   DeskManagerDeps{..., video ? video->Video() : noVideo, ...}
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/window_base.h"
#include "video/desktop_video.h"
#include "video/win/cover_watch.h"
#include "video/win/mci_port.h"
#include "video/win/video_host.h"

namespace orv {

// A media port whose play commands ask for a notification to `notify`.
class NotifyingMediaControl final : public MediaControlPort {
public:
    explicit NotifyingMediaControl(MediaControlPort& inner) : mci_(inner) {}
    std::uint32_t SendString(const std::string& command, std::size_t answerChars, std::string& answer) override;
    std::string ErrorString(std::uint32_t code, std::size_t n) override { return mci_.ErrorString(code, n); }
    ShortPathResult ShortPath(const std::string& path, std::size_t n) override { return mci_.ShortPath(path, n); }
    MciRect WindowRect(MciWindow window) override { return mci_.WindowRect(window); }
    MciWindow FindWindowByTitle(const std::string& title) override { return mci_.FindWindowByTitle(title); }
    void ShowWindow(MciWindow window, int showCmd) override { mci_.ShowWindow(window, showCmd); }
    HWND notify = nullptr;

private:
    MediaControlPort& mci_;
};

class Win32VideoStage final : public VideoStage {
public:
    Win32VideoStage(VideoHost& host, CoverWatch& cover, LookOps& look) : host_(host), cover_(cover), look_(look) {}
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
};

class DesktopVideoWin final : public Window {
public:
    // Null when its windows cannot be made. media: the device's port (null: the system's).
    static std::unique_ptr<DesktopVideoWin> Create(LookOps& look, const VideoOptions& options,
                                                   MediaControlPort* media = nullptr);
    ~DesktopVideoWin() override;

    DesktopVideoPlayer& Video() { return *player_; }
    VideoHost& Host() { return *host_; }
    CoverWatch& Cover() { return *cover_; }

private:
    DesktopVideoWin() = default;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    Win32MediaControl system_;
    std::unique_ptr<NotifyingMediaControl> port_;
    std::unique_ptr<VideoHost> host_;
    std::unique_ptr<CoverWatch> cover_;
    std::unique_ptr<Win32VideoStage> stage_;
    std::unique_ptr<DesktopVideoPlayer> player_;
};

}  // namespace orv
