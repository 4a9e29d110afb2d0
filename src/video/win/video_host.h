// The desktop video's host on the running shell: the window the media device's video window
// is a child of, its rectangle, and a watch that tells when the shell has re-created its
// windows (after Explorer restarts, or when a wallpaper change makes it rebuild them).
//
//   host->Arrange();                      // before opening the device
//   open ... parent <host->Parent()> style child; put ... window at <host->Rect()>
//   host->Place(videoWindow);             // z-order behind the icons; starts the watch
//   host->onHostChanged = [&] { host->Arrange(); host->Place(videoWindow); };
//       (a video window destroyed with its old parent: open the device again first)
//   host->Leave();                        // after closing the device
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/win/window_base.h"
#include "video/video_host.h"

namespace orv {

// The shell's windows as ChooseVideoHost reads them: the top-level "Progman" and "WorkerW"
// windows in z-order, each with its direct children.
std::vector<ShellWindow> ReadShellWindows();

class VideoHost final : public Window {
public:
    // Null when its (hidden) window cannot be made.
    static std::unique_ptr<VideoHost> Create();
    ~VideoHost() override;

    // Finds the host, asking the shell for its icon layer when it has not split it off yet.
    // False when there is no shell window to play in.
    bool Arrange();
    const VideoHostPlan& Plan() const { return plan_; }
    // The video window's parent (null: none) and its rectangle there (0, 0, width, height).
    HWND Parent() const;
    RECT Rect() const;

    // Puts the video window into the host: parent, rectangle, right behind the icon layer;
    // then checks every second, and when the taskbar is re-created, that it stays there.
    bool Place(HWND video);
    // The video is gone: no more checks.
    void Leave();
    // The host is still the one the shell offers and the video sits where it was put.
    bool InPlace() const;
    // Runs once when a check finds the video out of place (Place starts the checks again).
    std::function<void()> onHostChanged;

private:
    VideoHost();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void Check();

    VideoHostPlan plan_;
    HWND video_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace orv
