// The desktop's video on the stand: a sample AVI behind the stand-in's icons, and no device left open.
#include <gtest/gtest.h>

#include <tuple>

#include "common/test_files.h"
#include "video/win/desktop_video_win.h"

namespace orv {
namespace {
using namespace std::string_literals;

// Wine's media layer opens AVI files with its "AVIVideo" device only ("MPEGVideo" needs GStreamer).
struct AviPort final : MediaControlPort {
    std::uint32_t SendString(const std::string& c, std::size_t n, std::string& answer) override {
        std::string command = c;
        if (auto at = command.find(" type MPEGVideo "); at != std::string::npos) command.replace(at, 16, " type AVIVideo  ");
        return mci.SendString(command, n, answer);
    }
    std::string ErrorString(std::uint32_t code, std::size_t n) override { return mci.ErrorString(code, n); }
    ShortPathResult ShortPath(const std::string& p, std::size_t n) override { return mci.ShortPath(p, n); }
    MciRect WindowRect(MciWindow w) override { return mci.WindowRect(w); }
    MciWindow FindWindowByTitle(const std::string& t) override { return mci.FindWindowByTitle(t); }
    void ShowWindow(MciWindow w, int cmd) override { mci.ShowWindow(w, cmd); }
    std::string Query(const std::string& c) { std::string a; return mci.SendString(c, 256, a) ? "closed"s : a.c_str(); }
    Win32MediaControl mci;
};

struct Looks final : LookOps {
    std::uint32_t GetBackgroundColor() override { return 0; }
    std::string RegGetString(const std::string&, const std::string&) override { return ""; }
    bool ShellCopyFiles(const std::string&, const std::string&) override { return false; }
    void RequestLook(const LookRequest& look) override { ++count, colour = look.colour; }
    bool LookShown() override { return true; }
    int count = 0;
    std::uint32_t colour = 0;
};

void Pump(DWORD ms) {
    for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end; Sleep(10))
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
}

// Faults: the video window left where the device opened it (not in the host behind the icons), the backdrop not
// requested or requested twice, the notification request breaking the play command, a stop or the shutdown
// leaving the device open under its alias.
TEST(DesktopVideoWin, PlaysASampleBehindTheIconsAndLeavesNoDeviceOpen) {
    test::TempFolder t;
    test::WriteFile(t.path() / "cubeturn2.avi", test::ReadFile(ORV_SOURCE_DIR "/res/videos/cubeturn2.avi"));
    VideoOptions options{};
    options[3] = {true, false, true, t / "cubeturn2.avi"};
    AviPort avi;
    Looks looks;
    auto video = DesktopVideoWin::Create(looks, options, &avi);
    ASSERT_TRUE(video);
    for (int round = 0; round < 2; ++round) {
        video->Video().PlayDesktopVideo(3);
        Pump(500);
        HWND window = MciHwnd(std::atoi(avi.Query("status MYVIDPLAYER window handle").c_str()));
        EXPECT_EQ(std::tuple(video->Video().VideoRunning(), avi.Query("status MYVIDPLAYER mode"), GetParent(window) == video->Host().Parent(),
                             video->Host().Parent() != nullptr, video->Host().InPlace(), looks.count, looks.colour),
                  std::tuple(true, "playing"s, true, true, true, round + 1, kVideoBackdropColour)) << round;
        if (round == 0) video->Video().StopDesktopVideo();
        else video.reset();  // shutdown while it plays
        EXPECT_EQ(avi.Query("status MYVIDPLAYER mode"), "closed") << round;
    }
}

}  // namespace
}  // namespace orv
