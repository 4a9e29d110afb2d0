// The desktop's video as the switch drives it: every command, backdrop and host call in order.
#include <gtest/gtest.h>
#include <functional>
#include <map>

#include "video/desktop_video.h"
#include "video/screen_cover.h"

namespace orv {
namespace {

// Port and stage write one log: commands ("command|buffer size" when an answer is wanted) and the stage's calls.
struct Rig final : MediaControlPort, VideoStage {
    std::uint32_t SendString(const std::string& c, std::size_t n, std::string& answer) override {
        const bool field = c.rfind("open C", 0) == 0;  // padded to 255 characters: logged without its blanks
        log += (field && c.size() == 255 ? c.substr(0, c.find_last_not_of(' ') + 1) : c) + (n ? "|" + std::to_string(n) : "") + "\n";
        if (n) answer = answers[c] + std::string(n, '\0');
        return field && c.find("BAD") != std::string::npos ? 263 : 0;
    }
    ShortPathResult ShortPath(const std::string& p, std::size_t) override { return {static_cast<std::uint32_t>(p.size()), p}; }
    std::string ErrorString(std::uint32_t, std::size_t) override { return "err"; }
    MciRect WindowRect(MciWindow) override { return {0, 0, 800, 600}; }
    MciWindow FindWindowByTitle(const std::string&) override { return log += "find\n", 9; }
    void ShowWindow(MciWindow w, int cmd) override { log += "show " + std::to_string(w) + " " + std::to_string(cmd) + "\n"; }
    MciWindow Arrange() override {
        log += "arrange\n";
        if (hosts.empty()) return 5;
        const MciWindow h = hosts.front();
        return hosts.erase(hosts.begin()), h;
    }
    bool Place(MciWindow v) override { return log += "place " + std::to_string(v) + "\n", windowAlive && placeFails-- <= 0; }
    bool WatchCover() override { return log += "watch\n", CoversArea(windows, {0, 0, 1024, 738}); }
    void Leave() override { log += "leave\n"; }
    void PrepareBackdrop() override { log += "backdrop\n"; }
    void RepaintDesktop() override { log += "repaint\n"; }
    bool PathExists(const std::string& f) override { return f.find("gone") == std::string::npos; }
    void Busy(bool on) override { log += on ? "busy\n" : "idle\n"; }
    std::string log;
    bool windowAlive = true;
    int placeFails = 0;               // the first Place calls that find no window (its host went)
    std::vector<MciWindow> hosts;     // what Arrange answers, then 5
    std::vector<CoverWindow> windows;  // on the screen, over a work area of 1024x738
    std::map<std::string, std::string> answers{{"status MYVIDPLAYER window handle", "321"}, {"status MYVIDPLAYER mode", "playing"}};
};

const std::string kOpen = "open C:\\v\\", kOpened = " Alias MYVIDPLAYER parent 5 Style 1073741824\nset MYVIDPLAYER time format milliseconds\n"
                                                  "status MYVIDPLAYER length|256\nput MYVIDPLAYER window at 0 0 800 600\n",
                  kPlaced = "status MYVIDPLAYER window handle|256\nplace 321\nrepaint\nidle\nwatch\n",
                  kCd = "open  Type cdaudio alias MYVIDPLAYER wait shareable\n",
                  kStop = kCd + "stop MYVIDPLAYER\n" + kCd + "close MYVIDPLAYER\nleave\n",
                  kLoop = kCd + "set MYVIDPLAYER time format ms|128\nseek MYVIDPLAYER to 0\nplay MYVIDPLAYER from 0\n",
                  kPlay2 = "busy\nbackdrop\narrange\n" + kOpen + "a.wmv type MPEGVideo" + kOpened + "play MYVIDPLAYER repeat \nset MYVIDPLAYER audio all on\n" + kPlaced,
                  kPlay3 = "busy\nbackdrop\narrange\n" + kOpen + "c.avi type MPEGVideo" + kOpened + "play MYVIDPLAYER\nset MYVIDPLAYER audio all off\n" + kPlaced;

// A play whose window was not found in the host: the host is asked for again.
std::string PlaceFailed(std::string log) { return log.replace(log.find("place 321\n"), 10, "place 321\narrange\n"); }
// The opening of kPlay2 in host h, up to its window's handle.
std::string Opened2(int h) {
    std::string o = kOpen + "a.wmv type MPEGVideo" + kOpened + "play MYVIDPLAYER repeat \nset MYVIDPLAYER audio all on\nstatus MYVIDPLAYER window handle|256\nplace 321\n";
    return o.replace(o.find("parent 5"), 8, "parent " + std::to_string(h));
}
const std::string kClose = kCd + "stop MYVIDPLAYER\n" + kCd + "close MYVIDPLAYER\n";

const VideoOptions kOptions{{{}, {}, {true, true, true, "C:\\v\\a.wmv"}, {true, false, false, "C:\\v\\c.avi"}, {true, false, true, "C:\\v\\gone.avi"},
                            {false, false, true, ""}, {true, false, true, "C:\\v\\BAD.avi"}}};

// Faults: a step out of order, the backdrop prepared on every start or not again after a stop, the sound or repeat
// flag ignored or inverted, VideoRunning / VideoBackdropSet not set or not cleared, a missing or empty file touching
// the backdrop or the device, stop sent without close or when nothing plays, a video looped without repeat, when
// the device still plays or after it was stopped, the host change not re-placing the video or not re-opening it
// when its window went, shutdown leaving a device open or the host window hidden, a failed open placing a window; a
// video whose host was re-made while it opened left without a window (not opened again in the new host, or opened
// again without closing, or again and again without end).
TEST(DesktopVideo, PlaysStopsLoopsAndFollowsTheHost) {
    using P = DesktopVideoPlayer;
    struct Row { const char* name; std::function<void(P&, Rig&)> run; std::string log, state; } rows[] = {
        {"play", [](P& v, Rig&) { v.PlayDesktopVideo(2); }, kPlay2, "R1B1"},
        {"play, stop", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.StopDesktopVideo(); }, kPlay2 + kStop, "R0B0"},
        {"two video desktops in a row", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.StopDesktopVideo(), v.PlayDesktopVideo(3); }, kPlay2 + kStop + kPlay3, "R1B1"},
        {"stop with nothing playing", [](P& v, Rig&) { v.StopDesktopVideo(); }, "", "R0B0"},
        {"missing and empty files", [](P& v, Rig&) { v.PlayDesktopVideo(4), v.PlayDesktopVideo(5), v.PlayDesktopVideo(0); }, "", "R0B0"},
        {"missing file after a stop keeps the backdrop", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.StopDesktopVideo(), v.PlayDesktopVideo(4); }, kPlay2 + kStop, "R0B0"},
        {"end loops with repeat", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.OnVideoEnded(); }, kPlay2 + kLoop, "R1B1"},
        {"end without repeat, end after stop", [](P& v, Rig&) { v.PlayDesktopVideo(3), v.OnVideoEnded(), v.StopDesktopVideo(), v.OnVideoEnded(); }, kPlay3 + kStop, "R0B0"},
        {"mode playing, then stopped", [](P& v, Rig& r) { v.PlayDesktopVideo(2), v.CheckMode(), r.answers["status MYVIDPLAYER mode"] = "stopped", v.CheckMode(); },
         kPlay2 + "status MYVIDPLAYER mode|256\nstatus MYVIDPLAYER mode|256\n" + kLoop, "R1B1"},
        {"mode of a video without repeat", [](P& v, Rig& r) { r.answers["status MYVIDPLAYER mode"] = "stopped", v.PlayDesktopVideo(3), v.CheckMode(); }, kPlay3, "R1B1"},
        {"host changed", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.OnHostChanged(); }, kPlay2 + "arrange\nstatus MYVIDPLAYER window handle|256\nplace 321\n", "R1B1"},
        {"host changed, window gone", [](P& v, Rig& r) { v.PlayDesktopVideo(2), r.windowAlive = false, v.OnHostChanged(); },
         kPlay2 + "arrange\nstatus MYVIDPLAYER window handle|256\nplace 321\n" + kStop + "busy\n" + PlaceFailed(kPlay2.substr(14)), "R1B1"},
        {"host re-made while it opens", [](P& v, Rig& r) { r.hosts = {5, 6}, r.placeFails = 1, v.PlayDesktopVideo(2); },
         "busy\nbackdrop\narrange\n" + Opened2(5) + "arrange\n" + kClose + Opened2(6) + kPlaced.substr(kPlaced.find("repaint")), "R1B1"},
        {"host re-made at every open", [](P& v, Rig& r) { r.hosts = {5, 6, 7, 8}, r.placeFails = 9, v.PlayDesktopVideo(2); },
         "busy\nbackdrop\narrange\n" + Opened2(5) + "arrange\n" + kClose + Opened2(6) + "arrange\n" + kClose + Opened2(7) +
         kPlaced.substr(kPlaced.find("repaint")), "R1B1"},
        {"desktops with a video", [](P& v, Rig& r) { r.log = std::to_string(v.VideoOn(2)) + std::to_string(v.VideoOn(5)) + std::to_string(v.VideoOn(7)); }, "100", "R0B0"},
        {"host changed, nothing playing", [](P& v, Rig&) { v.OnHostChanged(); }, "", "R0B0"},
        {"shutdown while playing", [](P& v, Rig&) { v.PlayDesktopVideo(2), v.ReleaseVideo(), v.ReleaseVideo(); }, kPlay2 + kStop + "show 5 5\n", "R0B0"},
        {"failed open", [](P& v, Rig& r) { r.answers.clear(), v.PlayDesktopVideo(6), v.StopDesktopVideo(); },
         "busy\nbackdrop\narrange\n" + kOpen + "BAD.avi type MPEGVideo" + kOpened + "play MYVIDPLAYER repeat \nset MYVIDPLAYER audio all off\n"
         "status MYVIDPLAYER window handle|256\nplace 0\nrepaint\nidle\nwatch\n" + kStop, "R0B0"},
    };
    for (const Row& row : rows) {
        Rig rig;
        P video(rig, rig, kOptions);
        row.run(video, rig);
        EXPECT_EQ(rig.log, row.log) << row.name;
        EXPECT_EQ("R" + std::to_string(video.VideoRunning()) + "B" + std::to_string(video.VideoBackdropSet()), row.state) << row.name;
    }
}

