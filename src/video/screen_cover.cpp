#include "video/screen_cover.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orv {

namespace {

constexpr std::array<std::string_view, 4> kShellClasses = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                           "Shell_SecondaryTrayWnd"};

}  // namespace

bool MayCoverVideo(const CoverWindow& w) {
    if (!w.visible || w.minimised || w.cloaked || w.seeThrough || (w.ours && w.toolWindow)) return false;
    return std::find(kShellClasses.begin(), kShellClasses.end(), w.className) == kShellClasses.end();
}

bool CoversArea(const std::vector<CoverWindow>& windows, const CoverRect& area) {
    if (area.right <= area.left || area.bottom <= area.top) return false;
    return std::any_of(windows.begin(), windows.end(), [&](const CoverWindow& w) {
        return MayCoverVideo(w) && w.rect.left <= area.left && w.rect.top <= area.top && w.rect.right >= area.right &&
               w.rect.bottom >= area.bottom;
    });
}

}  // namespace orv
