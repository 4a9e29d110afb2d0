// The desktop video on the stand pauses while another program's window covers the screen.
#include <gtest/gtest.h>

#include "common/test_files.h"
#include "video/win/desktop_video_win.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

struct NoLook final : LookOps {
    std::uint32_t GetBackgroundColor() override { return 0; }
    std::string RegGetString(const std::string&, const std::string&) override { return {}; }
    bool ShellCopyFiles(const std::string&, const std::string&) override { return true; }
    void RequestLook(const LookRequest&) override {}
    bool LookShown() override { return true; }
};

// Faults: a maximise or a restore going unseen (Wine reports no window events: the look once a
// second missing), windows of other threads not read, a minimised window still covering, the
// pause or the resume not reaching the device, the change not handed to the player.
TEST(CoverWatch, AnotherThreadsWindowMaximisedPausesTheVideoAndRestoredOrMinimisedResumesIt) {
    NoLook look;
    test::TempFolder t;
    test::WriteFile(t.path() / "cubeturn2.avi", test::ReadFile(ORV_SOURCE_DIR "/res/videos/cubeturn2.avi"));
    VideoOptions options{};
    options[3] = {true, false, true, t / "cubeturn2.avi"};
    auto video = DesktopVideoWin::Create(look, options);
    ASSERT_TRUE(video);
    test::ForeignWindows other({{L"orv cover", SW_SHOWNORMAL}});
    video->Video().PlayDesktopVideo(3);
    auto mode = [&] {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);  // the events come as messages
        std::string answer;
        Win32MediaControl().SendString("status MYVIDPLAYER mode", 256, answer);
        return TrimAtNull(answer);
    };
    for (auto [show, want] : {std::pair{SW_SHOWNORMAL, "playing"}, {SW_MAXIMIZE, "paused"}, {SW_RESTORE, "playing"},
                              {SW_MAXIMIZE, "paused"}, {SW_MINIMIZE, "playing"}}) {
        ShowWindow(other.windows[0], show);
        EXPECT_TRUE(test::WaitFor([&] { return mode() == want; }, 3000)) << show << ": " << mode();
    }
    video->Video().StopDesktopVideo();
}

}  // namespace
}  // namespace orv
