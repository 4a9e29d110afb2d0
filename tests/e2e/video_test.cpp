// Desktops with a video, driven through the real exe: the video settings dialog from the bar
// and the tray, the switch, the dialog's apply step, the shell re-making its windows while a
// video plays, and quitting mid-video.
#include "e2e/driver.h"

#include <functional>
#include <regex>
#include <tuple>

#include "app/desktop_look.h"
#include "app/win/bar_ids.h"
#include "base/win/utf.h"
#include "settings/win/registry_mod.h"
#include "video/win/frm_video_options.h"

namespace orv::e2e {
namespace {

constexpr COLORREF kBackdrop = RGB(16, 0, 16);

// How many lines of the log match the pattern.
int Lines(const std::string& log, const char* pattern) {
    const std::regex re(pattern);
    return static_cast<int>(std::distance(std::sregex_iterator(log.begin(), log.end(), re), std::sregex_iterator()));
}
std::wstring EditText(HWND w) { wchar_t t[300] = {}; return SendMessageW(w, WM_GETTEXT, 300, LPARAM(t)), t; }  // another process's
bool Checked(HWND w) { return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }
HWND Row(HWND dlg, int desk, int id) { return GetDlgItem(GetDlgItem(dlg, kVidRow0 + desk - 1), id); }
HWND WaitDialog() {
    HWND dlg = nullptr;
    WaitUntil([&] { return (dlg = FindWindowW(kVideoOptionsClass, nullptr)) && IsWindowVisible(dlg); }, 5000);
    return dlg;
}

std::string Wallpaper() { return RegGetString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"); }

// The program's video window: a window of its media process inside one of the shell's windows.
HWND VideoWindow(DWORD programPid) {
    struct Find { DWORD pid; HWND found; } f{MediaProcessOf(programPid), nullptr};
    if (!f.pid) return nullptr;
    for (const wchar_t* cls : {L"Progman", L"WorkerW"})
        for (HWND top = FindWindowW(cls, nullptr); top && !f.found; top = FindWindowExW(nullptr, top, cls, nullptr))
            EnumChildWindows(top, [](HWND w, LPARAM lp) {
                auto& f = *reinterpret_cast<Find*>(lp);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner != f.pid || !IsWindowVisible(w)) return TRUE;
                f.found = w;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

// Faults: the first run's records not loaded (or not with the program's folder), the dialog
// not opening from the bar or the tray, the bar left hidden after it, the OK's change not kept
// in memory or not saved at exit, the close image keeping a change, desktop 1 given a record.
TEST_F(AppTest, VideoSettingsFromTheBarAndTheTrayKeepTheirChangeAndSaveItAtExit) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\CONFIG").c_str(), L"VideoDefault");  // a first run
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ClickControl(Bar(), kIdVideo));
    HWND dlg = nullptr;
    ASSERT_TRUE(dlg = WaitDialog());
    Settle(dlg), Shot("video", Rect(dlg));
    EXPECT_FALSE(IsWindowVisible(Bar()));
    EXPECT_EQ(EditText(Row(dlg, 2, kVoFile)), (BuildDir() / "Love.wmv").wstring());
    EXPECT_EQ(std::tuple(Checked(Row(dlg, 1, kVoOn)), Checked(Row(dlg, 3, kVoOn)), Checked(Row(dlg, 5, kVoOn))),
              std::tuple(false, true, false));
    ASSERT_TRUE(ClickControl(GetDlgItem(dlg, kVidRow0 + 4), kVoOn) && ClickControl(dlg, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg) && IsWindowVisible(Bar()); }, 5000));

    // "Video Settings", the tray menu's fourth item: the change is there; the close image.
    ASSERT_TRUE(ClickTrayIcon(true) && WaitUntil([] { return OpenMenu() != nullptr; }, 5000));
    TypeKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(dlg = WaitDialog());
    EXPECT_TRUE(Checked(Row(dlg, 5, kVoOn)));
    ASSERT_TRUE(ClickControl(GetDlgItem(dlg, kVidRow0 + 5), kVoOn) && ClickControl(dlg, kVidClose));  // a change the close image drops
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg) && IsWindowVisible(Bar()) && IsWindowEnabled(Bar()); }, 5000));
    Settle(Bar());

    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    EXPECT_EQ(std::tuple(Setting("CONFIG", "Video5On"), Setting("CONFIG", "Video6On"), Setting("CONFIG", "VideoDefault"),
                         Setting("CONFIG", "Video1On")),
              std::tuple(std::optional<std::string>("1"), std::optional<std::string>("1"), std::optional<std::string>("0"),
                         std::optional<std::string>("0")));
}

