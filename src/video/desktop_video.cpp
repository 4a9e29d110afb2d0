#include "video/desktop_video.h"

#include <cstdlib>

namespace orv {

DesktopVideoPlayer::DesktopVideoPlayer(MediaControlPort& port, VideoStage& stage, const VideoOptions& options)
    : port_(port), stage_(stage), options_(options), player_(std::make_unique<OrvantaClass>(port)) {}

OrvantaClass& DesktopVideoPlayer::EnsurePlayer() {
    if (!player_) player_ = std::make_unique<OrvantaClass>(port_);
    return *player_;
}

bool DesktopVideoPlayer::VideoOn(int desk) const {
    return desk >= 1 && desk <= kVideoDesks && options_[static_cast<std::size_t>(desk)].on;
}

void DesktopVideoPlayer::PlayDesktopVideo(int desk) {
    if (desk < 1 || desk > kVideoDesks) return;
    const VideoOptionRecord& r = options_[static_cast<std::size_t>(desk)];
    PlayDesktopVideo(r.file, r.sound, r.repeat);
}

void DesktopVideoPlayer::PrepareVideoBackdrop() {
    stage_.PrepareBackdrop();
    backdropSet_ = true;
}

void DesktopVideoPlayer::PlayDesktopVideo(const std::string& file, bool sound, bool repeat) {
    OrvantaClass& player = EnsurePlayer();
    if (file.empty() || !stage_.PathExists(file)) return;
    stage_.Busy(true);
    player.SetFilename(file);
    if (!backdropSet_) PrepareVideoBackdrop();
    running_ = true;
    file_ = file, sound_ = sound, repeat_ = repeat;
    // The host is looked up at each start: the shell may have re-made it since. It may also
    // re-make it while the device opens, and the video's window goes with the old host: the
    // video is then opened again in the new one (a few times at most). A device that shows no
    // window (a MIDI file) finds the same host again and plays on.
    player.hwndParent = stage_.Arrange();
    for (int tries = 1;; ++tries) {
        player.PlayMEDIAFILE(0, repeat);
        player.SetAudioState(2, sound ? 0 : 1);
        if (PlaceVideo() || tries == kOpenTries) break;
        const MciWindow host = stage_.Arrange();
        if (host == player.hwndParent) break;
        player.setCommand(1), player.setCommand(5);
        player.hwndParent = host;
    }
    stage_.RepaintDesktop();
    stage_.Busy(false);
    SetCovered(stage_.WatchCover());  // a video started under a covering window pauses at once
}

// Not every device tells its window (0): the stage then looks for it in the host.
bool DesktopVideoPlayer::PlaceVideo() {
    return stage_.Place(static_cast<MciWindow>(std::atol(player_->getStatusInfo(7).c_str())));
}

void DesktopVideoPlayer::StopDesktopVideo() {
    running_ = coverPaused_ = false;
    if (player_ && player_->IsPlaying) {
        player_->setCommand(1);
        player_->setCommand(5);
        player_->IsPaused = false;  // closed: no pause outlives its device
        backdropSet_ = false;
        stage_.Leave();
    }
}

void DesktopVideoPlayer::ReleaseVideo() {
    StopDesktopVideo();
    if (!player_) return;
    player_->HideDesktop(false);
    player_.reset();
}

void DesktopVideoPlayer::OnVideoEnded() {
    if (!running_ || !repeat_ || !player_ || !player_->IsPlaying || player_->IsPaused) return;
    player_->setCommand(3, "", 0);  // from the start
}

void DesktopVideoPlayer::CheckMode() {
    if (!running_ || !repeat_ || !player_ || !player_->IsPlaying) return;
    if (player_->IsPaused) return;  // its mode says nothing new, and a hidden video costs nothing
    if (player_->getStatusInfo(2) == "stopped") OnVideoEnded();
}

void DesktopVideoPlayer::SetCovered(bool covered) {
    if (!running_ || !player_ || !player_->IsPlaying) return;
    if (covered && !player_->IsPaused) {
        player_->setCommand(6);
        coverPaused_ = true;
    } else if (!covered && coverPaused_) {
        coverPaused_ = false;
        player_->setCommand(7);
    }
}

void DesktopVideoPlayer::OnHostChanged() {
    if (!running_ || !player_ || !player_->IsPlaying) return;
    player_->hwndParent = stage_.Arrange();
    MciWindow video = static_cast<MciWindow>(std::atol(player_->getStatusInfo(7).c_str()));
    if (stage_.Place(video)) return;
    // Its window went with the old host: open it again in the new one.
    const std::string file = file_;
    const bool sound = sound_, repeat = repeat_, backdrop = backdropSet_;
    StopDesktopVideo();
    backdropSet_ = backdrop;  // the backdrop is still on the screen
    PlayDesktopVideo(file, sound, repeat);
}

}  // namespace orv
