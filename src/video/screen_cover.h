// Whether a window hides the desktop video: one top-level window that covers the whole of
// the monitor's work area (maximised, with its borders off the screen, or full-screen over
// the taskbar too). Two windows that cover it only together do not count: such a screen is
// rare, and a rule over unions of rectangles is not worth its cost here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct CoverRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A top-level window as the rule reads it, whatever its process.
struct CoverWindow {
    std::string className;
    CoverRect rect;
    bool visible = false;
    bool minimised = false;
    bool cloaked = false;      // kept off the screen by the window manager (another virtual desktop, a suspended app)
    bool seeThrough = false;   // layered and click-through: an overlay that shows what lies under it
    bool ours = false;         // a window of this program
    bool toolWindow = false;
};

// The window can hide the video at all: shown, not minimised or cloaked, not one of the
// shell's own ("Progman", "WorkerW", the taskbars), not a see-through overlay, not a tool
// window of ours such as the bar.
bool MayCoverVideo(const CoverWindow& w);
// Some window that may cover the video covers every pixel of area (an empty area: none).
bool CoversArea(const std::vector<CoverWindow>& windows, const CoverRect& area);

}  // namespace orv