struct VideoTest : AppTest {
    // Desktops 3 and 4 play the sample AVIs, 5 a file that is not there, 6 one that is no video.
    void SetUp() override {
        AppTest::SetUp();
        const fs::path bad = PathFromUtf8(DataFolder()).parent_path() / "not a video.avi";
        fs::create_directories(bad.parent_path());
        test::WriteFile(bad, "RIFF, but nothing more");
        const std::pair<int, fs::path> files[] = {{3, BuildDir() / "cubeturn2.avi"}, {4, BuildDir() / "Spheres2.avi"},
                                                  {5, BuildDir() / "gone.avi"}, {6, bad}};
        for (const auto& [desk, file] : files) {
            const std::string n = "Video" + std::to_string(desk);
            SetSetting("CONFIG", (n + "On").c_str(), "1");
            SetSetting("CONFIG", (n + "Repeat").c_str(), "1");
            SetSetting("CONFIG", (n + "File").c_str(), Narrow(file.wstring()));
        }
    }
    HWND Video(DWORD ms = 5000) {
        HWND v = nullptr;
        WaitUntil([&] { return (v = VideoWindow(App().Pid())) != nullptr; }, ms);
        return v;
    }
};

// Faults: the video not played on entering, or played without the backdrop; the look of the
// desktop left saved while a video played (desktop 1's or 2's overwritten with the backdrop);
// a second video opened without closing the first; a missing file touching the background; a
// broken file showing a window or a message; the look not restored on leaving a video.
TEST_F(VideoTest, SwitchingThroughVideoDesktopsKeepsEveryLook) {
    SetSysColour(RGB(1, 2, 3));
    test::PlantTree(PathFromUtf8(DesktopFolder()), {{"Notes.txt", "n"}, {"Projects/plan.txt", "p"}});  // icons over the video
    ASSERT_TRUE(Start());
    ClickDesk(3);
    HWND v3 = Video();
    ASSERT_NE(v3, nullptr) << ReadLog();
    EXPECT_EQ(FreshSysColour(), kBackdrop);
    EXPECT_EQ(Wallpaper(), "");
    RECT host{};
    GetClientRect(GetParent(v3), &host);
    EXPECT_EQ(Rect(v3).right - Rect(v3).left, host.right) << "full size";
    Shot("video-desk3", Rect(GetDesktopWindow()));

    ClickDesk(4);
    HWND v4 = Video();
    EXPECT_FALSE(IsWindow(v3)) << "the first video closed";
    EXPECT_NE(v4, nullptr) << ReadLog();
    EXPECT_EQ(FreshSysColour(), kBackdrop);

    ClickDesk(5);  // its file is gone: nothing plays, the backdrop stays
    EXPECT_EQ(VideoWindow(App().Pid()), nullptr);
    EXPECT_EQ(FreshSysColour(), kBackdrop);

    ClickDesk(6);  // not a video: nothing shows, nothing asks
    EXPECT_EQ(VideoWindow(App().Pid()), nullptr);
    EXPECT_EQ(FreshSysColour(), kBackdrop);
    EXPECT_TRUE(Responds(Bar()));

    ClickDesk(2);
    EXPECT_EQ(FreshSysColour(), 0u) << "desktop 2's own look";
    EXPECT_EQ(Wallpaper(), DataPath("Wall2.bmp"));
    ClickDesk(1);
    EXPECT_EQ(FreshSysColour(), RGB(1, 2, 3));
    EXPECT_EQ(Setting("DESK2", "1"), "0") << "desktop 2's look saved without a video";
    EXPECT_EQ(Setting("DESK3", "1"), std::nullopt) << "a video desktop's look is never saved";
    const std::string log = ReadLog();
    EXPECT_EQ(std::pair(Lines(log, "type MPEGVideo.*: done"), Lines(log, "type MPEGVideo.*: failed")), std::pair(2, 1))
        << "the two samples open, the broken file is tried, the missing one not\n" << log;
}