// Faults: a window one pixel short of the work area (on any side) taken as covering it; a hidden, minimised, cloaked or
// see-through window, a window of the shell or a tool window of ours (the bar) counted; another program's tool window
// not counted; no pause when covered or when a video starts covered; a pause sent twice; no resume; a resume sent to a
// stopped video; the loop or the mode check restarting a covered video; the pause leaking into the next video (no
// loop, a resume of a pause it never had); a video re-opened for a new shell playing while covered.
TEST(DesktopVideo, PausesWhileAWindowCoversTheMonitor) {
    using P = DesktopVideoPlayer;
    const std::string kPause = kCd + "pause MYVIDPLAYER wait\n", kResume = kCd + "resume MYVIDPLAYER\n";
    auto at = [](CoverRect r, const char* cls = "Notepad", int flags = 0) {  // flags: 1 hidden 2 min 4 cloaked 8 see-through 16 ours 32 tool
        return CoverWindow{cls, r, !(flags & 1), (flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0, (flags & 16) != 0, (flags & 32) != 0};
    };
    const CoverRect kFull{0, 0, 1024, 768};
    auto play = [](P& v, Rig&) { v.PlayDesktopVideo(2); };
    struct Row { const char* name; std::vector<CoverWindow> windows; std::function<void(P&, Rig&)> run; std::string log; } rows[] = {
        {"maximised, borders off the screen", {at({-8, -8, 1032, 746})}, play, kPause},
        {"full screen, and the work area exactly", {at({0, 0, 1024, 738}), at(kFull)}, play, kPause},
        {"one pixel short on each side", {at({1, 0, 1024, 738}), at({0, 1, 1024, 738}), at({0, 0, 1023, 738}), at({0, 0, 1024, 737})}, play, ""},
        {"hidden, minimised, cloaked, see-through", {at(kFull, "A", 1), at(kFull, "A", 2), at(kFull, "A", 4), at(kFull, "A", 8)}, play, ""},
        {"the shell's windows, our bar", {at(kFull, "Progman"), at(kFull, "WorkerW"), at(kFull, "Shell_TrayWnd"), at(kFull, "Shell_SecondaryTrayWnd"), at(kFull, "Bar", 48)}, play, ""},
        {"another program's tool window", {at(kFull, "Tool", 32)}, play, kPause},
        {"covered twice, uncovered twice", {}, [](P& v, Rig&) { v.PlayDesktopVideo(2), v.SetCovered(true), v.SetCovered(true), v.SetCovered(false), v.SetCovered(false); }, kPause + kResume},
        {"uncovered after a stop", {}, [](P& v, Rig&) { v.PlayDesktopVideo(2), v.SetCovered(true), v.StopDesktopVideo(), v.SetCovered(false); }, kPause + kStop},
        {"end and mode while covered", {}, [](P& v, Rig& r) { v.PlayDesktopVideo(2), v.SetCovered(true), r.answers["status MYVIDPLAYER mode"] = "stopped", v.OnVideoEnded(), v.CheckMode(); }, kPause},
        {"next video after a covered one", {}, [](P& v, Rig&) { v.PlayDesktopVideo(2), v.SetCovered(true), v.StopDesktopVideo(), v.PlayDesktopVideo(2), v.SetCovered(false), v.OnVideoEnded(); },
         kPause + kStop + kPlay2 + kLoop},
        {"started covered, uncovered", {at(kFull)}, [](P& v, Rig&) { v.PlayDesktopVideo(2), v.SetCovered(false); }, kPause + kResume},
        {"shell re-made while covered", {at(kFull)}, [](P& v, Rig& r) { v.PlayDesktopVideo(2), r.windowAlive = false, v.OnHostChanged(); },
         kPause + "arrange\nstatus MYVIDPLAYER window handle|256\nplace 321\n" + kStop + "busy\n" + PlaceFailed(kPlay2.substr(14)) + kPause},
        {"nothing playing", {}, [](P& v, Rig&) { v.SetCovered(true), v.SetCovered(false); }, "-"},
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.windows = row.windows;
        P video(rig, rig, kOptions);
        row.run(video, rig);
        EXPECT_EQ(rig.log, row.log == "-" ? "" : kPlay2 + row.log) << row.name;
    }
}

}  // namespace
}  // namespace orv
