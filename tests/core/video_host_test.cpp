#include "video/video_host.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace orv {
namespace {

using K = VideoHostKind;
using Tree = std::vector<ShellWindow>;

ShellWindow W(ShellWindowId id, const char* cls, std::vector<ShellWindow> children = {}) {
    return {id, cls, std::move(children)};
}
const ShellWindow kView = W(9, kIconViewClass, {W(10, "SysListView32")});

// Faults: the video put into the icons' own window (over the icons), into the first
// "WorkerW" in z-order rather than the one behind the icons, in front of the icon layer
// (0 as "behind"), into the wrong child of "Progman", or the shell not asked when it has not
// split off its icon layer yet.
TEST(VideoHost, ChoosesTheWindowBehindTheIcons) {
    struct Case { const char* name; Tree tree; bool asked; VideoHostPlan want; };
    const Case cases[] = {
        {"no shell", {W(1, "Notepad")}, true, {K::None, 0, 0}},
        {"icons still in Progman, not asked", {W(1, "Notepad"), W(2, kProgmanClass, {kView})}, false,
         {K::AskShell, 2, 0}},
        {"icons still in Progman, asked", {W(2, kProgmanClass, {kView})}, true, {K::Progman, 2, 9}},
        {"no icon layer at all, asked", {W(2, kProgmanClass)}, true, {K::Progman, 2, 0}},
        {"icons' WorkerW and the empty one",
         {W(5, kWorkerClass, {kView}), W(6, kWorkerClass), W(2, kProgmanClass)}, false,
         {K::BehindIconWorker, 6, 0}},
        {"an unrelated WorkerW in front, another window between",
         {W(4, kWorkerClass), W(5, kWorkerClass, {kView}), W(7, "Shell_TrayWnd"), W(6, kWorkerClass),
          W(2, kProgmanClass)},
         true, {K::BehindIconWorker, 6, 0}},
        {"icons' WorkerW, none behind", {W(4, kWorkerClass), W(5, kWorkerClass, {kView}), W(2, kProgmanClass)}, true,
         {K::Progman, 2, 0}},
        {"layer and WorkerW inside Progman", {W(2, kProgmanClass, {kView, W(8, kWorkerClass)})}, false,
         {K::InsideProgman, 2, 9}},
        {"inside Progman, WorkerW in front", {W(2, kProgmanClass, {W(8, kWorkerClass), kView})}, true,
         {K::InsideProgman, 2, 9}},
    };
    for (const Case& c : cases) {
        const VideoHostPlan got = ChooseVideoHost(c.tree, c.asked);
        EXPECT_EQ(got, c.want) << c.name << ": got " << VideoHostKindName(got.kind) << " " << got.parent << " "
                               << got.behind;
    }
}

// Faults: a colour other than RGB(16, 0, 16) (black, or red and blue bytes mixed up with
// green), the old wallpaper left, or the wallpaper's style changed with it.
TEST(VideoHost, BackdropIsTheFlatColourWithoutWallpaper) {
    test::FakeSystem sys;
    sys.reg = {{"Wallpaper", "C:\\w.bmp"}, {"WallpaperStyle", "2"}, {"TileWallpaper", "0"}};
    PrepareVideoBackdrop(sys);
    EXPECT_EQ(sys.journal, (test::Journal{"colour 1048592", "wallpaper "}));
}

}  // namespace
}  // namespace orv