// Faults: OK restarting the video for another desktop's change or for a file name that differs
// only in case; Escape applying or keeping a change; turning the current desktop's video off
// leaving the backdrop; turning it on not playing it; quitting with the video open.
TEST_F(VideoTest, TheDialogAppliesOnlyAChangeOfTheCurrentDesktopAndQuittingClosesTheVideo) {
    SetSysColour(RGB(1, 2, 3));
    ASSERT_TRUE(Start());
    ClickDesk(3);
    HWND playing = Video();
    ASSERT_NE(playing, nullptr);
    const std::wstring file = (BuildDir() / "cubeturn2.avi").wstring();
    std::wstring shouted = file;
    for (wchar_t& c : shouted) c = static_cast<wchar_t>(towupper(c));
    struct Step {
        const char* what;
        std::function<void(HWND dlg)> edit;
        WORD close;         // IDOK, or the key that closes the dialog
        bool videoAfter;    // a video plays on desktop 3 afterwards
        bool sameWindow;    // and it is the one that played before
    };
    const Step steps[] = {
        {"another desktop's sound", [](HWND d) { ClickControl(GetDlgItem(d, kVidRow0 + 3), kVoSound); }, IDOK, true, true},
        {"the file name in capitals", [&](HWND d) { SendMessageW(Row(d, 3, kVoFile), WM_SETTEXT, 0, LPARAM(shouted.c_str())); }, IDOK, true, true},
        {"off, then Escape", [](HWND d) { ClickControl(GetDlgItem(d, kVidRow0 + 2), kVoOn); }, VK_ESCAPE, true, true},
        {"off", [](HWND d) { ClickControl(GetDlgItem(d, kVidRow0 + 2), kVoOn); }, IDOK, false, false},
        {"on again", [](HWND d) { ClickControl(GetDlgItem(d, kVidRow0 + 2), kVoOn); }, IDOK, true, false},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(ClickControl(Bar(), kIdVideo)) << s.what;
        HWND dlg = WaitDialog();
        ASSERT_NE(dlg, nullptr) << s.what;
        s.edit(dlg);
        if (s.close == IDOK) ClickControl(dlg, IDOK);
        else TypeKeys({s.close});
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg) && IsWindowVisible(Bar()); }, 5000)) << s.what;
        Settle(Bar());
        HWND now = VideoWindow(App().Pid());
        if (s.videoAfter && !now) now = Video();
        EXPECT_EQ(now != nullptr, s.videoAfter) << s.what;
        EXPECT_EQ(now == playing, s.sameWindow) << s.what;
        EXPECT_EQ(FreshSysColour(), s.videoAfter ? kBackdrop : 0u) << s.what;
        if (!s.videoAfter) {
            EXPECT_EQ(Wallpaper(), DataPath("Wall3.bmp")) << s.what;
        }
        playing = now;
    }
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    const std::string log = ReadLog();
    EXPECT_LT(log.rfind("Video: close MYVIDPLAYER: done"), log.find("Ended cleanly")) << log;
    EXPECT_GT(log.rfind("Video: close MYVIDPLAYER: done"), log.rfind("type MPEGVideo")) << log;
    EXPECT_EQ(FreshSysColour(), RGB(1, 2, 3)) << "desktop 1's look at the end";
    EXPECT_EQ(std::tuple(Setting("CONFIG", "Video4Sound"), Setting("CONFIG", "Video3File"), Setting("CONFIG", "Video3On")),
              std::tuple(std::optional<std::string>("1"), std::optional(Narrow(shouted)), std::optional<std::string>("1")));
}

// Faults: a video left in a host the shell destroyed (gone with it, or playing in a window
// that no longer shows), the watch not noticing a new shape of the shell's windows; the media
// process outliving a killed program.
TEST_F(VideoTest, TheVideoFollowsTheShellRemakingItsWindows) {
    ASSERT_TRUE(Start());
    ClickDesk(4);
    HWND before = Video();
    ASSERT_NE(before, nullptr);
    HWND host = GetParent(before);
    const UINT rebuild = RegisterWindowMessageW(L"OrvStandinRebuild");
    for (WPARAM shape : {WPARAM(2), WPARAM(1), WPARAM(0)}) {
        SendMessageW(FindWindowW(L"Progman", nullptr), rebuild, shape, 0);
        // It may pass through Progman while the shell splits its icon layer off again: where
        // it ends up is what counts.
        const std::wstring want = shape == 2 ? L"Progman" : L"WorkerW";
        HWND now = nullptr;
        auto rootClass = [&] {
            WCHAR cls[32] = {};
            return GetClassNameW(GetAncestor(GetParent(now), GA_ROOT), cls, 32), std::wstring(cls);
        };
        EXPECT_TRUE(WaitUntil([&] { return (now = VideoWindow(App().Pid())) && GetParent(now) != host && rootClass() == want; }, 5000))
            << "shape " << shape << ": " << (now ? Narrow(rootClass()) : "no video") << "\n" << ReadLog();
        if (!now) break;
        host = GetParent(now);
    }
    EXPECT_EQ(FreshSysColour(), kBackdrop);
    Shot("video-rebuilt", Rect(GetDesktopWindow()));

    // The program killed: its media process ends by itself, and its video with it.
    Process media(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, MediaProcessOf(App().Pid())), 0);
    ASSERT_TRUE(media);
    App().Kill();
    EXPECT_TRUE(media.WaitExit(5000));
}

}  // namespace
}  // namespace orv::e2e
