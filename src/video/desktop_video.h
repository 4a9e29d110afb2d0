// The desktop's video: the one player that plays a desktop's video file behind the icons on
// the flat backdrop, started and stopped by the desktop switch. The window it plays in, the
// backdrop and the file test sit behind VideoStage; the player's commands behind
// MediaControlPort. Beyond the device's own repeat flag, a video that ends while its desktop
// asks for repeat is played again from the start (not every device loops by itself). While a
// window covers the whole monitor the video pauses, and it resumes when uncovered; a video
// paused that way is never taken for one at its end, and its pause ends with it.
#pragma once

#include <memory>
#include <string>

#include "app/desk_manager.h"
#include "video/orvanta_class.h"
#include "video/video_options.h"

namespace orv {

// Where the video plays and what surrounds it.
class VideoStage {
public:
    virtual ~VideoStage() = default;
    // Finds the window the video plays in (asking the shell for it when needed); 0: none.
    virtual MciWindow Arrange() = 0;
    // Puts the device's video window into that window, behind the icons; 0: the device did
    // not say which window is its own, the stage finds it. False when there is none.
    virtual bool Place(MciWindow video) = 0;
    // Starts watching whether a window covers the video's monitor: changes are told to the
    // player (SetCovered) later. True when one covers it already.
    virtual bool WatchCover() = 0;
    // The video is closed: stop watching the host and the windows over it.
    virtual void Leave() = 0;
    // The flat colour, no wallpaper.
    virtual void PrepareBackdrop() = 0;
    virtual void RepaintDesktop() = 0;
    virtual bool PathExists(const std::string& file) = 0;
    virtual void Busy(bool on) = 0;  // the hourglass while a video opens
};

class DesktopVideoPlayer final : public DesktopVideo {
public:
    DesktopVideoPlayer(MediaControlPort& port, VideoStage& stage, const VideoOptions& options);

    // The switch's side: desk's record decides.
    bool VideoRunning() const override { return running_; }
    void StopDesktopVideo() override;
    bool VideoOn(int desk) const override;
    void PlayDesktopVideo(int desk) override;
    // Shutdown: stops and closes the video, shows the host window, releases the player.
    void ReleaseVideo() override;

    // Starts file as the video wallpaper; a missing file changes nothing.
    void PlayDesktopVideo(const std::string& file, bool sound, bool repeat);
    void PrepareVideoBackdrop();
    bool VideoBackdropSet() const { return backdropSet_; }

    // The device says the video played to its end (its "successful" notification).
    void OnVideoEnded();
    // A periodic look at the device's mode, for devices that do not notify.
    void CheckMode();
    // The shell re-made the host: put the video back, opening it again when its window went
    // with the old host.
    void OnHostChanged();
    // A window came to cover the video's monitor (pause), or the last one left it (resume).
    void SetCovered(bool covered);

    const OrvantaClass* Player() const { return player_.get(); }

private:
    static constexpr int kOpenTries = 3;  // a video whose host is re-made while it opens
    OrvantaClass& EnsurePlayer();
    bool PlaceVideo();

    MediaControlPort& port_;
    VideoStage& stage_;
    const VideoOptions& options_;
    std::unique_ptr<OrvantaClass> player_;
    bool running_ = false;
    bool backdropSet_ = false;
    bool coverPaused_ = false;  // paused by SetCovered, not by anyone else
    // What plays now, for looping and re-opening.
    std::string file_;
    bool sound_ = false, repeat_ = false;
};

}  // namespace orv
